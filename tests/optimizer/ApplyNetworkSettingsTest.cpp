#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/OsDetect.h"
#include "backup/BackupFiles.h"
#include "optimizer/ApplyNetworkSettings.h"
#include "optimizer/NetworkParameters.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"

namespace tarvix {
namespace {

using testing::ReadDword;
using testing::ReadText;
using testing::Snapshot;

// The registry each family should hold after an apply, written out by hand
// (independently of the program's own map) as snapshot lines.
using Field = std::function<std::int64_t(const NetworkParameterSet&)>;
struct Expected {
  bool hkcu;
  std::string key;
  std::string name;
  Field value;
  std::function<bool(const NetworkParameterSet&)> deleted;
};

const auto never = [](const NetworkParameterSet&) { return false; };
const auto rwinUnset = [](const NetworkParameterSet& s) { return s.RWIN == -1; };
const auto mtuUnset = [](const NetworkParameterSet& s) { return s.MTU == -1; };
Field fixed(std::int64_t n) {
  return [n](const NetworkParameterSet&) { return n; };
}
std::int64_t flag(VbBool b) { return b == -1 ? 1 : 0; }

std::vector<Expected> Expected9x(const std::vector<std::string>& transports) {
  const std::string mstcp = "system\\currentcontrolset\\services\\vxd\\mstcp";
  std::vector<Expected> rows = {
      {false, mstcp, "sackopts", fixed(1), never},
      {false, mstcp, "tcp1323opts", fixed(1), never},
      {false, mstcp, "defaultttl", [](auto& s) { return s.TTL; }, never},
      {false, mstcp, "defaultrcvwindow", [](auto& s) { return s.RWIN; }, rwinUnset},
      {false, mstcp, "globalmaxtcpwindowsize", [](auto& s) { return s.RWIN; }, rwinUnset},
      {false, mstcp, "pmtublackholedetect", [](auto& s) { return flag(s.BlackHole); }, never},
      {false, mstcp, "pmtudiscovery", [](auto& s) { return flag(s.MTUDiscovery); }, never},
      {false, mstcp, "keepalivetime", [](auto& s) { return s.KeepAliveTime; }, never},
      {false, mstcp, "keepaliveinterval", [](auto& s) { return s.KeepAliveInterval; }, never},
      {true, "software\\microsoft\\windows\\currentversion\\internet settings", "maxconnectionsper1_0server",
       [](auto& s) { return s.MSCPS0; }, never},
      {true, "software\\microsoft\\windows\\currentversion\\internet settings", "maxconnectionsperserver",
       [](auto& s) { return s.MSCPS1; }, never},
      {false, "system\\currentcontrolset\\services\\vxd\\nwlink\\ndi\\params\\cachesize", "",
       [](auto& s) { return s.NDI; }, never},
  };
  for (const std::string& t : transports) {
    const std::string key = "system\\currentcontrolset\\services\\class\\nettrans\\" + t;
    rows.push_back({false, key, "maxmtu", [](auto& s) { return s.MTU; }, mtuUnset});
    rows.push_back({false, key, "maxmss", [](auto& s) { return s.MSS; }, mtuUnset});
  }
  return rows;
}

std::vector<Expected> ExpectedNt(const std::vector<std::string>& interfaces) {
  const std::string tcpip = "system\\currentcontrolset\\services\\tcpip\\parameters";
  std::vector<Expected> rows = {
      {false, tcpip, "sackopts", fixed(1), never},
      {false, tcpip, "tcp1323opts", fixed(1), never},
      {false, tcpip, "tcpmaxdupacks", fixed(2), never},
      {false, tcpip, "defaultreceivewindow", fixed(8192), never},
      {false, tcpip, "defaultttl", [](auto& s) { return s.TTL; }, never},
      {false, tcpip, "globalmaxtcpwindowsize", [](auto& s) { return s.RWIN; }, rwinUnset},
      {false, tcpip, "tcpwindowsize", [](auto& s) { return s.RWIN; }, rwinUnset},
      {false, tcpip, "enablepmtubhdetect", [](auto& s) { return flag(s.BlackHole); }, never},
      {false, tcpip, "enablepmtudiscovery", [](auto& s) { return flag(s.MTUDiscovery); }, never},
      {false, tcpip, "keepalivetime", [](auto& s) { return s.KeepAliveTime; }, never},
      {false, tcpip, "keepaliveinterval", [](auto& s) { return s.KeepAliveInterval; }, never},
      {false, tcpip, "synattackprotect", [](auto& s) { return s.SYN; }, never},
      {false, tcpip, "enableicmpredirects", [](auto& s) { return flag(s.ICMP); }, never},
      {true, "software\\microsoft\\windows\\currentversion\\internet settings", "maxconnectionsper1_0server",
       [](auto& s) { return s.MSCPS0; }, never},
      {true, "software\\microsoft\\windows\\currentversion\\internet settings", "maxconnectionsperserver",
       [](auto& s) { return s.MSCPS1; }, never},
      {false, "system\\currentcontrolset\\services\\vxd\\nwlink\\ndi\\params\\cachesize", "",
       [](auto& s) { return s.NDI; }, never},
  };
  for (const std::string& i : interfaces) {
    for (const std::string& key : {tcpip + "\\interfaces\\" + i, "system\\currentcontrolset\\services\\" + i + "\\parameters\\tcpip"}) {
      rows.push_back({false, key, "mtu", [](auto& s) { return s.MTU; }, mtuUnset});
      rows.push_back({false, key, "mss", [](auto& s) { return s.MSS; }, mtuUnset});
    }
  }
  return rows;
}

std::string ExpectedSnapshot(const std::vector<Expected>& rows, bool hkcu, bool text,
                             const NetworkParameterSet& set) {
  std::vector<std::string> lines;
  for (const Expected& row : rows) {
    if (row.hkcu != hkcu || row.deleted(set)) continue;
    const std::int64_t value = row.value(set);
    lines.push_back(row.key + "|" + row.name + "|" + (text ? "1|" + std::to_string(value)
                                                           : "4|" + std::to_string(static_cast<std::uint32_t>(value))));
  }
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

class ApplyTest : public testing::RegistryTest {
 protected:
  void TearDown() override {
    OsFamily = kOsUnclassified;
    RegistryTest::TearDown();
  }
  void MakeSubKeys(OsFamilyCode family, const std::vector<std::string>& names) {
    const std::string parent = Is9xFamily(family) ? "System\\CurrentControlSet\\Services\\Class\\NetTrans"
                                                  : "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
    for (const std::string& name : names) testing::MakeKey(HKEY_LOCAL_MACHINE, parent + "\\" + name);
  }
  testing::TempDir appDir;
  testing::FakePlatform platform;
};

TEST_F(ApplyTest, EveryPresetWritesExactlyItsFamilysMap) {
  LoadWizardPresets();
  const std::vector<std::vector<std::string>> subKeySets = {{}, {"0000"}, {"0000", "0001", "{9a3f}"}};
  for (const OsFamilyCode family : {kOsWindows98, kOsWindowsXP}) {
    for (std::size_t preset = 0; preset < kPresetCount; ++preset) {
      for (const auto& subKeys : subKeySets) {
        SCOPED_TRACE(::testing::Message() << "family " << family << ", preset " << kPresetNames[preset]
                                          << ", " << subKeys.size() << " sub-keys");
        TearDown();
        SetUp();
        MakeSubKeys(family, subKeys);
        OsFamily = family;
        CurrentParameters = WizardPresets[preset];
        const ApplyOutcome outcome = ApplyNetworkSettings();
        ASSERT_EQ(outcome.status, ApplyOutcome::Status::Applied);
        EXPECT_EQ(outcome.refusedWrites, 0);
        const bool text = Is9xFamily(family);
        const auto rows = text ? Expected9x(subKeys) : ExpectedNt(subKeys);
        EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), ExpectedSnapshot(rows, false, text, CurrentParameters));
        EXPECT_EQ(Snapshot(HKEY_CURRENT_USER), ExpectedSnapshot(rows, true, text, CurrentParameters));
        EXPECT_EQ(outcome.attemptedWrites, static_cast<int>(rows.size()));
      }
    }
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ApplyTest, AutomaticCOnXpDeletesWhatItLeavesToTheSystem) {
  const std::string tcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  MakeSubKeys(kOsWindowsXP, {"{A}"});
  for (const std::string& key : {tcpip + "\\Interfaces\\{A}", std::string("SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip")}) {
    testing::PutDword(HKEY_LOCAL_MACHINE, key, "MTU", 1500);
    testing::PutDword(HKEY_LOCAL_MACHINE, key, "MSS", 1460);
  }
  testing::PutDword(HKEY_LOCAL_MACHINE, tcpip, "TcpWindowSize", 65535);
  testing::PutDword(HKEY_LOCAL_MACHINE, tcpip, "GlobalMaxTcpWindowSize", 65535);
  LoadWizardPresets();
  OsFamily = kOsWindowsXP;
  CurrentParameters = WizardPresets[2];
  EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::Applied);
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, tcpip, "TcpWindowSize"));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, tcpip, "GlobalMaxTcpWindowSize"));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, tcpip + "\\Interfaces\\{A}", "MTU"));
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip", "MSS"));
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, tcpip, "DefaultTTL"), 128u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, tcpip, "KeepAliveTime"), 600000u);
}

