#include "memory/HistogramModel.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "memory/CpuFormula.h"

namespace tarvix {
namespace {

[[nodiscard]] std::uint32_t Pack(Rgb c) noexcept {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

[[nodiscard]] Rgb Unpack(std::uint32_t word) noexcept {
  return {static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
          static_cast<std::uint8_t>(word)};
}

// std::lround for a value of 0 or more, halves up, to the same last bit but
// without a library call: blending calls it three times a pixel, and the
// runtime's lround first works out what kind of number it was given.
[[nodiscard]] int RoundNonNegative(double value) noexcept {
  const int whole = static_cast<int>(value);
  return value - whole >= 0.5 ? whole + 1 : whole;
}

[[nodiscard]] std::uint8_t Mix(std::uint8_t from, std::uint8_t to, double amount) noexcept {
  return static_cast<std::uint8_t>(RoundNonNegative(from + (to - from) * amount));
}

// Distance from (px, py) to the segment a-b. Worked out from the offsets to
// a alone, so that a picture moved by whole pixels gives the same distances
// to the last bit: the graph scrolls its picture and draws only the new part.
[[nodiscard]] double SegmentDistance(double px, double py, const PlotPoint& a, const PlotPoint& b) noexcept {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double ox = px - a.x;
  const double oy = py - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  double t = 0;
  if (lengthSquared > 0) t = std::clamp((ox * dx + oy * dy) / lengthSquared, 0.0, 1.0);
  return std::hypot(ox - t * dx, oy - t * dy);
}

}  // namespace

int SampleFromReal(double value) noexcept {
  if (std::isnan(value)) return 0;
  const double rounded = RoundHalfEven(value);
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(rounded);
}

void HistogramSamples::SetMaxLines(int lines) noexcept { maxLines_ = std::clamp(lines, kMinLines, kCapacity); }

void HistogramSamples::Add(int sample) noexcept {
  ring_[static_cast<std::size_t>(next_)] = sample;
  next_ = (next_ + 1) % kCapacity;
  count_ = std::min(count_ + 1, kCapacity);
  ++total_;
}

int HistogramSamples::Value() const noexcept {
  if (count_ == 0) return 0;
  return ring_[static_cast<std::size_t>((next_ + kCapacity - 1) % kCapacity)];
}

std::vector<int> HistogramSamples::Shown() const {
  const int shown = std::min(count_, maxLines_);
  std::vector<int> samples;
  samples.reserve(static_cast<std::size_t>(shown));
  for (int i = shown; i > 0; --i) {
    samples.push_back(ring_[static_cast<std::size_t>((next_ + kCapacity - i) % kCapacity)]);
  }
  return samples;
}

int ScaleTop(std::span<const int> shown, int floorTop) noexcept {
  const int top = std::max(floorTop, 1);
  int largest = top;
  for (const int sample : shown) largest = std::max(largest, sample);
  if (largest == top) return top;
  // 1, 2, 5, 10, 20, 50, ... in 64 bits, so that INT_MAX itself has a step above it.
  for (std::int64_t decade = 1;; decade *= 10) {
    for (const std::int64_t step : {decade, 2 * decade, 5 * decade}) {
      if (step >= largest) return static_cast<int>(std::min<std::int64_t>(step, INT_MAX));
    }
  }
}

std::vector<PlotPoint> PlotPoints(std::span<const int> shown, int maxLines, int top, int width, int height) {
  std::vector<PlotPoint> points;
  if (width <= 0 || height <= 0 || shown.empty()) return points;
  const int lines = std::max(maxLines, 2);
  const double step = static_cast<double>(width - 1) / (lines - 1);
  const double rows = height - 1;
  const int scaleTop = std::max(top, 1);
  const int count = static_cast<int>(shown.size());
  points.reserve(shown.size());
  for (int i = 0; i < count; ++i) {
    const int sample = shown[static_cast<std::size_t>(i)];
    PlotPoint point;
    point.x = 0.5 + (width - 1) - step * (count - 1 - i);
    const double share = std::clamp(static_cast<double>(sample) / scaleTop, 0.0, 1.0);
    point.y = 0.5 + rows * (1.0 - share);
    point.valid = sample >= 0;
    points.push_back(point);
  }
  return points;
}

int ScaleRow(int value, int top, int height) noexcept {
  const double share = std::clamp(static_cast<double>(value) / std::max(top, 1), 0.0, 1.0);
  return static_cast<int>(std::lround((height - 1) * (1.0 - share)));
}

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

std::uint32_t Canvas::At(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void Canvas::FillGradient(Rgb top, Rgb bottom) noexcept {
  for (int y = 0; y < height_; ++y) {
    const double amount = height_ > 1 ? static_cast<double>(y) / (height_ - 1) : 0.0;
    const std::uint32_t word =
        Pack({Mix(top.r, bottom.r, amount), Mix(top.g, bottom.g, amount), Mix(top.b, bottom.b, amount)});
    std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, width_, word);
  }
}

void Canvas::Blend(int x, int y, Rgb colour, double alpha) noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || !(alpha > 0)) return;
  const double a = std::min(alpha, 1.0);
  auto& word = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  const Rgb under = Unpack(word);
  word = Pack({Mix(under.r, colour.r, a), Mix(under.g, colour.g, a), Mix(under.b, colour.b, a)});
}

