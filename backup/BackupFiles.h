#pragma once
// Backup files on disk: the Backups folder beside the executable, the next
// free number, writing a new file for the running family and restoring one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backup/BackupFormat.h"

namespace tarvix {

// AppDir + "\Backups".
[[nodiscard]] std::string BackupFolder();

// The names (no folder) of the backup files in `folder`: plain files whose
// name ends in ".BCK" in any case. Empty when the folder is missing.
[[nodiscard]] std::vector<std::string> ListBackupFiles(const std::string& folder);

struct BackupPathResult {
  std::string path;   // empty on failure
  std::string error;  // why, for the user
};
// The file to write next: one above the highest number present. Creates the
// folder when missing. Fails when the folder cannot be made or 999 is taken.
[[nodiscard]] BackupPathResult NextBackupPath();

struct CollectedBackup {
  backup::Contents contents;
  std::string error;  // not empty: a key or value exists but could not be read
};
// The current values of every registry value an apply on `family` may touch.
// Only values and keys that do not exist are recorded as missing; any other
// read failure ends the collection with `error` set.
[[nodiscard]] CollectedBackup CollectBackupContents(std::int16_t family, const backup::Date& date,
                                                    const backup::Time& time);

struct BackupWriteResult {
  bool ok = false;
  std::string path;
  std::string error;
};
// Writes a new file for OsFamily: first under a temporary name, then renamed
// into place, so a numbered file is always complete. On failure neither the
// numbered file nor the temporary one is left behind.
[[nodiscard]] BackupWriteResult WriteBackupFile();

// The steps of writing a backup file. Tests make one of them fail as a full
// disk, a locked folder or a vanished drive would.
enum class BackupWriteStep { Create, Write, Flush, Rename };
struct BackupWriteFault {
  BackupWriteStep step;
  std::uint32_t error;  // the system error code the step reports
};
// While set, every backup write fails at that step: a failing Write has
// written half the text first. Null puts the real calls back.
void SetBackupWriteFaultForTesting(std::optional<BackupWriteFault> fault) noexcept;

struct RestoreOutcome {
  bool restored = false;  // the file was sound and its values were written
  int attemptedWrites = 0;
  int refusedWrites = 0;
};
// Reads and checks the whole file, then writes its values back. A file that
// cannot be read, is cut off or malformed, or was taken on another family
// code writes nothing; the user is told which file and what is wrong, and of
// any writes Windows refused.
RestoreOutcome RestoreBackupFile(std::string_view path);

// The system's text for an error code, without the trailing line break.
[[nodiscard]] std::string SystemMessage(std::uint32_t code);
[[nodiscard]] bool FolderExists(const std::string& path);

}  // namespace tarvix
