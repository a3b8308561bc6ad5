#include "ui/SkinGdi.h"

#include <algorithm>
#include <string>

namespace tarvix {

Rgb MixColour(Rgb a, Rgb b, int amount) noexcept {
  amount = std::clamp(amount, 0, 255);
  const auto mix = [amount](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint8_t>((x * (255 - amount) + y * amount + 127) / 255);
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

namespace {

int CALLBACK FoundFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

UniqueFont FontOf(const char* face, int pixelHeight, int weight) noexcept {
  LOGFONTA font{};
  font.lfHeight = -pixelHeight;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfOutPrecision = OUT_TT_PRECIS;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectA(&font));
}

}  // namespace

bool FontFamilyInstalled(std::string_view face) noexcept {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  std::copy(face.begin(), face.end(), query.lfFaceName);
  bool found = false;
  const WindowDC screen(nullptr);
  if (screen.get() == nullptr) return false;
  EnumFontFamiliesExA(screen.get(), &query, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

UniqueFont CreateUiFont(std::string_view face, int pixelHeight, int weight) noexcept {
  try {
    for (std::string_view candidate : {face, std::string_view("Segoe UI"), std::string_view("Tahoma")}) {
      if (FontFamilyInstalled(candidate)) {
        UniqueFont font = FontOf(std::string(candidate).c_str(), pixelHeight, weight);
        if (font) return font;
      }
    }
  } catch (...) {
    // std::string could not allocate; fall through to the system's face.
  }
  LOGFONTA system{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system);
  return FontOf(system.lfFaceName[0] ? system.lfFaceName : "MS Shell Dlg", pixelHeight, weight);
}

UniqueBitmap CreateTopDownDib(HDC reference, int width, int height, std::uint32_t** bits) noexcept {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &raw, nullptr, 0));
  *bits = bitmap ? static_cast<std::uint32_t*>(raw) : nullptr;
  return bitmap;
}

void FillGradient(HDC dc, const RECT& box, Rgb from, Rgb to, bool vertical) noexcept {
  TRIVERTEX corners[2] = {
      {box.left, box.top, static_cast<COLOR16>(from.r << 8), static_cast<COLOR16>(from.g << 8),
       static_cast<COLOR16>(from.b << 8), 0xFF00},
      {box.right, box.bottom, static_cast<COLOR16>(to.r << 8), static_cast<COLOR16>(to.g << 8),
       static_cast<COLOR16>(to.b << 8), 0xFF00},
  };
  GRADIENT_RECT rect{0, 1};
  if (!GradientFill(dc, corners, 2, &rect, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H)) {
    const UniqueBrush brush(CreateSolidBrush(ToColorRef(MixColour(from, to, 128))));
    FillRect(dc, &box, brush.get());
  }
}

void FillRoundBox(HDC dc, const RECT& box, int radius, Rgb fill, Rgb border) noexcept {
  const UniqueBrush brush(CreateSolidBrush(ToColorRef(fill)));
  const UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(border)));
  const SelectGuard selectBrush(dc, brush.get());
  const SelectGuard selectPen(dc, pen.get());
  RoundRect(dc, box.left, box.top, box.right, box.bottom, radius * 2, radius * 2);
}

void FrameRoundBox(HDC dc, const RECT& box, int radius, Rgb colour, int thickness) noexcept {
  const UniquePen pen(CreatePen(PS_SOLID, 1, ToColorRef(colour)));
  const SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
  const SelectGuard selectPen(dc, pen.get());
  for (int i = 0; i < thickness; ++i) {
    const int r = std::max(1, radius - i);
    RoundRect(dc, box.left + i, box.top + i, box.right - i, box.bottom - i, r * 2, r * 2);
  }
}

void DrawTextIn(HDC dc, std::string_view text, RECT box, HFONT font, Rgb colour, UINT flags) noexcept {
  DrawCaptionIn(dc, text, box, font, colour, flags | DT_NOPREFIX);
}

void DrawCaptionIn(HDC dc, std::string_view text, RECT box, HFONT font, Rgb colour, UINT flags) noexcept {
  const SelectGuard selectFont(dc, font);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, ToColorRef(colour));
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &box, flags);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

int TextWidthIn(HDC dc, std::string_view text, HFONT font) noexcept {
  const SelectGuard selectFont(dc, font);
  SIZE size{};
  if (!GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

}  // namespace tarvix
