#include <gtest/gtest.h>

#include <functional>

#include "base/OsDetect.h"
#include "backup/BackupFiles.h"
#include "optimizer/ApplyNetworkSettings.h"
#include "optimizer/NetworkParameters.h"
#include "registry/RegKey.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"

namespace tarvix {
namespace {

using testing::FileExists;
using testing::PutDword;
using testing::PutText;
using testing::ReadTextFile;
using testing::Snapshot;
using testing::WriteTextFile;

const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";

class BackupFilesTest : public testing::RegistryTest {
 protected:
  void TearDown() override {
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }
  std::string Backup(const char* name) const { return BackupFolder() + "\\" + name; }

  // A machine as it may be found: some values set, some missing, extremes.
  void SeedNt() {
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 128);
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "TcpWindowSize", 0xFFFFFFFFu);
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "SackOpts", 0);
    PutDword(HKEY_LOCAL_MACHINE, kTcpip, "EnablePMTUBHDetect", 2);
    PutDword(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPerServer", 2);
    for (const char* name : {"{A}", "{B}"}) {
      testing::MakeKey(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\" + name);
    }
    PutDword(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}", "MTU", 1400);
    PutDword(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\{B}\\Parameters\\Tcpip", "MSS", 1300);
  }
  void Seed9x() {
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL", "32");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "PMTUDiscovery", "0");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow", "4294967295");
    PutText(HKEY_CURRENT_USER, kInternet, "MaxConnectionsPer1_0Server", "4");
    testing::MakeKey(HKEY_LOCAL_MACHINE, kNetTrans + "\\0000");
    PutText(HKEY_LOCAL_MACHINE, kNetTrans + "\\0001", "MaxMTU", "1500");
  }

  testing::TempDir appDir;
  testing::FakePlatform platform;
};

TEST_F(BackupFilesTest, NumbersFollowTheHighestFile) {
  EXPECT_FALSE(FileExists(BackupFolder()));
  EXPECT_EQ(NextBackupPath().path, Backup("001.BCK"));
  EXPECT_TRUE(FileExists(BackupFolder()));
  WriteTextFile(Backup("001.BCK"), "");
  WriteTextFile(Backup("005.BCK"), "");
  WriteTextFile(Backup("old.BCK"), "");
  WriteTextFile(Backup("777.txt"), "");
  EXPECT_EQ(NextBackupPath().path, Backup("006.BCK"));
  DeleteFileA(Backup("005.BCK").c_str());
  EXPECT_EQ(NextBackupPath().path, Backup("002.BCK"));  // a deleted highest number is used again
  WriteTextFile(Backup("998.BCK"), "");
  EXPECT_EQ(NextBackupPath().path, Backup("999.BCK"));
  WriteTextFile(Backup("999.BCK"), "");
  EXPECT_EQ(NextBackupPath().path, Backup("002.BCK"));  // past 999: the lowest free number
}

// Only when all 999 names exist is an apply refused, and then it changes
// nothing and says why.
TEST_F(BackupFilesTest, AllNumbersTakenRefusesTheApplyPlainly) {
  ASSERT_FALSE(NextBackupPath().path.empty());
  for (int n = 1; n <= backup::kHighestNumber; ++n) {
    if (n != 321) WriteTextFile(Backup(backup::FileNameForNumber(n)->c_str()), "");
  }
  EXPECT_EQ(NextBackupPath().path, Backup("321.BCK"));
  WriteTextFile(Backup("321.BCK"), "");
  SeedNt();
  const std::string before = Snapshot(HKEY_LOCAL_MACHINE);
  OsFamily = kOsWindowsXP;
  LoadWizardPresets();
  CurrentParameters = WizardPresets[0];
  EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::BackupFailed);
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), before);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("All 999 backup names"), std::string::npos) << platform.messages[0].text;
  EXPECT_NE(platform.messages[0].text.find("No network setting was changed"), std::string::npos);
}

