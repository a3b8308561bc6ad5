// The program at the DPI of its monitor: the main window, the movie and every
// tool window laid out and lettered for it, with whole texts; a move to a
// monitor of another DPI (WM_DPICHANGED) lays everything out again. The
// same executable runs once in the ordinary Wine prefix (96 DPI) and once in
// a prefix at each of 120, 144 and 192 DPI (tests/app/with-dpi), where the
// pictures of every window are saved for review.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandTable.h"
#include "app/Splash.h"
#include "app/frmMain.h"
#include "app/frmMainSettings.h"
#include "app/skin/SkinFile.h"
#include "base/AppPaths.h"
#include "optimizer/frmNormalMode.h"
#include "pinger/frmNetPingerSettings.h"
#include "app/MainWindowTest.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"
#include "support/TextFits.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/TrayTestSupport.h"
#include "ui/msgFrm.h"

namespace tarvix {
namespace {

using testing::FakePlatform;
using testing::RecordingShell;
using testing::TempDir;

// The commands that show each tool window, with the name its picture takes.
constexpr std::pair<const char*, const char*> kToolCommands[] = {
    {"IDC_FS_wizardMode", "wizard"},          {"IDC_FS_normalMode", "advanced-editor"},
    {"IDC_FS_backupManger", "backup-manager"}, {"IDC_FS_pingSetting", "ping-settings"},
    {"IDC_FS_systemSatus", "system-status"},  {"IDC_FS_ramConfig", "ram-configuration"},
    {"IDC_FS_settings", "main-settings"},
};

SIZE SizeOf(HWND window) {
  RECT box{};
  GetWindowRect(window, &box);
  return {box.right - box.left, box.bottom - box.top};
}

// The pixel height of the font `control` draws with.
int FontHeight(HWND control) {
  LOGFONTA font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (handle == nullptr || GetObjectA(handle, sizeof font, &font) == 0) return 0;
  return std::abs(static_cast<int>(font.lfHeight));
}

// How many items a drop-down list shows when dropped.
int ItemsShown(HWND combo) {
  RECT dropped{}, field{};
  SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  GetWindowRect(combo, &field);
  const auto item = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  return item > 0 ? (dropped.bottom - field.bottom) / item : 0;
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
  BITMAP picture{};
  GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof picture, &picture);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return picture.bmWidth;
}

class DpiTest : public testing::MainWindowTest {
 protected:
  frmMain& Start() {
    MainWindowTest::Start();
    // The advanced editor is loaded when first shown.
    main_->FSCommand("IDC_FS_normalMode", "");
    main_->FSCommand("IDC_FS_home", "");
    return *main_;
  }

  // Every text of every tool window and of the movie, whole.
  void ExpectEveryTextFits(const std::string& when) {
    int measured = 0;
    for (std::size_t i = 0; i < kToolWindowCount; ++i) {
      const HWND window = main_->ToolWindows().Get(static_cast<ToolWindow>(i))->Window();
      ASSERT_NE(window, nullptr);
      char caption[64] = {};
      GetWindowTextA(window, caption, static_cast<int>(sizeof caption));
      for (const HWND control : test::AllChildren(window)) {
        const std::string problem = test::TextDoesNotFit(control);
        EXPECT_TRUE(problem.empty()) << when << ", " << caption << ": " << problem;
        ++measured;
      }
    }
    EXPECT_GT(measured, 100);
    const std::vector<std::string> clipped = main_->flash().ClippedTexts();
    EXPECT_TRUE(clipped.empty()) << when << ": the movie cuts " << clipped.size() << " texts short, the first: "
                                 << (clipped.empty() ? "" : clipped.front());
  }

