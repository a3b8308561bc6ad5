#pragma once
// A stand-in for the main window that tool-window tests hand to the window
// they build: a hidden child area of its own, and a record of what the
// window asked of the main window.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/ToolWindow.h"
#include "ui/Handles.h"

namespace tarvix::test {

class FakeShell final : public Shell {
 public:
  FakeShell();
  ~FakeShell();

  [[nodiscard]] HWND ChildFrame() const noexcept override { return frame_.get(); }
  void SkinToolWindow(HWND form) noexcept override { skinned.push_back(form); }
  void ReturnToMovieHome() noexcept override { ++returnsHome; }
  void SetTrayToolTip(std::string_view text) noexcept override { trayToolTip.assign(text); }

  std::vector<HWND> skinned;
  int returnsHome = 0;
  std::string trayToolTip;

 private:
  UniqueWindow frame_;
};

// Clicks a button the way a user does (BN_CLICKED reaches its parent).
void Click(HWND button);
// Types `text` into an edit control (EN_CHANGE reaches its parent).
void TypeText(HWND edit, const std::string& text);
// Serves the window messages that are waiting.
void PumpMessages();
// Serves window messages as they come for `ms` milliseconds (paints, timers).
void PumpMessagesFor(DWORD ms);

}  // namespace tarvix::test
