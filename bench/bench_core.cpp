// Times the network core under Wine with the registry redirected to scratch
// keys: one apply with 64 interfaces (backup included), one backup write and
// one restore of such a backup.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/OsDetect.h"
#include "backup/BackupFiles.h"
#include "optimizer/ApplyNetworkSettings.h"
#include "optimizer/NetworkParameters.h"
#include "support/BenchTiming.h"
#include "support/FakePlatform.h"
#include "support/RegistryRedirect.h"
#include "support/TempDir.h"

using tarvix::bench::MedianMs;

int main() {
  using namespace tarvix;
  tarvix::testing::FakePlatform platform;
  tarvix::testing::TempDir appDir;
  tarvix::testing::RegistryRedirect redirect;
  constexpr int kInterfaces = 64;
  constexpr int kRuns = 25;
  for (int i = 0; i < kInterfaces; ++i) {
    char name[64];
    std::snprintf(name, sizeof(name), "{%08X-0000-4000-8000-%012d}", 0x1000u + static_cast<unsigned>(i), i);
    tarvix::testing::MakeKey(HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\") + name);
  }
  OsFamily = kOsWindowsXP;
  LoadWizardPresets();
  CurrentParameters = WizardPresets[4];

  std::string lastBackup;
  const double apply = MedianMs(kRuns, [&] { lastBackup = ApplyNetworkSettings().backupPath; });
  const double write = MedianMs(kRuns, [&] { lastBackup = WriteBackupFile().path; });
  const double restore = MedianMs(kRuns, [&] { (void)RestoreBackupFile(lastBackup); });

  std::printf("network core, %d interfaces, median of %d runs under Wine\n", kInterfaces, kRuns);
  std::printf("  %-44s %8.2f ms\n", "ApplyNetworkSettings (backup + 273 writes)", apply);
  std::printf("  %-44s %8.2f ms\n", "WriteBackupFile (272 reads)", write);
  std::printf("  %-44s %8.2f ms\n", "RestoreBackupFile (272 writes)", restore);
  std::printf("  %-44s %8.2f\n", "apply / backup write", apply / write);
  // Machine-readable lines for the table of scripts/bench:
  // BENCH|name|figure|unit|baseline name|baseline figure
  std::printf("BENCH|ApplyNetworkSettings (backup + 273 writes)|%.3f|ms|WriteBackupFile (272 reads)|%.3f\n", apply, write);
  std::printf("BENCH|WriteBackupFile (272 reads)|%.3f|ms||\n", write);
  std::printf("BENCH|RestoreBackupFile (272 writes)|%.3f|ms|WriteBackupFile (272 reads)|%.3f\n", restore, write);
  return platform.messages.empty() ? 0 : 1;
}
