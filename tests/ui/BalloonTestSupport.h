#pragma once
// Helpers of the balloon tests: a full-screen window painted with a known
// pattern (so a shadow has something to darken and tests know each pixel
// beneath), a bare host window, and message pumping with short waits.
#include <windows.h>

#include <cstdint>

#include "ui/Handles.h"

namespace tarvix::test {

// The pattern's colour at a screen pixel, as 0x00RRGGBB: diagonal bands of
// three colours, 12 pixels wide.
[[nodiscard]] inline std::uint32_t PatternPixel(int x, int y) noexcept {
  static constexpr std::uint32_t kColours[3] = {0x00D85A3C, 0x004682D2, 0x00F0E6B4};
  const int band = ((x / 12) + (y / 12)) % 3;
  return kColours[band < 0 ? band + 3 : band];
}

// The process's live GDI objects. Wine does not count them for
// GetGuiResources, but it finds an object by its 16-bit index alone, so the
// table can be walked there.
[[nodiscard]] inline int LiveGdiObjects() noexcept {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted != 0) return static_cast<int>(counted);
  int live = 0;
  for (ULONG_PTR index = 1; index < 0x10000; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
  }
  return live;
}

// Serves messages for about `ms` milliseconds, so windows paint and Wine
// puts their pictures on the screen.
inline void PumpFor(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  } while (static_cast<int>(GetTickCount() - end) < 0);
}

// A window covering the screen with the pattern, all but its last column:
// Wine without a window manager takes a full-screen window for a managed one
// and waits seconds for it to go.
class PatternWindow {
 public:
  PatternWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PatternWindow::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "TarvixPatternBackground";
    RegisterClassExA(&windowClass);
    window_.reset(CreateWindowExA(0, "TarvixPatternBackground", "pattern", WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_.get());
    PumpFor(150);
  }
  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    // One period of the pattern (36 x 36) as a brush; the window sits at 0,0.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 36, -36, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const UniqueBitmap tile(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (tile) {
      auto* pixels = static_cast<std::uint32_t*>(bits);
      for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 36; ++x) pixels[y * 36 + x] = PatternPixel(x, y);
      }
      const UniqueBrush brush(CreatePatternBrush(tile.get()));
      SetBrushOrgEx(dc, 0, 0, nullptr);
      FillRect(dc, &paint.rcPaint, brush.get());
    }
    EndPaint(window, &paint);
    return 0;
  }

  UniqueWindow window_;
};

// A bare borderless window that shows a balloon surface's back image.
class HostWindow {
 public:
  using PaintFunction = void (*)(void* context, HDC dc, const RECT& area);

  HostWindow(PaintFunction paint = nullptr, void* context = nullptr) : paint_(paint), context_(context) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &HostWindow::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TarvixBalloonHost";
    RegisterClassExA(&windowClass);
    window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, "TarvixBalloonHost", "", WS_POPUP, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), this));
  }
  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT && self != nullptr && self->paint_ != nullptr) {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      self->paint_(self->context_, dc, paint.rcPaint);
      EndPaint(window, &paint);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  PaintFunction paint_;
  void* context_;
  UniqueWindow window_;
};

}  // namespace tarvix::test
