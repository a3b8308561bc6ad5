// Tarvix start-up: one instance per session, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "base/Handle.h"
#include "app/frmMain.h"

namespace {

// Held for the life of the process; a second start finds it and ends quietly.
constexpr const char* kSingleInstanceMutex = "Tarvix.SingleInstance";

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tarvix;
  const UniqueHandle instance(CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
  if (!instance.valid() || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&controls);

  frmMain main;
  if (!main.Form_Load()) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (main.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
