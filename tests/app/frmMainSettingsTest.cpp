// The program settings window against the redirected registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/AppPaths.h"
#include "app/frmMainSettings.h"
#include "registry/RegistryValues.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using testing::ReadText;
using W = frmMainSettings;

class MainSettingsTest : public testing::RegistryTest {
 protected:
  [[nodiscard]] HWND Item(int id) const { return GetDlgItem(window_.Window(), id); }
  [[nodiscard]] std::optional<std::string> Stored(const char* name) const {
    return ReadText(HKEY_LOCAL_MACHINE, SettingsSubKey(kMainSettingsSuffix), name);
  }
  [[nodiscard]] static std::optional<std::string> RunEntry() {
    return ReadWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName);
  }

  testing::FakePlatform platform_;
  test::FakeShell shell_;
  frmMainSettings window_{shell_};
};

// A standard user cannot write the settings key: Save says so once, the
// boxes keep their ticks and stay to be saved, and no Run entry is written
// that the next start would show as switched off.
TEST_F(MainSettingsTest, RefusedSaveTellsOnceKeepsTheChoicesAndWritesNoRunEntry) {
  testing::MakeKey(HKEY_LOCAL_MACHINE, SettingsSubKey(kMainSettingsSuffix));
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, SettingsSubKey(kMainSettingsSuffix));
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_chkRunMainProgram));
  test::Click(Item(W::IDC_chkRunProgramMini));
  test::Click(Item(W::IDC_cmdSave));
  ASSERT_EQ(platform_.messages.size(), 1u);
  const std::string& text = platform_.messages[0].text;
  EXPECT_EQ(platform_.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(text.find("Run Main Program when windows start up"), std::string::npos) << text;
  EXPECT_NE(text.find("Run Program In system tray"), std::string::npos) << text;
  EXPECT_NE(text.find("administrator"), std::string::npos) << text;
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkRunMainProgram)));
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkRunProgramMini)));
  EXPECT_TRUE(window_.SettingsChanged());
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdSave)));
  EXPECT_FALSE(RunEntry().has_value());
  EXPECT_FALSE(Stored("chkRunMainProgram").has_value());
}

TEST_F(MainSettingsTest, NothingStoredLoadsUncheckedWithoutRunEntryAndSaveDisabled) {
  ASSERT_TRUE(window_.Load());
  EXPECT_FALSE(IsChecked(Item(W::IDC_chkRunMainProgram)));
  EXPECT_FALSE(IsChecked(Item(W::IDC_chkRunProgramMini)));
  EXPECT_FALSE(window_.RunProgramMini());
  EXPECT_FALSE(RunEntry().has_value());
  EXPECT_FALSE(IsWindowEnabled(Item(W::IDC_cmdSave)));
  EXPECT_FALSE(window_.SettingsChanged());
  ASSERT_EQ(shell_.skinned.size(), 1u);
  EXPECT_EQ(shell_.skinned[0], window_.Window());
  EXPECT_EQ(WindowText(Item(W::IDC_chkRunMainProgram)), "Run Main Program when windows start up");
  EXPECT_EQ(WindowText(Item(W::IDC_chkRunProgramMini)), "Run Program In system tray");
  EXPECT_EQ(WindowText(Item(W::IDC_cmdSave)), "&Save");
}

TEST_F(MainSettingsTest, SavingWritesTheChoicesAndTheQuotedRunEntryThenRemovesIt) {
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_chkRunMainProgram));
  EXPECT_TRUE(window_.SettingsChanged());
  EXPECT_TRUE(IsWindowEnabled(Item(W::IDC_cmdSave)));
  test::Click(Item(W::IDC_cmdSave));
  EXPECT_FALSE(IsWindowEnabled(Item(W::IDC_cmdSave)));
  EXPECT_EQ(Stored("chkRunMainProgram").value_or(""), "1");
  EXPECT_EQ(Stored("chkRunProgramMini").value_or(""), "0");
  EXPECT_EQ(RunEntry().value_or(""), "\"" + ExecutablePath() + "\"");

  test::Click(Item(W::IDC_chkRunMainProgram));
  test::Click(Item(W::IDC_chkRunProgramMini));
  test::Click(Item(W::IDC_cmdSave));
  EXPECT_EQ(Stored("chkRunMainProgram").value_or(""), "0");
  EXPECT_EQ(Stored("chkRunProgramMini").value_or(""), "1");
  EXPECT_FALSE(RunEntry().has_value());
}

TEST_F(MainSettingsTest, LoadingRewritesTheRunEntryOfAMovedProgram) {
  SaveMachineSetting(SettingsSubKey(kMainSettingsSuffix), "chkRunMainProgram", "1");
  SaveMachineSetting(SettingsSubKey(kMainSettingsSuffix), "chkRunProgramMini", "1");
  WriteStringValue(HKEY_CURRENT_USER, kRunKey, kRunValueName, "C:\\Old Place\\Tarvix.exe");
  ASSERT_TRUE(window_.Load());
  EXPECT_TRUE(window_.RunProgramMini());
  EXPECT_EQ(RunEntry().value_or(""), RunEntryText(ExecutablePath()));
  EXPECT_FALSE(IsWindowEnabled(Item(W::IDC_cmdSave)));
}

// From start-up the window answers from the stored choices, with no box
// made; the first show ticks the boxes by them.
TEST_F(MainSettingsTest, AtStartUpTheChoicesComeFromTheStoreAndTheBoxesComeWithTheFirstShow) {
  SaveMachineSetting(SettingsSubKey(kMainSettingsSuffix), "chkRunMainProgram", "1");
  SaveMachineSetting(SettingsSubKey(kMainSettingsSuffix), "chkRunProgramMini", "1");
  WriteStringValue(HKEY_CURRENT_USER, kRunKey, kRunValueName, "C:\\Old Place\\Tarvix.exe");
  ASSERT_TRUE(window_.LoadAtStartup());
  EXPECT_EQ(Item(W::IDC_chkRunProgramMini), nullptr);
  EXPECT_TRUE(window_.RunProgramMini());
  EXPECT_EQ(RunEntry().value_or(""), RunEntryText(ExecutablePath()));
  ASSERT_TRUE(window_.Load());
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkRunMainProgram)));
  EXPECT_TRUE(IsChecked(Item(W::IDC_chkRunProgramMini)));
  EXPECT_FALSE(IsWindowEnabled(Item(W::IDC_cmdSave)));
}

TEST_F(MainSettingsTest, UnsavedChoicesStayOnScreenButAreNotStored) {
  ASSERT_TRUE(window_.Load());
  test::Click(Item(W::IDC_chkRunProgramMini));
  window_.Unload();
  EXPECT_FALSE(Stored("chkRunProgramMini").has_value());
  ASSERT_TRUE(window_.Load());
  EXPECT_FALSE(window_.RunProgramMini());
}

TEST(RunEntry, PathIsQuotedSoBlanksCannotStartAnotherProgram) {
  EXPECT_EQ(RunEntryText("C:\\Program Files\\Tarvix\\Tarvix.exe"), "\"C:\\Program Files\\Tarvix\\Tarvix.exe\"");
}

}  // namespace
}  // namespace tarvix
