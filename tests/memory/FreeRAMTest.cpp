#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/Handle.h"
#include "memory/FreeAmount.h"
#include "ProcMeminfo.h"
#include "memory/FreeRAM.h"
#include "support/FakePlatform.h"

namespace tarvix {
namespace {

constexpr std::int64_t kMB = 1048576;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// Hands out real heap blocks (pre-filled with a marker) until told to fail,
// and checks on release that every byte of each block was written with
// two-byte spaces.
class RecordingAllocator final : public MemoryAllocator {
 public:
  // Which calls (counted from 0) fail; every call fails when failAll is set.
  std::vector<int> failingCalls;
  bool failAll = false;
  // Posted from inside Allocate, when not 0, to postWindow (to the thread
  // when that is null).
  UINT postDuringAllocate = 0;
  HWND postWindow = nullptr;
  // The block handed out last.
  const unsigned char* lastBlock = nullptr;

  std::vector<std::uint64_t> requests;
  std::vector<std::uint64_t> releasedFullyWritten;
  int releases = 0;

  void* Allocate(std::uint64_t bytes) noexcept override {
    const int call = static_cast<int>(requests.size());
    requests.push_back(bytes);
    if (postDuringAllocate != 0) PostMessageA(postWindow, postDuringAllocate, 0, 0);
    if (failAll) return nullptr;
    for (int failing : failingCalls) {
      if (failing == call) return nullptr;
    }
    if (bytes > 64 * static_cast<std::uint64_t>(kMB)) return nullptr;  // never a large block in tests
    void* block = std::malloc(static_cast<std::size_t>(bytes));
    if (block != nullptr) std::memset(block, 0xAB, static_cast<std::size_t>(bytes));
    lastBlock = static_cast<const unsigned char*>(block);
    return block;
  }

