#pragma once
// The main window's part for one tool window in screenshot tests: a visible
// top-level child area and the program's real skin, applied as the main
// window applies it (the window's own scheme, then each control's by kind).
#include <windows.h>

#include <string_view>

#include "app/skin/Skin.h"
#include "ui/ToolWindow.h"
#include "ui/Handles.h"

namespace tarvix::test {

class SkinnedShell final : public Shell {
 public:
  // A host of `width` x `height` at (left, top), skinned from `skinPath`.
  SkinnedShell(int width, int height, std::string_view skinPath, int left = 120, int top = 120);
  ~SkinnedShell();

  [[nodiscard]] bool SkinLoaded() const noexcept { return skinLoaded_; }
  [[nodiscard]] Skin& skin() noexcept { return skin_; }

  [[nodiscard]] HWND ChildFrame() const noexcept override { return host_.get(); }
  void SkinToolWindow(HWND form) noexcept override;
  // Shows `window` and brings the child area on top of every window, drawn, for a picture.
  void ShowInFront(HWND window);
  void ReturnToMovieHome() noexcept override {}
  void SetTrayToolTip(std::string_view) noexcept override {}

 private:
  Skin skin_;
  UniqueWindow host_;
  bool skinLoaded_ = false;
};

}  // namespace tarvix::test
