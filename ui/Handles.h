#pragma once
// Owning types for every Win32 handle the program keeps: GDI objects,
// icons, image lists, memory DCs and windows, plus the borrowed DCs of
// GetDC and BeginPaint and a select-object guard.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace tarvix {

// A handle released by Traits::Close; moves, never copies.
template <typename Handle, typename Traits>
class UniqueHandleOf {
 public:
  UniqueHandleOf() noexcept = default;
  explicit UniqueHandleOf(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandleOf() { reset(); }
  UniqueHandleOf(UniqueHandleOf&& other) noexcept : handle_(other.release()) {}
  UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandleOf(const UniqueHandleOf&) = delete;
  UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  [[nodiscard]] explicit operator bool() const noexcept { return handle_ != nullptr; }
  // Gives the handle away, for a region handed to SetWindowRgn (the window owns it then).
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) noexcept {
    if (handle_ != nullptr && handle_ != handle) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct GdiObjectTraits {
  static void Close(HGDIOBJ object) noexcept { DeleteObject(object); }
};
struct IconTraits {
  static void Close(HICON icon) noexcept { DestroyIcon(icon); }
};
struct ImageListTraits {
  static void Close(HIMAGELIST list) noexcept { ImageList_Destroy(list); }
};
struct MemoryDcTraits {
  static void Close(HDC dc) noexcept { DeleteDC(dc); }
};
// Windows may destroy a child before its owner lets go of it.
struct WindowTraits {
  static void Close(HWND window) noexcept {
    if (IsWindow(window)) DestroyWindow(window);
  }
};

using UniqueBrush = UniqueHandleOf<HBRUSH, GdiObjectTraits>;
using UniquePen = UniqueHandleOf<HPEN, GdiObjectTraits>;
using UniqueFont = UniqueHandleOf<HFONT, GdiObjectTraits>;
using UniqueBitmap = UniqueHandleOf<HBITMAP, GdiObjectTraits>;
using UniqueRegion = UniqueHandleOf<HRGN, GdiObjectTraits>;
using UniqueIcon = UniqueHandleOf<HICON, IconTraits>;
using UniqueImageList = UniqueHandleOf<HIMAGELIST, ImageListTraits>;
using UniqueMemoryDC = UniqueHandleOf<HDC, MemoryDcTraits>;
using UniqueWindow = UniqueHandleOf<HWND, WindowTraits>;

// A window's DC from GetDC (null window: the screen), released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDC() { EndPaint(window_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }
  [[nodiscard]] const RECT& area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tarvix
