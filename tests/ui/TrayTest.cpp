#include "ui/Tray.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "TrayTestSupport.h"

namespace tarvix {
namespace {

using testing::PumpMessagesFor;
using testing::PumpMessagesUntil;
using testing::RecordingHost;
using testing::RecordingShell;
using testing::SendTrayNotification;

// A small solid bitmap of one colour, for the picture conversions.
UniqueBitmap SolidBitmap(int width, int height, COLORREF colour) {
  const HDC screen = GetDC(nullptr);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  {
    SelectGuard selected(dc.get(), bitmap.get());
    const HBRUSH solid = CreateSolidBrush(colour);
    const RECT all{0, 0, width, height};
    FillRect(dc.get(), &all, solid);
    DeleteObject(solid);
  }
  return bitmap;
}

struct IconFacts {
  int width = 0;
  int height = 0;
  COLORREF centre = 0;
};

// Size of an icon and the colour it draws at its centre.
IconFacts Inspect(HICON icon) {
  IconFacts facts;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return facts;
  BITMAP colour{};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  facts.width = colour.bmWidth;
  facts.height = colour.bmHeight;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  const HDC screen = GetDC(nullptr);
  UniqueBitmap canvas(CreateCompatibleBitmap(screen, facts.width, facts.height));
  ReleaseDC(nullptr, screen);
  UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  SelectGuard selected(dc.get(), canvas.get());
  DrawIconEx(dc.get(), 0, 0, icon, facts.width, facts.height, 0, nullptr, DI_NORMAL);
  facts.centre = GetPixel(dc.get(), facts.width / 2, facts.height / 2);
  return facts;
}

class TrayTest : public ::testing::Test {
 protected:
  RecordingShell shell;
  RecordingHost host;
  Tray tray{&host, shell};
};

TEST_F(TrayTest, StartsHiddenWithTheDefaultsAndItsOwnWindow) {
  ASSERT_NE(tray.hwnd(), nullptr);
  EXPECT_FALSE(tray.IsVisible());
  EXPECT_FALSE(tray.ClickPending());
  EXPECT_EQ(tray.TrayToolTip(), "Program notification");
  EXPECT_EQ(tray.TrayBalloonToolTip(), "The Program Still Running Here");
  EXPECT_EQ(tray.EventMode(), 0);
  EXPECT_EQ(tray.TrayImage(), nullptr);
  EXPECT_FALSE(IsWindowVisible(tray.hwnd()));
}

TEST_F(TrayTest, HideBeforeShowAndBalloonFalseMakeNoShellCall) {
  tray.Show(false);
  tray.showBalloonoolTip(false);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(tray.IsVisible());
}

TEST_F(TrayTest, ShowAddsThenModifiesAndHideDeletesOnce) {
  tray.SetTrayImage(UniqueIcon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)))));
  tray.Show(true);
  EXPECT_TRUE(tray.IsVisible());
  tray.SetTrayToolTip("Free: 100 MB");
  tray.Show(true);
  tray.Show(false);
  tray.Show(false);
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell.calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell.calls[2].message, static_cast<DWORD>(NIM_DELETE));
  for (const auto& call : shell.calls) {
    EXPECT_EQ(call.record.hWnd, tray.hwnd());
    EXPECT_EQ(call.record.uID, 1u);
    EXPECT_EQ(call.record.uFlags, 7u);
    EXPECT_EQ(call.record.hIcon, tray.TrayImage());
  }
  EXPECT_STREQ(shell.calls[0].record.szTip, " Program notification ");
  EXPECT_STREQ(shell.calls[1].record.szTip, " Free: 100 MB ");
  // The delete reuses the record as last filled.
  EXPECT_STREQ(shell.calls[2].record.szTip, " Free: 100 MB ");
  EXPECT_FALSE(tray.IsVisible());
}

TEST_F(TrayTest, VisibleFollowsTheRequestWhateverTheShellAnswers) {
  shell.answer = FALSE;
  tray.Show(true);
  EXPECT_TRUE(tray.IsVisible());
  tray.Show(false);
  EXPECT_FALSE(tray.IsVisible());
}

