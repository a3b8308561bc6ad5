#pragma once
// The program settings window: start with Windows, and start hidden in the
// notification area. The start-with-Windows choice is the per-user Run
// entry "Tarvix".
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "registry/WriteTally.h"
#include "ui/ToolWindow.h"

namespace tarvix {

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = "Tarvix";

// The Run entry's text: the executable's path in double quotes, so that a
// path with blanks cannot start another program.
[[nodiscard]] std::string RunEntryText(std::string_view executablePath);

class frmMainSettings final : public ToolWindowBase<frmMainSettings> {
 public:
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 245;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "Main Settings";
  enum : int { IDC_frameMainSettings = 100, IDC_frmStartup, IDC_chkRunMainProgram, IDC_chkRunProgramMini, IDC_cmdSave };

  explicit frmMainSettings(Shell& shell) noexcept : ToolWindowBase(shell) {}
  ~frmMainSettings() override { Unload(); }

  static const char* ClassName() noexcept { return "TarvixMainSettings"; }

  void Form_LoadState();
  void Form_LoadControls();
  void OnClick(int id);

  // Reads the stored choices and ticks the boxes by them.
  void LoadMainSettings();
  // Stores both choices and the Run entry; what Windows refused is in the result.
  SettingsSaveTally SaveMainSettings();
  void SetDirty(bool flag) noexcept;
  [[nodiscard]] bool SettingsChanged() const noexcept { return settingsChanged_; }

  // "Run Program In system tray" as it stands on screen, or as stored while
  // the window has not been shown (the main window reads it right after
  // loading this window).
  [[nodiscard]] bool RunProgramMini() const noexcept;

 private:
  void cmdSave_Click();
  [[nodiscard]] LONG WriteRunEntry(bool present);
  void ReadStoredSettings();
  void ShowStoredSettings() noexcept;

  bool settingsChanged_ = false;
  // As stored: "Run Main Program when windows start up", "Run Program In system tray".
  std::array<bool, 2> stored_{};
};

}  // namespace tarvix
