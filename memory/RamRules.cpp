#include "memory/RamRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "memory/CpuFormula.h"

namespace tarvix {
namespace {

[[nodiscard]] bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }
[[nodiscard]] bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Counts the digits at `at`, moving past them.
std::size_t SkipDigits(std::string_view text, std::size_t& at) noexcept {
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at - start;
}

// The largest whole number a double holds exactly.
constexpr double kExactLimit = 9007199254740992.0;

}  // namespace

std::optional<double> NumericValue(std::string_view text) noexcept {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t digits = SkipDigits(text, at);
  if (at < text.size() && text[at] == '.') {
    ++at;
    digits += SkipDigits(text, at);
  }
  if (digits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (SkipDigits(text, at) == 0) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;
  // The text is checked above, so strtod reads all of it; too large a number is infinite.
  char buffer[64];
  if (text.size() >= sizeof buffer) return std::nullopt;
  text.copy(buffer, text.size());
  buffer[text.size()] = '\0';
  const double value = std::strtod(buffer, nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
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
