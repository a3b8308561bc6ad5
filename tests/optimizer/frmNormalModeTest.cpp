// The advanced editor's window: its pages, the walk driven by its buttons,
// typing into its boxes, the SYN arrows and the NDI list, and Finish writing
// a backup and the registry (redirected) and returning to the movie.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/OsDetect.h"
#include "backup/BackupFiles.h"
#include "backup/BackupFormat.h"
#include "optimizer/AdvancedWalk.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/frmNormalMode.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using testing::FileExists;
using testing::ReadDword;
using testing::Snapshot;
using W = frmNormalMode;

const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInterface = kTcpip + "\\Interfaces\\{A}";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class NormalModeTest : public testing::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    LoadWizardPresets();
    CurrentParameters = WizardPresets[0];
    CurrentParameters.NDI = 32;
    OsFamily = kOsWindowsXP;
    testing::MakeKey(HKEY_LOCAL_MACHINE, kInterface);
  }
  void TearDown() override {
    window_.Unload();
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }

  [[nodiscard]] HWND Item(int id) const { return GetDlgItem(window_.Window(), id); }
  [[nodiscard]] std::string TextOf(int id) const { return WindowText(Item(id)); }
  // Shown by the window itself (its host stays hidden in these tests).
  [[nodiscard]] bool Shown(int id) const {
    return (GetWindowLongPtrA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  [[nodiscard]] bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  void Next() { test::Click(Item(W::IDC_cmdNextPage)); }
  void Back() { test::Click(Item(W::IDC_cmdPrevPage)); }
  void NextTo(int page) {
    while (window_.currWizardPage() < page) {
      const int before = window_.currWizardPage();
      Next();
      ASSERT_EQ(window_.currWizardPage(), before + 1);
    }
  }
  void Type(int id, const std::string& text) { test::TypeText(Item(id), text); }
  // The page whose frame and controls are visible, -1 when none or several.
  [[nodiscard]] int VisiblePage() const {
    int visible = -1;
    for (int page = 0; page < W::kPageCount; ++page) {
      if (!Shown(W::IDC_frmWizardPages0 + page)) continue;
      if (visible != -1) return -1;
      visible = page;
    }
    return visible;
  }
  [[nodiscard]] static std::string Backup(int number) {
    return BackupFolder() + "\\" + backup::FileNameForNumber(number).value_or("");
  }

  testing::TempDir appDir_;
  testing::FakePlatform platform_;
  test::FakeShell shell_;
  frmNormalMode window_{shell_};
};

TEST_F(NormalModeTest, LoadShowsPageZeroWithBackDisabled) {
  ASSERT_TRUE(window_.Load());
  ASSERT_EQ(shell_.skinned.size(), 1u);
  EXPECT_EQ(shell_.skinned[0], window_.Window());
  EXPECT_EQ(window_.currWizardPage(), 0);
  EXPECT_EQ(window_.ShownPage(), 0);
  EXPECT_EQ(VisiblePage(), 0);
  EXPECT_EQ(TextOf(W::IDC_frameAdvancedMode), "Normal Mode");
  for (int page = 0; page < W::kPageCount; ++page) {
    EXPECT_EQ(TextOf(W::IDC_frmWizardPages0 + page), advanced::kPageCaptions[static_cast<std::size_t>(page)]);
  }
  EXPECT_EQ(TextOf(W::IDC_frameConnType), "Connection Type");
  const char* types[] = {"Dial Up Connection (Modem).", "Cable Modem.", "Digital  Subscriber Line (DSL).",
                         "LAN Connection(Ethernet)."};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(TextOf(W::IDC_optConnType0 + i), types[i]);
    EXPECT_TRUE(Shown(W::IDC_optConnType0 + i));
    EXPECT_EQ(IsChecked(Item(W::IDC_optConnType0 + i)), i == 0);
  }
  EXPECT_FALSE(Shown(W::IDC_txtMTUValue));
  EXPECT_FALSE(Shown(W::IDC_cmbNDI));
  EXPECT_FALSE(Shown(W::IDC_updwnDescision));
  EXPECT_TRUE(Shown(W::IDC_cmdNextPage));
  EXPECT_TRUE(Shown(W::IDC_cmdPrevPage));
  EXPECT_EQ(TextOf(W::IDC_cmdPrevPage), "<<Back");
  EXPECT_FALSE(Enabled(W::IDC_cmdPrevPage));
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Next>>");
  EXPECT_TRUE(Enabled(W::IDC_cmdNextPage));
  // Initial texts of the boxes.
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "576");
  EXPECT_EQ(TextOf(W::IDC_txtMSSValue), "536");
  EXPECT_EQ(TextOf(W::IDC_txtScaleFactor), "4");
  EXPECT_EQ(TextOf(W::IDC_txtTTLValue), "64");
  EXPECT_EQ(TextOf(W::IDC_txtHTTP10Value), "20");
  EXPECT_EQ(TextOf(W::IDC_txtHTTP11Value), "20");
  EXPECT_EQ(TextOf(W::IDC_txtKeepAliveTimeValue), "7200000");
  EXPECT_EQ(TextOf(W::IDC_txtKeepAliveIntervalValue), "1000");
  EXPECT_EQ(TextOf(W::IDC_txtSYNValue), "2");
  EXPECT_EQ(TextOf(W::IDC_chkBlackHoleValue), "Enable It?");
  EXPECT_EQ(TextOf(W::IDC_chkMTUDisconver), "Disable it??");
  EXPECT_EQ(TextOf(W::IDC_chkICMPValue), "Enable It?");
  // Display-only boxes cannot be typed into.
  for (const int id : {W::IDC_txtMSSRWINValue, W::IDC_txtScaleFactor, W::IDC_txtRWIN, W::IDC_txtSYNValue}) {
    EXPECT_NE(GetWindowLongPtrA(Item(id), GWL_STYLE) & ES_READONLY, 0) << id;
  }
  EXPECT_EQ(GetWindowLongPtrA(Item(W::IDC_txtMultiplier), GWL_STYLE) & ES_READONLY, 0);
  // The NDI list, its first item chosen: NDI becomes 0.
  const HWND combo = Item(W::IDC_cmbNDI);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 7);
  const char* items[] = {"0", "2", "4", "8", "16", "32", "64"};
  for (int i = 0; i < 7; ++i) {
    char item[8] = {};
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, items[i]);
  }
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(CurrentParameters.NDI, 0);
  // Nothing else of CurrentParameters changes at load, and nothing is written.
  NetworkParameterSet expected = WizardPresets[0];
  expected.NDI = 0;
  EXPECT_EQ(CurrentParameters, expected);
  EXPECT_FALSE(FileExists(BackupFolder()));
}

