#include "ui/Controls.h"

#include <commctrl.h>

#include "ui/Dpi.h"
#include "ui/Handles.h"

namespace tarvix {
namespace {

struct KindStyle {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

KindStyle StyleOf(ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::Button: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Label: return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Frame: return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::Option: return {"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::Edit: return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ComboList: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::List: return {"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ListView:
      return {WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::Slider: return {TRACKBAR_CLASSA, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0};
    case ControlKind::UpDown:
      return {UPDOWN_CLASSA, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_NOTHOUSANDS, 0};
  }
  return {"STATIC", 0, 0};
}

}  // namespace

HWND CreateControl(HWND parent, const ControlSpec& row) noexcept {
  const KindStyle kind = StyleOf(row.kind);
  const std::string caption(row.caption);
  const int dpi = WindowDpi(parent);
  const auto px = [dpi](int length) { return ScaleForDpi(length, dpi); };
  // Edges are scaled, not sizes, so that controls that meet at 96 DPI meet at every DPI.
  const int left = px(row.x), top = px(row.y);
  const HWND control = CreateWindowExA(kind.exStyle, kind.className, caption.c_str(),
                                       WS_CHILD | WS_VISIBLE | kind.style | row.style, left, top,
                                       px(row.x + row.width) - left, px(row.y + row.height) - top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                       GetModuleHandleA(nullptr), nullptr);
  if (control != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFontFor(dpi)), FALSE);
  return control;
}

void CreateControls(HWND parent, std::span<const ControlSpec> specs) noexcept {
  for (const ControlSpec& row : specs) (void)CreateControl(parent, row);
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetWindowTextTo(HWND window, std::string_view text) noexcept {
  const std::string copy(text);
  SetWindowTextA(window, copy.c_str());
}

bool IsChecked(HWND button) noexcept { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) noexcept {
  SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace tarvix
