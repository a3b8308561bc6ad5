#include "memory/frmRamConfiguration.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "base/AppPaths.h"
#include "base/Elevation.h"
#include "base/Platform.h"
#include "memory/RamRules.h"
#include "memory/frmSystemStatus.h"
#include "registry/RegistryValues.h"
#include "registry/WriteTally.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

constexpr UINT_PTR kAlarmTimerId = 1;
constexpr UINT_PTR kSoundTimerId = 2;
constexpr UINT kSoundInterval = 65535;  // ms
constexpr std::string_view kLowMemorySound = "\\low-memory.wav";

// Child area 440 x 240 holds the title frame with three frames inside it and
// seven rows: the frames sit 2 pixels apart and 4 inside the title frame, their
// contents 8 pixels in and grid::kTightCaptionClearance under each caption,
// the Automatic Optimization rows 21 pixels apart. The two check boxes share
// one row, which the fallback fonts (DejaVu Sans where neither Segoe UI nor
// Tahoma is installed) fill from the On/Off frame's left to its right.
// Labels are centred on their field; the CPU gate's long caption takes two
// lines, broken before its note.
constexpr int kLabelX = 16;
constexpr int kLabelWidth = 344;
constexpr int kFieldX = 368;
constexpr int kFieldWidth = 56;
constexpr int kFieldHeight = grid::kRowHeight;
constexpr int kRowY[] = {78, 99, 120, 146, 173};
constexpr DWORD kCentred = SS_CENTERIMAGE;

constexpr ControlSpec kControls[] = {
    {ControlKind::Frame, IDC_frameRamConfiguration, "Ram Configuration", 4, 2, 432, 236},
    {ControlKind::Frame, IDC_frameOnOff, "On/Off settings", 8, 20, 424, 38},
    {ControlKind::CheckBox, IDC_chkSoundon, "Sound on", 16, 38, 76, 18},
    {ControlKind::CheckBox, IDC_chkAutomatic, "Optimize automatically when Alarm level is reached", 92, 38, 336, 18},
    {ControlKind::Frame, IDC_frameAutomatic, "Automatic Optimization", 8, 60, 424, 135},
    {ControlKind::Label, IDC_lblAlarm, "Alarm Level (in MB):", kLabelX, kRowY[0], kLabelWidth, kFieldHeight, kCentred},
    {ControlKind::Edit, IDC_txtAlarm, "", kFieldX, kRowY[0], kFieldWidth, kFieldHeight},
    {ControlKind::Label, IDC_lblFreeAlarm, "RAM to try and free when alarm level is reached:", kLabelX, kRowY[1],
     kLabelWidth, kFieldHeight, kCentred},
    {ControlKind::Edit, IDC_txtFreeAlarm, "", kFieldX, kRowY[1], kFieldWidth, kFieldHeight},
    {ControlKind::Label, IDC_lblTimeCheck, "Do check every (in Milliseconds)", kLabelX, kRowY[2], kLabelWidth,
     kFieldHeight, kCentred},
    {ControlKind::Edit, IDC_txtTimeCheck, "", kFieldX, kRowY[2], kFieldWidth, kFieldHeight, ES_NUMBER},
    {ControlKind::UpDown, IDC_updnTimeCheck, "", 0, 0, 16, kFieldHeight},
    {ControlKind::Label, IDC_lblRunOnly, "Run ONLY if CPU-Usage is below this (0=detectyion not in use)", kLabelX,
     kRowY[3] - 5, 250, 30},
    {ControlKind::Edit, IDC_txtRunOnly, "", kFieldX, kRowY[3], kFieldWidth, kFieldHeight, ES_NUMBER},
    {ControlKind::UpDown, IDC_UpDownRunOnly, "", 0, 0, 16, kFieldHeight},
    {ControlKind::Label, IDC_lblRetryOptimization, "Times to retry optimization", kLabelX, kRowY[4], kLabelWidth,
     kFieldHeight, kCentred},
    {ControlKind::Edit, IDC_txtRetryOptimization, "", kFieldX, kRowY[4], kFieldWidth, kFieldHeight, ES_NUMBER},
    {ControlKind::UpDown, IDC_UpDownRetryOptimization, "", 0, 0, 16, kFieldHeight},
    {ControlKind::Frame, IDC_frameToolTip, "System Tray Icon Tool Tip Text", 8, 197, 320, 38},
    {ControlKind::Option, IDC_optPer, "Percentage of Free RAM", 16, 215, 170, 18, WS_GROUP | WS_TABSTOP},
    {ControlKind::Option, IDC_optMB, "Free RAM in MB", 192, 215, 128, 18},
    {ControlKind::Button, IDC_cmdSave, "Save", 336, 207, grid::kButtonWidth, grid::kButtonHeight, WS_GROUP},
};

