// FreeUpMemory against a plain memset of the same bytes. A request of 256 MB
// (256 x 1048576 characters) claims 512 MB, because each character of the
// freeing buffer is two bytes; both sides therefore write 512 MB, and both
// are bound by memory bandwidth and, for fresh pages, by the page faults of
// the first touch.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "memory/FreeRAM.h"

namespace {

constexpr std::int64_t kRequestMB = 256;
constexpr std::int64_t kCharacters = kRequestMB * 1048576;
constexpr std::size_t kBytes = static_cast<std::size_t>(kCharacters) * 2;
constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double GBps(double seconds) { return static_cast<double>(kBytes) / seconds / 1e9; }

}  // namespace

int main() {
  std::vector<double> freshMemset;
  std::vector<double> warmMemset;
  std::vector<double> freeUp;

  for (int round = 0; round < kRounds; ++round) {
    // memset into freshly committed pages: the same work FreeUpMemory does,
    // without the character loop.
    auto start = Clock::now();
    auto* block = static_cast<unsigned char*>(VirtualAlloc(nullptr, kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (block == nullptr) {
      std::printf("could not claim %zu bytes for memset\n", kBytes);
      return 1;
    }
    std::memset(block, 0x20, kBytes);
    volatile unsigned char sink = block[kBytes / 3];
    static_cast<void>(sink);
    VirtualFree(block, 0, MEM_RELEASE);
    freshMemset.push_back(Seconds(start));
  }

  {
    // memset into pages already touched: the bandwidth limit alone.
    auto* block = static_cast<unsigned char*>(VirtualAlloc(nullptr, kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (block == nullptr) return 1;
    std::memset(block, 0, kBytes);
    for (int round = 0; round < kRounds; ++round) {
      const auto start = Clock::now();
      std::memset(block, round + 1, kBytes);
      warmMemset.push_back(Seconds(start));
    }
    volatile unsigned char sink = block[kBytes / 5];
    static_cast<void>(sink);
    VirtualFree(block, 0, MEM_RELEASE);
  }

  tarvix::FreeRAM ram;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    const tarvix::FreeUpResult result = ram.FreeUpMemory(kCharacters);
    freeUp.push_back(Seconds(start));
    if (result.status != tarvix::FreeUpStatus::Full) {
      std::printf("FreeUpMemory(%lld) did not claim the full amount (status %d, claimed %lld)\n",
                  static_cast<long long>(kCharacters), static_cast<int>(result.status),
                  static_cast<long long>(result.claimed));
      return 1;
    }
  }

  const double fresh = Median(freshMemset);
  const double warm = Median(warmMemset);
  const double freeing = Median(freeUp);
  std::printf("FreeUpMemory(%lld MB request) claims and writes %zu bytes (%zu MB)\n",
              static_cast<long long>(kRequestMB), kBytes, kBytes >> 20);
  std::printf("median of %d rounds:\n", kRounds);
  std::printf("  FreeUpMemory                    %8.1f ms  %6.2f GB/s\n", freeing * 1e3, GBps(freeing));
  std::printf("  memset, fresh pages (+alloc)    %8.1f ms  %6.2f GB/s\n", fresh * 1e3, GBps(fresh));
  std::printf("  memset, pages already touched   %8.1f ms  %6.2f GB/s\n", warm * 1e3, GBps(warm));
  std::printf("ratio FreeUpMemory / memset fresh  %6.2f\n", freeing / fresh);
  std::printf("ratio FreeUpMemory / memset warm   %6.2f\n", freeing / warm);
  // Machine-readable lines for the table of scripts/bench:
  // BENCH|name|figure|unit|baseline name|baseline figure
  std::printf("BENCH|FreeUpMemory(%lld MB)|%.3f|ms|memset, fresh pages (+alloc)|%.3f\n",
              static_cast<long long>(kRequestMB), freeing * 1e3, fresh * 1e3);
  std::printf("BENCH|FreeUpMemory(%lld MB)|%.3f|ms|memset, pages already touched|%.3f\n",
              static_cast<long long>(kRequestMB), freeing * 1e3, warm * 1e3);
  return 0;
}
