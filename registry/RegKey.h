#pragma once
// An owning registry key handle and the few raw operations that the value
// helpers, CRegister, the apply and the backup writer share.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Handle.h"
#include "registry/Root.h"

namespace tarvix {

[[nodiscard]] inline HKEY ToHkey(Root root) noexcept {
  return root == Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

using UniqueHKey = UniqueAny<NullHandlePolicy<HKEY, RegCloseKey>>;

// RegCreateKeyExA (no class, non-volatile). The error code is returned; on
// failure `key` stays empty.
[[nodiscard]] LONG CreateKey(HKEY root, std::string_view path, REGSAM access, UniqueHKey& key);
// RegOpenKeyExA.
[[nodiscard]] LONG OpenKey(HKEY root, std::string_view path, REGSAM access, UniqueHKey& key);

// Writes text as REG_SZ, with its terminating zero as Windows asks.
[[nodiscard]] LONG SetStringData(HKEY key, std::string_view name, std::string_view text);
// Writes a REG_DWORD.
[[nodiscard]] LONG SetDwordData(HKEY key, std::string_view name, DWORD value);

// One value's raw data and type.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<unsigned char> data;
};
// Reads a value of any size; nullopt when it is missing or cannot be read.
[[nodiscard]] std::optional<RawValue> QueryRawValue(HKEY key, std::string_view name);
// The same with the reason: ERROR_FILE_NOT_FOUND for a value that does not
// exist, another code for one that exists but cannot be read.
[[nodiscard]] LONG QueryRawValue(HKEY key, std::string_view name, RawValue& value);

// Text of string data: the bytes up to the first zero, so data stored with or
// without its terminator reads the same.
[[nodiscard]] std::string TextOfStringData(const unsigned char* data, std::size_t size);

// The names of the sub-keys of an open key, in enumeration order. A name too
// long for a 255-character buffer is skipped; any other failure ends the list
// and, when `status` is given, is stored there (ERROR_SUCCESS otherwise).
[[nodiscard]] std::vector<std::string> EnumSubKeyNames(HKEY key, LONG* status = nullptr);

}  // namespace tarvix
