#pragma once
// Which of the values Tarvix writes Windows Vista and later (NT 6.0 and up:
// Vista, 7, 8, 8.1, 10, 11) still read, by Microsoft's own documentation of
// each registry value. The stack was rewritten for Vista; several values of
// the old one are no longer read, and for others Microsoft documents the
// value only up to Windows Server 2003, which settles nothing either way.
// Pure: no windows.h.
//
// Sources (the help page "Which values Windows still uses" gives the same):
//  [WP]  Microsoft, "TCP/IP Registry Values for Microsoft Windows Vista and
//        Windows Server 2008", white paper, January 2007, updated December
//        2011: "Many of the TCP/IP registry values supported in Windows XP and
//        Windows Server 2003 are not supported by TCP/IP in Windows Vista and
//        Windows Server 2008"; it documents EnablePMTUDiscovery and
//        EnablePMTUBHDetect for the new stack.
//  [AT]  Microsoft Knowledge Base 934430 and 947239 (Receive Window
//        Auto-Tuning, Windows Vista): "Instead of using a hard-coded default
//        receive window size, TCP automatically adjusts the window size".
//  [2003] Microsoft, Windows Server 2003 Technical Reference, "TCP/IP
//        Configuration Parameters" and the per-value pages (TcpWindowSize,
//        SynAttackProtect, KeepAliveTime, Tcp1323Opts, ...): apply to
//        Windows 2000 and Server 2003 only.
//  [ICMP] Microsoft Knowledge Base 243427 and the Windows 2000 and 2003
//        references name the value EnableICMPRedirect; the name the program
//        writes, EnableICMPRedirects, is documented nowhere.
//  [IE]  Microsoft Knowledge Base 282402: MaxConnectionsPerServer and
//        MaxConnectionsPer1_0Server are Internet Explorer's (WinINet) values,
//        not TCP/IP's.
#include <array>
#include <string>
#include <string_view>

#include "base/OsVersion.h"

namespace tarvix::reads {

enum class Reading {
  Read,           // documented for Vista and later
  NotRead,        // documented as replaced on Vista and later
  NotDocumented,  // no Microsoft documentation for Vista and later settles it
};

// One group of values the program writes, as the editor's page and the
// wizard's summary name them.
struct ValueReading {
  int page;                   // the advanced editor's page that sets them
  std::string_view caption;   // as the page names them
  std::string_view field;     // as the wizard's summary names them
  std::string_view registry;  // the registry values behind them
  Reading reading;
  std::string_view why;       // one short line
  std::string_view brief;     // NotRead: the why in a few words, for the marks
  std::string_view sources;   // of the list above
};

inline constexpr std::array kVistaAndLater = {
    ValueReading{1, "MTU", "MTU", "MTU (interface and adapter keys)", Reading::NotDocumented,
                 "not documented after Windows 2003", "", "[2003]"},
    ValueReading{1, "MSS", "MSS", "MSS (interface and adapter keys)", Reading::NotDocumented,
                 "not documented for any Windows", "", "[2003]"},
    ValueReading{2, "Black hole, MTU discovery", "BlackHole", "EnablePMTUBHDetect, EnablePMTUDiscovery",
                 Reading::Read, "still read", "", "[WP]"},
    ValueReading{3, "RWIN", "RWIN", "TcpWindowSize, GlobalMaxTcpWindowSize", Reading::NotRead,
                 "NOT read: auto-tuning sizes the window", "Windows auto-tunes it", "[AT] [WP]"},
    ValueReading{4, "TTL", "TTL", "DefaultTTL", Reading::NotDocumented, "not documented after Windows 2003",
                 "", "[2003]"},
    ValueReading{4, "HTTP 1.0, 1.1", "MSCPS0, MSCPS1", "MaxConnectionsPer1_0Server, MaxConnectionsPerServer",
                 Reading::NotDocumented, "browser values, not documented", "", "[IE]"},
    ValueReading{5, "Keep Alive Time, Interval", "Keep Alive, Keep Alive Interval", "KeepAliveTime, KeepAliveInterval",
                 Reading::NotDocumented, "not documented after Windows 2003", "", "[2003]"},
    ValueReading{6, "SYN", "SYN", "SynAttackProtect", Reading::NotDocumented, "not documented after Windows 2003",
                 "", "[2003]"},
    ValueReading{6, "NDI", "NDI", "VxD\\NWLink\\Ndi\\params\\cachesize", Reading::NotDocumented,
                 "a Windows 98 key, not on NT", "", "[2003]"},
    ValueReading{7, "ICMP", "ICMP", "EnableICMPRedirects", Reading::NotDocumented,
                 "not documented under this name", "", "[2003] [ICMP]"},
};

// Marks are shown on family code 8 when the running Windows is NT 6.0 or
// later; NT 5.2 (Server 2003, XP x64) still has the old stack, and codes 1
// to 7 are older still.
[[nodiscard]] constexpr bool ShowsReadings(OsFamilyCode family, unsigned majorVersion) noexcept {
  return family == kOsWindowsNT52OrLater && majorVersion >= 6;
}

// The advanced editor's marks for `page`: a line for each value not read
// ("RWIN: not read, Windows auto-tunes it."), one naming those still
// read and one naming those not documented. Empty for a page without values.
[[nodiscard]] std::string PageReadingText(int page);
// The wizard's mark beside its summary: a line for each value not read.
[[nodiscard]] std::string WizardReadingText();

}  // namespace tarvix::reads
