#include "pinger/frmNetPingerSettings.h"

#include <array>

#include "base/Elevation.h"
#include "base/Platform.h"
#include "registry/WriteTally.h"
#include "ui/MessagePump.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using Form = frmNetPingerSettings;

constexpr std::string_view kDescription =
    "The PING utility helps to keep you from getting your modem connection disconnected by your "
    "service provider. Most Internet Service Providers Disconnect users after a fixed period of "
    "modem activity";

// The window's controls in tab order. The two option buttons form one group,
// which "Play Sound at Ping" closes.
constexpr std::array<ControlSpec, 12> kControls = {{
    {ControlKind::Label, Form::IDC_DESCRIPTION, kDescription, 8, 8, 424, 60},
    {ControlKind::CheckBox, Form::IDC_DO_PINGING, "Enable Pinger", 8, 72, 200, 20},
    {ControlKind::Frame, Form::IDC_CONFIGURATION, "Configuration", 8, 100, 424, 100},
    {ControlKind::Option, Form::IDC_AUTO, "Automatic Mode", 20, 120, 160, 20, WS_GROUP | WS_TABSTOP},
    {ControlKind::Option, Form::IDC_MANUAL, "Manual Mode", 20, 148, 160, 20},
    {ControlKind::CheckBox, Form::IDC_SOUND, "Play &Sound at Ping", 20, 176, 160, 20, WS_GROUP},
    {ControlKind::Label, Form::IDC_HOST_LABEL, "Ping Host", 192, 120, 84, 20, SS_CENTERIMAGE},
    {ControlKind::Edit, Form::IDC_HOST, "", 284, 120, 136, 20},
    {ControlKind::Label, Form::IDC_INTERVAL_LABEL, "Ping Interval", 192, 148, 84, 20, SS_CENTERIMAGE},
    {ControlKind::ComboList, Form::IDC_INTERVAL, "", 284, 148, 136, 320},
    {ControlKind::Button, Form::IDC_PING_NOW, "Ping &Now", 232, 208, 96, 28},
    {ControlKind::Button, Form::IDC_SAVE, "Save", 336, 208, 96, 28},
}};

// The controls that the frame "Configuration" holds.
constexpr std::array kFrameControls = {Form::IDC_CONFIGURATION, Form::IDC_AUTO,       Form::IDC_MANUAL,
                                       Form::IDC_SOUND,         Form::IDC_HOST_LABEL, Form::IDC_INTERVAL_LABEL};
// Ping Now lets the window repaint and the click finish before the wait.
constexpr int kPingNowPasses = 6;

}  // namespace

frmNetPingerSettings::frmNetPingerSettings(Shell& shell)
    : ToolWindowBase(shell), schedule_([this] { return sound_; }) {}

// From start-up the stored settings are at work: the schedule has the host
// and interval, and the timer runs when pinging is on. The controls wait for
// the window's first show.
void frmNetPingerSettings::Form_LoadState() {
  stored_ = ReadPingerSettings();
  sound_ = stored_.sound;
  schedule_.Configure(TargetOf(stored_));
  EnablePingerTimer(stored_.doPinging);
}