TEST_F(NormalModeTest, DslWalkShowsEachPageAndFinishApplies) {
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optConnType0 + 2));
  EXPECT_EQ(window_.connectionType(), 2);

  Next();
  EXPECT_EQ(window_.currWizardPage(), 1);
  EXPECT_EQ(VisiblePage(), 1);
  EXPECT_FALSE(Shown(W::IDC_optConnType0));
  EXPECT_TRUE(Shown(W::IDC_txtMTUValue));
  EXPECT_TRUE(Enabled(W::IDC_cmdPrevPage));
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "1492");
  EXPECT_EQ(TextOf(W::IDC_lblMTURecValue), "1492 Byte");
  EXPECT_EQ(TextOf(W::IDC_txtMSSValue), "1452");
  EXPECT_EQ(TextOf(W::IDC_lblMSSRecVaklue), "1452Byte");

  Next();
  EXPECT_EQ(VisiblePage(), 2);
  EXPECT_TRUE(Shown(W::IDC_chkBlackHoleValue));
  EXPECT_FALSE(IsChecked(Item(W::IDC_chkBlackHoleValue)));
  EXPECT_FALSE(IsChecked(Item(W::IDC_chkMTUDisconver)));

  Next();
  EXPECT_EQ(VisiblePage(), 3);
  EXPECT_EQ(TextOf(W::IDC_txtMSSRWINValue), "1452");
  EXPECT_EQ(TextOf(W::IDC_txtMultiplier), "44");
  EXPECT_EQ(TextOf(W::IDC_txtScaleFactor), "4");
  EXPECT_EQ(TextOf(W::IDC_txtRWIN), "255552");
  EXPECT_EQ(TextOf(W::IDC_lblRWINRecValue), "255552Bytes");

  NextTo(6);
  EXPECT_EQ(VisiblePage(), 6);
  EXPECT_TRUE(Shown(W::IDC_cmbNDI));
  EXPECT_TRUE(Shown(W::IDC_updwnDescision));
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Next>>");
  Next();
  EXPECT_EQ(VisiblePage(), 7);
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Finish");
  EXPECT_EQ(shell_.returnsHome, 0);
  EXPECT_FALSE(FileExists(BackupFolder()));

  Next();  // Finish
  EXPECT_EQ(window_.currWizardPage(), 8);
  EXPECT_EQ(VisiblePage(), 7);
  EXPECT_FALSE(Enabled(W::IDC_cmdNextPage));
  EXPECT_TRUE(Enabled(W::IDC_cmdPrevPage));
  EXPECT_EQ(shell_.returnsHome, 1);
  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::Applied);
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_TRUE(FileExists(Backup(1)));

  NetworkParameterSet expected;
  expected.MTU = 1492;
  expected.MSS = 1452;
  expected.RWIN = 255552;
  expected.TTL = 64;
  expected.KeepAliveTime = 7200000;
  expected.KeepAliveInterval = 1000;
  expected.SYN = 2;
  expected.NDI = 0;
  expected.MTUDiscovery = kVbTrue;
  expected.BlackHole = kVbFalse;
  expected.MSCPS0 = 20;
  expected.MSCPS1 = 20;
  expected.ICMP = kVbFalse;
  EXPECT_EQ(CurrentParameters, expected);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 64u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"), 255552u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "GlobalMaxTcpWindowSize"), 255552u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "SYNAttackProtect"), 2u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnableICMPRedirects"), 0u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUDiscovery"), 1u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "KeepAliveTime"), 7200000u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterface, "MTU"), 1492u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterface, "MSS"), 1452u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", ""), 0u);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPer1_0Server"), 20u);
}

