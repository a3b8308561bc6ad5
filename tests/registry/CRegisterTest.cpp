#include <gtest/gtest.h>

#include "registry/CRegister.h"
#include "registry/RegKey.h"
#include "support/RegistryRedirect.h"

namespace tarvix {
namespace {

using testing::PutDword;
using testing::PutText;

class CRegisterTest : public testing::RegistryTest {
 protected:
  CRegister reg;
  const std::string key = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
};

TEST_F(CRegisterTest, NumbersAreTheDataBytesLittleEndian) {
  PutDword(HKEY_LOCAL_MACHINE, key, "DefaultTTL", 1500);
  PutDword(HKEY_LOCAL_MACHINE, key, "Window", 0xFFFFFFFFu);
  PutText(HKEY_LOCAL_MACHINE, key, "Text", "12");
  EXPECT_EQ(reg.myREGGetSetting(HKEY_LOCAL_MACHINE, key, "DefaultTTL", 0), 1500.0);
  EXPECT_EQ(reg.myREGGetSetting(HKEY_LOCAL_MACHINE, key, "Window", 0), 4294967295.0);
  // '1' + '2' * 256; the terminator adds nothing.
  EXPECT_EQ(reg.myREGGetSetting(HKEY_LOCAL_MACHINE, key, "Text", 0), 49.0 + 50.0 * 256);
  EXPECT_EQ(reg.myREGGetSetting(HKEY_LOCAL_MACHINE, key, "Missing", 7), 7.0);
  EXPECT_EQ(reg.myREGGetSetting(HKEY_LOCAL_MACHINE, "No\\Such", "x", 3), 3.0);
}

TEST_F(CRegisterTest, BackslashesAtEitherEndNameTheSameKey) {
  EXPECT_EQ(CRegister::NormalizeKeyPath("\\A\\B\\"), "A\\B");
  EXPECT_EQ(CRegister::NormalizeKeyPath("A\\B"), "A\\B");
  EXPECT_EQ(CRegister::NormalizeKeyPath("\\\\A\\\\"), "\\A\\");  // one of each, no more
  EXPECT_EQ(CRegister::NormalizeKeyPath(""), "");
  EXPECT_TRUE(reg.REGSaveSetting(HKEY_LOCAL_MACHINE, "\\" + key + "\\", "Name", "value"));
  EXPECT_EQ(reg.REGGetSetting(HKEY_LOCAL_MACHINE, key, "Name", "def"), "value");
  EXPECT_EQ(reg.REGGetSetting(HKEY_LOCAL_MACHINE, "\\" + key, "Name", "def"), "value");
}

TEST_F(CRegisterTest, StarAndEmptyNameAreTheDefaultValue) {
  EXPECT_TRUE(reg.REGSaveSetting(HKEY_LOCAL_MACHINE, key, "*", "dflt"));
  EXPECT_EQ(reg.REGGetSetting(HKEY_LOCAL_MACHINE, key, "", "x"), "dflt");
  EXPECT_EQ(reg.REGGetSetting(HKEY_LOCAL_MACHINE, key, "*", "x"), "dflt");
  EXPECT_EQ(testing::ReadText(HKEY_LOCAL_MACHINE, key, ""), "dflt");
  EXPECT_TRUE(reg.REGDeleteSetting(HKEY_LOCAL_MACHINE, key, "*"));
  EXPECT_EQ(reg.REGGetSetting(HKEY_LOCAL_MACHINE, key, "*", "gone"), "gone");
}

TEST_F(CRegisterTest, DeleteValuesAndKeys) {
  PutText(HKEY_LOCAL_MACHINE, "A\\B", "v", "1");
  EXPECT_TRUE(reg.REGDeleteSetting(HKEY_LOCAL_MACHINE, "A\\B", "v"));
  EXPECT_FALSE(reg.REGDeleteSetting(HKEY_LOCAL_MACHINE, "A\\B", "v"));
  EXPECT_FALSE(reg.REGDeleteSetting(HKEY_LOCAL_MACHINE, "No\\Such", "v"));
  EXPECT_TRUE(reg.REGDeleteSetting(HKEY_LOCAL_MACHINE, "A\\B", ""));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, "A\\B"));
  EXPECT_TRUE(testing::KeyExists(HKEY_LOCAL_MACHINE, "A"));
}

TEST_F(CRegisterTest, ListsSubKeys) {
  for (const char* name : {"{A}", "{B}", "{C}"}) testing::MakeKey(HKEY_LOCAL_MACHINE, key + "\\Interfaces\\" + name);
  const auto names = reg.GetAllKeys(HKEY_LOCAL_MACHINE, key + "\\Interfaces");
  EXPECT_EQ(names, (std::vector<std::string>{"{A}", "{B}", "{C}"}));
  EXPECT_TRUE(reg.GetAllKeys(HKEY_LOCAL_MACHINE, key + "\\Interfaces\\{A}").empty());
  EXPECT_TRUE(reg.GetAllKeys(HKEY_LOCAL_MACHINE, "No\\Such").empty());
}

