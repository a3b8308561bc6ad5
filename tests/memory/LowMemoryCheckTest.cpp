#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "MemoryFakes.h"
#include "memory/LowMemoryCheck.h"

namespace tarvix {
namespace {

using test::FakeMemory;
using test::FakeMeter;
using test::kMiB;

constexpr std::int64_t kTenMB = 10 * 1048576;

class FakeControls final : public AlarmControls {
 public:
  bool soundOn = false;
  bool automatic = true;
  std::int64_t freeAmountMB = 10;
  [[nodiscard]] bool SoundOn() const override { return soundOn; }
  [[nodiscard]] bool Automatic() const override { return automatic; }
  [[nodiscard]] std::int64_t FreeAmountMB() const override { return freeAmountMB; }
};

// The defaults of the window: alarm level 250 MB, gate 2 %, 10 attempts of 10 MB.
class LowMemoryCheckTest : public ::testing::Test {
 protected:
  LowMemoryCheckTest() : check_(memory_, meter_, [this](int passes) { Pump(passes); }) {
    memory_.freeBytes = 200 * kMiB;
    memory_.totalBytes = 2000 * kMiB;
    check_.SetWorkingValues({250, 2, 10});
  }

  void Pump(int passes) {
    pumpPasses_ += passes;
    if (duringPump_) duringPump_();
  }

