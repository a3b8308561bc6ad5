// The wizard window: its options and summary, and "Optimize Now" writing a
// backup and the registry (redirected) and returning to the movie.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/OsDetect.h"
#include "backup/BackupFiles.h"
#include "backup/BackupFormat.h"
#include "optimizer/ModeSummary.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/frmWizardMode.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using testing::FileExists;
using testing::ReadDword;
using testing::ReadText;
using testing::Snapshot;
using W = frmWizardMode;

const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class WizardModeTest : public testing::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    LoadWizardPresets();
    CurrentParameters = {};
    OsFamily = kOsWindowsXP;
  }
  void TearDown() override {
    window_.Unload();
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }

  [[nodiscard]] HWND Item(int id) const { return GetDlgItem(window_.Window(), id); }
  [[nodiscard]] std::string Summary() const { return WindowText(Item(W::IDC_lblModeDescrip)); }
  [[nodiscard]] static std::string Backup(int number) {
    return BackupFolder() + "\\" + backup::FileNameForNumber(number).value_or("");
  }

  testing::TempDir appDir_;
  testing::FakePlatform platform_;
  test::FakeShell shell_;
  frmWizardMode window_{shell_};
};

TEST_F(WizardModeTest, LoadShowsTheEightModesWithAutomaticAChosen) {
  ASSERT_TRUE(window_.Load());
  ASSERT_EQ(shell_.skinned.size(), 1u);
  EXPECT_EQ(shell_.skinned[0], window_.Window());
  EXPECT_EQ(WindowText(Item(W::IDC_frameOptimizationMode)), "Optimization Modes");
  EXPECT_EQ(WindowText(Item(W::IDC_cmdOptimize)), "Optimize &Now");
  const char* captions[] = {"Automatic-A", "Automatic-B", "Automatic-C", "Automatic-D",
                            "Automatic-E", "Automatic-F", "Automatic-G", "Windows default"};
  for (int i = 0; i < W::kModeCount; ++i) {
    EXPECT_EQ(WindowText(Item(W::IDC_optMode0 + i)), captions[i]);
    EXPECT_EQ(IsChecked(Item(W::IDC_optMode0 + i)), i == 0);
  }
  EXPECT_EQ(CurrentParameters, WizardPresets[0]);
  EXPECT_EQ(Summary(), ModeSummaryText(WizardPresets[0]));
  EXPECT_EQ(Summary().substr(0, 40), "MSS = 536\tMTU = 576\t\tICMP = False\r\n\r\nNDI");
  // Loading writes nothing.
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), "");
  EXPECT_FALSE(FileExists(BackupFolder()));
}

TEST_F(WizardModeTest, EveryOptionCopiesItsPresetAndShowsItsSummary) {
  ASSERT_TRUE(window_.Load());
  for (int i = W::kModeCount - 1; i >= 0; --i) {
    SCOPED_TRACE(i);
    CurrentParameters.TTL = 999;  // overwritten as a whole
    test::Click(Item(W::IDC_optMode0 + i));
    EXPECT_TRUE(IsChecked(Item(W::IDC_optMode0 + i)));
    EXPECT_EQ(CurrentParameters, WizardPresets[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Summary(), ModeSummaryText(WizardPresets[static_cast<std::size_t>(i)]));
  }
  test::Click(Item(W::IDC_optMode0 + 7));
  EXPECT_NE(Summary().find("MSCPS0 = 2\t\tMSCPS1 = 4"), std::string::npos);
  EXPECT_NE(Summary().find("TTL= 32"), std::string::npos);
  EXPECT_NE(Summary().find("Keep Alive = 3600000"), std::string::npos);
  test::Click(Item(W::IDC_optMode0 + 2));
  EXPECT_NE(Summary().find("MSS = -1\tMTU = -1"), std::string::npos);
  EXPECT_NE(Summary().find("RWIN = -1\t"), std::string::npos);
  // The same option again copies the same preset; the text stays.
  const std::string before = Summary();
  CurrentParameters.MSS = 5;
  test::Click(Item(W::IDC_optMode0 + 2));
  EXPECT_EQ(CurrentParameters, WizardPresets[2]);
  EXPECT_EQ(Summary(), before);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(WizardModeTest, AModeOutsideTheEightIsRefusedWithAMessage) {
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optMode0 + 4));
  const NetworkParameterSet before = CurrentParameters;
  window_.optMode_Click(8);
  window_.optMode_Click(-1);
  EXPECT_EQ(CurrentParameters, before);
  EXPECT_EQ(Summary(), ModeSummaryText(before));
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_EQ(platform_.messages[0].text, "Error no such this mode");
  EXPECT_EQ(platform_.messages[0].title, "Tarvix");
  EXPECT_EQ(platform_.messages[0].flags, static_cast<UINT>(MB_OK));
}

