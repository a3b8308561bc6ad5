#pragma once
// Reading the program's small text formats (the movie and the skin files):
// a magic first line, "[section]" headers, "key = value" pairs, comments
// beginning with '#' or ';'. Pure code, no windows.h, so it can be fuzzed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxTextFileBytes = 256 * 1024;
inline constexpr std::size_t kMaxTextLineChars = 1024;

// An sRGB colour as written "#RRGGBB" in the files.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// Where and why a file was refused; line 0 means the file as a whole.
struct TextError {
  int line = 0;
  std::string message;
  // "line 7: unknown key 'colour'" or just the message for line 0.
  [[nodiscard]] std::string Describe() const;
};

// Records why a file was refused and gives false, for `return Fail(...)`.
bool Fail(TextError& error, int line, std::string message);
// No control characters (below 0x20, or DEL).
[[nodiscard]] bool IsPrintable(std::string_view text) noexcept;

struct KeyLine {
  enum class Kind { Section, Pair };
  Kind kind = Kind::Pair;
  int number = 0;     // 1-based line number in the file
  std::string name;   // section name, or the key of a pair
  std::string value;  // the value of a pair (trimmed, may be empty)
};

// Splits `text` into sections and pairs. The first meaningful line must be
// `magic` exactly (e.g. "tarvix-movie 1"). A UTF-8 byte-order mark and CRLF
// line ends are accepted; NUL bytes, over-long lines and lines that are
// neither a header nor a pair are refused. On failure `lines` is unspecified.
[[nodiscard]] bool ReadKeyLines(std::string_view text, std::string_view magic,
                                std::vector<KeyLine>& lines, TextError& error);

// "#RRGGBB" (hex digits of either case); false leaves `colour` unchanged.
[[nodiscard]] bool ParseHexColour(std::string_view text, Rgb& colour) noexcept;
// Splits on '|' and trims each field: "a | b |" gives {"a", "b", ""}.
[[nodiscard]] std::vector<std::string> SplitFields(std::string_view text);

// Reads a whole file in binary; `path` is UTF-8. Refuses files above kMaxTextFileBytes.
// On failure `error` says why ("cannot open ...", "... is too large").
[[nodiscard]] bool ReadTextFile(const std::string& path, std::string& text, std::string& error);

}  // namespace tarvix
