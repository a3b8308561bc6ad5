#pragma once
// The program's UI font with its fallbacks, and the few shapes the movie and
// the skin draw (gradients, rounded boxes).
#include <windows.h>

#include <cstdint>
#include <string_view>
#include <utility>

#include "base/TextFile.h"
#include "ui/Handles.h"

namespace tarvix {

[[nodiscard]] constexpr COLORREF ToColorRef(Rgb c) noexcept { return RGB(c.r, c.g, c.b); }
// `amount` 0 gives `a`, 255 gives `b`.
[[nodiscard]] Rgb MixColour(Rgb a, Rgb b, int amount) noexcept;

// True when a font family of this name is installed.
[[nodiscard]] bool FontFamilyInstalled(std::string_view face) noexcept;
// The UI font: `face` when installed, else "Segoe UI", else "Tahoma", else
// the system's DEFAULT_GUI_FONT face. `pixelHeight` is the character height.
[[nodiscard]] UniqueFont CreateUiFont(std::string_view face, int pixelHeight, int weight = FW_NORMAL) noexcept;

// Fills `box` with a two-colour gradient (msimg32's GradientFill).
void FillGradient(HDC dc, const RECT& box, Rgb from, Rgb to, bool vertical) noexcept;
// A top-down 32-bit DIB section, so pixels can be read and written directly;
// `bits` is null when it could not be made.
[[nodiscard]] UniqueBitmap CreateTopDownDib(HDC reference, int width, int height, std::uint32_t** bits) noexcept;
// A filled rounded box with an optional 1-pixel border (border == fill for none).
void FillRoundBox(HDC dc, const RECT& box, int radius, Rgb fill, Rgb border) noexcept;
// A rounded outline `thickness` pixels wide, drawn inside `box`.
void FrameRoundBox(HDC dc, const RECT& box, int radius, Rgb colour, int thickness) noexcept;
// Text in `font` and `colour`, transparent background, DrawTextA flags.
void DrawTextIn(HDC dc, std::string_view text, RECT box, HFONT font, Rgb colour, UINT flags) noexcept;
// A control's caption, as DrawTextIn draws text but with '&' marking the
// access key, as the system draws it.
void DrawCaptionIn(HDC dc, std::string_view text, RECT box, HFONT font, Rgb colour, UINT flags) noexcept;
// The width in pixels of one line of `text` in `font`.
[[nodiscard]] int TextWidthIn(HDC dc, std::string_view text, HFONT font) noexcept;

}  // namespace tarvix
