// "Find largest MTU" on the advanced editor's MTU page with a fake path in
// place of real echoes: progress while it measures, Back and Next held, the
// boxes filled through their own validators, cancel, closing the editor in
// the middle; and the marks of the values that Windows Vista and later do
// not read, on the editor's pages and beside the wizard's summary.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/OsDetect.h"
#include "optimizer/MtuFinder.h"
#include "optimizer/MtuSearch.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/WindowsReads.h"
#include "optimizer/frmNormalMode.h"
#include "optimizer/frmWizardMode.h"
#include "pinger/PingerSettings.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "support/SkinnedShell.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using W = frmNormalMode;

std::wstring WideText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// A path of `pathMtu` behind an adapter of `adapterMtu`; `onTrying` runs at
// each request, as the user's clicks would while the real echoes wait.
class FakeLine final : public mtu::EchoProbe {
 public:
  FakeLine(int pathMtu, const std::function<bool()>& cancelled, const std::function<void(int)>& trying,
           const std::function<void(int)>& onTrying)
      : pathMtu_(pathMtu), cancelled_(cancelled), trying_(trying), onTrying_(onTrying) {}
  mtu::EchoAnswer Send(int payload) override {
    return payload + mtu::kEchoHeaders <= pathMtu_ ? mtu::EchoAnswer::Reply : mtu::EchoAnswer::NoAnswer;
  }
  bool Cancelled() override { return cancelled_(); }
  void Trying(int payload) override {
    trying_(payload);
    if (onTrying_) onTrying_(++requests_);
  }

 private:
  int pathMtu_;
  const std::function<bool()>& cancelled_;
  const std::function<void(int)>& trying_;
  const std::function<void(int)>& onTrying_;
  int requests_ = 0;
};

class MtuPageTest : public testing::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    LoadWizardPresets();
    CurrentParameters = WizardPresets[0];
    OsFamily = kOsUnclassified;  // Finish is never pressed here
    ASSERT_TRUE(window_.Load());
    Click(W::IDC_optConnType0 + 1);  // Cable Modem: 1500 and 1460
    Click(W::IDC_cmdNextPage);
    ASSERT_EQ(window_.currWizardPage(), 1);
  }
  void TearDown() override {
    window_.Unload();
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }

  [[nodiscard]] HWND Item(int id) const { return GetDlgItem(window_.Window(), id); }
  [[nodiscard]] std::string TextOf(int id) const { return WindowText(Item(id)); }
  void Click(int id) { test::Click(Item(id)); }

  // Measures a fake line of `pathMtu` behind a 1500-byte adapter.
  void UseLine(int pathMtu) {
    window_.SetMtuMeasurer([this, pathMtu](std::string_view host, const std::function<bool()>& cancelled,
                                           const std::function<void(int)>& trying) {
      hosts.emplace_back(host);
      FakeLine line(pathMtu, cancelled, trying, onTrying);
      MtuMeasurement measurement;
      measurement.status = MtuMeasurement::Status::Measured;
      measurement.interfaceMtu = 1500;
      measurement.outcome = mtu::SearchLargestMtu(line, 1500);
      return measurement;
    });
  }

  testing::FakePlatform platform_;
  test::FakeShell shell_;
  frmNormalMode window_{shell_};
  std::function<void(int)> onTrying;
  std::vector<std::string> hosts;
};

TEST_F(MtuPageTest, MeasuresTheHostBesideTheButtonAndFillsBothBoxes) {
  EXPECT_EQ(TextOf(W::IDC_txtMtuHost), kDefaultPingHost) << "the pinger's host";
  test::TypeText(Item(W::IDC_txtMtuHost), "10.0.0.138");
  UseLine(1492);
  std::vector<std::wstring> progress;
  onTrying = [&](int) {
    progress.push_back(WideText(Item(W::IDC_lblMtuResult)));
    EXPECT_TRUE(window_.Measuring());
    EXPECT_EQ(TextOf(W::IDC_cmdFindMtu), "Cancel");
    EXPECT_FALSE(IsWindowEnabled(Item(W::IDC_cmdNextPage)));
    EXPECT_FALSE(IsWindowEnabled(Item(W::IDC_cmdPrevPage)));
    window_.cmdNextPage_Click();  // held while measuring
    EXPECT_EQ(window_.currWizardPage(), 1);
  };
  Click(W::IDC_cmdFindMtu);

  ASSERT_EQ(hosts, std::vector<std::string>{"10.0.0.138"});
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), L"Trying 1472 bytes\u2026");
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "1492");
  EXPECT_EQ(TextOf(W::IDC_txtMSSValue), "1452");
  EXPECT_EQ(TextOf(W::IDC_cmdFindMtu), "Find largest MTU");
  EXPECT_NE(TextOf(W::IDC_lblMtuResult).find("1492"), std::string::npos);
  EXPECT_NE(TextOf(W::IDC_lblMtuResult).find("black hole"), std::string::npos);
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdNextPage)));
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdPrevPage)));

  // The boxes were filled as typing fills them: Next and Finish read them.
  Click(W::IDC_cmdNextPage);
  EXPECT_EQ(window_.currWizardPage(), 2);
}

