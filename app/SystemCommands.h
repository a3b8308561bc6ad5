#pragma once
// Restarting Windows and opening the control-panel applets of the running
// family.
#include <windows.h>

#include "app/CommandTable.h"

namespace tarvix {

// Enables SeShutdownPrivilege on the process token; the 95/98/ME family has
// no tokens, so the calls fail there and nothing else happens.
void EnableShutdownPrivilege() noexcept;
// Asks Windows to restart; the request's result (non-zero on success).
[[nodiscard]] BOOL RestartWindows() noexcept;

// Start the applet's command line shown (window style 5); the started
// program's task id (above 31 on success), 0 when the family has no applet.
UINT OpenApplet(Applet applet) noexcept;
inline UINT OpenInternetProperties() noexcept { return OpenApplet(Applet::InternetProperties); }
inline UINT OpenSystemProperties() noexcept { return OpenApplet(Applet::SystemProperties); }
inline UINT OpenModemSettings() noexcept { return OpenApplet(Applet::ModemSettings); }
inline UINT OpenNetworkSettings() noexcept { return OpenApplet(Applet::NetworkSettings); }

}  // namespace tarvix
