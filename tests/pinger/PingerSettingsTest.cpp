// The pinger's six stored values under the NetPinger key, read and written
// without a window, in a redirected registry.
#include <gtest/gtest.h>

#include <string>

#include "pinger/PingerSettings.h"
#include "registry/RegistryValues.h"
#include "support/RegistryRedirect.h"

namespace tarvix {
namespace {


std::string Stored(const char* name) { return testing::StoredSetting(kNetPingerSuffix, name); }
void Store(const char* name, const std::string& text) { testing::StoreSetting(kNetPingerSuffix, name, text); }

using PingerSettingsTest = testing::RegistryTest;

TEST_F(PingerSettingsTest, MissingValuesGiveTheDefaults) {
  const PingerSettings settings = ReadPingerSettings();
  EXPECT_FALSE(settings.doPinging);
  EXPECT_TRUE(settings.automatic);
  EXPECT_EQ(settings.host, kDefaultPingHost);
  EXPECT_EQ(settings.intervalIndex, 5);
  EXPECT_FALSE(settings.sound);
  EXPECT_EQ(SettingsSubKey(kNetPingerSuffix), "SOFTWARE\\Brimcove\\Tarvix\\Settings\\NetPinger");
}

TEST_F(PingerSettingsTest, AutomaticModeIsStoredWithItsFixedTexts) {
  PingerSettings settings;
  settings.doPinging = true;
  settings.automatic = true;
  settings.host = "Automatic";
  settings.intervalIndex = 0;
  settings.sound = false;
  WritePingerSettings(settings);
  EXPECT_EQ(Stored("chkDoPinging"), "1");
  EXPECT_EQ(Stored("optAuto"), "True");
  EXPECT_EQ(Stored("optManual"), "False");
  EXPECT_EQ(Stored("txtPingHost"), "Automatic");
  EXPECT_EQ(Stored("cmbPingInterval"), "0");
  EXPECT_EQ(Stored("chkSound"), "0");
  EXPECT_EQ(ReadPingerSettings(), settings);
}

TEST_F(PingerSettingsTest, ManualModeRoundTrips) {
  PingerSettings settings;
  settings.doPinging = false;
  settings.automatic = false;
  settings.host = "localhost";
  settings.intervalIndex = 59;
  settings.sound = true;
  WritePingerSettings(settings);
  EXPECT_EQ(Stored("chkDoPinging"), "0");
  EXPECT_EQ(Stored("optAuto"), "False");
  EXPECT_EQ(Stored("optManual"), "True");
  EXPECT_EQ(Stored("txtPingHost"), "localhost");
  EXPECT_EQ(Stored("cmbPingInterval"), "59");
  EXPECT_EQ(Stored("chkSound"), "1");
  EXPECT_EQ(ReadPingerSettings(), settings);
}

TEST_F(PingerSettingsTest, OptionWordsAreReadInAnyCaseAndManualWins) {
  struct {
    const char* autoText;
    const char* manualText;
    bool automatic;
  } const cases[] = {
      {"TRUE", "false", true}, {"true", "FALSE", true}, {"False", "True", false},
      {"true", "tRUE", false},  // both set: the later one read is the one selected
      {"False", "False", false}, {"-1", "0", false},  // only the words count
  };
  for (const auto& c : cases) {
    Store("optAuto", c.autoText);
    Store("optManual", c.manualText);
    EXPECT_EQ(ReadPingerSettings().automatic, c.automatic) << c.autoText << "/" << c.manualText;
  }
}

TEST_F(PingerSettingsTest, CheckBoxesAreOnOnlyForStateOne) {
  for (const auto& [text, on] : {std::pair{"1", true}, {" 1 ", true}, {"01", true}, {"0", false},
                                 {"2", false}, {"True", false}, {"", false}, {"-1", false}}) {
    Store("chkDoPinging", text);
    Store("chkSound", text);
    const PingerSettings settings = ReadPingerSettings();
    EXPECT_EQ(settings.doPinging, on) << '"' << text << '"';
    EXPECT_EQ(settings.sound, on) << '"' << text << '"';
  }
}

TEST_F(PingerSettingsTest, UnusableIntervalIndexFallsBackToEntryFive) {
  for (const auto& [text, index] : {std::pair{"0", 0}, {"59", 59}, {"7", 7}, {"60", 5}, {"-1", 5},
                                    {"x", 5}, {"", 5}, {"99999999999", 5}}) {
    Store("cmbPingInterval", text);
    EXPECT_EQ(ReadPingerSettings().intervalIndex, index) << '"' << text << '"';
  }
}

TEST_F(PingerSettingsTest, HostTextIsKeptAsTyped) {
  Store("txtPingHost", "  127.0.0.1 ");
  EXPECT_EQ(ReadPingerSettings().host, "  127.0.0.1 ");
  Store("txtPingHost", "");
  EXPECT_EQ(ReadPingerSettings().host, "");
}

}  // namespace
}  // namespace tarvix
