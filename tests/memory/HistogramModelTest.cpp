#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "memory/HistogramModel.h"

namespace tarvix {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGreen{0, 255, 0};

[[nodiscard]] int GreenAt(const Canvas& canvas, int x, int y) {
  return static_cast<int>((canvas.At(x, y) >> 8) & 0xFF);
}

std::vector<int> Range(int from, int to) {
  std::vector<int> values;
  for (int v = from; v <= to; ++v) values.push_back(v);
  return values;
}

TEST(HistogramSamples, RealSamplesBecomeWholeNumbersRoundedToEven) {
  EXPECT_EQ(SampleFromReal(50.0), 50);
  EXPECT_EQ(SampleFromReal(50.5), 50);
  EXPECT_EQ(SampleFromReal(51.5), 52);
  EXPECT_EQ(SampleFromReal(62.4999), 62);
  EXPECT_EQ(SampleFromReal(-1.0), -1);
  EXPECT_EQ(SampleFromReal(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(SampleFromReal(1e20), INT_MAX);
  EXPECT_EQ(SampleFromReal(-1e20), INT_MIN);
  EXPECT_EQ(SampleFromReal(std::numeric_limits<double>::infinity()), INT_MAX);
}

TEST(HistogramSamples, CurrentValueIsTheNewestSample) {
  HistogramSamples samples;
  EXPECT_EQ(samples.Value(), 0);
  EXPECT_TRUE(samples.Shown().empty());
  samples.Add(7);
  samples.Add(-1);
  EXPECT_EQ(samples.Value(), -1);
  samples.Add(42);
  EXPECT_EQ(samples.Value(), 42);
  EXPECT_EQ(samples.Shown(), (std::vector<int>{7, -1, 42}));
  EXPECT_EQ(samples.Count(), 3);
  EXPECT_EQ(samples.TotalAdded(), 3u);
}

TEST(HistogramSamples, ShowsTheNewestMaxLinesAndKeepsHistoryWhenZooming) {
  HistogramSamples samples;
  EXPECT_EQ(samples.MaxLines(), 30);
  for (int v = 1; v <= 100; ++v) samples.Add(v);
  EXPECT_EQ(samples.Shown(), Range(71, 100));
  samples.SetMaxLines(100);
  EXPECT_EQ(samples.Shown(), Range(1, 100));
  samples.SetMaxLines(3);
  EXPECT_EQ(samples.Shown(), Range(98, 100));
  samples.SetMaxLines(0);
  EXPECT_EQ(samples.MaxLines(), HistogramSamples::kMinLines);
  samples.SetMaxLines(1'000'000);
  EXPECT_EQ(samples.MaxLines(), HistogramSamples::kCapacity);
}

TEST(HistogramSamples, RingWrapsAroundKeepingOrder) {
  HistogramSamples samples;
  samples.SetMaxLines(HistogramSamples::kCapacity);
  const int added = 3 * HistogramSamples::kCapacity + 17;
  for (int v = 0; v < added; ++v) samples.Add(v);
  EXPECT_EQ(samples.Count(), HistogramSamples::kCapacity);
  EXPECT_EQ(samples.TotalAdded(), static_cast<std::uint64_t>(added));
  EXPECT_EQ(samples.Value(), added - 1);
  EXPECT_EQ(samples.Shown(), Range(added - HistogramSamples::kCapacity, added - 1));
  samples.SetMaxLines(30);
  EXPECT_EQ(samples.Shown(), Range(added - 30, added - 1));
}

TEST(HistogramScale, HundredUnlessASampleIsLarger) {
  EXPECT_EQ(ScaleTop({}), 100);
  const std::vector<int> zeros(30, 0);
  EXPECT_EQ(ScaleTop(zeros), 100);
  const std::vector<int> full(30, 100);
  EXPECT_EQ(ScaleTop(full), 100);
  EXPECT_EQ(ScaleTop(std::vector<int>{-1, -1}), 100);
  EXPECT_EQ(ScaleTop(std::vector<int>{3, 101}), 200);
  EXPECT_EQ(ScaleTop(std::vector<int>{201}), 500);
  EXPECT_EQ(ScaleTop(std::vector<int>{999}), 1000);
  EXPECT_EQ(ScaleTop(std::vector<int>{1000}), 1000);
  EXPECT_EQ(ScaleTop(std::vector<int>{1001}), 2000);
  EXPECT_EQ(ScaleTop(std::vector<int>{INT_MAX}), INT_MAX);
  EXPECT_EQ(ScaleTop(std::vector<int>{0}, 0), 1);
  EXPECT_EQ(ScaleTop(std::vector<int>{7}, 5), 10);
}

TEST(HistogramScale, AllZeroSamplesLieOnTheBottomRowAndMaximumOnTheTop) {
  const std::vector<int> zeros(30, 0);
  for (const PlotPoint& p : PlotPoints(zeros, 30, 100, 160, 80)) {
    EXPECT_TRUE(p.valid);
    EXPECT_DOUBLE_EQ(p.y, 79.5);
  }
  const std::vector<int> full{100, 100, 250};
  const auto top = PlotPoints(full, 30, 100, 160, 80);
  ASSERT_EQ(top.size(), 3u);
  for (const PlotPoint& p : top) EXPECT_DOUBLE_EQ(p.y, 0.5);  // 250 is clipped to the top
  const auto half = PlotPoints(std::vector<int>{50}, 30, 100, 160, 81);
  EXPECT_DOUBLE_EQ(half[0].y, 40.5);
}

TEST(HistogramScale, NewestSampleOnTheRightEdgeAndFewSamplesFillTheRightPart) {
  const auto points = PlotPoints(std::vector<int>{10, 20, 30}, 30, 100, 146, 50);
  ASSERT_EQ(points.size(), 3u);
  const double step = 145.0 / 29.0;
  EXPECT_DOUBLE_EQ(points[2].x, 145.5);
  EXPECT_DOUBLE_EQ(points[1].x, 145.5 - step);
  EXPECT_DOUBLE_EQ(points[0].x, 145.5 - 2 * step);

  const auto full = PlotPoints(Range(1, 30), 30, 100, 146, 50);
  EXPECT_DOUBLE_EQ(full.front().x, 0.5);
  EXPECT_DOUBLE_EQ(full.back().x, 145.5);
  // Nothing to draw into an empty plot.
  EXPECT_TRUE(PlotPoints(Range(1, 3), 30, 100, 0, 50).empty());
}

TEST(HistogramScale, FailedMeasurementsAreGaps) {
  const auto points = PlotPoints(std::vector<int>{5, -1, 7}, 30, 100, 100, 40);
  EXPECT_TRUE(points[0].valid);
  EXPECT_FALSE(points[1].valid);
  EXPECT_DOUBLE_EQ(points[1].y, 39.5);  // drawn nowhere, but kept inside the plot
  EXPECT_TRUE(points[2].valid);
}

TEST(HistogramScale, ScaleRowsSpanThePlot) {
  EXPECT_EQ(ScaleRow(0, 100, 80), 79);
  EXPECT_EQ(ScaleRow(100, 100, 80), 0);
  EXPECT_EQ(ScaleRow(50, 100, 81), 40);
  EXPECT_EQ(ScaleRow(500, 100, 80), 0);
  EXPECT_EQ(ScaleRow(-5, 100, 80), 79);
  EXPECT_EQ(ScaleRow(3, 0, 80), 0);
}

TEST(HistogramCanvas, ZeroCurveCoversOnlyHalfTheBottomRow) {
  Canvas canvas(40, 20);
  const std::vector<int> zeros(10, 0);
  const auto points = PlotPoints(zeros, 10, 100, 40, 20);
  canvas.FillUnderCurve(points, kGreen, 1.0, 1.0);
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 19; ++y) ASSERT_EQ(canvas.At(x, y), 0u) << x << "," << y;
    EXPECT_NEAR(GreenAt(canvas, x, 19), 128, 1) << x;
  }
}

TEST(HistogramCanvas, FullCurveCoversTheWholePlot) {
  Canvas canvas(30, 12);
  const std::vector<int> full(5, 100);
  canvas.FillUnderCurve(PlotPoints(full, 5, 100, 30, 12), kGreen, 1.0, 1.0);
  EXPECT_NEAR(GreenAt(canvas, 0, 0), 128, 1);  // the top row is half covered
  for (int x = 0; x < 30; ++x) {
    for (int y = 1; y < 12; ++y) ASSERT_EQ(GreenAt(canvas, x, y), 255) << x << "," << y;
  }
}

TEST(HistogramCanvas, FillFadesFromTopToBottom) {
  Canvas canvas(10, 50);
  const std::vector<int> full(3, 100);
  canvas.FillUnderCurve(PlotPoints(full, 3, 100, 10, 50), kGreen, 0.8, 0.1);
  EXPECT_GT(GreenAt(canvas, 5, 2), GreenAt(canvas, 5, 25));
  EXPECT_GT(GreenAt(canvas, 5, 25), GreenAt(canvas, 5, 49));
  EXPECT_NEAR(GreenAt(canvas, 5, 49), 26, 1);
}

TEST(HistogramCanvas, GapsStayOpen) {
  Canvas canvas(50, 20);
  const auto points = PlotPoints(std::vector<int>{100, 100, -1, 100, 100}, 5, 100, 50, 20);
  canvas.FillUnderCurve(points, kGreen, 1.0, 1.0);
  canvas.StrokeCurve(points, kGreen, 1.5);
  // Columns between the second and the fourth sample hold nothing.
  const int from = static_cast<int>(std::ceil(points[1].x + 2));
  const int to = static_cast<int>(std::floor(points[3].x - 2));
  ASSERT_LT(from, to);
  for (int x = from; x <= to; ++x) {
    for (int y = 0; y < 20; ++y) ASSERT_EQ(canvas.At(x, y), 0u) << x << "," << y;
  }
  EXPECT_EQ(GreenAt(canvas, 2, 10), 255);
  EXPECT_EQ(GreenAt(canvas, 47, 10), 255);
}

TEST(HistogramCanvas, SlopedCurveIsAntiAliasedAndJointsAreNotDoubled) {
  Canvas canvas(60, 40);
  const auto points = PlotPoints(std::vector<int>{0, 100, 0, 30}, 4, 100, 60, 40);
  canvas.StrokeCurve(points, kGreen, 1.6);
  std::set<int> levels;
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 40; ++y) levels.insert(GreenAt(canvas, x, y));
  }
  EXPECT_GT(levels.size(), 10u) << "a sloped curve needs soft edge pixels";
  // Nothing is brighter than the curve's colour, also where two segments meet.
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 40; ++y) ASSERT_LE(canvas.At(x, y), 0x00FF00u);
  }
  // The peak lies on the curve.
  EXPECT_EQ(GreenAt(canvas, static_cast<int>(points[1].x), 0), 255);
}

