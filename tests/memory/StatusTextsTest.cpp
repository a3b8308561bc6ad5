#include <gtest/gtest.h>

#include <cstdint>

#include "memory/StatusTexts.h"

namespace tarvix {
namespace {

constexpr std::uint64_t kMiB = 1048576;
constexpr std::uint64_t kGiB = 1024 * kMiB;

TEST(StatusTexts, RoundedDivisionTiesToEven) {
  EXPECT_EQ(RoundedDivide(0, 1024), 0u);
  EXPECT_EQ(RoundedDivide(511, 1024), 0u);
  EXPECT_EQ(RoundedDivide(512, 1024), 0u);
  EXPECT_EQ(RoundedDivide(513, 1024), 1u);
  EXPECT_EQ(RoundedDivide(1536, 1024), 2u);
  EXPECT_EQ(RoundedDivide(2560, 1024), 2u);
  EXPECT_EQ(RoundedDivide(3584, 1024), 4u);
  EXPECT_EQ(RoundedDivide(UINT64_MAX, 1024), (UINT64_MAX >> 10) + 1);
  EXPECT_EQ(RoundedDivide(7, 3), 2u);
  EXPECT_EQ(RoundedDivide(5, 2), 2u);
}

TEST(StatusTexts, MegabytesOfLargeMachinesDoNotOverflow) {
  EXPECT_EQ(MegabytesOf(2000 * kMiB), 2000);
  EXPECT_EQ(MegabytesOf(24 * kGiB), 24576);
  EXPECT_EQ(MegabytesOf(64 * kGiB), 65536);
  EXPECT_EQ(MegabytesOf(1024 * kGiB), 1048576);
  // Each step rounds: 1.5 MB less 1 byte is 1536 KB (1535.999 rounded), which is 2 MB after the tie.
  EXPECT_EQ(MegabytesOf(kMiB + kMiB / 2 - 1), 2);
  EXPECT_EQ(MegabytesOf(kMiB + kMiB / 2 - 513), 1);
  EXPECT_EQ(MegabytesOf(0), 0);
}

TEST(StatusTexts, FreeShareOfTheTotal) {
  EXPECT_EQ(FreeSharePercent(1000, 2000), 50.0);
  EXPECT_EQ(FreeSharePercent(30720, 49152), 62.5);
  EXPECT_EQ(FreeSharePercent(0, 2000), 0.0);
  EXPECT_EQ(FreeSharePercent(10, 0), std::nullopt);
  EXPECT_EQ(FreeSharePercent(10, -5), std::nullopt);
}

TEST(StatusTexts, CaptionsAndToolTips) {
  EXPECT_EQ(CpuUsageCaption(37), "Processor usage (37%).");
  EXPECT_EQ(CpuUsageCaption(-1), "Processor usage (-1%).");
  EXPECT_EQ(MemoryPercentText(50), "Memory Usage (50%).");
  EXPECT_EQ(MemoryMegabytesText(1000), "Memory Usage (1000MB).");
  EXPECT_EQ(MemoryMegabytesText(40000), "Memory Usage (40000MB).");
  EXPECT_EQ(FreeSliderToolTip(64), "64 MB to free when Optimize is clicked");
  EXPECT_EQ(FreeSliderToolTip(0), "0 MB to free when Optimize is clicked");
  EXPECT_EQ(TargetLevelText(64), "Target Level Of RAM 64MB.");
  EXPECT_EQ(TargetLevelText(24576), "Target Level Of RAM 24576MB.");
}

TEST(StatusTexts, SpeedSliderMapsToInterval) {
  EXPECT_EQ(TimerIntervalForSpeed(300), 1000);
  EXPECT_EQ(TimerIntervalForSpeed(1000), 300);
  EXPECT_EQ(TimerIntervalForSpeed(650), 650);
  EXPECT_EQ(TimerIntervalForSpeed(301), 999);
}

}  // namespace
}  // namespace tarvix
