#pragma once
// Redirects HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER to fresh scratch keys
// for one test, and removes them afterwards, so that tests never touch the
// machine's own settings. The redirect is process-wide: these tests do not
// run in parallel within one process.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "registry/RegKey.h"

namespace tarvix::testing {

class RegistryRedirect {
 public:
  RegistryRedirect();
  ~RegistryRedirect();
  RegistryRedirect(const RegistryRedirect&) = delete;
  RegistryRedirect& operator=(const RegistryRedirect&) = delete;

 private:
  std::string scratchPath_;
  UniqueHKey machine_;
  UniqueHKey user_;
};

// A fixture with the registry redirected and a recording platform.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { redirect_.emplace(); }
  void TearDown() override { redirect_.reset(); }

 private:
  std::optional<RegistryRedirect> redirect_;
};

// Helpers for checking and preparing values in the (redirected) registry.
[[nodiscard]] std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name);
[[nodiscard]] std::optional<std::string> ReadText(HKEY root, const std::string& key, const std::string& name);
[[nodiscard]] std::optional<DWORD> ValueType(HKEY root, const std::string& key, const std::string& name);
[[nodiscard]] bool KeyExists(HKEY root, const std::string& key);
void PutDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
void PutText(HKEY root, const std::string& key, const std::string& name, const std::string& text);
void MakeKey(HKEY root, const std::string& key);
// Makes an existing key readable but not writable for everyone.
void MakeReadOnly(HKEY root, const std::string& key);
// Denies every access to `key` but changing its permissions; MakeReadable
// gives everything back (so that the scratch tree can be deleted).
void MakeUnreadable(HKEY root, const std::string& key);
void MakeReadable(HKEY root, const std::string& key);

// A value of the program's settings tree (suffix as kNetPingerSuffix), as
// the settings windows store it; "<missing>" when it is not there as text.
[[nodiscard]] std::string StoredSetting(std::string_view suffix, const std::string& name);
void StoreSetting(std::string_view suffix, const std::string& name, const std::string& text);

// Every value under a root, as "key|name|type|data" lines with key and name
// in lower case, sorted: a whole picture of the redirected registry's values
// to compare before and after.
[[nodiscard]] std::string Snapshot(HKEY root);

}  // namespace tarvix::testing
