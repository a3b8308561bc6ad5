#include "support/SkinnedShell.h"

#include <string>

#include "support/FakeShell.h"

namespace tarvix::test {

SkinnedShell::SkinnedShell(int width, int height, std::string_view skinPath, int left, int top) {
  WNDCLASSEXA host{};
  host.cbSize = sizeof host;
  host.lpfnWndProc = DefWindowProcA;
  host.hInstance = GetModuleHandleA(nullptr);
  host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  host.lpszClassName = "TarvixSkinnedShellHost";
  RegisterClassExA(&host);
  host_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, "TarvixSkinnedShellHost", "Tarvix", WS_POPUP,
                              left, top, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  skinLoaded_ = skin_.Load(std::string(skinPath));
}

SkinnedShell::~SkinnedShell() {
  host_.reset();
  skin_.Unload();
}

void SkinnedShell::ShowInFront(HWND window) {
  ShowWindow(window, SW_SHOW);
  ShowWindow(ChildFrame(), SW_SHOWNOACTIVATE);
  SetWindowPos(ChildFrame(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(ChildFrame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessagesFor(150);
}

void SkinnedShell::SkinToolWindow(HWND form) noexcept {
  (void)skin_.Apply(form, "controlForm");
  ApplyControlSchemes(skin_, form);
}

}  // namespace tarvix::test
