// The backup manager window, driven as a user drives it: rows selected in
// the list, header clicks, button clicks, and questions answered through the
// recording platform. AppDir is a scratch folder and the registry is
// redirected, so nothing of the machine is touched.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/OsDetect.h"
#include "backup/BackupFiles.h"
#include "backup/frmBackUp.h"
#include "backup/mListView.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"

namespace tarvix {
namespace {

using testing::FileExists;
using testing::PutDword;
using testing::ReadDword;
using testing::Snapshot;
using testing::WriteTextFile;

const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::string UserDate(int year, int month, int day) {
  SYSTEMTIME when{};
  when.wYear = static_cast<WORD>(year);
  when.wMonth = static_cast<WORD>(month);
  when.wDay = static_cast<WORD>(day);
  std::array<char, 128> text{};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text.data(), static_cast<int>(text.size()));
  return text.data();
}

std::string UserTime(int hour, int minute, int second) {
  SYSTEMTIME when{};
  when.wYear = 2026;
  when.wMonth = 1;
  when.wDay = 1;
  when.wHour = static_cast<WORD>(hour);
  when.wMinute = static_cast<WORD>(minute);
  when.wSecond = static_cast<WORD>(second);
  std::array<char, 128> text{};
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, text.data(), static_cast<int>(text.size()));
  return text.data();
}

class BackUpWindowTest : public testing::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    ASSERT_TRUE(form.Load());
  }
  void TearDown() override {
    form.Unload();
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }

  HWND List() const { return GetDlgItem(form.Window(), frmBackUp::IDC_LSTBACKUPLIST); }
  HWND RestoreButton() const { return GetDlgItem(form.Window(), frmBackUp::IDC_CMDRESTORE); }
  HWND DeleteButton() const { return GetDlgItem(form.Window(), frmBackUp::IDC_CMDDELETE); }
  bool ButtonsEnabled() const {
    const bool restore = IsWindowEnabled(RestoreButton()) != FALSE;
    EXPECT_EQ(restore, IsWindowEnabled(DeleteButton()) != FALSE) << "the two buttons go together";
    return restore;
  }
  int Rows() const { return ListView_GetItemCount(List()); }
  std::string Cell(int row, int column) const {
    std::array<char, 260> text{};
    ListView_GetItemText(List(), row, column, text.data(), static_cast<int>(text.size()));
    return text.data();
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> texts;
    for (int row = 0; row < Rows(); ++row) texts.push_back(Cell(row, column));
    return texts;
  }
  std::vector<std::string> Names() const { return Column(frmBackUp::kFileNameColumn); }
  int RowOf(const std::string& name) const {
    const auto names = Names();
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : static_cast<int>(at - names.begin());
  }
  int SelectedRow() const { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }
  // What a click on a row leaves behind: the row selected and focused.
  void Select(int row) {
    ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  // A left click in the middle of a column header.
  void ClickHeader(int column) {
    const HWND header = ListView_GetHeader(List());
    RECT box{};
    ASSERT_TRUE(Header_GetItemRect(header, column, &box));
    const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
    test::PumpMessages();
  }
  int SortArrow(int column) const {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(ListView_GetHeader(List()), column, &item);
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
  }
  std::string Backup(const std::string& name) const { return BackupFolder() + "\\" + name; }
  // A file with a backup's first three lines: all the list reads.
  void WriteHeaderFile(const std::string& name, const char* date, const char* time, int family = kOsWindowsXP) {
    CreateDirectoryA(BackupFolder().c_str(), nullptr);
    WriteTextFile(Backup(name), std::string("#") + date + "#\r\n#" + time + "#\r\n" + std::to_string(family) + "\r\n");
  }
  void SeedNt() {
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 128);
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", 64240);
    PutDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer", 2);
    testing::MakeKey(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}");
    PutDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU", 1400);
  }
  // What an apply does to the seeded values.
  void ChangeNt() {
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 64);
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "KeepAliveTime", 7200000);  // missing when the backup was taken
    PutDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer", 10);
    PutDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU", 576);
  }
  std::string Registry() const { return Snapshot(HKEY_LOCAL_MACHINE) + Snapshot(HKEY_CURRENT_USER); }
  void ExpectQuestion(std::size_t index, std::string_view text) const {
    ASSERT_GT(platform.messages.size(), index);
    EXPECT_EQ(platform.messages[index].text, text);
    EXPECT_EQ(platform.messages[index].title, "Tarvix");
    EXPECT_EQ(platform.messages[index].flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
  }

  testing::TempDir appDir;
  testing::FakePlatform platform;
  test::FakeShell shell;
  frmBackUp form{shell};
};

