// Start-up of Tarvix.exe to a shown main window, and its working set once
// shown, against the smallest Win32 program with one window, both started
// the same way under the same Wine in one run.
//
// Then the trace of the main window's load: the same load run inside this
// process (the program's movie and skin in a scratch folder, the registry
// redirected, no real notification icon), each step with its milliseconds.
// The first load is cold, as at sign-in; the median of the later ones shows
// what is left once fonts and classes are in the caches.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/frmMain.h"
#include "app/movie/MovieScript.h"
#include "app/skin/SkinFile.h"
#include "base/AppPaths.h"
#include "base/Handle.h"
#include "support/BenchTiming.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "ui/TrayTestSupport.h"

namespace {

using tarvix::UniqueHandle;

std::string BesideBuild(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));  // build\tests
  folder.resize(folder.find_last_of('\\'));  // build
  return folder + "\\" + name;
}

HWND VisibleWindowOf(const char* className, DWORD processId) {
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

struct Run {
  double ms = -1;
  double workingSetMb = -1;
};

Run StartAndMeasure(const std::string& program, const char* className, const std::string& arguments = "") {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info)) {
    return {};
  }
  const UniqueHandle process(info.hProcess);
  const UniqueHandle thread(info.hThread);
  Run run;
  HWND window = nullptr;
  const ULONGLONG end = GetTickCount64() + 30000;
  while ((window = VisibleWindowOf(className, info.dwProcessId)) == nullptr && GetTickCount64() < end) Sleep(1);
  if (window == nullptr) {
    TerminateProcess(process.get(), 1);
    return {};
  }
  run.ms = tarvix::bench::MsSince(start);
  Sleep(500);  // let it settle before reading its memory
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
    run.workingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  return run;
}

// One load of the main window in this process; the steps of its trace.
std::vector<tarvix::StartupTrace::Step> TraceOneLoad() {
  tarvix::testing::RecordingShell shell;
  tarvix::frmMain main(shell);
  if (!main.Form_Load()) return {};
  const auto steps = main.LoadTrace().Steps();
  std::vector<tarvix::StartupTrace::Step> copy(steps.begin(), steps.end());
  main.Form_Unload();
  return copy;
}

// One whole repaint of `window` and its children, ms.
double RepaintMs(HWND window) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  return tarvix::bench::MsSince(start);
}

// What letting the movie's backdrop go when painting pauses costs the next
// paint: a whole repaint of the shown main window after a pause, when the
// backdrop is drawn anew, against one right after, when it is still kept.
void MeasureRepaints() {
  tarvix::testing::RecordingShell shell;
  tarvix::frmMain main(shell);
  if (!main.Form_Load()) return;
  main.ShowMainWindow();
  tarvix::test::PumpMessagesFor(300);
  std::vector<double> anew, kept;
  for (int i = 0; i < 7; ++i) {
    tarvix::test::PumpMessagesFor(400);
    anew.push_back(RepaintMs(main.hwnd()));
    kept.push_back(RepaintMs(main.hwnd()));
  }
  main.Form_Unload();
  const double anewMs = tarvix::bench::Median(anew), keptMs = tarvix::bench::Median(kept);
  std::printf("\nthe shown main window repainted whole (median of 7): %.1f ms with the movie's backdrop drawn anew, "
              "%.1f ms with it kept\n", anewMs, keptMs);
  std::printf("BENCH|Main window repainted, backdrop drawn anew|%.3f|ms|backdrop kept|%.3f\n", anewMs, keptMs);
}