void frmNetPingerSettings::Form_LoadControls() {
  CreateControls(hwnd(), kControls);
  SkinSelf();
  const HWND list = Item(IDC_INTERVAL);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (int index = 0; index < kPingIntervalEntries; ++index) {
    const std::string entry = PingIntervalEntryText(index);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  EnableWindow(Item(IDC_SAVE), FALSE);
  ShowStored();
}

void frmNetPingerSettings::Form_Unload() noexcept { EnablePingerTimer(false); }

void frmNetPingerSettings::LoadPingerSettings() {
  stored_ = ReadPingerSettings();
  ShowStored();
  schedule_.Configure(TargetOf(stored_));
}

void frmNetPingerSettings::ShowStored() {
  ShowSettings(stored_);
  ShowMode(stored_.automatic);  // the automatic mode shows its own host text and entry
  chkDoPinging_Click();
  SetDirty(false);
}

SettingsSaveTally frmNetPingerSettings::SavePingerSettings() {
  const PingerSettings settings = SettingsFromControls();
  SettingsSaveTally tally = WritePingerSettings(settings);
  // The schedule works with what is on screen, stored or not.
  schedule_.Configure(TargetOf(settings));
  EnablePingerTimer(settings.doPinging);
  return tally;
}

void frmNetPingerSettings::SetDirty(bool flag) noexcept {
  dirty_ = flag;
  EnableWindow(Item(IDC_SAVE), flag ? TRUE : FALSE);
}

void frmNetPingerSettings::OnTimer(UINT_PTR id) {
  if (id == kPingerTimerId) tmrPinger_Timer();
}

void frmNetPingerSettings::OnClick(int id) {
  switch (id) {
    case IDC_DO_PINGING: chkDoPinging_Click(); break;
    case IDC_AUTO: optAuto_Click(); break;
    case IDC_MANUAL: optManual_Click(); break;
    case IDC_SOUND: chkSound_Click(); break;
    case IDC_PING_NOW: cmdPingNow_Click(); break;
    case IDC_SAVE: cmdSave_Click(); break;
    default: break;
  }
}

void frmNetPingerSettings::OnChange(int id) {
  if (id == IDC_HOST) txtPingHost_Change();
  if (id == IDC_INTERVAL) cmbPingInterval_Click();
}

void frmNetPingerSettings::chkDoPinging_Click() {
  frameEnabled_ = IsChecked(Item(IDC_DO_PINGING));
  if (frameEnabled_) EnableWindow(Item(IDC_SAVE), TRUE);
  UpdateEnabledControls();
  SetDirty(true);
}

// A second click on the selected mode changes nothing, so that clicking
// "Manual Mode" again cannot wipe a host the user has typed.
void frmNetPingerSettings::optAuto_Click() {
  if (automatic_) return;
  SetDirty(true);
  ShowMode(true);
}

void frmNetPingerSettings::optManual_Click() {
  if (!automatic_) return;
  SetDirty(true);
  SetWindowTextTo(Item(IDC_HOST), kSuggestedPingHost);
  ShowMode(false);
}

void frmNetPingerSettings::chkSound_Click() {
  sound_ = IsChecked(Item(IDC_SOUND));
  SetDirty(true);
}

void frmNetPingerSettings::cmdPingNow_Click() {
  ProcessPendingMessages(kPingNowPasses);
  static_cast<void>(schedule_.PingNow());  // the sound is the only answer shown
}

void frmNetPingerSettings::cmdSave_Click() {
  const SettingsSaveTally tally = SavePingerSettings();
  SetDirty(!tally.AllStored());
  if (!tally.AllStored()) ShowRefusedForRights(UnsavedSettingsMessage(tally));
}

void frmNetPingerSettings::tmrPinger_Timer() {
  if (timerEnabled_) static_cast<void>(schedule_.Tick());
}

void frmNetPingerSettings::ShowMode(bool automatic) {
  automatic_ = automatic;
  SetChecked(Item(IDC_AUTO), automatic);
  SetChecked(Item(IDC_MANUAL), !automatic);
  if (automatic) {
    SetWindowTextTo(Item(IDC_HOST), kAutomaticHostText);
    SendMessageA(Item(IDC_INTERVAL), CB_SETCURSEL, 0, 0);
  }
  UpdateEnabledControls();
}

PingerSettings frmNetPingerSettings::SettingsFromControls() const {
  PingerSettings settings;
  settings.doPinging = IsChecked(Item(IDC_DO_PINGING));
  settings.automatic = automatic_;
  settings.host = WindowText(Item(IDC_HOST));
  const LRESULT selected = SendMessageA(Item(IDC_INTERVAL), CB_GETCURSEL, 0, 0);
  settings.intervalIndex = selected >= 0 && selected < kPingIntervalEntries ? static_cast<int>(selected) : 0;
  settings.sound = IsChecked(Item(IDC_SOUND));
  return settings;
}

void frmNetPingerSettings::ShowSettings(const PingerSettings& settings) {
  SetChecked(Item(IDC_DO_PINGING), settings.doPinging);
  SetWindowTextTo(Item(IDC_HOST), settings.host);
  SendMessageA(Item(IDC_INTERVAL), CB_SETCURSEL, static_cast<WPARAM>(settings.intervalIndex), 0);
  SetChecked(Item(IDC_SOUND), settings.sound);
  sound_ = settings.sound;
}

void frmNetPingerSettings::UpdateEnabledControls() noexcept {
  for (const int id : kFrameControls) EnableWindow(Item(id), frameEnabled_ ? TRUE : FALSE);
  const BOOL hostFields = frameEnabled_ && !automatic_ ? TRUE : FALSE;
  EnableWindow(Item(IDC_HOST), hostFields);
  EnableWindow(Item(IDC_INTERVAL), hostFields);
}

void frmNetPingerSettings::EnablePingerTimer(bool enabled) noexcept {
  // Switching on a running timer leaves it alone, so a save does not push the
  // next tick back.
  if (enabled == timerEnabled_) return;
  if (enabled) {
    timerEnabled_ = SetTimer(hwnd(), kPingerTimerId, kPingerTickMs, nullptr) != 0;
  } else {
    KillTimer(hwnd(), kPingerTimerId);
    timerEnabled_ = false;
  }
}

}  // namespace tarvix
