#include "memory/CpuUsage.h"

#include <array>
#include <cstring>

#include "memory/CpuFormula.h"
#include "memory/SystemRecords.h"

namespace tarvix {
namespace {

using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

constexpr const char* kCpuUsageValue = "KERNEL\\CPUUsage";
constexpr const char* kStartStatKey = "PerfStats\\StartStat";
constexpr const char* kStatDataKey = "PerfStats\\StatData";
constexpr const char* kStopStatKey = "PerfStats\\StopStat";

// A kernel that wants a larger record than ours says so; one retry with a
// buffer of that size (up to this much) still gives us the fields we use.
constexpr ULONG kLargestRecord = 1024;

// Reads the 4-byte statistic; the kept value changes only on success.
void ReadStatistic(HKEY key, DWORD& value, DWORD& type) noexcept {
  try {
    const auto read = QueryRawValue(key, kCpuUsageValue);
    if (!read || read->data.size() > sizeof(DWORD)) return;
    DWORD number = 0;
    if (!read->data.empty()) std::memcpy(&number, read->data.data(), read->data.size());
    value = number;
    type = read->type;
  } catch (...) {
    // Out of memory for four bytes: the kept value stays.
  }
}

[[nodiscard]] bool Open(HKEY root, const char* path, REGSAM access, UniqueHKey& key) noexcept {
  try {
    return OpenKey(root, path, access, key) == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

// Opening and reading the start or stop key is what switches the statistic;
// false when the key cannot be opened.
[[nodiscard]] bool TouchStatistic(HKEY root, const char* path) noexcept {
  UniqueHKey key;
  if (!Open(root, path, KEY_ALL_ACCESS, key)) return false;
  DWORD value = 0;
  DWORD type = REG_NONE;
  ReadStatistic(key.get(), value, type);
  return true;
}

}  // namespace

SystemInformationQuery NtdllSystemInformationQuery() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr) return {};
  const auto query = reinterpret_cast<NtQuerySystemInformationFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
  if (query == nullptr) return {};
  return [query](ULONG infoClass, void* buffer, ULONG size, ULONG* written) {
    return query(infoClass, buffer, size, written);
  };
}

clsCPUUsageNT::clsCPUUsageNT() : clsCPUUsageNT(NtdllSystemInformationQuery()) {}

clsCPUUsageNT::clsCPUUsageNT(SystemInformationQuery query) : query_(std::move(query)) {}

bool clsCPUUsageNT::ReadRecord(ULONG infoClass, void* record, ULONG size) noexcept {
  if (!query_) return false;
  try {
    std::memset(record, 0, size);
    ULONG written = 0;
    const LONG status = query_(infoClass, record, size, &written);
    if (status == sysinfo::kStatusSuccess) return true;
    if (status != sysinfo::kStatusInfoLengthMismatch || written <= size || written > kLargestRecord) {
      return false;
    }
    std::array<unsigned char, kLargestRecord> larger{};
    if (query_(infoClass, larger.data(), written, nullptr) != sysinfo::kStatusSuccess) return false;
    std::memcpy(record, larger.data(), size);
    return true;
  } catch (...) {
    return false;
  }
}

void clsCPUUsageNT::Initialize() noexcept {
  sysinfo::TimeOfDayInformation timeOfDay;
  if (!ReadRecord(sysinfo::kTimeOfDayInformation, &timeOfDay, sizeof(timeOfDay))) return;
  sysinfo::PerformanceInformation performance;
  if (!ReadRecord(sysinfo::kPerformanceInformation, &performance, sizeof(performance))) return;
  previousIdle_ = performance.idleTime;
  previousTime_ = timeOfDay.currentTime;
}

int clsCPUUsageNT::Query() noexcept {
  sysinfo::BasicInformation basic;
  sysinfo::TimeOfDayInformation timeOfDay;
  sysinfo::PerformanceInformation performance;
  if (!ReadRecord(sysinfo::kBasicInformation, &basic, sizeof(basic)) ||
      !ReadRecord(sysinfo::kTimeOfDayInformation, &timeOfDay, sizeof(timeOfDay)) ||
      !ReadRecord(sysinfo::kPerformanceInformation, &performance, sizeof(performance))) {
    return -1;
  }
  // Differences wrap like the kernel's unsigned counters would, never trap.
  const auto idleDifference = static_cast<std::int64_t>(static_cast<std::uint64_t>(performance.idleTime) -
                                                        static_cast<std::uint64_t>(previousIdle_));
  const auto timeDifference = static_cast<std::int64_t>(static_cast<std::uint64_t>(timeOfDay.currentTime) -
                                                        static_cast<std::uint64_t>(previousTime_));
  const auto processors = static_cast<unsigned char>(basic.numberOfProcessors);
  const int usage = CpuUsagePercent(idleDifference, timeDifference, processors);
  previousIdle_ = performance.idleTime;
  previousTime_ = timeOfDay.currentTime;
  return usage;
}

IdleClock SystemIdleClock() {
  using GetSystemTimesFn = BOOL(WINAPI*)(FILETIME*, FILETIME*, FILETIME*);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return {};
  const auto getSystemTimes =
      reinterpret_cast<GetSystemTimesFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemTimes")));
  if (getSystemTimes == nullptr) return {};
  return [getSystemTimes]() -> std::optional<IdleSample> {
    const auto count = [](const FILETIME& time) {
      return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    FILETIME idle{}, kernelTime{}, user{}, now{};
    if (!getSystemTimes(&idle, &kernelTime, &user)) return std::nullopt;
    GetSystemTimeAsFileTime(&now);
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    return IdleSample{count(idle), count(now), system.dwNumberOfProcessors};
  };
}

clsCPUUsage::clsCPUUsage() : clsCPUUsage(HKEY_DYN_DATA, SystemIdleClock()) {}

clsCPUUsage::clsCPUUsage(HKEY statisticsRoot, IdleClock fallback)
    : root_(statisticsRoot), fallback_(std::move(fallback)) {}

void clsCPUUsage::Initialize() noexcept {
  if (TouchStatistic(root_, kStartStatKey) && Open(root_, kStatDataKey, KEY_READ, statData_)) return;
  statData_.reset();
  if (!fallback_) return;
  try {
    if (const auto sample = fallback_()) {
      previous_ = *sample;
      measuring_ = true;
    }
  } catch (...) {
  }
}

int clsCPUUsage::Query() noexcept {
  if (statData_) {
    ReadStatistic(statData_.get(), value_, valueType_);
  } else if (fallback_) {
    try {
      if (const auto sample = fallback_()) {
        // Without a baseline the first sample only becomes one.
        if (measuring_) {
          const auto idle = static_cast<std::int64_t>(static_cast<std::uint64_t>(sample->idleTime) -
                                                      static_cast<std::uint64_t>(previous_.idleTime));
          const auto elapsed = static_cast<std::int64_t>(static_cast<std::uint64_t>(sample->systemTime) -
                                                         static_cast<std::uint64_t>(previous_.systemTime));
          value_ = static_cast<DWORD>(CpuUsagePercent(idle, elapsed, sample->processors));
        }
        previous_ = *sample;
        measuring_ = true;
      }
    } catch (...) {
    }
  }
  return static_cast<int>(value_ & 0xFFu);
}

void clsCPUUsage::Terminate() noexcept {
  statData_.reset();
  static_cast<void>(TouchStatistic(root_, kStopStatKey));
}

std::unique_ptr<CpuUsageMeter> CreateCpuUsageMeter(bool ntPlatform) {
  if (ntPlatform) return std::make_unique<clsCPUUsageNT>();
  return std::make_unique<clsCPUUsage>();
}

}  // namespace tarvix
