// Tarvix in a folder named with Cyrillic, Chinese and Nordic letters, which
// no single ANSI code page holds: AppDir points at such a scratch folder and
// everything the program keeps beside itself is read, written, found, played
// and opened there by its real name.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "app/frmMainSettings.h"
#include "app/movie/MovieScript.h"
#include "app/skin/Skin.h"
#include "app/skin/SkinFile.h"
#include "backup/BackupFiles.h"
#include "backup/BackupFormat.h"
#include "backup/frmBackUp.h"
#include "base/AppPaths.h"
#include "base/OsDetect.h"
#include "base/Utf8.h"
#include "pinger/KeepAliveSchedule.h"
#include "registry/RegistryValues.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"
#include "ui/TrayTestSupport.h"

namespace tarvix {
namespace {

using testing::FileExists;
using testing::MessageRecord;
using testing::PutDword;
using testing::ReadDword;

constexpr const char* kFolder = "\\Åsa\\Программы\\Tarvix 测试";
constexpr const wchar_t* kWideFolder = L"\\\u00C5sa\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\Tarvix \u6D4B\u8BD5";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Copies a shipped file into AppDir under its own name.
void Ship(const char* name) {
  const std::string from = std::string(TARVIX_ASSETS_DIR) + name;
  ASSERT_TRUE(CopyFileW(ToWide(from).c_str(), ToWide(AppFile(name)).c_str(), FALSE)) << from;
}

class AnyFolderTest : public testing::RegistryTest {
 protected:
  void TearDown() override {
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }
  // The wide form of AppDir() + name, built from the wide letters, not by
  // converting AppDir(): what Windows must be handed.
  [[nodiscard]] std::wstring WideAppFile(const wchar_t* name) const {
    return ToWide(appDir_.path().substr(0, appDir_.path().size() - std::string(kFolder).size())) + kWideFolder +
           name;
  }

  testing::TempDir appDir_{true, kFolder};
  testing::FakePlatform platform_;
};

// The folder is really named so, and under an ANSI code page such as 1252 the
// ANSI calls cannot even find it; the test says which code page it ran under.
TEST_F(AnyFolderTest, TheFolderHasItsRealNameWhichAnsiCallsCannotReach) {
  std::printf("GetACP() = %u\n", GetACP());
  ASSERT_TRUE(EndsWith(ToWide(AppDir()), kWideFolder));
  const DWORD attributes = GetFileAttributesW(WideAppFile(L"").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  if (GetACP() != CP_UTF8) {
    EXPECT_EQ(GetFileAttributesA(AppDir().c_str()), INVALID_FILE_ATTRIBUTES) << "the ANSI call reached it";
  }
}

TEST_F(AnyFolderTest, MovieAndSkinAreReadFromIt) {
  Ship("\\Tarvix.movie");
  Ship("\\TarvixMask.skn");
  std::string error = "not read";
  (void)LoadMovieScript(AppFile(kMovieFileName), error);
  EXPECT_EQ(error, "") << "the built-in movie was taken instead";
  Skin skin;
  EXPECT_TRUE(skin.Load(AppFile(kSkinFileName))) << skin.LoadError();
  // A missing file is named by its real path in the reason.
  EXPECT_FALSE(skin.Load(AppFile("\\Missing.skn")));
  EXPECT_NE(skin.LoadError().find(AppFile("\\Missing.skn")), std::string::npos) << skin.LoadError();
}

// The name a row of the backup list shows, through the wide call.
std::wstring RowName(HWND list, int row) {
  wchar_t text[MAX_PATH] = {};
  LVITEMW item{};
  item.iSubItem = frmBackUp::kFileNameColumn;
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

void SelectRowNamed(HWND list, const std::wstring& name) {
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    if (RowName(list, row) == name) {
      ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      return;
    }
  }
  ADD_FAILURE() << "no row " << ToUtf8(name);
}

// Written, listed with their dates, restored and deleted through the window;
// a copy the user named in other letters is listed and restored by its name.
TEST_F(AnyFolderTest, BackupsAreWrittenListedRestoredAndDeletedThere) {
  OsFamily = kOsWindowsXP;
  PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 128);
  const BackupWriteResult first = WriteBackupFile();
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(ToWide(first.path), WideAppFile(L"\\Backups\\001.BCK"));
  EXPECT_NE(GetFileAttributesW(WideAppFile(L"\\Backups\\001.BCK").c_str()), INVALID_FILE_ATTRIBUTES);
  const std::string text = testing::ReadTextFile(first.path);
  ASSERT_TRUE(backup::Parse(text).contents) << text;
  EXPECT_NE(text.find("\"DefaultTTL\"\r\n128\r\n"), std::string::npos);
  PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 100);
  ASSERT_TRUE(WriteBackupFile().ok);
  const std::wstring copy = L"\u00C5sa \u6D4B\u8BD5 \u041A.BCK";
  ASSERT_TRUE(CopyFileW(WideAppFile(L"\\Backups\\002.BCK").c_str(), WideAppFile((L"\\Backups\\" + copy).c_str()).c_str(),
                        TRUE));
  std::vector<std::string> names = ListBackupFiles(BackupFolder());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"001.BCK", "002.BCK", ToUtf8(copy)}));

  test::FakeShell shell;
  frmBackUp form{shell};
  ASSERT_TRUE(form.Load());
  form.intializeList();
  const HWND list = GetDlgItem(form.Window(), frmBackUp::IDC_LSTBACKUPLIST);
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  for (int row = 0; row < 3; ++row) {
    char date[64] = {};
    ListView_GetItemText(list, row, frmBackUp::kDateColumn, date, static_cast<int>(sizeof date));
    EXPECT_NE(std::string(date), frmBackUp::kCannotBeRead) << ToUtf8(RowName(list, row));
    EXPECT_NE(std::string(date), frmBackUp::kNotABackup) << ToUtf8(RowName(list, row));
  }
  // Each restore is answered Yes by the recording platform.
  PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 64);
  SelectRowNamed(list, L"001.BCK");
  form.OnClick(frmBackUp::IDC_CMDRESTORE);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL").value_or(0), 128u);
  SelectRowNamed(list, copy);
  form.OnClick(frmBackUp::IDC_CMDRESTORE);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL").value_or(0), 100u) << "the copy was not restored";
  SelectRowNamed(list, copy);
  form.OnClick(frmBackUp::IDC_CMDDELETE);
  SelectRowNamed(list, L"002.BCK");
  form.OnClick(frmBackUp::IDC_CMDDELETE);
  EXPECT_EQ(ListBackupFiles(BackupFolder()), std::vector<std::string>{"001.BCK"});
  EXPECT_EQ(ListView_GetItemCount(list), 1);
  for (const MessageRecord& message : platform_.messages) {
    EXPECT_NE(message.flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR)) << message.text;
  }
  form.Unload();
}