TEST_F(TrayTest, TheBalloonIsAModifyEvenWhenHiddenAndCarriesTheDefaults) {
  tray.showBalloonoolTip(true);
  ASSERT_EQ(shell.calls.size(), 1u);
  const NOTIFYICONDATAA& record = shell.calls[0].record;
  EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(record.uFlags, 0x17u);
  EXPECT_STREQ(record.szInfo, "The Program Still Running Here");
  EXPECT_STREQ(record.szInfoTitle, "Program notification");
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  EXPECT_EQ(record.uTimeout, 1u);
  EXPECT_FALSE(tray.IsVisible());
}

TEST_F(TrayTest, PropertySettersReportTheirKeysAndClampTheEventMode) {
  tray.SetTrayToolTip("tip");
  tray.SetTrayBalloonToolTip("balloon");
  tray.SetEventMode(5);
  EXPECT_EQ(tray.EventMode(), 1);
  tray.SetEventMode(-3);
  EXPECT_EQ(tray.EventMode(), 0);
  tray.SetTrayImage(UniqueIcon{});
  EXPECT_EQ(host.changes,
            (std::vector<std::string>{"TrayToolTip", "BalloonTip", "EventMode", "EventMode", "TrayImage"}));
  // Setting properties never talks to the shell.
  EXPECT_TRUE(shell.calls.empty());
  const TrayProperties stored = tray.Properties();
  EXPECT_EQ(stored.toolTip, "tip");
  EXPECT_EQ(stored.balloonTip, "balloon");
}

TEST_F(TrayTest, StoredPropertiesGoBackThroughTheSettersAndReachTheShellOnShow) {
  TrayProperties stored;
  stored.toolTip = "Still here";
  stored.eventMode = 7;
  stored.balloonTip = "Working quietly";
  tray.ApplyProperties(stored);
  EXPECT_EQ(host.changes, (std::vector<std::string>{"TrayToolTip", "EventMode", "BalloonTip"}));
  EXPECT_EQ(tray.EventMode(), 1);
  EXPECT_TRUE(shell.calls.empty());
  tray.showBalloonoolTip(true);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_STREQ(shell.calls[0].record.szTip, " Still here ");
  EXPECT_STREQ(shell.calls[0].record.szInfo, "Working quietly");
  EXPECT_STREQ(shell.calls[0].record.szInfoTitle, "Still here");
}

TEST_F(TrayTest, ADoubleClickOnTheIconRaisesOneLeftClick) {
  SendTrayNotification(tray, WM_LBUTTONDOWN);
  SendTrayNotification(tray, WM_LBUTTONUP);
  SendTrayNotification(tray, WM_LBUTTONDBLCLK);
  SendTrayNotification(tray, WM_LBUTTONUP);
  SendTrayNotification(tray, WM_RBUTTONDOWN);
  EXPECT_EQ(host.events, std::vector<std::string>{"LeftClick"});
  EXPECT_TRUE(tray.ClickPending());
  // The real 15 ms timer releases the hold; then the next press counts.
  ASSERT_TRUE(PumpMessagesUntil([&] { return !tray.ClickPending(); }, 2000));
  SendTrayNotification(tray, WM_RBUTTONDOWN);
  EXPECT_EQ(host.events, (std::vector<std::string>{"LeftClick", "RightClick"}));
}

TEST_F(TrayTest, TheHoldStartsOnlyAfterTheHandlerReturned) {
  // A slow handler: had the timer been armed before it ran, its tick would
  // already be due when the handler returns.
  host.onEvent = [&] {
    Sleep(60);
    SendTrayNotification(tray, WM_LBUTTONDOWN);  // a press during the handler is dropped
  };
  SendTrayNotification(tray, WM_LBUTTONDOWN);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, tray.hwnd(), WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_TRUE(tray.ClickPending());
  EXPECT_EQ(host.events.size(), 1u);
  host.onEvent = nullptr;
  ASSERT_TRUE(PumpMessagesUntil([&] { return !tray.ClickPending(); }, 2000));
}

TEST_F(TrayTest, EventModeOneRaisesMouseClickWithTheButton) {
  tray.SetEventMode(1);
  SendTrayNotification(tray, WM_LBUTTONDOWN);
  ASSERT_TRUE(PumpMessagesUntil([&] { return !tray.ClickPending(); }, 2000));
  SendTrayNotification(tray, WM_RBUTTONDOWN);
  EXPECT_EQ(host.events, (std::vector<std::string>{"MouseClick 1", "MouseClick 2"}));
}

