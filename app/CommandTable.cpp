#include "app/CommandTable.h"

namespace tarvix {

const CommandRow* FindCommand(std::string_view text) noexcept {
  for (const CommandRow& row : kCommandTable) {
    if (row.text == text) return &row;
  }
  return nullptr;
}

std::optional<std::string_view> AppletCommandLine(Applet applet, OsFamilyCode family) noexcept {
  switch (applet) {
    case Applet::InternetProperties: return "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0";
    case Applet::SystemProperties: return "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0";
    case Applet::ModemSettings: return "rundll32.exe shell32.dll,Control_RunDLL modem.cpl";
    case Applet::NetworkSettings:
      if (Is9xFamily(family)) return "rundll32.exe shell32.dll,Control_RunDLL netcpl.cpl";
      if (IsNtFamily(family)) return "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl";
      return std::nullopt;
  }
  return std::nullopt;
}

ButtonAction ActionOfButton(ButtonArray array, int index) noexcept {
  ButtonAction action;
  switch (array) {
    case ButtonArray::InternetBooster:
      if (index == 1) action.shows = ToolWindow::WizardMode;
      else if (index == 2) action.shows = ToolWindow::NormalMode;
      else if (index == 3) {
        action.shows = ToolWindow::BackUp;
        action.rebuildBackupList = true;
      } else action.notHandled = "Nothandeled";
      break;
    case ButtonArray::NetPinger:
      if (index == 1) action.shows = ToolWindow::NetPingerSettings;
      else action.notHandled = "Nothandeled";
      break;
    case ButtonArray::RamBooster:
      if (index == 1) action.shows = ToolWindow::SystemStatus;
      else if (index == 2) action.shows = ToolWindow::RamConfiguration;
      else action.notHandled = "Not handeled yet";
      break;
    case ButtonArray::SystemSettings:
      if (index >= 1 && index <= 4) action.applet = static_cast<Applet>(index - 1);
      else action.notHandled = "Not handeled";
      break;
  }
  return action;
}

}  // namespace tarvix