TEST_F(ApplyTest, NinetyEightWritesTextAndBlackHoleOneMeansOff) {
  LoadWizardPresets();
  OsFamily = kOsWindows98;
  CurrentParameters = WizardPresets[0];
  CurrentParameters.BlackHole = 1;  // not -1: written as 0
  EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::Applied);
  const std::string mstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, mstcp, "DefaultTTL"), "128");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, mstcp, "PMTUDiscovery"), "1");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, mstcp, "PMTUBlackHoleDetect"), "0");
  EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, mstcp, "DefaultTTL"));
}

TEST_F(ApplyTest, AnUnrecognisedVersionUsesThe9xMapAndCodeZeroDoesNothing) {
  LoadWizardPresets();
  CurrentParameters = WizardPresets[4];
  OsFamily = kOsUnclassified;
  EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::Skipped);
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), "");
  EXPECT_FALSE(testing::FileExists(BackupFolder()));
  OsFamily = kOsWindows32;
  EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::Applied);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "DefaultTTL"), "64");
}

TEST_F(ApplyTest, NoBackupMeansNoChange) {
  LoadWizardPresets();
  CurrentParameters = WizardPresets[4];
  OsFamily = kOsWindowsXP;
  // A file where the Backups folder should be: the folder cannot be made.
  testing::WriteTextFile(BackupFolder(), "not a folder");
  EXPECT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::BackupFailed);
  EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), "");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].title, "Tarvix");
  EXPECT_NE(platform.messages[0].text.find("No network setting was changed"), std::string::npos);
}

