#pragma once
// Child controls of the tool windows built from tables: each row is one real
// control carrying its caption, in tab order, with the program's dialog font.
// The rows are in 96-DPI pixels; each control is made at the DPI of the
// window it is put on (ui/Dpi.h), its font too.
//
//   constexpr ControlSpec kControls[] = {
//       {ControlKind::Frame, IDC_FRAME, "Windows Startup", 8, 8, 424, 90},
//       {ControlKind::CheckBox, IDC_RUN, "Run Main Program when windows start up", 20, 30, 400, 20},
//       {ControlKind::Button, IDC_SAVE, "&Save", 340, 200, 90, 26},
//   };
//   CreateControls(hwnd(), kControls);
#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

enum class ControlKind {
  Button,     // push button
  Label,      // static text
  Frame,      // group box
  CheckBox,   // automatic check box
  Option,     // automatic option (radio) button; WS_GROUP in `style` starts a group
  Edit,       // one-line text box
  ComboList,  // drop-down list
  List,       // list box
  ListView,   // report list view
  Slider,     // trackbar
  UpDown,     // arrows buddied to the control created just before it
};

// The spacing the tool windows' tables share (96 DPI): lengths in steps of
// kGridUnit, kOuterMargin to the window's edge, a frame's content
// kFrameIndent inside its left edge and at least kCaptionClearance below its
// top (the bold frame caption is 16 pixels high in Segoe UI 9 pt), one row
// height for fields, labels and check boxes, one size for push buttons.
// Windows whose height leaves no room keep to kTightCaptionClearance.
namespace grid {
inline constexpr int kGridUnit = 4;
inline constexpr int kOuterMargin = 8;
inline constexpr int kFrameIndent = 12;
inline constexpr int kCaptionClearance = 20;
inline constexpr int kTightCaptionClearance = 18;
inline constexpr int kRowHeight = 20;
inline constexpr int kButtonHeight = 28;
inline constexpr int kButtonWidth = 96;
inline constexpr int kWideButtonWidth = 128;  // where a caption does not fit kButtonWidth
inline constexpr int kButtonGap = 8;
}  // namespace grid

struct ControlSpec {
  ControlKind kind;
  int id;
  std::string_view caption;
  int x, y, width, height;
  DWORD style = 0;  // added to the kind's own styles
};

// Creates one control as a visible child of `parent`, at the parent's DPI;
// null when Windows refused.
HWND CreateControl(HWND parent, const ControlSpec& row) noexcept;
// Creates the rows in order (the order is the tab order).
void CreateControls(HWND parent, std::span<const ControlSpec> specs) noexcept;

// A static text's tabs as columns `column` pixels apart (at 96 DPI, scaled
// to the label's DPI), each piece at least `gap` pixels after the one before
// it. Windows puts tab stops every eight average characters, and a piece that
// ends just short of a stop would touch the next; the columns also keep
// their place at every DPI, which the font's average width does not.
void ShowTabsAsColumns(HWND label, int column, int gap) noexcept;
// Where each tab-separated piece of `widths` starts: the first at 0, each
// next at the first multiple of `column` at least `gap` past the end of the
// one before. `column` 0 or less puts the pieces `gap` apart.
[[nodiscard]] std::vector<int> TabColumnStarts(std::span<const int> widths, int column, int gap);

[[nodiscard]] std::string WindowText(HWND window);
void SetWindowTextTo(HWND window, std::string_view text) noexcept;
[[nodiscard]] bool IsChecked(HWND button) noexcept;
void SetChecked(HWND button, bool checked) noexcept;

}  // namespace tarvix
