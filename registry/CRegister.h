#pragma once
// A small stateless registry key class: every operation opens the key it
// needs, works on it and closes it. A path may carry one leading and one
// trailing backslash; the value name "*" stands for the key's default value.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

class CRegister {
 public:
  // Deletes the value sKey, or with an empty sKey the sub-key sSection of the
  // root (as given, not normalised). True when deleted.
  bool REGDeleteSetting(HKEY regHKEY, std::string_view sSection, std::string_view sKey) const;
  // The value's text without its terminator; sDefault when it cannot be read or is empty.
  [[nodiscard]] std::string REGGetSetting(HKEY regHKEY, std::string_view sSection,
                                          std::string_view sKey, std::string_view sDefault) const;
  // Writes sValue as REG_SZ, creating the key. True when written.
  bool REGSaveSetting(HKEY regHKEY, std::string_view sSection, std::string_view sKey,
                      std::string_view sValue) const;
  // The names of the sub-keys of strPath (as given); empty when it cannot be opened.
  [[nodiscard]] std::vector<std::string> GetAllKeys(HKEY hKey, std::string_view strPath) const;
  // The value's data bytes as one unsigned little-endian number; sDefault
  // when the key or value is missing, unreadable or empty.
  [[nodiscard]] double myREGGetSetting(HKEY regHKEY, std::string_view sSection,
                                       std::string_view sKey, double sDefault) const;

  // The value as a backup records it: a REG_DWORD by its unsigned value, a
  // string by the whole number its text holds, other data of 1 to 8 bytes by
  // its bytes as a little-endian number. nullopt ("missing") only when the
  // key or the value does not exist, or the value is text that is not a
  // whole number from -2147483648 to 4294967295.
  struct BackupValues {
    // ERROR_SUCCESS, or why a key or value that exists could not be read
    // (access denied, data of a size no backup can hold): then the backup
    // must not be written, since a restore would delete what existed.
    LONG status = ERROR_SUCCESS;
    std::string failedName;  // the value that could not be read; empty for the key itself
    std::vector<std::optional<std::int64_t>> values;
  };
  [[nodiscard]] BackupValues ReadBackupValues(HKEY regHKEY, std::string_view sSection,
                                              std::span<const std::string_view> names) const;
  // One value of ReadBackupValues; nullopt also when it cannot be read.
  [[nodiscard]] std::optional<std::int64_t> ReadBackupValue(HKEY regHKEY, std::string_view sSection,
                                                            std::string_view sKey) const;
  // The sub-keys of strPath for a backup: ERROR_SUCCESS with no names when
  // the key does not exist, another code when it exists but cannot be listed.
  [[nodiscard]] LONG ListBackupSubKeys(HKEY hKey, std::string_view strPath, std::vector<std::string>& names) const;

  // One leading "\" removed, then one trailing "\".
  [[nodiscard]] static std::string_view NormalizeKeyPath(std::string_view path) noexcept;
};

}  // namespace tarvix
