#include "pinger/HostAddress.h"

#include "base/Text.h"

namespace tarvix {
namespace {

// Only the last two hexadecimal digits of a part count, that is its value
// modulo 256; reducing digit by digit keeps any length of digits exact.
std::uint8_t LowByte(std::string_view digits) noexcept {
  unsigned value = 0;
  for (const char c : digits) value = (value * 10u + static_cast<unsigned>(c - '0')) % 256u;
  return static_cast<std::uint8_t>(value);
}

}  // namespace

bool IsDottedName(std::string_view host) noexcept {
  const auto dot = host.find('.');
  return dot != std::string_view::npos && !text::AllDigits(host.substr(0, dot));
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
    if (!text::AllDigits(parts[i])) return std::nullopt;
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
