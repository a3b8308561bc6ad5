#include "app/Splash.h"

#include "ui/Dpi.h"
#include "ui/SkinGdi.h"
#include "app/Version.h"

namespace tarvix {

bool Splash::Show() noexcept {
  if (hwnd() != nullptr) return true;
  // At the centre of the primary monitor, at that monitor's DPI.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  dpi_ = MonitorDpiAt({screenWidth / 2, screenHeight / 2});
  const int width = ScaleForDpi(kWidth, dpi_), height = ScaleForDpi(kHeight, dpi_);
  if (!CreateWindowOf(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_BORDER, (screenWidth - width) / 2,
                      (screenHeight - height) / 2, width, height, nullptr)) {
    return false;
  }
  SetWindowDpi(hwnd(), dpi_);
  SetWindowTextA(hwnd(), "Tarvix");
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
  return true;
}

LRESULT Splash::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Form_Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      SetWindowDpi(hwnd(), dpi_);
      const RECT& place = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    }
    default:
      return DefWindowProcA(hwnd(), message, wParam, lParam);
  }
}

void Splash::Form_Paint() {
  const PaintDC paint(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  FillGradient(paint.get(), client, Rgb{0x12, 0x3A, 0x6E}, Rgb{0x0E, 0x7C, 0x8C}, false);
  const auto px = [this](int length) { return ScaleForDpi(length, dpi_); };
  const UniqueFont title = CreateUiFont("Segoe UI", px(40), FW_BOLD);
  const UniqueFont small = CreateUiFont("Segoe UI", px(15));
  RECT titleBox{px(24), px(28), client.right - px(24), px(84)};
  DrawTextIn(paint.get(), "Tarvix", titleBox, title.get(), Rgb{255, 255, 255}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  RECT lineBox{px(26), px(88), client.right - px(24), px(110)};
  DrawTextIn(paint.get(), "Internet, memory and system booster", lineBox, small.get(), Rgb{0xBF, 0xD9, 0xEE},
             DT_LEFT | DT_SINGLELINE);
  RECT versionBox{px(26), px(112), client.right - px(24), px(134)};
  DrawTextIn(paint.get(), "Version " TARVIX_VERSION_TEXT "  -  starting...", versionBox, small.get(),
             Rgb{0xBF, 0xD9, 0xEE}, DT_LEFT | DT_SINGLELINE);
}

}  // namespace tarvix