  // Lays the main window out for `dpi` as Windows does when it moves to a
  // monitor of that DPI: the suggested place keeps the top-left corner.
  void MoveToMonitorOf(int dpi) {
    RECT box{};
    GetWindowRect(main_->hwnd(), &box);
    const int from = main_->Dpi();
    RECT suggested{box.left, box.top, box.left + RescaleLength(box.right - box.left, from, dpi),
                   box.top + RescaleLength(box.bottom - box.top, from, dpi)};
    SendMessageA(main_->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }
};

// The DPI the test's Wine prefix was made with, when the runner says so.
std::optional<int> ExpectedDpi() {
  const char* value = std::getenv("TARVIX_EXPECTED_DPI");
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::atoi(value);
}

TEST_F(DpiTest, AtTheMonitorsDpiEveryWindowIsLaidOutForIt) {
  frmMain& main = Start();
  const int dpi = main.Dpi();
  if (const auto expected = ExpectedDpi()) {
    ASSERT_EQ(SystemDpi(), *expected) << "the Wine prefix is not at the DPI it was made for";
  }
  EXPECT_EQ(dpi, SystemDpi());
  RECT client{};
  GetClientRect(main.hwnd(), &client);
  EXPECT_EQ(client.right, ScaleForDpi(kMainWidth, dpi));
  EXPECT_EQ(client.bottom, ScaleForDpi(kMainHeight, dpi));
  EXPECT_EQ(SizeOf(main.flash().hwnd()).cx, client.right);
  // Icons of the sizes of this DPI, not stretched from another size.
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageA(main.hwnd(), WM_GETICON, ICON_BIG, 0))),
            SystemMetricForDpi(SM_CXICON, dpi));
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(SendMessageA(main.hwnd(), WM_GETICON, ICON_SMALL, 0))),
            SystemMetricForDpi(SM_CXSMICON, dpi));
  for (const auto& [command, name] : kToolCommands) {
    main.FSCommand(command, "");
    const HWND area = main.framChildWindow();
    RECT areaBox{};
    GetClientRect(area, &areaBox);
    SCOPED_TRACE(name);
    EXPECT_EQ(areaBox.right, ScaleForDpi(kChildAreaWidth, dpi));
  }
  // The list's columns are as wide as their headings need.
  const HWND settings = main.ToolWindows().MainSettings().Window();
  EXPECT_EQ(FontHeight(GetDlgItem(settings, frmMainSettings::IDC_cmdSave)), MulDiv(9, dpi, 72))
      << "the skin's 9-point font at this DPI";
  ExpectEveryTextFits("at " + std::to_string(dpi) + " DPI");
}