// Each number field with its arrows and their range.
struct ArrowField {
  int field;
  int arrows;
  ArrowRange range;
  int digits;  // the longest number the range holds
};
constexpr ArrowField kArrowFields[] = {
    {IDC_txtTimeCheck, IDC_updnTimeCheck, kTimeCheckRange, 5},
    {IDC_txtRunOnly, IDC_UpDownRunOnly, kRunOnlyRange, 4},
    {IDC_txtRetryOptimization, IDC_UpDownRetryOptimization, kRetryRange, 2},
};

[[nodiscard]] const ArrowField* ArrowFieldOf(int field) noexcept {
  for (const ArrowField& arrow : kArrowFields) {
    if (arrow.field == field) return &arrow;
  }
  return nullptr;
}

// What the user sees for each stored value, in the order of kRamSettings.
constexpr std::string_view kRamSettingLabels[] = {
    "Sound on",
    "Optimize automatically when Alarm level is reached",
    "Alarm Level (in MB)",
    "RAM to try and free when alarm level is reached",
    "Do check every (in Milliseconds)",
    "Percentage of Free RAM",
    "Free RAM in MB",
    "Run ONLY if CPU-Usage is below this",
    "Times to retry optimization",
};

[[nodiscard]] std::string RamSettingsKey() { return SettingsSubKey(kRamSettingsSuffix); }

[[nodiscard]] std::string ReadRamSetting(std::string_view name, std::string_view fallback) {
  return GetMachineSetting(RamSettingsKey(), name, fallback);
}

// Check boxes are stored as their state number; 1 is checked.
[[nodiscard]] bool CheckedText(std::string_view text) noexcept { return IntegerValue(text) == 1; }

}  // namespace

int frmRamConfiguration::StatusMeter::Query() noexcept {
  CpuUsageMeter* meter = status_.QueryObject();
  return meter != nullptr ? meter->Query() : -1;
}

// Until the window is first shown the stored settings stand for its
// controls, without looking for them on every check (under Wine each look
// is a round trip to the server).
HWND frmRamConfiguration::LiveControls::Control(int id) const noexcept {
  return form_.ControlsPending() ? nullptr : form_.Item(id);
}

bool frmRamConfiguration::LiveControls::SoundOn() const {
  const HWND box = Control(IDC_chkSoundon);
  return box != nullptr ? IsChecked(box) : CheckedText(form_.stored_[0]);
}

bool frmRamConfiguration::LiveControls::Automatic() const {
  const HWND box = Control(IDC_chkAutomatic);
  return box != nullptr ? IsChecked(box) : CheckedText(form_.stored_[1]);
}

std::int64_t frmRamConfiguration::LiveControls::FreeAmountMB() const {
  const HWND field = Control(IDC_txtFreeAlarm);
  if (field == nullptr) return form_.freeAmountMB_;
  return IntegerValue(WindowText(field)).value_or(form_.freeAmountMB_);
}

frmRamConfiguration::frmRamConfiguration(Shell& shell, frmSystemStatus& status)
    : ToolWindowBase(shell),
      status_(status),
      ownMemory_(std::make_unique<SystemMemory>()),
      memory_(ownMemory_.get()),
      meter_(status),
      check_(*memory_, meter_) {
  status_.SetRamConfiguration(this);
}