TEST_F(TrayTest, TheTimerMessageReleasesTheHold) {
  SendTrayNotification(tray, WM_RBUTTONDOWN);
  ASSERT_TRUE(tray.ClickPending());
  // Another timer id is not the hold timer.
  SendMessageA(tray.hwnd(), WM_TIMER, kTrayClickTimerId + 1, 0);
  EXPECT_TRUE(tray.ClickPending());
  SendMessageA(tray.hwnd(), WM_TIMER, kTrayClickTimerId, 0);
  EXPECT_FALSE(tray.ClickPending());
}

TEST_F(TrayTest, AThrowingHandlerDoesNotLeaveTheIconDeaf) {
  host.onEvent = [] { throw std::runtime_error("handler failed"); };
  SendTrayNotification(tray, WM_LBUTTONDOWN);
  ASSERT_TRUE(PumpMessagesUntil([&] { return !tray.ClickPending(); }, 2000));
  host.onEvent = nullptr;
  SendTrayNotification(tray, WM_LBUTTONDOWN);
  EXPECT_EQ(host.events, (std::vector<std::string>{"LeftClick", "LeftClick"}));
}

TEST_F(TrayTest, ARestartedExplorerGetsTheIconBackOnlyWhenShown) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  SendMessageA(tray.hwnd(), taskbarCreated, 0, 0);
  EXPECT_TRUE(shell.calls.empty());

  tray.SetTrayToolTip("Free: 3 GB");
  tray.Show(true);
  SendMessageA(tray.hwnd(), taskbarCreated, 0, 0);
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell.calls[1].record.uFlags, 7u);
  EXPECT_STREQ(shell.calls[1].record.szTip, " Free: 3 GB ");
  EXPECT_TRUE(tray.IsVisible());

  tray.Show(false);
  SendMessageA(tray.hwnd(), taskbarCreated, 0, 0);
  EXPECT_EQ(shell.calls.size(), 3u);
}

TEST_F(TrayTest, TheWindowKeepsItsSize) {
  SetWindowPos(tray.hwnd(), nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT bounds{};
  ASSERT_TRUE(GetWindowRect(tray.hwnd(), &bounds));
  EXPECT_EQ(bounds.right - bounds.left, 36);
  EXPECT_EQ(bounds.bottom - bounds.top, 36);
}

TEST_F(TrayTest, ABitmapBecomesA32PixelIconOfTheSameColour) {
  const UniqueBitmap red = SolidBitmap(64, 48, RGB(220, 20, 30));
  ASSERT_TRUE(tray.SetTrayImageFromBitmap(red.get()));
  ASSERT_NE(tray.TrayImage(), nullptr);
  const IconFacts facts = Inspect(tray.TrayImage());
  EXPECT_EQ(facts.width, 32);
  EXPECT_EQ(facts.height, 32);
  EXPECT_NEAR(GetRValue(facts.centre), 220, 8);
  EXPECT_NEAR(GetGValue(facts.centre), 20, 8);
  EXPECT_NEAR(GetBValue(facts.centre), 30, 8);
  // The icon reaches the shell with the next Show.
  tray.Show(true);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].record.hIcon, tray.TrayImage());
}

TEST_F(TrayTest, CursorsAndMetafilesBecomeIconsAndAFailedConversionKeepsThePicture) {
  ASSERT_TRUE(tray.SetTrayImageFromCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))));
  EXPECT_EQ(Inspect(tray.TrayImage()).width, 32);

  const HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(recorder, nullptr);
  const HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  const RECT all{0, 0, 100, 100};
  FillRect(recorder, &all, green);
  DeleteObject(green);
  const HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
  ASSERT_TRUE(tray.SetTrayImageFromMetafile(metafile));
  DeleteEnhMetaFile(metafile);
  const IconFacts facts = Inspect(tray.TrayImage());
  EXPECT_EQ(facts.width, 32);
  EXPECT_NEAR(GetGValue(facts.centre), 200, 8);

  const HICON before = tray.TrayImage();
  EXPECT_FALSE(tray.SetTrayImageFromBitmap(nullptr));
  EXPECT_FALSE(tray.SetTrayImageFromCursor(nullptr));
  EXPECT_EQ(tray.TrayImage(), before);
}

}  // namespace
}  // namespace tarvix
