#include "pinger/HostAddress.h"

#include <algorithm>

namespace tarvix {
namespace {

constexpr bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }
constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Only the last two hexadecimal digits of a part count, that is its value
// modulo 256; reducing digit by digit keeps any length of digits exact.
std::uint8_t LowByte(std::string_view digits) noexcept {
  unsigned value = 0;
  for (const char c : digits) value = (value * 10u + static_cast<unsigned>(c - '0')) % 256u;
  return static_cast<std::uint8_t>(value);
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) noexcept {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsNumberText(std::string_view text) noexcept {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool IsDottedName(std::string_view host) noexcept {
  const auto dot = host.find('.');
  return dot != std::string_view::npos && !IsNumberText(host.substr(0, dot));
}

std::optional<std::uint32_t> ParseDottedParts(std::string_view text) noexcept {
  std::string_view parts[4];
  std::size_t count = 0;
  for (;;) {
    const auto dot = text.find('.');
    if (count == 4) return std::nullopt;  // a fifth part
    parts[count++] = text.substr(0, dot);
    if (dot == std::string_view::npos) break;
    text.remove_prefix(dot + 1);
  }
  if (count != 4) return 0u;
  std::uint32_t address = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (!IsNumberText(parts[i])) return std::nullopt;
    address |= static_cast<std::uint32_t>(LowByte(parts[i])) << (8 * i);
  }
  return address;
}

std::string FormatAddressBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) text += '.';
    text += std::to_string(bytes[i]);
  }
  return text;
}

}  // namespace tarvix
