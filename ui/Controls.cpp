#include "ui/Controls.h"

#include <commctrl.h>

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
    // Transparent, so that a parent with WS_CLIPCHILDREN still paints its
    // background inside the box: a group box draws only its line and caption.
    case ControlKind::Frame: return {"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT};
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

HFONT DialogFont() noexcept {
  static const UniqueFont font = [] {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      return UniqueFont(CreateFontIndirectA(&metrics.lfMessageFont));
    }
    return UniqueFont();
  }();
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND CreateControl(HWND parent, const ControlSpec& spec) noexcept {
  const KindStyle kind = StyleOf(spec.kind);
  const std::string caption(spec.caption);
  const HWND control = CreateWindowExA(kind.exStyle, kind.className, caption.c_str(),
                                       WS_CHILD | WS_VISIBLE | kind.style | spec.style, spec.x, spec.y, spec.width,
                                       spec.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                       GetModuleHandleA(nullptr), nullptr);
  if (control != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  return control;
}

void CreateControls(HWND parent, std::span<const ControlSpec> specs) noexcept {
  for (const ControlSpec& spec : specs) (void)CreateControl(parent, spec);
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
