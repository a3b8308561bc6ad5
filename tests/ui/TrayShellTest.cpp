// The icon control against the real shell. Under Xvfb, Wine's shell shows
// notification icons as child windows ("__winex11_tray_icon") of its own
// tray window ("__winex11_standalone_tray") in the explorer process; each
// relays mouse messages over it to its owner's callback message.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TrayTestSupport.h"
#include "ui/Tray.h"

namespace tarvix {
namespace {

using testing::PumpMessagesFor;
using testing::PumpMessagesUntil;
using testing::RecordingHost;

constexpr DWORD kShellWaitMs = 5000;

// Mouse messages the control's window was sent through its callback
// message, seen by a hook so the control itself stays untouched.
std::vector<LPARAM> g_notifications;
HWND g_trayWindow = nullptr;

LRESULT CALLBACK WatchCallbacks(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->hwnd == g_trayWindow && sent->message == WM_APP_TRAY) g_notifications.push_back(sent->lParam);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<HWND> ShellIconWindows() {
  std::vector<HWND> icons;
  const HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  if (tray == nullptr) return icons;
  for (HWND child = GetWindow(tray, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::string(name) == "__winex11_tray_icon") icons.push_back(child);
  }
  return icons;
}

// The shell's window for our icon: the one whose mouse moves reach the
// control. Moves raise no event here or in any other program's icon.
HWND OurIconWindow() {
  for (const HWND icon : ShellIconWindows()) {
    g_notifications.clear();
    PostMessageA(icon, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    const bool ours = PumpMessagesUntil([] { return !g_notifications.empty(); }, 300);
    if (ours && LOWORD(g_notifications.front()) == WM_MOUSEMOVE) return icon;
  }
  return nullptr;
}

HWND WaitForOurIcon() {
  HWND icon = nullptr;
  PumpMessagesUntil([&] { return (icon = OurIconWindow()) != nullptr; }, kShellWaitMs);
  return icon;
}

struct OwnedTip {
  HWND owner;
  bool balloon;
  HWND found;
};

BOOL CALLBACK FindTip(HWND window, LPARAM data) {
  auto* wanted = reinterpret_cast<OwnedTip*>(data);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  const bool balloon = (GetWindowLongA(window, GWL_STYLE) & TTS_BALLOON) != 0;
  if (std::string(name) == TOOLTIPS_CLASSA && GetWindow(window, GW_OWNER) == wanted->owner &&
      balloon == wanted->balloon && IsWindowVisible(window)) {
    wanted->found = window;
    return FALSE;
  }
  return TRUE;
}

// The text the shell's tip (or balloon) window for `icon` shows, once it shows.
std::string ShownTipText(HWND icon, bool balloon) {
  // A pop-up made with a child window as parent is owned by its top-level window.
  OwnedTip wanted{GetAncestor(icon, GA_ROOT), balloon, nullptr};
  PumpMessagesUntil(
      [&] {
        EnumWindows(&FindTip, reinterpret_cast<LPARAM>(&wanted));
        return wanted.found != nullptr;
      },
      kShellWaitMs);
  if (wanted.found == nullptr) return {};
  char text[300] = {};
  SendMessageA(wanted.found, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// Rests the mouse on the icon so that the shell shows its tip.
std::string TipOnHover(HWND icon) {
  RECT box{};
  GetWindowRect(icon, &box);
  const int x = (box.left + box.right) / 2, y = (box.top + box.bottom) / 2;
  SetCursorPos(x, y);
  POINT inside{x, y};
  ScreenToClient(icon, &inside);
  PostMessageA(icon, WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
  return ShownTipText(icon, false);
}

UniqueIcon ProgramIcon() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.find_last_of("\\/") + 1);
  return UniqueIcon(static_cast<HICON>(
      LoadImageA(nullptr, (folder + "TrayIcon.ico").c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
}

class TrayShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(tray.hwnd(), nullptr);
    g_trayWindow = tray.hwnd();
    g_notifications.clear();
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &WatchCallbacks, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook_, nullptr);
    UniqueIcon icon = ProgramIcon();
    ASSERT_TRUE(icon) << "TrayIcon.ico beside the test";
    tray.SetTrayImage(std::move(icon));
  }
  void TearDown() override {
    tray.Show(false);
    UnhookWindowsHookEx(hook_);
    g_trayWindow = nullptr;
  }

  RecordingHost host;
  Tray tray{&host};

 private:
  HHOOK hook_ = nullptr;
};

TEST_F(TrayShellTest, TheIconIsAddedUpdatedAndRemovedInTheShell) {
  EXPECT_EQ(OurIconWindow(), nullptr);
  tray.SetTrayToolTip("Free: 812 MB");
  tray.Show(true);
  const HWND icon = WaitForOurIcon();
  ASSERT_NE(icon, nullptr) << "no icon of ours in the shell's tray";
  EXPECT_TRUE(IsWindowVisible(GetParent(icon)));
  EXPECT_EQ(TipOnHover(icon), " Free: 812 MB ");

  tray.SetTrayToolTip("Free: 640 MB");
  tray.Show(true);
  EXPECT_EQ(WaitForOurIcon(), icon) << "a modify keeps the same icon";
  SetCursorPos(0, 0);
  PumpMessagesFor(200);
  EXPECT_EQ(TipOnHover(icon), " Free: 640 MB ");

  tray.Show(false);
  EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindow(icon); }, kShellWaitMs));
  EXPECT_EQ(OurIconWindow(), nullptr);
}

TEST_F(TrayShellTest, APressOnTheShellsIconRaisesTheClickEvent) {
  tray.Show(true);
  const HWND icon = WaitForOurIcon();
  ASSERT_NE(icon, nullptr);
  PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageA(icon, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  PostMessageA(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  ASSERT_TRUE(PumpMessagesUntil([&] { return !host.events.empty(); }, kShellWaitMs));
  EXPECT_TRUE(PumpMessagesUntil([&] { return !tray.ClickPending(); }, kShellWaitMs));
  EXPECT_EQ(host.events, std::vector<std::string>{"LeftClick"});
}

TEST_F(TrayShellTest, TheBalloonShowsItsTextUnderTheTip) {
  tray.Show(true);
  const HWND icon = WaitForOurIcon();
  ASSERT_NE(icon, nullptr);
  tray.showBalloonoolTip(true);
  // The shell waits a moment before it opens a balloon.
  EXPECT_EQ(ShownTipText(icon, true), "The Program Still Running Here");
}

TEST_F(TrayShellTest, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
  tray.SetTrayToolTip("Free: 3 GB");
  tray.Show(true);
  const HWND first = WaitForOurIcon();
  ASSERT_NE(first, nullptr);

  // A restarted shell knows no icons: take ours away behind the control's back.
  NOTIFYICONDATAA gone{};
  gone.cbSize = NOTIFYICONDATAA_V2_SIZE;
  gone.hWnd = tray.hwnd();
  gone.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
  ASSERT_TRUE(PumpMessagesUntil([&] { return !IsWindow(first); }, kShellWaitMs));
  EXPECT_TRUE(tray.IsVisible());

  SendMessageA(tray.hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  const HWND again = WaitForOurIcon();
  ASSERT_NE(again, nullptr) << "the icon did not come back";
  EXPECT_EQ(TipOnHover(again), " Free: 3 GB ");
}

}  // namespace
}  // namespace tarvix
