#pragma once
// Window subclassing through comctl32 with a C++ handler: SubclassProc<T,
// &T::Method> is the procedure SetWindowSubclass takes, with the object as
// its reference data. No exception crosses into Windows: a handler that
// throws leaves the message to the window's own procedure.
#include <windows.h>
#include <commctrl.h>

namespace tarvix {

template <class T, LRESULT (T::*Method)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                              DWORD_PTR object) noexcept {
  try {
    return (reinterpret_cast<T*>(object)->*Method)(window, message, wParam, lParam);
  } catch (...) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
}

// Subclasses `window` so that `object`'s Method sees its messages first.
template <class T, LRESULT (T::*Method)(HWND, UINT, WPARAM, LPARAM)>
bool Subclass(HWND window, UINT_PTR id, T* object) noexcept {
  return SetWindowSubclass(window, &SubclassProc<T, Method>, id, reinterpret_cast<DWORD_PTR>(object)) != FALSE;
}

template <class T, LRESULT (T::*Method)(HWND, UINT, WPARAM, LPARAM)>
void Unsubclass(HWND window, UINT_PTR id) noexcept {
  RemoveWindowSubclass(window, &SubclassProc<T, Method>, id);
}

}  // namespace tarvix