  void Release(void* block, std::uint64_t bytes) noexcept override {
    ++releases;
    const auto* p = static_cast<const unsigned char*>(block);
    bool written = bytes % 2 == 0;
    for (std::uint64_t i = 0; written && i < bytes; i += 2) written = p[i] == 0x20 && p[i + 1] == 0x00;
    if (written) releasedFullyWritten.push_back(bytes);
    std::free(block);
  }
};

using test::ReadProcMeminfo;

[[nodiscard]] bool MessageWaiting(UINT message) {
  MSG msg;
  return PeekMessageA(&msg, nullptr, message, message, PM_REMOVE) != FALSE;
}

TEST(FreeAmount, HalvesToEvenAndSizesInTwoByteCharacters) {
  EXPECT_EQ(HalfRoundedToEven(0), 0);
  EXPECT_EQ(HalfRoundedToEven(1), 0);
  EXPECT_EQ(HalfRoundedToEven(3), 2);
  EXPECT_EQ(HalfRoundedToEven(5), 2);
  EXPECT_EQ(HalfRoundedToEven(7), 4);
  EXPECT_EQ(HalfRoundedToEven(1048577), 524288);
  EXPECT_EQ(HalfRoundedToEven(10 * kMB), 5 * kMB);
  EXPECT_EQ(HalfRoundedToEven(INT64_MAX), INT64_C(1) << 62);

  EXPECT_EQ(FreeingBufferBytes(0), 0u);
  EXPECT_EQ(FreeingBufferBytes(2048 * kMB), std::uint64_t{1} << 32);
  EXPECT_EQ(FreeingBufferBytes(INT64_MAX), UINT64_MAX - 1);
  EXPECT_EQ(FreeingBufferBytes(-1), std::nullopt);
}

TEST(FreeRAM, FiguresMatchTheMachine) {
  const FreeRAM ram;
  const std::uint64_t total = ram.GetTotalPhysical();
  const std::uint64_t free = ram.GetFreePhysical();
  ASSERT_GT(total, 0u);
  EXPECT_LE(free, total);

  const auto meminfo = ReadProcMeminfo();
  if (meminfo) {
    // Linux's own figures, in kB; other work on the machine moves the free figure a little.
    const std::uint64_t linuxTotal = meminfo->at("MemTotal") * 1024;
    const std::uint64_t linuxAvailable = meminfo->at("MemAvailable") * 1024;
    EXPECT_NEAR(static_cast<double>(total), static_cast<double>(linuxTotal), 0.01 * static_cast<double>(linuxTotal));
    EXPECT_NEAR(static_cast<double>(free), static_cast<double>(linuxAvailable), 0.05 * static_cast<double>(linuxTotal));
  } else {
    // Without Wine's Z: drive, the figures must at least be the system's own, unclipped.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_EQ(total, status.ullTotalPhys);
  }

  const double usedPercent = 100.0 * static_cast<double>(total - free) / static_cast<double>(total);
  const unsigned load = ram.GetMemoryLoad();
  EXPECT_LE(load, 100u);
  EXPECT_NEAR(static_cast<double>(load), usedPercent, 3.0);

  // A 64-bit process has terabytes of address space.
  EXPECT_GE(ram.GetTotalVirtual(), std::uint64_t{1} << 40);
  EXPECT_LE(ram.GetFreeVirtual(), ram.GetTotalVirtual());
}

// Polls the free figure of `ram` every 100 ms for up to 4 s until `reached`
// holds for it; returns the last figure read.
template <typename Predicate>
std::uint64_t WaitForFreeFigure(const FreeRAM& ram, Predicate reached) {
  std::uint64_t figure = ram.GetFreePhysical();
  for (int poll = 0; poll < 40 && !reached(figure); ++poll) {
    Sleep(100);
    figure = ram.GetFreePhysical();
  }
  return figure;
}

TEST(FreeRAM, FiguresAreReadAfreshOnEveryCall) {
  // Writing every page of a committed block takes that much physical memory
  // from the machine, and releasing it gives it back; one instance must see
  // both. (Wine does not count reserved address space in the free virtual
  // figure, so physical memory is the figure to watch.) Linux folds its
  // per-processor counters into the free figure about once a second, so each
  // step is polled for a while; other work on the machine moves the figure
  // by some hundred MB too, so a few rounds are allowed and each step needs
  // half the block.
  constexpr std::uint64_t kBlock = kGiB;
  constexpr std::uint64_t kEnough = kBlock / 2;
  const FreeRAM ram;
  if (ram.GetFreePhysical() < 4 * kBlock) GTEST_SKIP() << "less than 4 GB free; the drop would not be clear";
  std::string rounds;
  bool seen = false;
  for (int round = 0; round < 4 && !seen; ++round) {
    const std::uint64_t before = ram.GetFreePhysical();
    void* block = VirtualAlloc(nullptr, static_cast<SIZE_T>(kBlock), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5A, static_cast<std::size_t>(kBlock));
    const std::uint64_t during = WaitForFreeFigure(ram, [&](std::uint64_t now) { return now + kEnough <= before; });
    VirtualFree(block, 0, MEM_RELEASE);
    const std::uint64_t after = WaitForFreeFigure(ram, [&](std::uint64_t now) { return during + kEnough <= now; });
    const auto mb = [](std::uint64_t bytes) { return std::to_string(bytes >> 20); };
    rounds += " [" + mb(before) + " -> " + mb(during) + " -> " + mb(after) + " MB]";
    seen = during + kEnough <= before && during + kEnough <= after;
  }
  EXPECT_TRUE(seen) << "free physical memory before, while holding 1 GB, after:" << rounds;
}

TEST(FreeRAM, FreeingNothingClaimsNothing) {
  RecordingAllocator allocator;
  FreeRAM ram(allocator);
  const FreeUpResult result = ram.FreeUpMemory(0);
  EXPECT_EQ(result.status, FreeUpStatus::Full);
  EXPECT_EQ(result.claimed, 0);
  EXPECT_TRUE(result.succeeded());
  EXPECT_TRUE(allocator.requests.empty());
}

TEST(FreeRAM, FreeingWritesEveryByteAndGivesItBack) {
  RecordingAllocator allocator;
  FreeRAM ram(allocator);
  const std::int64_t amount = 3 * kMB + 1;  // an odd count checks the last character too
  const FreeUpResult result = ram.FreeUpMemory(amount);
  EXPECT_EQ(result.status, FreeUpStatus::Full);
  EXPECT_EQ(result.claimed, amount);
  ASSERT_EQ(allocator.requests.size(), 1u);
  EXPECT_EQ(allocator.requests[0], static_cast<std::uint64_t>(2 * amount));
  EXPECT_EQ(allocator.releases, 1);
  EXPECT_EQ(allocator.releasedFullyWritten, allocator.requests);
}

TEST(FreeRAM, FreeingWithTheSystemAllocator) {
  FreeRAM ram;
  const FreeUpResult result = ram.FreeUpMemory(4 * kMB);
  EXPECT_EQ(result.status, FreeUpStatus::Full);
  EXPECT_EQ(result.claimed, 4 * kMB);
}

TEST(FreeRAM, FailedClaimFallsBackOnceToHalfRoundedToEven) {
  for (const auto& [amount, half] : {std::pair<std::int64_t, std::int64_t>{1048577, 524288}, {5, 2}, {7, 4}}) {
    SCOPED_TRACE(amount);
    RecordingAllocator allocator;
    allocator.failingCalls = {0};
    FreeRAM ram(allocator);
    const FreeUpResult result = ram.FreeUpMemory(amount);
    EXPECT_EQ(result.status, FreeUpStatus::Halved);
    EXPECT_EQ(result.claimed, half);
    EXPECT_TRUE(result.succeeded());
    ASSERT_EQ(allocator.requests.size(), 2u);
    EXPECT_EQ(allocator.requests[0], static_cast<std::uint64_t>(2 * amount));
    EXPECT_EQ(allocator.requests[1], static_cast<std::uint64_t>(2 * half));
    EXPECT_EQ(allocator.releasedFullyWritten, std::vector<std::uint64_t>{allocator.requests[1]});
  }
}

TEST(FreeRAM, SecondFailureIsReportedNotRetried) {
  RecordingAllocator allocator;
  allocator.failAll = true;
  FreeRAM ram(allocator);
  const FreeUpResult result = ram.FreeUpMemory(10 * kMB);
  EXPECT_EQ(result.status, FreeUpStatus::OutOfMemory);
  EXPECT_EQ(result.claimed, 0);
  EXPECT_FALSE(result.succeeded());
  EXPECT_EQ(allocator.requests, (std::vector<std::uint64_t>{20 * kMB, 10 * kMB}));
  EXPECT_EQ(allocator.releases, 0);
}

TEST(FreeRAM, NegativeAmountIsRefusedWithoutClaiming) {
  RecordingAllocator allocator;
  FreeRAM ram(allocator);
  const FreeUpResult result = ram.FreeUpMemory(-kMB);
  EXPECT_EQ(result.status, FreeUpStatus::InvalidAmount);
  EXPECT_FALSE(result.succeeded());
  EXPECT_TRUE(allocator.requests.empty());
}

TEST(FreeRAM, AmountsOf2048MBAndMoreKeepTheirFullSize) {
  // The allocator refuses, so nothing this large is ever really claimed.
  for (const std::int64_t megabytes : {INT64_C(2047), INT64_C(2048), INT64_C(4096), INT64_C(24576), INT64_C(32767)}) {
    SCOPED_TRACE(megabytes);
    RecordingAllocator allocator;
    allocator.failAll = true;
    FreeRAM ram(allocator);
    const FreeUpResult result = ram.FreeUpMemory(megabytes * kMB);
    EXPECT_EQ(result.status, FreeUpStatus::OutOfMemory);
    const auto bytes = static_cast<std::uint64_t>(megabytes) * 2 * kMB;
    EXPECT_EQ(allocator.requests, (std::vector<std::uint64_t>{bytes, bytes / 2}));
  }
  EXPECT_EQ(4096 * 2 * static_cast<std::uint64_t>(kMB), 8 * kGiB);

  RecordingAllocator allocator;
  allocator.failAll = true;
  FreeRAM ram(allocator);
  EXPECT_EQ(ram.FreeUpMemory(INT64_MAX).status, FreeUpStatus::OutOfMemory);
  EXPECT_EQ(allocator.requests, (std::vector<std::uint64_t>{UINT64_MAX - 1, std::uint64_t{1} << 63}));
}

TEST(FreeRAM, FreeingServesPendingMessagesBeforeAndWhileHolding) {
  constexpr UINT kBefore = WM_APP + 41;
  constexpr UINT kWhileHolding = WM_APP + 42;
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kBefore, 0, 0));

