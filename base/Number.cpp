#include "base/Number.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/Text.h"

namespace tarvix {
namespace {

std::size_t SkipDigits(std::string_view text, std::size_t& at) noexcept {
  const std::size_t start = at;
  while (at < text.size() && text::IsDigit(text[at])) ++at;
  return at - start;
}

}  // namespace

std::size_t NumberLength(std::string_view text) noexcept {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t digits = SkipDigits(text, at);
  if (at < text.size() && text[at] == '.') {
    ++at;
    digits += SkipDigits(text, at);
  }
  if (digits == 0) return 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (SkipDigits(text, exponent) > 0) at = exponent;
  }
  return at;
}

double NumberValue(std::string_view number) noexcept {
  // strtod reads "." in the "C" locale, which the program never changes.
  try {
    const std::string copy(number);
    return std::strtod(copy.c_str(), nullptr);
  } catch (...) {
    return 0.0;
  }
}

std::optional<double> ParseDecimal(std::string_view text) noexcept {
  text = text::TrimBlanks(text);
  if (text.empty() || NumberLength(text) != text.size()) return std::nullopt;
  const double value = NumberValue(text);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double RoundHalfEven(double value) noexcept {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5) return lower + 1.0;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

}  // namespace tarvix
