#pragma once
// Small text helpers that every reader of user-typed or file text shares:
// ASCII digit and blank tests, trimming, case-insensitive comparison and
// whole-number parsing. Pure code, no windows.h; locale-independent on purpose.
#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace tarvix::text {

[[nodiscard]] constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
// A blank in a typed field: space or tab.
[[nodiscard]] constexpr bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }
// White space in a file line.
[[nodiscard]] constexpr bool IsSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
[[nodiscard]] constexpr char Lower(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Strips leading and trailing characters for which `strip` holds.
template <typename Predicate>
[[nodiscard]] constexpr std::string_view TrimIf(std::string_view text, Predicate strip) noexcept {
  while (!text.empty() && strip(text.front())) text.remove_prefix(1);
  while (!text.empty() && strip(text.back())) text.remove_suffix(1);
  return text;
}
[[nodiscard]] constexpr std::string_view TrimBlanks(std::string_view text) noexcept {
  return TrimIf(text, IsBlank);
}
[[nodiscard]] constexpr std::string_view TrimSpace(std::string_view text) noexcept {
  return TrimIf(text, IsSpace);
}

// One or more ASCII digits and nothing else.
[[nodiscard]] constexpr bool AllDigits(std::string_view text) noexcept {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// ASCII letters compared without case; other bytes must match exactly.
[[nodiscard]] constexpr bool EqualsNoCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}
[[nodiscard]] constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}
[[nodiscard]] constexpr bool EndsWithNoCase(std::string_view text, std::string_view suffix) noexcept {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}
[[nodiscard]] constexpr bool ContainsNoCase(std::string_view text, std::string_view part) noexcept {
  if (part.size() > text.size()) return false;
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (EqualsNoCase(text.substr(at, part.size()), part)) return true;
  }
  return false;
}

// The whole of `text` as a number of type T: digits with an optional leading
// '-' (no '+', no blanks, nothing after). nullopt when it is not that or does
// not fit T.
template <typename T>
[[nodiscard]] std::optional<T> ParseWhole(std::string_view text) noexcept {
  if (text.empty()) return std::nullopt;
  if (!IsDigit(text.front()) && !(text.front() == '-' && text.size() > 1 && IsDigit(text[1]))) {
    return std::nullopt;
  }
  T number{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return number;
}

}  // namespace tarvix::text
