#include "ui/Controls.h"

#include <commctrl.h>

#include <new>

#include "ui/Dpi.h"
#include "ui/Handles.h"
#include "ui/Subclass.h"

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

struct TabColumns {
  int column;
  int gap;
};
constexpr UINT_PTR kTabColumnsSubclassId = 0x7443;  // "tC"

void PaintTabColumns(HWND label, const TabColumns& layout) noexcept {
  const PaintDC paint(label);
  if (paint.get() == nullptr) return;
  RECT client{};
  GetClientRect(label, &client);
  // The colours the parent gives a static text (the skin's among them).
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(label), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(paint.get()),
                                                           reinterpret_cast<LPARAM>(label)));
  FillRect(paint.get(), &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
  const SelectGuard font(paint.get(), reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  SetBkMode(paint.get(), TRANSPARENT);
  TEXTMETRICA metrics{};
  GetTextMetricsA(paint.get(), &metrics);
  const int dpi = WindowDpi(label);
  const int column = ScaleForDpi(layout.column, dpi), gap = ScaleForDpi(layout.gap, dpi);
  const std::string text = WindowText(label);
  int top = 0;
  for (std::size_t start = 0; start <= text.size() && top < client.bottom;) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> pieces;
    std::vector<int> widths;
    for (std::size_t from = 0;;) {
      const std::size_t tab = line.find('\t', from);
      const std::string_view piece = line.substr(from, tab == std::string_view::npos ? line.npos : tab - from);
      SIZE size{};
      GetTextExtentPoint32A(paint.get(), piece.data(), static_cast<int>(piece.size()), &size);
      pieces.push_back(piece);
      widths.push_back(size.cx);
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    const std::vector<int> starts = TabColumnStarts(widths, column, gap);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (!pieces[i].empty()) {
        TextOutA(paint.get(), starts[i], top, pieces[i].data(), static_cast<int>(pieces[i].size()));
      }
    }
    top += metrics.tmHeight;
    start = end + 1;
  }
}

LRESULT CALLBACK TabColumnsProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                DWORD_PTR data) noexcept {
  const auto* layout = reinterpret_cast<const TabColumns*>(data);
  switch (message) {
    case WM_PAINT:
      PaintTabColumns(label, *layout);
      return 0;
    case WM_SETTEXT: {
      // The static text repaints only what its own layout covers.
      const LRESULT result = DefSubclass(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveSubclass(label, &TabColumnsProc, kTabColumnsSubclassId);
      delete layout;
      break;
    default:
      break;
  }
  return DefSubclass(label, message, wParam, lParam);
}

}  // namespace

void ShowTabsAsColumns(HWND label, int column, int gap) noexcept {
  if (label == nullptr) return;
  auto* layout = new (std::nothrow) TabColumns{column, gap};
  if (layout == nullptr) return;
  if (!AddSubclass(label, &TabColumnsProc, kTabColumnsSubclassId, reinterpret_cast<DWORD_PTR>(layout))) {
    delete layout;
    return;
  }
  InvalidateRect(label, nullptr, TRUE);
}

std::vector<int> TabColumnStarts(std::span<const int> widths, int column, int gap) {
  std::vector<int> starts;
  starts.reserve(widths.size());
  int x = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    starts.push_back(x);
    const int end = x + widths[i] + gap;
    x = column > 0 ? (end + column - 1) / column * column : end;
  }
  return starts;
}

HWND CreateControl(HWND parent, const ControlSpec& row) noexcept {
  const KindStyle kind = StyleOf(row.kind);
  const std::string caption(row.caption);
  const int dpi = WindowDpi(parent);
  const RECT box = ScaleBoxForDpi(row.x, row.y, row.width, row.height, dpi);
  const HWND control = CreateWindowExA(kind.exStyle, kind.className, caption.c_str(),
                                       WS_CHILD | WS_VISIBLE | kind.style | row.style, box.left, box.top,
                                       box.right - box.left, box.bottom - box.top, parent,
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
