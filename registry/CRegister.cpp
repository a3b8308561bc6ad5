#include "registry/CRegister.h"

#include "base/Text.h"
#include "registry/RegKey.h"

namespace tarvix {
namespace {

std::string_view ValueName(std::string_view sKey) noexcept { return sKey == "*" ? std::string_view{} : sKey; }

// All access first; a key that refuses it is opened again for reading only.
LONG OpenForReadingStatus(HKEY root, std::string_view section, UniqueHKey& key) {
  const std::string_view path = CRegister::NormalizeKeyPath(section);
  const LONG result = OpenKey(root, path, KEY_ALL_ACCESS, key);
  if (result != ERROR_ACCESS_DENIED) return result;
  return OpenKey(root, path, KEY_READ, key);
}

bool OpenForReading(HKEY root, std::string_view section, UniqueHKey& key) {
  return OpenForReadingStatus(root, section, key) == ERROR_SUCCESS;
}

std::optional<RawValue> ReadValue(HKEY root, std::string_view section, std::string_view name) {
  UniqueHKey key;
  if (!OpenForReading(root, section, key)) return std::nullopt;
  return QueryRawValue(key.get(), ValueName(name));
}

bool IsStringType(DWORD type) noexcept { return type == REG_SZ || type == REG_EXPAND_SZ; }

// A whole decimal number, optionally negative, with blanks around it allowed.
std::optional<std::int64_t> WholeNumber(std::string_view text) noexcept {
  return text::ParseWhole<std::int64_t>(text::TrimBlanks(text));
}

// What a backup records for a value: see ReadBackupValues. ERROR_INVALID_DATA
// for data that no whole number stands for (empty, longer than 8 bytes or
// beyond 4294967295).
LONG BackupNumber(const RawValue& value, std::optional<std::int64_t>& number) {
  constexpr std::int64_t kLowest = -2147483648LL;
  constexpr std::int64_t kHighest = 4294967295LL;
  number.reset();
  if (IsStringType(value.type)) {
    const auto whole = WholeNumber(TextOfStringData(value.data.data(), value.data.size()));
    if (whole && *whole >= kLowest && *whole <= kHighest) number = whole;
    return ERROR_SUCCESS;
  }
  if (value.data.empty() || value.data.size() > 8) return ERROR_INVALID_DATA;
  std::uint64_t sum = 0;
  for (std::size_t i = value.data.size(); i-- > 0;) sum = sum * 256 + value.data[i];
  if (sum > static_cast<std::uint64_t>(kHighest)) return ERROR_INVALID_DATA;
  number = static_cast<std::int64_t>(sum);
  return ERROR_SUCCESS;
}

}  // namespace

std::string_view CRegister::NormalizeKeyPath(std::string_view path) noexcept {
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return path;
}

bool CRegister::REGDeleteSetting(HKEY regHKEY, std::string_view sSection, std::string_view sKey) const {
  UniqueHKey key;
  if (!sKey.empty()) {
    if (OpenKey(regHKEY, NormalizeKeyPath(sSection), KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return false;
    const std::string name(ValueName(sKey));
    return RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
  }
  if (OpenKey(regHKEY, {}, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return false;
  const std::string section(sSection);
  return RegDeleteKeyA(key.get(), section.c_str()) == ERROR_SUCCESS;
}

std::string CRegister::REGGetSetting(HKEY regHKEY, std::string_view sSection, std::string_view sKey,
                                     std::string_view sDefault) const {
  const auto value = ReadValue(regHKEY, sSection, sKey);
  if (!value || value->data.empty()) return std::string(sDefault);
  return TextOfStringData(value->data.data(), value->data.size());
}

bool CRegister::REGSaveSetting(HKEY regHKEY, std::string_view sSection, std::string_view sKey,
                               std::string_view sValue) const {
  UniqueHKey key;
  if (CreateKey(regHKEY, NormalizeKeyPath(sSection), KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return false;
  return SetStringData(key.get(), ValueName(sKey), sValue) == ERROR_SUCCESS;
}

std::vector<std::string> CRegister::GetAllKeys(HKEY hKey, std::string_view strPath) const {
  UniqueHKey key;
  if (OpenKey(hKey, strPath, KEY_READ, key) != ERROR_SUCCESS) return {};
  return EnumSubKeyNames(key.get());
}

double CRegister::myREGGetSetting(HKEY regHKEY, std::string_view sSection, std::string_view sKey,
                                  double sDefault) const {
  const auto value = ReadValue(regHKEY, sSection, sKey);
  if (!value || value->data.empty()) return sDefault;
  double sum = 0;
  double scale = 1;
  for (const unsigned char byte : value->data) {
    sum += byte * scale;
    scale *= 256;
  }
  return sum;
}

std::optional<std::int64_t> CRegister::ReadBackupValue(HKEY regHKEY, std::string_view sSection,
                                                       std::string_view sKey) const {
  const BackupValues read = ReadBackupValues(regHKEY, sSection, std::span<const std::string_view>(&sKey, 1));
  if (read.status != ERROR_SUCCESS) return std::nullopt;
  return read.values.front();
}

CRegister::BackupValues CRegister::ReadBackupValues(HKEY regHKEY, std::string_view sSection,
                                                    std::span<const std::string_view> names) const {
  BackupValues read;
  read.values.resize(names.size());
  UniqueHKey key;
  const LONG opened = OpenForReadingStatus(regHKEY, sSection, key);
  if (opened == ERROR_FILE_NOT_FOUND) return read;  // no key: every value is missing
  if (opened != ERROR_SUCCESS) {
    read.status = opened;
    return read;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    RawValue value;
    LONG result = QueryRawValue(key.get(), ValueName(names[i]), value);
    if (result == ERROR_FILE_NOT_FOUND) continue;
    if (result == ERROR_SUCCESS) result = BackupNumber(value, read.values[i]);
    if (result != ERROR_SUCCESS) {
      read.status = result;
      read.failedName = std::string(names[i]);
      return read;
    }
  }
  return read;
}

LONG CRegister::ListBackupSubKeys(HKEY hKey, std::string_view strPath, std::vector<std::string>& names) const {
  names.clear();
  UniqueHKey key;
  const LONG opened = OpenKey(hKey, strPath, KEY_READ, key);
  if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (opened != ERROR_SUCCESS) return opened;
  LONG status = ERROR_SUCCESS;
  names = EnumSubKeyNames(key.get(), &status);
  return status;
}

}  // namespace tarvix
