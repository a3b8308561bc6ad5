#include "backup/BackupFormat.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "base/Text.h"

namespace tarvix::backup {
namespace {

// ---- Layout tables ----------------------------------------------------------

// "DefaultRcvWindow" is recorded twice: stored files have ten pairs here.
constexpr std::array<std::string_view, 10> k9xMainNames = {
    "SackOpts",      "Tcp1323Opts",         "DefaultTTL",   "DefaultRcvWindow",
    "GlobalMaxTcpWindowSize", "PMTUBlackHoleDetect", "DefaultRcvWindow", "PMTUDiscovery",
    "KeepAliveTime", "KeepAliveInterval"};
constexpr std::array<std::string_view, 13> kNtMainNames = {
    "SackOpts",           "Tcp1323Opts",   "TcpMaxDupAcks",     "DefaultReceiveWindow",
    "DefaultTTL",         "GlobalMaxTcpWindowSize", "TcpWindowSize", "EnablePMTUBHDetect",
    "EnablePMTUDiscovery", "KeepAliveTime", "KeepAliveInterval", "SYNAttackProtect",
    "EnableICMPRedirects"};
constexpr std::array<std::string_view, 2> kConnectionNames = {"MaxConnectionsPer1_0Server",
                                                              "MaxConnectionsPerServer"};
constexpr std::array<std::string_view, 1> kDefaultValueName = {""};
constexpr std::array<std::string_view, 2> k9xAdapterNames = {"MaxMTU", "MaxMSS"};
constexpr std::array<std::string_view, 2> kNtInterfaceNames = {"MTU", "MSS"};

using namespace netkeys;

constexpr std::array<GroupLayout, 3> k9xFixed = {{
    {k9xMstcp, k9xMainNames},
    {k9xInternetSettings, kConnectionNames},
    {kCacheSize, kDefaultValueName},
}};
constexpr std::array<GroupLayout, 1> k9xPerSubKey = {{{k9xTransport, k9xAdapterNames}}};
constexpr std::array<GroupLayout, 3> kNtFixed = {{
    {kNtTcpip, kNtMainNames},
    {kNtInternetSettings, kConnectionNames},
    {kCacheSize, kDefaultValueName},
}};
constexpr std::array<GroupLayout, 2> kNtPerSubKey = {{
    {kNtInterface, kNtInterfaceNames},
    {kNtInterfaceService, kNtInterfaceNames},
}};

constexpr FamilyLayout k9xLayout = {k9xFixed, k9xTransports, k9xPerSubKey};
constexpr FamilyLayout kNtLayout = {kNtFixed, kNtInterfaces, kNtPerSubKey};

// ---- Small text helpers -------------------------------------------------------

// Reads "#" + fixed-width digit fields with separators + "#".
bool ParseStamp(std::string_view text, char separator, int (&fields)[3], std::size_t firstWidth) {
  const std::size_t length = 1 + firstWidth + 1 + 2 + 1 + 2 + 1;
  if (text.size() != length || text.front() != '#' || text.back() != '#') return false;
  std::size_t at = 1;
  for (int i = 0; i < 3; ++i) {
    const std::size_t width = i == 0 ? firstWidth : 2;
    int value = 0;
    for (std::size_t k = 0; k < width; ++k) {
      const char c = text[at + k];
      if (!text::IsDigit(c)) return false;
      value = value * 10 + (c - '0');
    }
    fields[i] = value;
    at += width;
    if (i < 2) {
      if (text[at] != separator) return false;
      ++at;
    }
  }
  return true;
}

std::optional<Date> ParseDate(std::string_view text) {
  int f[3];
  if (!ParseStamp(text, '-', f, 4) || f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31) return std::nullopt;
  return Date{f[0], f[1], f[2]};
}

std::optional<Time> ParseTime(std::string_view text) {
  int f[3];
  if (!ParseStamp(text, ':', f, 2) || f[0] > 23 || f[1] > 59 || f[2] > 59) return std::nullopt;
  return Time{f[0], f[1], f[2]};
}

// The file's lines without their CR LF; blank lines at the very end are
// dropped.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The number of the first of the first `lineCount` lines that does not end
// with CR LF; 0 when they all do. A field whose line break is missing may
// have been cut anywhere, "1460" to "14" as well, so it is never taken.
std::size_t FirstUnterminatedLine(std::string_view text, std::size_t lineCount) {
  std::size_t number = 1;
  while (!text.empty() && number <= lineCount) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos || end == 0 || text[end - 1] != '\r') return number;
    text.remove_prefix(end + 1);
    ++number;
  }
  return 0;
}

