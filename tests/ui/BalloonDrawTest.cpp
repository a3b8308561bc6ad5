// The balloon drawn on a real display: the shadow read from the screen, the
// window's shape, the drag shape and the icon strip.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "BalloonTestSupport.h"
#include "support/Screenshot.h"
#include "ui/Balloon.h"
#include "ui/BalloonDraw.h"

namespace tarvix {
namespace {

using test::HostWindow;
using test::PatternPixel;
using test::PatternWindow;

constexpr int kW = 359;
constexpr int kH = 150;
constexpr COLORREF kPanel = RGB(255, 255, 204);
constexpr std::uint32_t kPanelPixel = 0x00FFFFCC;  // the same as 0x00RRGGBB

std::vector<std::uint32_t> BackImage(const BalloonSurface& surface) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) pixels.push_back(surface.BackPixel(x, y));
  }
  return pixels;
}

bool InShape(HWND window, int x, int y) {
  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(window, region.get()) == ERROR) return false;
  return PtInRegion(region.get(), x, y) != FALSE;
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

class BalloonDrawTest : public ::testing::Test {
 protected:
  PatternWindow background;
};

// The shadow is the screen beneath darkened row by row; reading the screen
// once as a block gives the very pixels of reading it pixel by pixel.
TEST_F(BalloonDrawTest, ShadowDarkensTheScreenBeneathAndBlockReadEqualsPerPixel) {
  HostWindow blockHost;
  HostWindow pixelHost;
  BalloonSurface block;
  BalloonSurface perPixel;
  ASSERT_TRUE(block.Attach(blockHost.hwnd(), kW, kH, kPanel));
  ASSERT_TRUE(perPixel.Attach(pixelHost.hwnd(), kW, kH, kPanel));
  EXPECT_EQ(block.GetPointerStyle(700.0f, 300.0f), balloon::kStyleTopRight);
  EXPECT_EQ(perPixel.GetPointerStyle(700.0f, 300.0f), balloon::kStyleTopRight);
  const RECT at = WindowRect(blockHost.hwnd());
  EXPECT_EQ(at.left, 700 + 42 - kW);
  EXPECT_EQ(at.top, 300);
  EXPECT_EQ(at.right - at.left, kW);
  EXPECT_EQ(at.bottom - at.top, kH);

  constexpr std::int16_t kIntensity = 30;
  (void)block.n_GetShadowRect(kIntensity, ShadowRead::Block);
  (void)perPixel.n_GetShadowRect(kIntensity, ShadowRead::PerPixel);
  const auto fromBlock = BackImage(block);
  EXPECT_EQ(fromBlock, BackImage(perPixel));

  int checked = 0;
  for (const balloon::ShadowPixel& p : balloon::ShadowPixels(kW, kH)) {
    const std::uint32_t beneath = PatternPixel(at.left + p.x, at.top + p.y);
    ASSERT_EQ(block.BackPixel(p.x, p.y), balloon::BlendShadowColor(beneath, p.weight, kIntensity))
        << "pixel " << p.x << "," << p.y;
    ++checked;
  }
  EXPECT_GT(checked, 7000);

  // Intensities beyond the limit darken like the limit itself.
  (void)block.n_GetShadowRect(500, ShadowRead::Block);
  const int x = kW - 5;
  const int y = kH - 23;
  EXPECT_EQ(block.BackPixel(x, y), balloon::BlendShadowColor(PatternPixel(at.left + x, at.top + y), 180, 75));
}

