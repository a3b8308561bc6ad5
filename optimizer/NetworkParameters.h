#pragma once
// The thirteen network tunables, the eight wizard presets, and the two
// process-wide sets: what the apply writes and the presets it copies from.
#include <array>
#include <cstdint>
#include <string_view>

namespace tarvix {

// Booleans in records and settings: -1 true, 0 false.
using VbBool = std::int16_t;
inline constexpr VbBool kVbTrue = -1;
inline constexpr VbBool kVbFalse = 0;

struct NetworkParameterSet {
  std::int32_t MSS = 0;                // bytes; written as is, also -1
  std::int32_t MTU = 0;                // bytes; -1 deletes the MTU and MSS values
  std::int32_t RWIN = 0;               // bytes; -1 deletes the window values
  std::int32_t TTL = 0;                // hops
  std::int32_t KeepAliveTime = 0;      // milliseconds
  std::int32_t KeepAliveInterval = 0;  // milliseconds
  std::int16_t SYN = 0;                // SYN-attack protection 0, 1 or 2
  std::int32_t NDI = 0;                // NDI cache size
  VbBool MTUDiscovery = kVbFalse;
  VbBool BlackHole = kVbFalse;
  std::int32_t MSCPS0 = 0;  // browser connections per HTTP 1.0 server
  std::int32_t MSCPS1 = 0;  // browser connections per HTTP 1.1 server
  VbBool ICMP = kVbFalse;   // ICMP redirects accepted

  friend bool operator==(const NetworkParameterSet&, const NetworkParameterSet&) = default;
};

inline constexpr std::size_t kPresetCount = 8;

// The wizard's options, index 0 to 7.
inline constexpr std::array<std::string_view, kPresetCount> kPresetNames = {
    "Automatic-A", "Automatic-B", "Automatic-C", "Automatic-D",
    "Automatic-E", "Automatic-F", "Automatic-G", "Windows default"};

// MTU, MSS, RWIN, TTL, keep-alive time and interval, SYN, NDI, path-MTU
// discovery, black-hole detection, the two connection counts, ICMP redirects.
inline constexpr std::array<NetworkParameterSet, kPresetCount> kPresetTable = [] {
  constexpr auto row = [](std::int32_t mtu, std::int32_t mss, std::int32_t rwin, std::int32_t ttl,
                          std::int32_t keepAliveTime, std::int32_t mscps0, std::int32_t mscps1) {
    NetworkParameterSet set;
    set.MTU = mtu;
    set.MSS = mss;
    set.RWIN = rwin;
    set.TTL = ttl;
    set.KeepAliveTime = keepAliveTime;
    set.KeepAliveInterval = 1000;
    set.SYN = 2;
    set.NDI = 0;
    set.MTUDiscovery = kVbTrue;
    set.BlackHole = kVbFalse;
    set.MSCPS0 = mscps0;
    set.MSCPS1 = mscps1;
    set.ICMP = kVbFalse;
    return set;
  };
  return std::array<NetworkParameterSet, kPresetCount>{
      row(576, 536, 4288, 128, 600000, 16, 8),      // Automatic-A
      row(576, 536, -1, 128, 600000, 16, 8),        // Automatic-B
      row(-1, -1, -1, 128, 600000, 16, 8),          // Automatic-C
      row(576, 536, 5432, 64, 7200000, 20, 20),     // Automatic-D
      row(1500, 1460, 256960, 64, 7200000, 20, 20), // Automatic-E
      row(1492, 1452, 255552, 64, 7200000, 20, 20), // Automatic-F
      row(1500, 1460, 256960, 32, 6400000, 20, 20), // Automatic-G
      row(1500, 1500, 8192, 32, 3600000, 2, 4),     // Windows default
  };
}();

// What ApplyNetworkSettings writes; all zero until the wizard copies a preset.
extern NetworkParameterSet CurrentParameters;
// Filled once at start by LoadWizardPresets.
extern std::array<NetworkParameterSet, kPresetCount> WizardPresets;

void LoadWizardPresets() noexcept;

// The registry number of a boolean field: exactly -1 gives 1, anything else 0.
[[nodiscard]] constexpr std::int32_t BoolToFlag(VbBool field) noexcept { return field == kVbTrue ? 1 : 0; }

}  // namespace tarvix