frmRamConfiguration::frmRamConfiguration(Shell& shell, frmSystemStatus& status, MemoryAccess& memory,
                                         LowMemoryCheck::Pump pump)
    : ToolWindowBase(shell),
      status_(status),
      memory_(&memory),
      meter_(status),
      check_(*memory_, meter_, std::move(pump)) {
  status_.SetRamConfiguration(this);
}

frmRamConfiguration::~frmRamConfiguration() {
  Unload();
  status_.ForgetRamConfiguration(this);
}

void frmRamConfiguration::CreateControlsOfWindow() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  CreateControls(hwnd(), kControls);
  for (const ArrowField& arrow : kArrowFields) {
    SendMessageA(Item(arrow.arrows), UDM_SETRANGE32, static_cast<WPARAM>(arrow.range.minimum), arrow.range.maximum);
    SendMessageA(Item(arrow.field), EM_LIMITTEXT, static_cast<WPARAM>(arrow.digits), 0);
  }
  // Room for a level such as 2147483647 or 12.5, and for 1000.
  SendMessageA(Item(IDC_txtAlarm), EM_LIMITTEXT, 12, 0);
  SendMessageA(Item(IDC_txtFreeAlarm), EM_LIMITTEXT, 8, 0);
}

// From start-up the check and the sound run on the stored settings; the
// controls wait for the window's first show.
void frmRamConfiguration::Form_LoadState() {
  ReadStoredSettings();
  TakeStoredValues();
  SetTimer(hwnd(), kSoundTimerId, kSoundInterval, nullptr);
}

void frmRamConfiguration::Form_LoadControls() {
  CreateControlsOfWindow();
  SkinSelf();
  // The fields' change rules start from the first working values, as in a
  // window loaded whole; the stored texts give back what start-up took.
  ResetWorkingValues();
  ShowStoredSettings();
}

void frmRamConfiguration::ResetWorkingValues() noexcept {
  alarmLevelMB_ = 0;
  freeAmountMB_ = 0;
  timeCheckArrow_ = kFirstTimeCheck;
  runOnlyArrow_ = kFirstRunOnly;
  retryArrow_ = kFirstRetry;
}

void frmRamConfiguration::Form_Unload() noexcept {
  KillTimer(hwnd(), kAlarmTimerId);
  KillTimer(hwnd(), kSoundTimerId);
}

void frmRamConfiguration::SetDirty(bool flag) noexcept {
  dirty_ = flag;
  EnableWindow(Item(IDC_cmdSave), flag ? TRUE : FALSE);
}

bool frmRamConfiguration::TrayTipInPercent() const noexcept {
  if (hwnd() == nullptr) return false;
  const HWND option = Item(IDC_optPer);
  return option != nullptr ? IsChecked(option) : StoredPercent();
}

// Selecting optMB clears optPer, as the option group does for a click.
bool frmRamConfiguration::StoredPercent() const noexcept {
  return IsTrueText(stored_[5]) && !IsTrueText(stored_[6]);
}

void frmRamConfiguration::SetFieldNumber(int id, std::int64_t value) noexcept {
  try {
    SetWindowTextTo(Item(id), std::to_string(value));
  } catch (...) {
  }
}

void frmRamConfiguration::LoadRamSettings() {
  ReadStoredSettings();
  if (Item(IDC_cmdSave) != nullptr) {
    ShowStoredSettings();
  } else {
    TakeStoredValues();
  }
}

void frmRamConfiguration::ReadStoredSettings() {
  static_assert(std::tuple_size_v<decltype(stored_)> == kRamSettings.size());
  for (std::size_t i = 0; i < kRamSettings.size(); ++i) {
    stored_[i] = ReadRamSetting(kRamSettings[i].name, kRamSettings[i].fallback);
  }
}

