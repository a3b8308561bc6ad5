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

std::string_view SchemeForControl(std::string_view className, std::uint32_t style) noexcept {
  auto equalNoCase = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
      const char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
      if (x != y) return false;
    }
    return true;
  };
  if (equalNoCase(className, "Static")) return "Label";
  if (!equalNoCase(className, "Button")) return {};
  // The button's kind lives in the low four bits of its style.
  switch (style & 0xFu) {
    case 0x0:  // BS_PUSHBUTTON
    case 0x1:  // BS_DEFPUSHBUTTON
      return "Button";
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      return "CheckBox";
    case 0x4:  // BS_RADIOBUTTON
    case 0x9:  // BS_AUTORADIOBUTTON
      return "RadioBox";
    case 0x7:  // BS_GROUPBOX
      return "Frame";
    default:
      return {};
  }
}

}  // namespace tarvix
