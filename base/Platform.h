#pragma once
// The few things a test must not really do: modal message boxes, restarting
// Windows, starting control-panel applets or documents, playing sounds,
// starting the program again as administrator and ending the process; and
// the one fact a test must be able to choose, whether the process runs
// elevated. Production code reaches them only through here. Texts, paths and
// command lines are UTF-8; the real platform makes the wide calls.
#include <windows.h>

#include <string>
#include <string_view>

namespace tarvix {

inline constexpr std::string_view kProgramTitle = "Tarvix";

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal message box; returns IDOK, IDYES, ... as MessageBox does.
  virtual int ShowMessage(HWND owner, std::string_view text, std::string_view title,
                          UINT flags) noexcept = 0;
  // ExitWindowsEx; non-zero when Windows accepted the request.
  virtual BOOL RequestExitWindows(UINT flags, DWORD reason) noexcept = 0;
  // Starts a command line (control-panel applets); returns a value above 31 on success.
  virtual UINT StartProgram(std::string_view commandLine, int show) noexcept = 0;
  // ShellExecute with the default verb: the help file, web and mail links.
  virtual bool OpenDocument(HWND owner, std::string_view target, std::string_view directory,
                            int show) noexcept = 0;
  // Plays a wave file asynchronously; a missing file plays nothing.
  virtual void PlaySoundFile(std::string_view path) noexcept = 0;
  // Ends the process at once.
  virtual void EndProcess(UINT exitCode) noexcept = 0;
  // Whether the process's token is elevated (NT 6.0 and later); false where
  // the query fails or Windows has no such notion.
  [[nodiscard]] virtual bool IsProcessElevated() noexcept = 0;
  // Starts `program` with `parameters` through the "runas" verb, so that
  // Windows asks for administrator rights. ERROR_SUCCESS once it started,
  // ERROR_CANCELLED when the user declined, otherwise the failure's code.
  [[nodiscard]] virtual DWORD StartElevated(HWND owner, std::string_view program,
                                            std::string_view parameters) noexcept = 0;
};

// The platform in use: the real one unless a test has installed another.
[[nodiscard]] Platform& CurrentPlatform() noexcept;

// Installs `platform` for the lifetime of the guard (tests).
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& platform) noexcept;
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

// The window that owns the program's message boxes when a caller names none
// (the main window while it exists), so that every box is modal to it and
// nothing behind it can start a second action meanwhile.
void SetMessageOwner(HWND owner) noexcept;
[[nodiscard]] HWND MessageOwner() noexcept;

// A message box titled "Tarvix"; the common shapes of the program's messages.
// It is owned by the top-level window of `owner`, or by MessageOwner().
int ShowProgramMessage(std::string_view text, UINT flags, HWND owner = nullptr) noexcept;
inline void ShowError(std::string_view text, HWND owner = nullptr) noexcept {
  ShowProgramMessage(text, MB_OK | MB_ICONERROR, owner);
}
[[nodiscard]] inline bool AskYesNo(std::string_view text, HWND owner = nullptr) noexcept {
  return ShowProgramMessage(text, MB_YESNO | MB_ICONWARNING, owner) == IDYES;
}

}  // namespace tarvix
