#pragma once
// The one window base of the program: T's static procedure finds the C++
// object through GWLP_USERDATA (set on WM_NCCREATE, cleared on
// WM_NCDESTROY) and hands every message to T::HandleMessage; no exception
// crosses into Windows.
//
// T provides `static const char* ClassName()` and
// `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, and may add class styles
// to CS_DBLCLKS with `static constexpr UINT kClassStyle`.
#include <windows.h>

#include "ui/Dpi.h"
#include "ui/Handles.h"

namespace tarvix {

template <class T>
class BaseWindow {
 public:
  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }

  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

 protected:
  BaseWindow() noexcept = default;
  // Detach first: the derived object is gone when this runs, so the last
  // messages of DestroyWindow must not reach HandleMessage.
  ~BaseWindow() {
    if (window_) {
      SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
      window_.reset();
    }
  }

  // Registers T's class once per process and creates the window; false when
  // either fails (hwnd() stays null).
  [[nodiscard]] bool CreateWindowOf(DWORD exStyle, DWORD style, int x, int y, int width, int height,
                                    HWND parent, HMENU menuOrId = nullptr) noexcept {
    if (!RegisterOnce()) return false;
    const HWND window = CreateWindowExA(exStyle, T::ClassName(), "", style, x, y, width, height, parent,
                                        menuOrId, GetModuleHandleA(nullptr), this);
    return window != nullptr;
  }

  // Destroys the window now (its WM_DESTROY runs inside this call).
  void DestroyOwnWindow() noexcept { window_.reset(); }

 private:
  static bool RegisterOnce() noexcept {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, T::ClassName(), &existing)) return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    if constexpr (requires { T::kClassStyle; }) windowClass.style |= T::kClassStyle;
    windowClass.lpfnWndProc = &BaseWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = T::ClassName();
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      self = static_cast<T*>(static_cast<BaseWindow*>(create->lpCreateParams));
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->window_.reset(window);
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      // A failed handler leaves the window as it was; Windows must not unwind.
      result = DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      ForgetWindowDpi(window);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      (void)self->window_.release();
    }
    return result;
  }

  UniqueWindow window_;
};

}  // namespace tarvix
