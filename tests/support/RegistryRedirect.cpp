#include "support/RegistryRedirect.h"

#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <cstdio>
#include <vector>

#include "registry/RegistryValues.h"

namespace tarvix::testing {
namespace {

constexpr const char* kScratchRoot = "Software\\TarvixTests";

std::string UniqueScratchPath() {
  static std::atomic<int> counter{0};
  char name[96];
  std::snprintf(name, sizeof(name), "%s\\%lu-%lu-%d", kScratchRoot, GetCurrentProcessId(),
                GetTickCount(), counter++);
  return name;
}

// Registry names compare without regard to case; so do snapshots.
std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void CollectValues(HKEY key, const std::string& path, std::vector<std::string>& lines) {
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD nameLength = sizeof(name);
    DWORD type = 0;
    BYTE data[8192];
    DWORD size = sizeof(data);
    const LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &size);
    if (result != ERROR_SUCCESS) break;
    std::string line = Lowered(path) + "|" + Lowered(std::string(name, nameLength)) + "|" + std::to_string(type) + "|";
    if (type == REG_DWORD && size == 4) {
      DWORD value = 0;
      std::memcpy(&value, data, 4);
      line += std::to_string(value);
    } else {
      line += TextOfStringData(data, size);
    }
    lines.push_back(line);
  }
  for (const std::string& child : EnumSubKeyNames(key)) {
    UniqueHKey sub;
    if (OpenKey(key, child, KEY_READ, sub) == ERROR_SUCCESS) {
      const std::string childPath = path.empty() ? child : path + "\\" + child;
      CollectValues(sub.get(), childPath, lines);
    }
  }
}

}  // namespace

RegistryRedirect::RegistryRedirect() : scratchPath_(UniqueScratchPath()) {
  EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, scratchPath_ + "\\HKLM", KEY_ALL_ACCESS, machine_), ERROR_SUCCESS);
  EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, scratchPath_ + "\\HKCU", KEY_ALL_ACCESS, user_), ERROR_SUCCESS);
  EXPECT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_.get()), ERROR_SUCCESS);
  EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_.get()), ERROR_SUCCESS);
}

RegistryRedirect::~RegistryRedirect() {
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  machine_.reset();
  user_.reset();
  // The shared root stays: test processes running side by side create
  // their keys under it, and deleting it under them fails their creates.
  RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name) {
  UniqueHKey k;
  if (OpenKey(root, key, KEY_READ, k) != ERROR_SUCCESS) return std::nullopt;
  const auto value = QueryRawValue(k.get(), name);
  if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, value->data.data(), 4);
  return number;
}

std::optional<std::string> ReadText(HKEY root, const std::string& key, const std::string& name) {
  UniqueHKey k;
  if (OpenKey(root, key, KEY_READ, k) != ERROR_SUCCESS) return std::nullopt;
  const auto value = QueryRawValue(k.get(), name);
  if (!value || value->type != REG_SZ) return std::nullopt;
  return TextOfStringData(value->data.data(), value->data.size());
}

std::optional<DWORD> ValueType(HKEY root, const std::string& key, const std::string& name) {
  UniqueHKey k;
  if (OpenKey(root, key, KEY_READ, k) != ERROR_SUCCESS) return std::nullopt;
  const auto value = QueryRawValue(k.get(), name);
  if (!value) return std::nullopt;
  return value->type;
}

bool KeyExists(HKEY root, const std::string& key) {
  UniqueHKey k;
  return OpenKey(root, key, KEY_READ, k) == ERROR_SUCCESS;
}

void PutDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
  UniqueHKey k;
  ASSERT_EQ(CreateKey(root, key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
  ASSERT_EQ(SetDwordData(k.get(), name, value), ERROR_SUCCESS);
}

void PutText(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
  UniqueHKey k;
  ASSERT_EQ(CreateKey(root, key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
  ASSERT_EQ(SetStringData(k.get(), name, text), ERROR_SUCCESS);
}

std::string StoredSetting(std::string_view suffix, const std::string& name) {
  return ReadText(HKEY_LOCAL_MACHINE, SettingsSubKey(suffix), name).value_or("<missing>");
}

void StoreSetting(std::string_view suffix, const std::string& name, const std::string& text) {
  PutText(HKEY_LOCAL_MACHINE, SettingsSubKey(suffix), name, text);
}

void MakeKey(HKEY root, const std::string& key) {
  UniqueHKey k;
  ASSERT_EQ(CreateKey(root, key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
}

namespace {

// Opens the key with `access` and gives it the access list `sddl` (for everyone).
void SetKeyAccess(HKEY root, const std::string& key, REGSAM access, const char* sddl) {
  UniqueHKey k;
  ASSERT_EQ(OpenKey(root, key, access, k), ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
  const LONG result = RegSetKeySecurity(k.get(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  ASSERT_EQ(result, ERROR_SUCCESS);
}

}  // namespace

// Everyone may read; nobody may write, create or delete.
void MakeReadOnly(HKEY root, const std::string& key) { SetKeyAccess(root, key, KEY_ALL_ACCESS, "D:P(A;;KR;;;WD)"); }

// Nobody may read or write; only the permissions may be changed back.
void MakeUnreadable(HKEY root, const std::string& key) { SetKeyAccess(root, key, KEY_ALL_ACCESS, "D:P(A;;WD;;;WD)"); }

void MakeReadable(HKEY root, const std::string& key) { SetKeyAccess(root, key, WRITE_DAC, "D:P(A;;KA;;;WD)"); }

std::string Snapshot(HKEY root) {
  std::vector<std::string> lines;
  CollectValues(root, "", lines);
  std::sort(lines.begin(), lines.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace tarvix::testing
