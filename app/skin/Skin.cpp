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


enum class FieldKind { None, Edit, DropDown, ListView, Header, UpDown, Slider };

FieldKind FieldKindOf(HWND window) noexcept {
  char name[32] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  const std::string_view kind(name, static_cast<std::size_t>(length > 0 ? length : 0));
  if (text::EqualsNoCase(kind, "Edit")) return FieldKind::Edit;
  if (text::EqualsNoCase(kind, "ComboBox")) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST ? FieldKind::DropDown : FieldKind::None;
  }
  if (text::EqualsNoCase(kind, WC_LISTVIEWA)) return FieldKind::ListView;
  if (text::EqualsNoCase(kind, WC_HEADERA)) return FieldKind::Header;
  if (text::EqualsNoCase(kind, UPDOWN_CLASSA)) return FieldKind::UpDown;
  if (text::EqualsNoCase(kind, TRACKBAR_CLASSA)) return FieldKind::Slider;
  return FieldKind::None;
}

// The colours `scheme` gives a control drawn on `behind`; fields without a
// colour of their own in `fieldDefault`. The face and mark depend on the kind.
ControlLook SchemeLook(const SkinScheme& scheme, Rgb behind, Rgb fieldDefault) noexcept {
  ControlLook look;
  look.behind = behind;
  look.text = scheme.text;
  look.border = scheme.border;
  look.hover = scheme.hover;
  look.pressed = scheme.pressed;
  look.focus = scheme.focus;
  look.field = scheme.field.value_or(fieldDefault);
  look.fieldText = scheme.fieldText.value_or(scheme.text);
  look.disabled = scheme.disabled.value_or(MixColour(scheme.text, behind, 140));
  return look;
}

bool IsCheckOrOption(HWND window) noexcept {
  if (!IsButtonClass(window)) return false;
  switch (ButtonType(window)) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

Rgb FromColorRef(COLORREF c) noexcept {
  return {static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
          static_cast<std::uint8_t>(GetBValue(c))};
}

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
    Resources resources{scheme, UniqueBrush(CreateSolidBrush(ToColorRef(scheme.background))),
                        UniqueBrush(scheme.field ? CreateSolidBrush(ToColorRef(*scheme.field)) : nullptr), {}};
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
    if (!IsWindow(window) || applied.field) continue;
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
    if (!IsWindow(window)) continue;
    if (applied.field) {
      if (FieldKindOf(window) == FieldKind::ListView) {
        ListView_SetBkColor(window, GetSysColor(COLOR_WINDOW));
        ListView_SetTextBkColor(window, GetSysColor(COLOR_WINDOW));
        ListView_SetTextColor(window, GetSysColor(COLOR_WINDOWTEXT));
      }
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    } else if (!applied.resources->fonts.empty()) {
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
  if (found == applied_.end() || found->second.field) return std::nullopt;
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


bool Skin::ApplyField(HWND control) {
  if (control == nullptr || !IsWindow(control)) return false;
  const FieldKind kind = FieldKindOf(control);
  if (kind == FieldKind::None) return false;
  const auto container = applied_.find(GetParent(control));
  if (container == applied_.end() || container->second.field || !container->second.resources->scheme.field) {
    return false;
  }
  const Resources& resources = *container->second.resources;
  applied_[control] = {&resources, nullptr, true};
  Hook(control);
  if (kind == FieldKind::ListView) {
    const ControlLook look = FieldLook(resources);
    ListView_SetBkColor(control, ToColorRef(look.field));
    ListView_SetTextBkColor(control, ToColorRef(look.field));
    ListView_SetTextColor(control, ToColorRef(look.fieldText));
    if (const HWND header = ListView_GetHeader(control)) {
      applied_[header] = {&resources, nullptr, true};
      Hook(header);
    }
  }
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return true;
}

ControlLook Skin::FieldLook(const Resources& container) const {
  const SkinScheme& c = container.scheme;
  ControlLook look = SchemeLook(c, c.background, c.background);
  // Thumbs and gauges take the buttons' colours.
  const auto button = schemes_.find(std::string_view("Button"));
  look.face = button != schemes_.end() ? button->second.scheme.background : c.focus;
  look.mark = button != schemes_.end() ? button->second.scheme.text : c.mark.value_or(Rgb{0xFF, 0xFF, 0xFF});
  return look;
}

ControlLook Skin::LookOf(HWND window, const Resources& own) const {
  const SkinScheme& s = own.scheme;
  const Resources* container = ResourcesOf(GetParent(window));
  const Rgb behind =
      container != nullptr ? container->scheme.background : FromColorRef(GetSysColor(COLOR_BTNFACE));
  ControlLook look = SchemeLook(s, behind, Rgb{0xFF, 0xFF, 0xFF});
  look.font = own.FontAt(WindowDpi(window));
  if (IsPushButton(window)) {
    look.face = s.background;
    look.mark = s.text;
  } else {
    // A ticked box is filled in the scheme's `pressed` colour.
    look.behind = s.background;
    look.face = s.pressed;
    look.mark = s.mark.value_or(Rgb{0xFF, 0xFF, 0xFF});
  }
  return look;
}

LRESULT Skin::Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    Forget(window);
    Unsubclass<Skin, &Skin::Message>(window, kSkinSubclassId);
    return DefSubclass(window, message, wParam, lParam);
  }
  if (const auto found = applied_.find(window); found != applied_.end() && found->second.field) {
    return FieldMessage(window, message, wParam, lParam, *found->second.resources);
  }
  const Resources* own = ResourcesOf(window);
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ControlColour(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message, wParam,
                           lParam);
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (ListItemColours(lParam, result)) return result;
      break;
    }
    case WM_ERASEBKGND:
      if (own != nullptr && EraseBackground(window, reinterpret_cast<HDC>(wParam), *own)) return 1;
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (own != nullptr && PaintFace(window, message, reinterpret_cast<HDC>(wParam), *own)) return 0;
      break;
    case WM_SETTEXT:
      if (own != nullptr && IsGroupBox(window)) {
        // A new caption changes only the strip it sits on: the text is kept
        // without the system's paint of the whole box (the status window's
        // captions change on every tick), and the strip is painted afresh.
        // Hidden, the whole box is painted when it is shown.
        const LRESULT stored = DefWindowProcW(window, message, wParam, lParam);
        if (IsWindowVisible(window)) PaintGroupBoxCaption(window, LookOf(window, *own));
        return stored;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      TrackHotButton(window, message, own != nullptr);
      break;
    default:
      break;
  }
  const LRESULT result = DefSubclass(window, message, wParam, lParam);
  if (own != nullptr && (IsPushButton(window) || IsGroupBox(window) || IsCheckOrOption(window)) &&
      SystemDrewState(message)) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  return result;
}

