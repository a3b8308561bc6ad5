#include "support/FakeShell.h"

namespace tarvix::test {

FakeShell::FakeShell()
    : frame_(CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "child area", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 440, 260,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}

FakeShell::~FakeShell() = default;

void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

void TypeText(HWND edit, const std::string& text) { SetWindowTextA(edit, text.c_str()); }

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PumpMessagesFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

}  // namespace tarvix::test
