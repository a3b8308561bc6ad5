#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "memory/Histogram.h"
#include "support/Screenshot.h"

namespace tarvix {
namespace {

// A top-level host for one graph, hidden unless a test looks at the screen
// (Wine waits for the X server when a shown window goes away).
class HistogramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.reset(CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 240, 130,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(host_);
    ASSERT_TRUE(graph_.Create(host_.get(), 77, 10, 10, 200, 100));
  }

  [[nodiscard]] static int GreenPixels(const Canvas& canvas, int fromRow, int toRow) {
    int count = 0;
    for (int y = fromRow; y < toRow; ++y) {
      for (int x = 0; x < canvas.width(); ++x) {
        const std::uint32_t pixel = canvas.At(x, y);
        if (((pixel >> 8) & 0xFF) > 120 && (pixel >> 16) < 0x60) ++count;
      }
    }
    return count;
  }

  UniqueWindow host_;
  Histogram graph_;
};

TEST_F(HistogramWindowTest, ThreeOperations) {
  EXPECT_EQ(GetDlgCtrlID(graph_.hwnd()), 77);
  EXPECT_EQ(graph_.MaxLines(), 30);
  EXPECT_EQ(graph_.Value(), 0);
  graph_.SetValue(12.0);
  graph_.SetValue(50.5);
  EXPECT_EQ(graph_.Value(), 50);
  graph_.SetValue(-1);
  EXPECT_EQ(graph_.Value(), -1);
  graph_.SetMaxLines(75);
  EXPECT_EQ(graph_.MaxLines(), 75);
  EXPECT_EQ(graph_.Samples().Shown(), (std::vector<int>{12, 50, -1}));
  graph_.SetNewColor(RGB(255, 128, 0));
  EXPECT_EQ(graph_.NewColor(), RGB(255, 128, 0));
}

TEST_F(HistogramWindowTest, ZeroSamplesStayAtTheBottomAndFullOnesReachTheTop) {
  for (int i = 0; i < 30; ++i) graph_.SetValue(0);
  Canvas zeros(200, 100);
  graph_.Render(zeros);
  EXPECT_EQ(GreenPixels(zeros, 0, 80), 0) << "a zero curve must lie on the bottom";
  EXPECT_GT(GreenPixels(zeros, 80, 100), 100);

  for (int i = 0; i < 30; ++i) graph_.SetValue(100);
  Canvas full(200, 100);
  graph_.Render(full);
  EXPECT_GT(GreenPixels(full, 0, 12), 150) << "a full curve must reach the top";
}

TEST_F(HistogramWindowTest, PaintsWhatItRenders) {
  for (int i = 0; i < 40; ++i) graph_.SetValue(50 + 40 * ((i % 7) - 3) / 3.0);
  ShowWindow(host_.get(), SW_SHOWNOACTIVATE);
  UpdateWindow(host_.get());
  RedrawWindow(graph_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const auto pixels = test::CaptureWindow(graph_.hwnd(), 200, 100);
  EXPECT_GT(test::DistinctColours(pixels), 30u) << "the graph looks flat";
  EXPECT_TRUE(test::SaveScreenshot(graph_.hwnd(), "memory-histogram.png"));
}

// Samples a graph meets: an idle wobble, gaps from failed measurements, and
// a burst above 100 that raises the scale and later scrolls out again.
[[nodiscard]] std::vector<double> TickSamples(int count) {
  std::vector<double> samples;
  std::uint32_t seed = 12345;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int noise = static_cast<int>((seed >> 16) % 100);
    double sample = 20 + noise * 0.6;
    if (noise % 17 == 0) sample = -1;
    if (i >= 40 && i < 44) sample = 180 + noise;
    if (i % 23 == 22) sample = 100;
    samples.push_back(sample);
  }
  return samples;
}

// Ticks one graph that scrolls its picture and one that is drawn in full
// every tick, with the same samples, and checks after every paint that they
// show the same pixels; returns the scrolling graph's paint counts.
Histogram::PaintCounts ScrollAgainstFullDrawing(HWND host, int width, int height, int lines,
                                                const std::vector<double>& samples) {
  Histogram scrolled;
  Histogram full;
  EXPECT_TRUE(scrolled.Create(host, 81, 0, 0, width, height));
  EXPECT_TRUE(full.Create(host, 82, 0, height + 4, width, height));
  scrolled.SetMaxLines(lines);
  full.SetMaxLines(lines);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (i == samples.size() / 2) {  // a zoom to another number of samples and back
      scrolled.SetMaxLines(lines + 7);
      full.SetMaxLines(lines + 7);
    }
    if (i == samples.size() / 2 + 5) {
      scrolled.SetMaxLines(lines);
      full.SetMaxLines(lines);
    }
    scrolled.SetValue(samples[i]);
    full.Redraw();  // forgets its picture, so that the new sample is drawn in full
    full.SetValue(samples[i]);
    UpdateWindow(scrolled.hwnd());
    UpdateWindow(full.hwnd());
    const std::vector<std::uint32_t> picture = scrolled.Picture();
    const std::vector<std::uint32_t> expected = full.Picture();
    if (picture.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) ||
        picture.size() != expected.size()) {
      ADD_FAILURE() << "tick " << i << ": pictures of " << picture.size() << " and " << expected.size() << " pixels";
      break;
    }
    const auto differs = std::mismatch(picture.begin(), picture.end(), expected.begin());
    if (differs.first != picture.end()) {
      const auto at = static_cast<int>(differs.first - picture.begin());
      ADD_FAILURE() << "tick " << i << ": pixel (" << at % width << ", " << at / width << ") is " << std::hex
                    << *differs.first << ", a full drawing gives " << *differs.second;
      break;
    }
  }
  EXPECT_EQ(full.Paints().scrolled, 0);
  // What the screen shows of the scrolling graph is its kept picture.
  const std::vector<std::uint32_t> picture = scrolled.Picture();
  const std::vector<std::uint8_t> screen = test::CaptureWindow(scrolled.hwnd(), width, height);
  std::size_t differing = 0;
  for (std::size_t at = 0; at < picture.size() && 3 * at + 2 < screen.size(); ++at) {
    const std::uint32_t shown = (std::uint32_t{screen[3 * at]} << 16) | (std::uint32_t{screen[3 * at + 1]} << 8) |
                                screen[3 * at + 2];
    if (shown != (picture[at] & 0xFFFFFFu)) ++differing;
  }
  EXPECT_EQ(screen.size(), 3 * picture.size());
  EXPECT_EQ(differing, 0u) << "pixels on screen that differ from the kept picture";
  return scrolled.Paints();
}