// Partly beyond the screen's edge both reads see black there.
TEST_F(BalloonDrawTest, BlockAndPerPixelAgreeAtTheScreenEdge) {
  HostWindow blockHost;
  HostWindow pixelHost;
  BalloonSurface block;
  BalloonSurface perPixel;
  ASSERT_TRUE(block.Attach(blockHost.hwnd(), kW, kH, kPanel));
  ASSERT_TRUE(perPixel.Attach(pixelHost.hwnd(), kW, kH, kPanel));
  const int left = GetSystemMetrics(SM_CXSCREEN) - 200;
  const int top = GetSystemMetrics(SM_CYSCREEN) - 100;
  for (const HWND window : {blockHost.hwnd(), pixelHost.hwnd()}) {
    SetWindowPos(window, nullptr, left, top, kW, kH, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  (void)block.n_GetShadowRect(0, ShadowRead::Block);
  (void)perPixel.n_GetShadowRect(0, ShadowRead::PerPixel);
  EXPECT_EQ(BackImage(block), BackImage(perPixel));
  EXPECT_EQ(block.BackPixel(kW - 5, 10 + 23), 0u);
}

TEST_F(BalloonDrawTest, ShapeIsBodyShadowAndPointer) {
  HostWindow host;
  BalloonSurface surface;
  ASSERT_TRUE(surface.Attach(host.hwnd(), kW, kH, kPanel));
  const HWND window = host.hwnd();
  const POINT pointerBottomRight{kW - 38, kH - 14};
  const POINT shadowOnly{kW - 8, 60};
  const POINT bodyMiddle{150, 70};

  surface.DrawBalloon(false, 1000.0f, 900.0f, 0);
  EXPECT_EQ(WindowRect(window).left, 1000 + 42 - kW);
  EXPECT_EQ(WindowRect(window).top, 900 - kH);
  EXPECT_TRUE(InShape(window, pointerBottomRight.x, pointerBottomRight.y));
  EXPECT_TRUE(InShape(window, shadowOnly.x, shadowOnly.y));
  EXPECT_TRUE(InShape(window, bodyMiddle.x, bodyMiddle.y));
  EXPECT_FALSE(InShape(window, kW - 2, 60));
  EXPECT_FALSE(InShape(window, 42, 15));  // no upward pointer
  // Face and outline of the body, shadow right of it; the pointer's inside.
  EXPECT_EQ(surface.BackPixel(bodyMiddle.x, bodyMiddle.y), kPanelPixel);
  EXPECT_EQ(surface.BackPixel(kW - 16, 70), 0u);
  EXPECT_NE(surface.BackPixel(kW - 15, 70), kPanelPixel);
  EXPECT_EQ(surface.BackPixel(kW - 40, kH - 20), kPanelPixel);

  // Without a pointer the window is placed alike and has no triangle.
  surface.DrawBalloon(true, 1000.0f, 900.0f, 0);
  EXPECT_EQ(WindowRect(window).top, 900 - kH);
  EXPECT_FALSE(InShape(window, pointerBottomRight.x, pointerBottomRight.y));
  EXPECT_TRUE(InShape(window, shadowOnly.x, shadowOnly.y));

  surface.DrawBalloon(false, 100.0f, 100.0f, 0);
  EXPECT_EQ(WindowRect(window).left, 58);
  EXPECT_TRUE(InShape(window, 42, 15));

  // A zero coordinate aims at the cursor.
  ASSERT_TRUE(SetCursorPos(900, 250));
  surface.DrawBalloon(false, 0.0f, 700.0f, 0);
  EXPECT_EQ(WindowRect(window).left, 900 + 42 - kW);
  EXPECT_EQ(WindowRect(window).top, 250);
  surface.DrawBalloon(false, 100.0f, 100.0f, 0);

  // The drag shows the body alone; afterwards the shadow returns, the pointer not.
  surface.ShowDragShape();
  EXPECT_TRUE(InShape(window, bodyMiddle.x, bodyMiddle.y));
  EXPECT_FALSE(InShape(window, shadowOnly.x, shadowOnly.y));
  EXPECT_FALSE(InShape(window, 42, 15));
  EXPECT_EQ(surface.BackPixel(100, 20), 0u);  // the upper drag line
  SetWindowPos(window, nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  surface.n_RefreshShadow(0);
  EXPECT_TRUE(InShape(window, shadowOnly.x, shadowOnly.y));
  EXPECT_FALSE(InShape(window, 42, 15));
  EXPECT_EQ(surface.BackPixel(shadowOnly.x, shadowOnly.y),
            balloon::BlendShadowColor(PatternPixel(300 + shadowOnly.x, 400 + shadowOnly.y),
                                      balloon::ShadowWeight(kW - 5 - shadowOnly.x), 0));
}

TEST_F(BalloonDrawTest, PointerRegionKeptForUnknownStyles) {
  HostWindow host;
  BalloonSurface surface;
  ASSERT_TRUE(surface.Attach(host.hwnd(), kW, kH, kPanel));
  EXPECT_FALSE(surface.n_SetPointer(7));  // nothing kept yet
  const UniqueRegion first = surface.n_SetPointer(balloon::kStyleTopLeft);
  ASSERT_TRUE(first);
  const UniqueRegion kept = surface.n_SetPointer(0);
  ASSERT_TRUE(kept);
  EXPECT_TRUE(EqualRgn(first.get(), kept.get()));
  EXPECT_TRUE(PtInRegion(kept.get(), 42, 15));
}

// Shaping again and again leaves no GDI object behind.
TEST_F(BalloonDrawTest, NoGdiObjectsLeakAcrossShapes) {
  HostWindow host;
  BalloonSurface surface;
  ASSERT_TRUE(surface.Attach(host.hwnd(), kW, kH, kPanel));
  surface.DrawBalloon(false, 200.0f, 200.0f, 10);
  (void)IconStrip();
  const int before = test::LiveGdiObjects();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 25; ++i) {
    surface.DrawBalloon(i % 2 == 0, 200.0f + static_cast<float>(i), 800.0f, 10);
    surface.ShowDragShape();
    surface.n_RefreshShadow(10);
    (void)surface.n_SetPointer(i % 6);
    UniqueBitmap icon = SetStripIcon(nullptr, 1 + i % 12, 16, kPanel);
  }
  EXPECT_EQ(test::LiveGdiObjects(), before);
}

TEST(BalloonIcons, StripOfTwelveWithGreenKey) {
  const HBITMAP strip = IconStrip();
  ASSERT_NE(strip, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectA(strip, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 192);
  EXPECT_EQ(info.bmHeight, 16);

  const COLORREF background = RGB(242, 248, 200);
  const UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  for (int n = 1; n <= 12; ++n) {
    UniqueBitmap icon = SetStripIcon(nullptr, n, 16, background);
    ASSERT_TRUE(icon);
    const SelectGuard select(dc.get(), icon.get());
    // The close image's corners are transparent: the background shows there.
    if (n == 9) {
      EXPECT_EQ(GetPixel(dc.get(), 0, 0), background);
    }
    int painted = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const COLORREF c = GetPixel(dc.get(), x, y);
        EXPECT_NE(c, RGB(0, 255, 0)) << "icon " << n << " shows its key at " << x << "," << y;
        if (c != background) ++painted;
      }
    }
    EXPECT_GT(painted, 20) << "icon " << n;
  }
  // All twelve over the notification's colour, four times enlarged, for review.
  {
    constexpr int kScale = 4;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(192 * kScale * 16 * kScale * 3));
    for (int n = 1; n <= 12; ++n) {
      UniqueBitmap icon = SetStripIcon(nullptr, n, 16, background);
      const SelectGuard select(dc.get(), icon.get());
      for (int y = 0; y < 16 * kScale; ++y) {
        for (int x = 0; x < 16 * kScale; ++x) {
          const COLORREF c = GetPixel(dc.get(), x / kScale, y / kScale);
          const auto at = static_cast<std::size_t>((y * 192 * kScale + (n - 1) * 16 * kScale + x) * 3);
          rgb[at] = GetRValue(c);
          rgb[at + 1] = GetGValue(c);
          rgb[at + 2] = GetBValue(c);
        }
      }
    }
    EXPECT_TRUE(test::WritePng(test::ArtifactPath("icon-strip.png"), 192 * kScale, 16 * kScale, rgb));
  }
  // The stop icon is red in the middle, the information icon blue.
  {
    UniqueBitmap stop = SetStripIcon(nullptr, 1, 16, background);
    const SelectGuard select(dc.get(), stop.get());
    const COLORREF c = GetPixel(dc.get(), 3, 8);
    EXPECT_GT(GetRValue(c), 150);
    EXPECT_LT(GetGValue(c), 100);
  }
  {
    UniqueBitmap info3 = SetStripIcon(nullptr, 3, 16, background);
    const SelectGuard select(dc.get(), info3.get());
    EXPECT_GT(GetBValue(GetPixel(dc.get(), 3, 8)), 150);
  }
}

}  // namespace
}  // namespace tarvix
