#include "app/frmMainSettings.h"

#include <array>

#include "base/AppPaths.h"
#include "base/Elevation.h"
#include "base/Platform.h"
#include "registry/RegistryValues.h"
#include "registry/WriteTally.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using W = frmMainSettings;

// The title frame 8 pixels from the edges; inside it the startup frame and
// the note 12 pixels in, Save at the bottom right (child area 440 x 245).
constexpr std::array kControls = {
    ControlSpec{ControlKind::Frame, W::IDC_frameMainSettings, "Main Settings", 8, 8, 424, 229},
    ControlSpec{ControlKind::Frame, W::IDC_frmStartup, "Windows Startup", 20, 28, 400, 84},
    ControlSpec{ControlKind::CheckBox, W::IDC_chkRunMainProgram, "Run Main Program when windows start up", 32, 48, 376,
                20, WS_GROUP},
    ControlSpec{ControlKind::CheckBox, W::IDC_chkRunProgramMini, "Run Program In system tray", 32, 76, 376, 20},
    ControlSpec{ControlKind::Label, 0,
                "Changes take effect when you save them; the system tray choice applies from the next start.", 20, 124,
                400, 36},
    ControlSpec{ControlKind::Button, W::IDC_cmdSave, "&Save", 324, 201, 96, 28},
};

struct StoredBox {
  int id;
  std::string_view name;   // the registry value
  std::string_view label;  // what the user sees
};
// In the order of frmMainSettings::stored_.
constexpr std::array<StoredBox, 2> kStoredBoxes = {{
    {W::IDC_chkRunMainProgram, "chkRunMainProgram", "Run Main Program when windows start up"},
    {W::IDC_chkRunProgramMini, "chkRunProgramMini", "Run Program In system tray"},
}};

}  // namespace

std::string RunEntryText(std::string_view executablePath) {
  std::string text = "\"";
  text += executablePath;
  text += '"';
  return text;
}

// From start-up: the stored choices, which the main window asks at once,
// and the Run entry they keep current.
void frmMainSettings::Form_LoadState() { ReadStoredSettings(); }

// On the first show: the boxes, with the stored choices.
void frmMainSettings::Form_LoadControls() {
  CreateControls(hwnd(), kControls);
  SkinSelf();
  ShowStoredSettings();
  SetDirty(false);
}

void frmMainSettings::OnClick(int id) {
  switch (id) {
    case IDC_chkRunMainProgram:
    case IDC_chkRunProgramMini:
      SetDirty(true);
      break;
    case IDC_cmdSave:
      cmdSave_Click();
      break;
    default:
      break;
  }
}

void frmMainSettings::LoadMainSettings() {
  ReadStoredSettings();
  ShowStoredSettings();
}

void frmMainSettings::ReadStoredSettings() {
  const std::string key = SettingsSubKey(kMainSettingsSuffix);
  for (std::size_t i = 0; i < kStoredBoxes.size(); ++i) {
    // Stored as "0" or "1"; anything else reads as unchecked.
    stored_[i] = GetMachineSetting(key, kStoredBoxes[i].name, "0") == "1";
  }
  // Refreshed at every start, so the entry follows a moved executable.
  if (stored_[0]) (void)WriteRunEntry(true);
}

void frmMainSettings::ShowStoredSettings() noexcept {
  for (std::size_t i = 0; i < kStoredBoxes.size(); ++i) SetChecked(Item(kStoredBoxes[i].id), stored_[i]);
}

SettingsSaveTally frmMainSettings::SaveMainSettings() {
  SettingsSaveTally tally;
  const std::string key = SettingsSubKey(kMainSettingsSuffix);
  bool runChoiceStored = true;
  for (const StoredBox& box : kStoredBoxes) {
    const LONG result = SaveMachineSetting(key, box.name, IsChecked(Item(box.id)) ? "1" : "0");
    tally.Count(result, box.label);
    if (box.id == IDC_chkRunMainProgram) runChoiceStored = result == ERROR_SUCCESS;
  }
  // The entry follows the stored choice only: an entry the next start would
  // show as switched off is never left behind.
  if (runChoiceStored) {
    tally.Count(WriteRunEntry(IsChecked(Item(IDC_chkRunMainProgram))), "Start with Windows (the Run entry)");
  }
  return tally;
}

void frmMainSettings::SetDirty(bool flag) noexcept {
  settingsChanged_ = flag;
  EnableWindow(Item(IDC_cmdSave), flag ? TRUE : FALSE);
}

bool frmMainSettings::RunProgramMini() const noexcept {
  const HWND box = Item(IDC_chkRunProgramMini);
  return box != nullptr ? IsChecked(box) : stored_[1];
}

void frmMainSettings::cmdSave_Click() {
  const SettingsSaveTally tally = SaveMainSettings();
  // What was not stored stays on screen, still to be saved.
  SetDirty(!tally.AllStored());
  if (!tally.AllStored()) ShowRefusedForRights(UnsavedSettingsMessage(tally));
}

LONG frmMainSettings::WriteRunEntry(bool present) {
  // Written wide: Windows starts the program from the real path, whatever
  // characters its folder has.
  const LONG result =
      SetWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName, RunEntryText(ExecutablePath()), !present);
  return !present && result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

}  // namespace tarvix
