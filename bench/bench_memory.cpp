// FreeUpMemory against a plain memset of the same bytes. A request of 256 MB
// (256 x 1048576 characters) claims 512 MB, because each character of the
// freeing buffer is two bytes; both sides therefore write 512 MB, and both
// are bound by memory bandwidth and, for fresh pages, by the page faults of
// the first touch.
//
// Then how long a window waits for its messages while 1 GB is freed (a
// request of 1024 MB, 2 GB written): another thread posts a message every
// 10 ms, stamped with the time of posting, and the longest wait until it is
// served is kept; the same against one write of the whole block without any
// pumping, which is also the baseline of the freeing time.
//
// Then the processor time the status window, in the installed skin, costs
// while idle: 30 s (or $TARVIX_IDLE_SECONDS) with both of its timers at
// 300 ms, hidden as at start-up and then shown, against a minimal window
// with one 300 ms timer that does nothing, in the same process; under Wine
// also the wineserver's time meanwhile. Under Wine this process's time is
// read to the nanosecond from Linux's scheduler (Windows' figure comes in
// 10 ms steps). Then what one tick's system queries cost alone, against the
// hidden window's time per tick above the minimal window's. It needs an X
// display; without one that part is skipped.
// $TARVIX_IDLE_ONLY=<seconds> runs only this part, $TARVIX_WAITS_ONLY=1 only
// the message waits.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "memory/CpuUsage.h"
#include "memory/FreeRAM.h"
#include "memory/frmSystemStatus.h"
#include "support/SkinnedShell.h"

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

