#pragma once
// Writes CurrentParameters into the running family's registry map, after
// recording the old values in a new backup file.
#include <string>

namespace tarvix {

struct ApplyOutcome {
  enum class Status {
    Skipped,       // OsFamily is not a known family: nothing backed up or written
    BackupFailed,  // no complete backup could be written: nothing written
    Applied,       // backed up, then written (some writes may have been refused)
  };
  Status status = Status::Skipped;
  std::string backupPath;  // the new backup file, when one was written
  int attemptedWrites = 0;
  int refusedWrites = 0;
};

// Tells the user when the backup failed or when Windows refused writes, once
// per apply; completion itself is reported by the caller.
ApplyOutcome ApplyNetworkSettings();

}  // namespace tarvix
