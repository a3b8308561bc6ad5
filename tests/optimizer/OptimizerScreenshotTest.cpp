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

#include "base/OsDetect.h"
#include "app/skin/Skin.h"
#include "ui/ToolWindow.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/frmNormalMode.h"
#include "optimizer/frmWizardMode.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/Screenshot.h"
#include "support/SkinnedShell.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

TEST(OptimizerScreenshot, WizardWithAModeChosen) {
  testing::FakePlatform platform;
  LoadWizardPresets();
  test::SkinnedShell shell(frmWizardMode::kWidth, frmWizardMode::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn", 140, 140);
  ASSERT_TRUE(shell.SkinLoaded());
  frmWizardMode window(shell);
  ASSERT_TRUE(window.Load());
  test::Click(GetDlgItem(window.Window(), frmWizardMode::IDC_optMode0 + 4));  // Automatic-E
  shell.ShowInFront(window.Window());
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
  test::SkinnedShell shell(frmNormalMode::kWidth, frmNormalMode::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn", 140, 140);
  ASSERT_TRUE(shell.SkinLoaded());
  frmNormalMode window(shell);
  ASSERT_TRUE(window.Load());
  const HWND form = window.Window();
  test::Click(GetDlgItem(form, frmNormalMode::IDC_optConnType0 + 1));  // Cable Modem
  std::vector<std::uint8_t> previous;
  for (int page = 0; page < frmNormalMode::kPageCount; ++page) {
    if (page > 0) test::Click(GetDlgItem(form, frmNormalMode::IDC_cmdNextPage));
    ASSERT_EQ(window.currWizardPage(), page);
    if (page == 2) test::Click(GetDlgItem(form, frmNormalMode::IDC_chkMTUDisconver));
    shell.ShowInFront(form);
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