TEST_F(BackupFilesTest, RecordsCurrentValuesWithMissingOnesMarked) {
  SeedNt();
  OsFamily = kOsWindowsXP;
  const BackupWriteResult written = WriteBackupFile();
  ASSERT_TRUE(written.ok) << written.error;
  EXPECT_EQ(written.path, Backup("001.BCK"));
  const std::string text = ReadTextFile(written.path);
  const auto parsed = backup::Parse(text);
  ASSERT_TRUE(parsed.contents) << parsed.error;
  EXPECT_EQ(parsed.contents->family, kOsWindowsXP);
  EXPECT_NE(text.find("\r\n7\r\n\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\"\r\n\"SackOpts\"\r\n0\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\"DefaultTTL\"\r\n128\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"TcpWindowSize\"\r\n4294967295\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"KeepAliveTime\"\r\nMissing\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A}\"\r\n\"MTU\"\r\n1400\r\n"
                      "\"MSS\"\r\nMissing\r\n\"SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip\"\r\n"),
            std::string::npos);
  EXPECT_EQ(parsed.contents->groups.size(), 7u);  // 3 fixed, 2 for each interface
  EXPECT_FALSE(FileExists(BackupFolder() + "\\~backup.tmp"));
}

TEST_F(BackupFilesTest, StringValuesAreRecordedByTheirNumber) {
  Seed9x();
  PutText(HKEY_LOCAL_MACHINE, kMstcp, "KeepAliveTime", "soon");
  OsFamily = kOsWindows98;
  const BackupWriteResult written = WriteBackupFile();
  ASSERT_TRUE(written.ok) << written.error;
  const std::string text = ReadTextFile(written.path);
  EXPECT_NE(text.find("\"DefaultTTL\"\r\n32\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"DefaultRcvWindow\"\r\n4294967295\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"KeepAliveTime\"\r\nMissing\r\n"), std::string::npos);
  EXPECT_NE(text.find("NetTrans\\0001\"\r\n\"MaxMTU\"\r\n1500\r\n\"MaxMSS\"\r\nMissing\r\n"), std::string::npos);
}

// One whole file per family, field by field: the layout a restore and older
// copies of the program rely on.
TEST_F(BackupFilesTest, WholeFileOfEachFamilyFieldByField) {
  SeedNt();
  const backup::Date date{2026, 12, 7};
  const backup::Time time{14, 5, 9};
  const CollectedBackup nt = CollectBackupContents(kOsWindowsXP, date, time);
  ASSERT_TRUE(nt.error.empty()) << nt.error;
  const std::string ntInterface = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
  const std::vector<std::string> ntFields = {
      "#2026-12-07#", "#14:05:09#", "7",
      "\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\"",
      "\"SackOpts\"", "0", "\"Tcp1323Opts\"", "Missing", "\"TcpMaxDupAcks\"", "Missing",
      "\"DefaultReceiveWindow\"", "Missing", "\"DefaultTTL\"", "128", "\"GlobalMaxTcpWindowSize\"", "Missing",
      "\"TcpWindowSize\"", "4294967295", "\"EnablePMTUBHDetect\"", "2", "\"EnablePMTUDiscovery\"", "Missing",
      "\"KeepAliveTime\"", "Missing", "\"KeepAliveInterval\"", "Missing", "\"SYNAttackProtect\"", "Missing",
      "\"EnableICMPRedirects\"", "Missing",
      "\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
      "\"MaxConnectionsPer1_0Server\"", "Missing", "\"MaxConnectionsPerServer\"", "2",
      "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"", "\"\"", "Missing",
      "\"" + ntInterface + "{A}\"", "\"MTU\"", "1400", "\"MSS\"", "Missing",
      "\"SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip\"", "\"MTU\"", "Missing", "\"MSS\"", "Missing",
      "\"" + ntInterface + "{B}\"", "\"MTU\"", "Missing", "\"MSS\"", "Missing",
      "\"SYSTEM\\CurrentControlSet\\Services\\{B}\\Parameters\\Tcpip\"", "\"MTU\"", "Missing", "\"MSS\"", "1300",
  };
  const auto joined = [](const std::vector<std::string>& fields) {
    std::string text;
    for (const std::string& field : fields) text += field + "\r\n";
    return text;
  };
  EXPECT_EQ(backup::Format(nt.contents), joined(ntFields));

  TearDown();
  SetUp();
  Seed9x();
  const CollectedBackup nine = CollectBackupContents(kOsWindows98, date, time);
  ASSERT_TRUE(nine.error.empty()) << nine.error;
  const std::vector<std::string> nineFields = {
      "#2026-12-07#", "#14:05:09#", "3",
      "\"System\\CurrentControlSet\\Services\\VxD\\MSTCP\"",
      "\"SackOpts\"", "Missing", "\"Tcp1323Opts\"", "Missing", "\"DefaultTTL\"", "32",
      "\"DefaultRcvWindow\"", "4294967295", "\"GlobalMaxTcpWindowSize\"", "Missing",
      "\"PMTUBlackHoleDetect\"", "Missing", "\"DefaultRcvWindow\"", "4294967295", "\"PMTUDiscovery\"", "0",
      "\"KeepAliveTime\"", "Missing", "\"KeepAliveInterval\"", "Missing",
      "\"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
      "\"MaxConnectionsPer1_0Server\"", "4", "\"MaxConnectionsPerServer\"", "Missing",
      "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"", "\"\"", "Missing",
      "\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\"", "\"MaxMTU\"", "Missing", "\"MaxMSS\"", "Missing",
      "\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001\"", "\"MaxMTU\"", "1500", "\"MaxMSS\"", "Missing",
  };
  EXPECT_EQ(backup::Format(nine.contents), joined(nineFields));
}

