#include "ui/Subclass.h"

#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

namespace tarvix {
namespace {

struct Link {
  SubclassHandler handler;
  UINT_PTR id;
  DWORD_PTR data;
  Link* next;
  bool removed;
};

// One window's handlers, newest first. A link taken off while a message is
// being handled keeps its `next`, so that a handler running on it still
// passes the message on; it is freed once no message is being handled.
struct Chain {
  WNDPROC original = nullptr;
  Link* first = nullptr;
  Link* running = nullptr;  // the handler that has the message now
  int depth = 0;            // messages being handled, nested
  bool destroyed = false;   // WM_NCDESTROY has been seen
  std::vector<Link*> retired;
};

// Every window of the program lives on one thread; the lock keeps the table
// sound should another thread's window ever be subclassed too. Handlers are
// called without it.
std::mutex& TableLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<HWND, Chain*>& Table() {
  static auto* table = new std::unordered_map<HWND, Chain*>;  // outlives every window
  return *table;
}

Chain* ChainOf(HWND window) noexcept {
  const std::lock_guard<std::mutex> hold(TableLock());
  const auto found = Table().find(window);
  return found != Table().end() ? found->second : nullptr;
}

LRESULT CALLBACK ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

bool Empty(const Chain& chain) noexcept {
  for (const Link* link = chain.first; link != nullptr; link = link->next) {
    if (!link->removed) return false;
  }
  return true;
}

// Once no message is being handled: frees what was taken off and, when no
// handler is left or the window is gone, gives the window its own procedure
// back and drops the chain. Someone else who subclassed the window after us
// still calls ChainProc, so the chain then stays as a pass-through.
void Tidy(HWND window, Chain* chain) noexcept {
  if (chain->depth != 0) return;
  for (Link* link : chain->retired) delete link;
  chain->retired.clear();
  if (!chain->destroyed && !Empty(*chain)) return;
  const bool ours = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &ChainProc;
  if (!chain->destroyed && !ours) return;
  if (ours) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
  {
    const std::lock_guard<std::mutex> hold(TableLock());
    Table().erase(window);
  }
  for (Link* link = chain->first; link != nullptr;) {
    Link* next = link->next;
    delete link;
    link = next;
  }
  delete chain;
}

// Hands the message to the first handler from `link` on that is still on
// the chain, or to the window's own procedure after the last.
LRESULT CallFrom(Chain* chain, Link* link, HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  while (link != nullptr && link->removed) link = link->next;
  if (link == nullptr) return CallWindowProcW(chain->original, window, message, wParam, lParam);
  chain->running = link;
  return link->handler(window, message, wParam, lParam, link->id, link->data);
}

LRESULT CALLBACK ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Chain* chain = ChainOf(window);
  if (chain == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  Link* const outer = chain->running;
  ++chain->depth;
  const LRESULT result = CallFrom(chain, chain->first, window, message, wParam, lParam);
  chain->running = outer;
  --chain->depth;
  if (message == WM_NCDESTROY) chain->destroyed = true;
  Tidy(window, chain);
  return result;
}

}  // namespace

bool AddSubclass(HWND window, SubclassHandler handler, UINT_PTR id, DWORD_PTR data) noexcept {
  if (window == nullptr || handler == nullptr || !IsWindow(window)) return false;
  Chain* chain = ChainOf(window);
  if (chain != nullptr) {
    for (Link* link = chain->first; link != nullptr; link = link->next) {
      if (!link->removed && link->handler == handler && link->id == id) {
        link->data = data;
        return true;
      }
    }
  }
  auto* link = new (std::nothrow) Link{handler, id, data, nullptr, false};
  if (link == nullptr) return false;
  if (chain == nullptr) {
    chain = new (std::nothrow) Chain;
    if (chain == nullptr) {
      delete link;
      return false;
    }
    try {
      const std::lock_guard<std::mutex> hold(TableLock());
      Table().emplace(window, chain);
    } catch (...) {
      delete chain;
      delete link;
      return false;
    }
    SetLastError(ERROR_SUCCESS);
    chain->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc)));
    if (chain->original == nullptr && GetLastError() != ERROR_SUCCESS) {
      {
        const std::lock_guard<std::mutex> hold(TableLock());
        Table().erase(window);
      }
      delete chain;
      delete link;
      return false;
    }
  }
  link->next = chain->first;
  chain->first = link;
  return true;
}

bool RemoveSubclass(HWND window, SubclassHandler handler, UINT_PTR id) noexcept {
  Chain* chain = ChainOf(window);
  if (chain == nullptr) return false;
  Link** place = &chain->first;
  while (*place != nullptr && ((*place)->removed || (*place)->handler != handler || (*place)->id != id)) {
    place = &(*place)->next;
  }
  Link* link = *place;
  if (link == nullptr) return false;
  *place = link->next;
  link->removed = true;
  if (chain->depth == 0) {
    delete link;
  } else {
    try {
      chain->retired.push_back(link);
    } catch (...) {
      // Left to the system: a handful of bytes, against a link freed under a running handler.
    }
  }
  Tidy(window, chain);
  return true;
}

LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Chain* chain = ChainOf(window);
  if (chain == nullptr || chain->running == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  Link* const here = chain->running;
  const LRESULT result = CallFrom(chain, here->next, window, message, wParam, lParam);
  chain->running = here;
  return result;
}

}  // namespace tarvix