void Canvas::HorizontalLine(int y, int x0, int x1, Rgb colour, double alpha) noexcept {
  for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) Blend(x, y, colour, alpha);
}

void Canvas::VerticalLine(int x, int y0, int y1, Rgb colour, double alpha) noexcept {
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y) Blend(x, y, colour, alpha);
}

void Canvas::FillUnderCurve(std::span<const PlotPoint> points, Rgb colour, double alphaTop, double alphaBottom) {
  if (points.size() < 2 || height_ == 0) return;
  std::size_t segment = 0;
  for (int column = 0; column < width_; ++column) {
    const double centre = column + 0.5;
    while (segment + 1 < points.size() && points[segment + 1].x < centre) ++segment;
    if (segment + 1 >= points.size()) break;
    const PlotPoint& a = points[segment];
    const PlotPoint& b = points[segment + 1];
    if (centre < a.x || !a.valid || !b.valid) continue;
    const double t = b.x > a.x ? (centre - a.x) / (b.x - a.x) : 0.0;
    // Pixel row r covers [r, r + 1); the curve's height there is y + 0.5 - 0.5.
    const double edge = std::clamp(a.y + (b.y - a.y) * t, 0.0, static_cast<double>(height_));
    const int firstRow = static_cast<int>(std::floor(edge));
    for (int row = firstRow; row < height_; ++row) {
      const double coverage = row == firstRow ? (firstRow + 1) - edge : 1.0;
      const double fade = height_ > 1 ? static_cast<double>(row) / (height_ - 1) : 0.0;
      Blend(column, row, colour, coverage * (alphaTop + (alphaBottom - alphaTop) * fade));
    }
  }
}

void Canvas::StrokeCurve(std::span<const PlotPoint> points, Rgb colour, double thickness) {
  if (points.empty() || width_ == 0 || height_ == 0) return;
  // Each pixel takes the strongest coverage of any segment, so joints are not blended twice.
  std::vector<float> coverage(pixels_.size(), 0.0f);
  const double half = thickness / 2.0;
  const auto cover = [&](const PlotPoint& a, const PlotPoint& b) {
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - half - 1)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + half + 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - half - 1)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + half + 1)));
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const double share = std::clamp(half + 0.5 - SegmentDistance(x + 0.5, y + 0.5, a, b), 0.0, 1.0);
        float& cell = coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)];
        cell = std::max(cell, static_cast<float>(share));
      }
    }
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!points[i].valid) continue;
    const bool before = i > 0 && points[i - 1].valid;
    const bool after = i + 1 < points.size() && points[i + 1].valid;
    if (after) cover(points[i], points[i + 1]);
    if (!before && !after) cover(points[i], points[i]);
  }
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Blend(x, y, colour, coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                   static_cast<std::size_t>(x)]);
    }
  }
}

void Canvas::Dot(double x, double y, double radius, Rgb colour) noexcept {
  const int x0 = static_cast<int>(std::floor(x - radius - 1));
  const int y0 = static_cast<int>(std::floor(y - radius - 1));
  for (int py = y0; py <= static_cast<int>(std::ceil(y + radius + 1)); ++py) {
    for (int px = x0; px <= static_cast<int>(std::ceil(x + radius + 1)); ++px) {
      const double distance = std::hypot(px + 0.5 - x, py + 0.5 - y);
      Blend(px, py, colour, std::clamp(radius + 0.5 - distance, 0.0, 1.0));
    }
  }
}

void Canvas::Paste(const Canvas& picture, int x, int y) noexcept {
  for (int row = 0; row < picture.height_; ++row) {
    const int to = y + row;
    if (to < 0 || to >= height_) continue;
    for (int column = 0; column < picture.width_; ++column) {
      const int at = x + column;
      if (at < 0 || at >= width_) continue;
      pixels_[static_cast<std::size_t>(to) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(at)] =
          picture.At(column, row);
    }
  }
}

}  // namespace tarvix
