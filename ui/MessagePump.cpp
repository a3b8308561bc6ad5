#include "ui/MessagePump.h"

#include <windows.h>

namespace tarvix {

void ProcessPendingMessages(int passes) noexcept {
  for (int pass = 0; pass < passes; ++pass) {
    MSG msg;
    for (int handled = 0; handled < kMaxMessagesPerPass && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
         ++handled) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace tarvix
