#include "ui/Balloon.h"

#include <charconv>
#include <cmath>

namespace tarvix::balloon {

Point ResolveTarget(float X, float Y, Point cursor) noexcept {
  if (X == 0.0f || Y == 0.0f || !std::isfinite(X) || !std::isfinite(Y)) return cursor;
  // Far beyond any screen; keeps the conversion defined.
  constexpr float kLimit = 1.0e6f;
  const auto whole = [](float v) {
    return static_cast<int>(std::lround(v < -kLimit ? -kLimit : v > kLimit ? kLimit : v));
  };
  return {whole(X), whole(Y)};
}

Placement PlaceForTarget(Point p, int screenWidth, int screenHeight, int width, int height) noexcept {
  // Compared doubled so that an odd screen size has an exact half line.
  const bool left = 2 * p.x <= screenWidth;
  const bool top = 2 * p.y <= screenHeight;
  Placement place;
  place.left = left ? p.x - kPointerInset : p.x + kPointerInset - width;
  place.top = top ? p.y : p.y - height;
  place.style = top ? (left ? kStyleTopLeft : kStyleTopRight) : (left ? kStyleBottomLeft : kStyleBottomRight);
  return place;
}

std::int16_t IntensityFromTag(std::string_view tag) noexcept {
  while (!tag.empty() && tag.front() == ' ') tag.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), value);
  if (error == std::errc::result_out_of_range) return tag.front() == '-' ? kMinIntensity : kMaxIntensity;
  if (error != std::errc() || end == tag.data()) return 0;
  return ClampIntensity(value);
}

std::uint8_t BlendShadowByte(std::uint8_t c, int weight, int intensity) noexcept {
  int factor = weight + intensity;
  factor = factor < 0 ? 0 : factor > 255 ? 255 : factor;
  return static_cast<std::uint8_t>(c * factor / 256);
}

std::uint32_t BlendShadowColor(std::uint32_t color, int weight, int intensity) noexcept {
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const auto byte = static_cast<std::uint8_t>((color >> shift) & 0xFF);
    result |= std::uint32_t{BlendShadowByte(byte, weight, intensity)} << shift;
  }
  return result;
}

std::vector<ShadowPixel> ShadowPixels(int width, int height) {
  const int right = width - 5;    // R
  const int bottom = height - 23;  // B
  std::vector<ShadowPixel> pixels;
  for (int n = kShadowSteps - 1; n >= 0; --n) {
    const int weight = ShadowWeight(n);
    for (int x = n + 5; x <= right - n; ++x) pixels.push_back({x, bottom - n, weight});
    // The corner (R - n, B - n) belongs to the bottom band already.
    for (int y = n + 23; y < bottom - n; ++y) pixels.push_back({right - n, y, weight});
  }
  return pixels;
}

std::optional<PointerShape> PointerTriangles(int style, int width, int height) noexcept {
  const int W = width;
  const int H = height;
  switch (style) {
    case kStyleBottomRight:
      return PointerShape{{{{W - 61, H - 34}, {W - 36, H - 34}, {W - 36, H - 9}}},
                          {{{W - 62, H - 35}, {W - 37, H - 35}, {W - 37, H - 11}}}};
    case kStyleTopRight:
      return PointerShape{{{{W - 58, 20}, {W - 38, 20}, {W - 38, 0}}},
                          {{{W - 59, 22}, {W - 39, 22}, {W - 39, 2}}}};
    case kStyleBottomLeft:
      return PointerShape{{{{41, H - 34}, {66, H - 34}, {41, H - 9}}},
                          {{{42, H - 35}, {66, H - 35}, {42, H - 11}}}};
    case kStyleTopLeft:
      return PointerShape{{{{40, 20}, {60, 20}, {40, 0}}}, {{{41, 21}, {59, 21}, {41, 3}}}};
    default:
      return std::nullopt;
  }
}

}  // namespace tarvix::balloon