LRESULT Skin::FieldMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const Resources& container) {
  const FieldKind kind = FieldKindOf(window);
  const bool framed = kind == FieldKind::Edit || kind == FieldKind::ListView;
  const bool painted = !framed;
  switch (message) {
    case WM_NCPAINT:
      if (framed && (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) {
        // The system draws the scroll bars; the edge is the program's.
        const LRESULT result = DefSubclass(window, message, wParam, lParam);
        PaintFieldEdge(window, FieldLook(container));
        return result;
      }
      break;
    case WM_ERASEBKGND:
      if (painted) return 1;
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (painted) {
        const ControlLook look = FieldLook(container);
        PaintFor(window, message, wParam, [&](HDC dc) {
          switch (kind) {
            case FieldKind::DropDown: PaintDropDown(window, dc, look); break;
            case FieldKind::UpDown: PaintUpDown(window, dc, look); break;
            case FieldKind::Slider: PaintSlider(window, dc, look); break;
            case FieldKind::Header: PaintListHeader(window, dc, look); break;
            default: break;
          }
        });
        return 0;
      }
      break;
    default:
      break;
  }
  const LRESULT result = DefSubclass(window, message, wParam, lParam);
  if (framed) {
    RedrawFieldEdgeAfter(window, message);
  } else if (SystemDrewState(message) || message == WM_COMMAND || message == WM_TIMER ||
             (message == WM_MOUSEMOVE && GetCapture() == window)) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  return result;
}

// A skinned list view's chosen row in the container's `pressed` colour,
// rather than the system's highlight (grey while the list has no focus).
bool Skin::ListItemColours(LPARAM lParam, LRESULT& result) const {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr || header->code != NM_CUSTOMDRAW) return false;
  const auto found = applied_.find(header->hwndFrom);
  if (found == applied_.end() || !found->second.field || FieldKindOf(header->hwndFrom) != FieldKind::ListView) {
    return false;
  }
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    result = CDRF_NOTIFYITEMDRAW;
    return true;
  }
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return false;
  const ControlLook look = FieldLook(*found->second.resources);
  const auto row = static_cast<int>(draw->nmcd.dwItemSpec);
  const bool chosen = (ListView_GetItemState(header->hwndFrom, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  if (chosen) {
    const bool focused = GetFocus() == header->hwndFrom;
    draw->clrTextBk = ToColorRef(focused ? look.face : look.pressed);
    draw->clrText = ToColorRef(focused ? look.mark : look.fieldText);
    draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
  } else {
    draw->clrTextBk = ToColorRef(look.field);
    draw->clrText = ToColorRef(look.fieldText);
  }
  result = CDRF_NEWFONT;
  return true;
}

// The scheme's background (and a frame's border) behind a skinned window;
// a push button paints all of itself. False leaves the erase to the system.
bool Skin::EraseBackground(HWND window, HDC dc, const Resources& own) {
  if (IsPushButton(window) || IsCheckOrOption(window)) return true;
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

// Push buttons, check boxes, option buttons and group boxes are drawn by
// the skin, on screen or into a DC that asks for a print. False for others.
bool Skin::PaintFace(HWND window, UINT message, HDC printDc, const Resources& own) {
  const bool push = IsPushButton(window), check = IsCheckOrOption(window), group = IsGroupBox(window);
  if (!push && !check && !group) return false;
  const ControlLook look = LookOf(window, own);
  PaintFor(window, message, reinterpret_cast<WPARAM>(printDc), [&](HDC dc) {
    if (push) {
      PaintPushButton(window, dc, look, hot_ == window);
    } else if (check) {
      PaintCheckOrOption(window, dc, look);
    } else {
      PaintGroupBox(window, dc, look);
    }
  });
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

LRESULT Skin::ControlColour(HWND window, HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const Resources* container = ResourcesOf(window);
  // Text boxes and lists (a drop-down's list too) in the container's field
  // colours; a text box switched off or read-only asks as a static text.
  const bool fieldAsks = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
                         (message == WM_CTLCOLORSTATIC && FieldKindOf(control) == FieldKind::Edit);
  if (fieldAsks) {
    if (container == nullptr || !container->scheme.field) return DefSubclass(window, message, wParam, lParam);
    const ControlLook look = FieldLook(*container);
    const bool enabled = IsWindowEnabled(control) != FALSE;
    SetTextColor(dc, ToColorRef(enabled ? look.fieldText : look.disabled));
    if (enabled) {
      SetBkColor(dc, ToColorRef(look.field));
      return reinterpret_cast<LRESULT>(container->field.get());
    }
    SetBkColor(dc, ToColorRef(container->scheme.background));
    return reinterpret_cast<LRESULT>(container->background.get());
  }
  // A skinned control's own scheme first; otherwise a skinned container's
  // colours pass on to its plain labels and buttons.
  const Resources* skin = ResourcesOf(control);
  if (skin == nullptr && message == WM_CTLCOLORDLG) skin = container;
  if (skin == nullptr && container != nullptr && IsContainerScheme(container->scheme.name)) skin = container;
  if (skin == nullptr || (applied_.count(control) != 0 && applied_.at(control).field)) {
    if (container == nullptr) return DefSubclass(window, message, wParam, lParam);
    skin = container;
  }
  SetTextColor(dc, ToColorRef(IsWindowEnabled(control) ? skin->scheme.text
                                                       : skin->scheme.disabled.value_or(MixColour(
                                                             skin->scheme.text, skin->scheme.background, 140))));
  SetBkColor(dc, ToColorRef(skin->scheme.background));
  return reinterpret_cast<LRESULT>(skin->background.get());
}

void ApplyControlSchemes(Skin& skin, HWND form) noexcept {
  EnumChildWindows(
      form,
      [](HWND control, LPARAM target) -> BOOL {
        char className[64] = {};
        GetClassNameA(control, className, static_cast<int>(sizeof className));
        const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(control, GWL_STYLE));
        const std::string_view scheme = SchemeForControl(className, style);
        try {
          auto& engine = *reinterpret_cast<Skin*>(target);
          if (!scheme.empty()) {
            (void)engine.Apply(control, scheme);
          } else {
            (void)engine.ApplyField(control);
          }
        } catch (...) {
          // This control keeps its own look; the others are still skinned.
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&skin));
}

}  // namespace tarvix
