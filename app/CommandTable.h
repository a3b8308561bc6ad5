#pragma once
// The main window's commands as data: the movie's command strings, the tool
// windows they open with the child-area size, the main-window button arrays
// and the control-panel command lines. Pure, so every row is tested.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/OsVersion.h"

namespace tarvix {

// The tool windows, in the order in which they are hidden as a group.
enum class ToolWindow { WizardMode, NormalMode, BackUp, NetPingerSettings, RamConfiguration, MainSettings, SystemStatus };
inline constexpr std::size_t kToolWindowCount = 7;

enum class Command {
  Minimize, About, CloseAbout, Main, Close, Tray, Home, Settings, Help, Drag, Hide, WizardMode,
  NormalMode, BackupManager, PingSetting, SystemStatus, RamConfig, InternetProperties, SystemSetting,
  ModemSetting, NetworkSetting, Restart, SysSettingClicked
};

enum class Applet { InternetProperties, SystemProperties, ModemSettings, NetworkSettings };

// A row either opens a tool window, starts an applet, or is one of the main
// window's own commands (neither set).
struct CommandRow {
  std::string_view text;               // exactly as the movie sends it
  Command command;
  std::optional<ToolWindow> shows;     // the tool window it opens in the child area
  int childHeight;                     // the child area's height after it (width is 440)
  std::optional<Applet> applet = {};   // the control-panel applet it starts
};

inline constexpr int kChildAreaWidth = 440;

inline constexpr std::array<CommandRow, 23> kCommandTable = {{
    {"IDC_FS_minimize", Command::Minimize, std::nullopt, 0},
    {"IDC_FS_about", Command::About, std::nullopt, 0},
    {"IDC_FS_closeAbout", Command::CloseAbout, std::nullopt, 0},
    {"IDC_FS_main", Command::Main, std::nullopt, 0},
    {"IDC_FS_close", Command::Close, std::nullopt, 0},
    {"IDC_FS_tray", Command::Tray, std::nullopt, 0},
    {"IDC_FS_home", Command::Home, std::nullopt, 0},
    {"IDC_FS_settings", Command::Settings, ToolWindow::MainSettings, 245},
    {"IDC_FS_help", Command::Help, std::nullopt, 0},
    {"Drag", Command::Drag, std::nullopt, 0},
    {"IDC_FS_hide", Command::Hide, std::nullopt, 0},
    {"IDC_FS_wizardMode", Command::WizardMode, ToolWindow::WizardMode, 250},
    {"IDC_FS_normalMode", Command::NormalMode, ToolWindow::NormalMode, 252},
    {"IDC_FS_backupManger", Command::BackupManager, ToolWindow::BackUp, 246},
    {"IDC_FS_pingSetting", Command::PingSetting, ToolWindow::NetPingerSettings, 244},
    {"IDC_FS_systemSatus", Command::SystemStatus, ToolWindow::SystemStatus, 255},
    {"IDC_FS_ramConfig", Command::RamConfig, ToolWindow::RamConfiguration, 240},
    {"IDC_FS_internetProperties", Command::InternetProperties, std::nullopt, 0, Applet::InternetProperties},
    {"IDC_FS_systemSetting", Command::SystemSetting, std::nullopt, 0, Applet::SystemProperties},
    {"IDC_FS_modemSetting", Command::ModemSetting, std::nullopt, 0, Applet::ModemSettings},
    {"IDC_FS_networkSetting", Command::NetworkSetting, std::nullopt, 0, Applet::NetworkSettings},
    {"IDC_FS_restart", Command::Restart, std::nullopt, 0},
    {"IDC_FS_sysSettingClicked", Command::SysSettingClicked, std::nullopt, 0},
}};

// The first row whose text matches exactly, letter case included.
[[nodiscard]] const CommandRow* FindCommand(std::string_view text) noexcept;

// ---- Control-panel applets ----------------------------------------------------

// The command line that opens an applet on `family`; nullopt when the family
// has none (the network applet outside codes 1 to 8).
[[nodiscard]] std::optional<std::string_view> AppletCommandLine(Applet applet, OsFamilyCode family) noexcept;

// ---- The main window's button arrays --------------------------------------------

enum class ButtonArray { InternetBooster, NetPinger, RamBooster, SystemSettings };

struct ButtonAction {
  std::optional<ToolWindow> shows;  // a tool window to show in the child area
  std::optional<Applet> applet;     // or an applet to start
  bool rebuildBackupList = false;   // the backup manager's list is rebuilt first
  std::string_view notHandled;      // or this plain message
};

[[nodiscard]] ButtonAction ActionOfButton(ButtonArray array, int index) noexcept;

// ---- Unload orders ---------------------------------------------------------------

// The main window's own unload handler.
inline constexpr std::array<ToolWindow, kToolWindowCount> kUnloadOrder = {
    ToolWindow::WizardMode, ToolWindow::NormalMode, ToolWindow::BackUp, ToolWindow::NetPingerSettings,
    ToolWindow::RamConfiguration, ToolWindow::MainSettings, ToolWindow::SystemStatus};
// "IDC_FS_close" takes the status window before the RAM configuration.
inline constexpr std::array<ToolWindow, kToolWindowCount> kCloseUnloadOrder = {
    ToolWindow::WizardMode, ToolWindow::NormalMode, ToolWindow::BackUp, ToolWindow::NetPingerSettings,
    ToolWindow::SystemStatus, ToolWindow::RamConfiguration, ToolWindow::MainSettings};
// "IDC_FS_restart" takes them in the unload handler's order.
inline constexpr std::array<ToolWindow, kToolWindowCount> kRestartUnloadOrder = kUnloadOrder;
// Loaded hidden at start-up; the advanced editor is loaded only when opened.
inline constexpr std::array<ToolWindow, 6> kStartupLoadOrder = {
    ToolWindow::WizardMode, ToolWindow::BackUp, ToolWindow::NetPingerSettings,
    ToolWindow::SystemStatus, ToolWindow::RamConfiguration, ToolWindow::MainSettings};

// ---- Help pages ----------------------------------------------------------------

// The help file's page for a tool window (F1), and for the home screen.
inline constexpr std::string_view kHomeHelpPage = "index.htm";
[[nodiscard]] constexpr std::string_view HelpPageOf(ToolWindow window) noexcept {
  switch (window) {
    case ToolWindow::WizardMode: return "wizard.htm";
    case ToolWindow::NormalMode: return "advanced.htm";
    case ToolWindow::BackUp: return "backups.htm";
    case ToolWindow::NetPingerSettings: return "pinger.htm";
    case ToolWindow::RamConfiguration: return "ramconfig.htm";
    case ToolWindow::MainSettings: return "settings.htm";
    case ToolWindow::SystemStatus: return "status.htm";
  }
  return kHomeHelpPage;
}

// ---- Start-hidden notice ----------------------------------------------------------

// The NT family shows the icon's balloon; 95/98/ME and unrecognised versions
// show the auto-closing message box.
[[nodiscard]] constexpr bool UsesTrayBalloon(OsFamilyCode family) noexcept { return family > 4; }

}  // namespace tarvix
