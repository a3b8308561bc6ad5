// Both optimizer windows as the user sees them: each shown in a host the
// size of the main window's child area and skinned with the program's own
// skin file the way applyAllControls does it. Saved in $TARVIX_ARTIFACTS:
// wizard-mode.png (a mode chosen) and advanced-mode-page-N.png for each of
// the advanced editor's pages (page 4, the receive window, is the middle one).
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/OsDetect.h"
#include "app/Skin.h"
#include "app/ToolWindow.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/frmNormalMode.h"
#include "optimizer/frmWizardMode.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/Screenshot.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

// The main window's part for one tool window: a visible child area, and the
// skin applied by the kind of each control.
class SkinnedShell final : public Shell {
 public:
  SkinnedShell(int width, int height) {
    WNDCLASSEXA host{};
    host.cbSize = sizeof host;
    host.lpfnWndProc = DefWindowProcA;
    host.hInstance = GetModuleHandleA(nullptr);
    host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    host.lpszClassName = "TarvixOptimizerShotHost";
    RegisterClassExA(&host);
    frame_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, "TarvixOptimizerShotHost", "Tarvix",
                                 WS_POPUP | WS_CLIPCHILDREN, 140, 140, width, height, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr));
    skinLoaded = skin_.Load(TARVIX_ASSETS_DIR "/TarvixMask.skn");
  }
  ~SkinnedShell() { skin_.Unload(); }

  [[nodiscard]] HWND ChildFrame() const noexcept override { return frame_.get(); }
  void SkinToolWindow(HWND form) noexcept override {
    (void)skin_.Apply(form, "controlForm");
    EnumChildWindows(
        form,
        [](HWND control, LPARAM self) -> BOOL {
          auto& skin = reinterpret_cast<SkinnedShell*>(self)->skin_;
          std::array<char, 32> kind{};
          GetClassNameA(control, kind.data(), static_cast<int>(kind.size()));
          const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & 0xFu;
          if (lstrcmpiA(kind.data(), "Static") == 0) {
            (void)skin.Apply(control, "Label");
          } else if (lstrcmpiA(kind.data(), "Button") == 0) {
            if (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON) (void)skin.Apply(control, "Button");
            if (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX) (void)skin.Apply(control, "CheckBox");
            if (style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON) (void)skin.Apply(control, "RadioBox");
            if (style == BS_GROUPBOX) (void)skin.Apply(control, "Frame");
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
  }
  void ReturnToMovieHome() noexcept override {}
  void SetTrayToolTip(std::string_view) noexcept override {}

  bool skinLoaded = false;

 private:
  Skin skin_;
  UniqueWindow frame_;
};

void Pump() {
  for (int round = 0; round < 5; ++round) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

void ShowInFront(SkinnedShell& shell, HWND window) {
  ShowWindow(window, SW_SHOW);
  ShowWindow(shell.ChildFrame(), SW_SHOWNOACTIVATE);
  SetWindowPos(shell.ChildFrame(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(shell.ChildFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
}

TEST(OptimizerScreenshot, WizardWithAModeChosen) {
  testing::FakePlatform platform;
  LoadWizardPresets();
  SkinnedShell shell(frmWizardMode::kWidth, frmWizardMode::kHeight);
  ASSERT_TRUE(shell.skinLoaded);
  frmWizardMode window(shell);
  ASSERT_TRUE(window.Load());
  test::Click(GetDlgItem(window.Window(), frmWizardMode::IDC_optMode0 + 4));  // Automatic-E
  ShowInFront(shell, window.Window());
  const auto picture = test::CaptureWindow(window.Window(), frmWizardMode::kWidth, frmWizardMode::kHeight);
  EXPECT_GT(test::DistinctColours(picture), 8u) << "the wizard looks flat";
  EXPECT_TRUE(test::SaveScreenshot(window.Window(), "wizard-mode.png"));
  window.Unload();
}

TEST(OptimizerScreenshot, AdvancedEditorOnEveryPage) {
  testing::FakePlatform platform;
  LoadWizardPresets();
  CurrentParameters = WizardPresets[0];
  OsFamily = kOsUnclassified;  // Finish is never pressed here; nothing could be written anyway
  SkinnedShell shell(frmNormalMode::kWidth, frmNormalMode::kHeight);
  ASSERT_TRUE(shell.skinLoaded);
  frmNormalMode window(shell);
  ASSERT_TRUE(window.Load());
  const HWND form = window.Window();
  test::Click(GetDlgItem(form, frmNormalMode::IDC_optConnType0 + 1));  // Cable Modem
  std::vector<std::uint8_t> previous;
  for (int page = 0; page < frmNormalMode::kPageCount; ++page) {
    if (page > 0) test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdNextPage));
    ASSERT_EQ(window.currWizardPage(), page);
    if (page == 2) test::Click(GetDlgItem(form, frmNormalMode::IDC_chkMTUDisconver));
    ShowInFront(shell, form);
    const auto picture = test::CaptureWindow(form, frmNormalMode::kWidth, frmNormalMode::kHeight);
    EXPECT_GT(test::DistinctColours(picture), 8u) << "page " << page << " looks flat";
    EXPECT_NE(picture, previous) << "page " << page << " looks like the page before";
    previous = picture;
    EXPECT_TRUE(test::SaveScreenshot(form, "advanced-mode-page-" + std::to_string(page + 1) + ".png"));
  }
  window.Unload();
}

}  // namespace
}  // namespace tarvix