bool TraceLoads() {
  tarvix::testing::FakePlatform platform;
  tarvix::testing::RegistryRedirect registry;
  const tarvix::testing::TempDir appDir;
  CopyFileA(TARVIX_ASSETS_DIR "\\Tarvix.movie", tarvix::AppFile(tarvix::kMovieFileName).c_str(), FALSE);
  CopyFileA(TARVIX_ASSETS_DIR "\\TarvixMask.skn", tarvix::AppFile(tarvix::kSkinFileName).c_str(), FALSE);
  const std::vector<tarvix::StartupTrace::Step> cold = TraceOneLoad();
  if (cold.empty()) return false;
  constexpr int kWarmLoads = 5;
  std::map<std::string_view, std::vector<double>> warm;
  for (int i = 0; i < kWarmLoads; ++i) {
    for (const auto& step : TraceOneLoad()) warm[step.name].push_back(step.ms);
  }
  std::printf("\nthe main window's load, step by step (ms; first load cold, then the median of %d):\n", kWarmLoads);
  double coldTotal = 0, warmTotal = 0;
  for (const auto& step : cold) {
    const double warmMs = tarvix::bench::Median(warm[step.name]);
    coldTotal += step.ms;
    warmTotal += warmMs;
    std::printf("  %-32.*s %8.1f %8.1f\n", static_cast<int>(step.name.size()), step.name.data(), step.ms, warmMs);
    std::printf("BENCH|Load step: %.*s|%.3f|ms||\n", static_cast<int>(step.name.size()), step.name.data(), step.ms);
  }
  std::printf("  %-32s %8.1f %8.1f\n", "whole load", coldTotal, warmTotal);
  std::printf("BENCH|Load steps together (cold)|%.3f|ms||\n", coldTotal);
  MeasureRepaints();
  return true;
}

}  // namespace

int main() {
  constexpr int kRuns = 5;
  const std::string tarvix = BesideBuild("Tarvix.exe");
  const std::string minimal = BesideBuild("tests\\bench_minimal_window.exe");
  // The DLLs Tarvix.exe imports beyond the ones the minimal program loads
  // anyway: what Wine charges for them alone, in time and memory.
  const std::string imported = "comctl32.dll shell32.dll msimg32.dll";
  std::vector<double> tarvixMs, minimalMs, tarvixMb, minimalMb, dllsMs, dllsMb;
  for (int i = 0; i < kRuns; ++i) {
    // Alternate, so all see the same machine load.
    const Run a = StartAndMeasure(tarvix, "TarvixMain");
    const Run b = StartAndMeasure(minimal, "TarvixBenchMinimal");
    const Run c = StartAndMeasure(minimal, "TarvixBenchMinimal", imported);
    if (a.ms < 0 || b.ms < 0 || c.ms < 0) {
      std::printf("start-up: a program did not show its window\n");
      return 1;
    }
    tarvixMs.push_back(a.ms);
    minimalMs.push_back(b.ms);
    dllsMs.push_back(c.ms);
    tarvixMb.push_back(a.workingSetMb);
    minimalMb.push_back(b.workingSetMb);
    dllsMb.push_back(c.workingSetMb);
  }
  using tarvix::bench::Median;
  const double ms = Median(tarvixMs), baseMs = Median(minimalMs);
  const double mb = Median(tarvixMb), baseMb = Median(minimalMb);
  const double withDllsMs = Median(dllsMs), withDllsMb = Median(dllsMb);
  std::printf("the minimal program loading %s first: %.0f ms (%+.0f ms), %.1f MB (%+.1f MB)\n", imported.c_str(),
              withDllsMs, withDllsMs - baseMs, withDllsMb, withDllsMb - baseMb);
  std::printf("start-up to a shown main window (median of %d): Tarvix %.0f ms, minimal Win32 program %.0f ms, ratio %.2f\n",
              kRuns, ms, baseMs, ms / baseMs);
  std::printf("working set once shown: Tarvix %.1f MB, minimal Win32 program %.1f MB, ratio %.2f\n", mb, baseMb,
              mb / baseMb);
  // Machine-readable lines for the table of scripts/bench:
  // BENCH|name|figure|unit|baseline name|baseline figure
  std::printf("BENCH|Start-up to a shown main window|%.3f|ms|minimal Win32 program|%.3f\n", ms, baseMs);
  std::printf("BENCH|Working set once shown|%.3f|MB|minimal Win32 program|%.3f\n", mb, baseMb);
  std::printf("BENCH|Minimal program with Tarvix's DLLs, start-up|%.3f|ms|minimal Win32 program|%.3f\n", withDllsMs,
              baseMs);
  std::printf("BENCH|Minimal program with Tarvix's DLLs, working set|%.3f|MB|minimal Win32 program|%.3f\n",
              withDllsMb, baseMb);
  if (!TraceLoads()) {
    std::printf("the main window could not be loaded in this process: no trace\n");
    return 1;
  }
  return 0;
}
