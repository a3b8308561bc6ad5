#include "registry/RegKey.h"

#include <cstring>

namespace tarvix {

LONG CreateKey(HKEY root, std::string_view path, REGSAM access, UniqueHKey& key) {
  const std::string p(path);
  return RegCreateKeyExA(root, p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                         key.put(), nullptr);
}

LONG OpenKey(HKEY root, std::string_view path, REGSAM access, UniqueHKey& key) {
  const std::string p(path);
  return RegOpenKeyExA(root, p.c_str(), 0, access, key.put());
}

LONG SetStringData(HKEY key, std::string_view name, std::string_view text) {
  const std::string n(name);
  const std::string t(text);
  return RegSetValueExA(key, n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(t.c_str()),
                        static_cast<DWORD>(t.size() + 1));
}

LONG SetDwordData(HKEY key, std::string_view name, DWORD value) {
  const std::string n(name);
  return RegSetValueExA(key, n.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value));
}

LONG QueryRawValue(HKEY key, std::string_view name, RawValue& value) {
  const std::string n(name);
  value = RawValue{};
  DWORD size = 0;
  LONG result = RegQueryValueExA(key, n.c_str(), nullptr, &value.type, nullptr, &size);
  // The value may grow between the two calls; ask again until it fits.
  for (int attempt = 0; attempt < 4 && result == ERROR_SUCCESS; ++attempt) {
    value.data.resize(size);
    DWORD got = size;
    result = RegQueryValueExA(key, n.c_str(), nullptr, &value.type,
                              value.data.empty() ? nullptr : value.data.data(), &got);
    if (result == ERROR_SUCCESS) {
      value.data.resize(got);
      return ERROR_SUCCESS;
    }
    if (result == ERROR_MORE_DATA) {
      size = got;
      result = ERROR_SUCCESS;
    }
  }
  return result == ERROR_SUCCESS ? ERROR_MORE_DATA : result;
}

std::optional<RawValue> QueryRawValue(HKEY key, std::string_view name) {
  RawValue value;
  if (QueryRawValue(key, name, value) != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::string TextOfStringData(const unsigned char* data, std::size_t size) {
  const void* zero = size == 0 ? nullptr : std::memchr(data, 0, size);
  const std::size_t length =
      zero == nullptr ? size : static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - data);
  return std::string(reinterpret_cast<const char*>(data), length);
}

std::vector<std::string> EnumSubKeyNames(HKEY key, LONG* status) {
  std::vector<std::string> names;
  if (status != nullptr) *status = ERROR_SUCCESS;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 255;
    const LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) {  // ERROR_NO_MORE_ITEMS, or a key that went away
      if (status != nullptr && result != ERROR_NO_MORE_ITEMS) *status = result;
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace tarvix
