// The tool windows in the real main window, as the user sees them on the
// screen: every control of every tool window (each page of the advanced
// editor included) is drawn in the main window's dark palette, none left in
// the system's light colours, and the keyboard focus shows on every control
// it can reach.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/CommandTable.h"
#include "app/MainWindowTest.h"
#include "optimizer/frmNormalMode.h"
#include "support/Screenshot.h"

namespace tarvix {
namespace {

class LookTest : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Start();
    SetWindowPos(main_->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  void TearDown() override {
    if (main_) SetWindowPos(main_->hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    MainWindowTest::TearDown();
  }

  void Settle() {
    RedrawWindow(main_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  // What the screen shows of a control, its edge included.
  static std::vector<std::uint8_t> Picture(HWND control) {
    RECT box{};
    GetWindowRect(control, &box);
    return test::CaptureScreenArea(box.left, box.top, box.right - box.left, box.bottom - box.top);
  }

  // The share of a picture's pixels that are light (the system's grey
  // faces and white fields are; the palette's panel, fields and accent
  // are not, and text is a small part of any control).
  static double LightShare(const std::vector<std::uint8_t>& rgb) {
    if (rgb.empty()) return 0;
    std::size_t light = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
      if (rgb[i] * 299 + rgb[i + 1] * 587 + rgb[i + 2] * 114 > 160 * 1000) ++light;
    }
    return static_cast<double>(light) / static_cast<double>(rgb.size() / 3);
  }

  static std::string Describe(HWND control) {
    char className[32] = {}, caption[64] = {};
    GetClassNameA(control, className, static_cast<int>(sizeof className));
    GetWindowTextA(control, caption, static_cast<int>(sizeof caption));
    return std::string(className) + " \"" + caption + "\" (id " + std::to_string(GetDlgCtrlID(control)) + ")";
  }

  static std::vector<HWND> VisibleControls(HWND window) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT box{};
      GetWindowRect(child, &box);
      if (IsWindowVisible(child) && box.right > box.left && box.bottom > box.top) controls.push_back(child);
    }
    return controls;
  }

  // Each tool window shown in turn, and each page of the advanced editor.
  template <class Check>
  void ForEveryToolScreen(Check check) {
    for (const CommandRow& row : kCommandTable) {
      if (!row.shows) continue;
      main_->FSCommand(row.text, "");
      IToolWindow* tool = main_->ToolWindows().Get(*row.shows);
      ASSERT_NE(tool, nullptr);
      const HWND window = tool->Window();
      if (*row.shows != ToolWindow::NormalMode) {
        Settle();
        check(window, std::string(row.text));
        continue;
      }
      for (int page = 0; page < frmNormalMode::kPageCount; ++page) {
        if (page > 0) SendMessageA(GetDlgItem(window, frmNormalMode::IDC_cmdNextPage), BM_CLICK, 0, 0);
        Settle();
        check(window, std::string(row.text) + " page " + std::to_string(page + 1));
      }
    }
  }
};

TEST_F(LookTest, EveryControlOfEveryToolWindowIsDrawnInTheDarkPalette) {
  int looked = 0;
  ForEveryToolScreen([&](HWND window, const std::string& where) {
    EXPECT_LT(LightShare(Picture(window)), 0.2) << where << " looks like a light panel";
    for (const HWND control : VisibleControls(window)) {
      EXPECT_LT(LightShare(Picture(control)), 0.3) << where << ": " << Describe(control) << " keeps a light face";
      ++looked;
    }
  });
  EXPECT_GT(looked, 100);
}

TEST_F(LookTest, TheKeyboardFocusShowsOnEveryControlItReaches) {
  int looked = 0;
  ForEveryToolScreen([&](HWND window, const std::string& where) {
    // A control that cannot take the focus stands in as "elsewhere".
    const HWND elsewhere = main_->hwnd();
    for (const HWND control : VisibleControls(window)) {
      const LONG style = GetWindowLongA(control, GWL_STYLE);
      if ((style & WS_TABSTOP) == 0 || !IsWindowEnabled(control)) continue;
      SetFocus(elsewhere);
      Settle();
      const auto without = Picture(control);
      SetFocus(control);
      Settle();
      if (GetFocus() != control) continue;  // a control that hands the focus on
      EXPECT_NE(Picture(control), without) << where << ": " << Describe(control) << " shows no focus";
      ++looked;
    }
    SetFocus(elsewhere);
  });
  EXPECT_GT(looked, 30);
}

}  // namespace
}  // namespace tarvix
