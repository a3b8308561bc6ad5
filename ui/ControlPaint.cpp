#include "ui/ControlPaint.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/Handles.h"
#include "ui/SkinGdi.h"

namespace tarvix {
namespace {

// Draws through `draw(dc, client)` into a memory picture first, then copies
// it to `target` in one go, so the control never shows half drawn.
template <class Draw>
void Buffered(HWND window, HDC target, Draw draw) noexcept {
  RECT client{};
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0 || target == nullptr) return;
  const UniqueMemoryDC memory(CreateCompatibleDC(target));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!memory || !bitmap) {
    draw(target, client);
    return;
  }
  const SelectGuard select(memory.get(), bitmap.get());
  draw(memory.get(), client);
  BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

void Fill(HDC dc, const RECT& box, Rgb colour) noexcept {
  const UniqueBrush brush(CreateSolidBrush(ToColorRef(colour)));
  FillRect(dc, &box, brush.get());
}

void Frame(HDC dc, const RECT& box, Rgb colour) noexcept {
  const UniqueBrush brush(CreateSolidBrush(ToColorRef(colour)));
  FrameRect(dc, &box, brush.get());
}

void Triangle(HDC dc, POINT a, POINT b, POINT c, Rgb colour) noexcept {
  const UniqueBrush brush(CreateSolidBrush(ToColorRef(colour)));
  const UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(colour)));
  const SelectGuard selectBrush(dc, brush.get());
  const SelectGuard selectPen(dc, pen.get());
  const POINT points[] = {a, b, c};
  Polygon(dc, points, 3);
}

// A triangle `size` pixels high pointing up or down, centred on `centre`.
void Arrow(HDC dc, POINT centre, int size, bool up, Rgb colour) noexcept {
  const int half = size;
  if (up) {
    Triangle(dc, {centre.x - half, centre.y + size / 2}, {centre.x + half, centre.y + size / 2},
             {centre.x, centre.y - (size + 1) / 2}, colour);
  } else {
    Triangle(dc, {centre.x - half, centre.y - size / 2}, {centre.x + half, centre.y - size / 2},
             {centre.x, centre.y + (size + 1) / 2}, colour);
  }
}

HFONT FontOf(HWND window, const ControlLook& look) noexcept {
  return look.font != nullptr ? look.font : reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

UINT PrefixFlag(HWND window) noexcept {
  return (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0 ? DT_HIDEPREFIX : 0;
}

bool HasFocus(HWND window) noexcept {
  const HWND focus = GetFocus();
  return focus != nullptr && (focus == window || IsChild(window, focus));
}

double Linear(std::uint8_t channel) noexcept {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb c) noexcept { return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b); }

}  // namespace