TEST_F(CRegisterTest, ReadOnlyKeysStillYieldTheirValues) {
  PutDword(HKEY_LOCAL_MACHINE, key, "DefaultTTL", 64);
  PutText(HKEY_LOCAL_MACHINE, key, "Name", "text");
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, key);
  EXPECT_EQ(reg.myREGGetSetting(HKEY_LOCAL_MACHINE, key, "DefaultTTL", 0), 64.0);
  EXPECT_EQ(reg.REGGetSetting(HKEY_LOCAL_MACHINE, key, "Name", ""), "text");
  EXPECT_EQ(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "DefaultTTL"), 64);
  EXPECT_FALSE(reg.REGSaveSetting(HKEY_LOCAL_MACHINE, key, "Name", "new"));
  EXPECT_FALSE(reg.REGDeleteSetting(HKEY_LOCAL_MACHINE, key, "Name"));
}

TEST_F(CRegisterTest, BackupValuesAreWhatARestoreCanWriteBack) {
  PutDword(HKEY_LOCAL_MACHINE, key, "dword", 0xFFFFFFFFu);
  PutText(HKEY_LOCAL_MACHINE, key, "text", "128");
  PutText(HKEY_LOCAL_MACHINE, key, "negative", "-1");
  PutText(HKEY_LOCAL_MACHINE, key, "word", "fast");
  PutText(HKEY_LOCAL_MACHINE, key, "huge", "99999999999");
  PutText(HKEY_LOCAL_MACHINE, key, "empty", "");
  UniqueHKey k;
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
  const BYTE two[] = {0x34, 0x12};
  ASSERT_EQ(RegSetValueExA(k.get(), "binary", 0, REG_BINARY, two, 2), ERROR_SUCCESS);
  EXPECT_EQ(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "dword"), 4294967295LL);
  EXPECT_EQ(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "text"), 128);
  EXPECT_EQ(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "negative"), -1);
  EXPECT_EQ(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "binary"), 0x1234);
  EXPECT_FALSE(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "word").has_value());
  EXPECT_FALSE(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "huge").has_value());
  EXPECT_FALSE(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "empty").has_value());
  EXPECT_FALSE(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, key, "absent").has_value());
  EXPECT_FALSE(reg.ReadBackupValue(HKEY_LOCAL_MACHINE, "No\\Such", "x").has_value());
}

// Missing means "does not exist"; what exists but cannot be read is an error.
TEST_F(CRegisterTest, BackupReadsTellMissingFromUnreadable) {
  const std::string_view names[] = {"dword", "absent", "long"};
  PutDword(HKEY_LOCAL_MACHINE, key, "dword", 7);
  auto read = reg.ReadBackupValues(HKEY_LOCAL_MACHINE, key, names);
  EXPECT_EQ(read.status, ERROR_SUCCESS);
  EXPECT_EQ(read.values, (std::vector<std::optional<std::int64_t>>{7, std::nullopt, std::nullopt}));
  EXPECT_EQ(reg.ReadBackupValues(HKEY_LOCAL_MACHINE, key + "\\No\\Such", names).status, ERROR_SUCCESS);

  UniqueHKey k;
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS, k), ERROR_SUCCESS);
  const BYTE nine[9] = {};
  ASSERT_EQ(RegSetValueExA(k.get(), "long", 0, REG_BINARY, nine, 9), ERROR_SUCCESS);
  k.reset();
  read = reg.ReadBackupValues(HKEY_LOCAL_MACHINE, key, names);
  EXPECT_EQ(read.status, ERROR_INVALID_DATA);
  EXPECT_EQ(read.failedName, "long");

  testing::MakeKey(HKEY_LOCAL_MACHINE, key + "\\Locked\\Inner");
  testing::MakeUnreadable(HKEY_LOCAL_MACHINE, key + "\\Locked");
  read = reg.ReadBackupValues(HKEY_LOCAL_MACHINE, key + "\\Locked", names);
  EXPECT_EQ(read.status, ERROR_ACCESS_DENIED);
  EXPECT_EQ(read.failedName, "");
  std::vector<std::string> subKeys;
  EXPECT_EQ(reg.ListBackupSubKeys(HKEY_LOCAL_MACHINE, key + "\\Locked", subKeys), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg.ListBackupSubKeys(HKEY_LOCAL_MACHINE, key + "\\Gone", subKeys), ERROR_SUCCESS);
  EXPECT_TRUE(subKeys.empty());
  testing::MakeReadable(HKEY_LOCAL_MACHINE, key + "\\Locked");
}

}  // namespace
}  // namespace tarvix
