#include <gtest/gtest.h>

#include <cstdint>

#include "memory/CpuFormula.h"

namespace tarvix {
namespace {

// Differences are in 100-ns units: 10000 of them make a millisecond.
constexpr std::int64_t kMs = 10000;

TEST(CpuFormula, RoundsHalfToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
  EXPECT_DOUBLE_EQ(RoundToFourDecimals(1.0 / 3.0), 0.3333);
  EXPECT_DOUBLE_EQ(RoundToFourDecimals(2.0 / 3.0), 0.6667);
}

TEST(CpuFormula, FiguresOfTheMeter) {
  // Two processors, 150 ms idle over 100 ms: ratio 1.5, idle share 75.
  EXPECT_EQ(CpuUsagePercent(150 * kMs, 100 * kMs, 2), 25);
  // A third taken as 0.3333: 100 - 33.33 + 0.5 = 67.17.
  EXPECT_EQ(CpuUsagePercent(1 * kMs, 3 * kMs, 1), 67);
  // Two thirds taken as 0.6667: 100 - 66.67 + 0.5 = 33.83.
  EXPECT_EQ(CpuUsagePercent(2 * kMs, 3 * kMs, 1), 33);
  // Two samples within one clock tick.
  EXPECT_EQ(CpuUsagePercent(0, 0, 1), 100);
  EXPECT_EQ(CpuUsagePercent(0, 0, 8), 100);
  // One of two processors busy the whole time.
  EXPECT_EQ(CpuUsagePercent(100 * kMs, 100 * kMs, 2), 50);
  // A whole percent and a half rounds up; just under it does not.
  EXPECT_EQ(CpuUsagePercent(7550, 10000, 1), 25);
  EXPECT_EQ(CpuUsagePercent(7551, 10000, 1), 24);
}

TEST(CpuFormula, ZeroTimeDifferenceTakesIdleDifferenceAsRatio) {
  // Ratio 0.5 (half a millisecond of idle time) with one processor: 50.5.
  EXPECT_EQ(CpuUsagePercent(kMs / 2, 0, 1), 50);
  // A whole millisecond or more of idle: nothing left busy.
  EXPECT_EQ(CpuUsagePercent(kMs, 0, 1), 0);
  EXPECT_EQ(CpuUsagePercent(INT64_C(1) << 60, 0, 1), 0);
}

TEST(CpuFormula, StaysWithinZeroToHundred) {
  // Idle time running a little ahead of the clock would give -1, the value
  // that means "no sample".
  EXPECT_EQ(CpuUsagePercent(101 * kMs, 100 * kMs, 1), 0);
  EXPECT_EQ(CpuUsagePercent(250 * kMs, 100 * kMs, 2), 0);
  // A clock set back gives a negative time difference.
  EXPECT_EQ(CpuUsagePercent(10 * kMs, -100 * kMs, 1), 100);
  // A processor count of 0 is read as one processor.
  EXPECT_EQ(CpuUsagePercent(1 * kMs, 3 * kMs, 0), 67);
}

TEST(CpuFormula, LongIntervalsOnManyProcessors) {
  // A day on 64 processors, all idle, then half of them busy.
  const std::int64_t day = INT64_C(864000000000);
  EXPECT_EQ(CpuUsagePercent(64 * day, day, 64), 0);
  EXPECT_EQ(CpuUsagePercent(32 * day, day, 64), 50);
  EXPECT_EQ(CpuUsagePercent(0, day, 255), 100);
}

}  // namespace
}  // namespace tarvix