TEST_F(MtuPageTest, TheButtonCancelsAndTheBoxesStayAsTheyWere) {
  UseLine(1400);
  int requests = 0;
  onTrying = [&](int request) {
    requests = request;
    if (request == 3) Click(W::IDC_cmdFindMtu);  // the button reads "Cancel" now
  };
  Click(W::IDC_cmdFindMtu);
  EXPECT_EQ(requests, 3);
  EXPECT_EQ(window_.LastMeasurement().outcome.kind, mtu::MtuOutcome::Kind::Cancelled);
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "1500");
  EXPECT_EQ(TextOf(W::IDC_txtMSSValue), "1460");
  EXPECT_EQ(TextOf(W::IDC_lblMtuResult).rfind("Cancelled", 0), 0u);
  EXPECT_EQ(TextOf(W::IDC_cmdFindMtu), "Find largest MTU");
}

TEST_F(MtuPageTest, ClosingTheEditorInTheMiddleLeavesTheNextOpeningAlone) {
  UseLine(1400);
  int requests = 0;
  onTrying = [&](int request) {
    requests = request;
    if (request == 2) {
      window_.Unload();
      ASSERT_TRUE(window_.Load());  // opened again, on page 0
    }
  };
  Click(W::IDC_cmdFindMtu);
  EXPECT_EQ(requests, 2) << "the search stopped at the next request";
  EXPECT_FALSE(window_.Measuring());
  EXPECT_EQ(window_.currWizardPage(), 0);
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "576") << "the new opening's boxes are untouched";
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdNextPage)));
}

TEST_F(MtuPageTest, AHostThatCannotBeFoundIsSaid) {
  window_.SetMtuMeasurer([](std::string_view, const std::function<bool()>&, const std::function<void(int)>&) {
    MtuMeasurement measurement;
    measurement.status = MtuMeasurement::Status::NoHost;
    return measurement;
  });
  Click(W::IDC_cmdFindMtu);
  EXPECT_EQ(TextOf(W::IDC_lblMtuResult), "The host cannot be found; check its name.");
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "1500");
}

TEST(MtuFinder, RefusesThisComputerAndBadHostsBeforeSendingAnything) {
  int announced = 0;
  const auto trying = [&](int) { ++announced; };
  const auto never = [] { return false; };
  EXPECT_EQ(MeasureLargestMtu("127.0.0.1", never, trying).status, MtuMeasurement::Status::ThisComputer);
  EXPECT_EQ(MeasureLargestMtu("  ", never, trying).status, MtuMeasurement::Status::NoHost);
  EXPECT_EQ(MeasureLargestMtu("1.2.3", never, trying).status, MtuMeasurement::Status::NoHost) << "address 0";
  EXPECT_EQ(MeasureLargestMtu("1.2.3.4.5", never, trying).status, MtuMeasurement::Status::NoHost);
  EXPECT_EQ(announced, 0);
  MtuMeasurement local;
  local.status = MtuMeasurement::Status::ThisComputer;
  EXPECT_EQ(MeasurementText(local), "That host is this computer; choose one on your line.");
}

TEST(WindowsReads, MarkedOnlyOnVistaAndLater) {
  for (OsFamilyCode family = 0; family <= 8; ++family) {
    EXPECT_FALSE(reads::ShowsReadings(family, 5)) << family;
    EXPECT_EQ(reads::ShowsReadings(family, 6), family == kOsWindowsNT52OrLater) << family;
  }
  EXPECT_TRUE(reads::ShowsReadings(kOsWindowsNT52OrLater, 10));
}

