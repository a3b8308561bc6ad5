// The tool windows share one spacing grid, checked on what Windows made of
// the tables at this DPI, in the real main window: each frame's caption
// clear of what lies under it, one size for push buttons, no edges that
// miss each other by a pixel or three, nothing overlapping but controls
// lying in their frame. Every page of the advanced editor is checked.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/CommandTable.h"
#include "app/MainWindowTest.h"
#include "app/frmMain.h"
#include "optimizer/frmNormalMode.h"
#include "ui/Dpi.h"

namespace tarvix {
namespace {

constexpr int kButtonHeight = 28;
constexpr int kButtonWidths[] = {96, 128};

struct Control {
  HWND window;
  RECT box;  // in the tool window's client pixels
  std::string name;
};

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, static_cast<int>(sizeof name));
  return name;
}

LONG ButtonKind(HWND window) {
  return lstrcmpiA(ClassOf(window).c_str(), "Button") == 0 ? GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK : -1;
}

bool IsFrame(HWND window) { return ButtonKind(window) == BS_GROUPBOX; }
bool IsCommandButton(HWND window) {
  const LONG kind = ButtonKind(window);
  return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}
// The field an up-down control is buddied to; null for other controls.
HWND ArrowsOf(HWND window) {
  if (ClassOf(window) != UPDOWN_CLASSA) return nullptr;
  return reinterpret_cast<HWND>(SendMessageA(window, UDM_GETBUDDY, 0, 0));
}
bool IsLabel(HWND window) { return lstrcmpiA(ClassOf(window).c_str(), "Static") == 0; }

// The visible controls of a tool window, as boxes in its client area.
std::vector<Control> VisibleControls(HWND tool) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(tool, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, tool, reinterpret_cast<POINT*>(&box), 2);
    char text[48] = {};
    GetWindowTextA(child, text, static_cast<int>(sizeof text));
    controls.push_back({child, box, ClassOf(child) + " \"" + text + "\""});
  }
  return controls;
}

// The height and width of a frame's caption in its own font.
SIZE CaptionSize(HWND frame) {
  const HDC dc = GetDC(frame);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(frame, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  char text[128] = {};
  const int length = GetWindowTextA(frame, text, static_cast<int>(sizeof text));
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, length, &extent);
  SelectObject(dc, old);
  ReleaseDC(frame, dc);
  return {extent.cx, metrics.tmHeight};
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}
bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool SameRow(const RECT& a, const RECT& b) { return a.top < b.bottom && b.top < a.bottom; }

// Every rule of the grid on one tool window (one page of it) as it stands.
void ExpectOnTheGrid(HWND tool, int dpi) {
  const std::vector<Control> controls = VisibleControls(tool);
  ASSERT_GE(controls.size(), 2u);
  const int slack = dpi == kDesignDpi ? 0 : 1;  // edges are scaled one by one
  const int nearMiss = ScaleForDpi(3, dpi);
  for (const Control& frame : controls) {
    if (!IsFrame(frame.window)) continue;
    const SIZE caption = CaptionSize(frame.window);
    for (const Control& control : controls) {
      if (control.window == frame.window || !Inside(control.box, frame.box)) continue;
      // A label may stand on the caption's row beside the caption.
      const bool besideCaption = IsLabel(control.window) && control.box.top < frame.box.top + caption.cy &&
                                 control.box.left >= frame.box.left + ScaleForDpi(8, dpi) + caption.cx;
      if (besideCaption) continue;
      EXPECT_GE(control.box.top - frame.box.top, caption.cy + ScaleForDpi(2, dpi))
          << control.name << " lies under the caption of " << frame.name << " (caption " << caption.cy << " px)";
    }
  }
  for (const Control& button : controls) {
    if (!IsCommandButton(button.window)) continue;
    const int width = button.box.right - button.box.left, height = button.box.bottom - button.box.top;
    EXPECT_LE(std::abs(height - ScaleForDpi(kButtonHeight, dpi)), slack) << button.name << " is " << height << " high";
    bool oneOfTheWidths = false;
    for (const int wanted : kButtonWidths) oneOfTheWidths |= std::abs(width - ScaleForDpi(wanted, dpi)) <= slack;
    EXPECT_TRUE(oneOfTheWidths) << button.name << " is " << width << " wide";
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const Control& a = controls[i];
      const Control& b = controls[j];
      const int left = std::abs(a.box.left - b.box.left);
      EXPECT_FALSE(left >= 1 && left <= nearMiss) << a.name << " and " << b.name << ": left edges " << left << " apart";
      const int top = std::abs(a.box.top - b.box.top);
      EXPECT_FALSE(SameRow(a.box, b.box) && top >= 1 && top <= nearMiss)
          << a.name << " and " << b.name << ": top edges " << top << " apart in one row";
      const bool framed = (IsFrame(a.window) && Inside(b.box, a.box)) || (IsFrame(b.window) && Inside(a.box, b.box));
      // Arrows sit on their field's edge as one control.
      const bool arrows = ArrowsOf(a.window) == b.window || ArrowsOf(b.window) == a.window;
      EXPECT_FALSE(Overlap(a.box, b.box) && !framed && !arrows) << a.name << " overlaps " << b.name;
    }
  }
}

class LayoutGridTest : public testing::MainWindowTest {};

TEST_F(LayoutGridTest, EveryToolWindowAndPageKeepsToTheGrid) {
  frmMain& main = Start();
  int checked = 0;
  for (const CommandRow& row : kCommandTable) {
    if (!row.shows) continue;
    SCOPED_TRACE(std::string(row.text));
    main.FSCommand(row.text, "");
    const HWND tool = main.ToolWindows().Get(*row.shows)->Window();
    ASSERT_NE(tool, nullptr);
    if (*row.shows != ToolWindow::NormalMode) {
      ExpectOnTheGrid(tool, main.Dpi());
      ++checked;
      continue;
    }
    // The editor's pages, walked with Next up to the last (Next there would apply).
    SendMessageA(GetDlgItem(tool, frmNormalMode::IDC_optConnType0 + 1), BM_CLICK, 0, 0);
    for (int page = 0; page < frmNormalMode::kPageCount; ++page) {
      SCOPED_TRACE("page " + std::to_string(page + 1));
      if (page > 0) SendMessageA(GetDlgItem(tool, frmNormalMode::IDC_cmdNextPage), BM_CLICK, 0, 0);
      ASSERT_TRUE(IsWindowVisible(GetDlgItem(tool, frmNormalMode::IDC_frmWizardPages0 + page)));
      ExpectOnTheGrid(tool, main.Dpi());
      ++checked;
    }
  }
  EXPECT_EQ(checked, 6 + frmNormalMode::kPageCount);
}

}  // namespace
}  // namespace tarvix
