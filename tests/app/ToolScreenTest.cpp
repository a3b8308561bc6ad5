// The movie's tool screen behind each tool window, in the real main window:
// every other tool opens from its navigation by automation (BM_CLICK) and by
// keyboard, Escape and Home lead back, nothing behind the child area can be
// clicked or tabbed to, and every text is whole. Pictures of the main window
// with each tool window open: build/artifacts/tool-screen-<tool>.png (with a
// "dpi-<dpi>-" prefix when the prefix's screen is not at 96 DPI).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/CommandTable.h"
#include "app/frmMain.h"
#include "app/skin/SkinFile.h"
#include "base/AppPaths.h"
#include "app/MainWindowTest.h"
#include "optimizer/frmNormalMode.h"
#include "pinger/frmNetPingerSettings.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"
#include "ui/Dpi.h"
#include "ui/TrayTestSupport.h"

namespace tarvix {
namespace {

using testing::FakePlatform;
using testing::RecordingShell;
using testing::TempDir;

struct ToolCase {
  const char* command;
  const char* picture;
};
// The commands that open a tool window, with the name of its picture.
constexpr ToolCase kTools[] = {
    {"IDC_FS_wizardMode", "wizard-mode"},       {"IDC_FS_normalMode", "advanced-mode"},
    {"IDC_FS_backupManger", "backup-manager"},  {"IDC_FS_pingSetting", "ping-settings"},
    {"IDC_FS_systemSatus", "system-status"},    {"IDC_FS_ramConfig", "ram-configuration"},
    {"IDC_FS_settings", "main-settings"},
};
// The control-panel items, which the navigation offers too.
constexpr const char* kApplets[] = {"IDC_FS_internetProperties", "IDC_FS_systemSetting", "IDC_FS_modemSetting",
                                    "IDC_FS_networkSetting"};

RECT ScreenBox(HWND window) {
  RECT box{};
  GetWindowRect(window, &box);
  return box;
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class ToolScreenTest : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    main_.emplace(shell_);
    ASSERT_TRUE(main_->Form_Load());
  }

  [[nodiscard]] HWND ToolOf(std::string_view command) {
    const CommandRow* row = FindCommand(command);
    if (row == nullptr || !row->shows) return nullptr;
    IToolWindow* window = main_->ToolWindows().Get(*row->shows);
    return window != nullptr ? window->Window() : nullptr;
  }

  // A key pressed and released at `target`, through the main window's loop.
  void Press(HWND target, WPARAM key) {
    for (const UINT kind : {WM_KEYDOWN, WM_KEYUP}) {
      MSG message{target, kind, key, kind == WM_KEYDOWN ? 1 : 0xC0000001, 0, {}};
      if (!main_->PreTranslateMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      target = GetFocus() != nullptr ? GetFocus() : target;
    }
    Pump();
  }

  void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!main_->PreTranslateMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
  }

  // Where Tab goes from the focused control, `count` presses in a row, or
  // fewer when it comes to `until`.
  std::vector<HWND> TabWalk(int count, HWND until = nullptr) {
    std::vector<HWND> reached;
    for (int i = 0; i < count; ++i) {
      const HWND focus = GetFocus();
      if (focus == nullptr) break;
      Press(focus, VK_TAB);
      reached.push_back(GetFocus());
      if (reached.back() == until) break;
    }
    return reached;
  }

  // The same with Shift held.
  std::vector<HWND> ShiftTabWalk(int count, HWND until) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    std::vector<HWND> reached = TabWalk(count, until);
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
    return reached;
  }

  // Tab and Shift+Tab from the first control go round exactly the tab stops
  // of `tool` and the movie's items; Space toggles a check box and chooses an
  // option button, Enter and Space press a push button (caught before it
  // acts, unless its id is in `acting`).
  void ExpectKeyboardWalk(HWND tool, const std::set<int>& acting);

  // The tool window shown, in front, with the tool screen around it.
  void ExpectShown(const char* command) {
    const CommandRow* row = FindCommand(command);
    ASSERT_NE(row, nullptr);
    const HWND tool = ToolOf(command);
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(IsWindowVisible(tool));
    EXPECT_FALSE(main_->MovieInFront());
    EXPECT_EQ(main_->flash().Screen(), MovieScreen::Tool);
    const RECT area = ScreenBox(main_->framChildWindow());
    EXPECT_EQ(area.right - area.left, ScaleForDpi(kChildAreaWidth, main_->Dpi()));
    EXPECT_EQ(area.bottom - area.top, ScaleForDpi(row->childHeight, main_->Dpi()));
  }
};