  RecordingAllocator allocator;
  allocator.postDuringAllocate = kWhileHolding;
  FreeRAM ram(allocator);
  EXPECT_EQ(ram.FreeUpMemory(1024).status, FreeUpStatus::Full);
  EXPECT_FALSE(MessageWaiting(kBefore));
  EXPECT_FALSE(MessageWaiting(kWhileHolding));
}

// How many bytes from the start of `block` hold two-byte spaces.
[[nodiscard]] std::uint64_t WrittenBytes(const unsigned char* block, std::uint64_t bytes) {
  std::uint64_t written = 0;
  while (written + 1 < bytes && block[written] == 0x20 && block[written + 1] == 0x00) written += 2;
  return written;
}

TEST(FreeRAM, FreeingServesMessagesWhileWritingTheBlock) {
  // A window that notes how much of the block was written when its message
  // came: a block written in one piece would only let it in once full.
  static RecordingAllocator allocator;
  static std::vector<std::uint64_t> writtenWhenServed;
  constexpr UINT kProbe = WM_APP + 43;
  constexpr std::int64_t kAmount = 24 * kMB;  // 48 MB, many slices
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == kProbe) {
      writtenWhenServed.push_back(WrittenBytes(allocator.lastBlock, 2 * kAmount));
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  };
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "TarvixFreeRamProbe";
  RegisterClassA(&windowClass);
  const HWND probe = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     windowClass.hInstance, nullptr);
  ASSERT_NE(probe, nullptr);
  allocator.postDuringAllocate = kProbe;
  allocator.postWindow = probe;

  FreeRAM ram(allocator);
  EXPECT_EQ(ram.FreeUpMemory(kAmount).status, FreeUpStatus::Full);
  ASSERT_EQ(writtenWhenServed.size(), 1u);
  EXPECT_GT(writtenWhenServed[0], 0u);
  EXPECT_LT(writtenWhenServed[0], static_cast<std::uint64_t>(2 * kAmount) / 4);
  EXPECT_EQ(allocator.releasedFullyWritten, allocator.requests);
  DestroyWindow(probe);
}

