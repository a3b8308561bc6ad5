#pragma once
// Recorders for the icon control's two outsides: the shell and the host.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/FakeShell.h"
#include "ui/Tray.h"

namespace tarvix::testing {

struct ShellCall {
  DWORD message;
  NOTIFYICONDATAA record;
};

class RecordingShell final : public TrayShell {
 public:
  std::vector<ShellCall> calls;
  BOOL answer = TRUE;
  BOOL NotifyIcon(DWORD message, const NOTIFYICONDATAA& record) noexcept override {
    calls.push_back({message, record});
    return answer;
  }
};

class RecordingHost final : public TrayEvents {
 public:
  std::vector<std::string> events;  // "LeftClick", "RightClick", "MouseClick 1", ...
  std::vector<std::string> changes;
  std::function<void()> onEvent;  // runs inside each click event

  void LeftClick() override { Record("LeftClick"); }
  void RightClick() override { Record("RightClick"); }
  void MouseClick(std::int32_t button) override { Record("MouseClick " + std::to_string(button)); }
  void TrayPropertyChanged(std::string_view key) override { changes.emplace_back(key); }

 private:
  void Record(std::string event) {
    events.push_back(std::move(event));
    if (onEvent) onEvent();
  }
};

using test::PumpMessagesFor;

// Pumps until `done` holds or `ms` milliseconds have passed; returns `done()`.
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!done() && GetTickCount64() < end) PumpMessagesFor(10);
  return done();
}

// The notification the shell sends for a mouse message over the icon.
inline void SendTrayNotification(const Tray& tray, UINT mouseMessage) {
  SendMessageA(tray.hwnd(), WM_APP_TRAY, 1, static_cast<LPARAM>(mouseMessage));
}

}  // namespace tarvix::testing
