#pragma once
// The keep-alive pinger window: loaded hidden at start-up, so that its timer
// pings the saved host on schedule from start to exit (its controls are made
// when it is first shown); the user shows it to
// switch the pinger on, pick the automatic or a manual host and interval,
// and ping at once.
#include <windows.h>

#include "ui/ToolWindow.h"
#include "pinger/KeepAliveSchedule.h"
#include "pinger/PingerSettings.h"

namespace tarvix {

class frmNetPingerSettings final : public ToolWindowBase<frmNetPingerSettings> {
 public:
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 244;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "Ping Settings";

  // Control ids, in tab order.
  enum ControlId : int {
    IDC_DESCRIPTION = 1001,  // lblDescription
    IDC_DO_PINGING,          // chkDoPinging
    IDC_CONFIGURATION,       // frameConfigurations
    IDC_AUTO,                // optAuto
    IDC_MANUAL,              // optManual
    IDC_SOUND,               // chkSound
    IDC_HOST_LABEL,          // lblPingHost
    IDC_HOST,                // txtPingHost
    IDC_INTERVAL_LABEL,      // lblPingInterval
    IDC_INTERVAL,            // cmbPingInterval
    IDC_PING_NOW,            // cmdPingNow
    IDC_SAVE,                // cmdSave
  };
  static constexpr UINT_PTR kPingerTimerId = 1;  // tmrPinger

  explicit frmNetPingerSettings(Shell& shell);

  static const char* ClassName() noexcept { return "TarvixNetPingerSettings"; }

  // Reads the stored settings into the controls and the schedule; the
  // window is unchanged afterwards.
  void LoadPingerSettings();
  // Stores the controls, hands the host and interval to the schedule and
  // switches the timer with "Enable Pinger".
  // Stores the settings and puts them to work; what Windows refused is in the result.
  SettingsSaveTally SavePingerSettings();
  // The changed flag, shown by the Save button's enabled state.
  void SetDirty(bool flag) noexcept;

  [[nodiscard]] bool IsDirty() const noexcept { return dirty_; }
  [[nodiscard]] bool PingerTimerEnabled() const noexcept { return timerEnabled_; }
  [[nodiscard]] KeepAliveSchedule& Schedule() noexcept { return schedule_; }
  [[nodiscard]] HWND Control(ControlId id) const noexcept { return Item(id); }

  void Form_LoadState();
  void Form_LoadControls();
  void Form_Unload() noexcept;
  void OnClick(int id);
  void OnChange(int id);
  void OnTimer(UINT_PTR id);

 private:
  void chkDoPinging_Click();
  void optAuto_Click();
  void optManual_Click();
  void txtPingHost_Change() noexcept { SetDirty(true); }
  void cmbPingInterval_Click() noexcept { SetDirty(true); }
  void chkSound_Click();
  void cmdPingNow_Click();
  void cmdSave_Click();
  void tmrPinger_Timer();

  // Shows the automatic mode's fixed host text and first entry, or leaves
  // the manual host and entry to the user.
  void ShowMode(bool automatic);
  // The settings read last, on the controls; nothing is left to save.
  void ShowStored();
  [[nodiscard]] PingerSettings SettingsFromControls() const;
  void ShowSettings(const PingerSettings& settings);
  // The frame's controls follow the frame; the host and interval also
  // follow the mode.
  void UpdateEnabledControls() noexcept;
  void EnablePingerTimer(bool enabled) noexcept;

  KeepAliveSchedule schedule_;
  PingerSettings stored_;  // as read at the last load
  bool sound_ = false;     // "Play Sound at Ping" as shown, saved or not
  bool dirty_ = false;
  bool timerEnabled_ = false;
  bool frameEnabled_ = false;
  bool automatic_ = true;  // the selected mode, to tell a change from a second click
};

}  // namespace tarvix
