#include "registry/RegistryValues.h"

#include "base/Text.h"
#include "registry/RegKey.h"

namespace tarvix {

std::string SettingsSubKey(std::string_view suffix) {
  std::string key(SettingsKey);
  key += suffix;
  return key;
}

std::string RegScalar::Text() const {
  switch (kind_) {
    case Kind::Text: return text_;
    case Kind::Boolean: return number_ != 0 ? "True" : "False";
    case Kind::Number: break;
  }
  return std::to_string(number_);
}

bool RegScalar::ToDword(DWORD& out) const noexcept {
  std::int64_t number = number_;
  if (kind_ == Kind::Text) {
    const auto parsed = text::ParseWhole<std::int64_t>(text_);
    if (!parsed) return false;
    number = *parsed;
  }
  out = static_cast<DWORD>(static_cast<std::uint64_t>(number) & 0xFFFFFFFFu);
  return true;
}

LONG WriteStringValue(HKEY root, std::string_view keyPath, std::string_view valueName,
                      const RegScalar& value) {
  UniqueHKey key;
  if (const LONG created = CreateKey(root, keyPath, KEY_ALL_ACCESS, key); created != ERROR_SUCCESS) return created;
  return SetStringData(key.get(), valueName, value.Text());
}

std::string ReadStringValue(HKEY root, std::string_view keyPath, std::string_view valueName,
                            std::string_view fallback) {
  UniqueHKey key;
  if (OpenKey(root, keyPath, KEY_READ, key) != ERROR_SUCCESS) return std::string(fallback);
  const std::string name(valueName);
  unsigned char buffer[255];
  DWORD size = sizeof(buffer);
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, buffer, &size) != ERROR_SUCCESS) {
    return std::string(fallback);
  }
  return TextOfStringData(buffer, size);
}

LONG SaveMachineSetting(std::string_view keyPath, std::string_view valueName, const RegScalar& value) {
  return WriteStringValue(HKEY_LOCAL_MACHINE, keyPath, valueName, value);
}

std::string GetMachineSetting(std::string_view keyPath, std::string_view valueName,
                              std::string_view fallback) {
  return ReadStringValue(HKEY_LOCAL_MACHINE, keyPath, valueName, fallback);
}

LONG SetRegistryValue(HKEY root, std::string_view keyPath, std::string_view valueName, DWORD type,
                      const RegScalar& value, bool remove) {
  // Query, set, create sub-key, enumerate, notify, create link.
  constexpr REGSAM kAccess = 0x3F;
  UniqueHKey key;
  if (const LONG opened = CreateKey(root, keyPath, kAccess, key); opened != ERROR_SUCCESS) {
    return opened;
  }
  if (type != REG_SZ && type != REG_DWORD) return ERROR_SUCCESS;
  if (remove) {
    const std::string name(valueName);
    return RegDeleteValueA(key.get(), name.c_str());
  }
  if (type == REG_SZ) return SetStringData(key.get(), valueName, value.Text());
  DWORD number = 0;
  if (!value.ToDword(number)) return ERROR_INVALID_PARAMETER;
  return SetDwordData(key.get(), valueName, number);
}

bool IsTrueText(std::string_view text) noexcept { return text::EqualsNoCase(text, "true"); }

}  // namespace tarvix
