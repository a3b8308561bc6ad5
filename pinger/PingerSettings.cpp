#include "pinger/PingerSettings.h"

#include <optional>

#include "base/Text.h"
#include "pinger/HostAddress.h"
#include "registry/RegistryValues.h"

namespace tarvix {
namespace {

// The stored values are named after the window's controls.
constexpr std::string_view kDoPingingName = "chkDoPinging";
constexpr std::string_view kAutoName = "optAuto";
constexpr std::string_view kManualName = "optManual";
constexpr std::string_view kHostName = "txtPingHost";
constexpr std::string_view kIntervalName = "cmbPingInterval";
constexpr std::string_view kSoundName = "chkSound";

// A stored whole number (blanks around it allowed) up to `limit`; none for
// any other text.
std::optional<int> SmallNumber(std::string_view text, int limit) noexcept {
  text = text::TrimBlanks(text);
  if (!text::AllDigits(text)) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

bool ReadCheckBox(const std::string& key, std::string_view name) {
  return SmallNumber(GetMachineSetting(key, name, "0"), 1) == 1;
}

const char* CheckBoxText(bool checked) noexcept { return checked ? "1" : "0"; }

}  // namespace

std::string PingIntervalEntryText(int index) { return std::to_string(index + 1) + " min."; }

PingerSettings ReadPingerSettings() {
  const std::string key = SettingsSubKey(kNetPingerSuffix);
  PingerSettings settings;
  settings.doPinging = ReadCheckBox(key, kDoPingingName);
  const bool autoSelected = IsTrueText(GetMachineSetting(key, kAutoName, "true"));
  const bool manualSelected = IsTrueText(GetMachineSetting(key, kManualName, "false"));
  settings.automatic = autoSelected && !manualSelected;
  settings.host = GetMachineSetting(key, kHostName, kDefaultPingHost);
  settings.intervalIndex =
      SmallNumber(GetMachineSetting(key, kIntervalName, "5"), kPingIntervalEntries - 1).value_or(kAutomaticIntervalIndex);
  settings.sound = ReadCheckBox(key, kSoundName);
  return settings;
}

SettingsSaveTally WritePingerSettings(const PingerSettings& settings) {
  const std::string key = SettingsSubKey(kNetPingerSuffix);
  SettingsSaveTally tally;
  tally.Count(SaveMachineSetting(key, kDoPingingName, CheckBoxText(settings.doPinging)), "Enable Pinger");
  tally.Count(SaveMachineSetting(key, kAutoName, settings.automatic), "Automatic Mode");
  tally.Count(SaveMachineSetting(key, kManualName, !settings.automatic), "Manual Mode");
  tally.Count(SaveMachineSetting(key, kHostName, settings.host), "Ping Host");
  tally.Count(SaveMachineSetting(key, kIntervalName, settings.intervalIndex), "Ping Interval");
  tally.Count(SaveMachineSetting(key, kSoundName, CheckBoxText(settings.sound)), "Play Sound at Ping");
  return tally;
}

PingTarget TargetOf(const PingerSettings& settings) {
  if (settings.automatic) return {std::string(kDefaultPingHost), kAutomaticIntervalIndex};
  return {settings.host, settings.intervalIndex};
}

}  // namespace tarvix
