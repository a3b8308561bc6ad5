#pragma once
// The tool windows' side of the main window: what the main window offers
// them (Shell) and what it asks of each of them (IToolWindow), with a base
// that creates a tool window hidden inside the main window's child area.
//
// A tool window T derives from ToolWindowBase<T> and provides
//   static const char* ClassName();
//   static constexpr int kWidth, kHeight;      // its size in the child area
//   void Form_Load();                          // creates its controls, calls SkinSelf(), reads its settings
//   void Form_Unload() noexcept;               // optional: stops timers, ...
//   LRESULT HandleMessage(UINT, WPARAM, LPARAM);   // ends with DefWindowProcA for the rest
#include <windows.h>

#include <string_view>

#include "ui/BaseWindow.h"

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
  // true when the window exists (also when it was loaded already).
  [[nodiscard]] virtual bool Load() = 0;
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
    if (this->hwnd() != nullptr) return true;
    // No WS_CLIPCHILDREN: group boxes leave their inside to the parent's background.
    if (!this->CreateWindowOf(WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, T::kWidth,
                              T::kHeight, shell_.ChildFrame())) {
      return false;
    }
    static_cast<T*>(this)->Form_Load();
    return true;
  }

  void Unload() noexcept override {
    if (this->hwnd() == nullptr) return;
    static_cast<T*>(this)->Form_Unload();
    this->DestroyOwnWindow();
  }

  [[nodiscard]] HWND Window() const noexcept override { return this->hwnd(); }

  // Default unload handler: nothing to stop.
  void Form_Unload() noexcept {}

 protected:
  [[nodiscard]] Shell& shell() const noexcept { return shell_; }
  // The control with `id` on this window.
  [[nodiscard]] HWND Item(int id) const noexcept { return GetDlgItem(this->hwnd(), id); }
  // "controlForm" on this window and the skin on each control; call once the controls exist.
  void SkinSelf() noexcept { shell_.SkinToolWindow(this->hwnd()); }

 private:
  Shell& shell_;
};

}  // namespace tarvix