TEST_F(BackUpWindowTest, LoadsSkinnedWithThreeColumnsAndBothButtonsDisabled) {
  ASSERT_EQ(shell.skinned.size(), 1u);
  EXPECT_EQ(shell.skinned[0], form.Window());
  EXPECT_FALSE(IsWindowVisible(form.Window())) << "loaded hidden";
  RECT size{};
  GetClientRect(form.Window(), &size);
  EXPECT_EQ(size.right, 440);
  EXPECT_EQ(size.bottom, 246);
  EXPECT_EQ(GetParent(form.Window()), shell.ChildFrame());
  const HWND header = ListView_GetHeader(List());
  ASSERT_EQ(Header_GetItemCount(header), 3);
  const char* captions[] = {"File Name", "Creating Date", "Creating Time"};
  for (int column = 0; column < 3; ++column) {
    std::array<char, 64> text{};
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    Header_GetItem(header, column, &item);
    EXPECT_STREQ(text.data(), captions[column]);
  }
  EXPECT_NE(GetWindowLongA(List(), GWL_STYLE) & LVS_REPORT, 0);
  EXPECT_FALSE(ButtonsEnabled());
}

TEST_F(BackUpWindowTest, FirstShowingWithoutBackupsFolderMakesItAndListsNothing) {
  EXPECT_FALSE(FileExists(BackupFolder()));
  form.intializeList();
  EXPECT_TRUE(FileExists(BackupFolder()));
  EXPECT_EQ(Rows(), 0);
  EXPECT_FALSE(ButtonsEnabled());
}

// Good files, one held open by another program, an empty one and a foreign
// one, among files and a folder that are no backups: every .BCK file gets its
// row, in its own right, and the rest of the folder is still listed.
TEST_F(BackUpWindowTest, ListsGoodUnreadableAndForeignFiles) {
  WriteHeaderFile("001.BCK", "2026-12-07", "14:05:09");
  WriteHeaderFile("002.bck", "2025-01-31", "09:00:00", kOsWindows98);
  WriteHeaderFile("003.BCK", "2026-02-01", "00:30:05");
  WriteTextFile(Backup("004.BCK"), "");
  WriteTextFile(Backup("005.BCK"), "MZ\x90\x00 this is not a backup\r\n");
  WriteHeaderFile("006.BCK", "2026-12-07", "23:59:59");
  WriteTextFile(Backup("007.BCK"), "#2026-02-30#\r\n#10:00:00#\r\n7\r\n");
  WriteHeaderFile("notes.txt", "2026-12-07", "14:05:09");
  WriteTextFile(Backup("~backup.tmp"), "");
  CreateDirectoryA(Backup("folder.BCK").c_str(), nullptr);
  const HANDLE locked = CreateFileA(Backup("006.BCK").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  form.intializeList();
  CloseHandle(locked);

  auto names = Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"001.BCK", "002.BCK", "003.BCK", "004.BCK", "005.BCK", "006.BCK", "007.BCK"}));
  struct Expected {
    const char* name;
    std::string date;
    std::string time;
  };
  const Expected expected[] = {
      {"001.BCK", UserDate(2026, 12, 7), UserTime(14, 5, 9)},
      {"002.BCK", UserDate(2025, 1, 31), UserTime(9, 0, 0)},
      {"003.BCK", UserDate(2026, 2, 1), UserTime(0, 30, 5)},
      {"004.BCK", std::string(frmBackUp::kNotABackup), ""},
      {"005.BCK", std::string(frmBackUp::kNotABackup), ""},
      {"006.BCK", std::string(frmBackUp::kCannotBeRead), ""},
      {"007.BCK", std::string(frmBackUp::kNotABackup), ""},
  };
  for (const Expected& row : expected) {
    SCOPED_TRACE(row.name);
    const int at = RowOf(row.name);
    ASSERT_GE(at, 0);
    EXPECT_EQ(Cell(at, frmBackUp::kDateColumn), row.date);
    EXPECT_EQ(Cell(at, frmBackUp::kTimeColumn), row.time);
  }
  EXPECT_FALSE(ButtonsEnabled());
  std::array<char, 128> status{};
  GetWindowTextA(GetDlgItem(form.Window(), frmBackUp::IDC_LBLSTATUS), status.data(), 128);
  EXPECT_STREQ(status.data(), "7 backups, 4 not readable");

  // The file that was held open is read at the next showing.
  form.intializeList();
  EXPECT_EQ(Cell(RowOf("006.BCK"), frmBackUp::kDateColumn), UserDate(2026, 12, 7));
  EXPECT_EQ(Cell(RowOf("006.BCK"), frmBackUp::kTimeColumn), UserTime(23, 59, 59));
}

