#pragma once
// Drawing the balloon window: its back image with the darkened copy of the
// screen beneath as shadow, the rounded body and the pointer, the window's
// shape made from their regions, and the icons of the program's icon strip.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "ui/Balloon.h"
#include "ui/Handles.h"

namespace tarvix {

struct ScreenSize {
  int width = 0;
  int height = 0;
};
// The display's resolution in pixels.
[[nodiscard]] ScreenSize GetScreenSize() noexcept;

// The screen's twips per pixel (15 at 96 dots per inch).
struct TwipsPerPixel {
  int x = 15;
  int y = 15;
};
[[nodiscard]] TwipsPerPixel ReadTwipsPerPixel() noexcept;
// The twips per pixel of a screen of `dpi` (15 at 96, 10 at 144).
[[nodiscard]] TwipsPerPixel TwipsPerPixelAt(int dpi) noexcept;

// How the shadow reads the screen beneath the window: one block copy of the
// window's rectangle, or one read per shadow pixel. Both give the same image.
enum class ShadowRead { Block, PerPixel };

// The balloon face of one borderless top-level window. Everything is drawn
// into a back image of the window's size, which Paint copies to the screen.
class BalloonSurface {
 public:
  BalloonSurface() = default;
  BalloonSurface(const BalloonSurface&) = delete;
  BalloonSurface& operator=(const BalloonSurface&) = delete;

  // Binds to `window` with the given size and fill; a new size makes a new
  // (empty) back image. Returns false when the back image cannot be made.
  [[nodiscard]] bool Attach(HWND window, int width, int height, COLORREF panelColor) noexcept;
  void Detach() noexcept;

  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] COLORREF PanelColor() const noexcept { return panelColor_; }

  // Chooses the pointer style for the target (X, Y), or the cursor when
  // either is 0, and moves (and sizes) the window there at once.
  std::int16_t GetPointerStyle(float X, float Y) noexcept;
  // Paints the body; returns a copy of its region, which the surface keeps too.
  UniqueRegion n_GetMainRect() noexcept;
  // Paints the shadow from the screen beneath the window; returns its region.
  UniqueRegion n_GetShadowRect(std::int16_t Inty, ShadowRead read = ShadowRead::Block) noexcept;
  // Paints the pointer of style `idx`; returns a copy of its region, or of
  // the one kept from an earlier call when `idx` is not a style.
  UniqueRegion n_SetPointer(int idx) noexcept;

  // Places the window for the target point, paints shadow, body and pointer,
  // and gives the window the union of their regions as its shape.
  void DrawBalloon(bool NoPointer, float X, float Y, std::int16_t Inty,
                   ShadowRead read = ShadowRead::Block) noexcept;
  // After a move: shadow and body painted anew, shape body and shadow.
  void n_RefreshShadow(std::int16_t Inty) noexcept;
  // The start of a drag: the body alone as shape, with two black lines.
  void ShowDragShape() noexcept;

  // Copies the back image to a window DC.
  void Paint(HDC dc, const RECT& area) const noexcept;
  // The back image's pixel as 0x00RRGGBB (tests and checks).
  [[nodiscard]] std::uint32_t BackPixel(int x, int y) const noexcept;

 private:
  void ApplyShape(UniqueRegion shape) noexcept;
  void ReadScreenBlock(const RECT& window, std::uint32_t* out) const noexcept;

  HWND window_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  COLORREF panelColor_ = RGB(255, 255, 255);
  UniqueBitmap backBitmap_;
  UniqueMemoryDC backDc_;  // declared after the bitmap: deleted first
  std::uint32_t* backBits_ = nullptr;
  UniqueRegion body_;
  UniqueRegion pointer_;
};

// A copy of a region (a new handle); empty when `region` is null.
[[nodiscard]] UniqueRegion CopyRegion(HRGN region) noexcept;

// The program's strip of twelve `size` x `size` icons (16 at 96 DPI), each
// size painted once per process from the same drawing, so that it is as
// sharp at 32 pixels as at 16; pure green marks the transparent pixels.
[[nodiscard]] HBITMAP IconStrip(int size = 16) noexcept;
inline constexpr COLORREF kStripKeyColor = RGB(0, 255, 0);

// Copies w x h pixels from `source` at (sx, sy) to `dest` at (x, y), leaving
// the destination where the source shows `key`.
void BlitWithColorKey(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, COLORREF key) noexcept;
// Draws strip icon `n` (1-based) over `background` into `dest` at (x, y).
void DrawStripIcon(HDC dest, int x, int y, int n, int size, COLORREF background) noexcept;
// Icon `n` of the strip composited over `background` as a new bitmap, shown
// by the picture control `image` (a static with SS_BITMAP). The control does
// not own bitmaps: the caller keeps the returned one while it is shown.
[[nodiscard]] UniqueBitmap SetStripIcon(HWND image, int n, int size, COLORREF background) noexcept;

}  // namespace tarvix
