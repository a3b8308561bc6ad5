#pragma once
// Dots per inch: what each window lays itself out for, lengths designed at
// 96 DPI converted to it, the dialog font and icon sizes at it. Windows 10
// (1607 and later) knows a DPI per monitor and per window; Windows 7 and 8
// have one system DPI, read from the screen's device context. The newer
// calls are looked up at run time so that the program still starts there.
#include <windows.h>

#include "ui/Handles.h"

namespace tarvix {

// The DPI every length of the program's tables is designed at.
inline constexpr int kDesignDpi = 96;

// A length designed at 96 DPI, at `dpi` (rounded to nearest; negative
// lengths keep their sign). A DPI of 0 or less leaves the length as it is.
[[nodiscard]] int ScaleForDpi(int value, int dpi) noexcept;
// A box designed at 96 DPI, at `dpi`. Its edges are scaled, not its size, so
// that boxes that meet at 96 DPI meet at every DPI.
[[nodiscard]] RECT ScaleBoxForDpi(int x, int y, int width, int height, int dpi) noexcept;
// A length at `fromDpi` at `toDpi`, rounded to nearest.
[[nodiscard]] int RescaleLength(int value, int fromDpi, int toDpi) noexcept;

// The system DPI: the screen's logical pixels per inch; 96 when unreadable.
[[nodiscard]] int SystemDpi() noexcept;
// The DPI of the monitor nearest `point` (screen pixels); the system DPI
// where Windows has no per-monitor DPI.
[[nodiscard]] int MonitorDpiAt(POINT point) noexcept;

// The DPI `window` lays itself out for: the one recorded for its top-level
// window (SetWindowDpi), else what Windows says of the window, else the
// system DPI. Child windows follow their top-level window.
[[nodiscard]] int WindowDpi(HWND window) noexcept;
// Records that the top-level window `window` now lays itself out for `dpi`:
// the monitor's DPI it was made for, then each one WM_DPICHANGED brings.
// Kept by the program because not every system can say a window's DPI
// (Windows 8.1), or changes its answer on a move (Wine keeps the DPI it had
// at start).
void SetWindowDpi(HWND window, int dpi) noexcept;
// Removes what SetWindowDpi recorded; every window of the program does so
// as it is destroyed (BaseWindow).
void ForgetWindowDpi(HWND window) noexcept;

// A system metric (SM_CXICON, SM_CXSMICON, SM_CXVSCROLL, ...) at `dpi`;
// without the per-DPI call the system's value scaled from the system DPI.
[[nodiscard]] int SystemMetricForDpi(int index, int dpi) noexcept;

// The font the tool windows and boxes use at `dpi`: the system's message font
// (Tahoma or Segoe UI) at that DPI. One font per DPI, made on first use and
// kept until the process ends; never delete it. Stock DEFAULT_GUI_FONT when
// it cannot be made.
[[nodiscard]] HFONT DialogFontFor(int dpi) noexcept;
// True when `font` is one of DialogFontFor's fonts; `dpi` gets its DPI.
[[nodiscard]] bool IsDialogFont(HFONT font, int* dpi = nullptr) noexcept;

// The icon resource `name` of `module` at `size` pixels square, drawn from the
// closest size the resource has (scaled down, never up, where Windows can).
// On failure the system's application icon at that size, or null.
[[nodiscard]] UniqueIcon LoadIconAtSize(HINSTANCE module, const char* name, int size) noexcept;

// Moves and sizes every child of `parent` from `fromDpi` to `toDpi` (each
// edge scaled, so neighbours stay neighbours), gives controls drawn in a
// dialog font the font of `toDpi`, scales list-view columns, and goes on into
// children that hold controls of their own (WS_EX_CONTROLPARENT). Windows
// that lay themselves out are left to themselves: those that answer
// WM_APP_DPI_CHANGED with kDpiChangeHandled.
void RescaleChildren(HWND parent, int fromDpi, int toDpi) noexcept;

// Sent by RescaleChildren to each child before it scales it, with wParam the
// new DPI and lParam the old one; a window that lays itself out for the new
// DPI returns kDpiChangeHandled and is left alone.
inline constexpr UINT WM_APP_DPI_CHANGED = WM_APP + 60;
inline constexpr LRESULT kDpiChangeHandled = 0x44504931;  // "DPI1"

}  // namespace tarvix
