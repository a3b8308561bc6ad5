#include "base/TextFile.h"

#include <array>
#include <cstdio>
#include <memory>

#include "base/Text.h"
#include "base/Utf8.h"

namespace tarvix {
namespace {

int HexDigit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool Fail(TextError& error, int line, std::string message) {
  error = {line, std::move(message)};
  return false;
}

bool IsPrintable(std::string_view text) noexcept {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string TextError::Describe() const {
  if (line <= 0) return message;
  return "line " + std::to_string(line) + ": " + message;
}

bool ParseHexColour(std::string_view text, Rgb& colour) noexcept {
  text = text::TrimSpace(text);
  if (text.size() != 7 || text[0] != '#') return false;
  int digits[6];
  for (int i = 0; i < 6; ++i) {
    digits[i] = HexDigit(text[static_cast<std::size_t>(i) + 1]);
    if (digits[i] < 0) return false;
  }
  colour.r = static_cast<std::uint8_t>(digits[0] * 16 + digits[1]);
  colour.g = static_cast<std::uint8_t>(digits[2] * 16 + digits[3]);
  colour.b = static_cast<std::uint8_t>(digits[4] * 16 + digits[5]);
  return true;
}

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  for (;;) {
    const auto bar = text.find('|');
    fields.emplace_back(text::TrimSpace(text.substr(0, bar)));
    if (bar == std::string_view::npos) break;
    text.remove_prefix(bar + 1);
  }
  return fields;
}

bool ReadKeyLines(std::string_view text, std::string_view magic, std::vector<KeyLine>& lines,
                  TextError& error) {
  lines.clear();
  if (text.size() > kMaxTextFileBytes) {
    error = {0, "the file is larger than " + std::to_string(kMaxTextFileBytes / 1024) + " KB"};
    return false;
  }
  if (text.find('\0') != std::string_view::npos) {
    error = {0, "the file holds NUL bytes; it is not a text file"};
    return false;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  bool sawMagic = false;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (raw.size() > kMaxTextLineChars) {
      error = {number, "the line is longer than " + std::to_string(kMaxTextLineChars) + " characters"};
      return false;
    }
    const std::string_view line = text::TrimSpace(raw);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (!sawMagic) {
      if (line != magic) {
        error = {number, "the file must begin with \"" + std::string(magic) + "\""};
        return false;
      }
      sawMagic = true;
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) {
        error = {number, "a section header must look like [name]"};
        return false;
      }
      lines.push_back({KeyLine::Kind::Section, number, std::string(text::TrimSpace(line.substr(1, line.size() - 2))), {}});
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
      error = {number, "expected \"key = value\" or [section]"};
      return false;
    }
    const std::string_view key = text::TrimSpace(line.substr(0, equals));
    if (key.empty()) {
      error = {number, "a key is missing before '='"};
      return false;
    }
    lines.push_back({KeyLine::Kind::Pair, number, std::string(key), std::string(text::TrimSpace(line.substr(equals + 1)))});
  }
  if (!sawMagic) {
    error = {0, "the file is empty; it must begin with \"" + std::string(magic) + "\""};
    return false;
  }
  return true;
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  // C's files rather than C++ streams: the streams would bring the C++
  // locale machinery into the program, which start-up would pay for.
#ifdef _WIN32
  // Opened by its wide name, so any folder works.
  std::FILE* const opened = _wfopen(ToWide(path).c_str(), L"rb");
#else
  std::FILE* const opened = std::fopen(path.c_str(), "rb");
#endif
  if (opened == nullptr) {
    error = "cannot open " + path;
    return false;
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(opened, &std::fclose);
  std::string content;
  std::array<char, 16384> chunk;
  for (;;) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
    if (got > kMaxTextFileBytes - content.size()) {
      error = path + " is too large";
      return false;
    }
    content.append(chunk.data(), got);
    if (got < chunk.size()) break;
  }
  if (std::ferror(file.get()) != 0) {
    error = "cannot read " + path;
    return false;
  }
  text = std::move(content);
  return true;
}

}  // namespace tarvix
