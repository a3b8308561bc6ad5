#include "registry/RegistryValues.h"

#include <vector>

#include "base/Text.h"
#include "base/Utf8.h"
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

LONG SetWideTextValue(HKEY root, std::string_view keyPath, std::string_view valueName, std::string_view utf8,
                      bool remove) {
  constexpr REGSAM kAccess = 0x3F;  // as SetRegistryValue
  UniqueHKey key;
  if (const LONG opened = CreateKey(root, keyPath, kAccess, key); opened != ERROR_SUCCESS) return opened;
  const std::wstring name = ToWide(valueName);
  if (remove) return RegDeleteValueW(key.get(), name.c_str());
  const std::wstring text = ToWide(utf8);
  return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::string> ReadWideTextValue(HKEY root, std::string_view keyPath, std::string_view valueName) {
  UniqueHKey key;
  if (OpenKey(root, keyPath, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return std::nullopt;
  const std::wstring name = ToWide(valueName);
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  // Room for a zero the data may lack; an odd byte count drops its last byte.
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  const std::wstring_view text(data.data(), got / sizeof(wchar_t));
  return ToUtf8(text.substr(0, text.find(L'\0')));
}

bool IsTrueText(std::string_view text) noexcept { return text::EqualsNoCase(text, "true"); }

}  // namespace tarvix