TEST_F(ToolScreenTest, EveryOtherToolOpensFromTheNavigationByClickEnterAndSpace) {
  frmMain& main = *main_;
  enum class Way { Click, Enter, Space };
  int pair = 0;
  for (const ToolCase& from : kTools) {
    for (const ToolCase& to : kTools) {
      if (std::string_view(from.command) == to.command) continue;
      // Every pair by automation, and by one of the two keys in turn.
      for (const Way way : {Way::Click, ++pair % 2 == 0 ? Way::Enter : Way::Space}) {
        SCOPED_TRACE(std::string(from.picture) + " -> " + to.picture + " by " +
                     (way == Way::Click ? "BM_CLICK" : way == Way::Enter ? "Enter" : "Space"));
        main.FSCommand(from.command, "");
        ASSERT_EQ(main.flash().Screen(), MovieScreen::Tool);
        const HWND item = main.flash().ItemWindow(to.command);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(IsWindowVisible(item));
        EXPECT_TRUE(IsWindowEnabled(item));
        EXPECT_FALSE(Overlap(ScreenBox(item), ScreenBox(main.framChildWindow())));
        switch (way) {
          case Way::Click:
            SendMessageA(item, BM_CLICK, 0, 0);
            break;
          case Way::Enter:
            SetFocus(item);
            Press(item, VK_RETURN);
            break;
          case Way::Space:
            SetFocus(item);
            Press(item, VK_SPACE);
            break;
        }
        ExpectShown(to.command);
        EXPECT_FALSE(IsWindowVisible(ToolOf(from.command)));
      }
    }
  }
  // The control-panel items answer from the tool screen as well.
  for (const char* applet : kApplets) {
    SCOPED_TRACE(applet);
    main.FSCommand("IDC_FS_ramConfig", "");
    platform_->startedPrograms.clear();
    SendMessageA(main.flash().ItemWindow(applet), BM_CLICK, 0, 0);
    EXPECT_EQ(platform_->startedPrograms.size(), 1u);
    SetFocus(main.flash().ItemWindow(applet));
    Press(GetFocus(), VK_RETURN);
    EXPECT_EQ(platform_->startedPrograms.size(), 2u);
  }
}