TEST(FreeRAM, QuitMessageSurvivesThePump) {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  PostQuitMessage(7);
  FreeRAM ram;
  EXPECT_EQ(ram.FreeUpMemory(1024).status, FreeUpStatus::Full);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(FreeRAM, ExitWindowsKnowsThreeWordsInAnyCase) {
  testing::FakePlatform fake;
  const FreeRAM ram;
  EXPECT_EQ(ram.ExitWindows("REBOOT"), TRUE);
  EXPECT_EQ(ram.ExitWindows("Shutdown"), TRUE);
  EXPECT_EQ(ram.ExitWindows("logoff"), TRUE);
  EXPECT_EQ(ram.ExitWindows("restart"), 0);
  EXPECT_EQ(ram.ExitWindows(""), 0);
  EXPECT_EQ(ram.ExitWindows("reboot "), 0);
  const std::vector<std::pair<UINT, DWORD>> expected{{EWX_REBOOT, 0}, {EWX_SHUTDOWN, 0}, {EWX_LOGOFF, 0}};
  EXPECT_EQ(fake.exitRequests, expected);
  EXPECT_EQ(EWX_LOGOFF, 0);
  EXPECT_EQ(EWX_SHUTDOWN, 1);
  EXPECT_EQ(EWX_REBOOT, 2);

  fake.exitWindowsResult = FALSE;
  EXPECT_EQ(ram.ExitWindows("reboot"), 0);
}

TEST(FreeRAM, LinksOpenOnlyWebAndMailAddresses) {
  testing::FakePlatform fake;
  const FreeRAM ram;
  EXPECT_TRUE(ram.GoToURL("http://www.example.com/tarvix"));
  EXPECT_TRUE(ram.GoToURL("HTTPS://example.com"));
  EXPECT_FALSE(ram.GoToURL("C:\\Windows\\notepad.exe"));
  EXPECT_FALSE(ram.GoToURL("file:///C:/boot.ini"));
  EXPECT_FALSE(ram.GoToURL("http://"));
  EXPECT_FALSE(ram.GoToURL("http://example.com/a b"));
  EXPECT_TRUE(ram.eMail("support@example.com"));
  EXPECT_FALSE(ram.eMail(""));
  EXPECT_FALSE(ram.eMail("a@example.com?attach=C:\\secret.txt"));
  EXPECT_FALSE(ram.eMail("a@example.com\r\nBcc: b@example.com"));
  const std::vector<std::string> expected{"http://www.example.com/tarvix", "HTTPS://example.com",
                                          "mailto:support@example.com"};
  EXPECT_EQ(fake.openedDocuments, expected);
}

}  // namespace
}  // namespace tarvix
