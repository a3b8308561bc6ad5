#include "app/frmMainSettings.h"

#include <array>

#include "base/AppPaths.h"
#include "registry/RegistryValues.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using W = frmMainSettings;

constexpr std::array kControls = {
    ControlSpec{ControlKind::Frame, W::IDC_frameMainSettings, "Main Settings", 8, 4, 424, 236},
    ControlSpec{ControlKind::Frame, W::IDC_frmStartup, "Windows Startup", 24, 32, 392, 110},
    ControlSpec{ControlKind::CheckBox, W::IDC_chkRunMainProgram, "Run Main Program when windows start up", 44, 62, 352,
                22, WS_GROUP},
    ControlSpec{ControlKind::CheckBox, W::IDC_chkRunProgramMini, "Run Program In system tray", 44, 96, 352, 22},
    ControlSpec{ControlKind::Label, 0,
                "Changes take effect when you save them; the system tray choice applies from the next start.", 24, 156,
                392, 36},
    ControlSpec{ControlKind::Button, W::IDC_cmdSave, "&Save", 316, 200, 100, 28},
};

constexpr std::array<std::pair<int, std::string_view>, 2> kStoredBoxes = {{
    {W::IDC_chkRunMainProgram, "chkRunMainProgram"},
    {W::IDC_chkRunProgramMini, "chkRunProgramMini"},
}};

}  // namespace

std::string RunEntryText(std::string_view executablePath) {
  std::string text = "\"";
  text += executablePath;
  text += '"';
  return text;
}

void frmMainSettings::Form_Load() {
  CreateControls(hwnd(), kControls);
  SkinSelf();
  LoadMainSettings();
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
  const std::string key = SettingsSubKey(kMainSettingsSuffix);
  for (const auto& [id, name] : kStoredBoxes) {
    // Stored as "0" or "1"; anything else reads as unchecked.
    SetChecked(Item(id), GetMachineSetting(key, name, "0") == "1");
  }
  // Refreshed at every start, so the entry follows a moved executable.
  if (IsChecked(Item(IDC_chkRunMainProgram))) WriteRunEntry(true);
}

void frmMainSettings::SaveMainSettings() {
  const std::string key = SettingsSubKey(kMainSettingsSuffix);
  for (const auto& [id, name] : kStoredBoxes) SaveMachineSetting(key, name, IsChecked(Item(id)) ? "1" : "0");
  WriteRunEntry(IsChecked(Item(IDC_chkRunMainProgram)));
}

void frmMainSettings::SetDirty(bool flag) noexcept {
  settingsChanged_ = flag;
  EnableWindow(Item(IDC_cmdSave), flag ? TRUE : FALSE);
}

bool frmMainSettings::RunProgramMini() const noexcept { return IsChecked(Item(IDC_chkRunProgramMini)); }

void frmMainSettings::cmdSave_Click() {
  SaveMainSettings();
  SetDirty(false);
}

void frmMainSettings::WriteRunEntry(bool present) {
  (void)SetRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValueName, REG_SZ, RunEntryText(ExecutablePath()), !present);
}

}  // namespace tarvix
