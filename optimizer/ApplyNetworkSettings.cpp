#include "optimizer/ApplyNetworkSettings.h"

#include <windows.h>

#include "base/OsDetect.h"
#include "base/Elevation.h"
#include "base/Platform.h"
#include "backup/BackupFiles.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/RegistryMap.h"
#include "registry/RegKey.h"
#include "registry/RegistryValues.h"
#include "registry/WriteTally.h"

namespace tarvix {
namespace {

void WriteRow(const MapRow& row, std::uint32_t type, std::string_view subKey, WriteTally& tally) {
  const bool remove = RowDeletes(row, CurrentParameters);
  const LONG result = SetRegistryValue(ToHkey(row.path.root), row.path.With(subKey), row.name, type,
                                       RowValue(row, CurrentParameters), remove);
  tally.Count(result, remove);
}

}  // namespace

ApplyOutcome ApplyNetworkSettings() {
  ApplyOutcome outcome;
  const RegistryMap* map = RegistryMapFor(OsFamily);
  if (map == nullptr) return outcome;

  const BackupWriteResult backup = WriteBackupFile();
  if (!backup.ok) {
    outcome.status = ApplyOutcome::Status::BackupFailed;
    ShowError(backup.error + "\r\n\r\nNo network setting was changed.");
    return outcome;
  }
  outcome.status = ApplyOutcome::Status::Applied;
  outcome.backupPath = backup.path;

  WriteTally tally;
  for (const MapRow& row : map->leadingRows) WriteRow(row, map->valueType, {}, tally);
  {
    UniqueHKey parent;
    if (OpenKey(HKEY_LOCAL_MACHINE, map->enumeratedKey, KEY_READ, parent) == ERROR_SUCCESS) {
      // Each transport or interface gets every per-sub-key row, in row order.
      for (const std::string& name : EnumSubKeyNames(parent.get())) {
        for (const MapRow& row : map->perSubKeyRows) WriteRow(row, map->valueType, name, tally);
      }
    }
  }
  for (const MapRow& row : map->trailingRows) WriteRow(row, map->valueType, {}, tally);

  outcome.attemptedWrites = tally.attempted;
  outcome.refusedWrites = tally.refused;
  if (tally.refused > 0) ShowRefusedForRights(RefusedWritesMessage(tally));
  return outcome;
}

}  // namespace tarvix
