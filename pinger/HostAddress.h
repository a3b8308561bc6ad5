#pragma once
// Host texts for the pinger: telling names from dotted addresses, turning a
// dotted address into the 32-bit value the echo call takes, and writing the
// addresses of a name lookup. Pure: no windows.h.
//
// A "number" here is one or more ASCII decimal digits and nothing else: no
// sign, blank, decimal point, exponent or hexadecimal prefix. A number may be
// any length; only its value modulo 256 is ever used.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvix {

// True when the text has a dot and what stands before the first dot is not a
// number: such a host is looked up by name ("3abc.example", "my.host").
[[nodiscard]] bool IsDottedName(std::string_view host) noexcept;

// A text with at least one dot, cut at every dot into parts: four number parts
// give the address whose lowest-order byte (first in memory) is part 1, each
// part taken modulo 256; fewer than four parts give 0. A fifth part, or a
// part that is not a number (an empty one too), gives no address at all.
[[nodiscard]] std::optional<std::uint32_t> ParseDottedParts(std::string_view text) noexcept;

// The bytes of one looked-up address as decimal numbers joined by ".".
[[nodiscard]] std::string FormatAddressBytes(std::span<const std::uint8_t> bytes);

}  // namespace tarvix
