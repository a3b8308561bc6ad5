#include "ui/Dpi.h"

#include <commctrl.h>

#include <array>
#include <mutex>
#include <unordered_map>

namespace tarvix {
namespace {

// The DPI each top-level window lays itself out for, by window. Kept in
// the process rather than in a window property: painting asks for it many
// times, and under Wine each property read is a round trip to the server.
struct RecordedDpis {
  std::mutex lock;
  std::unordered_map<HWND, int> byWindow;
};

RecordedDpis& Recorded() {
  static auto* recorded = new RecordedDpis;  // outlives every window
  return *recorded;
}

int RecordedDpi(HWND window) noexcept {
  RecordedDpis& recorded = Recorded();
  const std::lock_guard<std::mutex> hold(recorded.lock);
  const auto found = recorded.byWindow.find(window);
  return found != recorded.byWindow.end() ? found->second : 0;
}

// Windows 10 1607 and later; looked up once, null before.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
// Windows 8.1 and later (shcore); MDT_EFFECTIVE_DPI is 0.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
// Windows Vista and later (comctl32 6).
using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

template <class Fn>
Fn User32Call(const char* name) noexcept {
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 == nullptr ? nullptr : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

GetDpiForWindowFn GetDpiForWindowCall() noexcept {
  static const auto call = User32Call<GetDpiForWindowFn>("GetDpiForWindow");
  return call;
}

GetSystemMetricsForDpiFn GetSystemMetricsForDpiCall() noexcept {
  static const auto call = User32Call<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  return call;
}

SystemParametersInfoForDpiFn SystemParametersInfoForDpiCall() noexcept {
  static const auto call = User32Call<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  return call;
}

GetDpiForMonitorFn GetDpiForMonitorCall() noexcept {
  // Kept loaded as long as the call may be made: for the process.
  static const UniqueModule shcore(LoadLibraryA("shcore.dll"));
  static const auto call = shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(
                                        GetProcAddress(shcore.get(), "GetDpiForMonitor")))
                                  : nullptr;
  return call;
}

LoadIconWithScaleDownFn LoadIconWithScaleDownCall() noexcept {
  static const auto call = [] {
    const HMODULE comctl = GetModuleHandleA("comctl32.dll");
    return comctl == nullptr ? nullptr
                             : reinterpret_cast<LoadIconWithScaleDownFn>(
                                   reinterpret_cast<void*>(GetProcAddress(comctl, "LoadIconWithScaleDown")));
  }();
  return call;
}

bool Plausible(int dpi) noexcept { return dpi >= 48 && dpi <= 960; }

struct CachedFont {
  int dpi = 0;
  UniqueFont font;
};
// Few DPIs are ever in use (one per monitor). A font is never freed while
// the process runs, since controls may still draw with it; a DPI beyond
// the eighth gets the stock font.
std::array<CachedFont, 8>& FontCache() noexcept {
  static std::array<CachedFont, 8> cache;
  return cache;
}

UniqueFont MakeDialogFont(int dpi) noexcept {
  if (const auto forDpi = SystemParametersInfoForDpiCall()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
      return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
    }
  }
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  // The system's font is sized for the system DPI.
  metrics.lfMessageFont.lfHeight = RescaleLength(metrics.lfMessageFont.lfHeight, SystemDpi(), dpi);
  return UniqueFont(CreateFontIndirectA(&metrics.lfMessageFont));
}

bool HandlesItsOwnDpi(HWND window, int toDpi, int fromDpi) noexcept {
  // Every child of the program's windows belongs to this thread.
  return SendMessageA(window, WM_APP_DPI_CHANGED, static_cast<WPARAM>(toDpi), static_cast<LPARAM>(fromDpi)) ==
         kDpiChangeHandled;
}

void RescaleListColumns(HWND list, int fromDpi, int toDpi) noexcept {
  const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int columns = header == nullptr ? 0 : static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < columns; ++column) {
    const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MAKELPARAM(RescaleLength(width, fromDpi, toDpi), 0));
  }
}

}  // namespace

int ScaleForDpi(int value, int dpi) noexcept { return dpi <= 0 ? value : MulDiv(value, dpi, kDesignDpi); }

RECT ScaleBoxForDpi(int x, int y, int width, int height, int dpi) noexcept {
  return {ScaleForDpi(x, dpi), ScaleForDpi(y, dpi), ScaleForDpi(x + width, dpi), ScaleForDpi(y + height, dpi)};
}

int RescaleLength(int value, int fromDpi, int toDpi) noexcept {
  if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return value;
  return MulDiv(value, toDpi, fromDpi);
}

int SystemDpi() noexcept {
  static const int dpi = [] {
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) return kDesignDpi;
    const int logical = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return Plausible(logical) ? logical : kDesignDpi;
  }();
  return dpi;
}

