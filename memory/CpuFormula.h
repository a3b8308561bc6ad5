#pragma once
// The processor-usage arithmetic of the NT meter, free of any Windows header
// so that it can be checked (and built natively) on its own.
#include <cstdint>

#include "base/Number.h"

namespace tarvix {

// Rounded to four decimal places, ties to even, as the meter's fixed-point
// figures are (0.33333 gives 0.3333).
[[nodiscard]] double RoundToFourDecimals(double value) noexcept;

// Busy share in percent of all `processors` together, from the growth of the
// kernel's accumulated idle time and of the system clock between two samples,
// both in 100-ns units. Each difference is read as milliseconds with four
// decimals; their ratio is rounded to four decimals (a zero time difference
// takes the idle difference itself as the ratio), and the result is
// floor(100 - 100 * ratio / processors + 0.5). A processor count of 0 is read
// as 1. The result is kept within 0 to 100, so that clock skew between the two
// counters never yields -1, the meter's "no sample" value.
[[nodiscard]] int CpuUsagePercent(std::int64_t idleDifference, std::int64_t timeDifference,
                                  unsigned processors) noexcept;

}  // namespace tarvix
