#include "app/movie/Movie.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "base/Text.h"
#include "ui/Dpi.h"
#include "ui/Subclass.h"

namespace tarvix {
namespace {

constexpr UINT_PTR kButtonSubclassId = 1;

// The backdrop, a picture of the whole movie (1.5 MB at 96 DPI, 6 MB at
// 192), serves the paints of one burst: a show, a screen change, the mouse
// over the buttons. A quarter of a second after its last use it is let go,
// so that a window that sits idle, shown or in the notification area, does
// not keep it for paints that may not come; the next paint draws it anew.
constexpr UINT_PTR kReleaseBackdropTimerId = 1;
constexpr UINT kKeepBackdropMs = 250;

// The window's own WS_VISIBLE, whether or not its parents are shown.
bool HasVisibleStyle(HWND window) noexcept { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }
constexpr std::string_view kFontFace = "Segoe UI";
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

RECT ToRect(const Box& box) noexcept { return {box.left, box.top, box.right, box.bottom}; }

// The program's mark: a rounded white square with the title's initial.
void DrawLogo(HDC dc, const Box& box, const MovieColours& colours, HFONT font, std::string_view title) {
  const RECT rect = ToRect(box);
  const int radius = box.width() / 4;
  FillRoundBox(dc, rect, radius, kWhite, kWhite);
  RECT inner{rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3};
  FrameRoundBox(dc, inner, radius - 2, MixColour(kWhite, colours.bandEnd, 60), 1);
  const std::string initial = title.empty() ? std::string("T") : std::string(1, title.front());
  DrawTextIn(dc, initial, rect, font, colours.bandStart, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawChevron(HDC dc, int x, int y, int size, Rgb colour) {
  const UniquePen pen(CreatePen(PS_SOLID, std::max(2, size / 3), ToColorRef(colour)));
  const SelectGuard selectPen(dc, pen.get());
  POINT points[3] = {{x - size / 2, y - size}, {x + size / 2, y}, {x - size / 2, y + size}};
  Polyline(dc, points, 3);
}

}  // namespace

Movie::Movie() : script_(DefaultMovieScript()) {}

Movie::~Movie() {
  // Destroy the window while the members its messages use are still alive.
  DestroyOwnWindow();
}

bool Movie::Create(HWND parent, int x, int y, int width, int height) noexcept {
  if (hwnd() != nullptr) return false;
  return CreateWindowOf(WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, x, y, width,
                        height, parent, nullptr);
}

bool Movie::LoadMovie(int layer, const std::string& path) {
  if (layer != 0) {
    loadError_ = "layer " + std::to_string(layer) + " is not supported; the movie has only layer 0";
    return false;
  }
  MovieScript loaded = LoadMovieScript(path, loadError_);
  // The shipped file is the built-in movie: its buttons stand already.
  const bool unchanged = loaded == script_ && !slots_.empty();
  script_ = std::move(loaded);
  screen_ = MovieScreen::Home;
  if (hwnd() != nullptr) {
    if (!unchanged) {
      BuildButtons();
      Relayout();
    }
    ShowScreen(MovieScreen::Home);
  }
  return loadError_.empty();
}

// A text the program hands the movie, cut to `longest` characters with its
// control characters shown as blanks, and the screen laid out again for it.
void Movie::ShowText(std::string& shown, std::string_view value, std::size_t longest) {
  std::string text(value.substr(0, longest));
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  shown = std::move(text);
  if (hwnd() != nullptr) {
    Relayout();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

bool Movie::SetVariable(std::string_view name, std::string_view value) {
  if (name == kRightsVariable) {
    ShowText(rights_, value, kMaxTextChars);
    return true;
  }
  if (name == kVersionVariable) {
    ShowText(version_, value, kMaxCaptionChars);
    return true;
  }
  if (name == kHomeVariable && text::EqualsNoCase(value, "true")) {
    if (hwnd() != nullptr) ShowScreen(MovieScreen::Home);
    screen_ = MovieScreen::Home;
    return true;
  }
  return false;
}

Box Movie::ShowToolScreen(std::string_view command, int childWidth, int childHeight) {
  toolCommand_ = std::string(command);
  const ItemFound found = ItemSending(command);
  toolTitle_ = found.item != nullptr ? found.item->caption : std::string();
  childWidth_ = std::max(1, childWidth);
  childHeight_ = std::max(1, childHeight);
  screen_ = MovieScreen::Tool;
  if (hwnd() == nullptr) return {};
  Relayout();
  ShowScreen(MovieScreen::Tool);
  return tool_.childArea;
}

Box Movie::ChildAreaBox() const noexcept { return screen_ == MovieScreen::Tool ? tool_.childArea : Box{}; }

HWND Movie::ItemWindow(std::string_view command) const noexcept {
  for (const Slot& slot : slots_) {
    if (ItemOf(slot).command == command) return slot.button.get();
  }
  return nullptr;
}

LRESULT Movie::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Form_Create();
      return 0;
    case WM_SIZE:
      Form_Size();
      return 0;
    case WM_APP_DPI_CHANGED:
      Form_DpiChanged(static_cast<int>(wParam), static_cast<int>(lParam));
      return kDpiChangeHandled;
    case WM_ERASEBKGND:
      return 1;  // the backdrop covers everything
    case WM_PAINT:
      Form_Paint();
      return 0;
    case WM_TIMER:
      if (wParam != kReleaseBackdropTimerId) return DefWindowProcA(hwnd(), message, wParam, lParam);
      KillTimer(hwnd(), kReleaseBackdropTimerId);
      backdrop_.reset();
      backdropStale_ = true;
      return 0;
    case WM_PRINTCLIENT: {
      if (!EnsureBackdrop()) return 0;
      const UniqueMemoryDC source(CreateCompatibleDC(reinterpret_cast<HDC>(wParam)));
      const SelectGuard select(source.get(), backdrop_.get());
      BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, backdropSize_.cx, backdropSize_.cy, source.get(), 0, 0, SRCCOPY);
      return 0;
    }
    case WM_DRAWITEM:
      Item_Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Item_Click(LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      Form_LButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_SETFOCUS:
      // Focus given to the movie itself goes on to its first visible item.
      for (const Slot& slot : slots_) {
        if (IsWindowVisible(slot.button.get())) {
          SetFocus(slot.button.get());
          break;
        }
      }
      return 0;
    case WM_DESTROY:
      // The buttons go with their parent; forget them without a second destroy.
      for (Slot& slot : slots_) (void)slot.button.release();
      slots_.clear();
      hot_ = nullptr;
      return 0;
    default:
      return DefWindowProcA(hwnd(), message, wParam, lParam);
  }
}

LRESULT Movie::ButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_DRAWITEM paints the whole button
    case WM_GETDLGCODE: {
      // Ask the dialog manager for Enter, which it would otherwise turn into
      // IDOK for the host; the button then chooses itself (below).
      const LRESULT code = DefSubclass(button, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_RETURN) {
        return code | DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN) return 0;
      break;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (hot_ != button) {
        const HWND previous = std::exchange(hot_, button);
        if (previous != nullptr) InvalidateRect(previous, nullptr, FALSE);
        InvalidateRect(button, nullptr, FALSE);
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
      }
      break;
    case WM_MOUSELEAVE:
      if (hot_ == button) {
        hot_ = nullptr;
        InvalidateRect(button, nullptr, FALSE);
      }
      break;
    case WM_NCDESTROY:
      if (hot_ == button) hot_ = nullptr;
      Unsubclass<Movie, &Movie::ButtonMessage>(button, kButtonSubclassId);
      break;
    default:
      break;
  }
  return DefSubclass(button, message, wParam, lParam);
}

void Movie::Form_Create() {
  dpi_ = WindowDpi(hwnd());
  CreateFonts();
  BuildButtons();
  Relayout();
  ShowScreen(screen_);
}

// The main window moved to a monitor of another DPI: the fonts are made
// anew for it, the movie takes its share of the window at the new DPI, and
// the screens are laid out again (in Form_Size, or here when the size stays).
void Movie::Form_DpiChanged(int newDpi, int oldDpi) {
  if (newDpi <= 0 || newDpi == dpi_) return;
  dpi_ = newDpi;
  CreateFonts();
  for (const Slot& slot : slots_) {
    SendMessageA(slot.button.get(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.caption.get()), FALSE);
  }
  const HWND parent = GetParent(hwnd());
  RECT box{};
  GetWindowRect(hwnd(), &box);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
  const auto scale = [&](LONG v) { return RescaleLength(static_cast<int>(v), oldDpi, newDpi); };
  const int left = scale(box.left), top = scale(box.top);
  const int width = scale(box.right) - left, height = scale(box.bottom) - top;
  const bool sameSize = width == box.right - box.left && height == box.bottom - box.top;
  SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (sameSize) Form_Size();
}

void Movie::Form_Size() {
  Relayout();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Movie::Form_Paint() {
  const PaintDC paint(hwnd());
  if (paint.get() == nullptr || !EnsureBackdrop()) return;
  const UniqueMemoryDC source(CreateCompatibleDC(paint.get()));
  const SelectGuard select(source.get(), backdrop_.get());
  const RECT& area = paint.area();
  BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, source.get(), area.left,
         area.top, SRCCOPY);
}

void Movie::Form_LButtonDown(int x, int y) {
  const Box& band = screen_ == MovieScreen::About ? about_.band : home_.band;
  if (band.Contains(x, y)) Raise(std::string(kDragCommand));
}

void Movie::Item_Click(int id) {
  const auto index = static_cast<std::size_t>(id - kMovieFirstItemId);
  if (id < kMovieFirstItemId || index >= slots_.size()) return;
  const ItemKind kind = slots_[index].kind;
  const std::string command = ItemOf(slots_[index]).command;
  const std::weak_ptr<int> alive = alive_;
  Raise(command);
  // The handler may have destroyed the movie or its window.
  if (alive.expired() || hwnd() == nullptr) return;
  if (kind == ItemKind::Back) {
    ShowScreen(MovieScreen::Home);
  } else if (command == kAboutCommand) {
    ShowScreen(MovieScreen::About);
  }
}

void Movie::Raise(const std::string& command) {
  if (!handler_) return;
  const CommandHandler handler = handler_;  // the handler may replace itself
  try {
    handler(command, std::string_view());
  } catch (...) {
    // The host's failure is its own; the movie stays usable.
  }
}

void Movie::CreateFonts() {
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  fonts_.title = CreateUiFont(kFontFace, px(30), FW_BOLD);
  fonts_.tagline = CreateUiFont(kFontFace, px(13), FW_NORMAL);
  fonts_.version = CreateUiFont(kFontFace, px(12), FW_SEMIBOLD);
  fonts_.header = CreateUiFont(kFontFace, px(15), FW_BOLD);
  fonts_.caption = CreateUiFont(kFontFace, px(14), FW_SEMIBOLD);
  fonts_.description = CreateUiFont(kFontFace, px(12), FW_NORMAL);
  fonts_.heading = CreateUiFont(kFontFace, px(26), FW_BOLD);
  fonts_.body = CreateUiFont(kFontFace, px(14), FW_NORMAL);
  fonts_.toolTitle = CreateUiFont(kFontFace, px(20), FW_SEMIBOLD);
  fonts_.navHeader = CreateUiFont(kFontFace, px(11), FW_BOLD);
}

void Movie::BuildButtons() {
  DestroyButtons();
  const auto add = [this](ItemKind kind, std::size_t section, std::size_t index) {
    slots_.push_back({kind, section, index, {}, std::nullopt});
  };
  for (std::size_t s = 0; s < script_.sections.size(); ++s) {
    for (std::size_t i = 0; i < script_.sections[s].items.size(); ++i) add(ItemKind::Tile, s, i);
  }
  for (std::size_t i = 0; i < script_.bar.size(); ++i) add(ItemKind::BarItem, 0, i);
  add(ItemKind::Back, 0, 0);

  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = slots_[i];
    const HWND button = CreateWindowExA(
        0, "BUTTON", ItemOf(slot).caption.c_str(), WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 1, 1, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMovieFirstItemId + static_cast<int>(i))),
        GetModuleHandleA(nullptr), nullptr);
    if (button == nullptr) continue;
    slot.button = UniqueWindow(button);
    Subclass<Movie, &Movie::ButtonMessage>(button, kButtonSubclassId, this);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.caption.get()), FALSE);
  }
}

