#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "memory/CpuFormula.h"
#include "memory/CpuUsage.h"
#include "memory/SystemRecords.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"

namespace tarvix {
namespace {

constexpr std::int64_t kMs = 10000;  // 100-ns units in a millisecond

TEST(SystemRecords, LayoutMatchesTheSdk) {
  EXPECT_EQ(sizeof(sysinfo::BasicInformation), sizeof(SYSTEM_BASIC_INFORMATION));
  EXPECT_EQ(offsetof(sysinfo::BasicInformation, numberOfProcessors),
            offsetof(SYSTEM_BASIC_INFORMATION, NumberOfProcessors));
  EXPECT_EQ(sizeof(sysinfo::TimeOfDayInformation), sizeof(SYSTEM_TIMEOFDAY_INFORMATION));
  EXPECT_EQ(offsetof(sysinfo::TimeOfDayInformation, currentTime), offsetof(SYSTEM_TIMEOFDAY_INFORMATION, CurrentTime));
  EXPECT_EQ(sizeof(sysinfo::PerformanceInformation), sizeof(SYSTEM_PERFORMANCE_INFORMATION));
  EXPECT_EQ(offsetof(sysinfo::PerformanceInformation, idleTime), offsetof(SYSTEM_PERFORMANCE_INFORMATION, IdleTime));
#if defined(_WIN64)
  // The 32-bit sizes are 44, 48 and 312, with the processor count at 40.
  EXPECT_EQ(sizeof(sysinfo::BasicInformation), 64u);
  EXPECT_EQ(offsetof(sysinfo::BasicInformation, numberOfProcessors), 56u);
  EXPECT_EQ(sizeof(sysinfo::TimeOfDayInformation), 48u);
  EXPECT_EQ(offsetof(sysinfo::TimeOfDayInformation, currentTime), 8u);
  EXPECT_EQ(sizeof(sysinfo::PerformanceInformation), 312u);
#endif
}

TEST(SystemRecords, RealKernelFillsThem) {
  const SystemInformationQuery query = NtdllSystemInformationQuery();
  ASSERT_TRUE(query);
  sysinfo::BasicInformation basic{};
  ASSERT_EQ(query(sysinfo::kBasicInformation, &basic, sizeof(basic), nullptr), sysinfo::kStatusSuccess);
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  EXPECT_EQ(static_cast<DWORD>(basic.numberOfProcessors), info.dwNumberOfProcessors);

  sysinfo::TimeOfDayInformation timeOfDay{};
  ASSERT_EQ(query(sysinfo::kTimeOfDayInformation, &timeOfDay, sizeof(timeOfDay), nullptr), sysinfo::kStatusSuccess);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto fileTime = static_cast<std::int64_t>((std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime);
  EXPECT_NEAR(static_cast<double>(timeOfDay.currentTime), static_cast<double>(fileTime), 10000.0 * kMs);
  EXPECT_LT(timeOfDay.bootTime, timeOfDay.currentTime);

  sysinfo::PerformanceInformation performance{};
  ASSERT_EQ(query(sysinfo::kPerformanceInformation, &performance, sizeof(performance), nullptr),
            sysinfo::kStatusSuccess);
  EXPECT_GT(performance.idleTime, 0);
}

void SpinFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  volatile std::uint64_t sink = 0;
  while (std::chrono::steady_clock::now() < end) sink = sink + 1;
}

TEST(CpuUsageNT, RealMeterGivesPercentages) {
  clsCPUUsageNT meter;
  meter.Initialize();
  EXPECT_GT(meter.PreviousSystemTime(), 0);
  EXPECT_GT(meter.PreviousIdleTime(), 0);
  for (int round = 0; round < 3; ++round) {
    const std::int64_t before = meter.PreviousSystemTime();
    SpinFor(std::chrono::milliseconds(150));
    const int usage = meter.Query();
    EXPECT_GE(usage, 0);
    EXPECT_LE(usage, 100);
    EXPECT_GT(meter.PreviousSystemTime(), before);
  }
}

// A kernel whose records the test sets; any class can be made to fail.
struct FakeKernel {
  std::int64_t idleTime = 0;
  std::int64_t currentTime = 0;
  int processors = 1;
  std::set<ULONG> failing;
  bool throwing = false;
  ULONG performanceSizeWanted = sizeof(sysinfo::PerformanceInformation);
  int calls = 0;

