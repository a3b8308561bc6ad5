#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

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

}  // namespace
}  // namespace tarvix
