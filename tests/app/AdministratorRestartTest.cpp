// The offer to restart as administrator, under Wine with the whole program
// running in the test process: the registry redirected, the network and
// settings keys read-only, a recording platform that plays a standard user
// behind UAC, and a recording notification shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app/HandOver.h"
#include "app/frmMain.h"
#include "app/frmMainSettings.h"
#include "backup/BackupFiles.h"
#include "backup/frmBackUp.h"
#include "base/AppPaths.h"
#include "base/Elevation.h"
#include "base/OsDetect.h"
#include "memory/frmRamConfiguration.h"
#include "optimizer/frmNormalMode.h"
#include "optimizer/frmWizardMode.h"
#include "pinger/frmNetPingerSettings.h"
#include "registry/RegistryValues.h"
#include "app/MainWindowTest.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"
#include "ui/TrayTestSupport.h"

namespace tarvix {
namespace {

using testing::FakePlatform;
using testing::RecordingShell;
using testing::TempDir;

const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr UINT kQuestionFlags = MB_YESNO | MB_ICONWARNING;
constexpr UINT kRefusalFlags = MB_OK | MB_ICONERROR;

class AdministratorRestartTest : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform_->elevated = false;
    testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 128);
    testing::MakeKey(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}");
    testing::PutDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer", 2);
  }
  static void Click(HWND window, int id) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  }
  [[nodiscard]] HWND Tool(ToolWindow which) { return main_->ToolWindows().Get(which)->Window(); }

  // Delivers what was posted, as the message loop would after the handler.
  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  // Each refusal the program can meet, run through the window the user uses.
 public:
  void RefusedWizardApply() {
    testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kTcpip);
    main_->FSCommand("IDC_FS_wizardMode", "");
    Click(Tool(ToolWindow::WizardMode), frmWizardMode::IDC_optMode0 + 4);
    Click(Tool(ToolWindow::WizardMode), frmWizardMode::IDC_cmdOptimize);
  }
  void RefusedAdvancedApply() {
    testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kTcpip);
    main_->FSCommand("IDC_FS_normalMode", "");
    // Seven pages of Next>>, then Finish.
    for (int page = 0; page < 8; ++page) Click(Tool(ToolWindow::NormalMode), frmNormalMode::IDC_cmdNextPage);
  }
  void RefusedRestore() {
    ASSERT_TRUE(WriteBackupFile().ok);
    testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 64);
    testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kTcpip);
    main_->FSCommand("IDC_FS_backupManger", "");
    const HWND list = GetDlgItem(Tool(ToolWindow::BackUp), frmBackUp::IDC_LSTBACKUPLIST);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    platform_->answers.push_front(IDYES);  // "Do you want to restore this settings?"
    Click(Tool(ToolWindow::BackUp), frmBackUp::IDC_CMDRESTORE);
  }
  void RefusedSettingsSave(std::string_view suffix, std::string_view command, ToolWindow which, int checkBox, int save) {
    testing::MakeKey(HKEY_LOCAL_MACHINE, SettingsSubKey(suffix));
    testing::MakeReadOnly(HKEY_LOCAL_MACHINE, SettingsSubKey(suffix));
    main_->FSCommand(command, "");
    SendMessageA(GetDlgItem(Tool(which), checkBox), BM_CLICK, 0, 0);
    Click(Tool(which), save);
  }
  void RefusedMainSettingsSave() {
    RefusedSettingsSave(kMainSettingsSuffix, "IDC_FS_settings", ToolWindow::MainSettings,
                        frmMainSettings::IDC_chkRunProgramMini, frmMainSettings::IDC_cmdSave);
  }
  void RefusedRamSave() {
    RefusedSettingsSave(kRamSettingsSuffix, "IDC_FS_ramConfig", ToolWindow::RamConfiguration, IDC_chkSoundon,
                        IDC_cmdSave);
  }
  void RefusedPingerSave() {
    RefusedSettingsSave(kNetPingerSuffix, "IDC_FS_pingSetting", ToolWindow::NetPingerSettings,
                        frmNetPingerSettings::IDC_DO_PINGING, frmNetPingerSettings::IDC_SAVE);
  }

 protected:
  // The last box asked the question below the refusal, once.
  void ExpectOneQuestion(std::string_view refusalPart) const {
    const std::size_t questions = static_cast<std::size_t>(
        std::count_if(platform_->messages.begin(), platform_->messages.end(), [](const testing::MessageRecord& m) {
          return m.text.find(kRestartAsAdministratorQuestion) != std::string::npos;
        }));
    EXPECT_EQ(questions, 1u);
    ASSERT_FALSE(platform_->messages.empty());
    const testing::MessageRecord& box = platform_->messages.back();
    EXPECT_EQ(box.title, "Tarvix");
    EXPECT_EQ(box.flags, kQuestionFlags);
    EXPECT_EQ(box.owner, main_->hwnd());
    EXPECT_NE(box.text.find(refusalPart), std::string::npos) << box.text;
    const std::string ending = "\r\n\r\n" + std::string(kRestartAsAdministratorQuestion);
    ASSERT_GE(box.text.size(), ending.size());
    EXPECT_EQ(box.text.substr(box.text.size() - ending.size()), ending) << box.text;
  }

  // The program is still all there: icon, tool windows, nothing started or ended.
  void ExpectRunningAsBefore() {
    Pump();
    EXPECT_TRUE(platform_->endedWith.empty());
    EXPECT_TRUE(main_->Tray1().IsVisible());
    for (const ToolWindow which : kStartupLoadOrder) EXPECT_NE(Tool(which), nullptr);
  }

};