TEST_F(WizardModeTest, OptimizeNowBacksUpWritesAndReturnsToTheMovie) {
  testing::MakeKey(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}");
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", 65535);
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 128);
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU", 1400);
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optMode0 + 5));  // Automatic-F
  test::Click(Item(W::IDC_cmdOptimize));

  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::Applied);
  EXPECT_EQ(window_.LastApply().refusedWrites, 0);
  EXPECT_EQ(shell_.returnsHome, 1);
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdOptimize)));
  EXPECT_TRUE(platform_.messages.empty());
  // The backup holds the values from before the apply.
  ASSERT_TRUE(FileExists(Backup(1)));
  EXPECT_EQ(window_.LastApply().backupPath, Backup(1));
  const std::string backup = testing::ReadTextFile(Backup(1));
  EXPECT_NE(backup.find("\"TcpWindowSize\"\r\n65535\r\n"), std::string::npos) << backup;
  EXPECT_NE(backup.find("\"DefaultTTL\"\r\n128\r\n"), std::string::npos) << backup;
  // Automatic-F on the NT family.
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 64u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"), 255552u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "GlobalMaxTcpWindowSize"), 255552u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "KeepAliveTime"), 7200000u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "SYNAttackProtect"), 2u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUDiscovery"), 1u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUBHDetect"), 0u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU"), 1492u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MSS"), 1452u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip", "MTU"), 1492u);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPer1_0Server"), 20u);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer"), 20u);
  // Applying leaves CurrentParameters as it was.
  EXPECT_EQ(CurrentParameters, WizardPresets[5]);

  // A second press: a second backup, the same values again.
  const std::string after = Snapshot(HKEY_LOCAL_MACHINE);
  test::Click(Item(W::IDC_cmdOptimize));
  EXPECT_TRUE(FileExists(Backup(2)));
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), after);
  EXPECT_EQ(shell_.returnsHome, 2);
}

TEST_F(WizardModeTest, AutomaticCDeletesWhatItLeavesToTheSystem) {
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", 65535);
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip, "GlobalMaxTcpWindowSize", 65535);
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU", 1400);
  testing::PutDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MSS", 1360);
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optMode0 + 2));
  test::Click(Item(W::IDC_cmdOptimize));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "GlobalMaxTcpWindowSize"));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU"));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MSS"));
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 128u);
  EXPECT_EQ(shell_.returnsHome, 1);
}

TEST_F(WizardModeTest, OnWindows98EveryValueIsText) {
  OsFamily = kOsWindows98;
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_cmdOptimize));  // Automatic-A, chosen at load
  const std::string mstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, mstcp, "DefaultTTL"), "128");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, mstcp, "DefaultRcvWindow"), "4288");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, mstcp, "PMTUDiscovery"), "1");
  EXPECT_TRUE(FileExists(Backup(1)));
  EXPECT_EQ(shell_.returnsHome, 1);
}

TEST_F(WizardModeTest, NoBackupMeansNoChangeAMessageAndTheWizardStaysInFront) {
  // A file where the backup folder belongs: no backup can be written.
  testing::WriteTextFile(BackupFolder(), "");
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optMode0 + 4));
  test::Click(Item(W::IDC_cmdOptimize));
  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::BackupFailed);
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), "");
  EXPECT_EQ(Snapshot(HKEY_CURRENT_USER), "");
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].title, "Tarvix");
  EXPECT_EQ(platform_.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(platform_.messages[0].text.find("backup folder"), std::string::npos);
  EXPECT_NE(platform_.messages[0].text.find("No network setting was changed"), std::string::npos);
  EXPECT_EQ(shell_.returnsHome, 0);
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdOptimize)));
}

TEST_F(WizardModeTest, RefusedWritesAreToldOnceAndTheRestIsWritten) {
  testing::MakeKey(HKEY_LOCAL_MACHINE, kTcpip);
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kTcpip);
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optMode0 + 4));
  test::Click(Item(W::IDC_cmdOptimize));
  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::Applied);
  EXPECT_EQ(window_.LastApply().refusedWrites, 13);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].title, "Tarvix");
  EXPECT_NE(platform_.messages[0].text.find("13 of 16"), std::string::npos);
  EXPECT_NE(platform_.messages[0].text.find("administrator"), std::string::npos);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer"), 20u);
  EXPECT_TRUE(FileExists(Backup(1)));
  EXPECT_EQ(shell_.returnsHome, 1);
}

TEST_F(WizardModeTest, TheChosenModeAndItsValuesPersistWhileHidden) {
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optMode0 + 6));
  ShowWindow(window_.Window(), SW_SHOW);
  ShowWindow(window_.Window(), SW_HIDE);
  EXPECT_TRUE(IsChecked(Item(W::IDC_optMode0 + 6)));
  EXPECT_EQ(CurrentParameters, WizardPresets[6]);
  // Loading again (the window exists) changes nothing.
  ASSERT_TRUE(window_.Load());
  EXPECT_EQ(CurrentParameters, WizardPresets[6]);
  EXPECT_EQ(shell_.skinned.size(), 1u);
}

}  // namespace
}  // namespace tarvix