TEST_F(HistogramWindowTest, ScrolledPictureEqualsAFullDrawing) {
  SetWindowPos(host_.get(), nullptr, 0, 0, 420, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(graph_.hwnd(), SW_HIDE);
  ShowWindow(host_.get(), SW_SHOWNOACTIVATE);
  UpdateWindow(host_.get());
  const std::vector<double> samples = TickSamples(120);

  // The status window's graphs: 30 samples over a plot of 146 columns, 5 a sample.
  Histogram::PaintCounts counts = ScrollAgainstFullDrawing(host_.get(), 188, 84, 30, samples);
  // Full drawings: the first, the scale's changes as the burst comes and goes, the zoom's six ticks.
  EXPECT_GE(counts.scrolled, 100);
  EXPECT_LE(counts.full, 20);
  // One column a sample, on a larger graph.
  counts = ScrollAgainstFullDrawing(host_.get(), 142 + 60, 110, 100 + 60, samples);
  EXPECT_GE(counts.scrolled, 100);
  // A plot narrowed by up to an eighth gives whole-pixel samples: 158 columns
  // become 146 for 30 samples.
  counts = ScrollAgainstFullDrawing(host_.get(), 200, 100, 30, samples);
  EXPECT_GE(counts.scrolled, 100);
  // A sample a fraction of a pixel wide, too far from a whole one to narrow
  // the plot, cannot scroll: every paint is a full one.
  counts = ScrollAgainstFullDrawing(host_.get(), 200, 100, 100, samples);
  EXPECT_EQ(counts.scrolled, 0);
  EXPECT_EQ(counts.full, 120);
}

}  // namespace
}  // namespace tarvix
