#pragma once
// The registry value helpers through which the program's settings and the
// network optimizer read and write, and the layout of the settings tree.
#include <windows.h>

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvix {

// The program's settings key under HKEY_LOCAL_MACHINE, and its sub-keys.
inline constexpr std::string_view SettingsKey = "SOFTWARE\\Brimcove\\Tarvix";
inline constexpr std::string_view kMainSettingsSuffix = "\\Settings\\MainSettings";
inline constexpr std::string_view kNetPingerSuffix = "\\Settings\\NetPinger";
inline constexpr std::string_view kRamSettingsSuffix = "\\Settings\\RamSettings";
[[nodiscard]] std::string SettingsSubKey(std::string_view suffix);

// A value as the helpers take it: text, a whole number or a boolean. Numbers
// become plain decimal text and booleans the words True and False.
class RegScalar {
 public:
  RegScalar(std::string_view text) : kind_(Kind::Text), text_(text) {}
  RegScalar(const char* text) : RegScalar(std::string_view(text)) {}
  RegScalar(const std::string& text) : RegScalar(std::string_view(text)) {}
  template <std::integral T>
    requires(!std::same_as<T, bool>)
  RegScalar(T number) : kind_(Kind::Number), number_(static_cast<std::int64_t>(number)) {}
  template <std::same_as<bool> T>
  RegScalar(T flag) : kind_(Kind::Boolean), number_(flag ? -1 : 0) {}

  [[nodiscard]] std::string Text() const;
  // The 32 bits a REG_DWORD holds: numbers and booleans by value (-1 is
  // 0xFFFFFFFF), text by its decimal number; false for text that is none.
  [[nodiscard]] bool ToDword(DWORD& out) const noexcept;

 private:
  enum class Kind { Text, Number, Boolean };
  Kind kind_;
  std::int64_t number_ = 0;
  std::string text_;
};

// Stores `value` as REG_SZ text under root\keyPath, creating the key. The
// platform's result code: 0 when stored; callers that keep no count may ignore it.
LONG WriteStringValue(HKEY root, std::string_view keyPath, std::string_view valueName,
                      const RegScalar& value);
// The text of a value up to 254 characters; on any failure, or for a longer
// value, `fallback` is returned unchanged.
[[nodiscard]] std::string ReadStringValue(HKEY root, std::string_view keyPath,
                                          std::string_view valueName, std::string_view fallback);

LONG SaveMachineSetting(std::string_view keyPath, std::string_view valueName, const RegScalar& value);
[[nodiscard]] std::string GetMachineSetting(std::string_view keyPath, std::string_view valueName,
                                            std::string_view fallback);

// Writes `value` as REG_SZ (type 1) or REG_DWORD (type 4), or deletes the
// value when `remove` is set. The key is created first, also for a delete.
// Returns the platform's code: 0 on success, 2 for a delete of a missing value;
// any other type writes nothing and returns 0.
[[nodiscard]] LONG SetRegistryValue(HKEY root, std::string_view keyPath, std::string_view valueName,
                                    DWORD type, const RegScalar& value, bool remove);

// A path the program stores for Windows to use (the Run entry): `utf8` goes
// in as REG_SZ through the wide call, so the value is the real path whatever
// its characters, or the value is deleted when `remove` is set. The key is
// created first. Returns the platform's code as SetRegistryValue does.
[[nodiscard]] LONG SetWideTextValue(HKEY root, std::string_view keyPath, std::string_view valueName,
                                    std::string_view utf8, bool remove);
// Such a value read back through the wide call, as UTF-8 up to its first
// zero; nullopt when it is missing, unreadable or not REG_SZ/REG_EXPAND_SZ.
[[nodiscard]] std::optional<std::string> ReadWideTextValue(HKEY root, std::string_view keyPath,
                                                           std::string_view valueName);

// Option buttons are stored as True/False and read back in any letter case.
[[nodiscard]] bool IsTrueText(std::string_view text) noexcept;

}  // namespace tarvix