// Pictures of the main window, of every tool window in it, of the
// notification and of the splash at this DPI, for review:
// build/artifacts/dpi-<dpi>-<window>.png.
TEST_F(DpiTest, AtTheMonitorsDpiPicturesOfEveryWindow) {
  frmMain& main = Start();
  SetWindowPos(main.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
  const std::string prefix = "dpi-" + std::to_string(main.Dpi()) + "-";
  const auto save = [&](HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    RECT client{};
    GetClientRect(window, &client);
    const auto pixels = test::CaptureWindow(window, client.right, client.bottom);
    EXPECT_GT(test::DistinctColours(pixels), 4u) << name << " is blank";
    EXPECT_TRUE(test::WritePng(test::ArtifactPath(prefix + name + ".png"), client.right, client.bottom, pixels));
  };
  save(main.hwnd(), "main");
  for (const auto& [command, name] : kToolCommands) {
    main.FSCommand(command, "");
    const HWND area = main.framChildWindow();
    save(area, name);
  }
  main.FSCommand("IDC_FS_home", "");
  // The notification, as at a start in the notification area.
  SetWindowPos(main.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  (void)MsgAuto_box("The Program Still Running Here", MB_ICONINFORMATION, "Program notification", 0, true,
                    RGB(242, 248, 200), 600.0f, 500.0f, 0);
  if (msgFrm* notice = NotificationBox()) {
    for (const HWND control : test::AllChildren(notice->hwnd())) {
      if (!IsWindowVisible(control)) continue;
      const std::string problem = test::TextDoesNotFit(control);
      EXPECT_TRUE(problem.empty()) << "the notification: " << problem;
    }
    save(notice->hwnd(), "notification");
  }
  UnloadNotificationBox();
  Splash splash;
  ASSERT_TRUE(splash.Show());
  EXPECT_EQ(SizeOf(splash.hwnd()).cx, ScaleForDpi(Splash::kWidth, main.Dpi()));
  save(splash.hwnd(), "splash");
}

TEST_F(DpiTest, MovingToAMonitorOfTwiceTheDpiDoublesEverythingAndKeepsTextsWhole) {
  frmMain& main = Start();
  const int from = main.Dpi();
  const int to = 2 * from;
  main.FSCommand("IDC_FS_settings", "");  // its controls come with its first show
  main.FSCommand("IDC_FS_pingSetting", "");
  const HWND settings = main.ToolWindows().MainSettings().Window();
  const HWND save = GetDlgItem(settings, frmMainSettings::IDC_cmdSave);
  const HWND frame = GetDlgItem(settings, frmMainSettings::IDC_frmStartup);
  const HWND pinger = main.ToolWindows().Get(ToolWindow::NetPingerSettings)->Window();
  const HWND host = GetDlgItem(pinger, frmNetPingerSettings::IDC_HOST);
  const std::vector<std::pair<const char*, HWND>> watched = {
      {"main window", main.hwnd()}, {"movie", main.flash().hwnd()}, {"child area", main.framChildWindow()},
      {"settings window", settings}, {"Save", save},     {"frame", frame},
      {"host box", host}};
  std::vector<SIZE> before;
  for (const auto& [name, window] : watched) before.push_back(SizeOf(window));
  const int buttonFont = FontHeight(save);
  const int editFont = FontHeight(host);
  const HWND interval = GetDlgItem(pinger, frmNetPingerSettings::IDC_INTERVAL);
  const int list = ItemsShown(interval);
  ASSERT_GE(list, 5);
  ASSERT_GT(buttonFont, 0);
  ASSERT_GT(editFont, 0);

  MoveToMonitorOf(to);
  EXPECT_EQ(main.Dpi(), to);
  EXPECT_EQ(WindowDpi(save), to) << "controls follow their top-level window";
  for (std::size_t i = 0; i < watched.size(); ++i) {
    SCOPED_TRACE(watched[i].first);
    const SIZE now = SizeOf(watched[i].second);
    EXPECT_EQ(now.cx, 2 * before[i].cx);
    EXPECT_EQ(now.cy, 2 * before[i].cy);
  }
  EXPECT_NEAR(FontHeight(save), 2 * buttonFont, 1) << "the skin's font";
  EXPECT_NEAR(FontHeight(host), 2 * editFont, 1) << "the dialog font";
  EXPECT_GE(ItemsShown(interval), list) << "the drop-down list shows as many items";
  ExpectEveryTextFits("moved to " + std::to_string(to) + " DPI");
  // For review: the ping settings as the move left them.
  SetWindowPos(main.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
  RedrawWindow(main.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(test::SaveScreenshot(main.framChildWindow(), "dpi-" + std::to_string(from) + "-moved-to-" +
                                                               std::to_string(to) + "-ping-settings.png"));
  SetWindowPos(main.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  // A window made after the move is made for the new DPI.
  main.FSCommand("IDC_FS_normalMode", "");
  const HWND editor = main.ToolWindows().Get(ToolWindow::NormalMode)->Window();
  EXPECT_EQ(SizeOf(editor).cx, ScaleForDpi(frmNormalMode::kWidth, to));
  EXPECT_EQ(SizeOf(main.framChildWindow()).cy, ScaleForDpi(252, to));
  ExpectEveryTextFits("the advanced editor made at " + std::to_string(to) + " DPI");

  // And back: every size as it was.
  main.FSCommand("IDC_FS_pingSetting", "");
  MoveToMonitorOf(from);
  for (std::size_t i = 0; i < watched.size(); ++i) {
    SCOPED_TRACE(watched[i].first);
    const SIZE now = SizeOf(watched[i].second);
    EXPECT_EQ(now.cx, before[i].cx);
    EXPECT_EQ(now.cy, before[i].cy);
  }
  EXPECT_EQ(FontHeight(save), buttonFont);
  EXPECT_EQ(FontHeight(host), editFont);
  // Each way may lose the odd item to the field's height, which does not
  // scale exactly with the font; the list never shrinks to its field.
  EXPECT_GE(ItemsShown(interval), list - 3);
}

TEST_F(DpiTest, AMoveAtTheSameDpiOnlyTakesThePlace) {
  frmMain& main = Start();
  const HWND save = GetDlgItem(main.ToolWindows().MainSettings().Window(), frmMainSettings::IDC_cmdSave);
  const SIZE button = SizeOf(save);
  RECT box{};
  GetWindowRect(main.hwnd(), &box);
  RECT suggested = box;
  OffsetRect(&suggested, 30, 20);
  SendMessageA(main.hwnd(), WM_DPICHANGED, MAKEWPARAM(main.Dpi(), main.Dpi()), reinterpret_cast<LPARAM>(&suggested));
  RECT now{};
  GetWindowRect(main.hwnd(), &now);
  EXPECT_EQ(now.left, box.left + 30);
  EXPECT_EQ(now.top, box.top + 20);
  EXPECT_EQ(SizeOf(save).cx, button.cx);
  EXPECT_EQ(SizeOf(save).cy, button.cy);
}

TEST_F(DpiTest, ABalloonBoxOnAMonitorOfTwiceTheDpiIsMadeAnewForIt) {
  frmMain& main = Start();
  const int from = main.Dpi();
  const int to = 2 * from;
  (void)MsgAuto_box("The Program Still Running Here", MB_ICONINFORMATION, "Program notification", 0, true,
                    RGB(242, 248, 200), 600.0f, 500.0f, 0);
  msgFrm* box = NotificationBox();
  ASSERT_NE(box, nullptr);
  const HWND message = box->Control(IDC_AMSG);
  const HWND title = box->Control(IDC_ATITLE);
  const HWND picture = box->Control(IDC_APIC);
  const SIZE window = SizeOf(box->hwnd()), label = SizeOf(message), icon = SizeOf(picture);
  const int messageFont = FontHeight(message), titleFont = FontHeight(title);
  RECT place{};
  GetWindowRect(box->hwnd(), &place);
  RECT suggested{place.left, place.top, place.left + 2 * window.cx, place.top + 2 * window.cy};
  SendMessageA(box->hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(SizeOf(box->hwnd()).cx, 2 * window.cx);
  EXPECT_EQ(SizeOf(box->hwnd()).cy, 2 * window.cy);
  EXPECT_EQ(SizeOf(message).cx, 2 * label.cx);
  EXPECT_EQ(SizeOf(picture).cx, 2 * icon.cx) << "the icon is painted at its new size";
  EXPECT_NEAR(FontHeight(message), 2 * messageFont, 1);
  EXPECT_NEAR(FontHeight(title), 2 * titleFont, 1);
  for (const HWND control : test::AllChildren(box->hwnd())) {
    if (!IsWindowVisible(control)) continue;
    const std::string problem = test::TextDoesNotFit(control);
    EXPECT_TRUE(problem.empty()) << "the notification: " << problem;
  }
  EXPECT_TRUE(test::SaveScreenshot(box->hwnd(), "dpi-" + std::to_string(from) + "-moved-to-" +
                                                    std::to_string(to) + "-notification.png"));
  UnloadNotificationBox();
}

TEST(DpiScaling, LengthsScaleByTheRealFactorRoundedToNearest) {
  EXPECT_EQ(ScaleForDpi(440, 96), 440);
  EXPECT_EQ(ScaleForDpi(440, 120), 550);
  EXPECT_EQ(ScaleForDpi(7, 120), 9) << "8.75 rounds up";
  EXPECT_EQ(ScaleForDpi(-11, 144), -17) << "negative font heights keep their sign";
  EXPECT_EQ(ScaleForDpi(25, 0), 25);
  EXPECT_EQ(RescaleLength(550, 120, 96), 440);
  EXPECT_EQ(RescaleLength(9, 120, 120), 9);
  EXPECT_EQ(RescaleLength(9, 0, 120), 9);
}

TEST(DpiScaling, OneDialogFontPerDpiKeptForTheProcess) {
  const HFONT at96 = DialogFontFor(96);
  const HFONT at192 = DialogFontFor(192);
  EXPECT_NE(at96, at192);
  EXPECT_EQ(DialogFontFor(96), at96) << "made once";
  int dpi = 0;
  EXPECT_TRUE(IsDialogFont(at192, &dpi));
  EXPECT_EQ(dpi, 192);
  EXPECT_FALSE(IsDialogFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
  LOGFONTA small{}, large{};
  ASSERT_NE(GetObjectA(at96, sizeof small, &small), 0);
  ASSERT_NE(GetObjectA(at192, sizeof large, &large), 0);
  EXPECT_NEAR(std::abs(large.lfHeight), 2 * std::abs(small.lfHeight), 1);
  EXPECT_EQ(DialogFontFor(0), DialogFontFor(SystemDpi())) << "an impossible DPI means the system's";
}

TEST(TabColumns, PiecesStartOnTheNextColumnClearOfTheTextBefore) {
  // A piece that ends just short of a column, or on it, goes on to the next.
  const int widths[] = {44, 48, 0, 60};
  EXPECT_EQ(TabColumnStarts(widths, 48, 8), (std::vector<int>{0, 96, 192, 240}));
  const int one[] = {30};
  EXPECT_EQ(TabColumnStarts(one, 48, 8), std::vector<int>{0});
  EXPECT_TRUE(TabColumnStarts({}, 48, 8).empty());
  const int loose[] = {10, 20, 5};
  EXPECT_EQ(TabColumnStarts(loose, 0, 4), (std::vector<int>{0, 14, 38}));
}

}  // namespace
}  // namespace tarvix
