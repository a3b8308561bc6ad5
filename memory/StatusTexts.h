#pragma once
// The figures and texts of the system status window: megabytes from bytes,
// the graphed share of free memory, the captions, the tool tips and the
// timer speed of a speed slider. Pure code, no windows.h.
#include <cstdint>
#include <optional>
#include <string>

namespace tarvix {

// value / divisor rounded to the nearest integer, ties to even; divisor > 0.
[[nodiscard]] constexpr std::uint64_t RoundedDivide(std::uint64_t value, std::uint64_t divisor) noexcept {
  const std::uint64_t quotient = value / divisor;
  const std::uint64_t remainder = value % divisor;
  const std::uint64_t rest = divisor - remainder;
  if (remainder > rest) return quotient + 1;
  if (remainder < rest) return quotient;
  return quotient % 2 == 0 ? quotient : quotient + 1;
}

// Bytes to KB to MB, each step rounded to the nearest integer, ties to even.
[[nodiscard]] constexpr std::int64_t MegabytesOf(std::uint64_t bytes) noexcept {
  return static_cast<std::int64_t>(RoundedDivide(RoundedDivide(bytes, 1024), 1024));
}

// Free memory as a share of the total, percent; nullopt when the total is
// not above 0 (the memory tick then graphs nothing).
[[nodiscard]] std::optional<double> FreeSharePercent(std::int64_t freeMB, std::int64_t totalMB) noexcept;

// "Processor usage (37%)."
[[nodiscard]] std::string CpuUsageCaption(int graphValue);
// "Memory Usage (42%)." — the memory frame's caption, and the tray tool tip
// when the RAM configuration shows percentages.
[[nodiscard]] std::string MemoryPercentText(int graphValue);
// "Memory Usage (1000MB)." — the tray tool tip when it shows megabytes.
[[nodiscard]] std::string MemoryMegabytesText(std::int64_t freeMB);
// The freeing slider's tool tip: "64 MB to free when Optimize is clicked".
[[nodiscard]] std::string FreeSliderToolTip(std::int64_t megabytes);
// lblTargetMemoryNeeded: "Target Level Of RAM 64MB.".
[[nodiscard]] std::string TargetLevelText(std::int64_t megabytes);

// A speed slider's timer interval in ms: 1300 - value (300 gives 1000 ms,
// 1000 gives 300 ms).
[[nodiscard]] constexpr int TimerIntervalForSpeed(int sliderValue) noexcept { return 1300 - sliderValue; }

inline constexpr std::int64_t kBytesPerMB = 1048576;

}  // namespace tarvix
