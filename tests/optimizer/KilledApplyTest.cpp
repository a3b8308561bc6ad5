// A process killed in the middle of applying settings: its last numbered
// backup restores the registry exactly as it was before that apply. The test
// starts this executable again as a child that applies two presets by turns
// into the same scratch registry and Backups folder, and ends it at a random
// moment with TerminateProcess, as a crash or a power cut would.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/AppPaths.h"
#include "base/OsDetect.h"
#include "base/Handle.h"
#include "backup/BackupFiles.h"
#include "optimizer/ApplyNetworkSettings.h"
#include "optimizer/NetworkParameters.h"
#include "registry/RegKey.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"

namespace tarvix {
namespace {

// Set in the child's environment: the scratch registry path and the folder.
constexpr const char* kChildRegistryVariable = "TARVIX_KILLED_APPLY_REGISTRY";
constexpr const char* kChildFolderVariable = "TARVIX_KILLED_APPLY_FOLDER";
// The two presets the child applies by turns: apply 1, 3, 5... takes the
// first, apply 2, 4, 6... the second.
constexpr std::size_t kOddPreset = 4;
constexpr std::size_t kEvenPreset = 1;

[[nodiscard]] std::string Environment(const char* name) {
  char value[1024] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER redirected to keys under
// `path` of the real HKEY_CURRENT_USER, shared by parent and child.
class SharedRedirect {
 public:
  explicit SharedRedirect(const std::string& path) : path_(path) {
    EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, path + "\\HKLM", KEY_ALL_ACCESS, machine_), ERROR_SUCCESS);
    EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, path + "\\HKCU", KEY_ALL_ACCESS, user_), ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get()), ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_.get()), ERROR_SUCCESS);
  }
  ~SharedRedirect() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  }
  SharedRedirect(const SharedRedirect&) = delete;
  SharedRedirect& operator=(const SharedRedirect&) = delete;

 private:
  std::string path_;
  UniqueHKey machine_;
  UniqueHKey user_;
};

[[nodiscard]] std::string RegistryState() {
  return testing::Snapshot(HKEY_LOCAL_MACHINE) + "--\n" + testing::Snapshot(HKEY_CURRENT_USER);
}

// The numbered backups in the Backups folder, lowest first.
[[nodiscard]] std::vector<std::string> NumberedBackups() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((BackupFolder() + "\\*.BCK").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveBackups() {
  for (const std::string& name : NumberedBackups()) DeleteFileA((BackupFolder() + "\\" + name).c_str());
}

// Not a test of its own: the child's work, run only when the parent below
// starts this executable with the variables set.
TEST(KilledApplyChild, AppliesByTurnsUntilKilled) {
  const std::string registry = Environment(kChildRegistryVariable);
  const std::string folder = Environment(kChildFolderVariable);
  if (registry.empty() || folder.empty()) GTEST_SKIP() << "run by KilledApply only";
  testing::FakePlatform platform;
  const SharedRedirect redirect(registry);
  SetAppDirForTesting(folder);
  OsFamily = kOsWindowsXP;
  LoadWizardPresets();
  const ULONGLONG end = GetTickCount64() + 60000;
  for (int apply = 1; GetTickCount64() < end; ++apply) {
    CurrentParameters = WizardPresets[apply % 2 == 1 ? kOddPreset : kEvenPreset];
    ASSERT_EQ(ApplyNetworkSettings().status, ApplyOutcome::Status::Applied);
  }
}

TEST(KilledApply, TheLastBackupRestoresTheRegistryExactly) {
  char scratch[96];
  std::snprintf(scratch, sizeof scratch, "Software\\TarvixTests\\killed-%lu-%lu", GetCurrentProcessId(),
                GetTickCount());
  testing::FakePlatform platform;
  std::string before, afterOdd, afterEven;
  {
    const SharedRedirect redirect(scratch);
    const testing::TempDir appDir;
    OsFamily = kOsWindowsXP;
    LoadWizardPresets();
    // Two interfaces and a few values of the machine's own; the rest missing.
    for (const char* name : {"{one}", "{two}"}) {
      testing::MakeKey(HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\") + name);
    }
    testing::PutDword(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "DefaultTTL", 128);
    testing::PutDword(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{one}",
                      "MTU", 1400);
    testing::PutDword(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                      "MaxConnectionsPerServer", 2);
    before = RegistryState();
    // What a complete apply of each preset leaves, whatever came before.
    for (const auto& [preset, state] : {std::pair{kOddPreset, &afterOdd}, std::pair{kEvenPreset, &afterEven}}) {
      CurrentParameters = WizardPresets[preset];
      const ApplyOutcome outcome = ApplyNetworkSettings();
      ASSERT_EQ(outcome.status, ApplyOutcome::Status::Applied);
      *state = RegistryState();
      ASSERT_TRUE(RestoreBackupFile(outcome.backupPath).restored);
      ASSERT_EQ(RegistryState(), before);
      RemoveBackups();
    }
    ASSERT_NE(afterOdd, afterEven);

    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    SetEnvironmentVariableA(kChildRegistryVariable, scratch);
    SetEnvironmentVariableA(kChildFolderVariable, appDir.path().c_str());
    // Killed at a different moment each time: after 2 to 4 complete backups
    // and a few milliseconds more.
    for (int round = 0; round < 3; ++round) {
      SCOPED_TRACE(round);
      std::string commandLine = std::string("\"") + program + "\" --gtest_filter=KilledApplyChild.*";
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION info{};
      ASSERT_TRUE(CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &info));
      const UniqueHandle process(info.hProcess);
      const UniqueHandle thread(info.hThread);
      const ULONGLONG give_up = GetTickCount64() + 60000;
      while (NumberedBackups().size() < static_cast<std::size_t>(2 + round) && GetTickCount64() < give_up) Sleep(1);
      Sleep(static_cast<DWORD>(3 * round + 1));
      TerminateProcess(process.get(), 9);
      WaitForSingleObject(process.get(), 10000);
      DWORD code = 0;
      GetExitCodeProcess(process.get(), &code);
      ASSERT_EQ(code, 9u) << "the child ended on its own";

      const std::vector<std::string> backups = NumberedBackups();
      ASSERT_GE(backups.size(), static_cast<std::size_t>(2 + round));
      // Backup n was written by apply n, just before it changed anything.
      const int last = std::atoi(backups.back().c_str());
      ASSERT_EQ(last, static_cast<int>(backups.size()));
      const std::string killed = RegistryState();
      std::printf("[ killed  ] after backup %d the registry was %s\n", last,
                  killed == afterOdd || killed == afterEven ? "between two applies" : "half-way through an apply");
      ASSERT_TRUE(RestoreBackupFile(BackupFolder() + "\\" + backups.back()).restored);
      const std::string& expected = last == 1 ? before : (last - 1) % 2 == 1 ? afterOdd : afterEven;
      EXPECT_EQ(RegistryState(), expected) << "restoring " << backups.back();
      // The next round starts from the state before the first apply again.
      ASSERT_TRUE(RestoreBackupFile(BackupFolder() + "\\" + backups.front()).restored);
      ASSERT_EQ(RegistryState(), before);
      RemoveBackups();
      DeleteFileA((BackupFolder() + "\\~backup.tmp").c_str());
    }
    SetEnvironmentVariableA(kChildRegistryVariable, nullptr);
    SetEnvironmentVariableA(kChildFolderVariable, nullptr);
    OsFamily = kOsUnclassified;
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, scratch);
}

}  // namespace
}  // namespace tarvix
