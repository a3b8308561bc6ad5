#include "memory/CpuFormula.h"

#include <algorithm>
#include <cmath>

namespace tarvix {

double RoundToFourDecimals(double value) noexcept { return RoundHalfEven(value * 10000.0) / 10000.0; }

int CpuUsagePercent(std::int64_t idleDifference, std::int64_t timeDifference, unsigned processors) noexcept {
  // A 100-ns count divided by 10000 is milliseconds with four decimals.
  const double idleMs = static_cast<double>(idleDifference) / 10000.0;
  const double ratio = timeDifference != 0
                           ? RoundToFourDecimals(static_cast<double>(idleDifference) /
                                                 static_cast<double>(timeDifference))
                           : idleMs;
  const double idleShare = ratio * 100.0 / static_cast<double>(std::max(processors, 1u));
  const double value = std::floor(RoundToFourDecimals(100.0 - idleShare + 0.5));
  return static_cast<int>(std::clamp(value, 0.0, 100.0));
}

}  // namespace tarvix