namespace {

// Every file in the Backups folder, temporary ones included.
std::vector<std::string> FilesInBackups() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((BackupFolder() + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

TEST_F(ApplyTest, ABackupWriteFailingAtAnyStepLeavesNoFileAndNoChange) {
  LoadWizardPresets();
  CurrentParameters = WizardPresets[4];
  OsFamily = kOsWindowsXP;
  MakeSubKeys(kOsWindowsXP, {"{one}"});
  testing::PutDword(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "DefaultTTL", 128);
  testing::PutText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                   "MaxConnectionsPerServer", "2");
  const std::string machineBefore = Snapshot(HKEY_LOCAL_MACHINE);
  const std::string userBefore = Snapshot(HKEY_CURRENT_USER);

  for (const BackupWriteStep step :
       {BackupWriteStep::Create, BackupWriteStep::Write, BackupWriteStep::Flush, BackupWriteStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(step));
    platform.messages.clear();
    SetBackupWriteFaultForTesting(BackupWriteFault{step, ERROR_DISK_FULL});
    const ApplyOutcome outcome = ApplyNetworkSettings();
    SetBackupWriteFaultForTesting(std::nullopt);
    EXPECT_EQ(outcome.status, ApplyOutcome::Status::BackupFailed);
    EXPECT_EQ(FilesInBackups(), std::vector<std::string>{});
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE), machineBefore);
    EXPECT_EQ(Snapshot(HKEY_CURRENT_USER), userBefore);
    ASSERT_EQ(platform.messages.size(), 1u);
    const std::string& told = platform.messages[0].text;
    EXPECT_NE(told.find("001.BCK"), std::string::npos) << told;
    EXPECT_NE(told.find(SystemMessage(ERROR_DISK_FULL)), std::string::npos) << told;
    EXPECT_NE(told.find("No network setting was changed"), std::string::npos) << told;
  }

  // The number was not used up: the next apply that can write takes it.
  platform.messages.clear();
  const ApplyOutcome outcome = ApplyNetworkSettings();
  EXPECT_EQ(outcome.status, ApplyOutcome::Status::Applied);
  EXPECT_EQ(FilesInBackups(), std::vector<std::string>{"001.BCK"});
  EXPECT_NE(Snapshot(HKEY_LOCAL_MACHINE), machineBefore);
}

TEST_F(ApplyTest, RefusedWritesAreReportedOnceAndTheRestIsWritten) {
  const std::string tcpip = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
  testing::MakeKey(HKEY_LOCAL_MACHINE, tcpip);
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, tcpip);
  LoadWizardPresets();
  CurrentParameters = WizardPresets[4];
  OsFamily = kOsWindowsXP;
  const ApplyOutcome outcome = ApplyNetworkSettings();
  EXPECT_EQ(outcome.status, ApplyOutcome::Status::Applied);
  EXPECT_EQ(outcome.refusedWrites, 13);
  EXPECT_EQ(outcome.attemptedWrites, 16);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("13 of 16"), std::string::npos);
  EXPECT_NE(platform.messages[0].text.find("administrator"), std::string::npos);
  EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                      "MaxConnectionsPerServer"), 20u);
}

}  // namespace
}  // namespace tarvix