std::string UnterminatedError(std::size_t line) {
  return "The file is cut off: line " + std::to_string(line) +
         " does not end with a line break (CR LF), so its field may be incomplete.";
}

class LineReader {
 public:
  explicit LineReader(std::vector<std::string_view> lines) : lines_(std::move(lines)) {}

  [[nodiscard]] bool AtEnd() const noexcept { return next_ >= lines_.size(); }
  [[nodiscard]] std::size_t LineNumber() const noexcept { return next_ + 1; }
  std::string_view Take() noexcept { return lines_[next_++]; }

 private:
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
};

std::optional<std::string> ParseQuoted(std::string_view line) {
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return std::nullopt;
  line = line.substr(1, line.size() - 2);
  if (line.find('"') != std::string_view::npos) return std::nullopt;
  return std::string(line);
}

std::string LineError(std::size_t line, std::string_view what) {
  return "Line " + std::to_string(line) + ": " + std::string(what);
}

std::optional<Header> ReadHeader(LineReader& reader, std::string& error) {
  Header header;
  if (reader.AtEnd()) {
    error = "The file is empty.";
    return std::nullopt;
  }
  std::size_t line = reader.LineNumber();
  const auto date = ParseDate(reader.Take());
  if (!date) {
    error = LineError(line, "expected the date of the backup, such as #2026-12-07#.");
    return std::nullopt;
  }
  if (reader.AtEnd()) {
    error = "The file ends after its date.";
    return std::nullopt;
  }
  line = reader.LineNumber();
  const auto time = ParseTime(reader.Take());
  if (!time) {
    error = LineError(line, "expected the time of the backup, such as #14:05:09#.");
    return std::nullopt;
  }
  if (reader.AtEnd()) {
    error = "The file ends after its time.";
    return std::nullopt;
  }
  line = reader.LineNumber();
  const auto family = text::ParseWhole<std::int16_t>(reader.Take());
  if (!family) {
    error = LineError(line, "expected the operating system code.");
    return std::nullopt;
  }
  header.date = *date;
  header.time = *time;
  header.family = *family;
  return header;
}

bool KeyMatches(const GroupLayout& layout, bool perSubKey, std::string_view key) {
  const netkeys::KeyPath& path = layout.path;
  if (!perSubKey) return text::EqualsNoCase(key, path.key);
  if (!text::StartsWithNoCase(key, path.key)) return false;
  std::string_view rest = key.substr(path.key.size());
  if (rest.size() <= path.suffix.size()) return false;
  if (!text::EqualsNoCase(rest.substr(rest.size() - path.suffix.size()), path.suffix)) return false;
  const std::string_view subKey = rest.substr(0, rest.size() - path.suffix.size());
  return !subKey.empty() && subKey.find('\\') == std::string_view::npos;
}

// Reads one group's pairs; the names must be the layout's, in order.
bool ReadPairs(LineReader& reader, const GroupLayout& layout, Group& group, std::string& error) {
  for (const std::string_view expected : layout.names) {
    if (reader.AtEnd()) {
      error = "The file is cut off: it ends in the middle of the values of \"" + group.key + "\".";
      return false;
    }
    std::size_t line = reader.LineNumber();
    auto name = ParseQuoted(reader.Take());
    if (!name || !text::EqualsNoCase(*name, expected)) {
      error = LineError(line, "expected the value name \"" + std::string(expected) + "\" in double quotes.");
      return false;
    }
    if (reader.AtEnd()) {
      error = "The file is cut off: it ends before the value of \"" + *name + "\".";
      return false;
    }
    line = reader.LineNumber();
    const std::string_view field = reader.Take();
    Pair pair{std::move(*name), std::nullopt};
    if (field != kMissing) {
      const auto number = text::ParseWhole<std::int64_t>(field);
      if (!number || *number < kLowestValue || *number > kHighestValue) {
        error = LineError(line, "a value must be a whole number from -2147483648 to 4294967295, or Missing.");
        return false;
      }
      pair.value = *number;
    }
    group.pairs.push_back(std::move(pair));
  }
  return true;
}

}  // namespace

const FamilyLayout* LayoutFor(std::int16_t family) noexcept {
  if (family >= 1 && family <= 4) return &k9xLayout;
  if (family >= 5 && family <= 8) return &kNtLayout;
  return nullptr;
}

std::string FormatDate(const Date& date) {
  char text[32];
  std::snprintf(text, sizeof(text), "#%04d-%02d-%02d#", date.year, date.month, date.day);
  return text;
}

std::string FormatTime(const Time& time) {
  char text[32];
  std::snprintf(text, sizeof(text), "#%02d:%02d:%02d#", time.hour, time.minute, time.second);
  return text;
}