TEST(WindowsReads, EveryPageWithValuesHasItsLines) {
  EXPECT_EQ(reads::PageReadingText(0), "");
  EXPECT_EQ(reads::PageReadingText(3), "RWIN: not read, Windows auto-tunes it.");
  EXPECT_EQ(reads::PageReadingText(2), "Still read here: Black hole, MTU discovery.");
  EXPECT_EQ(reads::PageReadingText(4), "Not documented for this Windows: TTL, HTTP 1.0, 1.1.");
  for (int page = 1; page < frmNormalMode::kPageCount; ++page) EXPECT_NE(reads::PageReadingText(page), "") << page;
  const std::string wizard = reads::WizardReadingText();
  EXPECT_EQ(wizard, "RWIN: not read, Windows auto-tunes it.");
  for (const reads::ValueReading& value : reads::kVistaAndLater) {
    EXPECT_FALSE(value.sources.empty()) << value.field;
  }
}

TEST_F(MtuPageTest, EditorPagesShowTheirMarksOnlyOnFamily8) {
  // The test prefix reports Windows 7 (NT 6.1).
  ASSERT_EQ(RunningMajorVersion(), 6u);
  OsFamily = kOsWindowsXP;
  Click(W::IDC_cmdNextPage);
  Click(W::IDC_cmdPrevPage);
  EXPECT_EQ(GetWindowLongPtrA(Item(W::IDC_lblWindowsReads), GWL_STYLE) & WS_VISIBLE, 0);
  OsFamily = kOsWindowsNT52OrLater;
  for (int page = 2; page <= 3; ++page) Click(W::IDC_cmdNextPage);
  ASSERT_EQ(window_.currWizardPage(), 3);
  EXPECT_NE(GetWindowLongPtrA(Item(W::IDC_lblWindowsReads), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(TextOf(W::IDC_lblWindowsReads), reads::PageReadingText(3));
}

TEST(WindowsReadsScreenshot, WizardAndEditorOnWindows7) {
  testing::FakePlatform platform;
  LoadWizardPresets();
  OsFamily = kOsWindowsNT52OrLater;
  {
    test::SkinnedShell shell(frmWizardMode::kWidth, frmWizardMode::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn", 140,
                             140);
    frmWizardMode wizard(shell);
    ASSERT_TRUE(wizard.Load());
    const HWND marks = GetDlgItem(wizard.Window(), frmWizardMode::IDC_lblWindowsReads);
    EXPECT_EQ(WindowText(marks), reads::WizardReadingText());
    EXPECT_NE(GetWindowLongPtrA(marks, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(WindowText(GetDlgItem(wizard.Window(), frmWizardMode::IDC_lblModeDescrip)).find("Not read"),
              std::string::npos)
        << "the marks stay out of the summary text";
    // ... and out of its place: the line sits in the frame's caption row, above the values.
    RECT markBox{}, summaryBox{}, overlap{};
    GetWindowRect(marks, &markBox);
    GetWindowRect(GetDlgItem(wizard.Window(), frmWizardMode::IDC_lblModeDescrip), &summaryBox);
    EXPECT_FALSE(IntersectRect(&overlap, &markBox, &summaryBox)) << "the marks cover the summary";
    shell.ShowInFront(wizard.Window());
    EXPECT_TRUE(test::SaveScreenshot(wizard.Window(), "wizard-mode-windows7-marks.png"));
    wizard.Unload();
  }
  {
    CurrentParameters = WizardPresets[0];
    test::SkinnedShell shell(frmNormalMode::kWidth, frmNormalMode::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn", 140,
                             140);
    frmNormalMode editor(shell);
    ASSERT_TRUE(editor.Load());
    for (int page = 1; page <= 4; ++page) test::Click(GetDlgItem(editor.Window(), frmNormalMode::IDC_cmdNextPage));
    ASSERT_EQ(editor.currWizardPage(), 4);
    shell.ShowInFront(editor.Window());
    EXPECT_TRUE(test::SaveScreenshot(editor.Window(), "advanced-mode-windows7-marks.png"));
    editor.Unload();
  }
  OsFamily = kOsUnclassified;
}

}  // namespace
}  // namespace tarvix
