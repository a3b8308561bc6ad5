#include "app/skin/Skin.h"

#include <commctrl.h>

#include <vector>

#include "base/Text.h"
#include "ui/Dpi.h"
#include "ui/Subclass.h"

namespace tarvix {
namespace {

constexpr UINT_PTR kSkinSubclassId = 0x534B;  // one subclass per window, shared by all roles

bool IsButtonClass(HWND window) noexcept {
  char name[16] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return text::EqualsNoCase(std::string_view(name, static_cast<std::size_t>(length > 0 ? length : 0)), "Button");
}

LONG ButtonType(HWND window) noexcept {
  return static_cast<LONG>(GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK);
}

bool IsContainerScheme(std::string_view name) noexcept {
  return name == "NoFrame" || name == "controlForm" || name == "Frame";
}

int PointsToPixels(int points, int dpi) noexcept { return MulDiv(points, dpi, 72); }

}  // namespace

bool IsPushButton(HWND window) noexcept {
  if (!IsButtonClass(window)) return false;
  const LONG type = ButtonType(window);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool IsGroupBox(HWND window) noexcept { return IsButtonClass(window) && ButtonType(window) == BS_GROUPBOX; }

Skin::~Skin() { Unload(); }

bool Skin::Load(const std::string& path) {
  std::string text;
  std::string error;
  if (!ReadTextFile(path, text, error)) {
    Unload();
    loadError_ = error;
    return false;
  }
  if (!LoadText(text)) {
    loadError_ = path + ", " + loadError_;
    return false;
  }
  return true;
}

bool Skin::LoadText(std::string_view text) {
  Unload();
  SkinFile file;
  TextError error;
  if (!ParseSkinFile(text, file, error)) {
    loadError_ = error.Describe();
    return false;
  }
  for (const SkinScheme& scheme : file.schemes) {
    Resources resources{scheme, UniqueBrush(CreateSolidBrush(ToColorRef(scheme.background))), {}};
    schemes_.emplace(scheme.name, std::move(resources));
  }
  loadError_.clear();
  return true;
}

HFONT Skin::Resources::FontAt(int dpi) const noexcept {
  for (const ScaledFont& made : fonts) {
    if (made.dpi == dpi) return made.font.get();
  }
  try {
    fonts.push_back({dpi, CreateUiFont(scheme.font.face, PointsToPixels(scheme.font.points, dpi),
                                       scheme.font.bold ? FW_BOLD : FW_NORMAL)});
    return fonts.back().font.get();
  } catch (...) {
    return nullptr;
  }
}

void Skin::FollowDpi() noexcept {
  for (auto& [window, applied] : applied_) {
    if (!IsWindow(window)) continue;
    const int dpi = WindowDpi(window);
    if (IsDialogFont(applied.previousFont)) applied.previousFont = DialogFontFor(dpi);
    if (const HFONT font = applied.resources->FontAt(dpi)) {
      SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
  }
}

void Skin::Unload() noexcept {
  // Give every control its own font back before the skin's fonts go.
  for (const auto& [window, applied] : applied_) {
    if (IsWindow(window) && !applied.resources->fonts.empty()) {
      SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(applied.previousFont), FALSE);
    }
  }
  for (const HWND window : hooked_) {
    if (IsWindow(window)) {
      Unsubclass<Skin, &Skin::Message>(window, kSkinSubclassId);
      InvalidateRect(window, nullptr, TRUE);
    }
  }
  applied_.clear();
  hooked_.clear();
  schemes_.clear();
  hot_ = nullptr;
}

bool Skin::Apply(HWND window, std::string_view scheme) {
  if (window == nullptr || !IsWindow(window)) return false;
  const auto found = schemes_.find(scheme);
  if (found == schemes_.end()) return false;
  const Resources& resources = found->second;

  HFONT previous = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (const auto old = applied_.find(window); old != applied_.end()) previous = old->second.previousFont;
  applied_[window] = {&resources, previous};
  Hook(window);
  // A control's colours come from its parent's WM_CTLCOLOR* answer.
  const HWND parent = GetParent(window);
  if (parent != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0) Hook(parent);
  if (const HFONT font = resources.FontAt(WindowDpi(window))) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return true;
}

std::optional<std::string> Skin::SchemeOf(HWND window) const {
  const auto found = applied_.find(window);
  if (found == applied_.end()) return std::nullopt;
  return found->second.resources->scheme.name;
}

void Skin::Hook(HWND window) {
  if (hooked_.count(window) != 0) return;
  if (Subclass<Skin, &Skin::Message>(window, kSkinSubclassId, this)) {
    hooked_.insert(window);
  }
}

void Skin::Forget(HWND window) noexcept {
  applied_.erase(window);
  hooked_.erase(window);
  if (hot_ == window) hot_ = nullptr;
}

const Skin::Resources* Skin::ResourcesOf(HWND window) const noexcept {
  const auto found = applied_.find(window);
  return found == applied_.end() ? nullptr : found->second.resources;
}

LRESULT Skin::Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const Resources* own = ResourcesOf(window);
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      return ControlColour(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message, wParam,
                           lParam);
    case WM_ERASEBKGND:
      if (own != nullptr && EraseBackground(window, reinterpret_cast<HDC>(wParam), *own)) return 1;
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (own != nullptr && PaintFace(window, message, reinterpret_cast<HDC>(wParam), *own)) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      TrackHotButton(window, message, own != nullptr);
      break;
    case WM_NCDESTROY:
      Forget(window);
      Unsubclass<Skin, &Skin::Message>(window, kSkinSubclassId);
      return DefSubclassProc(window, message, wParam, lParam);
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (own != nullptr && (IsPushButton(window) || IsGroupBox(window)) && RedrawsFace(message)) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  return result;
}

// The scheme's background (and a frame's border) behind a skinned window;
// a push button paints all of itself. False leaves the erase to the system.
bool Skin::EraseBackground(HWND window, HDC dc, const Resources& own) {
  if (IsPushButton(window)) return true;
  if (IsButtonClass(window)) return false;
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, own.background.get());
  if (own.scheme.name == "Frame") {
    const UniqueBrush border(CreateSolidBrush(ToColorRef(own.scheme.border)));
    FrameRect(dc, &client, border.get());
  }
  return true;
}