TEST(HistogramCanvas, LonelySampleIsADot) {
  Canvas canvas(30, 30);
  const auto points = PlotPoints(std::vector<int>{-1, 50, -1}, 3, 100, 30, 30);
  canvas.StrokeCurve(points, kGreen, 2.0);
  EXPECT_GT(GreenAt(canvas, static_cast<int>(points[1].x), static_cast<int>(points[1].y)), 200);
  EXPECT_EQ(canvas.At(2, 2), 0u);
}

TEST(HistogramCanvas, BlendingRoundsEachChannelHalvesUpAsTheRuntimeWould) {
  // Halves exactly (0 -> 1 and 0 -> 255 at one half) and a sweep of strengths over every pair of levels in steps.
  for (int from = 0; from <= 255; from += 15) {
    for (int to = 0; to <= 255; to += 17) {
      for (int step = 1; step <= 64; ++step) {
        const double alpha = step / 64.0;
        Canvas canvas(1, 1);
        canvas.FillGradient(Rgb{static_cast<std::uint8_t>(from), 0, 0}, Rgb{static_cast<std::uint8_t>(from), 0, 0});
        canvas.Blend(0, 0, Rgb{static_cast<std::uint8_t>(to), 0, 0}, alpha);
        ASSERT_EQ(static_cast<long>(canvas.At(0, 0) >> 16), std::lround(from + (to - from) * alpha))
            << from << " -> " << to << " at " << alpha;
      }
    }
  }
  Canvas half(1, 1);
  half.Blend(0, 0, Rgb{1, 255, 3}, 0.5);
  EXPECT_EQ(half.At(0, 0), 0x018002u);
}

