#include "registry/CRegister.h"

#include "base/Text.h"
#include "registry/RegKey.h"

namespace tarvix {
namespace {

std::string_view ValueName(std::string_view sKey) noexcept { return sKey == "*" ? std::string_view{} : sKey; }

// All access first; a key that refuses it is opened again for reading only.
bool OpenForReading(HKEY root, std::string_view section, UniqueHKey& key) {
  const std::string_view path = CRegister::NormalizeKeyPath(section);
  const LONG result = OpenKey(root, path, KEY_ALL_ACCESS, key);
  if (result == ERROR_SUCCESS) return true;
  if (result != ERROR_ACCESS_DENIED) return false;
  return OpenKey(root, path, KEY_READ, key) == ERROR_SUCCESS;
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

// What a backup records for a value: see ReadBackupValue.
std::optional<std::int64_t> BackupNumber(const RawValue& value) {
  constexpr std::int64_t kLowest = -2147483648LL;
  constexpr std::int64_t kHighest = 4294967295LL;
  std::optional<std::int64_t> number;
  if (IsStringType(value.type)) {
    number = WholeNumber(TextOfStringData(value.data.data(), value.data.size()));
  } else if (!value.data.empty() && value.data.size() <= 8) {
    std::uint64_t sum = 0;
    for (std::size_t i = value.data.size(); i-- > 0;) sum = sum * 256 + value.data[i];
    if (sum <= static_cast<std::uint64_t>(kHighest)) number = static_cast<std::int64_t>(sum);
  }
  if (!number || *number < kLowest || *number > kHighest) return std::nullopt;
  return number;
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
  return ReadBackupValues(regHKEY, sSection, std::span<const std::string_view>(&sKey, 1)).front();
}

std::vector<std::optional<std::int64_t>> CRegister::ReadBackupValues(
    HKEY regHKEY, std::string_view sSection, std::span<const std::string_view> names) const {
  std::vector<std::optional<std::int64_t>> numbers(names.size());
  UniqueHKey key;
  if (!OpenForReading(regHKEY, sSection, key)) return numbers;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (const auto value = QueryRawValue(key.get(), ValueName(names[i]))) numbers[i] = BackupNumber(*value);
  }
  return numbers;
}

}  // namespace tarvix
