#include "ui/TrayPicture.h"

#include <cstdint>

#include "ui/SkinGdi.h"

namespace tarvix::tray {
namespace {

struct Canvas {
  UniqueMemoryDC dc;
  UniqueBitmap bitmap;
  std::uint32_t* pixels = nullptr;  // top-down BGRA, kTrayPictureSize squared
};

// A 32-bit top-down DIB section of the icon's size with its own memory DC.
Canvas MakeCanvas() noexcept {
  Canvas canvas;
  canvas.bitmap = CreateTopDownDib(nullptr, kTrayPictureSize, kTrayPictureSize, &canvas.pixels);
  canvas.dc.reset(CreateCompatibleDC(nullptr));
  if (!canvas.bitmap || !canvas.dc) return {};
  return canvas;
}

// GDI drawing leaves the alpha byte at 0, which would make the icon invisible
// wherever alpha is honoured: the picture is opaque.
void MakeOpaque(Canvas& canvas) noexcept {
  GdiFlush();
  for (int i = 0; i < kTrayPictureSize * kTrayPictureSize; ++i) canvas.pixels[i] |= 0xFF000000u;
}

// Adds the finished canvas to a fresh image list and takes the icon back out;
// the list goes away with the function.
UniqueIcon IconThroughImageList(Canvas& canvas) noexcept {
  UniqueImageList list(ImageList_Create(kTrayPictureSize, kTrayPictureSize, ILC_COLOR32 | ILC_MASK, 1, 0));
  if (!list) return {};
  // An all-zero mask: every pixel shows.
  UniqueBitmap mask(CreateBitmap(kTrayPictureSize, kTrayPictureSize, 1, 1, nullptr));
  if (!mask) return {};
  {
    UniqueMemoryDC maskDc(CreateCompatibleDC(nullptr));
    if (!maskDc) return {};
    SelectGuard selected(maskDc.get(), mask.get());
    PatBlt(maskDc.get(), 0, 0, kTrayPictureSize, kTrayPictureSize, BLACKNESS);
  }
  if (ImageList_Add(list.get(), canvas.bitmap.get(), mask.get()) < 0) return {};
  return UniqueIcon(ImageList_GetIcon(list.get(), 0, ILD_NORMAL));
}

}  // namespace

UniqueIcon IconFromBitmap(HBITMAP bitmap) noexcept {
  BITMAP source{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof source, &source) == 0 || source.bmWidth <= 0 ||
      source.bmHeight == 0)
    return {};
  Canvas canvas = MakeCanvas();
  if (canvas.pixels == nullptr) return {};
  UniqueMemoryDC sourceDc(CreateCompatibleDC(nullptr));
  if (!sourceDc) return {};
  {
    SelectGuard sourceSelected(sourceDc.get(), bitmap);
    SelectGuard canvasSelected(canvas.dc.get(), canvas.bitmap.get());
    const int height = source.bmHeight < 0 ? -source.bmHeight : source.bmHeight;
    SetStretchBltMode(canvas.dc.get(), HALFTONE);
    SetBrushOrgEx(canvas.dc.get(), 0, 0, nullptr);
    if (!StretchBlt(canvas.dc.get(), 0, 0, kTrayPictureSize, kTrayPictureSize, sourceDc.get(), 0, 0,
                    source.bmWidth, height, SRCCOPY))
      return {};
  }
  MakeOpaque(canvas);
  return IconThroughImageList(canvas);
}

UniqueIcon IconFromCursor(HCURSOR cursor) noexcept {
  if (cursor == nullptr) return {};
  UniqueImageList list(ImageList_Create(kTrayPictureSize, kTrayPictureSize, ILC_COLOR32 | ILC_MASK, 1, 0));
  if (!list) return {};
  if (ImageList_ReplaceIcon(list.get(), -1, cursor) < 0) return {};
  return UniqueIcon(ImageList_GetIcon(list.get(), 0, ILD_NORMAL));
}

UniqueIcon IconFromMetafile(HENHMETAFILE metafile) noexcept {
  if (metafile == nullptr) return {};
  Canvas canvas = MakeCanvas();
  if (canvas.pixels == nullptr) return {};
  {
    SelectGuard canvasSelected(canvas.dc.get(), canvas.bitmap.get());
    const RECT square{0, 0, kTrayPictureSize, kTrayPictureSize};
    FillRect(canvas.dc.get(), &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!PlayEnhMetaFile(canvas.dc.get(), metafile, &square)) return {};
  }
  MakeOpaque(canvas);
  return IconThroughImageList(canvas);
}

}  // namespace tarvix::tray