TEST_F(BackUpWindowTest, SelectingARowEnablesBothButtonsAndRebuildingDisablesThem) {
  WriteHeaderFile("001.BCK", "2026-12-07", "14:05:09");
  form.intializeList();
  EXPECT_FALSE(ButtonsEnabled());
  Select(0);
  EXPECT_TRUE(ButtonsEnabled());
  form.intializeList();
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(SelectedRow(), -1);
}

// Folder order, date order and time order all differ; two files share a
// date; one file is not a backup. A text sort would put 12/... before 2/...
// and 10 AM before 9 AM.
TEST_F(BackUpWindowTest, HeaderClicksSortByDateAndTimeBothWays) {
  WriteHeaderFile("001.BCK", "2026-12-07", "09:00:00");
  WriteHeaderFile("002.BCK", "2026-02-01", "23:15:00");
  WriteHeaderFile("003.BCK", "2025-12-31", "10:30:00");
  WriteHeaderFile("004.BCK", "2026-02-01", "08:00:00");
  WriteTextFile(Backup("005.BCK"), "foreign\r\n");
  WriteHeaderFile("006.BCK", "2026-11-30", "12:00:00");
  WriteHeaderFile("007.BCK", "2026-01-10", "00:30:00");
  form.intializeList();
  Select(RowOf("006.BCK"));

  const auto sameDateInEitherOrder = [](std::vector<std::string> names, std::size_t at) {
    if (names[at] == "004.BCK") std::swap(names[at], names[at + 1]);
    return names;
  };

  ClickHeader(frmBackUp::kDateColumn);
  EXPECT_EQ(sameDateInEitherOrder(Names(), 3),
            (std::vector<std::string>{"005.BCK", "003.BCK", "007.BCK", "002.BCK", "004.BCK", "006.BCK", "001.BCK"}));
  EXPECT_EQ(SortArrow(frmBackUp::kDateColumn), HDF_SORTUP);
  EXPECT_EQ(SortArrow(frmBackUp::kFileNameColumn), 0);
  EXPECT_EQ(mListView::SortColumn, 2);
  EXPECT_EQ(mListView::SortKind, mListView::kSortDateTime);
  EXPECT_EQ(Cell(SelectedRow(), 0), "006.BCK") << "the selection follows its row";
  EXPECT_TRUE(ButtonsEnabled());

  ClickHeader(frmBackUp::kDateColumn);
  EXPECT_EQ(sameDateInEitherOrder(Names(), 2),
            (std::vector<std::string>{"001.BCK", "006.BCK", "002.BCK", "004.BCK", "007.BCK", "003.BCK", "005.BCK"}));
  EXPECT_EQ(SortArrow(frmBackUp::kDateColumn), HDF_SORTDOWN);
  EXPECT_EQ(mListView::SortDirection, mListView::kSortDescending);

  // A new header starts ascending; times sort by the time of day alone.
  ClickHeader(frmBackUp::kTimeColumn);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"005.BCK", "007.BCK", "004.BCK", "001.BCK", "003.BCK", "006.BCK", "002.BCK"}));
  EXPECT_EQ(SortArrow(frmBackUp::kTimeColumn), HDF_SORTUP);
  EXPECT_EQ(SortArrow(frmBackUp::kDateColumn), 0);
  EXPECT_EQ(mListView::SortColumn, 3);
  ClickHeader(frmBackUp::kTimeColumn);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"002.BCK", "006.BCK", "003.BCK", "001.BCK", "004.BCK", "007.BCK", "005.BCK"}));

  // Back to the date header: ascending again, its earlier tag forgotten.
  ClickHeader(frmBackUp::kDateColumn);
  EXPECT_EQ(SortArrow(frmBackUp::kDateColumn), HDF_SORTUP);
  EXPECT_EQ(Names().front(), "005.BCK");

  // The name header: the list view's own sort by row text.
  ClickHeader(frmBackUp::kFileNameColumn);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"001.BCK", "002.BCK", "003.BCK", "004.BCK", "005.BCK", "006.BCK", "007.BCK"}));
  EXPECT_EQ(SortArrow(frmBackUp::kFileNameColumn), HDF_SORTUP);
  ClickHeader(frmBackUp::kFileNameColumn);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"007.BCK", "006.BCK", "005.BCK", "004.BCK", "003.BCK", "002.BCK", "001.BCK"}));
  EXPECT_EQ(SortArrow(frmBackUp::kFileNameColumn), HDF_SORTDOWN);
  EXPECT_TRUE(ButtonsEnabled());

  // A rebuild keeps the order the header shows; new files take their place in it.
  WriteHeaderFile("008.BCK", "2020-01-01", "01:00:00");
  form.intializeList();
  EXPECT_EQ(Names().front(), "008.BCK");
  EXPECT_EQ(Names().back(), "001.BCK");
  EXPECT_EQ(SortArrow(frmBackUp::kFileNameColumn), HDF_SORTDOWN);
}

