#pragma once
// Decimal numbers as users type them into the program's fields: an optional
// sign, digits with an optional decimal point, and an optional exponent.
// One reading for every field, pure code without windows.h.
#include <cstddef>
#include <optional>
#include <string_view>

namespace tarvix {

// The length of the decimal number at the start of `text` (sign, digits with
// an optional point and at least one digit, and an exponent only when it is
// complete); 0 when `text` does not begin with one.
[[nodiscard]] std::size_t NumberLength(std::string_view text) noexcept;

// The value of a number that NumberLength accepted; an overflow gives an
// infinity, an underflow 0. Reads "." whatever the user's locale.
[[nodiscard]] double NumberValue(std::string_view number) noexcept;

// The whole text, blanks around it ignored, as a finite number; nullopt when
// anything else is in it or the number is too large for a double.
[[nodiscard]] std::optional<double> ParseDecimal(std::string_view text) noexcept;

// Rounds to the nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4).
[[nodiscard]] double RoundHalfEven(double value) noexcept;

}  // namespace tarvix
