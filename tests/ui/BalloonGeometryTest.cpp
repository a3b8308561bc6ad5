// The balloon's placement, shapes and shadow weights, without a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "ui/Balloon.h"

namespace tarvix::balloon {
namespace {

constexpr int kScreenW = 1280;
constexpr int kScreenH = 1024;
constexpr int kW = 359;
constexpr int kH = 150;

TEST(BalloonPlacement, EachQuarterGetsItsStyleAndPosition) {
  struct Case {
    Point target;
    Placement expected;
  };
  const Case cases[] = {
      {{100, 100}, {kStyleTopLeft, 58, 100}},
      {{1000, 100}, {kStyleTopRight, 1000 + 42 - kW, 100}},
      {{100, 900}, {kStyleBottomLeft, 58, 900 - kH}},
      {{1000, 900}, {kStyleBottomRight, 1000 + 42 - kW, 900 - kH}},
      // The centre and the half lines count as left and top.
      {{640, 512}, {kStyleTopLeft, 598, 512}},
      {{640, 900}, {kStyleBottomLeft, 598, 900 - kH}},
      {{1000, 512}, {kStyleTopRight, 1000 + 42 - kW, 512}},
      {{641, 513}, {kStyleBottomRight, 641 + 42 - kW, 513 - kH}},
      // A second monitor left of the main one.
      {{-300, 200}, {kStyleTopLeft, -342, 200}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceForTarget(c.target, kScreenW, kScreenH, kW, kH), c.expected)
        << "target " << c.target.x << "," << c.target.y;
  }
  // An odd width has its half line between two pixels.
  EXPECT_EQ(PlaceForTarget({640, 10}, 1281, 1024, kW, kH).style, kStyleTopLeft);
  EXPECT_EQ(PlaceForTarget({641, 10}, 1281, 1024, kW, kH).style, kStyleTopRight);
}

TEST(BalloonPlacement, ZeroCoordinateMeansTheCursor) {
  const Point cursor{321, 654};
  EXPECT_EQ(ResolveTarget(0.0f, 500.0f, cursor), cursor);
  EXPECT_EQ(ResolveTarget(500.0f, 0.0f, cursor), cursor);
  EXPECT_EQ(ResolveTarget(0.0f, 0.0f, cursor), cursor);
  EXPECT_EQ(ResolveTarget(100.6f, 200.4f, cursor), (Point{101, 200}));
  EXPECT_EQ(ResolveTarget(-300.0f, 20.0f, cursor), (Point{-300, 20}));
}

// Wherever the target lies, the pointer's tip ends next to it: the styles
// and the triangles belong together.
TEST(BalloonPlacement, PointerTipLandsAtTheTarget) {
  for (const Point target : {Point{200, 150}, Point{1100, 150}, Point{200, 900}, Point{1100, 900}}) {
    const Placement place = PlaceForTarget(target, kScreenW, kScreenH, kW, kH);
    const auto shape = PointerTriangles(place.style, kW, kH);
    ASSERT_TRUE(shape.has_value());
    const bool up = place.style == kStyleTopLeft || place.style == kStyleTopRight;
    // The tip is the vertex farthest from the body.
    Point tip = shape->outer.p[0];
    for (const Point p : shape->outer.p) {
      if (up ? p.y < tip.y : p.y > tip.y) tip = p;
    }
    EXPECT_LE(std::abs(place.left + tip.x - target.x), 10) << "style " << place.style;
    EXPECT_LE(std::abs(place.top + tip.y - target.y), 10) << "style " << place.style;
  }
  EXPECT_FALSE(PointerTriangles(0, kW, kH).has_value());
  EXPECT_FALSE(PointerTriangles(5, kW, kH).has_value());
}

TEST(BalloonShadow, WeightPerRow) {
  // The weight grows by 20 on every odd row, walking from 17 down to 0.
  int a = 0;
  for (int n = 17; n >= 0; --n) {
    if (n % 2 == 1) a += 20;
    EXPECT_EQ(ShadowWeight(n), a) << "n = " << n;
  }
  EXPECT_EQ(ShadowWeight(17), 20);
  EXPECT_EQ(ShadowWeight(9), 100);
  EXPECT_EQ(ShadowWeight(0), 180);
}

TEST(BalloonShadow, BlendAndIntensityLimits) {
  EXPECT_EQ(BlendShadowByte(255, 180, 0), 179);
  EXPECT_EQ(BlendShadowByte(200, 100, 75), 136);
  // The largest weight with the largest intensity stays below 256 ...
  EXPECT_EQ(BlendShadowByte(255, 180, 75), 254);
  // ... and the smallest with the smallest is black.
  EXPECT_EQ(BlendShadowByte(255, 20, -20), 0);
  // Out-of-range sums are held within a byte instead of wrapping.
  EXPECT_EQ(BlendShadowByte(255, 180, 200), 254);
  EXPECT_EQ(BlendShadowByte(255, 20, -100), 0);
  EXPECT_EQ(BlendShadowColor(0x00FF8040, 100, 0), 0x00633219u);
  EXPECT_EQ(BlendShadowColor(0x00FFFFFF, 0, 0), 0u);

  EXPECT_EQ(ClampIntensity(-21), -20);
  EXPECT_EQ(ClampIntensity(76), 75);
  EXPECT_EQ(ClampIntensity(12), 12);
  EXPECT_EQ(IntensityFromTag(""), 0);
  EXPECT_EQ(IntensityFromTag("abc"), 0);
  EXPECT_EQ(IntensityFromTag("-20"), -20);
  EXPECT_EQ(IntensityFromTag(" 30"), 30);
  EXPECT_EQ(IntensityFromTag("500"), 75);
  EXPECT_EQ(IntensityFromTag("-99999999999999"), -20);
}

TEST(BalloonShadow, PixelsCoverBothBandsOnce) {
  const auto pixels = ShadowPixels(kW, kH);
  const int R = kW - 5;
  const int B = kH - 23;
  // Per row n: the bottom band R - 2n - 4 pixels, the right band B - 2n - 23.
  int expected = 0;
  for (int n = 0; n < kShadowSteps; ++n) expected += (R - 2 * n - 4) + (B - 2 * n - 23);
  ASSERT_EQ(static_cast<int>(pixels.size()), expected);

  std::set<std::pair<int, int>> seen;
  for (const ShadowPixel& p : pixels) {
    EXPECT_TRUE(seen.insert({p.x, p.y}).second) << p.x << "," << p.y;
    ASSERT_TRUE(p.x >= 0 && p.x < kW && p.y >= 0 && p.y < kH);
    // Each pixel's weight is the one of its row (bottom) or column (right).
    const int row = B - p.y;
    const bool bottomBand = row >= 0 && row < kShadowSteps && p.x >= row + 5 && p.x <= R - row;
    const int n = bottomBand ? row : R - p.x;
    EXPECT_EQ(p.weight, ShadowWeight(n)) << p.x << "," << p.y;
  }
  EXPECT_TRUE(seen.count({R, B}));          // outer corner, n = 0
  EXPECT_TRUE(seen.count({5, B}));          // bottom band starts 5 in
  EXPECT_TRUE(seen.count({R, 23}));         // right band starts 23 down
  EXPECT_TRUE(seen.count({22, B - 17}));    // innermost row, under the body
  EXPECT_FALSE(seen.count({R + 1, B}));
  EXPECT_FALSE(seen.count({4, B}));
  // The first painted pixels are the innermost row, the last the outer edge.
  EXPECT_EQ(pixels.front().weight, 20);
  EXPECT_EQ(pixels.back().weight, 180);
}

}  // namespace
}  // namespace tarvix::balloon
