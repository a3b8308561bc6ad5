#pragma once
// The main window: the movie that is the program's face, the child area in
// which one tool window at a time is shown, the skin, the splash and the
// notification icon; it turns the movie's command strings into actions.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/CommandTable.h"
#include "base/Elevation.h"
#include "app/movie/Movie.h"
#include "app/skin/Skin.h"
#include "app/Splash.h"
#include "app/StartupTrace.h"
#include "ui/ToolWindow.h"
#include "app/ToolWindows.h"
#include "ui/BaseWindow.h"
#include "ui/Tray.h"

namespace tarvix {

// Where the child area sits before the first tool window is shown (the tool
// screen places it from then on), and the window's size: 96-DPI pixels,
// scaled to the window's DPI.
inline constexpr int kChildAreaLeft = 142;
inline constexpr int kChildAreaTop = 92;
inline constexpr int kMainWidth = 724;
inline constexpr int kMainHeight = 540;
inline constexpr const char* kMainClassName = "TarvixMain";
// Posted to the main window once the elevated instance has started: this
// one then ends as the movie's Close ends it.
inline constexpr UINT WM_APP_EXIT_FOR_ADMINISTRATOR = WM_APP + 30;
// The About screen's line on NT 6.0 and later.
inline constexpr std::string_view kRunsElevatedText = "Tarvix runs with administrator rights.";
inline constexpr std::string_view kRunsStandardText = "Tarvix runs with standard user rights, not as administrator.";
// The help file beside the executable.
inline constexpr std::string_view kHelpFileName = "\\TarvixHelp.chm";

// The version as the movie shows it: major.minor.0.revision, each a plain
// decimal (1, 2 and 7 give "1.2.0.7").
[[nodiscard]] std::string VersionText(unsigned major, unsigned minor, unsigned revision);

// Window classes containing this (in lower case) are a Flash player's window,
// whose right-button presses are swallowed.
inline constexpr std::string_view kFlashPlayerClass = "macromediaflashplayer";
// The first child of `parent` whose class contains kFlashPlayerClass; null
// when the last child has been examined without a match.
[[nodiscard]] HWND FindFlashPlayerWindow(HWND parent) noexcept;
// Installs (true) or removes (false) the hook that turns WM_RBUTTONDOWN into WM_NULL.
void HookFlashWindow(HWND window, bool install) noexcept;

class frmMain final : public BaseWindow<frmMain>, public Shell, public TrayEvents, public AdministratorRestart {
 public:
  explicit frmMain(TrayShell& trayShell = SystemTrayShell());
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  static const char* ClassName() noexcept { return kMainClassName; }

  // Creates the window and runs the start-up steps (the single-instance
  // check is the caller's); false when the window cannot be made.
  [[nodiscard]] bool Form_Load();
  // The unload handler: the tool windows in order, then the icon.
  void Form_Unload() noexcept;

  // Shows the main window with `which` in the child area, as the movie's
  // command for it does: the tool window an instance restarted as
  // administrator was asked to open.
  void OpenHandedOverTool(ToolWindow which);

  // AdministratorRestart: starts Tarvix elevated with the hand-over (this
  // process and the tool window in the child area); once it started, this
  // instance ends through the Close path as soon as the running handler
  // returns. A declined prompt changes nothing; another failure is told.
  void RestartAsAdministrator() noexcept override;

  // The movie's FSCommand event: the first exact match of the command table.
  void FSCommand(std::string_view command, std::string_view arguments);
  void ShowChildWindow(ToolWindow which);
  void ShowMainWindow() noexcept;
  void DragMainWindow() noexcept;
  // Skins each control of `form` by its kind; a failure on one control moves on.
  void applyAllControls(HWND form) noexcept;
  // The main window's button arrays; `index` is the element clicked.
  void ButtonArray_Click(ButtonArray array, int index);

  // Shell
  [[nodiscard]] HWND ChildFrame() const noexcept override { return frame_.get(); }
  void SkinToolWindow(HWND form) noexcept override;
  void ReturnToMovieHome() noexcept override;
  void SetTrayToolTip(std::string_view text) noexcept override;

  // TrayEvents
  void LeftClick() override { ShowMainWindow(); }
  void MouseClick(std::int32_t) override { ShowMainWindow(); }
  void RightClick() override {}

  // F1: the help page of the tool window in front, or of the home screen.
  void OpenHelpPage();

  // Tab, Enter, Escape and F1 for the movie and the tool windows; true when the
  // message was used.
  [[nodiscard]] bool PreTranslateMessage(MSG& message) noexcept;

  [[nodiscard]] Movie& flash() noexcept { return flash_; }
  [[nodiscard]] HWND framChildWindow() const noexcept { return frame_.get(); }
  [[nodiscard]] Tray& Tray1() noexcept { return *tray_; }
  [[nodiscard]] ToolWindowSet& ToolWindows() noexcept { return *tools_; }
  [[nodiscard]] Skin& skin() noexcept { return skin_; }
  // True while the movie covers the child area.
  [[nodiscard]] bool MovieInFront() const noexcept { return movieInFront_; }
  // The DPI the window and everything on it is laid out for.
  [[nodiscard]] int Dpi() const noexcept { return dpi_; }
  // The steps of the last Form_Load with their milliseconds.
  [[nodiscard]] const StartupTrace& LoadTrace() const noexcept { return loadTrace_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  [[nodiscard]] bool CreateMainWindow();
  void CreateMovie();
  void CreateChildArea();
  void SetWindowIcons() noexcept;
  void Form_DpiChanged(int dpi, const RECT& suggested);
  // A 96-DPI length at the window's DPI.
  [[nodiscard]] int Px(int length) const noexcept;
  void BringMovieToFront() noexcept;
  void BringChildAreaToFront() noexcept;
  void HideToolWindows() noexcept;
  void UnloadToolWindows(const std::array<ToolWindow, kToolWindowCount>& order) noexcept;
  void ShowStillRunningNotice();
  // The Close command's way out: the tool windows in its order, the icon, the process.
  void ExitProgram() noexcept;
  void OpenTool(ToolWindow which, int childHeight);
  void RunMainCommand(Command command);
  void ShowCurrentToolAgain() noexcept;
  void ShowChildWindowSized(ToolWindow which, int height);
  // The movie shows the tool screen for `which`; the child area takes the
  // place and size that screen gives it.
  void ShowToolScreen(ToolWindow which);
  void PlaceChildArea(const Box& box) noexcept;
  // After a restart that Windows refused or another program cancelled: the
  // icon and the tool windows come back, as at start.
  void RecoverFromFailedRestart() noexcept;

  Skin skin_;
  Movie flash_;
  UniqueWindow frame_;
  std::unique_ptr<Tray> tray_;
  std::unique_ptr<ToolWindowSet> tools_;
  Splash splash_;
  UniqueIcon bigIcon_, smallIcon_;
  std::optional<ToolWindow> current_;  // the last window placed in the child area
  int childHeight_ = 250;              // the child area's height at 96 DPI
  bool movieInFront_ = true;
  bool unloaded_ = false;
  bool restartPending_ = false;  // asked Windows to restart; not yet ended
  StartupTrace loadTrace_;
  int dpi_ = 96;
};

}  // namespace tarvix
