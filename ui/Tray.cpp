#include "ui/Tray.h"

#include "ui/TrayPicture.h"

namespace tarvix {
namespace {

class SystemShell final : public TrayShell {
 public:
  BOOL NotifyIcon(DWORD message, const NOTIFYICONDATAA& record) noexcept override {
    NOTIFYICONDATAA copy = record;  // the shell's signature wants a writable record
    return Shell_NotifyIconA(message, &copy);
  }
};

// An elevated process would otherwise never hear the broadcast of an
// Explorer that runs without elevation. Looked up at run time: a direct
// import would keep the program from starting on systems older than
// Windows 7, and before Vista there is no filter at all.
void AllowTaskbarCreated(HWND window, UINT message) noexcept {
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  if (user32 == nullptr) return;
  using PerWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  using PerProcess = BOOL(WINAPI*)(UINT, DWORD);
  if (const auto perWindow = reinterpret_cast<PerWindow>(
          reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))) {
    (void)perWindow(window, message, MSGFLT_ALLOW, nullptr);
  } else if (const auto perProcess = reinterpret_cast<PerProcess>(
                 reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")))) {
    (void)perProcess(message, MSGFLT_ADD);
  }
}

}  // namespace

TrayShell& SystemTrayShell() noexcept {
  static SystemShell shell;
  return shell;
}

Tray::Tray(TrayEvents* host, TrayShell& shell) : host_(host), shell_(shell) {
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  // A tool window that is never shown: no taskbar button, no mouse input of its own.
  if (CreateWindowOf(WS_EX_TOOLWINDOW, WS_POPUP, 0, 0, kTrayWindowSize, kTrayWindowSize, nullptr) && taskbarCreated_ != 0) {
    AllowTaskbarCreated(hwnd(), taskbarCreated_);
  }
}

void Tray::Show(bool UpDateData) noexcept {
  switch (PlanTrayShow(visible_, UpDateData)) {
    case TrayShellStep::Add:
      FillTrayShowRecord(record_, hwnd(), image_.get(), toolTip_);
      Send(NIM_ADD);
      visible_ = true;
      break;
    case TrayShellStep::Modify:
      FillTrayShowRecord(record_, hwnd(), image_.get(), toolTip_);
      Send(NIM_MODIFY);
      break;
    case TrayShellStep::Delete:
      // The record as last filled names the icon to remove.
      Send(NIM_DELETE);
      visible_ = false;
      break;
    case TrayShellStep::None:
      break;
  }
}

void Tray::showBalloonoolTip(bool UpDateData) noexcept {
  if (!UpDateData) return;
  FillTrayBalloonRecord(record_, hwnd(), image_.get(), toolTip_, balloonTip_);
  Send(NIM_MODIFY);
}

void Tray::SetTrayToolTip(std::string_view text) {
  toolTip_.assign(text);
  Report(kTrayToolTipKey);
}

void Tray::SetTrayBalloonToolTip(std::string_view text) {
  balloonTip_.assign(text);
  Report(kTrayBalloonTipKey);
}

void Tray::SetEventMode(std::int32_t mode) noexcept {
  eventMode_ = ClampTrayEventMode(mode);
  Report(kTrayEventModeKey);
}

void Tray::SetTrayImage(UniqueIcon icon) noexcept {
  image_ = std::move(icon);
  Report(kTrayImageKey);
}

bool Tray::AcceptConvertedImage(UniqueIcon icon) noexcept {
  if (!icon) return false;
  SetTrayImage(std::move(icon));
  return true;
}

bool Tray::SetTrayImageFromBitmap(HBITMAP bitmap) noexcept {
  return AcceptConvertedImage(tray::IconFromBitmap(bitmap));
}

bool Tray::SetTrayImageFromCursor(HCURSOR cursor) noexcept {
  return AcceptConvertedImage(tray::IconFromCursor(cursor));
}

bool Tray::SetTrayImageFromMetafile(HENHMETAFILE metafile) noexcept {
  return AcceptConvertedImage(tray::IconFromMetafile(metafile));
}

TrayProperties Tray::Properties() const {
  TrayProperties properties;
  properties.toolTip = toolTip_;
  properties.balloonTip = balloonTip_;
  properties.eventMode = eventMode_;
  return properties;
}

void Tray::ApplyProperties(const TrayProperties& properties) {
  SetTrayToolTip(properties.toolTip);
  SetEventMode(properties.eventMode);
  SetTrayBalloonToolTip(properties.balloonTip);
}

LRESULT Tray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    Shell_TaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_APP_TRAY:
      Tray_Notify(lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kTrayClickTimerId) {
        Timer1_Timer();
        return 0;
      }
      break;
    case WM_SIZE:
      UserControl_Resize();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd(), message, wParam, lParam);
}

void Tray::Tray_Notify(LPARAM lParam) noexcept {
  const TrayEventCall call = clicks_.Decode(static_cast<std::uint64_t>(lParam), eventMode_);
  if (!call.raised()) return;
  // The hold starts only once the host's handler has returned.
  RaiseEvent(call);
  if (SetTimer(hwnd(), kTrayClickTimerId, kTrayClickHoldMs, nullptr) == 0) {
    // Without a timer nothing would ever release the press: the icon would
    // go deaf. Accept the next press at once instead.
    clicks_.Tick();
  }
}

void Tray::Timer1_Timer() noexcept {
  KillTimer(hwnd(), kTrayClickTimerId);
  clicks_.Tick();
}

void Tray::Shell_TaskbarCreated() noexcept {
  // A new Explorer knows no icons; ours comes back if the host shows it.
  if (!visible_) return;
  FillTrayShowRecord(record_, hwnd(), image_.get(), toolTip_);
  Send(NIM_ADD);
}

void Tray::UserControl_Resize() noexcept {
  RECT bounds{};
  if (!GetWindowRect(hwnd(), &bounds)) return;
  if (bounds.right - bounds.left == kTrayWindowSize && bounds.bottom - bounds.top == kTrayWindowSize) return;
  SetWindowPos(hwnd(), nullptr, 0, 0, kTrayWindowSize, kTrayWindowSize,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Tray::RaiseEvent(const TrayEventCall& call) noexcept {
  if (host_ == nullptr) return;
  try {
    switch (call.event) {
      case TrayEvent::LeftClick:
        host_->LeftClick();
        break;
      case TrayEvent::RightClick:
        host_->RightClick();
        break;
      case TrayEvent::MouseClick:
        host_->MouseClick(call.button);
        break;
      case TrayEvent::None:
        break;
    }
  } catch (...) {
    // A failing handler must not leave the press pending for ever.
  }
}

void Tray::Report(std::string_view key) noexcept {
  if (host_ == nullptr) return;
  try {
    host_->TrayPropertyChanged(key);
  } catch (...) {
    // Persisting is the host's business; the property is set either way.
  }
}

}  // namespace tarvix
