#pragma once
// The notification-area icon control: one icon with its tip and balloon,
// added, updated and removed on the host's request, and button presses on
// the icon turned into LeftClick / RightClick / MouseClick events.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/TrayLogic.h"
#include "ui/TrayRecord.h"
#include "ui/BaseWindow.h"
#include "ui/Handles.h"

namespace tarvix {

// The hold timer that follows each accepted press.
inline constexpr UINT_PTR kTrayClickTimerId = WM_APP + 2;
// The control's window keeps this size whatever its host asks for.
inline constexpr int kTrayWindowSize = 36;

// What the host hears from the control. Exceptions thrown here are swallowed
// by the control, which goes on as if the handler had returned.
class TrayEvents {
 public:
  virtual void LeftClick() {}
  virtual void RightClick() {}
  // EventMode 1 only: 1 for the left button, 2 for the right.
  virtual void MouseClick(std::int32_t /*button*/) {}
  // A persisted property changed: "TrayImage", "TrayToolTip", "BalloonTip", "EventMode".
  virtual void TrayPropertyChanged(std::string_view /*key*/) {}

 protected:
  ~TrayEvents() = default;
};

// The control's one call into the shell; tests put a recorder here.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  // Shell_NotifyIconA(message, record); non-zero when the shell accepted it.
  virtual BOOL NotifyIcon(DWORD message, const NOTIFYICONDATAA& record) noexcept = 0;
};

// The real shell.
[[nodiscard]] TrayShell& SystemTrayShell() noexcept;

class Tray final : public BaseWindow<Tray> {
 public:
  static const char* ClassName() noexcept { return "TarvixTrayWindow"; }

  // Creates the control's hidden window; on failure hwnd() is null and the
  // control still works, the shell refusing its requests.
  explicit Tray(TrayEvents* host = nullptr, TrayShell& shell = SystemTrayShell());
  // The icon is not removed here: the host calls Show(false) on its way out.
  ~Tray() = default;
  Tray(const Tray&) = delete;
  Tray& operator=(const Tray&) = delete;

  // true: add the icon, or update icon and tip when it is shown already.
  // false: remove it when it is shown; otherwise nothing.
  void Show(bool UpDateData) noexcept;
  // true: show the balloon (title = tip text, text = balloon text) and refresh
  // icon and tip, whether the icon is shown or not. false: nothing.
  void showBalloonoolTip(bool UpDateData) noexcept;

  // True from the add request until the delete request, whatever the shell answered.
  [[nodiscard]] bool IsVisible() const noexcept { return visible_; }
  [[nodiscard]] bool ClickPending() const noexcept { return clicks_.ClickPending(); }

  [[nodiscard]] const std::string& TrayToolTip() const noexcept { return toolTip_; }
  void SetTrayToolTip(std::string_view text);
  [[nodiscard]] const std::string& TrayBalloonToolTip() const noexcept { return balloonTip_; }
  void SetTrayBalloonToolTip(std::string_view text);
  [[nodiscard]] std::int32_t EventMode() const noexcept { return eventMode_; }
  // Values above 1 become 1, below 0 become 0.
  void SetEventMode(std::int32_t mode) noexcept;

  // The icon the shell receives (null when there is no picture); the shell
  // sees a new one at the next Show(true) or balloon.
  [[nodiscard]] HICON TrayImage() const noexcept { return image_.get(); }
  // An icon is used as it is; an empty one clears the picture.
  void SetTrayImage(UniqueIcon icon) noexcept;
  // Other pictures become a 32 x 32 icon; the source stays the caller's.
  // On failure the picture is left as it was and false is returned.
  [[nodiscard]] bool SetTrayImageFromBitmap(HBITMAP bitmap) noexcept;
  [[nodiscard]] bool SetTrayImageFromCursor(HCURSOR cursor) noexcept;
  [[nodiscard]] bool SetTrayImageFromMetafile(HENHMETAFILE metafile) noexcept;

  // The persisted properties as they stand, for the host to store.
  [[nodiscard]] TrayProperties Properties() const;
  // Takes stored properties back through the setters (each reports its key);
  // the shell sees them at the next Show(true) or balloon.
  void ApplyProperties(const TrayProperties& properties);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Tray_Notify(LPARAM lParam) noexcept;
  void Timer1_Timer() noexcept;
  void Shell_TaskbarCreated() noexcept;
  void UserControl_Resize() noexcept;
  [[nodiscard]] bool AcceptConvertedImage(UniqueIcon icon) noexcept;
  void RaiseEvent(const TrayEventCall& call) noexcept;
  void Report(std::string_view key) noexcept;
  void Send(DWORD message) noexcept { (void)shell_.NotifyIcon(message, record_); }

  TrayEvents* host_;
  TrayShell& shell_;
  NOTIFYICONDATAA record_{};
  bool visible_ = false;
  TrayClickFilter clicks_;
  std::int32_t eventMode_ = kDefaultTrayEventMode;
  std::string toolTip_{kDefaultTrayToolTip};
  std::string balloonTip_{kDefaultTrayBalloonTip};
  UniqueIcon image_;
  // Explorer broadcasts this when it (re)starts; every icon must be added again.
  UINT taskbarCreated_ = 0;
};

}  // namespace tarvix