std::string Format(const Contents& contents) {
  std::string text;
  const auto line = [&text](std::string_view field) {
    text += field;
    text += "\r\n";
  };
  const auto quoted = [&line](std::string_view field) { line("\"" + std::string(field) + "\""); };
  line(FormatDate(contents.date));
  line(FormatTime(contents.time));
  line(std::to_string(contents.family));
  for (const Group& group : contents.groups) {
    quoted(group.key);
    for (const Pair& pair : group.pairs) {
      quoted(pair.name);
      line(pair.value ? std::to_string(*pair.value) : std::string(kMissing));
    }
  }
  return text;
}

std::optional<Header> ParseHeader(std::string_view text, std::string* error) {
  LineReader reader(SplitLines(text));
  std::string message;
  auto header = ReadHeader(reader, message);
  if (header) {
    if (const std::size_t bad = FirstUnterminatedLine(text, 3); bad != 0) {
      header.reset();
      message = UnterminatedError(bad);
    }
  }
  if (!header && error != nullptr) *error = message;
  return header;
}

ParseResult Parse(std::string_view text) {
  ParseResult result;
  LineReader reader(SplitLines(text));
  const auto header = ReadHeader(reader, result.error);
  if (!header) return result;
  if (const std::size_t bad = FirstUnterminatedLine(text, static_cast<std::size_t>(-1)); bad != 0) {
    result.error = UnterminatedError(bad);
    return result;
  }
  const FamilyLayout* layout = LayoutFor(header->family);
  if (layout == nullptr) {
    result.error = "The operating system code " + std::to_string(header->family) + " is not one Tarvix knows.";
    return result;
  }
  Contents contents{header->date, header->time, header->family, {}};
  for (const GroupLayout& fixed : layout->fixedGroups) {
    if (reader.AtEnd()) {
      result.error = "The file is cut off: it ends before the key \"" + std::string(fixed.path.key) + "\".";
      return result;
    }
    const std::size_t line = reader.LineNumber();
    auto key = ParseQuoted(reader.Take());
    if (!key || !KeyMatches(fixed, false, *key)) {
      result.error = LineError(line, "expected the key \"" + std::string(fixed.path.key) + "\" in double quotes.");
      return result;
    }
    Group group{std::move(*key), {}};
    if (!ReadPairs(reader, fixed, group, result.error)) return result;
    contents.groups.push_back(std::move(group));
  }
  // Adapter or interface groups up to the end, or up to an empty key.
  while (!reader.AtEnd()) {
    const std::size_t line = reader.LineNumber();
    auto key = ParseQuoted(reader.Take());
    if (!key) {
      result.error = LineError(line, "expected a key in double quotes.");
      return result;
    }
    if (key->empty()) break;
    const GroupLayout* match = nullptr;
    for (const GroupLayout& candidate : layout->perSubKeyGroups) {
      if (KeyMatches(candidate, true, *key)) {
        match = &candidate;
        break;
      }
    }
    if (match == nullptr) {
      result.error = LineError(line, "the key \"" + *key + "\" is not one that Tarvix backs up.");
      return result;
    }
    Group group{std::move(*key), {}};
    if (!ReadPairs(reader, *match, group, result.error)) return result;
    contents.groups.push_back(std::move(group));
  }
  result.contents = std::move(contents);
  return result;
}

bool HasBackupExtension(std::string_view name) noexcept { return text::EndsWithNoCase(name, kExtension); }

int NumberFromBaseName(std::string_view baseName) noexcept {
  if (baseName.size() > 3) baseName.remove_prefix(baseName.size() - 3);
  int number = 0;
  for (const char c : baseName) {
    if (!text::IsDigit(c)) break;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::optional<int> NextFreeNumber(std::span<const bool> taken) noexcept {
  int highest = 0;
  for (int n = 1; n <= kHighestNumber && static_cast<std::size_t>(n) < taken.size(); ++n) {
    if (taken[static_cast<std::size_t>(n)]) highest = n;
  }
  if (highest < kHighestNumber) return highest + 1;
  for (int n = 1; n <= kHighestNumber; ++n) {
    if (static_cast<std::size_t>(n) >= taken.size() || !taken[static_cast<std::size_t>(n)]) return n;
  }
  return std::nullopt;
}

std::optional<std::string> FileNameForNumber(int number) {
  if (number < 1 || number > kHighestNumber) return std::nullopt;
  char name[16];
  std::snprintf(name, sizeof(name), "%03d", number);
  return std::string(name) + std::string(kExtension);
}

}  // namespace tarvix::backup