TEST_F(NormalModeTest, EveryConnectionTypeThroughTheWindow) {
  struct Case {
    int type;
    std::int32_t mtu, mss, rwin;
    const char* label;
  };
  const Case cases[] = {{0, 576, 536, 6432, "6432Bytes"},
                        {1, 1500, 1460, 256960, "256960Bytes"},
                        {2, 1492, 1452, 255552, "255552Bytes"},
                        {3, 1500, 1460, 256960, "256960Bytes"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    window_.Unload();
    ASSERT_TRUE(window_.Load());
    test::Click(Item(W::IDC_optConnType0 + c.type));
    NextTo(3);
    EXPECT_EQ(TextOf(W::IDC_lblRWINRecValue), c.label);
    NextTo(7);
    Next();
    EXPECT_EQ(window_.currWizardPage(), 8);
    EXPECT_EQ(CurrentParameters.MTU, c.mtu);
    EXPECT_EQ(CurrentParameters.MSS, c.mss);
    EXPECT_EQ(CurrentParameters.RWIN, c.rwin);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"), static_cast<DWORD>(c.rwin));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterface, "MSS"), static_cast<DWORD>(c.mss));
  }
  EXPECT_EQ(shell_.returnsHome, 4);
  EXPECT_TRUE(FileExists(Backup(4)));
}

TEST_F(NormalModeTest, TypingIsCheckedAgainstTheFieldAndRevertedSilently) {
  ASSERT_TRUE(window_.Load());
  NextTo(1);
  Type(W::IDC_txtMTUValue, "-5");
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "576");
  Type(W::IDC_txtMTUValue, "abc");
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "576");
  Type(W::IDC_txtMTUValue, "1400");
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "1400");
  EXPECT_EQ(CurrentParameters.MTU, 576);  // typing never changes the field
  NextTo(4);
  Type(W::IDC_txtTTLValue, "255");
  EXPECT_EQ(TextOf(W::IDC_txtTTLValue), "255");
  Type(W::IDC_txtTTLValue, "256");
  EXPECT_EQ(TextOf(W::IDC_txtTTLValue), "64");
  Type(W::IDC_txtTTLValue, "0");
  EXPECT_EQ(TextOf(W::IDC_txtTTLValue), "64");
  Type(W::IDC_txtTTLValue, "");
  EXPECT_EQ(TextOf(W::IDC_txtTTLValue), "64");
  Type(W::IDC_txtHTTP10Value, "3");
  EXPECT_EQ(TextOf(W::IDC_txtHTTP10Value), "20");
  Type(W::IDC_txtHTTP11Value, "2");
  EXPECT_EQ(TextOf(W::IDC_txtHTTP11Value), "2");
  NextTo(5);
  Type(W::IDC_txtKeepAliveTimeValue, "-1");
  EXPECT_EQ(TextOf(W::IDC_txtKeepAliveTimeValue), "7200000");
  Type(W::IDC_txtKeepAliveIntervalValue, "x1");
  EXPECT_EQ(TextOf(W::IDC_txtKeepAliveIntervalValue), "1000");
  EXPECT_TRUE(platform_.messages.empty());
  NextTo(7);
  Next();
  EXPECT_EQ(CurrentParameters.MTU, 1400);
  EXPECT_EQ(CurrentParameters.TTL, 64);
  EXPECT_EQ(CurrentParameters.MSCPS1, 2);
}