double ContrastRatio(Rgb a, Rgb b) noexcept {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ControlLook LightPanelLook(Rgb panel) noexcept {
  ControlLook look;
  look.behind = panel;
  look.face = palette::kAccent;
  look.text = palette::kInk;
  look.border = palette::kFieldEdge;
  look.hover = palette::kAccentHover;
  look.pressed = palette::kAccentPressed;
  look.focus = palette::kTitleInk;
  look.field = Rgb{0xFF, 0xFF, 0xFF};
  look.fieldText = palette::kInk;
  look.mark = palette::kOnAccent;
  look.disabled = palette::kDisabledInk;
  return look;
}

bool SystemDrewState(UINT message) noexcept {
  switch (message) {
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
    case BM_CLICK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
    case WM_MOUSEWHEEL:
    case CB_SETCURSEL:
    case TBM_SETPOS:
    case UDM_SETPOS:
    case UDM_SETPOS32:
      return true;
    default:
      return false;
  }
}

void PaintPushButton(HWND button, HDC target, const ControlLook& look, bool hot) noexcept {
  Buffered(button, target, [&](HDC dc, const RECT& client) {
    Fill(dc, client, look.behind);
    const LRESULT state = SendMessageA(button, BM_GETSTATE, 0, 0);
    const bool pressed = (state & BST_PUSHED) != 0;
    const bool focused = (state & BST_FOCUS) != 0 || GetFocus() == button;
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const bool isDefault = (GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    Rgb fill = pressed ? look.pressed : hot ? look.hover : look.face;
    Rgb text = look.mark;
    Rgb edge = isDefault ? look.focus : look.border;
    if (!enabled) {
      fill = MixColour(look.behind, look.face, 80);
      text = look.disabled;
      edge = MixColour(look.behind, look.border, 120);
    }
    const int dpi = WindowDpi(button);
    const int radius = std::max<int>(2, client.bottom / 6);
    FillRoundBox(dc, client, radius, fill, edge);
    if (focused && enabled) {
      const int inset = ScaleForDpi(2, dpi);
      const RECT ring{inset, inset, client.right - inset, client.bottom - inset};
      FrameRoundBox(dc, ring, std::max(1, radius - inset), look.focus, std::max(1, ScaleForDpi(1, dpi)));
    }
    RECT textBox = client;
    if (pressed) OffsetRect(&textBox, 0, 1);
    DrawCaptionIn(dc, WindowText(button), textBox, FontOf(button, look), text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | PrefixFlag(button));
  });
}

int CheckTextOffset(int dpi) noexcept { return ScaleForDpi(13, dpi) + ScaleForDpi(3, dpi); }

void PaintCheckOrOption(HWND button, HDC target, const ControlLook& look) noexcept {
  Buffered(button, target, [&](HDC dc, const RECT& client) {
    Fill(dc, client, look.behind);
    const LONG style = static_cast<LONG>(GetWindowLongPtrA(button, GWL_STYLE));
    const LONG kind = style & BS_TYPEMASK;
    const bool option = kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
    const LRESULT check = SendMessageA(button, BM_GETCHECK, 0, 0);
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const bool pressed = (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const int dpi = WindowDpi(button);
    const int size = ScaleForDpi(13, dpi);
    const RECT box{0, (client.bottom - size) / 2, size, (client.bottom - size) / 2 + size};
    const Rgb face = enabled ? look.face : MixColour(look.behind, look.face, 90);
    const Rgb edge = enabled ? (check != BST_UNCHECKED ? look.face : look.border) : MixColour(look.behind, look.border, 140);
    const Rgb inside = check != BST_UNCHECKED ? face : pressed ? MixColour(look.field, look.face, 60) : look.field;
    const Rgb mark = enabled ? look.mark : MixColour(face, look.mark, 150);
    if (option) {
      const UniqueBrush brush(CreateSolidBrush(ToColorRef(inside)));
      const UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(edge)));
      const SelectGuard selectBrush(dc, brush.get());
      const SelectGuard selectPen(dc, pen.get());
      Ellipse(dc, box.left, box.top, box.right, box.bottom);
      if (check == BST_CHECKED) {
        const int inset = size * 4 / 13;
        const UniqueBrush dot(CreateSolidBrush(ToColorRef(mark)));
        const UniquePen dotPen(CreatePen(PS_SOLID, 1, ToColorRef(mark)));
        const SelectGuard selectDot(dc, dot.get());
        const SelectGuard selectDotPen(dc, dotPen.get());
        Ellipse(dc, box.left + inset, box.top + inset, box.right - inset, box.bottom - inset);
      }
    } else {
      FillRoundBox(dc, box, std::max(1, size / 6), inside, edge);
      if (check == BST_CHECKED) {
        const int s = size;
        const UniquePen pen(CreatePen(PS_SOLID, std::max(2, s / 6), ToColorRef(mark)));
        const SelectGuard selectPen(dc, pen.get());
        const POINT tick[] = {{box.left + s * 3 / 13, box.top + s * 7 / 13},
                              {box.left + s * 5 / 13, box.top + s * 9 / 13},
                              {box.left + s * 10 / 13, box.top + s * 4 / 13}};
        Polyline(dc, tick, 3);
      } else if (check == BST_INDETERMINATE) {
        const RECT bar{box.left + size / 4, box.top + size * 6 / 13, box.right - size / 4, box.top + size * 8 / 13};
        Fill(dc, bar, mark);
      }
    }
    // The caption, vertically centred beside the box; wrapped when the
    // control asks for several lines.
    const HFONT font = FontOf(button, look);
    const std::string text = WindowText(button);
    const bool multiline = (style & BS_MULTILINE) != 0;
    const UINT flags = (multiline ? DT_WORDBREAK : DT_SINGLELINE) | DT_LEFT | PrefixFlag(button);
    RECT textBox{CheckTextOffset(dpi), 0, client.right, client.bottom};
    RECT needed = textBox;
    {
      const SelectGuard selectFont(dc, font);
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, flags | DT_CALCRECT);
    }
    const int height = std::min<int>(needed.bottom - needed.top, client.bottom);
    textBox.top = (client.bottom - height) / 2;
    textBox.bottom = textBox.top + height;
    DrawCaptionIn(dc, text, textBox, font, enabled ? look.text : look.disabled, flags);
    if (HasFocus(button)) {
      const int pad = ScaleForDpi(2, dpi);
      RECT ring{textBox.left - pad, textBox.top - 1, std::min<LONG>(needed.right + pad, client.right), textBox.bottom + 1};
      ring.top = std::max<LONG>(ring.top, 0);
      ring.bottom = std::min<LONG>(ring.bottom, client.bottom);
      Frame(dc, ring, look.focus);
    }
  });
}

