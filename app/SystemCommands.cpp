#include "app/SystemCommands.h"

#include "base/OsDetect.h"
#include "base/Platform.h"
#include "base/Handle.h"

namespace tarvix {

void EnableShutdownPrivilege() noexcept {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  const UniqueHandle owned(token);
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  (void)AdjustTokenPrivileges(owned.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

BOOL RestartWindows() noexcept {
  EnableShutdownPrivilege();
  return CurrentPlatform().RequestExitWindows(EWX_REBOOT, 0xFFFFFFFFu);
}

UINT OpenApplet(Applet applet) noexcept {
  const auto commandLine = AppletCommandLine(applet, OsFamily);
  if (!commandLine) return 0;
  return CurrentPlatform().StartProgram(*commandLine, SW_SHOW);
}

}  // namespace tarvix