TEST_F(NormalModeTest, TypedMssIsStoredWhileTheWindowUsesTheMssOfPageOne) {
  ASSERT_TRUE(window_.Load());
  NextTo(1);
  Type(W::IDC_txtMSSValue, "1400");
  NextTo(3);
  EXPECT_EQ(TextOf(W::IDC_txtMSSRWINValue), "536");
  EXPECT_EQ(TextOf(W::IDC_txtRWIN), "6432");
  EXPECT_EQ(TextOf(W::IDC_lblRWINRecValue), "6432Bytes");
  NextTo(7);
  Next();
  EXPECT_EQ(CurrentParameters.MSS, 1400);
  EXPECT_EQ(CurrentParameters.RWIN, 6432);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kInterface, "MSS"), 1400u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize"), 6432u);
}

TEST_F(NormalModeTest, MultiplierFallsBackAndFinishReadsTheWindowBox) {
  ASSERT_TRUE(window_.Load());
  NextTo(3);
  Type(W::IDC_txtMultiplier, "0");
  EXPECT_EQ(TextOf(W::IDC_txtMultiplier), "3");
  EXPECT_EQ(TextOf(W::IDC_txtRWIN), "6432");
  Type(W::IDC_txtMultiplier, "99999999");
  EXPECT_EQ(TextOf(W::IDC_txtMultiplier), "3");
  Type(W::IDC_txtMultiplier, "0.5");
  EXPECT_EQ(TextOf(W::IDC_txtMultiplier), "0.5");
  EXPECT_EQ(TextOf(W::IDC_txtRWIN), "1072");
  EXPECT_EQ(TextOf(W::IDC_lblRWINRecValue), "6432Bytes");
  EXPECT_EQ(CurrentParameters.RWIN, 6432);
  NextTo(7);
  Next();
  EXPECT_EQ(CurrentParameters.RWIN, 1072);
}