  SystemInformationQuery Query() {
    return [this](ULONG infoClass, void* buffer, ULONG size, ULONG* written) -> LONG {
      ++calls;
      if (throwing) throw std::runtime_error("kernel");
      if (failing.count(infoClass) != 0) return static_cast<LONG>(0xC0000001L);
      switch (infoClass) {
        case sysinfo::kBasicInformation: {
          if (size != sizeof(sysinfo::BasicInformation)) return sysinfo::kStatusInfoLengthMismatch;
          static_cast<sysinfo::BasicInformation*>(buffer)->numberOfProcessors = static_cast<std::int8_t>(processors);
          return 0;
        }
        case sysinfo::kTimeOfDayInformation: {
          if (size > sizeof(sysinfo::TimeOfDayInformation)) return sysinfo::kStatusInfoLengthMismatch;
          static_cast<sysinfo::TimeOfDayInformation*>(buffer)->currentTime = currentTime;
          return 0;
        }
        case sysinfo::kPerformanceInformation: {
          if (size < performanceSizeWanted) {
            if (written != nullptr) *written = performanceSizeWanted;
            return sysinfo::kStatusInfoLengthMismatch;
          }
          static_cast<sysinfo::PerformanceInformation*>(buffer)->idleTime = idleTime;
          return 0;
        }
        default:
          return static_cast<LONG>(0xC0000003L);
      }
    };
  }
  void Advance(std::int64_t idle, std::int64_t time) {
    idleTime += idle;
    currentTime += time;
  }
};

TEST(CpuUsageNT, MeasuresBetweenQueries) {
  FakeKernel kernel;
  kernel.idleTime = 777 * kMs;
  kernel.currentTime = 123456 * kMs;
  kernel.processors = 2;
  clsCPUUsageNT meter(kernel.Query());
  meter.Initialize();
  EXPECT_EQ(meter.PreviousIdleTime(), 777 * kMs);
  EXPECT_EQ(meter.PreviousSystemTime(), 123456 * kMs);

  kernel.Advance(150 * kMs, 100 * kMs);
  EXPECT_EQ(meter.Query(), 25);
  EXPECT_EQ(meter.PreviousIdleTime(), 927 * kMs);
  EXPECT_EQ(meter.PreviousSystemTime(), 123556 * kMs);
  // Within the same clock tick.
  EXPECT_EQ(meter.Query(), 100);

  kernel.processors = 1;
  kernel.Advance(1 * kMs, 3 * kMs);
  EXPECT_EQ(meter.Query(), 67);
}

TEST(CpuUsageNT, FailedQueryKeepsTheBaseline) {
  for (const ULONG failingClass : {sysinfo::kBasicInformation, sysinfo::kTimeOfDayInformation,
                                   sysinfo::kPerformanceInformation}) {
    SCOPED_TRACE(failingClass);
    FakeKernel kernel;
    kernel.processors = 2;
    kernel.Advance(5000 * kMs, 9000 * kMs);
    clsCPUUsageNT meter(kernel.Query());
    meter.Initialize();

    kernel.Advance(150 * kMs, 100 * kMs);
    kernel.failing = {failingClass};
    EXPECT_EQ(meter.Query(), -1);
    EXPECT_EQ(meter.PreviousIdleTime(), 5000 * kMs);
    EXPECT_EQ(meter.PreviousSystemTime(), 9000 * kMs);

    // Measured from the last good sample: 200 ms idle over 200 ms on two
    // processors is 50; from the failed one it would be 75.
    kernel.failing.clear();
    kernel.Advance(50 * kMs, 100 * kMs);
    EXPECT_EQ(meter.Query(), 50);
  }
}

TEST(CpuUsageNT, FailedInitializeMeasuresSinceSystemStart) {
  FakeKernel kernel;
  kernel.idleTime = 300 * kMs;
  kernel.currentTime = 1000 * kMs;
  kernel.failing = {sysinfo::kPerformanceInformation};
  clsCPUUsageNT meter(kernel.Query());
  meter.Initialize();
  EXPECT_EQ(meter.PreviousIdleTime(), 0);
  EXPECT_EQ(meter.PreviousSystemTime(), 0);
  kernel.failing.clear();
  EXPECT_EQ(meter.Query(), CpuUsagePercent(300 * kMs, 1000 * kMs, 1));
  EXPECT_EQ(meter.Query(), 100);
}

TEST(CpuUsageNT, NoKernelOrAThrowingOneGivesNoSample) {
  clsCPUUsageNT none{SystemInformationQuery{}};
  none.Initialize();
  EXPECT_EQ(none.Query(), -1);

  FakeKernel kernel;
  kernel.throwing = true;
  clsCPUUsageNT meter(kernel.Query());
  meter.Initialize();
  EXPECT_EQ(meter.Query(), -1);
  EXPECT_GT(kernel.calls, 0);
}

TEST(CpuUsageNT, KernelWantingALargerPerformanceRecord) {
  FakeKernel kernel;
  kernel.performanceSizeWanted = 344;
  kernel.Advance(1000 * kMs, 2000 * kMs);
  clsCPUUsageNT meter(kernel.Query());
  meter.Initialize();
  EXPECT_EQ(meter.PreviousIdleTime(), 1000 * kMs);
  kernel.Advance(40 * kMs, 100 * kMs);
  EXPECT_EQ(meter.Query(), 60);

  // A size past any sensible record is not chased.
  kernel.performanceSizeWanted = 1 << 20;
  EXPECT_EQ(meter.Query(), -1);
}

TEST(CpuUsageMeterFactory, PicksTheFamilysMeter) {
  const auto nt = CreateCpuUsageMeter(true);
  const auto nine = CreateCpuUsageMeter(false);
  EXPECT_NE(dynamic_cast<clsCPUUsageNT*>(nt.get()), nullptr);
  EXPECT_NE(dynamic_cast<clsCPUUsage*>(nine.get()), nullptr);
}

// Where the dynamic registry has no statistic (this Wine, whatever version
// it reports), the meter measures from the system's idle and elapsed times,
// silently, and does not read 0 for ever.
TEST(CpuUsage9x, WithoutTheDynamicRegistryMeasuresIdleAndElapsedTimes) {
  testing::FakePlatform fake;
  ASSERT_TRUE(SystemIdleClock()) << "kernel32 has GetSystemTimes";
  clsCPUUsage meter;  // HKEY_DYN_DATA, which NT does not have
  meter.Initialize();
  bool busySeen = false;
  for (int round = 0; round < 10 && !busySeen; ++round) {
    // Keep one processor busy for a while, then read.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    volatile std::uint64_t spin = 0;
    while (std::chrono::steady_clock::now() < end) spin = spin + 1;
    const int usage = meter.Query();
    EXPECT_GE(usage, 0);
    EXPECT_LE(usage, 100);
    busySeen = usage > 0;
  }
  EXPECT_TRUE(busySeen);
  meter.Terminate();
  EXPECT_TRUE(fake.messages.empty());
}

// The formula is the NT meter's: with 2 processors, 150 ms idle over 100 ms
// gives 25; a sample that cannot be taken keeps the last figure.
using CpuUsage9xFallback = testing::RegistryTest;

TEST_F(CpuUsage9xFallback, UsesTheNtFormulaAndKeepsTheLastFigure) {
  std::vector<std::optional<IdleSample>> samples = {
      IdleSample{1'000'000, 50'000'000, 2},
      IdleSample{2'500'000, 51'000'000, 2},  // +150 ms idle over +100 ms
      std::nullopt,
      IdleSample{2'500'000, 52'000'000, 2},  // no idle over 100 ms
  };
  std::size_t next = 0;
  UniqueHKey empty;
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "NoDynData", KEY_ALL_ACCESS, empty), ERROR_SUCCESS);  // no PerfStats
  clsCPUUsage meter(empty.get(), [&]() { return next < samples.size() ? samples[next++] : std::nullopt; });
  meter.Initialize();
  EXPECT_EQ(meter.Query(), 25);
  EXPECT_EQ(meter.Query(), 25);
  EXPECT_EQ(meter.Query(), 100);
}