TEST_F(BackUpWindowTest, DeletingTheLastRowEmptiesTheListAndDisablesBothButtons) {
  WriteHeaderFile("001.bck", "2026-12-07", "14:05:09");  // small letters: listed and deleted as 001.BCK
  form.intializeList();
  ASSERT_EQ(Names(), std::vector<std::string>{"001.BCK"});
  Select(0);
  ASSERT_TRUE(ButtonsEnabled());
  test::Click(DeleteButton());
  ExpectQuestion(0, frmBackUp::kDeleteQuestion);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_FALSE(FileExists(Backup("001.bck")));
  EXPECT_EQ(Rows(), 0);
  EXPECT_FALSE(ButtonsEnabled());
  std::array<char, 128> status{};
  GetWindowTextA(GetDlgItem(form.Window(), frmBackUp::IDC_LBLSTATUS), status.data(), 128);
  EXPECT_STREQ(status.data(), "No backups yet.");
}

TEST_F(BackUpWindowTest, DeletingARowThatLeavesRowsSelectsTheNextOne) {
  WriteHeaderFile("001.BCK", "2026-12-01", "10:00:00");
  WriteHeaderFile("002.BCK", "2026-12-02", "10:00:00");
  WriteHeaderFile("003.BCK", "2026-12-03", "10:00:00");
  form.intializeList();
  ClickHeader(frmBackUp::kFileNameColumn);
  Select(1);
  test::Click(DeleteButton());
  EXPECT_FALSE(FileExists(Backup("002.BCK")));
  EXPECT_EQ(Names(), (std::vector<std::string>{"001.BCK", "003.BCK"}));
  EXPECT_EQ(SelectedRow(), 1);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(GetFocus(), List());

  // The last row of several: the one before it is selected.
  test::Click(DeleteButton());
  EXPECT_EQ(Names(), std::vector<std::string>{"001.BCK"});
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(BackUpWindowTest, DeleteAnsweredNoDeletesNothing) {
  WriteHeaderFile("001.BCK", "2026-12-07", "14:05:09");
  form.intializeList();
  Select(0);
  platform.answers.push_back(IDNO);
  test::Click(DeleteButton());
  ExpectQuestion(0, frmBackUp::kDeleteQuestion);
  EXPECT_TRUE(FileExists(Backup("001.BCK")));
  EXPECT_EQ(Names(), std::vector<std::string>{"001.BCK"});
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(BackUpWindowTest, RestoreAnsweredYesWritesTheBackupsValuesBack) {
  SeedNt();
  OsFamily = kOsWindowsXP;
  ASSERT_TRUE(WriteBackupFile().ok);
  const std::string before = Registry();
  ChangeNt();
  ASSERT_NE(Registry(), before);

  form.intializeList();
  Select(0);
  test::Click(RestoreButton());
  ExpectQuestion(0, frmBackUp::kRestoreQuestion);
  EXPECT_EQ(platform.messages.size(), 1u) << platform.messages.back().text;
  EXPECT_EQ(Registry(), before);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 128u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "KeepAliveTime"), std::nullopt) << "missing then, deleted now";
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU"), 1400u);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer"), 2u);
  EXPECT_EQ(shell.returnsHome, 1) << "the movie returns home, as after an apply";
  EXPECT_EQ(Names(), std::vector<std::string>{"001.BCK"}) << "the file stays";
}