// Apply each preset, then restore its backup: the registry's values are what
// they were before, including values that did not exist.
TEST_F(BackupFilesTest, RestoringTheBackupOfAnApplyUndoesIt) {
  LoadWizardPresets();
  for (const OsFamilyCode family : {kOsWindows98, kOsWindowsXP, kOsWindowsNT52OrLater}) {
    for (std::size_t preset = 0; preset < kPresetCount; ++preset) {
      SCOPED_TRACE(::testing::Message() << "family " << family << ", preset " << kPresetNames[preset]);
      TearDown();
      SetUp();
      Is9xFamily(family) ? Seed9x() : SeedNt();
      const std::string machine = Snapshot(HKEY_LOCAL_MACHINE);
      const std::string user = Snapshot(HKEY_CURRENT_USER);
      OsFamily = family;
      CurrentParameters = WizardPresets[preset];
      const ApplyOutcome applied = ApplyNetworkSettings();
      ASSERT_EQ(applied.status, ApplyOutcome::Status::Applied);
      ASSERT_NE(Snapshot(HKEY_LOCAL_MACHINE), machine);
      const RestoreOutcome restored = RestoreBackupFile(applied.backupPath);
      EXPECT_TRUE(restored.restored);
      EXPECT_EQ(restored.refusedWrites, 0);
      EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), machine);
      EXPECT_EQ(Snapshot(HKEY_CURRENT_USER), user);
      DeleteFileA(applied.backupPath.c_str());
    }
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(BackupFilesTest, FilesOfAnotherFamilyCutOffOrMalformedWriteNothing) {
  SeedNt();
  OsFamily = kOsWindows2000;
  ASSERT_TRUE(WriteBackupFile().ok);
  const std::string good = ReadTextFile(Backup("001.BCK"));
  PutDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL", 64);  // what a restore would undo
  const std::string before = Snapshot(HKEY_LOCAL_MACHINE) + Snapshot(HKEY_CURRENT_USER);

  struct Case {
    std::string name;
    std::string text;
    OsFamilyCode running;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"002.BCK", good, kOsWindowsXP, "This backup file was taken from another operating system!!"},
      {"003.BCK", good.substr(0, good.rfind("\"MSS\"")), kOsWindows2000, "cut off"},
      {"004.BCK", good.substr(0, good.find("\"KeepAliveTime\"") + 17), kOsWindows2000, "cut off"},
      {"005.BCK", good.substr(0, good.rfind("Missing")) + "4294967296\r\n", kOsWindows2000, "whole number"},
      {"006.BCK", "hello\r\n", kOsWindows2000, "date"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteTextFile(Backup(c.name.c_str()), c.text);
    OsFamily = c.running;
    platform.messages.clear();
    EXPECT_FALSE(RestoreBackupFile(Backup(c.name.c_str())).restored);
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE) + Snapshot(HKEY_CURRENT_USER), before);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Tarvix");
    EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_NE(platform.messages[0].text.find(Backup(c.name.c_str())), std::string::npos);
    EXPECT_NE(platform.messages[0].text.find(c.says), std::string::npos) << platform.messages[0].text;
  }
  platform.messages.clear();
  EXPECT_FALSE(RestoreBackupFile(Backup("404.BCK")).restored);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("cannot be opened"), std::string::npos);

  // The sound file restores on its own code.
  OsFamily = kOsWindows2000;
  platform.messages.clear();
  EXPECT_TRUE(RestoreBackupFile(Backup("001.BCK")).restored);
  EXPECT_EQ(testing::ReadDword(HKEY_LOCAL_MACHINE, kTcpip, "DefaultTTL"), 128u);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(BackupFilesTest, RestoreReportsValuesWindowsRefused) {
  SeedNt();
  OsFamily = kOsWindowsXP;
  ASSERT_TRUE(WriteBackupFile().ok);
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kTcpip + "\\Interfaces\\{A}");
  const RestoreOutcome outcome = RestoreBackupFile(Backup("001.BCK"));
  EXPECT_TRUE(outcome.restored);
  EXPECT_EQ(outcome.refusedWrites, 2);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("2 of 24"), std::string::npos) << platform.messages[0].text;
}