class CpuUsage9xStatistic : public testing::RegistryTest {
 protected:
  static constexpr const char* kRoot = "Software\\TarvixTest\\DynData";

  void SetUp() override {
    testing::RegistryTest::SetUp();
    for (const char* key : {"\\PerfStats\\StartStat", "\\PerfStats\\StatData", "\\PerfStats\\StopStat"}) {
      PutStatistic(key, 0);
    }
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRoot, 0, KEY_ALL_ACCESS, root_.put()), ERROR_SUCCESS);
  }
  void TearDown() override {
    root_.reset();
    testing::RegistryTest::TearDown();
  }

  // The statistic as 95/98/ME keeps it: four bytes of binary data.
  static void PutStatistic(const char* key, DWORD value, DWORD size = 4) {
    UniqueHKey k;
    ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, std::string(kRoot) + key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
    unsigned char bytes[8] = {};
    std::memcpy(bytes, &value, sizeof(value));
    ASSERT_EQ(RegSetValueExA(k.get(), "KERNEL\\CPUUsage", 0, REG_BINARY, bytes, size), ERROR_SUCCESS);
  }
  static void RemoveStatistic(const char* key) {
    UniqueHKey k;
    ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, std::string(kRoot) + key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValueA(k.get(), "KERNEL\\CPUUsage"), ERROR_SUCCESS);
  }

  UniqueHKey root_;
};

