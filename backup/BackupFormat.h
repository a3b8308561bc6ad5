#pragma once
// The backup file: numbered text files 001.BCK to 999.BCK, one field a line,
// each line ended by CR LF. Pure: no windows.h, so it also builds natively
// for the fuzzer.
//
//   #2026-12-07#                 date of writing
//   #14:05:09#                   time of writing
//   7                            the OS family code
//   "System\...\Parameters"      a key, then pairs of a value name and its value
//   "DefaultTTL"
//   128
//   ...
//
// The groups, in order: the family's main key with 10 pairs (codes 1 to 4) or
// 13 pairs (codes 5 to 8); the Internet Settings key (under HKEY_CURRENT_USER)
// with 2 pairs; the cachesize key with 1 pair (the empty name: the default
// value); then any number of adapter or interface groups of 2 pairs each, up
// to the end of the file or to a key field that is empty. Every other key is
// under HKEY_LOCAL_MACHINE.
//
// A value is a whole number from -2147483648 to 4294967295 (a negative number
// stands for the same 32 bits as its unsigned twin), or the bare word
// Missing for a value that did not exist when the file was written: restoring
// it deletes the value.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registry/NetworkKeys.h"

namespace tarvix::backup {

inline constexpr std::string_view kMissing = "Missing";
inline constexpr std::string_view kExtension = ".BCK";
inline constexpr int kHighestNumber = 999;
inline constexpr std::int64_t kLowestValue = -2147483648LL;
inline constexpr std::int64_t kHighestValue = 4294967295LL;

struct Date {
  int year = 0, month = 0, day = 0;
  friend bool operator==(const Date&, const Date&) = default;
};
struct Time {
  int hour = 0, minute = 0, second = 0;
  friend bool operator==(const Time&, const Time&) = default;
};

struct Pair {
  std::string name;
  std::optional<std::int64_t> value;  // nullopt: the value was missing
  friend bool operator==(const Pair&, const Pair&) = default;
};

struct Group {
  std::string key;
  std::vector<Pair> pairs;
  friend bool operator==(const Group&, const Group&) = default;
};

struct Contents {
  Date date;
  Time time;
  std::int16_t family = 0;
  std::vector<Group> groups;
  friend bool operator==(const Contents&, const Contents&) = default;
};

// ---- Which keys and values a family's file records ------------------------

struct GroupLayout {
  netkeys::KeyPath path;          // for per-sub-key groups, the parts around the sub-key name
  std::span<const std::string_view> names;
};

struct FamilyLayout {
  std::span<const GroupLayout> fixedGroups;     // main, Internet Settings, cachesize
  std::string_view enumeratedKey;               // whose sub-keys give the trailing groups
  std::span<const GroupLayout> perSubKeyGroups; // written for each sub-key name, in order
};

// nullptr for a code outside 1 to 8.
[[nodiscard]] const FamilyLayout* LayoutFor(std::int16_t family) noexcept;

// ---- Reading and writing ----------------------------------------------------

[[nodiscard]] std::string Format(const Contents& contents);

struct ParseResult {
  std::optional<Contents> contents;  // set exactly when the whole file is sound
  std::string error;                 // what is wrong, for the user
};
// Reads and checks a whole file against its family's layout.
[[nodiscard]] ParseResult Parse(std::string_view text);

struct Header {
  Date date;
  Time time;
  std::int16_t family = 0;
};
// The date, time and family lines only (the backup manager's list).
[[nodiscard]] std::optional<Header> ParseHeader(std::string_view text, std::string* error = nullptr);

// "#2026-12-07#" and "#14:05:09#".
[[nodiscard]] std::string FormatDate(const Date& date);
[[nodiscard]] std::string FormatTime(const Time& time);

// ---- Names ------------------------------------------------------------------

// The number of a file from its base name: the last three characters read as
// a leading decimal number; 0 when they do not begin with a digit.
[[nodiscard]] int NumberFromBaseName(std::string_view baseName) noexcept;
// True when `name` ends in ".BCK" in any case. The search pattern *.BCK also
// finds names whose short 8.3 alias ends so (such as "x.bckup" on Windows).
[[nodiscard]] bool HasBackupExtension(std::string_view name) noexcept;
// The number of the next backup, given which numbers are taken (index 0 to
// 999; index 0 stands for names that give no number): one above the highest
// taken number; once 999 is taken, the lowest free number from 1; nullopt
// when every number from 1 to 999 is taken.
[[nodiscard]] std::optional<int> NextFreeNumber(std::span<const bool> taken) noexcept;
// "001.BCK" ... "999.BCK"; nullopt outside 1 to 999.
[[nodiscard]] std::optional<std::string> FileNameForNumber(int number);

}  // namespace tarvix::backup
