#pragma once
// Processor usage in percent, measured the way each Windows family allows:
// from the kernel's idle time on NT, from the kernel's own statistic in the
// dynamic registry on 95/98/ME.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "registry/RegKey.h"

namespace tarvix {

// The three operations both meters share. One meter serves the whole run;
// every Query moves its baseline, whoever calls it.
class CpuUsageMeter {
 public:
  virtual ~CpuUsageMeter() = default;
  virtual void Initialize() noexcept = 0;
  // Usage in percent since the previous Query (or Initialize); -1 when no
  // sample could be taken.
  [[nodiscard]] virtual int Query() noexcept = 0;
  virtual void Terminate() noexcept = 0;
};

// The shape of NtQuerySystemInformation: information class, buffer, its size
// in bytes, bytes written (may be null); returns an NTSTATUS.
using SystemInformationQuery = std::function<LONG(ULONG infoClass, void* buffer, ULONG size, ULONG* written)>;

// NtQuerySystemInformation from ntdll, looked up at run time; an empty
// function when ntdll does not export it.
[[nodiscard]] SystemInformationQuery NtdllSystemInformationQuery();

// NT family: busy share of all processors since the previous sample.
class clsCPUUsageNT final : public CpuUsageMeter {
 public:
  clsCPUUsageNT();
  // Reads the kernel records through `query` (tests fail it on purpose); an
  // empty query makes every sample fail.
  explicit clsCPUUsageNT(SystemInformationQuery query);

  // Takes the first baseline; on failure the baseline stays at zero, so the
  // first Query measures since the system started.
  void Initialize() noexcept override;
  // -1, with the baseline kept, when any of the three records cannot be read.
  [[nodiscard]] int Query() noexcept override;
  void Terminate() noexcept override {}

  // The baseline: accumulated idle time and the clock at the last good sample, 100-ns units.
  [[nodiscard]] std::int64_t PreviousIdleTime() const noexcept { return previousIdle_; }
  [[nodiscard]] std::int64_t PreviousSystemTime() const noexcept { return previousTime_; }

 private:
  // Fills `record` (zeroed first); true when the status is success.
  [[nodiscard]] bool ReadRecord(ULONG infoClass, void* record, ULONG size) noexcept;

  SystemInformationQuery query_;
  std::int64_t previousIdle_ = 0;
  std::int64_t previousTime_ = 0;
};

// One sample of the system's accumulated idle time (all processors
// together) and of the clock, both in 100-ns units, with the processor count.
struct IdleSample {
  std::int64_t idleTime = 0;
  std::int64_t systemTime = 0;
  unsigned processors = 1;
};
// nullopt when no sample can be taken.
using IdleClock = std::function<std::optional<IdleSample>()>;
// GetSystemTimes (looked up at run time), the system clock and the processor
// count; an empty function where kernel32 has no GetSystemTimes.
[[nodiscard]] IdleClock SystemIdleClock();

// 95/98/ME family: the kernel's own statistic "KERNEL\CPUUsage", which
// reading it under PerfStats\StartStat switches on and reading it under
// PerfStats\StopStat switches off. Every registry failure is silent. Where
// the dynamic registry has no such statistic (Wine set to Windows 98, for
// one), the meter measures from the system's idle and elapsed times with the
// NT meter's formula instead, so that the figure is never stuck at 0.
class clsCPUUsage final : public CpuUsageMeter {
 public:
  clsCPUUsage();
  // Looks for PerfStats under `statisticsRoot` instead of HKEY_DYN_DATA, and
  // takes `fallback` where the statistic is missing (tests). The root is
  // borrowed and must outlive the meter.
  explicit clsCPUUsage(HKEY statisticsRoot, IdleClock fallback = {});

  // Starts the statistic and keeps the StatData key open; without StartStat
  // the meter stays without a key.
  void Initialize() noexcept override;
  // The low-order byte of the value read now, or without the statistic the
  // busy share since the previous sample; when neither can be read, the
  // previous figure (initially 0).
  [[nodiscard]] int Query() noexcept override;
  // Closes the kept key and stops the statistic.
  void Terminate() noexcept override;

 private:
  HKEY root_;
  UniqueHKey statData_;
  DWORD value_ = 0;
  DWORD valueType_ = REG_NONE;
  IdleClock fallback_;
  bool measuring_ = false;  // the fallback has its baseline
  IdleSample previous_;
};

// clsCPUUsageNT on the NT platform, clsCPUUsage otherwise; not yet initialised.
[[nodiscard]] std::unique_ptr<CpuUsageMeter> CreateCpuUsageMeter(bool ntPlatform);

}  // namespace tarvix
