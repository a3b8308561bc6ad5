#pragma once
// The tool windows' side of the main window: what the main window offers
// them (Shell) and what it asks of each of them (IToolWindow), with a base
// that creates a tool window hidden inside the main window's child area.
//
// A tool window T derives from ToolWindowBase<T> and provides
//   static const char* ClassName();
//   static constexpr int kWidth, kHeight;      // its size in the child area at 96 DPI
//   void Form_Load();                          // creates its controls, calls SkinSelf(), reads its settings
// and, when none of its controls is needed before the window is first shown
// (no timer and no stored setting lives in them), it may split its load:
//   void Form_LoadState();                     // what the program needs of it from start-up
//   void Form_LoadControls();                  // its controls, made on the first Load that is
//                                              // followed by a show
// Form_Load is then never called; a full Load runs both, LoadAtStartup the
// first alone.
//   void Form_Unload() noexcept;               // optional: stops timers, ...
// and any of the handlers below, to which the base decodes its messages
// (each optional; the base's own do nothing):
//   void OnClick(int id);                      // BN_CLICKED from a control
//   void OnChange(int id);                     // EN_CHANGE or CBN_SELCHANGE from a control
//   void OnScroll(HWND control);               // WM_HSCROLL or WM_VSCROLL from a control
//   void OnTimer(UINT_PTR id);
//   bool OnNotify(const NMHDR& header, LPARAM lParam);   // true when handled
//   bool OnOtherMessage(UINT, WPARAM, LPARAM, LRESULT&); // true when handled, with its result
#include <windows.h>
#include <commctrl.h>

#include <string_view>
#include <utility>
#include <vector>

#include "ui/BaseWindow.h"
#include "ui/Dpi.h"

namespace tarvix {

// What the main window offers its tool windows.
class Shell {
 public:
  // The child area `framChildWindow` that hosts the tool windows.
  [[nodiscard]] virtual HWND ChildFrame() const noexcept = 0;
  // Applies the skin scheme "controlForm" to `form`, then skins each of its
  // controls by kind (applyAllControls).
  virtual void SkinToolWindow(HWND form) noexcept = 0;
  // Brings the movie in front of the child area and sets "_root.home" to "true".
  virtual void ReturnToMovieHome() noexcept = 0;
  // The notification icon's tool tip.
  virtual void SetTrayToolTip(std::string_view text) noexcept = 0;

 protected:
  ~Shell() = default;
};

// What the main window asks of each tool window.
class IToolWindow {
 public:
  virtual ~IToolWindow() = default;
  // Creates the window hidden in the child area and runs its load handler;
  // true when the window exists (also when it was loaded already). Every
  // caller that is about to show the window loads it first.
  [[nodiscard]] virtual bool Load() = 0;
  // Load as start-up does it: a window whose controls matter only once it
  // is seen leaves them to its next Load.
  [[nodiscard]] virtual bool LoadAtStartup() { return Load(); }
  // Runs its unload handler and destroys the window; Load makes it anew.
  virtual void Unload() noexcept = 0;
  // Null while unloaded.
  [[nodiscard]] virtual HWND Window() const noexcept = 0;
};

template <class T>
class ToolWindowBase : public BaseWindow<T>, public IToolWindow {
 public:
  explicit ToolWindowBase(Shell& shell) noexcept : shell_(shell) {}
  ~ToolWindowBase() override = default;

  [[nodiscard]] bool Load() override {
    T& self = *static_cast<T*>(this);
    if (this->hwnd() != nullptr) {
      if constexpr (kSplitsLoad) {
        if (controlsPending_) {
          controlsPending_ = false;
          self.Form_LoadControls();
        }
      }
      return true;
    }
    if (!CreateHiddenWindow()) return false;
    if constexpr (kSplitsLoad) {
      self.Form_LoadState();
      self.Form_LoadControls();
    } else {
      self.Form_Load();
    }
    return true;
  }