void frmRamConfiguration::ShowStoredSettings() {
  // Filling a field runs its change rule, which may set it back to the working value.
  SetChecked(Item(IDC_chkSoundon), CheckedText(stored_[0]));
  SetChecked(Item(IDC_chkAutomatic), CheckedText(stored_[1]));
  SetWindowTextTo(Item(IDC_txtAlarm), stored_[2]);
  SetWindowTextTo(Item(IDC_txtFreeAlarm), stored_[3]);
  SetWindowTextTo(Item(IDC_txtTimeCheck), stored_[4]);
  SetChecked(Item(IDC_optPer), StoredPercent());
  SetChecked(Item(IDC_optMB), IsTrueText(stored_[6]));
  SetWindowTextTo(Item(IDC_txtRunOnly), stored_[7]);
  SetWindowTextTo(Item(IDC_txtRetryOptimization), stored_[8]);
  TakeWorkingValues();
  SetDirty(false);
}

// The working values the fields would give once filled with the stored
// texts: a text their change rule refuses leaves the value as it was.
void frmRamConfiguration::TakeStoredValues() {
  if (AlarmLevelAccepted(stored_[2])) alarmLevelMB_ = IntegerValue(stored_[2]).value_or(alarmLevelMB_);
  if (FreeAmountAccepted(stored_[3])) freeAmountMB_ = IntegerValue(stored_[3]).value_or(freeAmountMB_);
  timeCheckArrow_ = ArrowValue(stored_[4], kTimeCheckRange, timeCheckArrow_);
  runOnlyArrow_ = ArrowValue(stored_[7], kRunOnlyRange, runOnlyArrow_);
  retryArrow_ = ArrowValue(stored_[8], kRetryRange, retryArrow_);
  PutWorkingValuesToWork();
  SetDirty(false);
}

void frmRamConfiguration::TakeWorkingValues() {
  alarmLevelMB_ = IntegerValue(WindowText(Item(IDC_txtAlarm))).value_or(alarmLevelMB_);
  freeAmountMB_ = IntegerValue(WindowText(Item(IDC_txtFreeAlarm))).value_or(freeAmountMB_);

  chkAutomatic_Click();
  chkSoundon_Click();

  // The fields show the numbers in effect: a stored 70000 shows as 65535.
  SetFieldNumber(IDC_txtTimeCheck, timeCheckArrow_);
  SetFieldNumber(IDC_txtRunOnly, runOnlyArrow_);
  SetFieldNumber(IDC_txtRetryOptimization, retryArrow_);
  PutWorkingValuesToWork();
}

void frmRamConfiguration::PutWorkingValuesToWork() noexcept {
  checkInterval_ = static_cast<UINT>(timeCheckArrow_);
  check_.SetWorkingValues({alarmLevelMB_, runOnlyArrow_, retryArrow_});
  StartCheckTimer();
}

void frmRamConfiguration::StartCheckTimer() noexcept {
  // An interval of 0 stops the checks until a non-zero one is loaded.
  if (checkInterval_ == 0) {
    KillTimer(hwnd(), kAlarmTimerId);
  } else {
    SetTimer(hwnd(), kAlarmTimerId, checkInterval_, nullptr);
  }
}

SettingsSaveTally frmRamConfiguration::SaveRamSettings() {
  const std::string key = RamSettingsKey();
  const auto checkState = [&](int id) { return std::string(IsChecked(Item(id)) ? "1" : "0"); };
  const RegScalar values[] = {
      checkState(IDC_chkSoundon),
      checkState(IDC_chkAutomatic),
      WindowText(Item(IDC_txtAlarm)),
      WindowText(Item(IDC_txtFreeAlarm)),
      WindowText(Item(IDC_txtTimeCheck)),
      IsChecked(Item(IDC_optPer)),
      IsChecked(Item(IDC_optMB)),
      WindowText(Item(IDC_txtRunOnly)),
      WindowText(Item(IDC_txtRetryOptimization)),
  };
  static_assert(std::size(values) == kRamSettings.size());
  static_assert(std::size(kRamSettingLabels) == kRamSettings.size());
  SettingsSaveTally tally;
  for (std::size_t i = 0; i < kRamSettings.size(); ++i) {
    tally.Count(SaveMachineSetting(key, kRamSettings[i].name, values[i]), kRamSettingLabels[i]);
  }
  SetDirty(!tally.AllStored());
  return tally;
}