TEST(HistogramCanvas, BlendPasteAndGradientStayInside) {
  Canvas canvas(4, 3);
  canvas.Blend(-1, 0, kGreen, 1.0);
  canvas.Blend(4, 0, kGreen, 1.0);
  canvas.Blend(0, 3, kGreen, 1.0);
  for (const std::uint32_t pixel : canvas.pixels()) EXPECT_EQ(pixel, 0u);
  canvas.Blend(1, 1, Rgb{255, 255, 255}, 0.5);
  EXPECT_EQ(canvas.At(1, 1), 0x808080u);
  canvas.FillGradient(Rgb{0, 0, 0}, Rgb{0, 0, 200});
  EXPECT_EQ(canvas.At(0, 0), 0u);
  EXPECT_EQ(canvas.At(3, 2), 200u);
  EXPECT_EQ(canvas.At(2, 1), 100u);
  Canvas patch(3, 3);
  patch.FillGradient(kGreen, kGreen);
  canvas.Paste(patch, 2, -1);
  EXPECT_EQ(canvas.At(2, 0), 0x00FF00u);
  EXPECT_EQ(canvas.At(3, 1), 0x00FF00u);
  EXPECT_EQ(canvas.At(1, 0), 0u);
  EXPECT_EQ(canvas.At(2, 2), 200u);
  Canvas empty(0, 0);
  empty.FillGradient(kBlack, kGreen);
  empty.StrokeCurve(PlotPoints(std::vector<int>{1}, 2, 100, 1, 1), kGreen, 1);
  EXPECT_TRUE(empty.pixels().empty());
}

}  // namespace
}  // namespace tarvix