int MonitorDpiAt(POINT point) noexcept {
  if (const auto forMonitor = GetDpiForMonitorCall()) {
    UINT x = 0, y = 0;
    const HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && Plausible(static_cast<int>(y))) {
      return static_cast<int>(y);
    }
  }
  return SystemDpi();
}

int WindowDpi(HWND window) noexcept {
  if (window == nullptr) return SystemDpi();
  const HWND top = GetAncestor(window, GA_ROOT);
  const HWND root = top != nullptr ? top : window;
  if (const int taken = RecordedDpi(root); Plausible(taken)) return taken;
  if (const auto forWindow = GetDpiForWindowCall()) {
    const auto dpi = static_cast<int>(forWindow(root));
    if (Plausible(dpi)) return dpi;
  }
  return SystemDpi();
}

void SetWindowDpi(HWND window, int dpi) noexcept {
  if (window == nullptr || !Plausible(dpi)) return;
  RecordedDpis& recorded = Recorded();
  const std::lock_guard<std::mutex> hold(recorded.lock);
  try {
    recorded.byWindow[window] = dpi;
  } catch (...) {
    // Unrecorded, the window follows what Windows says of it.
  }
}

void ForgetWindowDpi(HWND window) noexcept {
  if (window == nullptr) return;
  RecordedDpis& recorded = Recorded();
  const std::lock_guard<std::mutex> hold(recorded.lock);
  recorded.byWindow.erase(window);
}

int SystemMetricForDpi(int index, int dpi) noexcept {
  if (const auto forDpi = GetSystemMetricsForDpiCall(); forDpi != nullptr && dpi > 0) {
    const int value = forDpi(index, static_cast<UINT>(dpi));
    if (value > 0) return value;
  }
  return RescaleLength(GetSystemMetrics(index), SystemDpi(), dpi);
}

HFONT DialogFontFor(int dpi) noexcept {
  if (!Plausible(dpi)) dpi = SystemDpi();
  auto& cache = FontCache();
  for (const CachedFont& entry : cache) {
    if (entry.dpi == dpi && entry.font) return entry.font.get();
  }
  for (CachedFont& entry : cache) {
    if (entry.dpi != 0) continue;
    entry.font = MakeDialogFont(dpi);
    if (!entry.font) break;
    entry.dpi = dpi;
    return entry.font.get();
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool IsDialogFont(HFONT font, int* dpi) noexcept {
  if (font == nullptr) return false;
  for (const CachedFont& entry : FontCache()) {
    if (entry.font.get() == font) {
      if (dpi != nullptr) *dpi = entry.dpi;
      return true;
    }
  }
  return false;
}

UniqueIcon LoadIconAtSize(HINSTANCE module, const char* name, int size) noexcept {
  HICON icon = nullptr;
  if (const auto scaleDown = LoadIconWithScaleDownCall(); scaleDown != nullptr && IS_INTRESOURCE(name)) {
    if (FAILED(scaleDown(module, reinterpret_cast<PCWSTR>(name), size, size, &icon))) icon = nullptr;
  }
  if (icon == nullptr) icon = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, size, size, 0));
  if (icon == nullptr) {
    // IDI_APPLICATION, shared by the system: a copy is owned here.
    icon = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_ICON, size, size, LR_SHARED));
    if (icon != nullptr) icon = CopyIcon(icon);
  }
  return UniqueIcon(icon);
}

void RescaleChildren(HWND parent, int fromDpi, int toDpi) noexcept {
  if (parent == nullptr || fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HandlesItsOwnDpi(child, toDpi, fromDpi)) continue;
    char className[32] = {};
    GetClassNameA(child, className, static_cast<int>(sizeof className));
    RECT box{};
    GetWindowRect(child, &box);
    // A drop-down list's window is as tall as the field; the height it was
    // given counts the list too, down to the dropped list's bottom.
    if (lstrcmpiA(className, WC_COMBOBOXA) == 0) {
      RECT dropped{};
      SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      // Its bottom in screen pixels, whether the rectangle starts at the field or below it.
      if (dropped.bottom > box.bottom) box.bottom = dropped.bottom;
    }
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    // The font first: a drop-down list sizes its field for the font it is given.
    const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    if (IsDialogFont(font)) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFontFor(toDpi)), TRUE);
    const auto scale = [&](LONG v) { return RescaleLength(static_cast<int>(v), fromDpi, toDpi); };
    const int left = scale(box.left), top = scale(box.top);
    SetWindowPos(child, nullptr, left, top, scale(box.right) - left, scale(box.bottom) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (lstrcmpiA(className, WC_LISTVIEWA) == 0) RescaleListColumns(child, fromDpi, toDpi);
    if ((GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) RescaleChildren(child, fromDpi, toDpi);
  }
}

}  // namespace tarvix
