#include "memory/RamRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/Number.h"
#include "base/Text.h"

namespace tarvix {
namespace {

// The largest whole number a double holds exactly.
constexpr double kExactLimit = 9007199254740992.0;

}  // namespace

std::optional<double> NumericValue(std::string_view text) noexcept {
  // The RAM settings' fields take at most 63 characters of number.
  if (text::TrimBlanks(text).size() >= 64) return std::nullopt;
  return ParseDecimal(text);
}

std::optional<std::int64_t> IntegerValue(std::string_view text) noexcept {
  const auto value = NumericValue(text);
  if (!value) return std::nullopt;
  const double rounded = RoundHalfEven(*value);
  if (std::fabs(rounded) > kExactLimit) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

bool AlarmLevelAccepted(std::string_view text) noexcept {
  const auto value = NumericValue(text);
  if (!value || *value < 0) return false;
  const auto level = IntegerValue(text);
  return level && *level <= kMaxAlarmLevelMB;
}

bool FreeAmountAccepted(std::string_view text) noexcept {
  const auto value = NumericValue(text);
  return value && *value >= 0 && *value <= static_cast<double>(kMaxFreeAmountMB);
}

int ArrowValue(std::string_view fieldText, ArrowRange range, int previous) noexcept {
  const auto value = IntegerValue(fieldText);
  if (!value) return previous;
  return static_cast<int>(std::clamp<std::int64_t>(*value, range.minimum, range.maximum));
}

}  // namespace tarvix
