#pragma once
// The histogram graph of the status window: a child window that draws the
// latest samples as an anti-aliased curve over a filled area on a dark
// panel, with a scale at the left. The status window uses three operations:
// the number of samples shown (maxlines), adding a sample (setting the
// value) and reading the current value back.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "memory/HistogramModel.h"
#include "ui/BaseWindow.h"
#include "ui/Handles.h"

namespace tarvix {

class Histogram final : public BaseWindow<Histogram> {
 public:
  static const char* ClassName() noexcept { return "TarvixHistogram"; }
  // Its own DC: each tick copies the moved picture to the screen through
  // it, without setting up a shared DC for the window every time.
  static constexpr UINT kClassStyle = CS_OWNDC;

  Histogram() noexcept = default;

  // Creates the graph as child `id` of `parent`; false when Windows refused.
  [[nodiscard]] bool Create(HWND parent, int id, int x, int y, int width, int height) noexcept;

  // Samples shown (stored setting maxlines), 2 to 512; 30 at start.
  void SetMaxLines(int lines) noexcept;
  [[nodiscard]] int MaxLines() const noexcept { return samples_.MaxLines(); }
  // Colour of the curve (stored setting newcolor); pure green at start.
  void SetNewColor(COLORREF colour) noexcept;
  [[nodiscard]] COLORREF NewColor() const noexcept { return RGB(colour_.r, colour_.g, colour_.b); }
  // Text after the scale's numbers ("%"); none at start.
  void SetUnit(std::string_view unit);

  // Adds a sample: the real number becomes the graph's whole-number value.
  void SetValue(double sample) noexcept;
  // The newest sample; 0 before the first.
  [[nodiscard]] int Value() const noexcept { return samples_.Value(); }
  [[nodiscard]] const HistogramSamples& Samples() const noexcept { return samples_; }

  // Paints the graph as it would appear into `canvas` (the plot and scale,
  // without text) — what WM_PAINT shows, for tests to look at.
  void Render(Canvas& canvas) const;

  // The picture the last paint showed (with the scale's text), 0x00RRGGBB
  // words top row first; empty before the first paint.
  [[nodiscard]] std::vector<std::uint32_t> Picture() const;
  // Forgets the kept picture: the next paint draws the graph in full.
  void Redraw() noexcept;
  // Paints that drew the whole picture, and those that scrolled it by one sample.
  struct PaintCounts {
    int full = 0;
    int scrolled = 0;
  };
  [[nodiscard]] PaintCounts Paints() const noexcept { return paints_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Paint();
  // True while the graph is on screen: shown, in a window that is not minimised.
  [[nodiscard]] bool Seen() const noexcept;
  // Asks for a paint of the whole graph when it is seen.
  void Changed() noexcept;
  // Scrolls the kept picture by the sample just added and shows it; false
  // when a paint must draw the graph instead.
  [[nodiscard]] bool ShowScrolled() noexcept;
  // Columns [firstColumn, firstColumn + plot.width()) of the plot, `plotWidth` wide.
  void RenderPlot(Canvas& plot, int plotWidth, int firstColumn, std::span<const int> shown, int top) const;
  // Draws the kept picture in full, scale text included.
  void DrawPicture(int top);
  // Moves the kept picture left by the one sample added since it was drawn and
  // draws the new part; false (nothing done) when that would not give the
  // picture a full drawing gives.
  [[nodiscard]] bool ScrollPicture(std::span<const int> shown, int top);

  // The picture of the last paint, kept with its memory DC from one paint to
  // the next and made anew only when the graph's size changes.
  struct BackBuffer {
    UniqueMemoryDC dc;
    UniqueBitmap bitmap;
    HGDIOBJ previous = nullptr;  // the DC's own bitmap, put back before the DC goes
    void* bits = nullptr;
    int width = 0;
    int height = 0;
    // What the picture shows: false until drawn and after anything but the samples changed.
    bool drawn = false;
    int lines = 0;
    int top = 0;
    std::uint64_t total = 0;
    BackBuffer() noexcept = default;
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    ~BackBuffer();
  };
  [[nodiscard]] bool PrepareBackBuffer(HDC screen, int width, int height) noexcept;

  HistogramSamples samples_;
  Rgb colour_{0, 255, 0};
  std::string unit_;
  UniqueFont scaleFont_;
  int dpi_ = 96;  // what the scale's font and the room around the plot are made for
  BackBuffer back_;
  PaintCounts paints_;
};

}  // namespace tarvix
