// Feeds arbitrary host texts to the pinger's host and number parsing and
// checks each answer against a plain reading of the rules, and that every
// address written from a lookup reads back as the same four bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "pinger/HostAddress.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string_view trimmed = text::TrimBlanks(text);
  Check(trimmed.size() <= text.size());
  if (!trimmed.empty()) Check(trimmed.front() != ' ' && trimmed.front() != '\t' && trimmed.back() != ' ');
  Check(text::AllDigits(text) == AllDigits(text));

  const std::size_t dot = text.find('.');
  Check(IsDottedName(text) == (dot != std::string_view::npos && !AllDigits(text.substr(0, dot))));

  if (dot != std::string_view::npos) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
      const std::size_t end = text.find('.', start);
      parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    // Fewer than four parts go to address 0 whatever they hold; a fifth part
    // or a part that is not a number gives none; four numbers give their
    // values modulo 256, part 1 in the lowest byte.
    const std::optional<std::uint32_t> address = ParseDottedParts(text);
    if (parts.size() > 4) {
      Check(!address);
    } else if (parts.size() < 4) {
      Check(address && *address == 0);
    } else {
      std::optional<std::uint32_t> expected = 0u;
      for (std::size_t i = 0; i < 4 && expected; ++i) {
        if (!AllDigits(parts[i])) {
          expected.reset();
          break;
        }
        unsigned value = 0;
        for (const char c : parts[i]) value = (value * 10u + static_cast<unsigned>(c - '0')) % 256u;
        *expected |= value << (8 * i);
      }
      Check(address == expected);
    }
  }

  // The first four bytes as a looked-up address: written and read back.
  if (size >= 4) {
    const std::string dotted = FormatAddressBytes(std::span<const std::uint8_t>(data, 4));
    const std::optional<std::uint32_t> back = ParseDottedParts(dotted);
    Check(back.has_value());
    Check(*back == (std::uint32_t{data[0]} | (std::uint32_t{data[1]} << 8) | (std::uint32_t{data[2]} << 16) |
                    (std::uint32_t{data[3]} << 24)));
  }
  (void)FormatAddressBytes(std::span<const std::uint8_t>(data, size < 16 ? size : 16));
  return 0;
}
