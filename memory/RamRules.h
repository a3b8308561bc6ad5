#pragma once
// The numbers behind the RAM configuration window: how its texts are read
// as numbers, which entries its fields accept, the ranges of its arrows and
// the stored settings with their defaults. Pure code, no windows.h.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tarvix {

// The number a field's text holds: blanks around it, an optional sign,
// digits with at most one decimal point, an optional exponent ("1e3").
// nullopt for anything else (an empty text among it) and for texts longer
// than 63 characters.
[[nodiscard]] std::optional<double> NumericValue(std::string_view text) noexcept;
// NumericValue rounded to the nearest whole number, ties to even ("12.5"
// gives 12); nullopt when not numeric or beyond +/- 2^53.
[[nodiscard]] std::optional<std::int64_t> IntegerValue(std::string_view text) noexcept;

// The alarm level has no upper bound of its own; beyond this many MB an
// entry is refused like a negative one.
inline constexpr std::int64_t kMaxAlarmLevelMB = 2147483647;
inline constexpr std::int64_t kMaxFreeAmountMB = 1000;

// txtAlarm: numeric, not below 0 (and not beyond kMaxAlarmLevelMB).
[[nodiscard]] bool AlarmLevelAccepted(std::string_view text) noexcept;
// txtFreeAlarm: numeric, from 0 to 1000 (1000.5 is above 1000).
[[nodiscard]] bool FreeAmountAccepted(std::string_view text) noexcept;

struct ArrowRange {
  int minimum;
  int maximum;
};
inline constexpr ArrowRange kTimeCheckRange{0, 65535};    // check interval, ms; 0 stops the checks
inline constexpr ArrowRange kRetryRange{0, 20};           // freeing attempts per alarm
inline constexpr ArrowRange kRunOnlyRange{0, 1000};       // CPU gate, percent; 0 = no gate

// The value an arrow control takes from the number in its field, kept
// within its range; a field without a number leaves `previous` in place.
[[nodiscard]] int ArrowValue(std::string_view fieldText, ArrowRange range, int previous) noexcept;

// One stored value under ...\Settings\RamSettings: named after its control.
struct RamSetting {
  std::string_view name;
  std::string_view fallback;
};
// In the order they are read and written.
inline constexpr std::array<RamSetting, 9> kRamSettings{{
    {"chkSoundon", "0"},
    {"chkAutomatic", "0"},
    {"txtAlarm", "250"},
    {"txtFreeAlarm", "10"},
    {"txtTimeCheck", "100"},
    {"optPer", "false"},
    {"optMB", "true"},
    {"txtRunOnly", "2"},
    {"txtRetryOptimization", "10"},
}};

}  // namespace tarvix