void frmRamConfiguration::cmdSave_Click() {
  const SettingsSaveTally tally = SaveRamSettings();
  if (tally.AllStored()) {
    // Loading again puts the new interval, levels, gate and attempts to work at once.
    LoadRamSettings();
    return;
  }
  // Reloading would put the old values back on screen: the fields keep what
  // the user typed, work with it and stay to be saved.
  TakeWorkingValues();
  SetDirty(true);
  if (!tally.AllStored()) ShowRefusedForRights(UnsavedSettingsMessage(tally));
}

void frmRamConfiguration::chkAutomatic_Click() noexcept {
  SetDirty(true);
  const BOOL enable = IsChecked(Item(IDC_chkAutomatic)) ? TRUE : FALSE;
  for (const int id : {IDC_txtFreeAlarm, IDC_txtTimeCheck, IDC_updnTimeCheck}) EnableWindow(Item(id), enable);
}

void frmRamConfiguration::chkSoundon_Click() noexcept {
  SetDirty(true);
  EnableWindow(Item(IDC_txtAlarm), IsChecked(Item(IDC_chkSoundon)) ? TRUE : FALSE);
}

void frmRamConfiguration::txtAlarm_Change() noexcept {
  try {
    if (!AlarmLevelAccepted(WindowText(Item(IDC_txtAlarm)))) SetFieldNumber(IDC_txtAlarm, alarmLevelMB_);
  } catch (...) {
  }
  SetDirty(true);
}

void frmRamConfiguration::txtFreeAlarm_Change() noexcept {
  try {
    if (!FreeAmountAccepted(WindowText(Item(IDC_txtFreeAlarm)))) SetFieldNumber(IDC_txtFreeAlarm, freeAmountMB_);
  } catch (...) {
  }
  SetDirty(true);
}

void frmRamConfiguration::ArrowFieldChanged(int id) noexcept {
  const ArrowField* arrow = ArrowFieldOf(id);
  if (arrow == nullptr) return;
  int* value = id == IDC_txtTimeCheck ? &timeCheckArrow_ : id == IDC_txtRunOnly ? &runOnlyArrow_ : &retryArrow_;
  try {
    *value = ArrowValue(WindowText(Item(id)), arrow->range, *value);
  } catch (...) {
  }
  // Typing a number changes the arrows' value as clicking them does.
  SetDirty(true);
}

void frmRamConfiguration::tmrAlarm_Timer() noexcept {
  try {
    const CheckReport report = check_.Run(live_);
    // A tick skipped because a check was still running leaves the report of that check.
    if (report.started) lastCheck_ = report;
  } catch (...) {
  }
}

void frmRamConfiguration::tmrSoundPlayer_Timer() noexcept {
  if (!check_.LowMemorySoundDue()) return;
  try {
    CurrentPlatform().PlaySoundFile(AppFile(kLowMemorySound));
  } catch (...) {
  }
}

void frmRamConfiguration::OnChange(int id) {
  if (id == IDC_txtAlarm) txtAlarm_Change();
  if (id == IDC_txtFreeAlarm) txtFreeAlarm_Change();
  ArrowFieldChanged(id);
}

void frmRamConfiguration::OnClick(int id) {
  switch (id) {
    case IDC_cmdSave: cmdSave_Click(); break;
    case IDC_chkAutomatic: chkAutomatic_Click(); break;
    case IDC_chkSoundon: chkSoundon_Click(); break;
    case IDC_optPer:
    case IDC_optMB: SetDirty(true); break;
    default: break;
  }
}

void frmRamConfiguration::OnTimer(UINT_PTR id) {
  if (id == kAlarmTimerId) tmrAlarm_Timer();
  if (id == kSoundTimerId) tmrSoundPlayer_Timer();
}

// An arrow control was clicked; its field's EN_CHANGE follows.
void frmRamConfiguration::OnScroll(HWND /*arrows*/) { SetDirty(true); }

}  // namespace tarvix