// A key or value that exists but cannot be read is not "missing": recording
// it so would make a restore delete it. The backup stops, and the apply
// changes nothing and says why.
TEST_F(BackupFilesTest, AnUnreadableKeyOrValueStopsTheBackupAndTheApply) {
  LoadWizardPresets();
  CurrentParameters = WizardPresets[0];
  const std::string interfaceA = kTcpip + "\\Interfaces\\{A}";
  struct Case {
    const char* what;
    std::function<void()> spoil;
    std::function<void()> mend;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"main key", [] { testing::MakeUnreadable(HKEY_LOCAL_MACHINE, kTcpip); },
       [] { testing::MakeReadable(HKEY_LOCAL_MACHINE, kTcpip); }, "the key HKEY_LOCAL_MACHINE\\System"},
      {"interface key", [&] { testing::MakeUnreadable(HKEY_LOCAL_MACHINE, interfaceA); },
       [&] { testing::MakeReadable(HKEY_LOCAL_MACHINE, interfaceA); }, "Interfaces\\{A}"},
      {"Internet Settings key", [] { testing::MakeUnreadable(HKEY_CURRENT_USER, kInternet); },
       [] { testing::MakeReadable(HKEY_CURRENT_USER, kInternet); }, "HKEY_CURRENT_USER"},
      {"value of a size no backup holds",
       [] {
         UniqueHKey k;
         ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, kTcpip, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
         const BYTE twelve[12] = {1};
         ASSERT_EQ(RegSetValueExA(k.get(), "KeepAliveTime", 0, REG_BINARY, twelve, 12), ERROR_SUCCESS);
       },
       [] {}, "\"KeepAliveTime\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    SeedNt();
    c.spoil();
    const std::string before = Snapshot(HKEY_LOCAL_MACHINE) + Snapshot(HKEY_CURRENT_USER);
    OsFamily = kOsWindowsXP;
    EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::BackupFailed);
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE) + Snapshot(HKEY_CURRENT_USER), before);
    EXPECT_FALSE(FileExists(Backup("001.BCK")));
    EXPECT_FALSE(FileExists(BackupFolder() + "\\~backup.tmp"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_NE(platform.messages[0].text.find("could not read"), std::string::npos) << platform.messages[0].text;
    EXPECT_NE(platform.messages[0].text.find(c.says), std::string::npos) << platform.messages[0].text;
    EXPECT_NE(platform.messages[0].text.find("No network setting was changed"), std::string::npos);
    platform.messages.clear();
    c.mend();
  }
}

TEST_F(BackupFilesTest, AFolderThatCannotBeMadeIsAFailureNotABackup) {
  WriteTextFile(BackupFolder(), "a file in the folder's place");
  OsFamily = kOsWindowsXP;
  const BackupWriteResult written = WriteBackupFile();
  EXPECT_FALSE(written.ok);
  EXPECT_NE(written.error.find("backup folder"), std::string::npos);
}

}  // namespace
}  // namespace tarvix