// The mouse as a user moves it: a press and release over the navigation's
// item, through the system's input queue.
TEST_F(ToolScreenTest, AMouseClickOnTheNavigationOpensTheTool) {
  frmMain& main = *main_;
  SetWindowPos(main.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetForegroundWindow(main.hwnd());
  const std::pair<const char*, const char*> pairs[] = {{"IDC_FS_wizardMode", "IDC_FS_ramConfig"},
                                                       {"IDC_FS_ramConfig", "IDC_FS_backupManger"},
                                                       {"IDC_FS_backupManger", "IDC_FS_settings"}};
  for (const auto& [from, to] : pairs) {
    SCOPED_TRACE(std::string(from) + " -> " + to);
    main.FSCommand(from, "");
    Pump();
    const RECT box = ScreenBox(main.flash().ItemWindow(to));
    SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);
    const HWND tool = ToolOf(to);
    for (int i = 0; i < 100 && !IsWindowVisible(tool); ++i) {
      Sleep(20);
      Pump();
    }
    ExpectShown(to);
  }
  SetWindowPos(main.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

TEST_F(ToolScreenTest, NothingBehindTheChildAreaCanBeClickedOrTabbedTo) {
  frmMain& main = *main_;
  const HWND movie = main.flash().hwnd();
  const HWND area = main.framChildWindow();
  for (const ToolCase& tool : kTools) {
    SCOPED_TRACE(tool.picture);
    main.FSCommand(tool.command, "");
    const RECT covered = ScreenBox(area);
    int live = 0;
    for (HWND child = GetWindow(movie, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
      ++live;
      char caption[64] = {};
      GetWindowTextA(child, caption, static_cast<int>(sizeof caption));
      EXPECT_FALSE(Overlap(ScreenBox(child), covered)) << caption << " lies behind the child area";
    }
    EXPECT_GE(live, 10 + 8) << "the navigation and the bar";
    // Every point of the child area belongs to it, not to the movie.
    RECT inner{};
    GetClientRect(area, &inner);
    for (const POINT at : {POINT{1, 1}, POINT{inner.right - 2, 1}, POINT{1, inner.bottom - 2},
                           POINT{inner.right - 2, inner.bottom - 2}, POINT{inner.right / 2, inner.bottom / 2}}) {
      POINT inMain = at;
      MapWindowPoints(area, main.hwnd(), &inMain, 1);
      EXPECT_EQ(ChildWindowFromPointEx(main.hwnd(), inMain, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED), area)
          << at.x << "," << at.y;
    }
    // Tab goes round the tool window's controls, the navigation and the bar,
    // and never to something hidden or behind the child area.
    const HWND first = GetNextDlgTabItem(ToolOf(tool.command), nullptr, FALSE);
    ASSERT_NE(first, nullptr);
    SetFocus(first);
    std::set<HWND> reached;
    for (const HWND focus : TabWalk(90)) {
      ASSERT_NE(focus, nullptr);
      reached.insert(focus);
      EXPECT_TRUE(IsWindowVisible(focus));
      if (GetParent(focus) == movie) {
        EXPECT_FALSE(Overlap(ScreenBox(focus), covered));
      }
    }
    for (const ToolCase& other : kTools) {
      EXPECT_TRUE(reached.contains(main.flash().ItemWindow(other.command))) << "Tab never reaches " << other.picture;
    }
  }
  // At home the tool window left behind the movie is out of reach.
  main.FSCommand("IDC_FS_home", "");
  SetFocus(main.flash().ItemWindow("IDC_FS_wizardMode"));
  for (const HWND focus : TabWalk(40)) {
    ASSERT_NE(focus, nullptr);
    EXPECT_FALSE(focus == area || IsChild(area, focus)) << "Tab reached the covered tool window";
    EXPECT_TRUE(IsWindowVisible(focus));
  }
}

LONG ButtonKind(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, static_cast<int>(sizeof name));
  return lstrcmpiA(name, "Button") == 0 ? GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK : -1;
}
bool IsOption(HWND window) {
  const LONG kind = ButtonKind(window);
  return kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON;
}
bool IsCommandButton(HWND window) {
  const LONG kind = ButtonKind(window);
  return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}
std::string Caption(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, static_cast<int>(sizeof text));
  return text;
}

// What Tab should reach in a tool window: every visible, enabled tab stop,
// and one option button of each group that has a live one.
struct TabStops {
  std::set<HWND> single;
  std::vector<std::set<HWND>> optionGroups;
};
TabStops TabStopsOf(HWND tool) {
  TabStops stops;
  std::set<HWND>* group = nullptr;
  for (HWND child = GetWindow(tool, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & WS_GROUP) != 0) group = nullptr;
    const bool live = IsWindowVisible(child) && IsWindowEnabled(child);
    if (IsOption(child)) {
      if (group == nullptr) group = &stops.optionGroups.emplace_back();
      if (live) group->insert(child);
    } else if (live && (style & WS_TABSTOP) != 0) {
      stops.single.insert(child);
    }
  }
  std::erase_if(stops.optionGroups, [](const std::set<HWND>& options) { return options.empty(); });
  return stops;
}