  FakeMemory memory_;
  FakeMeter meter_;
  FakeControls controls_;
  LowMemoryCheck check_;
  int pumpPasses_ = 0;
  std::function<void()> duringPump_;
};

TEST_F(LowMemoryCheckTest, DefaultsFreeTenMegabytesTenTimesWhenTheProcessorIsBelowTheGate) {
  meter_.usage = 1;
  const CheckReport report = check_.Run(controls_);
  EXPECT_TRUE(report.started);
  EXPECT_TRUE(report.belowAlarm);
  EXPECT_EQ(report.cpuUsage, 1);
  EXPECT_EQ(meter_.queries, 1);
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>(10, kTenMB));
  EXPECT_EQ(report.attempts, 10);
  EXPECT_EQ(report.claimed, 10 * kTenMB);
  EXPECT_FALSE(report.freeingFailed);
  // Fourteen passes before asking the meter, fourteen before and after each attempt.
  EXPECT_EQ(pumpPasses_, 14 + 10 * 28);
  EXPECT_FALSE(check_.Running());
}

TEST_F(LowMemoryCheckTest, ProcessorAtOrAboveTheGateFreesNothing) {
  for (const int usage : {2, 3, 100}) {
    SCOPED_TRACE(usage);
    meter_.usage = usage;
    meter_.queries = 0;
    const CheckReport report = check_.Run(controls_);
    EXPECT_EQ(meter_.queries, 1);
    EXPECT_EQ(report.cpuUsage, usage);
    EXPECT_EQ(report.attempts, 0);
    EXPECT_TRUE(memory_.freed.empty());
  }
}

TEST_F(LowMemoryCheckTest, FailedMeasurementPassesTheGate) {
  meter_.usage = -1;
  EXPECT_EQ(check_.Run(controls_).attempts, 10);
}

TEST_F(LowMemoryCheckTest, NoAttemptsMeansOneAttemptAndTheWorkingValueBecomesOne) {
  check_.SetWorkingValues({250, 2, 0});
  meter_.usage = 0;
  const CheckReport report = check_.Run(controls_);
  EXPECT_EQ(report.attempts, 1);
  EXPECT_EQ(memory_.freed, std::vector<std::int64_t>{kTenMB});
  EXPECT_EQ(check_.WorkingValues().retryCount, 1);
  check_.Run(controls_);
  EXPECT_EQ(memory_.freed.size(), 2u);
}

TEST_F(LowMemoryCheckTest, GateZeroFreesWhateverTheLoadButStillAsksTheMeter) {
  check_.SetWorkingValues({250, 0, 3});
  meter_.usage = 100;
  const CheckReport report = check_.Run(controls_);
  EXPECT_EQ(meter_.queries, 1);
  EXPECT_EQ(report.attempts, 3);
}

TEST_F(LowMemoryCheckTest, GateAboveHundredAlwaysPasses) {
  check_.SetWorkingValues({250, 1000, 1});
  meter_.usage = 100;
  EXPECT_EQ(check_.Run(controls_).attempts, 1);
}

TEST_F(LowMemoryCheckTest, AutomaticFreeingOffFreesNothingWhateverTheFreeMemory) {
  controls_.automatic = false;
  for (const std::uint64_t free : {std::uint64_t{0}, 200 * kMiB, 100000 * kMiB}) {
    memory_.freeBytes = free;
    const CheckReport report = check_.Run(controls_);
    EXPECT_TRUE(report.started);
    EXPECT_FALSE(report.belowAlarm);
    EXPECT_EQ(report.cpuUsage, std::nullopt);
  }
  EXPECT_TRUE(memory_.freed.empty());
  EXPECT_EQ(meter_.queries, 0);
  EXPECT_EQ(pumpPasses_, 0);
}

TEST_F(LowMemoryCheckTest, FreeMemoryAtOrAboveTheLevelIsNotLow) {
  for (const std::uint64_t free : {250 * kMiB, 250 * kMiB + 1, 24 * 1024 * kMiB}) {
    memory_.freeBytes = free;
    const CheckReport report = check_.Run(controls_);
    EXPECT_FALSE(report.belowAlarm);
  }
  memory_.freeBytes = 250 * kMiB - 1;
  EXPECT_TRUE(check_.Run(controls_).belowAlarm);
  EXPECT_EQ(memory_.freed.size(), 10u);
}

TEST_F(LowMemoryCheckTest, SoundIsArmedBelowTheLevelAndDisarmedByTheNextCheckAbove) {
  controls_.automatic = false;
  EXPECT_FALSE(check_.LowMemorySoundDue());
  controls_.soundOn = true;
  EXPECT_TRUE(check_.Run(controls_).soundDue);
  EXPECT_TRUE(check_.LowMemorySoundDue());
  EXPECT_TRUE(check_.Run(controls_).soundDue);
  memory_.freeBytes = 300 * kMiB;
  EXPECT_FALSE(check_.Run(controls_).soundDue);
  EXPECT_FALSE(check_.LowMemorySoundDue());
  memory_.freeBytes = 100 * kMiB;
  controls_.soundOn = false;
  EXPECT_FALSE(check_.Run(controls_).soundDue);
  EXPECT_FALSE(check_.LowMemorySoundDue());
}

TEST_F(LowMemoryCheckTest, ACheckThatFiresWhileOneIsFreeingIsSkipped) {
  int nested = 0;
  std::vector<CheckReport> nestedReports;
  duringPump_ = [&] {
    ++nested;
    EXPECT_TRUE(check_.Running());
    nestedReports.push_back(check_.Run(controls_));
  };
  memory_.duringFreeing = [&] { nestedReports.push_back(check_.Run(controls_)); };
  const CheckReport report = check_.Run(controls_);
  EXPECT_EQ(report.attempts, 10);
  EXPECT_EQ(memory_.freed.size(), 10u) << "a nested check freed too";
  EXPECT_EQ(meter_.queries, 1);
  EXPECT_EQ(nested, 21);
  ASSERT_EQ(nestedReports.size(), 31u);
  for (const CheckReport& skipped : nestedReports) {
    EXPECT_FALSE(skipped.started);
    EXPECT_EQ(skipped.attempts, 0);
  }
  EXPECT_FALSE(check_.Running());
  duringPump_ = nullptr;
  memory_.duringFreeing = nullptr;
  EXPECT_TRUE(check_.Run(controls_).started);
}

TEST_F(LowMemoryCheckTest, SkippedCheckLeavesTheSoundAsTheRunningCheckSetIt) {
  controls_.soundOn = true;
  duringPump_ = [&] {
    memory_.freeBytes = 900 * kMiB;
    static_cast<void>(check_.Run(controls_));
  };
  check_.Run(controls_);
  EXPECT_TRUE(check_.LowMemorySoundDue());
}

TEST_F(LowMemoryCheckTest, AmountIsReadAfterTheFirstMessagePasses) {
  duringPump_ = [&] { controls_.freeAmountMB = 1000; };
  check_.SetWorkingValues({250, 0, 2});
  check_.Run(controls_);
  EXPECT_EQ(memory_.freed, (std::vector<std::int64_t>{1000 * 1048576LL, 1000 * 1048576LL}));
}

TEST_F(LowMemoryCheckTest, FailedAttemptEndsTheFreeingOfThisCheck) {
  memory_.failingCalls = {2};
  const CheckReport report = check_.Run(controls_);
  EXPECT_EQ(report.attempts, 3);
  EXPECT_EQ(report.claimed, 2 * kTenMB);
  EXPECT_TRUE(report.freeingFailed);
  memory_.failingCalls.clear();
  EXPECT_EQ(check_.Run(controls_).attempts, 10);
}

TEST_F(LowMemoryCheckTest, LoadDuringTheAttemptsChangesTheNextCheckOnly) {
  check_.SetWorkingValues({250, 0, 3});
  memory_.duringFreeing = [&] { check_.SetWorkingValues({250, 0, 20}); };
  EXPECT_EQ(check_.Run(controls_).attempts, 3);
  memory_.duringFreeing = nullptr;
  EXPECT_EQ(check_.Run(controls_).attempts, 20);
}

TEST_F(LowMemoryCheckTest, EveryCheckReadsTheFiguresAfresh) {
  controls_.soundOn = true;
  check_.Run(controls_);
  EXPECT_EQ(memory_.freeReads, 2);
  check_.Run(controls_);
  EXPECT_EQ(memory_.freeReads, 4);
}

}  // namespace
}  // namespace tarvix
