// The whole program for a long run in one process: thousands of status
// ticks, low-memory checks, notices, applies with their restores and opens of
// every tool window, with the main window shown so that everything paints.
// The process's kernel handles, GDI and USER objects and its working set must
// be as many at the end as after the first tenth of the run.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "base/AppPaths.h"
#include "app/CommandTable.h"
#include "app/frmMain.h"
#include "backup/BackupFiles.h"
#include "ui/MessagePump.h"
#include "memory/frmRamConfiguration.h"
#include "memory/frmSystemStatus.h"
#include "optimizer/ApplyNetworkSettings.h"
#include "optimizer/NetworkParameters.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "ui/TrayTestSupport.h"
#include "ui/msgFrm.h"

namespace tarvix {
namespace {

// The counts of the whole run, split into ten equal rounds.
constexpr int kRounds = 10;
constexpr int kStatusTicks = 10000;
constexpr int kLowMemoryChecks = 1000;
constexpr int kNotices = 500;
constexpr int kApplies = 200;
constexpr int kOpensOfEach = 100;

// What may grow between the first tenth and the end: a few objects that
// caches make on first use of a path, and heap growth from fragmentation.
constexpr long kHandleSlack = 8;
constexpr long kGdiSlack = 8;
constexpr long kUserSlack = 4;
constexpr double kWorkingSetSlackMb = 6.0;

[[nodiscard]] bool UnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Kernel handles: Windows counts them; Wine does not, so there every handle
// value is asked whether it is open (handles are multiples of 4).
[[nodiscard]] long KernelHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return static_cast<long>(count);
  long open = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
  }
  return open;
}

// GDI objects: Windows counts them; under Wine the entries in use of the
// process's GDI handle table (the PEB's GdiSharedHandleTable: 65536 entries
// of 24 bytes, the object type at byte 14, 0 when free).
[[nodiscard]] long GdiObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0 || !UnderWine()) return static_cast<long>(counted);
  using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
  if (table == nullptr) return -1;
  long used = 0;
  for (int entry = 0; entry < 0x10000; ++entry) used += table[entry * 24 + 14] != 0 ? 1 : 0;
  return used;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

// USER objects: Windows counts them; under Wine the windows of this thread
// and all their descendants.
[[nodiscard]] long UserObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (counted != 0) return static_cast<long>(counted);
  long windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

[[nodiscard]] double WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

struct Counts {
  long handles = 0;
  long gdi = 0;
  long user = 0;
  double workingSetMb = 0;
};

[[nodiscard]] Counts Measure() {
  ProcessPendingMessages(5);
  return {KernelHandles(), GdiObjects(), UserObjects(), WorkingSetMb()};
}

class SoakTest : public testing::RegistryTest {
 protected:
  testing::FakePlatform platform_;
  testing::RecordingShell shell_;
  testing::TempDir appDir_;
};

TEST_F(SoakTest, ObjectsAndMemoryStayFlatOverALongRun) {
  frmMain main(shell_);
  ASSERT_TRUE(main.Form_Load());
  ASSERT_TRUE(IsWindowVisible(main.hwnd()));
  auto* status = dynamic_cast<frmSystemStatus*>(main.ToolWindows().Get(ToolWindow::SystemStatus));
  auto* ram = dynamic_cast<frmRamConfiguration*>(main.ToolWindows().Get(ToolWindow::RamConfiguration));
  ASSERT_NE(status, nullptr);
  ASSERT_NE(ram, nullptr);

  std::optional<Counts> firstTenth;
  for (int round = 0; round < kRounds; ++round) {
    // Every tool window, the advanced editor (made anew each time) included.
    for (int open = 0; open < kOpensOfEach / kRounds; ++open) {
      for (const CommandRow& row : kCommandTable) {
        if (!row.shows) continue;
        main.FSCommand(row.text, "");
        ProcessPendingMessages(2);
      }
    }
    // The status window in front while it ticks, so that its graphs paint.
    main.FSCommand("IDC_FS_systemSatus", "");
    for (int tick = 0; tick < kStatusTicks / kRounds; ++tick) {
      status->tmrCPU_Timer();
      status->tmrMemory_Timer();
      if (tick % 10 == 0) ProcessPendingMessages(1);
    }
    for (int check = 0; check < kLowMemoryChecks / kRounds; ++check) ram->tmrAlarm_Timer();
    for (int notice = 0; notice < kNotices / kRounds; ++notice) {
      (void)MsgAuto_box("The Program Still Running Here", 64, "Program notification", 0, false,
                        RGB(242, 248, 200), 600.0f, 500.0f, 0);
      ProcessPendingMessages(1);
      msgFrm* box = NotificationBox();
      ASSERT_NE(box, nullptr);
      test::Click(box->Control(IDC_COMMAND1));
      ProcessPendingMessages(1);
      ASSERT_EQ(NotificationBox(), nullptr);
    }
    for (int apply = 0; apply < kApplies / kRounds; ++apply) {
      CurrentParameters = WizardPresets[static_cast<std::size_t>(apply) % kPresetCount];
      const ApplyOutcome outcome = ApplyNetworkSettings();
      ASSERT_EQ(outcome.status, ApplyOutcome::Status::Applied);
      EXPECT_TRUE(RestoreBackupFile(outcome.backupPath).restored);
      // Each backup is removed again, as the backup manager's Delete does,
      // so that numbers never run out.
      DeleteFileA(outcome.backupPath.c_str());
    }
    main.FSCommand("IDC_FS_home", "");
    const Counts now = Measure();
    std::printf("[ soak    ] round %2d: %ld handles, %ld GDI objects, %ld USER objects, working set %.1f MB\n",
                round + 1, now.handles, now.gdi, now.user, now.workingSetMb);
    if (!firstTenth) firstTenth = now;
  }
  const Counts end = Measure();
  EXPECT_LE(end.handles, firstTenth->handles + kHandleSlack);
  EXPECT_LE(end.gdi, firstTenth->gdi + kGdiSlack);
  EXPECT_LE(end.user, firstTenth->user + kUserSlack);
  EXPECT_LE(end.workingSetMb, firstTenth->workingSetMb + kWorkingSetSlackMb);
  EXPECT_TRUE(platform_.messages.empty());
  main.Form_Unload();
}

}  // namespace
}  // namespace tarvix
