// Pictures of the memory booster's windows for review, skinned with the
// program's own skin the way the main window skins its tool windows:
// memory-status.png after some seconds of live graphs, and
// memory-ram-configuration.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "MemoryFakes.h"
#include "app/skin/Skin.h"
#include "memory/frmRamConfiguration.h"
#include "memory/frmSystemStatus.h"
#include "registry/RegistryValues.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "ui/Handles.h"

namespace tarvix {
namespace {

// The child area of a main window, visible on the screen, with the real skin.
class SkinningShell final : public Shell {
 public:
  SkinningShell()
      : frame_(CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 80, 80,
                               440, 260, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {
    loaded = skin_.Load(std::string(TARVIX_ASSETS_DIR) + "/TarvixMask.skn");
  }

  [[nodiscard]] HWND ChildFrame() const noexcept override { return frame_.get(); }
  void SkinToolWindow(HWND form) noexcept override {
    static_cast<void>(skin_.Apply(form, "controlForm"));
    EnumChildWindows(
        form,
        [](HWND child, LPARAM self) -> BOOL {
          static_cast<SkinningShell*>(reinterpret_cast<void*>(self))->SkinControl(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
  }
  void ReturnToMovieHome() noexcept override {}
  void SetTrayToolTip(std::string_view text) noexcept override { toolTip.assign(text); }

  bool loaded = false;
  std::string toolTip;

 private:
  void SkinControl(HWND child) noexcept {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    const LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
    const char* scheme = nullptr;
    if (lstrcmpiA(name, "Button") == 0) {
      if (type == BS_GROUPBOX) {
        scheme = "Frame";
      } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
        scheme = "CheckBox";
      } else if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
        scheme = "RadioBox";
      } else {
        scheme = "Button";
      }
    } else if (lstrcmpiA(name, "Static") == 0) {
      scheme = "Label";
    }
    if (scheme != nullptr) static_cast<void>(skin_.Apply(child, scheme));
  }

  UniqueWindow frame_;
  Skin skin_;
};

constexpr UINT kRepaintAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

void ServeMessagesFor(std::chrono::milliseconds duration, bool busyNowAndThen) {
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < duration) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // Some work now and then, so that the processor graph has something to show.
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (busyNowAndThen && (elapsed.count() / 700) % 3 == 1) {
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(25);
      volatile std::uint64_t sink = 0;
      while (std::chrono::steady_clock::now() < until) sink = sink + 1;
    } else {
      Sleep(10);
    }
  }
}

class MemoryScreenshotTest : public testing::RegistryTest {};

TEST_F(MemoryScreenshotTest, StatusWindowWithLiveGraphs) {
  SkinningShell shell;
  EXPECT_TRUE(shell.loaded);
  frmSystemStatus status(shell);
  ASSERT_TRUE(status.Load());
  SetWindowPos(shell.ChildFrame(), HWND_TOPMOST, 0, 0, frmSystemStatus::kWidth, frmSystemStatus::kHeight,
               SWP_NOMOVE | SWP_SHOWWINDOW);
  ShowWindow(status.Window(), SW_SHOW);
  SendMessageA(status.Control(IDC_sldFreeMomoryReq), TBM_SETPOS, TRUE, 512);
  status.sldFreeMomoryReq_Change();
  ServeMessagesFor(std::chrono::milliseconds(9500), true);
  RedrawWindow(status.Window(), nullptr, nullptr, kRepaintAll);
  ServeMessagesFor(std::chrono::milliseconds(100), false);

  EXPECT_GE(status.histCPU().Samples().Count(), 25);
  const auto pixels = test::CaptureWindow(status.Window(), frmSystemStatus::kWidth, frmSystemStatus::kHeight);
  EXPECT_GT(test::DistinctColours(pixels), 40u) << "the status window looks flat";
  EXPECT_TRUE(test::SaveScreenshot(status.Window(), "memory-status.png"));
}

// A caption that changes tick by tick, narrower and wider, leaves on screen
// what painting the whole window afresh shows: nothing of the last one.
TEST_F(MemoryScreenshotTest, ChangingCaptionsLeaveNothingBehind) {
  SkinningShell shell;
  EXPECT_TRUE(shell.loaded);
  test::FakeMemory memory;
  memory.totalBytes = 8192 * test::kMiB;
  memory.freeBytes = 4096 * test::kMiB;
  test::FakeMeter* meter = nullptr;
  frmSystemStatus status(shell, memory, [&meter] {
    auto made = std::make_unique<test::FakeMeter>();
    meter = made.get();
    return made;
  });
  ASSERT_TRUE(status.Load());
  ASSERT_NE(meter, nullptr);
  SetWindowPos(shell.ChildFrame(), HWND_TOPMOST, 0, 0, frmSystemStatus::kWidth, frmSystemStatus::kHeight,
               SWP_NOMOVE | SWP_SHOWWINDOW);
  ShowWindow(status.Window(), SW_SHOW);
  ServeMessagesFor(std::chrono::milliseconds(100), false);
  for (const int usage : {100, 7, 7, 10, 3, 100, 58, 1}) {
    meter->usage = usage;
    status.tmrCPU_Timer();
    // Paints what the tick left to paint, with no timer message served in between.
    RedrawWindow(status.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const auto ticked = test::CaptureWindow(status.Window(), frmSystemStatus::kWidth, frmSystemStatus::kHeight);
    RedrawWindow(status.Window(), nullptr, nullptr, kRepaintAll);
    const auto repainted = test::CaptureWindow(status.Window(), frmSystemStatus::kWidth, frmSystemStatus::kHeight);
    ASSERT_EQ(ticked.size(), repainted.size());
    std::size_t differing = 0;
    RECT box{frmSystemStatus::kWidth, frmSystemStatus::kHeight, 0, 0};
    for (std::size_t at = 0; at < ticked.size(); ++at) {
      if (ticked[at] == repainted[at]) continue;
      ++differing;
      const auto pixel = static_cast<int>(at / 3);
      const int x = pixel % frmSystemStatus::kWidth;
      const int y = pixel / frmSystemStatus::kWidth;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
             std::max<LONG>(box.bottom, y + 1)};
    }
    EXPECT_EQ(differing, 0u) << "after the caption for " << usage << "%, in (" << box.left << ", " << box.top
                             << ") - (" << box.right << ", " << box.bottom << ")";
  }
}

TEST_F(MemoryScreenshotTest, RamConfigurationWindow) {
  testing::FakePlatform platform;
  const std::string key = SettingsSubKey(kRamSettingsSuffix);
  testing::PutText(HKEY_LOCAL_MACHINE, key, "chkSoundon", "1");
  testing::PutText(HKEY_LOCAL_MACHINE, key, "chkAutomatic", "1");
  SkinningShell shell;
  test::FakeMemory memory;
  memory.freeBytes = 4096 * test::kMiB;
  memory.totalBytes = 8192 * test::kMiB;
  frmSystemStatus status(shell, memory, [] { return std::make_unique<test::FakeMeter>(); });
  frmRamConfiguration ram(shell, status, memory, [](int) {});
  ASSERT_TRUE(status.Load());
  ASSERT_TRUE(ram.Load());
  SetWindowPos(shell.ChildFrame(), HWND_TOPMOST, 0, 0, frmRamConfiguration::kWidth, frmRamConfiguration::kHeight,
               SWP_NOMOVE | SWP_SHOWWINDOW);
  ShowWindow(ram.Window(), SW_SHOW);
  ServeMessagesFor(std::chrono::milliseconds(300), false);
  RedrawWindow(ram.Window(), nullptr, nullptr, kRepaintAll);
  ServeMessagesFor(std::chrono::milliseconds(100), false);

  const auto pixels = test::CaptureWindow(ram.Window(), frmRamConfiguration::kWidth, frmRamConfiguration::kHeight);
  EXPECT_GT(test::DistinctColours(pixels), 10u);
  EXPECT_TRUE(test::SaveScreenshot(ram.Window(), "memory-ram-configuration.png"));
}

}  // namespace
}  // namespace tarvix
