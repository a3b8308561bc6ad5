#include "app/frmMain.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "base/AppPaths.h"
#include "base/OsDetect.h"
#include "base/Platform.h"
#include "base/Text.h"
#include "app/skin/SkinFile.h"
#include "app/SystemCommands.h"
#include "app/Version.h"
#include "app/frmMainSettings.h"
#include "app/HandOver.h"
#include "optimizer/NetworkParameters.h"
#include "ui/BalloonDraw.h"
#include "ui/Dpi.h"
#include "ui/TrayResources.h"
#include "ui/msgFrm.h"

namespace tarvix {
namespace {

// The tool windows' form names in ToolWindow order, for the load trace.
constexpr std::array<std::string_view, kToolWindowCount> kToolWindowNames = {
    "frmWizardMode", "frmNormalMode", "frmBackUp", "frmNetPingerSettings",
    "frmRamConfiguration", "frmMainSettings", "frmSystemStatus"};

constexpr const char* kChildAreaClass = "TarvixChildArea";
constexpr std::string_view kStillRunningText = "The Program Still Running Here";
constexpr std::string_view kStillRunningCaption = "Program notification";

// The window procedure the Flash player had before the hook; 0 until hooked.
WNDPROC previousFlashProc = nullptr;

LRESULT CALLBACK FlashWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  // The player never sees a right-button press, so it never opens its own menu.
  if (message == WM_RBUTTONDOWN) message = WM_NULL;
  return CallWindowProcA(previousFlashProc, window, message, wParam, lParam);
}

bool RegisterChildAreaClass() noexcept {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, kChildAreaClass, &existing)) return true;
  WNDCLASSEXA area{};
  area.cbSize = sizeof area;
  area.lpfnWndProc = DefWindowProcA;
  area.hInstance = instance;
  area.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  area.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  area.lpszClassName = kChildAreaClass;
  return RegisterClassExA(&area) != 0;
}

UniqueIcon ProgramIcon(int size) noexcept {
  return LoadIconAtSize(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY), size);
}

// The work area of the primary monitor, where the window first appears.
RECT PrimaryWorkArea() noexcept {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  (void)SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// `width` x `height` centred in `area`, never above or left of it.
RECT CentredIn(const RECT& area, int width, int height) noexcept {
  const int x = std::max(area.left, area.left + (area.right - area.left - width) / 2);
  const int y = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
  return {x, y, x + width, y + height};
}

}  // namespace

HWND FindFlashPlayerWindow(HWND parent) noexcept {
  char className[250];
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const int length = GetClassNameA(child, className, static_cast<int>(sizeof className));
    const std::string_view name(className, static_cast<std::size_t>(length > 0 ? length : 0));
    if (text::ContainsNoCase(name, kFlashPlayerClass)) return child;
  }
  return nullptr;
}

std::string VersionText(unsigned major, unsigned minor, unsigned revision) {
  return std::to_string(major) + "." + std::to_string(minor) + ".0." + std::to_string(revision);
}

void HookFlashWindow(HWND window, bool install) noexcept {
  if (install) {
    previousFlashProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FlashWindowProc)));
  } else if (previousFlashProc != nullptr) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousFlashProc));
  }
}

frmMain::frmMain(TrayShell& trayShell) : tray_(std::make_unique<Tray>(this, trayShell)) {}

frmMain::~frmMain() {
  Form_Unload();
  tools_.reset();
  if (MessageOwner() == hwnd()) SetMessageOwner(nullptr);
  SetAdministratorRestart(nullptr);
  DestroyOwnWindow();
}