TEST_F(BackUpWindowTest, RestoreAnsweredNoWritesNothing) {
  SeedNt();
  OsFamily = kOsWindowsXP;
  ASSERT_TRUE(WriteBackupFile().ok);
  ChangeNt();
  const std::string changed = Registry();

  form.intializeList();
  Select(0);
  platform.answers.push_back(IDNO);
  test::Click(RestoreButton());
  ExpectQuestion(0, frmBackUp::kRestoreQuestion);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(Registry(), changed);
  EXPECT_EQ(shell.returnsHome, 0);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(BackUpWindowTest, RestoreOfAnotherFamilysFileSaysSoAndWritesNothing) {
  SeedNt();
  OsFamily = kOsWindows2000;
  ASSERT_TRUE(WriteBackupFile().ok);
  OsFamily = kOsWindowsXP;
  ChangeNt();
  const std::string changed = Registry();

  form.intializeList();
  Select(0);
  test::Click(RestoreButton());
  ExpectQuestion(0, frmBackUp::kRestoreQuestion);
  ASSERT_EQ(platform.messages.size(), 2u);
  const testing::MessageRecord& refusal = platform.messages[1];
  EXPECT_EQ(refusal.title, "Tarvix");
  EXPECT_EQ(refusal.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(refusal.text.find("This backup file was taken from another operating system!!"), std::string::npos)
      << refusal.text;
  EXPECT_NE(refusal.text.find(Backup("001.BCK")), std::string::npos) << "says which file";
  EXPECT_NE(refusal.text.find("Nothing was restored"), std::string::npos);
  EXPECT_EQ(Registry(), changed);
  EXPECT_EQ(shell.returnsHome, 0) << "the user stays to pick another file";
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(BackUpWindowTest, RestoreOfAFileCutOffWritesNothing) {
  SeedNt();
  OsFamily = kOsWindowsXP;
  ASSERT_TRUE(WriteBackupFile().ok);
  const std::string whole = testing::ReadTextFile(Backup("001.BCK"));
  WriteTextFile(Backup("001.BCK"), whole.substr(0, whole.rfind("\"MSS\"")));
  ChangeNt();
  const std::string changed = Registry();
  form.intializeList();
  Select(0);
  test::Click(RestoreButton());
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_NE(platform.messages[1].text.find("cut off"), std::string::npos) << platform.messages[1].text;
  EXPECT_EQ(Registry(), changed);
}

// D4.6: values Windows refuses to write are reported; the rest are written.
TEST_F(BackUpWindowTest, RestoreTellsTheUserOfWritesTheRegistryRefused) {
  SeedNt();
  OsFamily = kOsWindowsXP;
  ASSERT_TRUE(WriteBackupFile().ok);
  ChangeNt();
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}");

  form.intializeList();
  Select(0);
  test::Click(RestoreButton());
  ASSERT_EQ(platform.messages.size(), 2u);
  const testing::MessageRecord& report = platform.messages[1];
  EXPECT_EQ(report.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_NE(report.text.find("could not be written"), std::string::npos) << report.text;
  EXPECT_NE(report.text.find("administrator"), std::string::npos) << report.text;
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU"), 576u) << "refused";
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 128u) << "written";
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer"), 2u) << "written";
}

}  // namespace
}  // namespace tarvix
