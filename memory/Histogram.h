#pragma once
// The histogram graph of the status window: a child window that draws the
// latest samples as an anti-aliased curve over a filled area on a dark
// panel, with a scale at the left. The status window uses three operations:
// the number of samples shown (maxlines), adding a sample (setting the
// value) and reading the current value back.
#include <windows.h>

#include <string>
#include <string_view>

#include "memory/HistogramModel.h"
#include "ui/BaseWindow.h"
#include "ui/Handles.h"

namespace tarvix {

class Histogram final : public BaseWindow<Histogram> {
 public:
  static const char* ClassName() noexcept { return "TarvixHistogram"; }

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

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Paint();
  void Changed() noexcept;

  // The picture of the last paint, kept with its memory DC from one paint to
  // the next and made anew only when the graph's size changes.
  struct BackBuffer {
    UniqueMemoryDC dc;
    UniqueBitmap bitmap;
    HGDIOBJ previous = nullptr;  // the DC's own bitmap, put back before the DC goes
    void* bits = nullptr;
    int width = 0;
    int height = 0;
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
};

}  // namespace tarvix
