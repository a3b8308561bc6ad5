// Times one DrawBalloon of the message window's size under Wine: the shadow
// read from the screen as one block against one read per shadow pixel, over
// a patterned full-screen window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "../tests/ui/BalloonTestSupport.h"
#include "ui/BalloonDraw.h"

namespace {

double MedianMs(int runs, const std::function<void()>& work) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&stop);
    times.push_back(1000.0 * static_cast<double>(stop.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  using namespace tarvix;
  const test::PatternWindow background;
  const test::HostWindow host;
  BalloonSurface surface;
  constexpr int kWidth = 359;
  constexpr int kHeight = 150;
  if (!surface.Attach(host.hwnd(), kWidth, kHeight, RGB(255, 255, 204))) {
    std::printf("bench_balloon: no back image could be made\n");
    return 1;
  }
  const ScreenSize screen = GetScreenSize();
  const float x = static_cast<float>(screen.width - 40);
  const float y = static_cast<float>(screen.height);
  constexpr int kBlockRuns = 25;
  constexpr int kPixelRuns = 5;
  const double block = MedianMs(kBlockRuns, [&] { surface.DrawBalloon(false, x, y, 0, ShadowRead::Block); });
  const double perPixel = MedianMs(kPixelRuns, [&] { surface.DrawBalloon(false, x, y, 0, ShadowRead::PerPixel); });
  const std::size_t pixels = balloon::ShadowPixels(kWidth, kHeight).size();

  std::printf("balloon %d x %d, %zu shadow pixels, median under Wine\n", kWidth, kHeight, pixels);
  std::printf("  DrawBalloon, screen read as one block : %9.2f ms (%d runs)\n", block, kBlockRuns);
  std::printf("  DrawBalloon, screen read per pixel    : %9.2f ms (%d runs)\n", perPixel, kPixelRuns);
  std::printf("  per pixel / block                     : %9.1f x\n", block > 0 ? perPixel / block : 0.0);
  std::printf("BENCH|DrawBalloon, shadow read as one block|%.2f|ms|shadow read per pixel|%.2f\n", block, perPixel);
  return 0;
}
