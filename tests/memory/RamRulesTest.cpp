#include <gtest/gtest.h>

#include <string>

#include "memory/RamRules.h"

namespace tarvix {
namespace {

TEST(RamRules, NumericTexts) {
  EXPECT_EQ(NumericValue("12"), 12.0);
  EXPECT_EQ(NumericValue(" 12.5 "), 12.5);
  EXPECT_EQ(NumericValue("-3"), -3.0);
  EXPECT_EQ(NumericValue("+4"), 4.0);
  EXPECT_EQ(NumericValue(".5"), 0.5);
  EXPECT_EQ(NumericValue("5."), 5.0);
  EXPECT_EQ(NumericValue("1e3"), 1000.0);
  EXPECT_EQ(NumericValue("1E-2"), 0.01);
  EXPECT_EQ(NumericValue("007"), 7.0);
  for (const char* text : {"", " ", "abc", "12a", "1.2.3", "e5", "-", ".", "1e", "1e+", "&H10", "1 2", "--1",
                           "1,000", "0x10", "1e999"}) {
    EXPECT_EQ(NumericValue(text), std::nullopt) << '"' << text << '"';
  }
  EXPECT_EQ(NumericValue(std::string(63, '1')).has_value(), true);
  EXPECT_EQ(NumericValue(std::string(64, '1')), std::nullopt);
}

TEST(RamRules, IntegerValuesRoundHalfToEven) {
  EXPECT_EQ(IntegerValue("12.5"), 12);
  EXPECT_EQ(IntegerValue("13.5"), 14);
  EXPECT_EQ(IntegerValue("12.51"), 13);
  EXPECT_EQ(IntegerValue("-0.5"), 0);
  EXPECT_EQ(IntegerValue("-1.5"), -2);
  EXPECT_EQ(IntegerValue("250"), 250);
  EXPECT_EQ(IntegerValue("9007199254740992"), 9007199254740992);
  EXPECT_EQ(IntegerValue("1e20"), std::nullopt);
  EXPECT_EQ(IntegerValue("x"), std::nullopt);
}

TEST(RamRules, AlarmLevelTakesAnyNumberFromZero) {
  for (const char* text : {"250", "0", "12.5", "100000", "2147483647", "-0.4"}) {
    EXPECT_EQ(AlarmLevelAccepted(text), std::string(text) != "-0.4") << text;
  }
  for (const char* text : {"", "-1", "abc", "2147483648", "1e30"}) EXPECT_FALSE(AlarmLevelAccepted(text)) << text;
}

TEST(RamRules, FreeAmountTakesZeroToThousand) {
  for (const char* text : {"0", "10", "1000", "999.9", " 5 "}) EXPECT_TRUE(FreeAmountAccepted(text)) << text;
  for (const char* text : {"1001", "1000.4", "-1", "-0.1", "", "ten"}) EXPECT_FALSE(FreeAmountAccepted(text)) << text;
}

TEST(RamRules, ArrowValuesStayInTheirRanges) {
  EXPECT_EQ(ArrowValue("100", kTimeCheckRange, 7), 100);
  EXPECT_EQ(ArrowValue("70000", kTimeCheckRange, 7), 65535);
  EXPECT_EQ(ArrowValue("0", kTimeCheckRange, 7), 0);
  EXPECT_EQ(ArrowValue("-5", kRunOnlyRange, 7), 0);
  EXPECT_EQ(ArrowValue("1000", kRunOnlyRange, 7), 1000);
  EXPECT_EQ(ArrowValue("1001", kRunOnlyRange, 7), 1000);
  EXPECT_EQ(ArrowValue("21", kRetryRange, 7), 20);
  EXPECT_EQ(ArrowValue("12.5", kRetryRange, 7), 12);
  EXPECT_EQ(ArrowValue("", kRetryRange, 7), 7);
  EXPECT_EQ(ArrowValue("many", kRetryRange, 7), 7);
  EXPECT_EQ(ArrowValue("99999999999999999999", kTimeCheckRange, 7), 7);
}

TEST(RamRules, StoredSettingsInLoadingOrderWithDefaults) {
  const std::string expected =
      "chkSoundon=0 chkAutomatic=0 txtAlarm=250 txtFreeAlarm=10 txtTimeCheck=100 optPer=false optMB=true "
      "txtRunOnly=2 txtRetryOptimization=10 ";
  std::string actual;
  for (const RamSetting& setting : kRamSettings) {
    actual += std::string(setting.name) + "=" + std::string(setting.fallback) + " ";
  }
  EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace tarvix