// This process's user and kernel time as Windows reports it, seconds (Wine
// counts it in 10 ms steps).
double ProcessTimesSeconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return static_cast<double>((std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// The text of a small file (at most its first 255 bytes), or nullopt.
std::optional<std::string> SmallFileText(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  char text[256] = {};
  DWORD got = 0;
  const BOOL read = ReadFile(file, text, sizeof text - 1, &got, nullptr);
  CloseHandle(file);
  if (!read || got == 0) return std::nullopt;
  return std::string(text, got);
}

// The first number of a small text file, or nullopt.
std::optional<unsigned long long> FirstNumberIn(const std::string& path) {
  const std::optional<std::string> text = SmallFileText(path);
  if (!text) return std::nullopt;
  return std::strtoull(text->c_str(), nullptr, 10);
}

// Under Wine, this process as Linux sees it: Z:\proc\<pid>, found by its
// name (Linux keeps the first 15 characters of the program's file name);
// empty off Wine.
std::string LinuxProcessFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path);
  name = name.substr(name.find_last_of('\\') + 1).substr(0, 15);
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string match;
  do {
    if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
    const std::string folder = std::string("Z:\\proc\\") + found.cFileName;
    const std::optional<std::string> comm = SmallFileText(folder + "\\comm");
    if (comm && comm->substr(0, comm->find('\n')) == name) {
      match = folder;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return match;
}

// This process's processor time, seconds: under Wine to the nanosecond from
// Linux's scheduler (all of its threads, /proc/<pid>/task/*/schedstat),
// elsewhere as Windows reports it.
double ProcessSeconds() {
  static const std::string folder = LinuxProcessFolder();
  if (folder.empty()) return ProcessTimesSeconds();
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((folder + "\\task\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return ProcessTimesSeconds();
  unsigned long long ns = 0;
  do {
    if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
    ns += FirstNumberIn(folder + "\\task\\" + found.cFileName + "\\schedstat").value_or(0);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return static_cast<double>(ns) / 1e9;
}

// Processor time of the wineserver, seconds, where Windows keeps its share of
// every message and timer; nullopt off Wine. Wine's server opens files for
// its clients, so "thread-self" under Z:\proc is the server's own (single)
// thread, and its schedstat holds the exact figure in ns.
std::optional<double> WineServerSeconds() {
  const std::optional<unsigned long long> ns = FirstNumberIn("Z:\\proc\\thread-self\\schedstat");
  if (!ns) return std::nullopt;
  return static_cast<double>(*ns) / 1e9;
}

struct Usage {
  double process = 0;                // this process, seconds
  std::optional<double> wineServer;  // the wineserver meanwhile (shared by the prefix's idle services)
};

// Serves the thread's messages for `seconds`, sleeping in between; returns
// the processor time used meanwhile.
Usage ServeMessagesFor(double seconds) {
  const double before = ProcessSeconds();
  const std::optional<double> serverBefore = WineServerSeconds();
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  for (auto now = Clock::now(); now < end; now = Clock::now()) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait) + 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  Usage usage{ProcessSeconds() - before, std::nullopt};
  const std::optional<double> serverAfter = WineServerSeconds();
  if (serverBefore && serverAfter) usage.wineServer = *serverAfter - *serverBefore;
  return usage;
}

void PrintUsage(const char* what, const Usage& usage, double seconds) {
  std::printf("  %-39s process %7.1f ms (%6.3f %% of a core)", what, usage.process * 1e3,
              100.0 * usage.process / seconds);
  if (usage.wineServer) {
    std::printf("   wineserver %7.1f ms (%6.3f %%)", *usage.wineServer * 1e3, 100.0 * *usage.wineServer / seconds);
  }
  std::printf("\n");
}

// ---------------------------------------------------------------- waits
constexpr std::int64_t kResponsiveMB = 1024;
constexpr UINT kStampMessage = WM_APP + 7;
constexpr DWORD kPostEveryMs = 10;

double g_longestWaitMs = 0;
int g_served = 0;

double QpcMs(LONGLONG ticks) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(ticks) * 1e3 / static_cast<double>(frequency);
}

LONGLONG QpcNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LRESULT CALLBACK StampProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kStampMessage) {
    g_longestWaitMs = std::max(g_longestWaitMs, QpcMs(QpcNow() - static_cast<LONGLONG>(lParam)));
    ++g_served;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

struct Responsiveness {
  double seconds = 0;
  double longestWaitMs = 0;
  int served = 0;
};

// Runs `work` on this thread while another posts a stamped message to a
// window of this thread every 10 ms; messages still queued when the work
// ends are served and counted too.
template <typename Work>
Responsiveness WhilePosting(HWND window, Work&& work) {
  g_longestWaitMs = 0;
  g_served = 0;
  std::atomic<bool> posting{true};
  std::thread poster([&] {
    while (posting.load()) {
      PostMessageA(window, kStampMessage, 0, static_cast<LPARAM>(QpcNow()));
      Sleep(kPostEveryMs);
    }
  });
  Sleep(50);  // the poster is running
  const auto start = Clock::now();
  work();
  Responsiveness result;
  result.seconds = Seconds(start);
  posting = false;
  poster.join();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  result.longestWaitMs = g_longestWaitMs;
  result.served = g_served;
  return result;
}

// The freeing's write as one piece, without serving any message.
bool WriteInOnePiece(std::int64_t characters) {
  const auto bytes = static_cast<std::size_t>(characters) * 2;
  void* block = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) return false;
  std::fill_n(static_cast<char16_t*>(block), static_cast<std::size_t>(characters), u' ');
  volatile char16_t sink = static_cast<char16_t*>(block)[characters / 3];
  static_cast<void>(sink);
  VirtualFree(block, 0, MEM_RELEASE);
  return true;
}

bool MeasureResponsiveness() {
  WNDCLASSA stampClass{};
  stampClass.lpfnWndProc = StampProc;
  stampClass.hInstance = GetModuleHandleA(nullptr);
  stampClass.lpszClassName = "TarvixBenchStamp";
  RegisterClassA(&stampClass);
  const HWND window = CreateWindowExA(0, stampClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      stampClass.hInstance, nullptr);
  if (window == nullptr) return false;
  constexpr std::int64_t kCharacters1G = kResponsiveMB * 1048576;
  // Fresh pages cost most of the time (a page fault each under Wine), so a
  // round takes seconds: two of each, alternating, and their mean.
  constexpr int kResponsiveRounds = 2;
  std::vector<double> onePieceSeconds, slicedSeconds;
  double onePieceWait = 0, slicedWait = 0;
  int slicedServed = 0;
  tarvix::FreeRAM ram;
  for (int round = 0; round < kResponsiveRounds; ++round) {
    // Alternate, and take turns at going first (the system still gives back
    // the pages of the one before), so both see the same machine load.
    bool claimed = true;
    tarvix::FreeUpStatus status = tarvix::FreeUpStatus::InvalidAmount;
    Responsiveness onePiece, sliced;
    const auto writeOnce = [&] { onePiece = WhilePosting(window, [&] { claimed = WriteInOnePiece(kCharacters1G); }); };
    const auto freeOnce = [&] { sliced = WhilePosting(window, [&] { status = ram.FreeUpMemory(kCharacters1G).status; }); };
    if (round % 2 == 0) {
      writeOnce();
      freeOnce();
    } else {
      freeOnce();
      writeOnce();
    }
    if (!claimed || status != tarvix::FreeUpStatus::Full) {
      std::printf("could not claim %lld MB x 2 bytes for the message waits\n", static_cast<long long>(kResponsiveMB));
      DestroyWindow(window);
      return false;
    }
    onePieceSeconds.push_back(onePiece.seconds);
    slicedSeconds.push_back(sliced.seconds);
    onePieceWait = std::max(onePieceWait, onePiece.longestWaitMs);
    slicedWait = std::max(slicedWait, sliced.longestWaitMs);
    slicedServed += sliced.served;
  }
  DestroyWindow(window);
  const auto mean = [](const std::vector<double>& values) {
    double sum = 0;
    for (const double value : values) sum += value;
    return sum / static_cast<double>(values.size());
  };
  const double onePiece = mean(onePieceSeconds), sliced = mean(slicedSeconds);
  std::printf("\nfreeing %lld MB (%lld MB written), a message posted every %lu ms, %d rounds:\n",
              static_cast<long long>(kResponsiveMB), static_cast<long long>(2 * kResponsiveMB),
              static_cast<unsigned long>(kPostEveryMs), kResponsiveRounds);
  std::printf("  FreeUpMemory (slices, pumping)   mean %8.1f ms, longest message wait %7.1f ms (%d messages)\n",
              sliced * 1e3, slicedWait, slicedServed);
  std::printf("  one write of the whole block     mean %8.1f ms, longest message wait %7.1f ms\n",
              onePiece * 1e3, onePieceWait);
  std::printf("  ratio of the freeing times %.3f\n", sliced / onePiece);
  std::printf("BENCH|Longest message wait freeing %lld MB|%.3f|ms|one write, no pumping|%.3f\n",
              static_cast<long long>(kResponsiveMB), slicedWait, onePieceWait);
  std::printf("BENCH|FreeUpMemory(%lld MB) while posting|%.3f|ms|one write, no pumping|%.3f\n",
              static_cast<long long>(kResponsiveMB), sliced * 1e3, onePiece * 1e3);
  return true;
}

// ---------------------------------------------------------------- idle
int ticks = 0;
LRESULT CALLBACK MinimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ++ticks;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Processor time of one call of `query`, ms: the mean of many on this
// process's clock, each after a pause as a tick's call comes (a call right
// after another finds the caches warm and costs less).
template <typename Query>
double QueryMs(Query&& query) {
  constexpr int kCalls = 200;
  double total = 0;
  for (int i = 0; i < kCalls; ++i) {
    Sleep(3);
    const double before = ProcessSeconds();
    query();
    total += ProcessSeconds() - before;
  }
  return total * 1e3 / kCalls;
}

// QueryMs less what reading the clock around the call costs.
template <typename Query>
double QueryOnlyMs(Query&& query) {
  static const double clockMs = QueryMs([] {});
  return std::max(0.0, QueryMs(std::forward<Query>(query)) - clockMs);
}

// Both measurements; false when no window could be made (no display).
bool MeasureIdleTimers(double seconds) {
  WNDCLASSA minimalClass{};
  minimalClass.lpfnWndProc = MinimalProc;
  minimalClass.hInstance = GetModuleHandleA(nullptr);
  minimalClass.lpszClassName = "TarvixBenchMinimal";
  RegisterClassA(&minimalClass);
  const HWND minimal = CreateWindowExA(0, "TarvixBenchMinimal", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
  if (minimal == nullptr) return false;
  static_cast<void>(ServeMessagesFor(1.0));  // let start-up work settle
  SetTimer(minimal, 1, 300, nullptr);
  const Usage minimalTime = ServeMessagesFor(seconds);
  KillTimer(minimal, 1);
  DestroyWindow(minimal);
  const int minimalTicks = ticks;

  // Skinned as the main window skins it, so that its ticks paint what the program's do.
  tarvix::test::SkinnedShell shell(tarvix::frmSystemStatus::kWidth, tarvix::frmSystemStatus::kHeight,
                                   TARVIX_ASSETS_DIR "/TarvixMask.skn");
  tarvix::frmSystemStatus status(shell);
  // Loaded as at start-up: hidden, with its frames, graphs and timers but
  // without its sliders until it is first opened.
  if (!status.LoadAtStartup()) return false;
  const auto cpuSamples = [&] { return static_cast<std::size_t>(status.histCPU().Samples().TotalAdded()); };
  // Hidden, as every tool window is from start-up until the user opens it.
  static_cast<void>(ServeMessagesFor(1.0));
  std::size_t before = cpuSamples();
  const Usage hiddenTime = ServeMessagesFor(seconds);
  const std::size_t hiddenTicks = cpuSamples() - before;
  // Shown, so that every tick also paints both graphs and two captions.
  if (!status.Load()) return false;
  ShowWindow(shell.ChildFrame(), SW_SHOWNOACTIVATE);
  ShowWindow(status.Window(), SW_SHOW);
  static_cast<void>(ServeMessagesFor(1.0));
  before = cpuSamples();
  const Usage shownTime = ServeMessagesFor(seconds);
  const std::size_t shownTicks = cpuSamples() - before;
  status.Unload();

  std::printf("\nidle processor time over %.0f s each (this process's, to the nanosecond under Wine, and the "
              "wineserver's):\n",
              seconds);
  PrintUsage("minimal window, one 300 ms timer", minimalTime, seconds);
  PrintUsage("status window hidden, timers at 300 ms", hiddenTime, seconds);
  PrintUsage("status window shown, timers at 300 ms", shownTime, seconds);
  std::printf("  ticks: %d of the minimal timer; %zu and %zu of the status window's CPU timer\n", minimalTicks,
              hiddenTicks, shownTicks);
  const double minimalCost = minimalTime.process;
  for (const auto& [what, usage] : {std::pair<const char*, Usage>{"hidden", hiddenTime}, {"shown", shownTime}}) {
    const double cost = usage.process;
    std::printf("  status window %-6s: %+.3f ms of this process's processor time per second against the minimal window",
                what, (cost - minimalCost) * 1e3 / seconds);
    if (minimalCost > 0) std::printf(", ratio %.2f", cost / minimalCost);
    std::printf("\n");
  }
  // What the hidden window's extra time goes to: the system queries that each
  // tick has to make, timed alone.
  tarvix::clsCPUUsageNT meter;
  meter.Initialize();
  tarvix::SystemMemory memory;
  const double meterMs = QueryOnlyMs([&] { static_cast<void>(meter.Query()); });
  const double memoryMs = QueryOnlyMs([&] { static_cast<void>(memory.GetFreePhysical()); });
  const double extraPerTickMs =
      (hiddenTime.process - minimalCost) * 1e3 / static_cast<double>(std::max<std::size_t>(hiddenTicks, 1));
  std::printf("  one tick's system queries alone: the CPU meter's three %.3f ms, the free memory %.3f ms; together "
              "%.3f ms of the hidden window's %.3f ms per tick above the minimal window's\n",
              meterMs, memoryMs, meterMs + memoryMs, extraPerTickMs);
  std::printf("BENCH|Idle, one tick's system queries|%.4f|ms|hidden window's time per tick above the minimal|%.4f\n",
              meterMs + memoryMs, extraPerTickMs);
  std::printf("BENCH|Idle, status window hidden|%.4f|%%|minimal window, one 300 ms timer|%.4f\n",
              100.0 * hiddenTime.process / seconds, 100.0 * minimalTime.process / seconds);
  std::printf("BENCH|Idle, status window shown|%.4f|%%|minimal window, one 300 ms timer|%.4f\n",
              100.0 * shownTime.process / seconds, 100.0 * minimalTime.process / seconds);
  return true;
}

}  // namespace

int main() {
  if (std::getenv("TARVIX_WAITS_ONLY") != nullptr) return MeasureResponsiveness() ? 0 : 1;
  if (const char* idleOnly = std::getenv("TARVIX_IDLE_ONLY")) {
    return MeasureIdleTimers(std::max(1.0, std::atof(idleOnly))) ? 0 : 1;
  }
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

  if (!MeasureResponsiveness()) std::printf("\nmessage waits while freeing not measured\n");

  double idleSeconds = 30.0;
  if (const char* setting = std::getenv("TARVIX_IDLE_SECONDS")) idleSeconds = std::max(1.0, std::atof(setting));
  if (!MeasureIdleTimers(idleSeconds)) {
    std::printf("\nno window could be made (no X display?): idle timers not measured\n");
  }
  return 0;
}
