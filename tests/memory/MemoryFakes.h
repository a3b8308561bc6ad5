#pragma once
// Stand-ins for the machine's memory and the CPU meter, for the low-memory
// check and the memory windows: scripted figures, recorded freeing.
#include <cstdint>
#include <functional>
#include <vector>

#include "memory/CpuUsage.h"
#include "memory/MemoryAccess.h"

namespace tarvix::test {

inline constexpr std::uint64_t kMiB = 1048576;

class FakeMemory final : public MemoryAccess {
 public:
  std::uint64_t freeBytes = 0;
  std::uint64_t totalBytes = 0;
  // The FreeUpMemory calls, by amount (characters).
  std::vector<std::int64_t> freed;
  // Calls (counted from 0) that report that nothing could be claimed.
  std::vector<int> failingCalls;
  // Runs inside each FreeUpMemory call, where the real one serves window messages.
  std::function<void()> duringFreeing;

  [[nodiscard]] std::uint64_t GetFreePhysical() noexcept override {
    ++freeReads;
    return freeBytes;
  }
  [[nodiscard]] std::uint64_t GetTotalPhysical() noexcept override { return totalBytes; }
  [[nodiscard]] FreeUpResult FreeUpMemory(std::int64_t amount) noexcept override {
    const int call = static_cast<int>(freed.size());
    freed.push_back(amount);
    if (duringFreeing) duringFreeing();
    for (const int failing : failingCalls) {
      if (failing == call) return {FreeUpStatus::OutOfMemory, 0};
    }
    return {FreeUpStatus::Full, amount};
  }

  int freeReads = 0;
};

class FakeMeter final : public CpuUsageMeter {
 public:
  int usage = 0;
  int initialized = 0;
  int queries = 0;
  std::function<void()> duringQuery;

  void Initialize() noexcept override { ++initialized; }
  [[nodiscard]] int Query() noexcept override {
    ++queries;
    if (duringQuery) duringQuery();
    return usage;
  }
  void Terminate() noexcept override {}
};

}  // namespace tarvix::test