TEST_F(CpuUsage9xStatistic, ReadsTheLowOrderByte) {
  clsCPUUsage meter(root_.get());
  meter.Initialize();
  PutStatistic("\\PerfStats\\StatData", 100);  // bytes 100, 0, 0, 0
  EXPECT_EQ(meter.Query(), 100);
  PutStatistic("\\PerfStats\\StatData", 0x0000012C);
  EXPECT_EQ(meter.Query(), 0x2C);
}

TEST_F(CpuUsage9xStatistic, UnreadableValueKeepsTheLastFigure) {
  clsCPUUsage meter(root_.get());
  meter.Initialize();
  PutStatistic("\\PerfStats\\StatData", 37);
  EXPECT_EQ(meter.Query(), 37);
  PutStatistic("\\PerfStats\\StatData", 99, 8);  // too long for the 4-byte read
  EXPECT_EQ(meter.Query(), 37);
  RemoveStatistic("\\PerfStats\\StatData");
  EXPECT_EQ(meter.Query(), 37);
  // Once stopped, the key is closed and the figure stays.
  PutStatistic("\\PerfStats\\StatData", 55);
  meter.Terminate();
  EXPECT_EQ(meter.Query(), 37);
}

TEST_F(CpuUsage9xStatistic, NothingIsReadWithoutTheStartKey) {
  ASSERT_EQ(RegDeleteKeyA(root_.get(), "PerfStats\\StartStat"), ERROR_SUCCESS);
  PutStatistic("\\PerfStats\\StatData", 80);
  clsCPUUsage meter(root_.get());
  meter.Initialize();
  EXPECT_EQ(meter.Query(), 0);
  meter.Terminate();
}

}  // namespace
}  // namespace tarvix
