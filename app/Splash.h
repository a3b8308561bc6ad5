#pragma once
// The start-up splash: the program's name and version in a small band at the
// centre of the screen while the main window loads; Close (the splash's
// operation 15) takes it away.
#include <windows.h>

#include "ui/BaseWindow.h"

namespace tarvix {

class Splash final : public BaseWindow<Splash> {
 public:
  // At 96 DPI; the splash is made at the DPI of the primary monitor.
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 150;

  Splash() = default;
  ~Splash() { Close(); }

  static const char* ClassName() noexcept { return "TarvixSplash"; }

  // Shows the splash and paints it at once; false when Windows refused.
  [[nodiscard]] bool Show() noexcept;
  void Close() noexcept { DestroyOwnWindow(); }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Form_Paint();

  int dpi_ = 96;
};

}  // namespace tarvix