namespace {

// The group box on `dc`, its font selected once for the whole of it; only
// the strip that holds its caption when `stripOnly`.
void DrawGroupBox(HWND box, HDC dc, const ControlLook& look, bool stripOnly) noexcept {
  RECT client{};
  GetClientRect(box, &client);
  const HFONT font = FontOf(box, look);
  const SelectGuard selectFont(dc, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int captionHeight = metrics.tmHeight;
  if (stripOnly) IntersectClipRect(dc, client.left, client.top, client.right, client.top + captionHeight);
  Fill(dc, {client.left, client.top, client.right, client.top + captionHeight}, look.behind);
  const RECT frame{client.left, client.top + captionHeight / 2, client.right, client.bottom};
  FrameRoundBox(dc, frame, 4, look.border, 1);
  const std::string caption = WindowText(box);
  if (caption.empty()) return;
  const int dpi = WindowDpi(box);
  RECT measured{0, 0, client.right, client.bottom};
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
  const int width = measured.right - measured.left;
  RECT label{client.left + ScaleForDpi(8, dpi), client.top, client.left + ScaleForDpi(16, dpi) + width,
             client.top + captionHeight};
  label.left += ScaleForDpi(4, dpi);
  DrawCaptionIn(dc, caption, label, font, IsWindowEnabled(box) ? look.text : look.disabled,
          DT_LEFT | DT_TOP | DT_SINGLELINE | PrefixFlag(box));
}

}  // namespace

void PaintGroupBox(HWND box, HDC dc, const ControlLook& look) noexcept { DrawGroupBox(box, dc, look, false); }

void PaintGroupBoxCaption(HWND box, const ControlLook& look) noexcept {
  const WindowDC dc(box);
  if (dc.get() != nullptr) DrawGroupBox(box, dc.get(), look, true);
}

void PaintFieldEdge(HWND field, const ControlLook& look) noexcept {
  RECT outer{};
  GetWindowRect(field, &outer);
  OffsetRect(&outer, -outer.left, -outer.top);
  const WindowDC dc(field, true);
  if (dc.get() == nullptr) return;
  const bool enabled = IsWindowEnabled(field) != FALSE;
  Frame(dc.get(), outer, HasFocus(field) && enabled ? look.focus : look.border);
  InflateRect(&outer, -1, -1);
  Frame(dc.get(), outer, enabled ? look.field : look.behind);
}

void RedrawFieldEdgeAfter(HWND field, UINT message) noexcept {
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE) {
    RedrawWindow(field, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

void PaintDropDown(HWND combo, HDC target, const ControlLook& look) noexcept {
  Buffered(combo, target, [&](HDC dc, const RECT& client) {
    const bool enabled = IsWindowEnabled(combo) != FALSE;
    const bool focused = HasFocus(combo) && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == FALSE;
    const int dpi = WindowDpi(combo);
    FillRoundBox(dc, client, ScaleForDpi(2, dpi), enabled ? look.field : look.behind,
                 focused ? look.focus : look.border);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    RECT button{client.right - GetSystemMetrics(SM_CXVSCROLL) - 2, 2, client.right - 2, client.bottom - 2};
    RECT item{3, 3, button.left - 1, client.bottom - 3};
    if (GetComboBoxInfo(combo, &info) != FALSE) {
      button = info.rcButton;
      item = info.rcItem;
    }
    const Rgb text = enabled ? look.fieldText : look.disabled;
    const int arrow = std::max(2, ScaleForDpi(3, dpi));
    Arrow(dc, {(button.left + button.right) / 2, (button.top + button.bottom) / 2}, arrow, false, text);
    const LRESULT chosen = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) return;
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen), 0);
    if (length == CB_ERR || length <= 0) return;
    std::string caption(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(chosen),
                                     reinterpret_cast<LPARAM>(caption.data()));
    caption.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (focused && enabled) Fill(dc, item, look.pressed);
    RECT textBox = item;
    textBox.left += ScaleForDpi(2, dpi);
    DrawTextIn(dc, caption, textBox, FontOf(combo, look), focused && enabled ? look.mark : text,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  });
}

void PaintUpDown(HWND upDown, HDC target, const ControlLook& look) noexcept {
  Buffered(upDown, target, [&](HDC dc, const RECT& client) {
    Fill(dc, client, look.behind);
    const bool enabled = IsWindowEnabled(upDown) != FALSE;
    // The half held down: the control keeps the mouse while an arrow is pressed.
    int held = -1;
    if (GetCapture() == upDown && (GetKeyState(VK_LBUTTON) & 0x8000) != 0) {
      POINT cursor{};
      GetCursorPos(&cursor);
      ScreenToClient(upDown, &cursor);
      held = cursor.y < client.bottom / 2 ? 0 : 1;
    }
    const int dpi = WindowDpi(upDown);
    const int size = std::max(2, ScaleForDpi(3, dpi));
    for (int half = 0; half < 2; ++half) {
      const RECT box{0, half == 0 ? 0 : client.bottom / 2, client.right, half == 0 ? client.bottom / 2 + 1 : client.bottom};
      FillRoundBox(dc, box, ScaleForDpi(2, dpi), held == half ? look.pressed : enabled ? look.field : look.behind,
                   look.border);
      Arrow(dc, {(box.left + box.right) / 2, (box.top + box.bottom) / 2}, size, half == 0,
            !enabled ? look.disabled : held == half ? look.mark : look.fieldText);
    }
  });
}

void PaintSlider(HWND slider, HDC target, const ControlLook& look) noexcept {
  Buffered(slider, target, [&](HDC dc, const RECT& client) {
    Fill(dc, client, look.behind);
    const bool enabled = IsWindowEnabled(slider) != FALSE;
    const int dpi = WindowDpi(slider);
    RECT channel{};
    SendMessageA(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    RECT thumb{};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int middle = (thumb.top + thumb.bottom) / 2;
    const int half = std::max(2, ScaleForDpi(2, dpi));
    const RECT track{channel.left, middle - half, channel.right, middle + half};
    FillRoundBox(dc, track, half, enabled ? look.field : look.behind, look.border);
    // The part up to the thumb in the face colour, as a filled gauge.
    const RECT gauge{channel.left, middle - half, (thumb.left + thumb.right) / 2, middle + half};
    if (enabled && gauge.right > gauge.left + 2 * half) FillRoundBox(dc, gauge, half, look.face, look.face);

    const LONG style = static_cast<LONG>(GetWindowLongPtrA(slider, GWL_STYLE));
    if ((style & TBS_NOTICKS) == 0) {
      const LONG low = static_cast<LONG>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
      const LONG high = static_cast<LONG>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
      const int width = thumb.right - thumb.left;
      const auto at = [&](LONG value) {
        if (high <= low) return static_cast<int>(channel.left + width / 2);
        return static_cast<int>(channel.left + width / 2 +
                                MulDiv(value - low, channel.right - channel.left - width, high - low));
      };
      std::vector<LONG> values{low};
      const auto count = static_cast<int>(SendMessageA(slider, TBM_GETNUMTICS, 0, 0));
      const auto* inner = reinterpret_cast<const DWORD*>(SendMessageA(slider, TBM_GETPTICS, 0, 0));
      for (int i = 0; inner != nullptr && i < count - 2; ++i) values.push_back(static_cast<LONG>(inner[i]));
      values.push_back(high);
      const int top = thumb.bottom + ScaleForDpi(2, dpi);
      const int length = ScaleForDpi(3, dpi);
      for (const LONG value : values) {
        const int x = at(value);
        const RECT tick{x, top, x + std::max(1, ScaleForDpi(1, dpi)), std::min<LONG>(top + length, client.bottom)};
        Fill(dc, tick, look.border);
      }
    }
    const Rgb face = enabled ? look.face : MixColour(look.behind, look.face, 90);
    FillRoundBox(dc, thumb, ScaleForDpi(3, dpi), face, enabled ? look.mark : look.border);
    if (HasFocus(slider)) {
      RECT ring = thumb;
      InflateRect(&ring, ScaleForDpi(2, dpi), ScaleForDpi(2, dpi));
      FrameRoundBox(dc, ring, ScaleForDpi(4, dpi), look.focus, std::max(1, ScaleForDpi(1, dpi)));
    }
  });
}

void PaintListHeader(HWND header, HDC target, const ControlLook& look) noexcept {
  Buffered(header, target, [&](HDC dc, const RECT& client) {
    const Rgb fill = MixColour(look.field, look.border, 50);
    Fill(dc, client, fill);
    const RECT line{client.left, client.bottom - 1, client.right, client.bottom};
    Fill(dc, line, look.border);
    const int dpi = WindowDpi(header);
    const HFONT font = FontOf(header, look);
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT box{};
      if (SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&box)) == FALSE) continue;
      char text[128] = {};
      HDITEMA item{};
      item.mask = HDI_TEXT | HDI_FORMAT;
      item.pszText = text;
      item.cchTextMax = static_cast<int>(sizeof text);
      SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      const RECT separator{box.right - 1, box.top + ScaleForDpi(4, dpi), box.right, box.bottom - ScaleForDpi(4, dpi)};
      Fill(dc, separator, look.border);
      RECT textBox{box.left + ScaleForDpi(6, dpi), box.top, box.right - ScaleForDpi(6, dpi), box.bottom};
      const bool sorted = (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) != 0;
      if (sorted) {
        const int size = std::max(2, ScaleForDpi(3, dpi));
        const POINT centre{box.right - ScaleForDpi(12, dpi), (box.top + box.bottom) / 2};
        Arrow(dc, centre, size, (item.fmt & HDF_SORTUP) != 0, look.fieldText);
        textBox.right = centre.x - ScaleForDpi(8, dpi);
      }
      DrawTextIn(dc, text, textBox, font, look.fieldText,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  });
}

}  // namespace tarvix