// Catches the clicks a push button sends its tool window, so that pressing
// it by keyboard shows without doing what it does.
struct CaughtClicks {
  HWND button = nullptr;
  int clicks = 0;
};
LRESULT CALLBACK CatchClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                             DWORD_PTR data) {
  auto* caught = reinterpret_cast<CaughtClicks*>(data);
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && reinterpret_cast<HWND>(lParam) == caught->button) {
    ++caught->clicks;
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void ToolScreenTest::ExpectKeyboardWalk(HWND tool, const std::set<int>& acting) {
  const TabStops stops = TabStopsOf(tool);
  const HWND movie = main_->flash().hwnd();
  const HWND first = GetNextDlgTabItem(tool, nullptr, FALSE);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(IsChild(tool, first));
  for (const bool backwards : {false, true}) {
    SCOPED_TRACE(backwards ? "Shift+Tab" : "Tab");
    SetFocus(first);
    const std::vector<HWND> walk = backwards ? ShiftTabWalk(80, first) : TabWalk(80, first);
    const std::set<HWND> reached(walk.begin(), walk.end());
    EXPECT_TRUE(reached.contains(first)) << "the walk never comes back to " << Caption(first);
    for (const HWND stop : stops.single) {
      EXPECT_TRUE(reached.contains(stop)) << "never reaches " << Caption(stop);
    }
    for (const std::set<HWND>& options : stops.optionGroups) {
      const auto count = std::count_if(options.begin(), options.end(), [&](HWND o) { return reached.contains(o); });
      EXPECT_EQ(count, 1) << "the option group of " << Caption(*options.begin());
    }
    for (const HWND focus : reached) {
      ASSERT_NE(focus, nullptr);
      if (IsChild(movie, focus)) continue;
      const bool own = GetParent(focus) == tool &&
                       (stops.single.contains(focus) ||
                        std::any_of(stops.optionGroups.begin(), stops.optionGroups.end(),
                                    [&](const std::set<HWND>& options) { return options.contains(focus); }));
      EXPECT_TRUE(own) << "reaches " << Caption(focus) << ", neither a tab stop here nor the movie's";
    }
  }
  for (HWND child = GetWindow(tool, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
    const int id = GetDlgCtrlID(child);
    // Enabling the pinger would ping its host.
    if (ButtonKind(child) == BS_AUTOCHECKBOX && id != frmNetPingerSettings::IDC_DO_PINGING) {
      SetFocus(child);
      const LRESULT before = SendMessageA(child, BM_GETCHECK, 0, 0);
      Press(child, VK_SPACE);
      EXPECT_NE(SendMessageA(child, BM_GETCHECK, 0, 0), before) << "Space on " << Caption(child);
      Press(child, VK_SPACE);
      EXPECT_EQ(SendMessageA(child, BM_GETCHECK, 0, 0), before) << "Space on " << Caption(child);
    } else if (IsOption(child) && SendMessageA(child, BM_GETCHECK, 0, 0) != BST_CHECKED) {
      SetFocus(child);
      Press(child, VK_SPACE);
      EXPECT_EQ(SendMessageA(child, BM_GETCHECK, 0, 0), BST_CHECKED) << "Space on " << Caption(child);
    } else if (IsCommandButton(child) && !acting.contains(id)) {
      CaughtClicks caught{child, 0};
      ASSERT_TRUE(SetWindowSubclass(tool, &CatchClicks, 1, reinterpret_cast<DWORD_PTR>(&caught)));
      for (const WPARAM key : {VK_RETURN, VK_SPACE}) {
        SetFocus(child);
        Press(child, key);
      }
      RemoveWindowSubclass(tool, &CatchClicks, 1);
      EXPECT_EQ(caught.clicks, 2) << "Enter and Space on " << Caption(child);
    }
  }
}

TEST_F(ToolScreenTest, TheKeyboardAloneWalksEveryToolWindowAndPage) {
  frmMain& main = *main_;
  for (const ToolCase& tool : kTools) {
    SCOPED_TRACE(tool.picture);
    main.FSCommand(tool.command, "");
    const HWND window = ToolOf(tool.command);
    ASSERT_NE(window, nullptr);
    if (std::string_view(tool.command) != "IDC_FS_normalMode") {
      ExpectKeyboardWalk(window, {});
    } else {
      // Each page, and Next pressed by Enter and by Space in turn to reach the next one.
      const HWND next = GetDlgItem(window, frmNormalMode::IDC_cmdNextPage);
      const std::set<int> acting = {frmNormalMode::IDC_cmdNextPage, frmNormalMode::IDC_cmdPrevPage};
      for (int page = 0; page < frmNormalMode::kPageCount; ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        ASSERT_TRUE(IsWindowVisible(GetDlgItem(window, frmNormalMode::IDC_frmWizardPages0 + page)));
        ExpectKeyboardWalk(window, acting);
        if (page + 1 == frmNormalMode::kPageCount) break;  // Next there applies
        SetFocus(next);
        Press(next, page % 2 == 0 ? VK_RETURN : VK_SPACE);
      }
    }
    // Escape from the tool window's last tab stop goes home.
    const HWND last = GetNextDlgTabItem(window, GetNextDlgTabItem(window, nullptr, FALSE), TRUE);
    ASSERT_TRUE(IsChild(window, last));
    SetFocus(last);
    Press(last, VK_ESCAPE);
    EXPECT_TRUE(main.MovieInFront());
  }
}

TEST_F(ToolScreenTest, EscapeAndHomeReturnToTheHomeScreen) {
  frmMain& main = *main_;
  const HWND tile = main.flash().ItemWindow("IDC_FS_wizardMode");
  const RECT atHome = ScreenBox(tile);
  for (const ToolCase& tool : kTools) {
    SCOPED_TRACE(tool.picture);
    for (const bool escape : {true, false}) {
      main.FSCommand(tool.command, "");
      ASSERT_EQ(main.flash().Screen(), MovieScreen::Tool);
      const RECT onToolScreen = ScreenBox(tile);
      EXPECT_FALSE(EqualRect(&atHome, &onToolScreen)) << "the tile stays where it was at home";
      if (escape) {
        SetFocus(GetNextDlgTabItem(ToolOf(tool.command), nullptr, FALSE));
        Press(GetFocus(), VK_ESCAPE);
      } else {
        SendMessageA(main.flash().ItemWindow("IDC_FS_home"), BM_CLICK, 0, 0);
      }
      EXPECT_TRUE(main.MovieInFront());
      EXPECT_EQ(main.flash().Screen(), MovieScreen::Home);
      EXPECT_EQ(GetWindow(main.hwnd(), GW_CHILD), main.flash().hwnd());
      const RECT now = ScreenBox(tile);
      EXPECT_TRUE(EqualRect(&atHome, &now));
      EXPECT_TRUE(main.flash().ChildAreaBox().empty());
    }
  }
  // About from the tool screen, and back: home, the tool window behind it.
  main.FSCommand("IDC_FS_pingSetting", "");
  SendMessageA(main.flash().ItemWindow("IDC_FS_about"), BM_CLICK, 0, 0);
  EXPECT_EQ(main.flash().Screen(), MovieScreen::About);
  SendMessageA(main.flash().ItemWindow("IDC_FS_closeAbout"), BM_CLICK, 0, 0);
  EXPECT_EQ(main.flash().Screen(), MovieScreen::Home);
  EXPECT_TRUE(main.MovieInFront());
}

TEST_F(ToolScreenTest, PicturesOfEveryToolScreenWithEveryTextWhole) {
  frmMain& main = *main_;
  const int dpi = main.Dpi();
  const std::string prefix = dpi == 96 ? std::string() : "dpi-" + std::to_string(dpi) + "-";
  SetWindowPos(main.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  // The pictures as a user sees them with the pointer elsewhere: one left
  // over an item by an earlier test would show that item hot.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  Pump();
  for (const ToolCase& tool : kTools) {
    SCOPED_TRACE(tool.picture);
    main.FSCommand(tool.command, "");
    EXPECT_FALSE(main.flash().ToolTitle().empty());
    const std::vector<std::string> clipped = main.flash().ClippedTexts();
    EXPECT_TRUE(clipped.empty()) << "the movie cuts " << clipped.size() << " texts short, the first: "
                                 << (clipped.empty() ? "" : clipped.front());
    // The child area sits inside the movie, below its band and above its bar.
    RECT movie = ScreenBox(main.flash().hwnd());
    RECT area = ScreenBox(main.framChildWindow());
    EXPECT_GE(area.top - movie.top, ScaleForDpi(84, dpi));
    EXPECT_LE(area.bottom, movie.bottom - ScaleForDpi(56, dpi));
    RedrawWindow(main.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT client{};
    GetClientRect(main.hwnd(), &client);
    const auto pixels = test::CaptureWindow(main.hwnd(), client.right, client.bottom);
    EXPECT_GT(test::DistinctColours(pixels), 8u);
    EXPECT_TRUE(test::WritePng(test::ArtifactPath(prefix + "tool-screen-" + tool.picture + ".png"), client.right,
                               client.bottom, pixels));
  }
  SetWindowPos(main.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

TEST_F(ToolScreenTest, AMoveToTwiceTheDpiPlacesTheChildAreaWhereTheToolScreenSays) {
  frmMain& main = *main_;
  main.FSCommand("IDC_FS_systemSatus", "");
  const int from = main.Dpi();
  const RECT before = ScreenBox(main.framChildWindow());
  RECT box{};
  GetWindowRect(main.hwnd(), &box);
  for (const int dpi : {2 * from, from}) {
    const int old = main.Dpi();
    RECT suggested{box.left, box.top, box.left + RescaleLength(box.right - box.left, old, dpi),
                   box.top + RescaleLength(box.bottom - box.top, old, dpi)};
    SendMessageA(main.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(main.hwnd(), &box);
    const Box placed = main.flash().ChildAreaBox();
    POINT corner{placed.left, placed.top};
    MapWindowPoints(main.flash().hwnd(), nullptr, &corner, 1);
    const RECT area = ScreenBox(main.framChildWindow());
    EXPECT_EQ(area.left, corner.x) << dpi;
    EXPECT_EQ(area.top, corner.y) << dpi;
    EXPECT_EQ(area.right - area.left, ScaleForDpi(kChildAreaWidth, dpi));
    EXPECT_EQ(area.bottom - area.top, ScaleForDpi(255, dpi));
    EXPECT_TRUE(main.flash().ClippedTexts().empty()) << dpi;
  }
  const RECT after = ScreenBox(main.framChildWindow());
  EXPECT_TRUE(EqualRect(&before, &after));
}

}  // namespace
}  // namespace tarvix