TEST_F(AdministratorRestartTest, EachRefusedApplyRestoreAndSaveAsksOnceAndNoChangesNothing) {
  struct Case {
    const char* name;
    void (AdministratorRestartTest::*refuse)();
    std::string_view refusalPart;
  };
  const Case cases[] = {
      {"wizard apply", &AdministratorRestartTest::RefusedWizardApply, "could not be written"},
      {"advanced editor apply", &AdministratorRestartTest::RefusedAdvancedApply, "could not be written"},
      {"restore", &AdministratorRestartTest::RefusedRestore, "could not be written"},
      {"program settings", &AdministratorRestartTest::RefusedMainSettingsSave, "Run Program In system tray"},
      {"RAM configuration", &AdministratorRestartTest::RefusedRamSave, "Sound on"},
      {"pinger settings", &AdministratorRestartTest::RefusedPingerSave, "Enable Pinger"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Start();
    platform_->answers.push_back(IDNO);
    (this->*c.refuse)();
    ExpectOneQuestion(c.refusalPart);
    EXPECT_TRUE(platform_->elevatedStarts.empty());
    ExpectRunningAsBefore();
  }
}

TEST_F(AdministratorRestartTest, NoOnASettingsSaveKeepsWhatWasEnteredToBeSaved) {
  Start();
  platform_->answers.push_back(IDNO);
  RefusedMainSettingsSave();
  const HWND settings = Tool(ToolWindow::MainSettings);
  EXPECT_EQ(SendMessageA(GetDlgItem(settings, frmMainSettings::IDC_chkRunProgramMini), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(settings, frmMainSettings::IDC_cmdSave)));
  EXPECT_EQ(testing::StoredSetting(kMainSettingsSuffix, "chkRunProgramMini"), "<missing>");
  ExpectRunningAsBefore();
}

TEST_F(AdministratorRestartTest, YesStartsTarvixElevatedWithTheHandOverAndEndsThisInstanceInOrder) {
  frmMain& main = Start();
  RefusedRestore();  // the unscripted refusal question answers Yes
  ExpectOneQuestion("could not be written");
  ASSERT_EQ(platform_->elevatedStarts.size(), 1u);
  EXPECT_EQ(platform_->elevatedStarts[0].program, ExecutablePath());
  EXPECT_EQ(platform_->elevatedStarts[0].parameters,
            "/restarted-from " + std::to_string(GetCurrentProcessId()) + " /open backup");
  EXPECT_EQ(ParseHandOver(platform_->elevatedStarts[0].parameters),
            (HandOver{static_cast<std::uint32_t>(GetCurrentProcessId()), ToolWindow::BackUp}));
  // Not inside the backup manager's own click: from the message loop.
  EXPECT_TRUE(platform_->endedWith.empty());
  EXPECT_NE(Tool(ToolWindow::BackUp), nullptr);

  Pump();
  ASSERT_EQ(platform_->endedWith.size(), 1u);
  EXPECT_EQ(platform_->endedWith[0], 0u);
  EXPECT_FALSE(main.Tray1().IsVisible());
  ASSERT_FALSE(shell_.calls.empty());
  EXPECT_EQ(shell_.calls.back().message, static_cast<DWORD>(NIM_DELETE));
  for (std::size_t i = 0; i < kToolWindowCount; ++i) EXPECT_EQ(Tool(static_cast<ToolWindow>(i)), nullptr);
  EXPECT_EQ(platform_->messages.size(), 2u) << "the restore question and the refusal, nothing more";
}

TEST_F(AdministratorRestartTest, TheHandOverNamesTheWindowThatWasRefused) {
  struct Case {
    void (AdministratorRestartTest::*refuse)();
    ToolWindow tool;
  };
  const Case cases[] = {
      {&AdministratorRestartTest::RefusedWizardApply, ToolWindow::WizardMode},
      {&AdministratorRestartTest::RefusedAdvancedApply, ToolWindow::NormalMode},
      {&AdministratorRestartTest::RefusedMainSettingsSave, ToolWindow::MainSettings},
      {&AdministratorRestartTest::RefusedRamSave, ToolWindow::RamConfiguration},
      {&AdministratorRestartTest::RefusedPingerSave, ToolWindow::NetPingerSettings},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(HandOverName(c.tool)));
    TearDown();
    SetUp();
    Start();
    (this->*c.refuse)();
    ASSERT_EQ(platform_->elevatedStarts.size(), 1u);
    EXPECT_EQ(ParseHandOver(platform_->elevatedStarts[0].parameters),
              (HandOver{static_cast<std::uint32_t>(GetCurrentProcessId()), c.tool}));
    EXPECT_EQ(platform_->elevatedStarts[0].owner, main_->hwnd());
    Pump();
    EXPECT_EQ(platform_->endedWith.size(), 1u);
    EXPECT_FALSE(main_->Tray1().IsVisible());
  }
}