bool frmMain::Form_Load() {
  loadTrace_.Start();
  (void)splash_.Show();
  loadTrace_.Mark("splash shown");
  if (!CreateMainWindow()) return false;
  loadTrace_.Mark("main window and icons");
  CreateMovie();
  loadTrace_.Mark("child area and movie window");
  (void)flash_.LoadMovie(0, AppFile(kMovieFileName));
  loadTrace_.Mark("movie file");

  if (skin_.Load(AppFile(kSkinFileName))) (void)skin_.Apply(frame_.get(), "NoFrame");
  (void)flash_.SetVariable(kVersionVariable,
                           VersionText(TARVIX_VERSION_MAJOR, TARVIX_VERSION_MINOR, TARVIX_VERSION_REVISION));
  if (WindowsKnowsElevation()) {
    (void)flash_.SetVariable(kRightsVariable, RunsElevated() ? kRunsElevatedText : kRunsStandardText);
  }
  loadTrace_.Mark("skin file and version");

  DetectOperatingSystem();
  LoadWizardPresets();
  tray_->Show(true);
  loadTrace_.Mark("Windows family, presets, icon");

  tools_ = std::make_unique<ToolWindowSet>(*this);
  for (const ToolWindow which : kStartupLoadOrder) {
    if (IToolWindow* window = tools_->Get(which)) (void)window->LoadAtStartup();
    loadTrace_.Mark(kToolWindowNames[static_cast<std::size_t>(which)]);
  }

  if (tools_->MainSettings().RunProgramMini()) {
    ShowWindow(hwnd(), SW_HIDE);
    ShowStillRunningNotice();
  } else {
    ShowMainWindow();
  }
  loadTrace_.Mark("main window shown or notice");
  splash_.Close();

  if (const HWND player = FindFlashPlayerWindow(hwnd())) HookFlashWindow(player, true);
  loadTrace_.Mark("splash closed, hook");
  return true;
}

// The centred main window with its title, icons and the notification icon's picture.
bool frmMain::CreateMainWindow() {
  const RECT area = PrimaryWorkArea();
  dpi_ = MonitorDpiAt({(area.left + area.right) / 2, (area.top + area.bottom) / 2});
  const RECT place = CentredIn(area, ScaleForDpi(kMainWidth, dpi_), ScaleForDpi(kMainHeight, dpi_));
  if (!CreateWindowOf(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                      place.left, place.top, place.right - place.left, place.bottom - place.top, nullptr)) {
    return false;
  }
  // Everything on the window is made for this DPI from here on; Windows 8.1
  // knows monitor DPIs but cannot say a window's.
  SetWindowDpi(hwnd(), dpi_);
  SetWindowTextA(hwnd(), "Tarvix");
  SetMessageOwner(hwnd());
  SetAdministratorRestart(this);
  SetWindowIcons();
  // Only the icon is set: the tip keeps the control's default, "Program
  // notification", which titles the start-up balloon; the status window's
  // memory tick writes the tip from then on.
  // The notification area draws at the system DPI.
  tray_->SetTrayImage(ProgramIcon(SystemMetricForDpi(SM_CXSMICON, SystemDpi())));
  return true;
}

