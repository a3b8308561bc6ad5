#include "app/Splash.h"

#include "ui/SkinGdi.h"
#include "app/Version.h"

namespace tarvix {

bool Splash::Show() noexcept {
  if (hwnd() != nullptr) return true;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  if (!CreateWindowOf(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_BORDER, x, y, kWidth, kHeight, nullptr)) {
    return false;
  }
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
    default:
      return DefWindowProcA(hwnd(), message, wParam, lParam);
  }
}

void Splash::Form_Paint() {
  const PaintDC paint(hwnd());
  RECT client{};
  GetClientRect(hwnd(), &client);
  FillGradient(paint.get(), client, Rgb{0x12, 0x3A, 0x6E}, Rgb{0x0E, 0x7C, 0x8C}, false);
  const UniqueFont title = CreateUiFont("Segoe UI", 40, FW_BOLD);
  const UniqueFont small = CreateUiFont("Segoe UI", 15);
  RECT titleBox{24, 28, client.right - 24, 84};
  DrawTextIn(paint.get(), "Tarvix", titleBox, title.get(), Rgb{255, 255, 255}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  RECT lineBox{26, 88, client.right - 24, 110};
  DrawTextIn(paint.get(), "Internet, memory and system booster", lineBox, small.get(), Rgb{0xBF, 0xD9, 0xEE},
             DT_LEFT | DT_SINGLELINE);
  RECT versionBox{26, 112, client.right - 24, 134};
  DrawTextIn(paint.get(), "Version " TARVIX_VERSION_TEXT "  -  starting...", versionBox, small.get(),
             Rgb{0xBF, 0xD9, 0xEE}, DT_LEFT | DT_SINGLELINE);
}

}  // namespace tarvix