TEST_F(NormalModeTest, BlackHoleCheckedThenBackAndNextIsFalseAgain) {
  ASSERT_TRUE(window_.Load());
  NextTo(2);
  test::Click(Item(W::IDC_chkBlackHoleValue));
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkBlackHoleValue)));
  EXPECT_EQ(CurrentParameters.BlackHole, kVbTrue);
  test::Click(Item(W::IDC_chkMTUDisconver));
  EXPECT_EQ(CurrentParameters.MTUDiscovery, kVbFalse);
  Back();
  EXPECT_EQ(VisiblePage(), 1);
  Next();
  EXPECT_EQ(CurrentParameters.BlackHole, kVbFalse);
  EXPECT_EQ(CurrentParameters.MTUDiscovery, kVbTrue);
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkBlackHoleValue)));
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkMTUDisconver)));
  NextTo(7);
  test::Click(Item(W::IDC_chkICMPValue));
  EXPECT_EQ(CurrentParameters.ICMP, kVbTrue);
  Next();
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUBHDetect"), 0u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "EnableICMPRedirects"), 1u);
}

TEST_F(NormalModeTest, SynArrowsStepBetweenZeroAndTwoAndTheNdiListSetsNdi) {
  ASSERT_TRUE(window_.Load());
  NextTo(6);
  const HWND syn = Item(W::IDC_txtSYNValue);
  const HWND arrows = Item(W::IDC_updwnDescision);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)), syn);
  const auto press = [&](WPARAM key) {
    SendMessageA(syn, WM_KEYDOWN, key, 0);
    SendMessageA(syn, WM_KEYUP, key, 0);
    test::PumpMessages();
  };
  press(VK_DOWN);
  EXPECT_EQ(WindowText(syn), "1");
  EXPECT_EQ(CurrentParameters.SYN, 1);
  press(VK_DOWN);
  press(VK_DOWN);
  EXPECT_EQ(WindowText(syn), "0");
  EXPECT_EQ(CurrentParameters.SYN, 0);
  press(VK_UP);
  press(VK_UP);
  press(VK_UP);
  EXPECT_EQ(WindowText(syn), "2");
  EXPECT_EQ(CurrentParameters.SYN, 2);
  press(VK_DOWN);
  ASSERT_EQ(CurrentParameters.SYN, 1);

  const HWND combo = Item(W::IDC_cmbNDI);
  SendMessageA(combo, CB_SETCURSEL, 5, 0);
  SendMessageA(window_.Window(), WM_COMMAND, MAKEWPARAM(W::IDC_cmbNDI, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(CurrentParameters.NDI, 32);
  NextTo(7);
  Next();
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "SYNAttackProtect"), 1u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", ""), 32u);
}

TEST_F(NormalModeTest, BackFromPageSevenAndAfterFinish) {
  ASSERT_TRUE(window_.Load());
  NextTo(7);
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Finish");
  Back();
  EXPECT_EQ(window_.currWizardPage(), 6);
  EXPECT_EQ(VisiblePage(), 6);
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Next>>");
  Next();
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Finish");
  Next();
  ASSERT_EQ(window_.currWizardPage(), 8);
  ASSERT_FALSE(Enabled(W::IDC_cmdNextPage));
  Next();  // disabled: nothing happens
  EXPECT_EQ(shell_.returnsHome, 1);
  EXPECT_FALSE(FileExists(Backup(2)));
  Back();
  EXPECT_EQ(window_.currWizardPage(), 7);
  EXPECT_EQ(VisiblePage(), 7);
  EXPECT_TRUE(Enabled(W::IDC_cmdNextPage));
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Next>>");
  Next();  // finishes again: a second backup and apply
  EXPECT_EQ(window_.currWizardPage(), 8);
  EXPECT_EQ(shell_.returnsHome, 2);
  EXPECT_TRUE(FileExists(Backup(2)));
  // Back all the way: Back disabled on page 0.
  for (int page = 7; page >= 0; --page) {
    Back();
    EXPECT_EQ(window_.currWizardPage(), page);
  }
  EXPECT_EQ(VisiblePage(), 0);
  EXPECT_FALSE(Enabled(W::IDC_cmdPrevPage));
}