// The caption and task-bar icons at the sizes of the window's DPI.
void frmMain::SetWindowIcons() noexcept {
  UniqueIcon big = ProgramIcon(SystemMetricForDpi(SM_CXICON, dpi_));
  UniqueIcon small = ProgramIcon(SystemMetricForDpi(SM_CXSMICON, dpi_));
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  // The old icons go only once the window no longer shows them.
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

// The window is on a monitor of another DPI now (or that monitor's scale
// changed): it takes the place Windows suggests and lays out everything on
// it again for `dpi`. The movie and the tool windows follow it; the skin's
// fonts too.
void frmMain::Form_DpiChanged(int dpi, const RECT& suggested) {
  const int old = dpi_;
  if (dpi >= 48 && dpi != old) {
    dpi_ = dpi;
    SetWindowDpi(hwnd(), dpi);
  }
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (dpi_ == old) return;
  RescaleChildren(hwnd(), old, dpi_);
  // The tool screen is laid out anew for the DPI: the child area goes where it now says.
  if (flash_.Screen() == MovieScreen::Tool) PlaceChildArea(flash_.ChildAreaBox());
  skin_.FollowDpi();
  SetWindowIcons();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// The movie covers the whole face; the child area lies beneath it until a
// tool window is shown.
void frmMain::CreateMovie() {
  CreateChildArea();
  flash_.SetCommandHandler([this](std::string_view command, std::string_view arguments) { FSCommand(command, arguments); });
  RECT client{};
  GetClientRect(hwnd(), &client);
  (void)flash_.Create(hwnd(), 0, 0, client.right, client.bottom);
  // Siblings overlap: each must clip the other for the z-order to show.
  SetWindowLongPtrA(flash_.hwnd(), GWL_STYLE, GetWindowLongPtrA(flash_.hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(flash_.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  BringChildAreaToFront();
  BringMovieToFront();
}

void frmMain::Form_Unload() noexcept {
  if (tools_ == nullptr) return;
  // Also after a restart that did not happen: whatever was loaded or shown
  // since then goes, and the icon never outlives the process.
  UnloadToolWindows(kUnloadOrder);
  tray_->Show(false);
  unloaded_ = true;
}

void frmMain::RecoverFromFailedRestart() noexcept {
  if (!restartPending_) return;
  restartPending_ = false;
  unloaded_ = false;
  try {
    tray_->Show(true);
    for (const ToolWindow which : kStartupLoadOrder) {
      if (IToolWindow* window = tools_->Get(which)) (void)window->Load();
    }
  } catch (...) {
  }
}

void frmMain::CreateChildArea() {
  if (!RegisterChildAreaClass()) return;
  frame_.reset(CreateWindowExA(WS_EX_CONTROLPARENT, kChildAreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                               Px(kChildAreaLeft), Px(kChildAreaTop), Px(kChildAreaWidth), Px(childHeight_), hwnd(), nullptr,
                               GetModuleHandleA(nullptr), nullptr));
}

void frmMain::FSCommand(std::string_view command, std::string_view /*arguments*/) {
  const CommandRow* row = FindCommand(command);
  if (row == nullptr) return;
  if (row->shows) {
    OpenTool(*row->shows, row->childHeight);
  } else if (row->applet) {
    (void)OpenApplet(*row->applet);
  } else {
    RunMainCommand(row->command);
  }
}

void frmMain::OpenTool(ToolWindow which, int childHeight) {
  if (which == ToolWindow::NormalMode) {
    // The advanced editor starts afresh at its first page every time.
    if (IToolWindow* editor = tools_->Get(ToolWindow::NormalMode)) {
      editor->Unload();
      (void)editor->Load();
    }
  } else if (which == ToolWindow::BackUp) {
    tools_->RebuildBackupList();
  }
  ShowChildWindowSized(which, childHeight);
}

void frmMain::RunMainCommand(Command command) {
  switch (command) {
    case Command::Minimize:
      ShowWindow(hwnd(), SW_MINIMIZE);
      break;
    case Command::About:
      BringMovieToFront();
      HideToolWindows();
      BringMovieToFront();
      break;
    case Command::CloseAbout:
      ShowCurrentToolAgain();
      break;
    case Command::Main:
    case Command::SysSettingClicked:
      HideToolWindows();
      BringMovieToFront();
      break;
    case Command::Close:
      ExitProgram();
      break;
    case Command::Tray:
      ShowWindow(hwnd(), SW_HIDE);
      ShowStillRunningNotice();
      break;
    case Command::Home:
    case Command::Hide:
      BringMovieToFront();
      break;
    case Command::Help:
      (void)CurrentPlatform().OpenDocument(hwnd(), AppFile(kHelpFileName), "C:\\", SW_SHOWNORMAL);
      break;
    case Command::Drag:
      DragMainWindow();
      break;
    case Command::Restart:
      UnloadToolWindows(kRestartUnloadOrder);
      tray_->Show(false);
      unloaded_ = true;
      restartPending_ = true;
      // The process goes on until Windows closes it. When Windows refuses,
      // or another program cancels the restart (WM_ENDSESSION with FALSE),
      // the program carries on as before.
      if (!RestartWindows()) RecoverFromFailedRestart();
      break;
    default:
      break;  // rows that open a tool window or an applet
  }
}

void frmMain::ExitProgram() noexcept {
  UnloadToolWindows(kCloseUnloadOrder);
  tray_->Show(false);
  unloaded_ = true;
  CurrentPlatform().EndProcess(0);
}

void frmMain::OpenHandedOverTool(ToolWindow which) {
  ShowMainWindow();
  if (const CommandRow* row = CommandShowing(which)) FSCommand(row->text, "");
}

void frmMain::RestartAsAdministrator() noexcept {
  try {
    HandOver handOver;
    handOver.previousProcess = GetCurrentProcessId();
    handOver.tool = current_;
    const DWORD result = CurrentPlatform().StartElevated(hwnd(), ExecutablePath(), HandOverArguments(handOver));
    if (result == ERROR_SUCCESS) {
      // The tool window that asked is still inside its handler: this instance
      // ends from the message loop, after that handler has returned.
      PostMessageA(hwnd(), WM_APP_EXIT_FOR_ADMINISTRATOR, 0, 0);
      return;
    }
    // Declining Windows' prompt is the user's answer, not a failure.
    if (result == ERROR_CANCELLED) return;
    ShowError("Tarvix could not be started as administrator (Windows error " + std::to_string(result) +
              "). It goes on running with the rights it has.");
  } catch (...) {
  }
}

// Only the window that was in the child area comes back, still behind the
// movie; the others were never placed and would float on their own.
void frmMain::ShowCurrentToolAgain() noexcept {
  if (!current_) return;
  if (IToolWindow* window = tools_->Get(*current_); window != nullptr && window->Window() != nullptr) {
    ShowWindow(window->Window(), SW_SHOWNA);
  }
}

void frmMain::ShowChildWindowSized(ToolWindow which, int height) {
  childHeight_ = height;
  ShowChildWindow(which);
}

void frmMain::ShowToolScreen(ToolWindow which) {
  const CommandRow* row = CommandShowing(which);
  PlaceChildArea(flash_.ShowToolScreen(row != nullptr ? row->text : std::string_view(), kChildAreaWidth, childHeight_));
}

void frmMain::PlaceChildArea(const Box& box) noexcept {
  if (box.empty()) {
    SetWindowPos(frame_.get(), nullptr, 0, 0, Px(kChildAreaWidth), Px(childHeight_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  POINT at{box.left, box.top};
  MapWindowPoints(flash_.hwnd(), hwnd(), &at, 1);
  SetWindowPos(frame_.get(), nullptr, at.x, at.y, box.width(), box.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::ShowChildWindow(ToolWindow which) {
  HideToolWindows();
  IToolWindow* window = tools_->Get(which);
  if (window == nullptr || !window->Load()) return;
  const HWND tool = window->Window();
  SetParent(tool, frame_.get());
  ShowToolScreen(which);
  ShowWindow(tool, SW_SHOW);
  current_ = which;
  BringChildAreaToFront();
  // Keyboard users start on the window's first control.
  if (IsWindowVisible(hwnd())) {
    if (const HWND first = GetNextDlgTabItem(tool, nullptr, FALSE)) SetFocus(first);
  }
}

void frmMain::ButtonArray_Click(ButtonArray array, int index) {
  const ButtonAction action = ActionOfButton(array, index);
  if (action.rebuildBackupList) tools_->RebuildBackupList();
  if (action.shows) {
    ShowChildWindow(*action.shows);
  } else if (action.applet) {
    (void)OpenApplet(*action.applet);
  } else if (!action.notHandled.empty()) {
    // The platform's plain box with an OK button and the program's title.
    (void)CurrentPlatform().ShowMessage(hwnd(), action.notHandled, kProgramTitle, MB_OK);
  }
}

void frmMain::ShowMainWindow() noexcept {
  ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
}

void frmMain::DragMainWindow() noexcept {
  ReleaseCapture();
  SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void frmMain::applyAllControls(HWND form) noexcept { ApplyControlSchemes(skin_, form); }

void frmMain::SkinToolWindow(HWND form) noexcept {
  try {
    (void)skin_.Apply(form, "controlForm");
  } catch (...) {
  }
  applyAllControls(form);
}

void frmMain::ReturnToMovieHome() noexcept {
  BringMovieToFront();
  try {
    (void)flash_.SetVariable(kHomeVariable, "true");
  } catch (...) {
  }
}

void frmMain::SetTrayToolTip(std::string_view text) noexcept {
  // The memory tick asks every 300 ms; the shell is told only of a new text.
  if (tray_->IsVisible() && tray_->TrayToolTip() == text) return;
  try {
    tray_->SetTrayToolTip(text);
    tray_->Show(true);
  } catch (...) {
  }
}

void frmMain::BringMovieToFront() noexcept {
  // In front, the movie shows its home screen again (or the About screen it is opening).
  if (flash_.Screen() == MovieScreen::Tool) {
    try {
      (void)flash_.SetVariable(kHomeVariable, "true");
    } catch (...) {
    }
  }
  SetWindowPos(flash_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The covered tool window stays visible but out of the tab order.
  EnableWindow(frame_.get(), FALSE);
  movieInFront_ = true;
  InvalidateRect(flash_.hwnd(), nullptr, TRUE);
}

void frmMain::BringChildAreaToFront() noexcept {
  EnableWindow(frame_.get(), TRUE);
  SetWindowPos(frame_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  movieInFront_ = false;
}

void frmMain::HideToolWindows() noexcept {
  if (tools_ == nullptr) return;
  for (std::size_t i = 0; i < kToolWindowCount; ++i) {
    if (IToolWindow* window = tools_->Get(static_cast<ToolWindow>(i)); window != nullptr && window->Window() != nullptr) {
      ShowWindow(window->Window(), SW_HIDE);
    }
  }
}

void frmMain::UnloadToolWindows(const std::array<ToolWindow, kToolWindowCount>& order) noexcept {
  if (tools_ == nullptr) return;
  for (const ToolWindow which : order) {
    if (IToolWindow* window = tools_->Get(which)) window->Unload();
  }
  UnloadNotificationBox();
  current_.reset();
}

void frmMain::ShowStillRunningNotice() {
  if (UsesTrayBalloon(OsFamily)) {
    tray_->showBalloonoolTip(true);
    return;
  }
  // The 95/98/ME family has no balloons: the program's own notice, at the
  // lower-right corner, closes by itself after five seconds.
  const ScreenSize screen = GetScreenSize();
  (void)MsgAuto_box(kStillRunningText, MB_ICONINFORMATION, kStillRunningCaption, 5, true, RGB(242, 248, 200),
                    static_cast<float>(screen.width - 40), static_cast<float>(screen.height), 0);
}

void frmMain::OpenHelpPage() {
  const std::string_view page = (!movieInFront_ && current_) ? HelpPageOf(*current_) : kHomeHelpPage;
  // The help viewer opens a page inside the file with "file::/page".
  std::string commandLine = "hh.exe \"" + AppFile(kHelpFileName) + "::/";
  commandLine += page;
  commandLine += '"';
  (void)CurrentPlatform().StartProgram(commandLine, SW_SHOWNORMAL);
}

int frmMain::Px(int length) const noexcept { return ScaleForDpi(length, dpi_); }

bool frmMain::PreTranslateMessage(MSG& message) noexcept {
  if (hwnd() == nullptr) return false;
  if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
    OpenHelpPage();
    return true;
  }
  // Escape in a tool window goes back to the movie's home screen.
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && !movieInFront_) {
    FSCommand("IDC_FS_home", "");
    SetFocus(flash_.hwnd());
    return true;
  }
  // Enter on a tool window's push button presses it, as Space does: the
  // dialog manager would only send this window IDOK, which no tool sees.
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && !movieInFront_) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(framChildWindow(), focus) && IsPushButton(focus) && IsWindowEnabled(focus)) {
      SendMessageA(focus, BM_CLICK, 0, 0);
      return true;
    }
  }
  return IsDialogMessageA(hwnd(), &message) != FALSE;
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Form_Unload();
      DestroyWindow(hwnd());
      return 0;
    case WM_APP_EXIT_FOR_ADMINISTRATOR:
      ExitProgram();
      return 0;
    case WM_DPICHANGED:
      // The new DPI from the message: not every system changes its own
      // answer for the window (Wine keeps the DPI it had at start).
      Form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ENDSESSION:
      if (wParam == FALSE) RecoverFromFailedRestart();
      return 0;
    case WM_DESTROY:
      Form_Unload();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd(), message, wParam, lParam);
  }
}

}  // namespace tarvix
