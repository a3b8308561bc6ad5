#include "support/TextFits.h"

#include <algorithm>

#include "ui/ControlPaint.h"
#include "ui/Dpi.h"

namespace tarvix::test {

// Why a control's text does not fit its client rectangle, measured with the
// control's own font as the control draws it; empty when it fits.
std::string TextDoesNotFit(HWND control) {
  char className[32] = {};
  GetClassNameA(control, className, static_cast<int>(sizeof className));
  const std::string text = [control] {
    char buffer[1024] = {};
    GetWindowTextA(control, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer);
  }();
  if (text.empty()) return {};
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  RECT client{};
  GetClientRect(control, &client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  UINT flags = DT_CALCRECT | DT_EXPANDTABS;
  if (lstrcmpiA(className, "Static") == 0) {
    const LONG kind = style & SS_TYPEMASK;
    if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_SIMPLE && kind != SS_LEFTNOWORDWRAP) {
      return {};
    }
    flags |= (kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP || (style & SS_CENTERIMAGE) != 0) ? DT_SINGLELINE
                                                                                            : DT_WORDBREAK;
    if ((style & SS_NOPREFIX) != 0) flags |= DT_NOPREFIX;
  } else if (lstrcmpiA(className, "Button") == 0) {
    const LONG kind = style & BS_TYPEMASK;
    // The box and gap before the caption: the system's, or the program's
    // own when it paints the control itself, whichever is wider.
    const int check = std::max(GetSystemMetrics(SM_CXMENUCHECK) + 4, CheckTextOffset(WindowDpi(control)));
    switch (kind) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON: width -= 8; height -= 4; break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: width -= check; break;
      case BS_GROUPBOX: width -= 16; break;
      default: return {};  // owner-drawn: the program draws it itself
    }
    flags |= (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
  } else {
    return {};
  }
  const HDC dc = GetDC(control);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  RECT needed{0, 0, width, 0};
  DrawTextA(dc, text.c_str(), -1, &needed, flags);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  const bool groupBox = (style & BS_TYPEMASK) == BS_GROUPBOX && lstrcmpiA(className, "Button") == 0;
  if (needed.right - needed.left <= width && (groupBox || needed.bottom - needed.top <= height)) return {};
  return "\"" + text + "\" needs " + std::to_string(needed.right - needed.left) + " x " +
         std::to_string(needed.bottom - needed.top) + ", has " + std::to_string(width) + " x " + std::to_string(height);
}

std::vector<HWND> AllChildren(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace tarvix::test
