#include <gtest/gtest.h>

#include "registry/RegKey.h"
#include "registry/RegistryValues.h"
#include "support/RegistryRedirect.h"

namespace tarvix {
namespace {

using testing::KeyExists;
using testing::PutText;
using testing::ReadDword;
using testing::ReadText;
using testing::ValueType;

class RegistryValues : public testing::RegistryTest {};

constexpr const char* kKey = "SOFTWARE\\Brimcove\\Tarvix\\Settings\\Test";

TEST_F(RegistryValues, ReadFallsBackToTheDefaultUnchanged) {
  EXPECT_EQ(ReadStringValue(HKEY_LOCAL_MACHINE, "No\\Such\\Key", "x", "fallback"), "fallback");
  testing::MakeKey(HKEY_LOCAL_MACHINE, kKey);
  EXPECT_EQ(ReadStringValue(HKEY_LOCAL_MACHINE, kKey, "missing", " 42 "), " 42 ");
  // 255 characters do not fit the 255-byte buffer with their terminator.
  PutText(HKEY_LOCAL_MACHINE, kKey, "long", std::string(255, 'a'));
  EXPECT_EQ(ReadStringValue(HKEY_LOCAL_MACHINE, kKey, "long", "def"), "def");
  PutText(HKEY_LOCAL_MACHINE, kKey, "fits", std::string(254, 'b'));
  EXPECT_EQ(ReadStringValue(HKEY_LOCAL_MACHINE, kKey, "fits", "def"), std::string(254, 'b'));
}

TEST_F(RegistryValues, StringsReadWholeWithOrWithoutTheirTerminator) {
  UniqueHKey key;
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key.get(), "bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("250"), 3), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key.get(), "ended", 0, REG_SZ, reinterpret_cast<const BYTE*>("250"), 4), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key.get(), "empty", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 0), ERROR_SUCCESS);
  EXPECT_EQ(GetMachineSetting(kKey, "bare", "x"), "250");
  EXPECT_EQ(GetMachineSetting(kKey, "ended", "x"), "250");
  EXPECT_EQ(GetMachineSetting(kKey, "empty", "x"), "");
}

TEST_F(RegistryValues, WriteStoresScalarsAsText) {
  SaveMachineSetting(kKey, "optAuto", true);
  SaveMachineSetting(kKey, "optManual", false);
  SaveMachineSetting(kKey, "txtAlarm", 250);
  SaveMachineSetting(kKey, "txtPingHost", "example.invalid");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kKey, "optAuto"), "True");
  EXPECT_EQ(GetMachineSetting(kKey, "optManual", "false"), "False");
  EXPECT_EQ(GetMachineSetting(kKey, "txtAlarm", "0"), "250");
  EXPECT_EQ(GetMachineSetting(kKey, "txtPingHost", ""), "example.invalid");
  EXPECT_EQ(ValueType(HKEY_LOCAL_MACHINE, kKey, "txtAlarm"), static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(IsTrueText("True"));
  EXPECT_TRUE(IsTrueText("tRUE"));
  EXPECT_FALSE(IsTrueText("False"));
  EXPECT_FALSE(IsTrueText("1"));
  EXPECT_FALSE(IsTrueText("truer"));
}

TEST_F(RegistryValues, SetRegistryValueWritesTypedValues) {
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "dword", REG_DWORD, -1, false), ERROR_SUCCESS);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "dword"), 0xFFFFFFFFu);
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "big", REG_DWORD, 4294967295LL, false), ERROR_SUCCESS);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "big"), 0xFFFFFFFFu);
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "text", REG_SZ, 128, false), ERROR_SUCCESS);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kKey, "text"), "128");
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "neg", REG_SZ, -1, false), ERROR_SUCCESS);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kKey, "neg"), "-1");
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "fromText", REG_DWORD, "1500", false), ERROR_SUCCESS);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kKey, "fromText"), 1500u);
  EXPECT_NE(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "word", REG_DWORD, "abc", false), ERROR_SUCCESS);
  EXPECT_FALSE(ValueType(HKEY_LOCAL_MACHINE, kKey, "word").has_value());
  // The empty name is the key's default value.
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "", REG_SZ, 0, false), ERROR_SUCCESS);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kKey, ""), "0");
  EXPECT_EQ(ReadStringValue(HKEY_LOCAL_MACHINE, kKey, "", "x"), "0");
  // Types other than text and DWORD write nothing and report success.
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "bin", REG_BINARY, 7, false), ERROR_SUCCESS);
  EXPECT_FALSE(ValueType(HKEY_LOCAL_MACHINE, kKey, "bin").has_value());
}

TEST_F(RegistryValues, DeleteOfAMissingValueCreatesTheKeyAndReportsNotFound) {
  const std::string key = "SYSTEM\\CurrentControlSet\\Services\\{NEW}\\Parameters\\Tcpip";
  ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, key, "MTU", REG_DWORD, 0, true), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, key));
  testing::PutDword(HKEY_LOCAL_MACHINE, key, "MTU", 1500);
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, key, "MTU", REG_DWORD, 0, true), ERROR_SUCCESS);
  EXPECT_FALSE(ValueType(HKEY_LOCAL_MACHINE, key, "MTU").has_value());
}

TEST_F(RegistryValues, ReadOnlyKeysStillReadAndRefuseWrites) {
  PutText(HKEY_LOCAL_MACHINE, kKey, "chkSound", "1");
  testing::MakeReadOnly(HKEY_LOCAL_MACHINE, kKey);
  EXPECT_EQ(GetMachineSetting(kKey, "chkSound", "0"), "1");
  EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "chkSound", REG_SZ, 0, false), ERROR_ACCESS_DENIED);
  SaveMachineSetting(kKey, "chkSound", 0);  // silently refused
  EXPECT_EQ(GetMachineSetting(kKey, "chkSound", "0"), "1");
}

TEST(RegistrySettingsTree, SubKeysOfTheSettingsKey) {
  EXPECT_EQ(SettingsSubKey(kMainSettingsSuffix), "SOFTWARE\\Brimcove\\Tarvix\\Settings\\MainSettings");
  EXPECT_EQ(SettingsSubKey(kNetPingerSuffix), "SOFTWARE\\Brimcove\\Tarvix\\Settings\\NetPinger");
  EXPECT_EQ(SettingsSubKey(kRamSettingsSuffix), "SOFTWARE\\Brimcove\\Tarvix\\Settings\\RamSettings");
}

}  // namespace
}  // namespace tarvix
