#pragma once
// Window subclassing with a chain of handlers per window, in the manner of
// comctl32's SetWindowSubclass, but with the chains kept in this process's
// own table rather than in window properties: under Wine every property
// read is a round trip to the server, and comctl32 reads its property two
// or three times for each message of a subclassed window. The skin alone
// subclasses every skinned window and its parent, and the status window
// passes messages to them on every tick.
//
// The newest handler sees a message first and passes it on with
// DefSubclass; the last passes it to the window's own procedure.
// Handlers see messages in their Unicode form, as comctl32's do. A handler
// may add or remove handlers, its own too, while it runs. The chain is
// freed after the window's WM_NCDESTROY.
//
// SubclassProc<T, &T::Method> adapts a member function: no exception crosses
// into Windows, a handler that throws leaves the message to the next one.
#include <windows.h>

namespace tarvix {

using SubclassHandler = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);

// Adds `handler` with `id` to `window`'s chain, or gives the one already
// there the new `data`; false when the window cannot be subclassed.
[[nodiscard]] bool AddSubclass(HWND window, SubclassHandler handler, UINT_PTR id, DWORD_PTR data) noexcept;
// Takes `handler` with `id` off `window`'s chain; false when it was not on it.
bool RemoveSubclass(HWND window, SubclassHandler handler, UINT_PTR id) noexcept;
// From inside a handler: passes the message to the next one down the chain.
LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

template <class T, LRESULT (T::*Method)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                              DWORD_PTR object) noexcept {
  try {
    return (reinterpret_cast<T*>(object)->*Method)(window, message, wParam, lParam);
  } catch (...) {
    return DefSubclass(window, message, wParam, lParam);
  }
}

// Subclasses `window` so that `object`'s Method sees its messages first.
template <class T, LRESULT (T::*Method)(HWND, UINT, WPARAM, LPARAM)>
bool Subclass(HWND window, UINT_PTR id, T* object) noexcept {
  return AddSubclass(window, &SubclassProc<T, Method>, id, reinterpret_cast<DWORD_PTR>(object));
}

template <class T, LRESULT (T::*Method)(HWND, UINT, WPARAM, LPARAM)>
void Unsubclass(HWND window, UINT_PTR id) noexcept {
  RemoveSubclass(window, &SubclassProc<T, Method>, id);
}

}  // namespace tarvix