// What the user is shown names the folder as it is: the text is UTF-8, and
// the box is shown through the wide call.
TEST_F(AnyFolderTest, MessagesShowTheRealPath) {
  OsFamily = kOsWindowsXP;
  ASSERT_TRUE(CreateDirectoryW(WideAppFile(L"\\Backups").c_str(), nullptr));
  testing::WriteTextFile(AppFile("\\Backups\\007.BCK"), "not a backup\r\n");
  (void)RestoreBackupFile(AppFile("\\Backups\\007.BCK"));
  ASSERT_EQ(platform_.messages.size(), 1u);
  const std::string& shown = platform_.messages[0].text;
  EXPECT_TRUE(IsUtf8(shown)) << shown;
  EXPECT_EQ(ToWide(shown).rfind(WideAppFile(L"\\Backups\\007.BCK"), 0), 0u) << shown;

  // A file where the folder should be: the reason names the folder.
  testing::RemoveTree(AppFile("\\Backups"));
  testing::WriteTextFile(AppFile("\\Backups"), "");
  const BackupWriteResult refused = WriteBackupFile();
  ASSERT_FALSE(refused.ok);
  EXPECT_NE(ToWide(refused.error).find(WideAppFile(L"\\Backups")), std::wstring::npos) << refused.error;
  EXPECT_TRUE(IsUtf8(refused.error));
}

TEST_F(AnyFolderTest, SoundAndHelpAreHandedTheRealPaths) {
  Ship("\\Ping.wav");
  KeepAliveSchedule schedule([] { return true; });
  schedule.SetPingFunction([](std::string_view, DWORD) { return true; });
  EXPECT_TRUE(schedule.PingNow());
  ASSERT_EQ(platform_.playedSounds.size(), 1u);
  EXPECT_EQ(ToWide(platform_.playedSounds[0]), WideAppFile(L"\\Ping.wav"));
  EXPECT_NE(GetFileAttributesW(ToWide(platform_.playedSounds[0]).c_str()), INVALID_FILE_ATTRIBUTES);

  testing::RecordingShell tray;
  frmMain main(tray);
  ASSERT_TRUE(main.Form_Load());
  main.FSCommand("IDC_FS_help", "");
  ASSERT_EQ(platform_.openedDocuments.size(), 1u);
  EXPECT_EQ(ToWide(platform_.openedDocuments[0]), WideAppFile(L"\\TarvixHelp.chm"));
  MSG f1{main.hwnd(), WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
  EXPECT_TRUE(main.PreTranslateMessage(f1));
  ASSERT_EQ(platform_.startedPrograms.size(), 1u);
  EXPECT_EQ(ToWide(platform_.startedPrograms[0]),
            L"hh.exe \"" + WideAppFile(L"\\TarvixHelp.chm") + L"::/index.htm\"");
}

// The Run entry holds the quoted path as Windows will read it: UTF-16 data
// of the real letters, read back the same through the program's reader.
TEST_F(AnyFolderTest, RunEntryHoldsTheRealPathAndReadsBack) {
  const std::string exe = AppFile("\\Tarvix.exe");
  ASSERT_EQ(SetWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName, RunEntryText(exe), false), ERROR_SUCCESS);
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, ToWide(kRunKey).c_str(), ToWide(kRunValueName).c_str(), RRF_RT_ANY,
                         &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(data), L"\"" + WideAppFile(L"\\Tarvix.exe") + L"\"");
  EXPECT_EQ(size, (std::wstring(data).size() + 1) * sizeof(wchar_t)) << "stored with its terminating zero";
  EXPECT_EQ(ReadWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName), RunEntryText(exe));

  EXPECT_EQ(SetWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName, "", true), ERROR_SUCCESS);
  EXPECT_FALSE(ReadWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName).has_value());
  // Not text: no path.
  testing::PutDword(HKEY_CURRENT_USER, std::string(kRunKey), std::string(kRunValueName), 1);
  EXPECT_FALSE(ReadWideTextValue(HKEY_CURRENT_USER, kRunKey, kRunValueName).has_value());
}

}  // namespace
}  // namespace tarvix
