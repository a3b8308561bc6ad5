#pragma once
// The balloon window's geometry and shadow colours, free of window code: where
// the window goes for a target point, the rectangles of body and shadow, the
// pointer triangles and the blend that darkens the screen beneath the shadow.
// All coordinates are window pixels unless a name says "screen".
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvix::balloon {

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The window is 5385 twips wide (359 pixels at 15 twips per pixel).
inline constexpr int kDesignWidthTwips = 5385;
// The target point lies this far in from the near side of the window.
inline constexpr int kPointerInset = 42;

// Where the pointer sits, by the screen quarter of the target point.
inline constexpr std::int16_t kStyleBottomRight = 1;
inline constexpr std::int16_t kStyleTopRight = 2;
inline constexpr std::int16_t kStyleBottomLeft = 3;
inline constexpr std::int16_t kStyleTopLeft = 4;

// Shadow intensities that keep every blend weight within 0..255.
inline constexpr std::int16_t kMinIntensity = -20;
inline constexpr std::int16_t kMaxIntensity = 75;

// Fill of the body's outer edge strip.
inline constexpr std::uint32_t kBodyEdgeColor = 0x00464646;  // RGB(70, 70, 70)

[[nodiscard]] constexpr int PixelsFromTwips(int twips, int twipsPerPixel) noexcept {
  return twipsPerPixel > 0 ? twips / twipsPerPixel : twips;
}

// The point the balloon aims at: (X, Y) rounded to whole pixels, or the
// cursor when either is 0.
[[nodiscard]] Point ResolveTarget(float X, float Y, Point cursor) noexcept;

struct Placement {
  std::int16_t style = kStyleTopLeft;
  int left = 0;  // screen position of the window's top-left corner
  int top = 0;
  friend constexpr bool operator==(const Placement&, const Placement&) = default;
};

// Style and window position for target `p` on a screen of `screenWidth` x
// `screenHeight`, for a window of `width` x `height`. A point on a half line
// counts as left or top.
[[nodiscard]] Placement PlaceForTarget(Point p, int screenWidth, int screenHeight, int width,
                                       int height) noexcept;

// The body's region: a rounded rectangle with a 20 x 20 corner ellipse; the
// band above it stays free for an upward pointer.
[[nodiscard]] constexpr Rect BodyRegionRect(int width, int height) noexcept {
  return {0, 20, width - 14, height - 32};
}
inline constexpr int kBodyRegionCorner = 20;
// The panel-coloured face drawn inside the body (24 x 24 corners), one pixel
// smaller on the right and bottom so the edge colour shows there.
[[nodiscard]] constexpr Rect BodyFaceRect(int width, int height) noexcept {
  return {0, 20, width - 15, height - 33};
}
inline constexpr int kBodyFaceCorner = 24;

// The shadow's region, a rounded rectangle with a 45 x 35 corner ellipse.
[[nodiscard]] constexpr Rect ShadowRegionRect(int width, int height) noexcept {
  return {11, 29, width - 5, height - 23};
}
inline constexpr int kShadowCornerWidth = 45;
inline constexpr int kShadowCornerHeight = 35;

// Rows and columns of the shadow band: n runs from 17 (under the body) down
// to 0 (the outer edge).
inline constexpr int kShadowSteps = 18;

// The blend weight of shadow row/column n: 20 for 17 and 16, 40 for 15 and
// 14, ... 180 for 1 and 0.
[[nodiscard]] constexpr int ShadowWeight(int n) noexcept { return 20 * ((19 - n) / 2); }

[[nodiscard]] constexpr std::int16_t ClampIntensity(int intensity) noexcept {
  return static_cast<std::int16_t>(intensity < kMinIntensity   ? kMinIntensity
                                   : intensity > kMaxIntensity ? kMaxIntensity
                                                               : intensity);
}

// The intensity kept as decimal text beside the window: 0 when the text is
// empty or not a number, otherwise held within the limits.
[[nodiscard]] std::int16_t IntensityFromTag(std::string_view tag) noexcept;

// One colour byte darkened toward black: c x (weight + intensity) / 256, the
// sum held within 0..255.
[[nodiscard]] std::uint8_t BlendShadowByte(std::uint8_t c, int weight, int intensity) noexcept;
// A colour as 0x00BBGGRR (or 0x00RRGGBB: each byte is blended alike).
[[nodiscard]] std::uint32_t BlendShadowColor(std::uint32_t color, int weight, int intensity) noexcept;

// One window pixel of the shadow; its colour is the blend of the screen pixel
// that lies beneath it.
struct ShadowPixel {
  int x = 0;
  int y = 0;
  int weight = 0;
};
// Every shadow pixel of a width x height window, in painting order (n from
// 17 down to 0, bottom band then right band). No pixel appears twice.
[[nodiscard]] std::vector<ShadowPixel> ShadowPixels(int width, int height);

struct Triangle {
  Point p[3];
};
struct PointerShape {
  Triangle outer;  // black, and the pointer's region
  Triangle inner;  // panel colour
};
// The pointer triangles of style 1..4; none for any other style.
[[nodiscard]] std::optional<PointerShape> PointerTriangles(int style, int width, int height) noexcept;

// The two black lines shown while the window is dragged.
struct Line {
  Point from;
  Point to;
};
[[nodiscard]] constexpr Line DragLineTop(int width) noexcept { return {{5, 20}, {width - 5, 20}}; }
[[nodiscard]] constexpr Line DragLineBottom(int width, int height) noexcept {
  return {{5, height - 25}, {width - 5, height - 25}};
}

}  // namespace tarvix::balloon
