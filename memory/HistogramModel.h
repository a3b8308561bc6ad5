#pragma once
// What the histogram graph draws, free of any window: the ring of samples,
// the scale, where each sample lands in the plot, and an anti-aliased
// rasteriser that paints the plot into a plain pixel buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/TextFile.h"

namespace tarvix {

// The graph's value type is a whole number: a real sample is rounded to the
// nearest whole number, ties to even (50.5 gives 50), and kept within the
// range of int; NaN gives 0.
[[nodiscard]] int SampleFromReal(double value) noexcept;

// The latest kCapacity samples of one graph, of which the newest MaxLines()
// are shown. Changing the number shown keeps the history.
class HistogramSamples {
 public:
  static constexpr int kCapacity = 512;
  static constexpr int kMinLines = 2;
  static constexpr int kDefaultLines = 30;

  // Clamped to kMinLines .. kCapacity.
  void SetMaxLines(int lines) noexcept;
  [[nodiscard]] int MaxLines() const noexcept { return maxLines_; }

  void Add(int sample) noexcept;
  // The newest sample; 0 before the first.
  [[nodiscard]] int Value() const noexcept;
  // Samples held, at most kCapacity.
  [[nodiscard]] int Count() const noexcept { return count_; }
  // Samples ever added; the graph's vertical grid moves with it.
  [[nodiscard]] std::uint64_t TotalAdded() const noexcept { return total_; }
  // The shown samples, oldest first: the newest min(Count(), MaxLines()).
  [[nodiscard]] std::vector<int> Shown() const;

 private:
  std::array<int, kCapacity> ring_{};
  int next_ = 0;
  int count_ = 0;
  std::uint64_t total_ = 0;
  int maxLines_ = kDefaultLines;
};

// The top of the scale: `floorTop` (at least 1) unless a shown sample is
// larger; then the next 1, 2 or 5 x 10^n at or above the largest sample.
[[nodiscard]] int ScaleTop(std::span<const int> shown, int floorTop = 100) noexcept;

struct PlotPoint {
  double x = 0;
  double y = 0;
  // False for a negative sample (a failed measurement): drawn as a gap.
  bool valid = false;
};

// Where the shown samples land in a plot of width x height pixels (pixel
// centres run from 0.5 to size - 0.5): the newest at the right edge, one
// step of (width - 1) / (maxLines - 1) between neighbours, so that fewer
// samples than maxLines fill the right part; the value 0 on the bottom row,
// `top` on the top row, larger values clipped to the top row.
[[nodiscard]] std::vector<PlotPoint> PlotPoints(std::span<const int> shown, int maxLines, int top, int width,
                                                int height);
// The row of a scale line for `value` (0 .. top) in a plot `height` rows high.
[[nodiscard]] int ScaleRow(int value, int top, int height) noexcept;

// A picture as 0x00RRGGBB words, top row first (the layout of a top-down
// 32-bit DIB).
class Canvas {
 public:
  Canvas(int width, int height);
  [[nodiscard]] int width() const noexcept { return width_; }
  [[nodiscard]] int height() const noexcept { return height_; }
  [[nodiscard]] std::uint32_t At(int x, int y) const noexcept;
  [[nodiscard]] const std::vector<std::uint32_t>& pixels() const noexcept { return pixels_; }

  // A vertical gradient over the whole picture.
  void FillGradient(Rgb top, Rgb bottom) noexcept;
  // Blends `colour` over the pixel with opacity `alpha` (0 .. 1); outside the picture nothing happens.
  void Blend(int x, int y, Rgb colour, double alpha) noexcept;
  void HorizontalLine(int y, int x0, int x1, Rgb colour, double alpha) noexcept;
  void VerticalLine(int x, int y0, int y1, Rgb colour, double alpha) noexcept;
  // The area between the curve through `points` and the bottom edge, with
  // opacity `alphaTop` on the top row fading to `alphaBottom` on the bottom
  // row; the partly covered pixel of each column is blended by its share.
  // Gaps (invalid points) are left open.
  void FillUnderCurve(std::span<const PlotPoint> points, Rgb colour, double alphaTop, double alphaBottom);
  // The curve through `points`, `thickness` pixels wide with soft edges; a
  // valid point without valid neighbours is drawn as a dot.
  void StrokeCurve(std::span<const PlotPoint> points, Rgb colour, double thickness);
  // A soft round dot.
  void Dot(double x, double y, double radius, Rgb colour) noexcept;
  // Copies `picture` with its top left corner at (x, y), clipped to this one.
  void Paste(const Canvas& picture, int x, int y) noexcept;

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace tarvix
