#include "ui/BalloonDraw.h"

#include <algorithm>
#include <array>
#include <vector>

#include "ui/Dpi.h"
#include "ui/SkinGdi.h"

namespace tarvix {

using balloon::Point;
using balloon::Rect;

ScreenSize GetScreenSize() noexcept {
  const WindowDC screen(nullptr);
  if (screen.get() == nullptr) return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {GetDeviceCaps(screen.get(), HORZRES), GetDeviceCaps(screen.get(), VERTRES)};
}

TwipsPerPixel ReadTwipsPerPixel() noexcept {
  const WindowDC screen(nullptr);
  TwipsPerPixel t;
  if (screen.get() == nullptr) return t;
  const int dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
  if (dpiX > 0) t.x = std::max(1, 1440 / dpiX);
  if (dpiY > 0) t.y = std::max(1, 1440 / dpiY);
  return t;
}

TwipsPerPixel TwipsPerPixelAt(int dpi) noexcept {
  TwipsPerPixel t;
  if (dpi > 0) t.x = t.y = std::max(1, 1440 / dpi);
  return t;
}

UniqueRegion CopyRegion(HRGN region) noexcept {
  if (region == nullptr) return {};
  UniqueRegion copy(CreateRectRgn(0, 0, 0, 0));
  if (copy && CombineRgn(copy.get(), region, nullptr, RGN_COPY) == ERROR) copy.reset();
  return copy;
}

namespace {

void FillRegionWith(HDC dc, HRGN region, COLORREF colour) noexcept {
  const UniqueBrush brush(CreateSolidBrush(colour));
  FillRgn(dc, region, brush.get());
}

UniqueRegion TriangleRegion(const balloon::Triangle& triangle) noexcept {
  POINT points[3];
  for (int i = 0; i < 3; ++i) points[i] = {triangle.p[i].x, triangle.p[i].y};
  return UniqueRegion(CreatePolygonRgn(points, 3, ALTERNATE));
}

// A DIB pixel (0x00RRGGBB) from a COLORREF (0x00BBGGRR) and back.
constexpr std::uint32_t SwapRedBlue(std::uint32_t c) noexcept {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace

bool BalloonSurface::Attach(HWND window, int width, int height, COLORREF panelColor) noexcept {
  window_ = window;
  panelColor_ = panelColor;
  if (width == width_ && height == height_ && backDc_) return true;
  backDc_.reset();
  backBitmap_.reset();
  backBits_ = nullptr;
  width_ = std::max(1, width);
  height_ = std::max(1, height);
  const WindowDC screen(nullptr);
  backDc_.reset(CreateCompatibleDC(screen.get()));
  backBitmap_ = CreateTopDownDib(screen.get(), width_, height_, &backBits_);
  if (!backDc_ || !backBitmap_) return false;
  SelectObject(backDc_.get(), backBitmap_.get());
  return true;
}

void BalloonSurface::Detach() noexcept {
  backDc_.reset();
  backBitmap_.reset();
  backBits_ = nullptr;
  body_.reset();
  pointer_.reset();
  window_ = nullptr;
  width_ = height_ = 0;
}

std::int16_t BalloonSurface::GetPointerStyle(float X, float Y) noexcept {
  POINT cursor{};
  GetCursorPos(&cursor);
  const Point target = balloon::ResolveTarget(X, Y, {cursor.x, cursor.y});
  const ScreenSize screen = GetScreenSize();
  const balloon::Placement place = balloon::PlaceForTarget(target, screen.width, screen.height, width_, height_);
  SetWindowPos(window_, nullptr, place.left, place.top, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  return place.style;
}

UniqueRegion BalloonSurface::n_GetMainRect() noexcept {
  const Rect r = balloon::BodyRegionRect(width_, height_);
  // The corners are as round at every DPI.
  const int dpi = WindowDpi(window_);
  const int corner = ScaleForDpi(balloon::kBodyRegionCorner, dpi);
  body_.reset(CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, corner, corner));
  if (backDc_ && body_) {
    GdiFlush();
    FillRegionWith(backDc_.get(), body_.get(), balloon::kBodyEdgeColor);
    const Rect face = balloon::BodyFaceRect(width_, height_);
    const UniqueBrush fill(CreateSolidBrush(panelColor_));
    const SelectGuard brush(backDc_.get(), fill.get());
    const SelectGuard pen(backDc_.get(), GetStockObject(BLACK_PEN));
    const int faceCorner = ScaleForDpi(balloon::kBodyFaceCorner, dpi);
    RoundRect(backDc_.get(), face.left, face.top, face.right, face.bottom, faceCorner, faceCorner);
    GdiFlush();
  }
  return CopyRegion(body_.get());
}

void BalloonSurface::ReadScreenBlock(const RECT& window, std::uint32_t* out) const noexcept {
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  std::fill(out, out + static_cast<std::ptrdiff_t>(w) * h, 0u);
  // Only the part on the screen is copied; what lies beyond reads as black,
  // as it does pixel by pixel.
  const RECT screenArea{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT visible{};
  if (!IntersectRect(&visible, &window, &screenArea)) return;
  const WindowDC screen(nullptr);
  const UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
  std::uint32_t* bits = nullptr;
  const UniqueBitmap block = CreateTopDownDib(screen.get(), w, h, &bits);
  if (!memory || !block) return;
  {
    const SelectGuard select(memory.get(), block.get());
    std::fill(bits, bits + static_cast<std::ptrdiff_t>(w) * h, 0u);
    BitBlt(memory.get(), visible.left - window.left, visible.top - window.top, visible.right - visible.left,
           visible.bottom - visible.top, screen.get(), visible.left, visible.top, SRCCOPY);
    GdiFlush();
  }
  for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(w) * h; ++i) out[i] = bits[i] & 0x00FFFFFF;
}

UniqueRegion BalloonSurface::n_GetShadowRect(std::int16_t Inty, ShadowRead read) noexcept {
  const int intensity = balloon::ClampIntensity(Inty);
  RECT window{};
  GetWindowRect(window_, &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  if (backBits_ != nullptr && w == width_ && h == height_) {
    try {
      const std::vector<balloon::ShadowPixel> pixels = balloon::ShadowPixels(w, h);
      if (read == ShadowRead::Block) {
        std::vector<std::uint32_t> beneath(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        ReadScreenBlock(window, beneath.data());
        GdiFlush();
        for (const balloon::ShadowPixel& p : pixels) {
          const auto at = static_cast<std::size_t>(p.y * w + p.x);
          backBits_[at] = balloon::BlendShadowColor(beneath[at], p.weight, intensity);
        }
      } else {
        // One screen read and one write per pixel.
        const WindowDC screen(nullptr);
        GdiFlush();
        for (const balloon::ShadowPixel& p : pixels) {
          COLORREF c = GetPixel(screen.get(), window.left + p.x, window.top + p.y);
          if (c == CLR_INVALID) c = 0;
          SetPixel(backDc_.get(), p.x, p.y, balloon::BlendShadowColor(c, p.weight, intensity));
        }
        GdiFlush();
      }
    } catch (...) {
      // No memory for the pixel list: the window goes without its shadow.
    }
  }
  const Rect r = balloon::ShadowRegionRect(width_, height_);
  const int dpi = WindowDpi(window_);
  return UniqueRegion(CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, ScaleForDpi(balloon::kShadowCornerWidth, dpi),
                                         ScaleForDpi(balloon::kShadowCornerHeight, dpi)));
}

UniqueRegion BalloonSurface::n_SetPointer(int idx) noexcept {
  const auto shape = balloon::PointerTriangles(idx, width_, height_);
  if (!shape) return CopyRegion(pointer_.get());
  UniqueRegion outer = TriangleRegion(shape->outer);
  const UniqueRegion inner = TriangleRegion(shape->inner);
  if (backDc_) {
    GdiFlush();
    if (outer) FillRgn(backDc_.get(), outer.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (inner) FillRegionWith(backDc_.get(), inner.get(), panelColor_);
    GdiFlush();
  }
  pointer_ = std::move(outer);
  return CopyRegion(pointer_.get());
}

void BalloonSurface::ApplyShape(UniqueRegion shape) noexcept {
  if (shape && SetWindowRgn(window_, shape.get(), TRUE) != 0) (void)shape.release();
  InvalidateRect(window_, nullptr, FALSE);
}

void BalloonSurface::DrawBalloon(bool NoPointer, float X, float Y, std::int16_t Inty, ShadowRead read) noexcept {
  const std::int16_t style = GetPointerStyle(X, Y);
  const UniqueRegion shadow = n_GetShadowRect(Inty, read);
  const UniqueRegion body = n_GetMainRect();
  UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
  if (!shape) return;
  CombineRgn(shape.get(), body.get(), shadow.get(), RGN_OR);
  if (!NoPointer) {
    const UniqueRegion pointer = n_SetPointer(style);
    if (pointer) CombineRgn(shape.get(), shape.get(), pointer.get(), RGN_OR);
  }
  ApplyShape(std::move(shape));
}

void BalloonSurface::n_RefreshShadow(std::int16_t Inty) noexcept {
  const UniqueRegion shadow = n_GetShadowRect(Inty);
  const UniqueRegion body = n_GetMainRect();
  UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
  if (!shape) return;
  CombineRgn(shape.get(), body.get(), shadow.get(), RGN_OR);
  ApplyShape(std::move(shape));
}

void BalloonSurface::ShowDragShape() noexcept {
  UniqueRegion body = n_GetMainRect();
  if (backDc_) {
    const SelectGuard pen(backDc_.get(), GetStockObject(BLACK_PEN));
    for (const balloon::Line line : {balloon::DragLineTop(width_), balloon::DragLineBottom(width_, height_)}) {
      MoveToEx(backDc_.get(), line.from.x, line.from.y, nullptr);
      LineTo(backDc_.get(), line.to.x, line.to.y);
    }
    GdiFlush();
  }
  ApplyShape(std::move(body));
  UpdateWindow(window_);
}

void BalloonSurface::Paint(HDC dc, const RECT& area) const noexcept {
  if (!backDc_) return;
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, backDc_.get(), area.left,
         area.top, SRCCOPY);
}

std::uint32_t BalloonSurface::BackPixel(int x, int y) const noexcept {
  if (backBits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return backBits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] &
         0x00FFFFFF;
}

// ---- The icon strip -------------------------------------------------------

namespace {

constexpr int kIcon = 16;

struct Painter {
  HDC dc;
  int left;

  void Ellipse(int x1, int y1, int x2, int y2, COLORREF fill, COLORREF outline) const noexcept {
    const UniqueBrush brush(CreateSolidBrush(fill));
    const UniquePen pen(CreatePen(PS_SOLID, 1, outline));
    const SelectGuard b(dc, brush.get());
    const SelectGuard p(dc, pen.get());
    ::Ellipse(dc, left + x1, y1, left + x2, y2);
  }
  void RoundBox(int x1, int y1, int x2, int y2, int corner, COLORREF fill, COLORREF outline) const noexcept {
    const UniqueBrush brush(CreateSolidBrush(fill));
    const UniquePen pen(CreatePen(PS_SOLID, 1, outline));
    const SelectGuard b(dc, brush.get());
    const SelectGuard p(dc, pen.get());
    ::RoundRect(dc, left + x1, y1, left + x2, y2, corner, corner);
  }
  void Box(int x1, int y1, int x2, int y2, COLORREF fill) const noexcept {
    const UniqueBrush brush(CreateSolidBrush(fill));
    const RECT r{left + x1, y1, left + x2, y2};
    FillRect(dc, &r, brush.get());
  }
  void Polygon(std::initializer_list<POINT> points, COLORREF fill, COLORREF outline) const noexcept {
    std::vector<POINT> shifted;
    for (POINT p : points) shifted.push_back({left + p.x, p.y});
    const UniqueBrush brush(CreateSolidBrush(fill));
    const UniquePen pen(CreatePen(PS_SOLID, 1, outline));
    const SelectGuard b(dc, brush.get());
    const SelectGuard p(dc, pen.get());
    ::Polygon(dc, shifted.data(), static_cast<int>(shifted.size()));
  }
  void Lines(std::initializer_list<POINT> points, COLORREF colour, int width) const noexcept {
    const UniquePen pen(CreatePen(PS_SOLID, width, colour));
    const SelectGuard p(dc, pen.get());
    bool first = true;
    for (POINT pt : points) {
      if (first) MoveToEx(dc, left + pt.x, pt.y, nullptr);
      else LineTo(dc, left + pt.x, pt.y);
      first = false;
    }
  }
  void Cross(int inset, COLORREF colour) const noexcept {
    for (int d = 0; d < 2; ++d) {
      Lines({{inset + d, inset}, {kIcon - inset + d, kIcon - inset}}, colour, 1);
      Lines({{kIcon - inset - 1 + d, inset}, {inset - 1 + d, kIcon - inset}}, colour, 1);
    }
  }
  void Glyph(const char* text, COLORREF colour) const noexcept {
    LOGFONTA font{};
    font.lfHeight = -13;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    const UniqueFont made(CreateFontIndirectA(&font));
    const SelectGuard f(dc, made.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT r{left, 0, left + kIcon, kIcon};
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
};

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Twelve icons: 1 stop, 2 exclamation, 3 information, 4 question, 5 done,
// 6 memory, 7 network, 8 clock, 9-11 the close image (normal, hover,
// pressed), 12 the program's mark.
// 1 to 5: the message icons.
void PaintMessageIcon(const Painter& p, int number) noexcept {
  switch (number) {
    case 1:
      p.Ellipse(0, 0, 16, 16, RGB(214, 48, 40), RGB(150, 24, 20));
      p.Cross(5, kWhite);
      break;
    case 2:
      p.Polygon({{7, 0}, {8, 0}, {15, 14}, {15, 15}, {0, 15}, {0, 14}}, RGB(250, 200, 40), RGB(170, 120, 10));
      p.Box(7, 4, 9, 10, RGB(30, 30, 30));
      p.Box(7, 11, 9, 13, RGB(30, 30, 30));
      break;
    case 3:
      p.Ellipse(0, 0, 16, 16, RGB(40, 110, 210), RGB(20, 70, 150));
      p.Box(7, 3, 9, 5, kWhite);
      p.Box(7, 6, 9, 13, kWhite);
      p.Box(6, 6, 7, 7, kWhite);
      p.Box(6, 12, 10, 13, kWhite);
      break;
    case 4:
      p.Ellipse(0, 0, 16, 16, RGB(40, 110, 210), RGB(20, 70, 150));
      p.Glyph("?", kWhite);
      break;
    case 5:
      p.Ellipse(0, 0, 16, 16, RGB(46, 150, 70), RGB(26, 100, 44));
      p.Lines({{4, 8}, {7, 11}, {12, 5}}, kWhite, 2);
      break;
    default:
      break;
  }
}

// 6 to 12: the topic icons, the close image and the program's mark.
void PaintTopicIcon(const Painter& p, int number) noexcept {
  switch (number) {
    case 6:
      p.Box(3, 2, 13, 14, RGB(50, 60, 70));
      for (int y = 3; y < 14; y += 3) {
        p.Box(1, y, 3, y + 1, RGB(180, 150, 60));
        p.Box(13, y, 15, y + 1, RGB(180, 150, 60));
      }
      p.Box(5, 4, 11, 12, RGB(90, 110, 130));
      break;
    case 7:
      p.Ellipse(0, 0, 16, 16, RGB(60, 150, 210), RGB(30, 90, 150));
      p.Ellipse(4, 0, 12, 16, RGB(60, 150, 210), RGB(200, 230, 250));
      p.Lines({{1, 8}, {15, 8}}, RGB(200, 230, 250), 1);
      p.Lines({{8, 1}, {8, 15}}, RGB(200, 230, 250), 1);
      break;
    case 8:
      p.Ellipse(0, 0, 16, 16, kWhite, RGB(80, 80, 90));
      p.Lines({{8, 3}, {8, 8}, {11, 10}}, RGB(40, 40, 50), 1);
      break;
    case 9:
      p.Cross(4, RGB(90, 90, 90));
      break;
    case 10:
      p.RoundBox(0, 0, 16, 16, 5, RGB(220, 60, 50), RGB(180, 40, 30));
      p.Cross(4, kWhite);
      break;
    case 11:
      p.RoundBox(0, 0, 16, 16, 5, RGB(150, 30, 24), RGB(110, 20, 14));
      p.Cross(5, kWhite);
      break;
    case 12:
      p.RoundBox(0, 0, 16, 16, 6, RGB(30, 90, 170), RGB(20, 60, 120));
      p.Glyph("T", kWhite);
      break;
    default:
      break;
  }
}

void PaintIcon(HDC dc, int number) noexcept {
  const Painter p{dc, (number - 1) * kIcon};
  if (number <= 5) {
    PaintMessageIcon(p, number);
  } else {
    PaintTopicIcon(p, number);
  }
}

}  // namespace

HBITMAP IconStrip(int size) noexcept {
  struct Painted {
    int size = 0;
    UniqueBitmap strip;
  };
  static std::array<Painted, 8> painted;
  if (size < 1 || size > 256) return nullptr;
  for (const Painted& made : painted) {
    if (made.size == size) return made.strip.get();
  }
  const WindowDC screen(nullptr);
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size * 12, size));
  const UniqueMemoryDC dc(CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return nullptr;
  {
    const SelectGuard select(dc.get(), bitmap.get());
    const UniqueBrush key(CreateSolidBrush(kStripKeyColor));
    const RECT all{0, 0, size * 12, size};
    FillRect(dc.get(), &all, key.get());
    // The icons are drawn on a 16-unit grid, scaled to the size asked for.
    // GDI draws without blending, so no edge mixes with the key colour.
    SetGraphicsMode(dc.get(), GM_ADVANCED);
    const float scale = static_cast<float>(size) / kIcon;
    const XFORM grid{scale, 0.0f, 0.0f, scale, 0.0f, 0.0f};
    SetWorldTransform(dc.get(), &grid);
    for (int n = 1; n <= 12; ++n) {
      // A scaled pen on an icon's edge would reach into its neighbour.
      const int saved = SaveDC(dc.get());
      IntersectClipRect(dc.get(), (n - 1) * kIcon, 0, n * kIcon, kIcon);
      PaintIcon(dc.get(), n);
      RestoreDC(dc.get(), saved);
    }
    ModifyWorldTransform(dc.get(), nullptr, MWT_IDENTITY);
  }
  for (Painted& slot : painted) {
    if (slot.size != 0) continue;
    slot.size = size;
    slot.strip = std::move(bitmap);
    return slot.strip.get();
  }
  // Every slot is taken (never with the few DPIs in use): the last one is
  // painted again for this size.
  Painted& last = painted.back();
  last.size = size;
  last.strip = std::move(bitmap);
  return last.strip.get();
}

void BlitWithColorKey(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, COLORREF key) noexcept {
  // A one-bit mask: 1 where the source shows the key colour.
  const UniqueMemoryDC maskDc(CreateCompatibleDC(dest));
  const UniqueBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  const UniqueMemoryDC partDc(CreateCompatibleDC(dest));
  const UniqueBitmap part(CreateCompatibleBitmap(dest, w, h));
  if (!maskDc || !mask || !partDc || !part) return;
  const SelectGuard selectMask(maskDc.get(), mask.get());
  const SelectGuard selectPart(partDc.get(), part.get());
  const COLORREF oldBack = SetBkColor(source, key);
  BitBlt(maskDc.get(), 0, 0, w, h, source, sx, sy, SRCCOPY);
  SetBkColor(source, oldBack);
  // The source without its key pixels (black there): the mask's key bits
  // become black and the others white ...
  BitBlt(partDc.get(), 0, 0, w, h, source, sx, sy, SRCCOPY);
  const COLORREF oldText = SetTextColor(partDc.get(), RGB(255, 255, 255));
  const COLORREF oldPartBack = SetBkColor(partDc.get(), RGB(0, 0, 0));
  BitBlt(partDc.get(), 0, 0, w, h, maskDc.get(), 0, 0, SRCAND);
  SetTextColor(partDc.get(), oldText);
  SetBkColor(partDc.get(), oldPartBack);
  // ... the destination kept only where the key was, then the two combined.
  const COLORREF destText = SetTextColor(dest, RGB(0, 0, 0));
  const COLORREF destBack = SetBkColor(dest, RGB(255, 255, 255));
  BitBlt(dest, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
  SetTextColor(dest, destText);
  SetBkColor(dest, destBack);
  BitBlt(dest, x, y, w, h, partDc.get(), 0, 0, SRCINVERT);
}

void DrawStripIcon(HDC dest, int x, int y, int n, int size, COLORREF background) noexcept {
  const UniqueBrush fill(CreateSolidBrush(background));
  const RECT square{x, y, x + size, y + size};
  FillRect(dest, &square, fill.get());
  const HBITMAP strip = IconStrip(size);
  if (strip == nullptr || n < 1 || n > 12) return;
  const UniqueMemoryDC stripDc(CreateCompatibleDC(dest));
  if (!stripDc) return;
  const SelectGuard select(stripDc.get(), strip);
  BlitWithColorKey(dest, x, y, size, size, stripDc.get(), size * (n - 1), 0, kStripKeyColor);
}

UniqueBitmap SetStripIcon(HWND image, int n, int size, COLORREF background) noexcept {
  const WindowDC screen(nullptr);
  UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), size, size));
  const UniqueMemoryDC dc(CreateCompatibleDC(screen.get()));
  if (!picture || !dc) return {};
  {
    const SelectGuard select(dc.get(), picture.get());
    DrawStripIcon(dc.get(), 0, 0, n, size, background);
  }
  SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
  return picture;
}

}  // namespace tarvix
