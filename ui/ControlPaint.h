#pragma once
// The program's own faces for the standard controls, in the colours of one
// look: push buttons, check boxes and option buttons, group boxes, the edge
// of text boxes and lists, drop-down lists, up-down arrows, sliders and list
// headers. The controls stay the system's own windows (their captions, ids,
// keyboard and automation unchanged); only their painting is replaced, by a
// subclass that calls these from WM_PAINT, WM_PRINTCLIENT or WM_NCPAINT.
//
//   case WM_PAINT: { const PaintDC dc(button); PaintPushButton(button, dc.get(), look, hot); return 0; }
//
// Each function draws the whole control, off screen first, so that nothing
// of the system's face shows through.
#include <windows.h>

#include "base/TextFile.h"
#include "ui/Handles.h"

namespace tarvix {

struct ControlLook {
  Rgb behind{0xF4, 0xF6, 0xFA};     // the parent's background around the control
  Rgb face{0x1E, 0x6F, 0xD9};       // a button's fill; a slider's thumb; a ticked box
  Rgb text{0x1F, 0x2A, 0x37};       // captions
  Rgb border{0xC8, 0xD3, 0xE0};     // edges of buttons, boxes, fields and frames
  Rgb hover{0x2B, 0x7F, 0xEA};      // a button under the mouse
  Rgb pressed{0x16, 0x56, 0xA8};    // a button held down; a chosen list row
  Rgb focus{0x0B, 0x2E, 0x5C};      // the keyboard focus ring
  Rgb field{0xFF, 0xFF, 0xFF};      // inside text boxes, lists, boxes and channels
  Rgb fieldText{0x1F, 0x2A, 0x37};  // text inside fields
  Rgb mark{0xFF, 0xFF, 0xFF};       // the tick, the dot, an arrow on a face
  Rgb disabled{0x6D, 0x78, 0x86};   // text of a control that is switched off
  HFONT font = nullptr;             // null: the control's own font
};

// The program's accent and ink, shared by the balloon boxes; the skin file
// gives the tool windows the same values.
namespace palette {
inline constexpr Rgb kAccent{0x1F, 0x6B, 0xD0};         // buttons, ticked boxes
inline constexpr Rgb kAccentHover{0x22, 0x70, 0xD6};
inline constexpr Rgb kAccentPressed{0x16, 0x56, 0xA8};
inline constexpr Rgb kAccentEdge{0x3F, 0x8B, 0xEA};
inline constexpr Rgb kOnAccent{0xFF, 0xFF, 0xFF};       // text on the accent
inline constexpr Rgb kFieldEdge{0x5F, 0x7B, 0xA3};      // edges of boxes and fields
inline constexpr Rgb kTitleInk{0x12, 0x3A, 0x6E};       // titles on a light panel (the band's blue)
inline constexpr Rgb kInk{0x1F, 0x2A, 0x37};            // text on a light panel
inline constexpr Rgb kDisabledInk{0x5E, 0x6B, 0x7D};    // switched-off text on a light panel
}  // namespace palette

// The look of controls on a light panel of colour `panel` (the balloon
// boxes): the accent buttons and boxes of the tool windows, dark ink.
[[nodiscard]] ControlLook LightPanelLook(Rgb panel) noexcept;

// Whether the system draws a button's, box's or field's state at once after
// this message, outside WM_PAINT, so that the program's face must be
// painted again over it.
[[nodiscard]] bool SystemDrewState(UINT message) noexcept;

// Calls `paint(dc)` with the DC a WM_PRINTCLIENT brings or, for WM_PAINT,
// the window's own between BeginPaint and EndPaint.
template <class Paint>
void PaintFor(HWND window, UINT message, WPARAM wParam, Paint paint) noexcept {
  if (message == WM_PRINTCLIENT) {
    paint(reinterpret_cast<HDC>(wParam));
    return;
  }
  const PaintDC dc(window);
  paint(dc.get());
}

// A text box's or list's edge follows its focus and whether it is switched
// on: after these messages it is drawn again.
void RedrawFieldEdgeAfter(HWND field, UINT message) noexcept;

// WCAG's contrast ratio of two colours, from 1 (the same) to 21.
[[nodiscard]] double ContrastRatio(Rgb a, Rgb b) noexcept;

void PaintPushButton(HWND button, HDC dc, const ControlLook& look, bool hot) noexcept;
// Check boxes and option buttons: the box or circle, its mark, the caption
// (grey when switched off, wrapped for BS_MULTILINE) and a focus ring.
void PaintCheckOrOption(HWND button, HDC dc, const ControlLook& look) noexcept;
// The space a check box or option button keeps left of its caption, at `dpi`.
[[nodiscard]] int CheckTextOffset(int dpi) noexcept;
// Group boxes: the rounded edge and the caption on a strip as wide as the
// box, so that a new caption covers the whole of the last one.
void PaintGroupBox(HWND box, HDC dc, const ControlLook& look) noexcept;
// Paints again only the strip along a shown group box's top that holds its
// caption, straight to the screen: for a new caption, without the update
// region's round trips (under Wine several per paint) that a redraw costs.
void PaintGroupBoxCaption(HWND box, const ControlLook& look) noexcept;
// The two-pixel edge of a text box or list (WM_NCPAINT of WS_EX_CLIENTEDGE
// controls): `border`, or `focus` while the control has the keyboard focus.
void PaintFieldEdge(HWND field, const ControlLook& look) noexcept;
void PaintDropDown(HWND combo, HDC dc, const ControlLook& look) noexcept;
void PaintUpDown(HWND upDown, HDC dc, const ControlLook& look) noexcept;
void PaintSlider(HWND slider, HDC dc, const ControlLook& look) noexcept;
void PaintListHeader(HWND header, HDC dc, const ControlLook& look) noexcept;

}  // namespace tarvix
