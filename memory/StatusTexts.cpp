#include "memory/StatusTexts.h"

namespace tarvix {

std::optional<double> FreeSharePercent(std::int64_t freeMB, std::int64_t totalMB) noexcept {
  if (totalMB <= 0) return std::nullopt;
  return static_cast<double>(freeMB) / static_cast<double>(totalMB) * 100.0;
}

std::string CpuUsageCaption(int graphValue) { return "Processor usage (" + std::to_string(graphValue) + "%)."; }

std::string MemoryPercentText(int graphValue) { return "Memory Usage (" + std::to_string(graphValue) + "%)."; }

std::string MemoryMegabytesText(std::int64_t freeMB) { return "Memory Usage (" + std::to_string(freeMB) + "MB)."; }

std::string FreeSliderToolTip(std::int64_t megabytes) {
  return std::to_string(megabytes) + " MB to free when Optimize is clicked";
}

std::string TargetLevelText(std::int64_t megabytes) {
  return "Target Level Of RAM " + std::to_string(megabytes) + "MB.";
}

}  // namespace tarvix
