#pragma once
// The keep-alive pinger's settings: the built-in hosts, the interval list,
// the six stored values under the NetPinger key, and what the schedule
// takes from them.
#include <windows.h>

#include <string>
#include <string_view>

#include "registry/WriteTally.h"

namespace tarvix {

// The built-in hosts. Both are names of large, always-on services that answer
// ICMP echo requests, so a keep-alive ping to them normally comes back; only
// the program pings them, never a test.
inline constexpr std::string_view kDefaultPingHost = "www.google.com";    // automatic mode
inline constexpr std::string_view kSuggestedPingHost = "one.one.one.one";  // offered by manual mode

// What the host field shows while the automatic mode is selected.
inline constexpr std::string_view kAutomaticHostText = "Automatic";

// The interval list: entry i stands for i + 1 timer ticks ("1 min." to "60 min.").
inline constexpr int kPingIntervalEntries = 60;
// The interval of the automatic mode, and of a stored index that is missing
// or unusable: entry 5, one ping every 6 ticks.
inline constexpr int kAutomaticIntervalIndex = 5;
// One timer tick of the schedule, and the timeout of every ping.
inline constexpr UINT kPingerTickMs = 65535;
inline constexpr DWORD kPingTimeoutMs = 10000;

// The text of interval entry `index` (0-based): "1 min." for 0.
[[nodiscard]] std::string PingIntervalEntryText(int index);

// What the window's controls hold, and what is stored of them.
struct PingerSettings {
  bool doPinging = false;       // chkDoPinging
  bool automatic = true;        // optAuto selected; optManual otherwise
  std::string host;             // txtPingHost
  int intervalIndex = kAutomaticIntervalIndex;  // cmbPingInterval, 0-based
  bool sound = false;           // chkSound

  bool operator==(const PingerSettings&) const = default;
};

// Reads the six values in the order chkDoPinging, optAuto, optManual,
// txtPingHost, cmbPingInterval, chkSound; a missing value gives its default
// (off, automatic, the default host, entry 5, no sound). A check box is on
// only for the stored state 1. The automatic mode is selected when optAuto
// reads True and optManual does not (the later of the two wins, as option
// buttons do), in any letter case. An index that is not a whole number from
// 0 to 59 gives entry 5.
[[nodiscard]] PingerSettings ReadPingerSettings();
// Writes the six values in the same order: check boxes as "0"/"1", option
// buttons as True/False, the host as its text, the interval as its index.
// The values Windows refused are in the result.
SettingsSaveTally WritePingerSettings(const PingerSettings& settings);

// What the schedule and Ping Now use: in automatic mode the default host and
// entry 5, in manual mode the host field and the chosen entry.
struct PingTarget {
  std::string host;
  int intervalIndex = kAutomaticIntervalIndex;

  bool operator==(const PingTarget&) const = default;
};
[[nodiscard]] PingTarget TargetOf(const PingerSettings& settings);

}  // namespace tarvix