// Push buttons and group boxes are drawn by the skin, on screen or into a
// DC that asks for a print. False for other windows.
bool Skin::PaintFace(HWND window, UINT message, HDC printDc, const Resources& own) {
  if (!IsPushButton(window) && !IsGroupBox(window)) return false;
  const auto paint = [&](HDC dc) {
    if (IsPushButton(window)) {
      PaintButton(window, dc, own);
    } else {
      PaintGroupBox(window, dc, own);
    }
  };
  if (message == WM_PRINTCLIENT) {
    paint(printDc);
  } else {
    const PaintDC dc(window);
    paint(dc.get());
  }
  return true;
}

// The button under the mouse is drawn lit until the mouse leaves it.
void Skin::TrackHotButton(HWND window, UINT message, bool skinned) {
  if (message == WM_MOUSELEAVE) {
    if (hot_ != window) return;
    hot_ = nullptr;
  } else {
    if (!skinned || !IsPushButton(window) || hot_ == window) return;
    hot_ = window;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
  }
  InvalidateRect(window, nullptr, FALSE);
}

// The system's button draws these state changes at once, outside WM_PAINT;
// the skinned face is painted again over it.
bool Skin::RedrawsFace(UINT message) noexcept {
  switch (message) {
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

LRESULT Skin::ControlColour(HWND window, HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  // A skinned control's own scheme first; otherwise a skinned container's
  // colours pass on to its plain labels and buttons.
  const Resources* skin = ResourcesOf(control);
  if (skin == nullptr && message == WM_CTLCOLORDLG) skin = ResourcesOf(window);
  if (skin == nullptr) {
    const Resources* container = ResourcesOf(window);
    if (container != nullptr && IsContainerScheme(container->scheme.name)) skin = container;
  }
  if (skin == nullptr) return DefSubclassProc(window, message, wParam, lParam);
  SetTextColor(dc, ToColorRef(skin->scheme.text));
  SetBkColor(dc, ToColorRef(skin->scheme.background));
  return reinterpret_cast<LRESULT>(skin->background.get());
}

void Skin::PaintButton(HWND button, HDC target, const Resources& skin) {
  RECT client{};
  GetClientRect(button, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  // The corners show the parent's background.
  const Resources* container = ResourcesOf(GetParent(button));
  const UniqueMemoryDC canvasOwner(CreateCompatibleDC(target));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(target, width, height));
  const HDC dc = canvasOwner.get();
  const SelectGuard selectBitmap(dc, bitmap.get());
  FillRect(dc, &client, container ? container->background.get() : GetSysColorBrush(COLOR_BTNFACE));

  const LRESULT state = SendMessageA(button, BM_GETSTATE, 0, 0);
  const bool pressed = (state & BST_PUSHED) != 0;
  const bool focused = (state & BST_FOCUS) != 0 || GetFocus() == button;
  const bool enabled = IsWindowEnabled(button) != FALSE;
  const bool isDefault = ButtonType(button) == BS_DEFPUSHBUTTON;
  const SkinScheme& s = skin.scheme;
  Rgb fill = pressed ? s.pressed : hot_ == button ? s.hover : s.background;
  Rgb text = s.text;
  if (!enabled) {
    fill = MixColour(s.background, Rgb{0xC0, 0xC0, 0xC0}, 150);
    text = MixColour(s.text, fill, 140);
  }
  const int radius = std::max(2, height / 6);
  FillRoundBox(dc, client, radius, fill, isDefault ? s.focus : s.border);
  if (focused) {
    const RECT ring{2, 2, width - 2, height - 2};
    FrameRoundBox(dc, ring, radius - 1, MixColour(fill, s.focus, 200), 1);
  }
  char caption[256] = {};
  const int length = GetWindowTextA(button, caption, sizeof caption);
  RECT textBox = client;
  if (pressed) OffsetRect(&textBox, 0, 1);
  const HFONT font = skin.FontAt(WindowDpi(button));
  const SelectGuard selectFont(dc, font != nullptr ? font : reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(text));
  const bool hidePrefix = (SendMessageA(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  DrawTextA(dc, caption, length, &textBox,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | (hidePrefix ? DT_HIDEPREFIX : 0));
  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

void Skin::PaintGroupBox(HWND box, HDC dc, const Resources& skin) {
  RECT client{};
  GetClientRect(box, &client);
  char caption[256] = {};
  const int length = GetWindowTextA(box, caption, sizeof caption);
  const HFONT scheme = skin.FontAt(WindowDpi(box));
  const HFONT font = scheme != nullptr ? scheme : reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
  const SelectGuard selectFont(dc, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int half = metrics.tmHeight / 2;
  RECT frame{client.left, client.top + half, client.right, client.bottom};
  FrameRoundBox(dc, frame, 4, skin.scheme.border, 1);
  if (length > 0) {
    SIZE size{};
    GetTextExtentPoint32A(dc, caption, length, &size);
    RECT label{client.left + 8, client.top, client.left + 8 + size.cx + 8, client.top + metrics.tmHeight};
    // The caption sits on the parent's background, over the frame line.
    const HWND parent = GetParent(box);
    HBRUSH behind = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                                   reinterpret_cast<LPARAM>(box)))
                           : nullptr;
    FillRect(dc, &label, behind ? behind : skin.background.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(skin.scheme.text));
    label.left += 4;
    DrawTextA(dc, caption, length, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
  }
}

void ApplyControlSchemes(Skin& skin, HWND form) noexcept {
  EnumChildWindows(
      form,
      [](HWND control, LPARAM target) -> BOOL {
        char className[64] = {};
        GetClassNameA(control, className, static_cast<int>(sizeof className));
        const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control, GWL_STYLE));
        const std::string_view scheme = SchemeForControl(className, style);
        if (!scheme.empty()) {
          try {
            (void)reinterpret_cast<Skin*>(target)->Apply(control, scheme);
          } catch (...) {
            // This control keeps its own look; the others are still skinned.
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&skin));
}

}  // namespace tarvix