TEST_F(AdministratorRestartTest, ADeclinedPromptLeavesEverythingAsItWas) {
  Start();
  platform_->startElevatedResult = ERROR_CANCELLED;
  RefusedRamSave();
  ExpectOneQuestion("Sound on");
  EXPECT_EQ(platform_->elevatedStarts.size(), 1u);
  EXPECT_EQ(platform_->messages.size(), 1u) << "declining is an answer, not a failure";
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Tool(ToolWindow::RamConfiguration), IDC_cmdSave)));
  ExpectRunningAsBefore();
}

TEST_F(AdministratorRestartTest, AStartThatFailsOtherwiseIsToldAndTheProgramGoesOn) {
  Start();
  platform_->startElevatedResult = ERROR_FILE_NOT_FOUND;
  RefusedWizardApply();
  ASSERT_EQ(platform_->messages.size(), 2u);
  EXPECT_EQ(platform_->messages[1].flags, kRefusalFlags);
  EXPECT_NE(platform_->messages[1].text.find("could not be started as administrator"), std::string::npos);
  ExpectRunningAsBefore();
}

// Elevated already, or a Windows without elevation: the refusal alone, as before.
TEST_F(AdministratorRestartTest, NoQuestionWhenElevatedOrOnWindowsWithoutElevation) {
  struct Case {
    const char* name;
    bool elevated;
    std::uint32_t platform, major, minor;
  };
  const Case cases[] = {
      {"elevated on 7", true, 2, 6, 1},
      {"XP", false, 2, 5, 1},
      {"Server 2003", false, 2, 5, 2},
      {"98", false, 1, 4, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    const ScopedReportedVersion version(c.platform, c.major, c.minor);
    platform_->elevated = c.elevated;
    Start();
    RefusedMainSettingsSave();
    ASSERT_EQ(platform_->messages.size(), 1u);
    EXPECT_EQ(platform_->messages[0].flags, kRefusalFlags);
    EXPECT_EQ(platform_->messages[0].text.find(kRestartAsAdministratorQuestion), std::string::npos);
    EXPECT_TRUE(platform_->elevatedStarts.empty());
    ExpectRunningAsBefore();
  }
}

TEST_F(AdministratorRestartTest, AboutSaysWhetherTarvixRunsWithAdministratorRights) {
  Start();
  EXPECT_EQ(main_->flash().RightsText(), kRunsStandardText);
  EXPECT_TRUE(main_->flash().ClippedTexts().empty());
  SendMessageA(main_->flash().ItemWindow("IDC_FS_about"), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(main_->flash().Screen(), MovieScreen::About);
  EXPECT_TRUE(test::SaveScreenshot(main_->hwnd(), "about-standard-rights.png"));
  TearDown();
  SetUp();
  platform_->elevated = true;
  Start();
  EXPECT_EQ(main_->flash().RightsText(), kRunsElevatedText);
  // The movie's own lines stay.
  EXPECT_FALSE(main_->flash().Script().about.lines.empty());
  TearDown();
  SetUp();
  const ScopedReportedVersion xp(2, 5, 1);
  Start();
  EXPECT_EQ(main_->flash().RightsText(), "");
}

// What main() does with "/open backup" once the old instance has ended; the
// window opens also when the program was set to start in the tray.
TEST_F(AdministratorRestartTest, TheHandedOverToolWindowOpensInTheShownMainWindow) {
  testing::StoreSetting(kMainSettingsSuffix, "chkRunProgramMini", "1");
  frmMain& main = Start();
  EXPECT_FALSE(IsWindowVisible(main.hwnd()));
  main.OpenHandedOverTool(ToolWindow::BackUp);
  EXPECT_TRUE(IsWindowVisible(main.hwnd()));
  EXPECT_TRUE(IsWindowVisible(Tool(ToolWindow::BackUp)));
  EXPECT_FALSE(main.MovieInFront());
  RECT area{};
  GetWindowRect(main.framChildWindow(), &area);
  EXPECT_EQ(area.right - area.left, kChildAreaWidth);
  EXPECT_EQ(area.bottom - area.top, CommandShowing(ToolWindow::BackUp)->childHeight);
}

}  // namespace
}  // namespace tarvix
