#include "memory/Histogram.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "ui/Dpi.h"
#include "ui/SkinGdi.h"

namespace tarvix {
namespace {

// Room at the left for the scale's numbers, and around the plot (96 DPI).
constexpr int kGutter = 36;
constexpr int kPadTop = 7;
constexpr int kPadBottom = 7;
constexpr int kPadRight = 6;
// A vertical grid line every this many samples; it moves with the samples.
constexpr std::int64_t kGridEvery = 5;

constexpr Rgb kPanelTop{0x13, 0x20, 0x31};
constexpr Rgb kPanelBottom{0x0C, 0x16, 0x24};
constexpr Rgb kPlotTop{0x0B, 0x15, 0x22};
constexpr Rgb kPlotBottom{0x07, 0x0F, 0x19};
constexpr Rgb kPlotBorder{0x2A, 0x3D, 0x55};
constexpr Rgb kGrid{0x2E, 0x44, 0x5E};
constexpr Rgb kScaleText{0x8C, 0xA0, 0xB8};

constexpr double kAreaTop = 0.42;
constexpr double kAreaBottom = 0.06;
constexpr double kCurveThickness = 1.6;
constexpr double kDotRadius = 2.3;
// Columns redrawn beyond the moved samples when the picture scrolls: more
// than the curve's half thickness and the dot's radius, with their soft edges.
constexpr int kScrollMargin = 6;
static_assert(kScrollMargin >= kDotRadius + 2 && kScrollMargin >= kCurveThickness / 2 + 2);

struct PlotArea {
  int left, top, width, height;
};

// The scale's font height in pixels at 96 DPI.
constexpr int kScaleFontHeight = 11;

// The plot's box in a graph of `width` x `height` showing `lines` samples.
// Where it costs no more than an eighth of its room, the plot is narrowed,
// and centred in its room, so that a sample is a whole number of pixels
// wide: only then can a tick scroll the picture instead of drawing it anew.
[[nodiscard]] PlotArea PlotAreaOf(int width, int height, int dpi, int lines) noexcept {
  const int gutter = ScaleForDpi(kGutter, dpi), padTop = ScaleForDpi(kPadTop, dpi);
  PlotArea area{gutter, padTop, std::max(width - gutter - ScaleForDpi(kPadRight, dpi), 0),
                std::max(height - padTop - ScaleForDpi(kPadBottom, dpi), 0)};
  if (lines >= 2 && area.width > lines) {
    const int whole = (area.width - 1) / (lines - 1) * (lines - 1) + 1;
    const int spare = area.width - whole;
    if (spare <= area.width / 8) {
      area.left += spare / 2;
      area.width = whole;
    }
  }
  return area;
}

}  // namespace

bool Histogram::Create(HWND parent, int id, int x, int y, int width, int height) noexcept {
  if (!CreateWindowOf(0, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  dpi_ = WindowDpi(parent);
  scaleFont_ = CreateUiFont("Segoe UI", ScaleForDpi(kScaleFontHeight, dpi_));
  return true;
}

bool Histogram::Seen() const noexcept {
  return hwnd() != nullptr && IsWindowVisible(hwnd()) && !IsIconic(GetAncestor(hwnd(), GA_ROOT));
}

void Histogram::Changed() noexcept {
  // Nothing is painted while the graph cannot be seen: showing or restoring
  // its window paints it afresh anyway.
  if (Seen()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void Histogram::SetMaxLines(int lines) noexcept {
  samples_.SetMaxLines(lines);
  Changed();
}

void Histogram::SetNewColor(COLORREF colour) noexcept {
  colour_ = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  Redraw();
}

void Histogram::SetUnit(std::string_view unit) {
  unit_.assign(unit);
  Redraw();
}

void Histogram::SetValue(double sample) noexcept {
  samples_.Add(SampleFromReal(sample));
  if (!Seen()) return;
  // A tick usually only moves the curve on: the kept picture scrolls and its
  // plot goes straight to the screen, which under Wine costs a tenth of a paint.
  if (!ShowScrolled()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool Histogram::ShowScrolled() noexcept {
  try {
    const std::vector<int> shown = samples_.Shown();
    if (!ScrollPicture(shown, ScaleTop(shown))) return false;
  } catch (...) {
    return false;
  }
  const WindowDC screen(hwnd());
  if (screen.get() == nullptr) return false;
  const PlotArea area = PlotAreaOf(back_.width, back_.height, dpi_, samples_.MaxLines());
  BitBlt(screen.get(), area.left, area.top, area.width, area.height, back_.dc.get(), area.left, area.top, SRCCOPY);
  return true;
}

void Histogram::Render(Canvas& canvas) const {
  canvas.FillGradient(kPanelTop, kPanelBottom);
  const PlotArea area = PlotAreaOf(canvas.width(), canvas.height(), dpi_, samples_.MaxLines());
  if (area.width < 2 || area.height < 2) return;

  Canvas plot(area.width, area.height);
  const std::vector<int> shown = samples_.Shown();
  RenderPlot(plot, area.width, 0, shown, ScaleTop(shown));
  canvas.Paste(plot, area.left, area.top);
  // A hairline frame around the plot.
  canvas.HorizontalLine(area.top - 1, area.left - 1, area.left + area.width, kPlotBorder, 1.0);
  canvas.HorizontalLine(area.top + area.height, area.left - 1, area.left + area.width, kPlotBorder, 1.0);
  canvas.VerticalLine(area.left - 1, area.top, area.top + area.height - 1, kPlotBorder, 1.0);
  canvas.VerticalLine(area.left + area.width, area.top, area.top + area.height - 1, kPlotBorder, 1.0);
}

void Histogram::RenderPlot(Canvas& plot, int plotWidth, int firstColumn, std::span<const int> shown,
                           int top) const {
  // Every pixel depends only on where it lies against the samples' points,
  // so a band of columns drawn alone equals the same band of the whole plot.
  const int height = plot.height();
  plot.FillGradient(kPlotTop, kPlotBottom);
  for (const int quarter : {1, 2, 3}) {
    plot.HorizontalLine(ScaleRow(top * quarter / 4, top, height), 0, plot.width() - 1, kGrid,
                        quarter == 2 ? 0.9 : 0.55);
  }
  // Vertical lines at every fifth sample ever added, so the grid scrolls with the curve.
  const int lines = samples_.MaxLines();
  const auto total = static_cast<std::int64_t>(samples_.TotalAdded());
  for (int slot = 0; slot < lines; ++slot) {
    // The slot of the newest sample is lines - 1; slots before the first sample count below 0.
    const std::int64_t sample = total - lines + slot;
    if ((sample % kGridEvery + kGridEvery) % kGridEvery != 0) continue;
    const double x = 0.5 + static_cast<double>(plotWidth - 1) * slot / (lines - 1);
    plot.VerticalLine(static_cast<int>(x) - firstColumn, 0, height - 1, kGrid, 0.4);
  }

  std::vector<PlotPoint> points = PlotPoints(shown, lines, top, plotWidth, height);
  for (PlotPoint& point : points) point.x -= firstColumn;
  plot.FillUnderCurve(points, colour_, kAreaTop, kAreaBottom);
  plot.StrokeCurve(points, colour_, kCurveThickness);
  if (!points.empty() && points.back().valid) plot.Dot(points.back().x, points.back().y, kDotRadius, colour_);
}

Histogram::BackBuffer::~BackBuffer() {
  if (dc && previous != nullptr) SelectObject(dc.get(), previous);
}

bool Histogram::PrepareBackBuffer(HDC screen, int width, int height) noexcept {
  if (back_.dc && back_.bitmap && back_.width == width && back_.height == height) return true;
  back_.drawn = false;
  if (back_.dc && back_.previous != nullptr) SelectObject(back_.dc.get(), back_.previous);
  back_.previous = nullptr;
  back_.bitmap.reset();
  back_.bits = nullptr;
  if (!back_.dc) back_.dc.reset(CreateCompatibleDC(screen));
  if (!back_.dc) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first, as the canvas holds it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  back_.bitmap.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &back_.bits, nullptr, 0));
  if (!back_.bitmap || back_.bits == nullptr) return false;
  back_.previous = SelectObject(back_.dc.get(), back_.bitmap.get());
  back_.width = width;
  back_.height = height;
  return true;
}

void Histogram::DrawPicture(int top) {
  Canvas canvas(back_.width, back_.height);
  Render(canvas);
  GdiFlush();  // the last paint's drawing into the bits is done
  std::memcpy(back_.bits, canvas.pixels().data(), canvas.pixels().size() * sizeof(std::uint32_t));
  // The scale: the top, the middle and 0, each beside its line.
  const PlotArea area = PlotAreaOf(back_.width, back_.height, dpi_, samples_.MaxLines());
  const std::array<int, 3> marks{top, top / 2, 0};
  for (const int mark : marks) {
    const int row = area.top + ScaleRow(mark, top, area.height);
    const int half = ScaleForDpi(7, dpi_);
    const RECT box{0, row - half, ScaleForDpi(kGutter - 5, dpi_), row + half};
    DrawTextIn(back_.dc.get(), std::to_string(mark) + unit_, box, scaleFont_.get(), kScaleText,
               DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  back_.drawn = true;
  back_.lines = samples_.MaxLines();
  back_.top = top;
  back_.total = samples_.TotalAdded();
  ++paints_.full;
}

bool Histogram::ScrollPicture(std::span<const int> shown, int top) {
  // Only one new sample on an unchanged scale, and only when a sample is a
  // whole number of pixels wide: then the picture moved left by one sample is
  // to the last bit what a full drawing would give, but for a band at each end.
  const int lines = samples_.MaxLines();
  if (!back_.drawn || back_.lines != lines || back_.top != top || samples_.TotalAdded() != back_.total + 1) {
    return false;
  }
  const PlotArea area = PlotAreaOf(back_.width, back_.height, dpi_, samples_.MaxLines());
  if (area.width < 2 || area.height < 2 || (area.width - 1) % (lines - 1) != 0) return false;
  const int step = (area.width - 1) / (lines - 1);
  const int right = step + kScrollMargin;
  if (right + kScrollMargin >= area.width) return false;

  GdiFlush();
  back_.drawn = false;  // until the moved picture is whole again
  auto* const bits = static_cast<std::uint32_t*>(back_.bits);
  const auto rowAt = [&](int row) {
    return bits + static_cast<std::size_t>(area.top + row) * static_cast<std::size_t>(back_.width) +
           static_cast<std::size_t>(area.left);
  };
  for (int row = 0; row < area.height; ++row) {
    std::memmove(rowAt(row), rowAt(row) + step, static_cast<std::size_t>(area.width - step) * sizeof(std::uint32_t));
  }
  // The left band loses the dropped sample's segment; the right band gains
  // the new one and the newest dot, and loses the old dot.
  for (const auto& [first, width] : {std::pair{0, kScrollMargin}, std::pair{area.width - right, right}}) {
    Canvas band(width, area.height);
    RenderPlot(band, area.width, first, shown, top);
    for (int row = 0; row < area.height; ++row) {
      std::memcpy(rowAt(row) + first, band.pixels().data() + static_cast<std::size_t>(row) * width,
                  static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
  }
  back_.total = samples_.TotalAdded();
  back_.drawn = true;
  ++paints_.scrolled;
  return true;
}

void Histogram::Paint() {
  PaintDC paint(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  if (!PrepareBackBuffer(paint.get(), width, height)) return;

  const std::vector<int> shown = samples_.Shown();
  const int top = ScaleTop(shown);
  const bool current = back_.drawn && back_.lines == samples_.MaxLines() && back_.top == top &&
                       back_.total == samples_.TotalAdded();
  if (!current && !ScrollPicture(shown, top)) DrawPicture(top);
  BitBlt(paint.get(), 0, 0, width, height, back_.dc.get(), 0, 0, SRCCOPY);
}

void Histogram::Redraw() noexcept {
  back_.drawn = false;
  Changed();
}

std::vector<std::uint32_t> Histogram::Picture() const {
  if (!back_.drawn || back_.bits == nullptr) return {};
  GdiFlush();
  const auto* const bits = static_cast<const std::uint32_t*>(back_.bits);
  return {bits, bits + static_cast<std::size_t>(back_.width) * static_cast<std::size_t>(back_.height)};
}

LRESULT Histogram::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      Changed();
      return 0;
    case WM_APP_DPI_CHANGED:
      // The status window moves and sizes the graph; its scale follows here.
      if (const int dpi = static_cast<int>(wParam); dpi > 0 && dpi != dpi_) {
        dpi_ = dpi;
        scaleFont_ = CreateUiFont("Segoe UI", ScaleForDpi(kScaleFontHeight, dpi_));
        Changed();
      }
      return 0;
    default:
      return DefWindowProcA(hwnd(), message, wParam, lParam);
  }
}

}  // namespace tarvix
