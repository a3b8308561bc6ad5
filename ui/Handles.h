#pragma once
// The window toolkit's owning types: GDI objects, icons, image lists, memory
// DCs and windows (all UniqueAny), plus the borrowed DCs of GetDC and
// BeginPaint, which need their window to be given back, and a select-object guard.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "base/Handle.h"

namespace tarvix {

inline void DestroyWindowIfAlive(HWND window) noexcept {
  // Windows may destroy a child before its owner lets go of it.
  if (IsWindow(window)) DestroyWindow(window);
}

template <typename T>
using UniqueGdiObject = UniqueAny<NullHandlePolicy<T, DeleteObject>>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueRegion = UniqueGdiObject<HRGN>;
using UniqueIcon = UniqueAny<NullHandlePolicy<HICON, DestroyIcon>>;
using UniqueImageList = UniqueAny<NullHandlePolicy<HIMAGELIST, ImageList_Destroy>>;
using UniqueMemoryDC = UniqueAny<NullHandlePolicy<HDC, DeleteDC>>;
using UniqueWindow = UniqueAny<NullHandlePolicy<HWND, DestroyWindowIfAlive>>;
// A library loaded for calls that older systems lack.
using UniqueModule = UniqueAny<NullHandlePolicy<HMODULE, FreeLibrary>>;

// A window's DC from GetDC (null window: the screen), or with `whole` from
// GetWindowDC (the frame included), released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window, bool whole = false) noexcept
      : window_(window), dc_(whole ? GetWindowDC(window) : GetDC(window)) {}
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
  // An object the DC holds already is left as it is: under Wine selecting a
  // font costs about as much as drawing a caption, and painting code often
  // selects the font its caller selected.
  SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(Select(dc, object)) {}
  ~SelectGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  static HGDIOBJ Select(HDC dc, HGDIOBJ object) noexcept {
    if (object == nullptr) return nullptr;
    const DWORD type = GetObjectType(object);
    if (type != OBJ_REGION && GetCurrentObject(dc, type) == object) return nullptr;
    return SelectObject(dc, object);
  }

  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tarvix