void Movie::DestroyButtons() noexcept {
  hot_ = nullptr;
  slots_.clear();  // each UniqueWindow destroys its button
}

void Movie::Relayout() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  const UniqueMemoryDC measureDc(CreateCompatibleDC(nullptr));
  const TextWidth measure = [&](std::string_view text, TextRole role) {
    return TextWidthIn(measureDc.get(), text, FontFor(role));
  };
  home_ = LayoutHome(script_, width, height, dpi_, version_.empty() ? std::string_view() : VersionLine(), measure);
  about_ = LayoutAbout(script_, width, height, dpi_, rights_.empty() ? 0 : 1);
  tool_ = LayoutTool(script_, home_, width, height, dpi_, childWidth_, childHeight_);
  PlaceButtons();
  InvalidateBackdrop();
}

// Each button where the screen shown puts it: a section's items are tiles
// at home and the navigation on the tool screen.
void Movie::PlaceButtons() {
  for (Slot& slot : slots_) {
    const Box box = BoxOf(slot);
    if (slot.placed == box) continue;
    SetWindowPos(slot.button.get(), nullptr, box.left, box.top, box.width(), box.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    slot.placed = box;
  }
}

void Movie::ShowScreen(MovieScreen screen) {
  screen_ = screen;
  const HWND focus = GetFocus();
  const bool hadFocus = focus != nullptr && (focus == hwnd() || IsChild(hwnd(), focus));
  // The About screen shows only its way back; the other two every other item.
  const auto shows = [screen](const Slot& slot) { return (screen == MovieScreen::About) == (slot.kind == ItemKind::Back); };
  HWND first = nullptr;
  // Only the buttons whose state changes are told: each ShowWindow costs
  // a trip through the window manager even when it changes nothing.
  for (const Slot& slot : slots_) {
    if (shows(slot) && first == nullptr) first = slot.button.get();
    if (!shows(slot) && HasVisibleStyle(slot.button.get())) ShowWindow(slot.button.get(), SW_HIDE);
  }
  PlaceButtons();
  for (const Slot& slot : slots_) {
    if (shows(slot) && !HasVisibleStyle(slot.button.get())) ShowWindow(slot.button.get(), SW_SHOWNA);
  }
  hot_ = nullptr;
  // Focus stays on an item that is still shown; from a hidden one it goes to the first.
  const bool focusHidden = focus == hwnd() || (focus != nullptr && !IsWindowVisible(focus));
  if (hadFocus && focusHidden && first != nullptr) SetFocus(first);
  InvalidateBackdrop();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

const MovieItem& Movie::ItemOf(const Slot& slot) const noexcept {
  switch (slot.kind) {
    case ItemKind::Tile:
      return script_.sections[slot.section].items[slot.index];
    case ItemKind::BarItem:
      return script_.bar[slot.index];
    case ItemKind::Back:
      break;
  }
  return script_.about.back;
}

Box Movie::BoxOf(const Slot& slot) const noexcept {
  switch (slot.kind) {
    case ItemKind::Tile:
      if (screen_ == MovieScreen::Tool) {
        if (slot.section < tool_.navItems.size() && slot.index < tool_.navItems[slot.section].size()) {
          return tool_.navItems[slot.section][slot.index];
        }
        return {};
      }
      if (slot.section < home_.sections.size() && slot.index < home_.sections[slot.section].items.size()) {
        return home_.sections[slot.section].items[slot.index];
      }
      return {};
    case ItemKind::BarItem:
      return slot.index < home_.barItems.size() ? home_.barItems[slot.index] : Box{};
    case ItemKind::Back:
      break;
  }
  return about_.back;
}

HFONT Movie::FontFor(TextRole role) const noexcept {
  switch (role) {
    case TextRole::Title:
      return fonts_.title.get();
    case TextRole::Tagline:
      return fonts_.tagline.get();
    case TextRole::Version:
      return fonts_.version.get();
    case TextRole::Caption:
      return fonts_.caption.get();
    case TextRole::Description:
      return fonts_.description.get();
    case TextRole::ToolTitle:
      return fonts_.toolTitle.get();
    case TextRole::NavHeader:
      return fonts_.navHeader.get();
    case TextRole::BarItem:
      break;
  }
  return fonts_.tagline.get();
}

std::vector<std::string> Movie::ClippedTexts() const {
  std::vector<std::string> clipped;
  const UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  const auto check = [&](std::string_view text, TextRole role, const Box& room) {
    if (TextWidthIn(dc.get(), text, FontFor(role)) > room.width()) clipped.emplace_back(text);
  };
  for (const Slot& slot : slots_) {
    const MovieItem& item = ItemOf(slot);
    const Box at = BoxOf(slot);
    switch (slot.kind) {
      case ItemKind::Tile: {
        if (screen_ == MovieScreen::Tool) {
          check(item.caption, TextRole::Caption,
                {ScaleToDpi(kNavTextLeft, dpi_), 0, at.width() - ScaleToDpi(kNavTextRight, dpi_), at.height()});
          break;
        }
        const bool twoLines = home_.descriptions && !item.description.empty();
        const TileText boxes = TileTextBoxes(at.width(), at.height(), dpi_, twoLines);
        check(item.caption, TextRole::Caption, boxes.caption);
        if (twoLines) check(item.description, TextRole::Description, boxes.description);
        break;
      }
      case ItemKind::BarItem:
        check(item.caption, TextRole::BarItem, at);
        break;
      case ItemKind::Back:
        check(item.caption, TextRole::Caption, at);
        break;
    }
  }
  if (!home_.version.empty()) check(VersionLine(), TextRole::Version, home_.version);
  if (screen_ == MovieScreen::Tool) {
    check(toolTitle_, TextRole::ToolTitle, tool_.title);
    for (std::size_t s = 0; s < script_.sections.size() && s < tool_.navHeaders.size(); ++s) {
      check(script_.sections[s].caption, TextRole::NavHeader, tool_.navHeaders[s]);
    }
  }
  // The About screen's rights line, in the body font it is drawn in.
  if (!rights_.empty() && TextWidthIn(dc.get(), rights_, fonts_.body.get()) > about_.text.width()) {
    clipped.push_back(rights_);
  }
  return clipped;
}

const Movie::Slot* Movie::SlotOf(HWND button) const noexcept {
  for (const Slot& slot : slots_) {
    if (slot.button.get() == button) return &slot;
  }
  return nullptr;
}

std::string Movie::VersionLine() const {
  if (script_.versionLabel.empty()) return version_;
  return script_.versionLabel + " " + version_;
}

bool Movie::EnsureBackdrop() {
  if (backdropStale_) {
    RenderBackdrop();
    backdropStale_ = false;
  }
  SetTimer(hwnd(), kReleaseBackdropTimerId, kKeepBackdropMs, nullptr);
  return static_cast<bool>(backdrop_);
}

void Movie::RenderBackdrop() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  const WindowDC windowDc(hwnd());
  if (backdropSize_.cx != client.right || backdropSize_.cy != client.bottom || !backdrop_) {
    backdrop_.reset(CreateCompatibleBitmap(windowDc.get(), client.right, client.bottom));
    backdropSize_ = {client.right, client.bottom};
  }
  const UniqueMemoryDC dcOwner(CreateCompatibleDC(windowDc.get()));
  const HDC dc = dcOwner.get();
  const SelectGuard select(dc, backdrop_.get());
  {
    const UniqueBrush background(CreateSolidBrush(ToColorRef(script_.colours.background)));
    FillRect(dc, &client, background.get());
  }
  DrawBand(dc);
  switch (screen_) {
    case MovieScreen::About:
      DrawAboutCard(dc);
      return;
    case MovieScreen::Tool:
      DrawToolScreen(dc);
      break;
    case MovieScreen::Home:
      DrawHomeCards(dc);
      break;
  }
  DrawVersion(dc);
  DrawBar(dc);
}

// The title band, shared by both screens: gradient, rings, logo, title and tagline.
void Movie::DrawBand(HDC dc) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const Box& band = screen_ == MovieScreen::About ? about_.band : home_.band;
  const RECT bandRect = ToRect(band);
  FillGradient(dc, bandRect, c.bandStart, c.bandEnd, false);
  {
    // Soft rings at the right-hand end give the band some depth; they stay
    // inside the band, off the cards below.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, bandRect.left, bandRect.top, bandRect.right, bandRect.bottom);
    {
      const SelectGuard noBrush(dc, GetStockObject(NULL_BRUSH));
      for (int ring = 0; ring < 4; ++ring) {
        const UniquePen pen(CreatePen(PS_SOLID, px(2), ToColorRef(MixColour(c.bandEnd, kWhite, 26 - ring * 5))));
        const SelectGuard selectPen(dc, pen.get());
        const int r = px(70 + ring * 34);
        const int cx = band.right - px(120);
        const int cy = band.bottom + px(10);
        Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
      }
    }
    RestoreDC(dc, saved);
    const UniqueBrush line(CreateSolidBrush(ToColorRef(MixColour(c.bandEnd, kWhite, 70))));
    const RECT edge{band.left, band.bottom - 1, band.right, band.bottom};
    FillRect(dc, &edge, line.get());
  }
  const HomeLayout& h = home_;
  DrawLogo(dc, h.logo, c, fonts_.title.get(), script_.title);
  DrawTextIn(dc, script_.title, ToRect(h.title), fonts_.title.get(), c.title, DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
  DrawTextIn(dc, script_.tagline, ToRect(h.tagline), fonts_.tagline.get(), c.tagline,
             DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void Movie::DrawAboutCard(HDC dc) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const AboutLayout& a = about_;
  FillRoundBox(dc, ToRect(a.card), px(14), c.card, c.cardBorder);
  DrawLogo(dc, a.logo, c, fonts_.heading.get(), script_.title);
  DrawTextIn(dc, script_.about.heading, ToRect(a.heading), fonts_.heading.get(), c.text,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  const std::string versionLine = version_.empty() ? std::string() : VersionLine();
  DrawTextIn(dc, versionLine, ToRect(a.version), fonts_.version.get(), c.muted,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT line = ToRect(a.text);
  const int lineHeight = px(22);
  for (const std::string& text : script_.about.lines) {
    line.bottom = line.top + lineHeight;
    DrawTextIn(dc, text, line, fonts_.body.get(), c.text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    line.top += lineHeight;
  }
  if (!rights_.empty()) {
    line.bottom = line.top + lineHeight;
    DrawTextIn(dc, rights_, line, fonts_.body.get(), c.muted, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

// The version pill, on the home and the tool screen.
void Movie::DrawVersion(HDC dc) {
  const MovieColours& c = script_.colours;
  const HomeLayout& h = home_;
  if (h.version.empty()) return;
  const Rgb pill = h.version.top >= h.bar.top ? c.barHover : c.version;
  FillRoundBox(dc, ToRect(h.version), h.version.height() / 2, pill, MixColour(pill, kWhite, 50));
  DrawTextIn(dc, VersionLine(), ToRect(h.version), fonts_.version.get(), c.tagline,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The bar's strip under its items.
void Movie::DrawBar(HDC dc) {
  const MovieColours& c = script_.colours;
  const HomeLayout& h = home_;
  if (h.bar.empty()) return;
  const RECT bar = ToRect(h.bar);
  const UniqueBrush fill(CreateSolidBrush(ToColorRef(c.bar)));
  FillRect(dc, &bar, fill.get());
  const UniqueBrush line(CreateSolidBrush(ToColorRef(c.cardBorder)));
  const RECT edge{bar.left, bar.top, bar.right, bar.top + 1};
  FillRect(dc, &edge, line.get());
}

// The first item of a section, else of the bar, that sends `command`, with
// its section's accent (the focus colour for the bar and for none).
Movie::ItemFound Movie::ItemSending(std::string_view command) const noexcept {
  for (const MovieSection& section : script_.sections) {
    for (const MovieItem& item : section.items) {
      if (item.command == command) return {&item, section.accent};
    }
  }
  for (const MovieItem& item : script_.bar) {
    if (item.command == command) return {&item, script_.colours.focus};
  }
  return {nullptr, script_.colours.focus};
}

// The tool screen's backdrop: the navigation card with its section captions,
// and the panel with the tool's name; the child area covers the rest of it.
void Movie::DrawToolScreen(HDC dc) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const ToolLayout& t = tool_;
  FillRoundBox(dc, ToRect(t.nav), px(12), c.card, c.cardBorder);
  for (std::size_t s = 0; s < t.navHeaders.size() && s < script_.sections.size(); ++s) {
    const Box& header = t.navHeaders[s];
    const int dot = px(6);
    const int left = header.left - dot - px(5);
    const int cy = header.top + header.height() / 2;
    FillRoundBox(dc, {left, cy - dot / 2, left + dot, cy - dot / 2 + dot}, dot / 2, script_.sections[s].accent,
                 script_.sections[s].accent);
    DrawTextIn(dc, script_.sections[s].caption, ToRect(header), fonts_.navHeader.get(), c.muted,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  const Rgb accent = ItemSending(toolCommand_).accent;
  FillRoundBox(dc, ToRect(t.panel), px(12), c.panel, c.cardBorder);
  const RECT stripe{t.panel.left + px(12), t.panel.top, t.panel.right - px(12), t.panel.top + px(3)};
  const UniqueBrush stripeBrush(CreateSolidBrush(ToColorRef(accent)));
  FillRect(dc, &stripe, stripeBrush.get());
  DrawTextIn(dc, toolTitle_, ToRect(t.title), fonts_.toolTitle.get(), c.title,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// The section cards with their headers.
void Movie::DrawHomeCards(HDC dc) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const HomeLayout& h = home_;

  for (std::size_t s = 0; s < h.sections.size() && s < script_.sections.size(); ++s) {
    const SectionLayout& box = h.sections[s];
    const MovieSection& section = script_.sections[s];
    FillRoundBox(dc, ToRect(box.card), px(12), c.card, c.cardBorder);
    // A coloured stripe along the card's top edge tells the sections apart.
    const RECT stripe{box.card.left + px(12), box.card.top, box.card.right - px(12), box.card.top + px(3)};
    const UniqueBrush accent(CreateSolidBrush(ToColorRef(section.accent)));
    FillRect(dc, &stripe, accent.get());
    const int dot = px(10);
    const int cy = box.header.top + box.header.height() / 2;
    FillRoundBox(dc, {box.header.left + px(14), cy - dot / 2, box.header.left + px(14) + dot, cy + dot / 2}, dot / 2,
                 section.accent, section.accent);
    RECT caption = ToRect(box.header);
    caption.left += px(32);
    caption.right -= px(10);
    DrawTextIn(dc, section.caption, caption, fonts_.header.get(), c.text,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

void Movie::Item_Draw(const DRAWITEMSTRUCT& item) {
  const Slot* slot = SlotOf(item.hwndItem);
  if (slot == nullptr || !EnsureBackdrop()) return;
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  if (width <= 0 || height <= 0) return;
  const MovieItem& data = ItemOf(*slot);
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
  const bool hot = hot_ == item.hwndItem;

  // Draw off screen over the backdrop under the button, then copy once.
  const UniqueMemoryDC canvasOwner(CreateCompatibleDC(item.hDC));
  const UniqueBitmap canvasBitmap(CreateCompatibleBitmap(item.hDC, width, height));
  const HDC dc = canvasOwner.get();
  const SelectGuard selectCanvas(dc, canvasBitmap.get());
  {
    const Box at = BoxOf(*slot);
    const UniqueMemoryDC source(CreateCompatibleDC(item.hDC));
    const SelectGuard selectSource(source.get(), backdrop_.get());
    BitBlt(dc, 0, 0, width, height, source.get(), at.left, at.top, SRCCOPY);
  }
  const RECT all{0, 0, width, height};

  const ItemLook look{pressed, focused, hot};
  switch (slot->kind) {
    case ItemKind::Tile:
      if (screen_ == MovieScreen::Tool) {
        DrawNavItem(dc, all, script_.sections[slot->section].accent, data, look);
      } else {
        DrawTile(dc, all, script_.sections[slot->section].accent, data, look);
      }
      break;
    case ItemKind::BarItem:
      DrawBarItem(dc, all, data, look);
      break;
    case ItemKind::Back:
      DrawBackItem(dc, all, data, look);
      break;
  }
  if (focused) {
    const int radius = slot->kind == ItemKind::Back ? height / 2 : px(screen_ == MovieScreen::Tool ? 6 : 8);
    FrameRoundBox(dc, all, radius, c.focus, px(2));
  }
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
}

// A home-screen tile: accent stripe, caption (and description), chevron.
void Movie::DrawTile(HDC dc, const RECT& all, Rgb accent, const MovieItem& data, ItemLook look) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const auto [pressed, focused, hot] = look;
  const int width = all.right;
  const int height = all.bottom;
  const Rgb fill = pressed ? c.itemPressed : hot ? c.itemHover : c.item;
  FillRoundBox(dc, all, px(8), fill, hot ? MixColour(fill, accent, 90) : MixColour(fill, kWhite, 14));
  const RECT stripe{px(6), px(10), px(9), height - px(10)};
  const UniqueBrush stripeBrush(
      CreateSolidBrush(ToColorRef(hot || focused ? accent : MixColour(fill, accent, 150))));
  FillRect(dc, &stripe, stripeBrush.get());
  const bool twoLines = home_.descriptions && !data.description.empty();
  const TileText boxes = TileTextBoxes(width, height, dpi_, twoLines);
  if (!twoLines) {
    DrawTextIn(dc, data.caption, ToRect(boxes.caption), fonts_.caption.get(), c.text,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  } else {
    DrawTextIn(dc, data.caption, ToRect(boxes.caption), fonts_.caption.get(), c.text,
               DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS);
    DrawTextIn(dc, data.description, ToRect(boxes.description), fonts_.description.get(),
               hot ? c.tagline : c.muted, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  DrawChevron(dc, width - px(14), height / 2, px(4), hot ? accent : c.muted);
}

// A bar item: a pill only while hot or pressed; danger items turn red.
void Movie::DrawBarItem(HDC dc, const RECT& all, const MovieItem& data, ItemLook look) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const auto [pressed, focused, hot] = look;
  const bool danger = data.tone == ItemTone::Danger;
  Rgb textColour = c.barItem;
  // On the tool screen the bar's item for the open tool (Settings) stays marked.
  const bool current = screen_ == MovieScreen::Tool && data.command == toolCommand_;
  if (current && !hot && !pressed) {
    FillRoundBox(dc, all, px(8), c.navCurrent, c.navCurrent);
    textColour = c.title;
  }
  if (hot || pressed) {
    Rgb fill = danger ? c.danger : c.barHover;
    if (pressed) fill = MixColour(fill, c.bar, 90);
    FillRoundBox(dc, all, px(8), fill, fill);
    if (danger) textColour = kWhite;
  }
  DrawTextIn(dc, data.caption, all, fonts_.tagline.get(), textColour,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// The About screen's round Back button.
void Movie::DrawBackItem(HDC dc, const RECT& all, const MovieItem& data, ItemLook look) {
  const MovieColours& c = script_.colours;
  const auto [pressed, focused, hot] = look;
  const int height = all.bottom;
  Rgb fill = hot ? MixColour(c.bandEnd, kWhite, 40) : c.bandEnd;
  if (pressed) fill = c.bandStart;
  FillRoundBox(dc, all, height / 2, fill, fill);
  DrawTextIn(dc, data.caption, all, fonts_.caption.get(), kWhite, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace tarvix

namespace tarvix {

// A navigation item of the tool screen: plain on the card, filled while hot
// or pressed, and marked with its section's accent when its tool is open.
void Movie::DrawNavItem(HDC dc, const RECT& all, Rgb accent, const MovieItem& data, ItemLook look) {
  const MovieColours& c = script_.colours;
  const auto px = [this](int v) { return ScaleToDpi(v, dpi_); };
  const auto [pressed, focused, hot] = look;
  const bool current = data.command == toolCommand_;
  if (pressed || hot || current) {
    const Rgb fill = pressed ? c.itemPressed : hot ? c.itemHover : c.navCurrent;
    FillRoundBox(dc, all, px(6), fill, fill);
  }
  if (current || focused) {
    const RECT marker{px(6), px(5), px(9), all.bottom - px(5)};
    const UniqueBrush brush(CreateSolidBrush(ToColorRef(accent)));
    FillRect(dc, &marker, brush.get());
  }
  const RECT text{px(kNavTextLeft), 0, all.right - px(kNavTextRight), all.bottom};
  DrawTextIn(dc, data.caption, text, fonts_.caption.get(), current || hot ? c.title : c.text,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

}  // namespace tarvix