  [[nodiscard]] bool LoadAtStartup() override {
    if constexpr (kSplitsLoad) {
      if (this->hwnd() != nullptr) return true;
      if (!CreateHiddenWindow()) return false;
      static_cast<T*>(this)->Form_LoadState();
      controlsPending_ = true;
      return true;
    } else {
      return Load();
    }
  }

  void Unload() noexcept override {
    if (this->hwnd() == nullptr) return;
    static_cast<T*>(this)->Form_Unload();
    this->DestroyOwnWindow();
    controlsPending_ = false;
  }

  [[nodiscard]] HWND Window() const noexcept override { return this->hwnd(); }

  // Default unload handler: nothing to stop.
  void Form_Unload() noexcept {}

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    T& self = *static_cast<T*>(this);
    switch (message) {
      case WM_COMMAND:
        if (lParam == 0) break;  // no menus or accelerators in a tool window
        switch (HIWORD(wParam)) {
          case BN_CLICKED:
            self.OnClick(LOWORD(wParam));
            return 0;
          case EN_CHANGE:
          case CBN_SELCHANGE:
            self.OnChange(LOWORD(wParam));
            return 0;
          default:
            break;
        }
        break;
      case WM_HSCROLL:
      case WM_VSCROLL:
        if (lParam == 0) break;
        self.OnScroll(reinterpret_cast<HWND>(lParam));
        return 0;
      case WM_TIMER:
        self.OnTimer(wParam);
        return 0;
      case WM_NOTIFY:
        if (self.OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam)) return 0;
        break;
      default:
        break;
    }
    LRESULT result = 0;
    if (self.OnOtherMessage(message, wParam, lParam, result)) return result;
    return DefWindowProcA(this->hwnd(), message, wParam, lParam);
  }

  void OnClick(int /*id*/) {}
  void OnChange(int /*id*/) {}
  void OnScroll(HWND /*control*/) {}
  void OnTimer(UINT_PTR /*id*/) {}
  bool OnNotify(const NMHDR& /*header*/, LPARAM /*lParam*/) { return false; }
  bool OnOtherMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) { return false; }

 protected:
  [[nodiscard]] Shell& shell() const noexcept { return shell_; }
  // The control with `id` on this window. Kept once found: under Wine each
  // GetDlgItem asks the server for the whole list of children, and the
  // status window's ticks ask every 300 ms.
  [[nodiscard]] HWND Item(int id) const noexcept {
    for (const auto& [itemId, control] : items_) {
      if (itemId == id && IsWindow(control) && GetDlgCtrlID(control) == id && GetParent(control) == this->hwnd()) {
        return control;
      }
    }
    const HWND control = GetDlgItem(this->hwnd(), id);
    if (control == nullptr) return nullptr;
    try {
      std::erase_if(items_, [id](const auto& item) { return item.first == id; });
      items_.emplace_back(id, control);
    } catch (...) {
      // Found again next time.
    }
    return control;
  }
  // Loaded at start-up, with the controls still to come at the first show.
  [[nodiscard]] bool ControlsPending() const noexcept { return controlsPending_; }
  // "controlForm" on this window and the skin on each control; call once the controls exist.
  void SkinSelf() noexcept { shell_.SkinToolWindow(this->hwnd()); }

 private:
  static constexpr bool kSplitsLoad = requires(T& form) {
    form.Form_LoadState();
    form.Form_LoadControls();
  };

  // The window alone, hidden in the child area, with its caption.
  [[nodiscard]] bool CreateHiddenWindow() {
    // No WS_CLIPCHILDREN: group boxes leave their inside to the parent's background.
    const int dpi = WindowDpi(shell_.ChildFrame());
    if (!this->CreateWindowOf(WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, ScaleForDpi(T::kWidth, dpi),
                              ScaleForDpi(T::kHeight, dpi), shell_.ChildFrame())) {
      return false;
    }
    SetWindowTextA(this->hwnd(), T::kCaption);
    return true;
  }

  Shell& shell_;
  mutable std::vector<std::pair<int, HWND>> items_;
  bool controlsPending_ = false;  // loaded at start-up; the controls come with the next Load
};

}  // namespace tarvix
