#pragma once
// The three kernel records that the NT processor meter reads through
// NtQuerySystemInformation, laid out as the kernel writes them. Sizes and the
// offsets of the fields used are checked here at compile time and again
// against the SDK's own declarations in the tests.
#include <cstddef>
#include <cstdint>

namespace tarvix::sysinfo {

// Information classes.
inline constexpr unsigned long kBasicInformation = 0;
inline constexpr unsigned long kPerformanceInformation = 2;
inline constexpr unsigned long kTimeOfDayInformation = 3;

// NTSTATUS values the meter looks at.
inline constexpr long kStatusSuccess = 0;
inline constexpr long kStatusInfoLengthMismatch = static_cast<long>(0xC0000004UL);

// Class 0. The kernel insists on exactly this size: 44 bytes on 32-bit
// Windows, 64 on 64-bit, because three fields are pointer-sized.
struct BasicInformation {
  std::uint32_t reserved;
  std::uint32_t maximumIncrement;
  std::uint32_t physicalPageSize;
  std::uint32_t numberOfPhysicalPages;
  std::uint32_t lowestPhysicalPage;
  std::uint32_t highestPhysicalPage;
  std::uint32_t allocationGranularity;
  std::uintptr_t lowestUserAddress;
  std::uintptr_t highestUserAddress;
  std::uintptr_t activeProcessorsAffinityMask;
  std::int8_t numberOfProcessors;
};

// Class 3. Times in 100-ns units; the kernel accepts any size up to this one.
struct TimeOfDayInformation {
  std::int64_t bootTime;
  std::int64_t currentTime;
  std::int64_t timeZoneBias;
  std::uint32_t currentTimeZoneId;
  std::uint8_t reserved[20];
};

// Class 2. Only the accumulated idle time of all processors (100-ns units) is
// used; the rest is counters of the memory manager and the cache. Newer
// kernels may ask for a larger buffer, never a smaller one.
struct PerformanceInformation {
  std::int64_t idleTime;
  std::uint8_t counters[304];
};

inline constexpr std::size_t kBasicInformationSize = sizeof(void*) == 8 ? 64 : 44;
inline constexpr std::size_t kProcessorCountOffset = sizeof(void*) == 8 ? 56 : 40;
inline constexpr std::size_t kTimeOfDayInformationSize = 48;
inline constexpr std::size_t kCurrentTimeOffset = 8;
inline constexpr std::size_t kPerformanceInformationSize = 312;
inline constexpr std::size_t kIdleTimeOffset = 0;

static_assert(sizeof(BasicInformation) == kBasicInformationSize);
static_assert(offsetof(BasicInformation, numberOfProcessors) == kProcessorCountOffset);
static_assert(sizeof(TimeOfDayInformation) == kTimeOfDayInformationSize);
static_assert(offsetof(TimeOfDayInformation, currentTime) == kCurrentTimeOffset);
static_assert(sizeof(PerformanceInformation) == kPerformanceInformationSize);
static_assert(offsetof(PerformanceInformation, idleTime) == kIdleTimeOffset);

}  // namespace tarvix::sysinfo
