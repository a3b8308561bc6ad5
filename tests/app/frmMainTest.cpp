// The main window under Wine with the registry redirected, a recording
// platform and a recording notification shell: start-up, the command
// dispatch, the button arrays, the icon clicks and the Flash hook.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "base/AppPaths.h"
#include "app/CommandTable.h"
#include "base/OsDetect.h"
#include "app/skin/SkinFile.h"
#include "app/Version.h"
#include "app/frmMain.h"
#include "app/frmMainSettings.h"
#include "base/Platform.h"
#include "base/Handle.h"
#include "backup/BackupFiles.h"
#include "backup/frmBackUp.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/frmWizardMode.h"
#include "registry/RegistryValues.h"
#include "app/MainWindowTest.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "support/TextFits.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/msgFrm.h"
#include "ui/TrayTestSupport.h"

namespace tarvix {
namespace {

using testing::FakePlatform;
using testing::RecordingShell;
using testing::ShellCall;
using testing::TempDir;

class frmMainTest : public testing::MainWindowTest {
 protected:
  [[nodiscard]] SIZE ChildAreaSize() const {
    RECT box{};
    GetWindowRect(main_->framChildWindow(), &box);
    return {box.right - box.left, box.bottom - box.top};
  }

  [[nodiscard]] const ShellCall* LastShellCall() const {
    return shell_.calls.empty() ? nullptr : &shell_.calls.back();
  }
};

TEST_F(frmMainTest, StartUpShowsTheWindowAddsTheIconAndLoadsTheToolWindowsHidden) {
  frmMain& main = Start();
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
  EXPECT_TRUE(main.MovieInFront());
  EXPECT_EQ(main.flash().VersionText(), std::to_string(TARVIX_VERSION_MAJOR) + "." +
                                            std::to_string(TARVIX_VERSION_MINOR) + ".0." +
                                            std::to_string(TARVIX_VERSION_REVISION));
  EXPECT_TRUE(IsKnownFamily(OsFamily));
  ASSERT_NE(LastShellCall(), nullptr);
  EXPECT_EQ(shell_.calls.front().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(main.Tray1().IsVisible());
  for (const ToolWindow which : kStartupLoadOrder) {
    if (IToolWindow* window = main.ToolWindows().Get(which)) {
      EXPECT_NE(window->Window(), nullptr);
      EXPECT_FALSE(IsWindowVisible(window->Window()));
    }
  }
  // Each tool window carries its caption as its window text, for screen
  // readers and automation; the backup manager's buttons have no access keys.
  const std::pair<ToolWindow, const char*> captions[] = {
      {ToolWindow::WizardMode, "Wizard Mode"},   {ToolWindow::BackUp, "Backup"},
      {ToolWindow::NetPingerSettings, "Ping Settings"}, {ToolWindow::SystemStatus, "System Status"},
      {ToolWindow::RamConfiguration, "Ram Configuration"}, {ToolWindow::MainSettings, "Main Settings"},
  };
  for (const auto& [which, caption] : captions) {
    char text[64] = {};
    GetWindowTextA(main.ToolWindows().Get(which)->Window(), text, static_cast<int>(sizeof text));
    EXPECT_STREQ(text, caption);
  }
  main.FSCommand("IDC_FS_normalMode", "");
  char editor[64] = {};
  GetWindowTextA(main.ToolWindows().Get(ToolWindow::NormalMode)->Window(), editor, static_cast<int>(sizeof editor));
  EXPECT_STREQ(editor, "Advanced Mode");
  // The wizard's and the backup manager's controls wait for their first
  // show; the wizard's first mode is in use from start-up.
  const HWND backUp = main.ToolWindows().Get(ToolWindow::BackUp)->Window();
  const HWND wizard = main.ToolWindows().Get(ToolWindow::WizardMode)->Window();
  EXPECT_EQ(GetDlgItem(backUp, frmBackUp::IDC_CMDRESTORE), nullptr);
  EXPECT_EQ(GetDlgItem(wizard, frmWizardMode::IDC_optMode0), nullptr);
  EXPECT_EQ(CurrentParameters, WizardPresets[0]);
  main.FSCommand("IDC_FS_backupManger", "");
  main.FSCommand("IDC_FS_wizardMode", "");
  EXPECT_TRUE(IsWindowVisible(wizard));
  EXPECT_TRUE(IsChecked(GetDlgItem(wizard, frmWizardMode::IDC_optMode0)));
  EXPECT_EQ(main.skin().SchemeOf(wizard).value_or(""), "controlForm");
  char restore[32] = {}, remove[32] = {};
  GetWindowTextA(GetDlgItem(backUp, frmBackUp::IDC_CMDRESTORE), restore, static_cast<int>(sizeof restore));
  GetWindowTextA(GetDlgItem(backUp, frmBackUp::IDC_CMDDELETE), remove, static_cast<int>(sizeof remove));
  EXPECT_STREQ(restore, "Restore");
  EXPECT_STREQ(remove, "Delete");
  main.FSCommand("IDC_FS_home", "");
  // The child area carries the frameless scheme; the settings window, once
  // opened, its controls' schemes.
  EXPECT_EQ(main.skin().SchemeOf(main.framChildWindow()).value_or(""), "NoFrame");
  main.FSCommand("IDC_FS_settings", "");
  const HWND settings = main.ToolWindows().MainSettings().Window();
  EXPECT_EQ(main.skin().SchemeOf(settings).value_or(""), "controlForm");
  EXPECT_EQ(main.skin().SchemeOf(GetDlgItem(settings, frmMainSettings::IDC_cmdSave)).value_or(""), "Button");
  EXPECT_EQ(main.skin().SchemeOf(GetDlgItem(settings, frmMainSettings::IDC_frmStartup)).value_or(""), "Frame");
  EXPECT_EQ(main.skin().SchemeOf(GetDlgItem(settings, frmMainSettings::IDC_chkRunProgramMini)).value_or(""), "CheckBox");
}

TEST(VersionText, MajorMinorZeroRevision) {
  EXPECT_EQ(VersionText(1, 0, 12), "1.0.0.12");
  EXPECT_EQ(VersionText(1, 2, 7), "1.2.0.7");
  EXPECT_EQ(VersionText(10, 20, 300), "10.20.0.300");
  // The resource and the movie show the same version.
  EXPECT_EQ(TARVIX_VERSION_TEXT, VersionText(TARVIX_VERSION_MAJOR, TARVIX_VERSION_MINOR, TARVIX_VERSION_REVISION));
}

TEST_F(frmMainTest, StartHiddenOnTheNtFamilyShowsTheBalloon) {
  SaveMachineSetting(SettingsSubKey(kMainSettingsSuffix), "chkRunProgramMini", "1");
  frmMain& main = Start();
  EXPECT_FALSE(IsWindowVisible(main.hwnd()));
  ASSERT_TRUE(IsNtFamily(OsFamily)) << "Wine reports an NT version";
  ASSERT_NE(LastShellCall(), nullptr);
  EXPECT_NE(LastShellCall()->record.uFlags & NIF_INFO, 0u);
  EXPECT_STREQ(LastShellCall()->record.szInfoTitle, "Program notification");
  EXPECT_STREQ(LastShellCall()->record.szInfo, "The Program Still Running Here");
  // A click on the icon brings the window back; a right click does not.
  main.RightClick();
  EXPECT_FALSE(IsWindowVisible(main.hwnd()));
  main.LeftClick();
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
  ShowWindow(main.hwnd(), SW_HIDE);
  main.MouseClick(2);
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
}

// On Windows 98 there is no balloon: the program's own notice shows at the
// lower right corner and closes by itself after five seconds.
TEST_F(frmMainTest, StartHiddenOnWindows98ShowsTheProgramsOwnNotice) {
  SaveMachineSetting(SettingsSubKey(kMainSettingsSuffix), "chkRunProgramMini", "1");
  const ScopedReportedVersion windows98(kPlatformWin32Windows, 4, 10);
  frmMain& main = Start();
  EXPECT_EQ(OsFamily, kOsWindows98);
  EXPECT_FALSE(IsWindowVisible(main.hwnd()));
  for (const ShellCall& call : shell_.calls) EXPECT_EQ(call.record.uFlags & NIF_INFO, 0u);
  ASSERT_NE(NotificationBox(), nullptr);
  const HWND notice = NotificationBox()->hwnd();
  EXPECT_TRUE(IsWindowVisible(notice));
  EXPECT_EQ(NotificationBox()->AutoCloseInterval(), 5000u);
  RECT box{};
  GetWindowRect(notice, &box);
  EXPECT_GT(box.right, GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_GT(box.bottom, GetSystemMetrics(SM_CYSCREEN) / 2);
  UnloadNotificationBox();
}

// The order in which each way out unloads the tool windows.
std::vector<ToolWindow>* destroyedLog = nullptr;
std::array<HWND, kToolWindowCount> toolHandles{};
LRESULT CALLBACK RecordDestroy(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_DESTROYWND && destroyedLog != nullptr) {
    for (std::size_t i = 0; i < toolHandles.size(); ++i) {
      if (toolHandles[i] == reinterpret_cast<HWND>(wParam)) destroyedLog->push_back(static_cast<ToolWindow>(i));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(frmMainTest, EachWayOutUnloadsTheToolWindowsInItsOrder) {
  using enum ToolWindow;
  struct Way {
    const char* name;
    std::function<void(frmMain&)> leave;
    std::vector<ToolWindow> order;
  };
  const std::vector<Way> ways = {
      {"unload", [](frmMain& main) { main.Form_Unload(); },
       {WizardMode, NormalMode, BackUp, NetPingerSettings, RamConfiguration, MainSettings, SystemStatus}},
      {"close", [](frmMain& main) { main.FSCommand("IDC_FS_close", ""); },
       {WizardMode, NormalMode, BackUp, NetPingerSettings, SystemStatus, RamConfiguration, MainSettings}},
      {"restart", [](frmMain& main) { main.FSCommand("IDC_FS_restart", ""); },
       {WizardMode, NormalMode, BackUp, NetPingerSettings, RamConfiguration, MainSettings, SystemStatus}},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    main_.reset();
    frmMain& main = Start();
    main.FSCommand("IDC_FS_normalMode", "");
    for (std::size_t i = 0; i < kToolWindowCount; ++i) {
      toolHandles[i] = main.ToolWindows().Get(static_cast<ToolWindow>(i))->Window();
      ASSERT_NE(toolHandles[i], nullptr);
    }
    std::vector<ToolWindow> destroyed;
    destroyedLog = &destroyed;
    const HHOOK hook = SetWindowsHookExA(WH_CBT, RecordDestroy, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    way.leave(main);
    UnhookWindowsHookEx(hook);
    destroyedLog = nullptr;
    EXPECT_EQ(destroyed, way.order);
  }
}

// Every static text, check box, option button, button and frame of every
// tool window, every page of the advanced editor included, shows its whole
// text in the font it is drawn with.
TEST_F(frmMainTest, EveryTextFitsItsControl) {
  frmMain& main = Start();
  // Each window makes its controls by its first show at the latest.
  for (const char* command : {"IDC_FS_wizardMode", "IDC_FS_backupManger", "IDC_FS_systemSatus", "IDC_FS_ramConfig",
                              "IDC_FS_pingSetting", "IDC_FS_settings", "IDC_FS_normalMode"}) {
    main.FSCommand(command, "");
  }
  int measured = 0;
  for (std::size_t i = 0; i < kToolWindowCount; ++i) {
    const HWND window = main.ToolWindows().Get(static_cast<ToolWindow>(i))->Window();
    ASSERT_NE(window, nullptr);
    char caption[64] = {};
    GetWindowTextA(window, caption, static_cast<int>(sizeof caption));
    // Hidden pages too: every page's controls exist once the editor is open.
    for (const HWND control : test::AllChildren(window)) {
      const std::string problem = test::TextDoesNotFit(control);
      EXPECT_TRUE(problem.empty()) << caption << ": " << problem;
      ++measured;
    }
  }
  EXPECT_GT(measured, 100);
}

TEST_F(frmMainTest, EveryWindowCommandShowsItsWindowInTheChildAreaWithItsSize) {
  frmMain& main = Start();
  int shown = 0;
  for (const CommandRow& row : kCommandTable) {
    if (!row.shows) continue;
    IToolWindow* window = main.ToolWindows().Get(*row.shows);
    if (window == nullptr) continue;
    SCOPED_TRACE(std::string(row.text));
    main.FSCommand(row.text, "");
    ASSERT_NE(window->Window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(window->Window()));
    EXPECT_EQ(GetParent(window->Window()), main.framChildWindow());
    EXPECT_FALSE(main.MovieInFront());
    EXPECT_EQ(GetWindow(main.hwnd(), GW_CHILD), main.framChildWindow()) << "the child area is not in front";
    EXPECT_NE(GetWindowLongPtrA(main.flash().hwnd(), GWL_STYLE) & WS_CLIPSIBLINGS, 0);
    EXPECT_EQ(ChildAreaSize().cx, ScaleForDpi(kChildAreaWidth, main.Dpi()));
    EXPECT_EQ(ChildAreaSize().cy, ScaleForDpi(row.childHeight, main.Dpi()));
    // Only the last window shown is visible.
    for (std::size_t i = 0; i < kToolWindowCount; ++i) {
      IToolWindow* other = main.ToolWindows().Get(static_cast<ToolWindow>(i));
      if (other != nullptr && other != window && other->Window() != nullptr) {
        EXPECT_FALSE(IsWindowVisible(other->Window()));
      }
    }
    ++shown;
  }
  EXPECT_GE(shown, 1);

  main.FSCommand("IDC_FS_settings", "");
  main.FSCommand("IDC_FS_settings", "");
  EXPECT_TRUE(IsWindowVisible(main.ToolWindows().MainSettings().Window()));
  EXPECT_EQ(ChildAreaSize().cy, ScaleForDpi(245, main.Dpi()));

  // Home and Hide cover the window without hiding it; Main hides it.
  main.FSCommand("IDC_FS_home", "");
  EXPECT_TRUE(main.MovieInFront());
  EXPECT_EQ(GetWindow(main.hwnd(), GW_CHILD), main.flash().hwnd()) << "the movie is not in front";
  EXPECT_TRUE(IsWindowVisible(main.ToolWindows().MainSettings().Window()));
  main.FSCommand("IDC_FS_settings", "");
  main.FSCommand("IDC_FS_main", "");
  EXPECT_TRUE(main.MovieInFront());
  EXPECT_FALSE(IsWindowVisible(main.ToolWindows().MainSettings().Window()));
  // About hides it; closing the About screen brings back the one that was shown.
  main.FSCommand("IDC_FS_settings", "");
  main.FSCommand("IDC_FS_about", "");
  EXPECT_FALSE(IsWindowVisible(main.ToolWindows().MainSettings().Window()));
  main.FSCommand("IDC_FS_closeAbout", "");
  EXPECT_TRUE(IsWindowVisible(main.ToolWindows().MainSettings().Window()));
  EXPECT_TRUE(main.MovieInFront());
}

TEST_F(frmMainTest, CommandsDifferingInLetterCaseOrUnknownDoNothing) {
  frmMain& main = Start();
  for (const char* command : {"idc_fs_minimize", "IDC_FS_MINIMIZE", "IDC_FS_minimize ", "IDC_FS_Close", "drag",
                              "IDC_FS_SETTINGS", "", "IDC_FS_"}) {
    main.FSCommand(command, "");
  }
  EXPECT_FALSE(IsIconic(main.hwnd()));
  EXPECT_TRUE(platform_->endedWith.empty());
  EXPECT_TRUE(main.MovieInFront());
  main.FSCommand("IDC_FS_minimize", "");
  EXPECT_TRUE(IsIconic(main.hwnd()));
}

TEST_F(frmMainTest, FamilyDecidesTheNetworkAppletAndTheHiddenNotice) {
  frmMain& main = Start();
  for (const OsFamilyCode code : {OsFamilyCode{3}, OsFamilyCode{4}, OsFamilyCode{6}, OsFamilyCode{7}, OsFamilyCode{8}}) {
    SCOPED_TRACE(code);
    OsFamily = code;
    platform_->startedPrograms.clear();
    main.FSCommand("IDC_FS_networkSetting", "");
    ASSERT_EQ(platform_->startedPrograms.size(), 1u);
    EXPECT_EQ(platform_->startedPrograms[0], code <= 4 ? "rundll32.exe shell32.dll,Control_RunDLL netcpl.cpl"
                                                      : "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl");
    main.ShowMainWindow();
    UnloadNotificationBox();
    shell_.calls.clear();
    main.FSCommand("IDC_FS_tray", "");
    EXPECT_FALSE(IsWindowVisible(main.hwnd()));
    // The NT family announces itself in the icon's balloon, the others in the program's own notice.
    const bool balloon = !shell_.calls.empty() && (shell_.calls.back().record.uFlags & NIF_INFO) != 0;
    const bool notice = NotificationBox() != nullptr && IsWindowVisible(NotificationBox()->hwnd());
    EXPECT_EQ(balloon, code > 4);
    EXPECT_EQ(notice, code <= 4);
  }
  UnloadNotificationBox();
  OsFamily = 0;
  platform_->startedPrograms.clear();
  main.FSCommand("IDC_FS_networkSetting", "");
  EXPECT_TRUE(platform_->startedPrograms.empty());
  OsFamily = 7;
  main.FSCommand("IDC_FS_internetProperties", "");
  main.FSCommand("IDC_FS_systemSetting", "");
  main.FSCommand("IDC_FS_modemSetting", "");
  ASSERT_EQ(platform_->startedPrograms.size(), 3u);
  EXPECT_EQ(platform_->startedPrograms[0], "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0");
  EXPECT_EQ(platform_->startedPrograms[1], "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl,,0");
  EXPECT_EQ(platform_->startedPrograms[2], "rundll32.exe shell32.dll,Control_RunDLL modem.cpl");
}

TEST_F(frmMainTest, HelpOpensTheHelpFileBesideTheProgram) {
  frmMain& main = Start();
  main.FSCommand("IDC_FS_help", "");
  ASSERT_EQ(platform_->openedDocuments.size(), 1u);
  EXPECT_NE(platform_->openedDocuments[0].find(AppFile("\\TarvixHelp.chm")), std::string::npos);
}

TEST_F(frmMainTest, F1OpensThePageOfTheWindowInFront) {
  frmMain& main = Start();
  MSG f1{main.hwnd(), WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
  EXPECT_TRUE(main.PreTranslateMessage(f1));
  main.FSCommand("IDC_FS_settings", "");
  EXPECT_TRUE(main.PreTranslateMessage(f1));
  main.FSCommand("IDC_FS_home", "");
  EXPECT_TRUE(main.PreTranslateMessage(f1));
  const std::string file = "hh.exe \"" + AppFile("\\TarvixHelp.chm");
  ASSERT_EQ(platform_->startedPrograms.size(), 3u);
  EXPECT_EQ(platform_->startedPrograms[0], file + "::/index.htm\"");
  EXPECT_EQ(platform_->startedPrograms[1], file + "::/settings.htm\"");
  EXPECT_EQ(platform_->startedPrograms[2], file + "::/index.htm\"");
}

TEST_F(frmMainTest, CloseUnloadsTheWindowsRemovesTheIconAndEndsTheProcess) {
  frmMain& main = Start();
  main.FSCommand("IDC_FS_settings", "");
  main.FSCommand("IDC_FS_close", "");
  for (std::size_t i = 0; i < kToolWindowCount; ++i) {
    if (IToolWindow* window = main.ToolWindows().Get(static_cast<ToolWindow>(i))) {
      EXPECT_EQ(window->Window(), nullptr);
    }
  }
  ASSERT_NE(LastShellCall(), nullptr);
  EXPECT_EQ(LastShellCall()->message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(main.Tray1().IsVisible());
  ASSERT_EQ(platform_->endedWith.size(), 1u);
  EXPECT_TRUE(platform_->exitRequests.empty());
}

TEST_F(frmMainTest, RestartUnloadsRemovesTheIconAndAsksWindowsToRestart) {
  frmMain& main = Start();
  platform_->exitWindowsResult = FALSE;
  main.FSCommand("IDC_FS_restart", "");
  ASSERT_EQ(platform_->exitRequests.size(), 1u);
  EXPECT_EQ(platform_->exitRequests[0].first, static_cast<UINT>(EWX_REBOOT));
  EXPECT_EQ(platform_->exitRequests[0].second, 0xFFFFFFFFu);
  EXPECT_TRUE(platform_->endedWith.empty());
  // The icon went before Windows was asked.
  ASSERT_GE(shell_.calls.size(), 2u);
  EXPECT_EQ(shell_.calls[shell_.calls.size() - 2].message, static_cast<DWORD>(NIM_DELETE));
  // A refused restart leaves the program as it was: the icon back, every
  // window loaded, so that hiding to the tray leaves a way back.
  EXPECT_TRUE(IsWindow(main.hwnd()));
  ASSERT_NE(LastShellCall(), nullptr);
  EXPECT_EQ(LastShellCall()->message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(main.Tray1().IsVisible());
  for (const ToolWindow which : kStartupLoadOrder) {
    if (IToolWindow* window = main.ToolWindows().Get(which)) {
      EXPECT_NE(window->Window(), nullptr);
    }
  }
  main.FSCommand("IDC_FS_settings", "");
  EXPECT_TRUE(IsWindowVisible(main.ToolWindows().MainSettings().Window()));
  // Every later exit removes the icon.
  main.Form_Unload();
  ASSERT_NE(LastShellCall(), nullptr);
  EXPECT_EQ(LastShellCall()->message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(main.Tray1().IsVisible());
}

// Every box of the apply, the restore and the settings windows belongs to the
// main window, so that nothing behind it can start a second apply meanwhile.
TEST_F(frmMainTest, MessageBoxesAreOwnedByTheMainWindow) {
  frmMain& main = Start();
  const auto click = [](HWND window, int id) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  };
  // An apply whose backup cannot be written.
  const UniqueHandle blocker(CreateFileA(AppFile("\\Backups").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  main.FSCommand("IDC_FS_wizardMode", "");
  const HWND wizard = main.ToolWindows().Get(ToolWindow::WizardMode)->Window();
  click(wizard, frmWizardMode::IDC_cmdOptimize);
  // A restore of a file that is not there.
  (void)RestoreBackupFile(AppFile("\\Backups\\404.BCK"));
  // Settings that Windows refuses to store.
  testing::MakeKey(HKEY_LOCAL_MACHINE, SettingsSubKey(kMainSettingsSuffix));
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, SettingsSubKey(kMainSettingsSuffix));
  main.FSCommand("IDC_FS_settings", "");
  const HWND settings = main.ToolWindows().MainSettings().Window();
  click(settings, frmMainSettings::IDC_chkRunProgramMini);
  click(settings, frmMainSettings::IDC_cmdSave);
  // A box asked for by a tool window belongs to its top-level window.
  (void)ShowProgramMessage("From a child", MB_OK, settings);

  ASSERT_EQ(platform_->messages.size(), 4u);
  for (const auto& message : platform_->messages) {
    EXPECT_EQ(message.owner, main.hwnd()) << message.text;
  }
  main_.reset();
  EXPECT_EQ(MessageOwner(), nullptr);
}

// Windows accepted the restart, then another program cancelled it.
TEST_F(frmMainTest, ARestartCancelledByAnotherProgramLeavesTheProgramUsable) {
  frmMain& main = Start();
  main.FSCommand("IDC_FS_restart", "");
  EXPECT_FALSE(main.Tray1().IsVisible());
  EXPECT_EQ(main.ToolWindows().MainSettings().Window(), nullptr);
  SendMessageA(main.hwnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(main.Tray1().IsVisible());
  EXPECT_NE(main.ToolWindows().MainSettings().Window(), nullptr);
  shell_.calls.clear();
  main.FSCommand("IDC_FS_tray", "");
  ASSERT_NE(LastShellCall(), nullptr);
  EXPECT_NE(LastShellCall()->record.uFlags & NIF_INFO, 0u);
  main.Form_Unload();
  EXPECT_EQ(LastShellCall()->message, static_cast<DWORD>(NIM_DELETE));
  // A second cancel notice without a restart changes nothing.
  SendMessageA(main.hwnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_FALSE(main.Tray1().IsVisible());
}

TEST_F(frmMainTest, ButtonArraysOpenWindowsAppletsOrSayNotHandled) {
  frmMain& main = Start();
  OsFamily = 6;
  main.ButtonArray_Click(ButtonArray::RamBooster, 0);
  main.ButtonArray_Click(ButtonArray::InternetBooster, 4);
  main.ButtonArray_Click(ButtonArray::NetPinger, 0);
  main.ButtonArray_Click(ButtonArray::SystemSettings, 5);
  ASSERT_EQ(platform_->messages.size(), 4u);
  EXPECT_EQ(platform_->messages[0].text, "Not handeled yet");
  EXPECT_EQ(platform_->messages[1].text, "Nothandeled");
  EXPECT_EQ(platform_->messages[2].text, "Nothandeled");
  EXPECT_EQ(platform_->messages[3].text, "Not handeled");
  for (const auto& message : platform_->messages) {
    EXPECT_EQ(message.title, "Tarvix");
    EXPECT_EQ(message.flags, static_cast<UINT>(MB_OK));
  }
  main.ButtonArray_Click(ButtonArray::SystemSettings, 4);
  ASSERT_EQ(platform_->startedPrograms.size(), 1u);
  EXPECT_EQ(platform_->startedPrograms[0], "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl");
}

// A window procedure that remembers the last message it saw.
UINT lastSeen = 0;
LRESULT CALLBACK Remember(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NULL || message == WM_RBUTTONDOWN || message == WM_LBUTTONDOWN) lastSeen = message;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(FlashHook, FindsThePlayerWindowAndSwallowsOnlyRightPresses) {
  WNDCLASSEXA player{};
  player.cbSize = sizeof player;
  player.lpfnWndProc = Remember;
  player.hInstance = GetModuleHandleA(nullptr);
  player.lpszClassName = "MacromediaFlashPlayerActiveX";
  RegisterClassExA(&player);
  const UniqueWindow parent(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(FindFlashPlayerWindow(parent.get()), nullptr);
  CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent.get(), nullptr, nullptr, nullptr);
  const HWND flash = CreateWindowExA(0, "MacromediaFlashPlayerActiveX", "", WS_CHILD, 0, 0, 10, 10, parent.get(),
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_EQ(FindFlashPlayerWindow(parent.get()), flash);
  HookFlashWindow(flash, true);
  SendMessageA(flash, WM_RBUTTONDOWN, 0, 0);
  EXPECT_EQ(lastSeen, static_cast<UINT>(WM_NULL));
  SendMessageA(flash, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(lastSeen, static_cast<UINT>(WM_LBUTTONDOWN));
  HookFlashWindow(flash, false);
  SendMessageA(flash, WM_RBUTTONDOWN, 0, 0);
  EXPECT_EQ(lastSeen, static_cast<UINT>(WM_RBUTTONDOWN));
}

}  // namespace
}  // namespace tarvix