TEST_F(NormalModeTest, ReopeningStartsAtPageZeroAndKeepsTheConnectionType) {
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_optConnType0 + 1));
  NextTo(5);
  Type(W::IDC_txtKeepAliveTimeValue, "5000");
  window_.Unload();
  EXPECT_EQ(window_.Window(), nullptr);
  EXPECT_EQ(window_.connectionType(), 1);

  ASSERT_TRUE(window_.Load());
  EXPECT_EQ(window_.currWizardPage(), 0);
  EXPECT_EQ(VisiblePage(), 0);
  EXPECT_FALSE(Enabled(W::IDC_cmdPrevPage));
  EXPECT_TRUE(Enabled(W::IDC_cmdNextPage));
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Next>>");
  EXPECT_EQ(TextOf(W::IDC_txtKeepAliveTimeValue), "7200000");
  EXPECT_EQ(TextOf(W::IDC_txtMultiplier), "");
  EXPECT_EQ(shell_.skinned.size(), 2u);
  // The kept choice is shown chosen, and the next pages use it.
  EXPECT_TRUE(IsChecked(Item(W::IDC_optConnType0 + 1)));
  EXPECT_FALSE(IsChecked(Item(W::IDC_optConnType0)));
  EXPECT_EQ(window_.connectionType(), 1);
  Next();
  EXPECT_EQ(TextOf(W::IDC_txtMTUValue), "1500");

  // Also after Finish: a new opening is at page 0 with Next enabled.
  NextTo(7);
  Next();
  ASSERT_EQ(window_.currWizardPage(), 8);
  window_.Unload();
  ASSERT_TRUE(window_.Load());
  EXPECT_EQ(window_.currWizardPage(), 0);
  EXPECT_TRUE(Enabled(W::IDC_cmdNextPage));
  EXPECT_TRUE(IsChecked(Item(W::IDC_optConnType0 + 1)));
}

TEST_F(NormalModeTest, NoBackupMeansNoChangeAndFinishCanBeTriedAgain) {
  // A file where the backup folder belongs: no backup can be written.
  testing::WriteTextFile(BackupFolder(), "");
  const std::string before = Snapshot(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(window_.Load());
  NextTo(7);
  Next();
  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::BackupFailed);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].title, "Tarvix");
  EXPECT_EQ(platform_.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(platform_.messages[0].text.find("No network setting was changed"), std::string::npos);
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), before);
  EXPECT_EQ(Snapshot(HKEY_CURRENT_USER), "");
  EXPECT_EQ(shell_.returnsHome, 0);
  EXPECT_EQ(window_.currWizardPage(), 7);
  EXPECT_EQ(VisiblePage(), 7);
  EXPECT_TRUE(Enabled(W::IDC_cmdNextPage));
  EXPECT_EQ(TextOf(W::IDC_cmdNextPage), "Finish");

  ASSERT_TRUE(DeleteFileA(BackupFolder().c_str()));
  Next();
  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::Applied);
  EXPECT_TRUE(FileExists(Backup(1)));
  EXPECT_EQ(shell_.returnsHome, 1);
  EXPECT_EQ(platform_.messages.size(), 1u);
}

TEST_F(NormalModeTest, RefusedWritesAreToldOnce) {
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kInterface);
  ASSERT_TRUE(window_.Load());
  NextTo(7);
  Next();
  EXPECT_EQ(window_.LastApply().status, ApplyOutcome::Status::Applied);
  EXPECT_EQ(window_.LastApply().refusedWrites, 2);  // MTU and MSS in the interface key
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].title, "Tarvix");
  EXPECT_NE(platform_.messages[0].text.find("2 of 20"), std::string::npos) << platform_.messages[0].text;
  EXPECT_NE(platform_.messages[0].text.find("administrator"), std::string::npos);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 64u);
  EXPECT_EQ(shell_.returnsHome, 1);
}

}  // namespace
}  // namespace tarvix
