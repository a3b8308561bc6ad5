#include "backup/mListView.h"

#include <charconv>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "base/Text.h"

namespace tarvix::mListView {

std::int32_t SortColumn = 0;
std::int32_t SortDirection = 0;
std::int32_t SortKind = 0;
DateTimePart SortDateTimePart = DateTimePart::DateOrTime;

namespace {

bool IsSpace(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\xA0'; }
// Letters of any script: ANSI code pages put theirs above 0x7F.
bool IsLetter(char c) noexcept {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x80;
}

std::string_view Trim(std::string_view text) noexcept { return text::TrimIf(text, IsSpace); }

// Where Windows runs the program in the UTF-8 code page, locale texts spell
// the no-break space (U+00A0) and the narrow one (U+202F) in two and three
// bytes. They are blanks like the one-byte no-break space of the ANSI code
// pages; `buffer` holds the rewritten text when there is one to rewrite.
std::string_view WideBlanksAsSpaces(std::string_view text, std::string& buffer) {
  if (text.find_first_of("\xC2\xE2") == std::string_view::npos) return text;
  buffer.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) == "\xC2\xA0") {
      buffer += ' ';
      i += 1;
    } else if (text.substr(i, 3) == "\xE2\x80\xAF") {
      buffer += ' ';
      i += 2;
    } else {
      buffer += text[i];
    }
  }
  return buffer;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (text::Lower(text[i]) != text::Lower(prefix[i])) return false;
  }
  return true;
}

// One element of a date or time picture: a field ('d', 'M', 'y', 'h', 'H',
// 'm', 's', 't', 'g' repeated `count` times) or literal text.
struct PictureToken {
  char field = 0;  // 0: literal
  int count = 0;
  std::string literal;
};

std::vector<PictureToken> Tokenize(std::string_view picture) {
  std::vector<PictureToken> tokens;
  const auto addLiteral = [&tokens](char c) {
    if (tokens.empty() || tokens.back().field != 0) tokens.push_back({});
    tokens.back().literal += c;
  };
  for (std::size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    if (c == '\'') {  // quoted text; '' inside is one quote
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            addLiteral('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        addLiteral(picture[i++]);
      }
    } else if (std::string_view("dMyhHmstg").find(c) != std::string_view::npos) {
      int count = 0;
      while (i < picture.size() && picture[i] == c) {
        ++count;
        ++i;
      }
      tokens.push_back({c, count, {}});
    } else {
      addLiteral(c);
      ++i;
    }
  }
  return tokens;
}

struct Fields {
  int year = -1, month = -1, day = -1;
  int yearDigits = 0;
  int hour = -1, minute = -1, second = -1;
  bool twelveHour = false;
  int meridiem = -1;  // 0 AM, 1 PM, -1 none given
};

class TextCursor {
 public:
  explicit TextCursor(std::string_view text) noexcept : text_(text) {}
  [[nodiscard]] bool AtEnd() const noexcept { return at_ >= text_.size(); }
  [[nodiscard]] std::string_view Rest() const noexcept { return text_.substr(at_); }
  void Advance(std::size_t count) noexcept { at_ += count; }
  void SkipSpaces() noexcept {
    while (!AtEnd() && IsSpace(text_[at_])) ++at_;
  }
  // 1 to maxDigits decimal digits; nullopt when there is none.
  std::optional<int> Number(int maxDigits, int* digits = nullptr) noexcept {
    int value = 0;
    int count = 0;
    while (count < maxDigits && !AtEnd() && text::IsDigit(text_[at_])) {
      value = value * 10 + (text_[at_++] - '0');
      ++count;
    }
    if (digits != nullptr) *digits = count;
    if (count == 0) return std::nullopt;
    return value;
  }
  bool Letters() noexcept {
    const std::size_t start = at_;
    while (!AtEnd() && (IsLetter(text_[at_]) || text_[at_] == '.')) ++at_;
    return at_ > start;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// The month whose name (or abbreviation) begins the text, longest first.
std::optional<int> MatchMonth(TextCursor& cursor, const LocaleFormats& formats) {
  int best = -1;
  std::size_t bestLength = 0;
  for (const auto* names : {&formats.monthNames, &formats.abbreviatedMonthNames}) {
    for (int month = 0; month < 12; ++month) {
      const std::string& name = (*names)[static_cast<std::size_t>(month)];
      if (name.size() > bestLength && StartsWithNoCase(cursor.Rest(), name)) {
        best = month + 1;
        bestLength = name.size();
      }
    }
  }
  if (best < 0) return std::nullopt;
  cursor.Advance(bestLength);
  return best;
}

// An AM or PM designator, whole ("tt") or its first character ("t"). No
// designator is no failure: 24-hour texts read under a 12-hour picture.
void MatchMeridiem(TextCursor& cursor, int count, const LocaleFormats& formats, Fields& fields) {
  std::size_t bestLength = 0;
  for (int which = 0; which < 2; ++which) {
    std::string_view designator = which == 0 ? formats.am : formats.pm;
    if (count == 1 && !designator.empty()) designator = designator.substr(0, 1);
    if (designator.size() > bestLength && StartsWithNoCase(cursor.Rest(), designator)) {
      fields.meridiem = which;
      bestLength = designator.size();
    }
  }
  cursor.Advance(bestLength);
}

bool MatchToken(TextCursor& cursor, const PictureToken& token, const LocaleFormats& formats, Fields& fields) {
  switch (token.field) {
    case 0:
      for (const char c : token.literal) {
        if (IsSpace(c)) {
          cursor.SkipSpaces();
          continue;
        }
        if (cursor.AtEnd() || text::Lower(cursor.Rest().front()) != text::Lower(c)) return false;
        cursor.Advance(1);
      }
      return true;
    case 'd':
      if (token.count >= 3) return cursor.Letters();  // the day's name says nothing the date does not
      return (fields.day = cursor.Number(2).value_or(-1)) >= 0;
    case 'M':
      if (token.count >= 3) return (fields.month = MatchMonth(cursor, formats).value_or(-1)) >= 0;
      return (fields.month = cursor.Number(2).value_or(-1)) >= 0;
    case 'y':
      return (fields.year = cursor.Number(token.count >= 3 ? 4 : 2, &fields.yearDigits).value_or(-1)) >= 0;
    case 'h':
    case 'H':
      fields.twelveHour = token.field == 'h';
      return (fields.hour = cursor.Number(2).value_or(-1)) >= 0;
    case 'm':
      return (fields.minute = cursor.Number(2).value_or(-1)) >= 0;
    case 's':
      return (fields.second = cursor.Number(2).value_or(-1)) >= 0;
    case 't':
      MatchMeridiem(cursor, token.count, formats, fields);
      return true;
    case 'g':
      cursor.Letters();  // an era name, such as "A.D."
      return true;
    default:
      return false;
  }
}

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromVariantEpoch(int year, int month, int day) noexcept {
  const auto daysFromCivil = [](std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
  };
  return daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30);
}

int DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<double> Resolve(Fields fields, bool hasDate, bool hasTime) {
  double days = 0;
  if (hasDate) {
    if (fields.year < 0 || fields.month < 0 || fields.day < 0) return std::nullopt;
    // Two-digit years as Windows reads them: 00 to 29 in this century.
    if (fields.yearDigits <= 2) fields.year += fields.year < 30 ? 2000 : 1900;
    if (fields.year < 100 || fields.year > 9999 || fields.month < 1 || fields.month > 12 || fields.day < 1 ||
        fields.day > DaysInMonth(fields.year, fields.month)) {
      return std::nullopt;
    }
    days = static_cast<double>(DaysFromVariantEpoch(fields.year, fields.month, fields.day));
  }
  if (!hasTime) return days;
  if (fields.hour < 0) return std::nullopt;
  if (fields.minute < 0) fields.minute = 0;
  if (fields.second < 0) fields.second = 0;
  if (fields.meridiem >= 0 && fields.twelveHour) {
    if (fields.hour < 1 || fields.hour > 12) return std::nullopt;
    fields.hour = fields.hour % 12 + (fields.meridiem == 1 ? 12 : 0);
  }
  if (fields.hour > 23 || fields.minute > 59 || fields.second > 59) return std::nullopt;
  const int seconds = fields.hour * 3600 + fields.minute * 60 + fields.second;
  return days + seconds / 86400.0;
}

std::optional<double> ParseReal(std::string_view text, const LocaleFormats& formats) {
  std::string buffer;
  text = Trim(WideBlanksAsSpaces(text, buffer));
  std::string plain;
  bool sawDigit = false;
  bool inFraction = false;
  bool inExponent = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (text::IsDigit(c)) {
      plain += c;
      sawDigit = true;
    } else if ((c == '-' || c == '+') && (i == 0 || (inExponent && text::Lower(text[i - 1]) == 'e'))) {
      if (c == '-') plain += c;
    } else if (c == formats.decimalSeparator && !inFraction && !inExponent) {
      plain += '.';
      inFraction = true;
    } else if (c == formats.thousandSeparator && sawDigit && !inFraction && !inExponent && i + 1 < text.size() &&
               text::IsDigit(text[i + 1])) {
      // grouping: "1,234,567"
    } else if (text::Lower(c) == 'e' && sawDigit && !inExponent) {
      plain += 'e';
      inExponent = true;
    } else {
      return std::nullopt;
    }
  }
  if (!sawDigit) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> ParseInteger(std::string_view text, const LocaleFormats& formats) {
  const auto real = ParseReal(text, formats);
  if (!real) return std::nullopt;
  // As a whole-number conversion rounds: halves to the even neighbour.
  const double rounded = std::nearbyint(*real);
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return rounded;
}

}  // namespace

std::optional<double> ParseByPicture(std::string_view text, std::string_view picture, const LocaleFormats& formats) {
  std::string textBuffer;
  std::string pictureBuffer;
  text = Trim(WideBlanksAsSpaces(text, textBuffer));
  picture = WideBlanksAsSpaces(picture, pictureBuffer);
  if (text.empty() || Trim(picture).empty()) return std::nullopt;
  const std::vector<PictureToken> tokens = Tokenize(Trim(picture));
  bool hasDate = false;
  bool hasTime = false;
  for (const PictureToken& token : tokens) {
    hasDate = hasDate || token.field == 'd' || token.field == 'M' || token.field == 'y';
    hasTime = hasTime || token.field == 'h' || token.field == 'H' || token.field == 'm' || token.field == 's';
  }
  if (!hasDate && !hasTime) return std::nullopt;
  TextCursor cursor(text);
  Fields fields;
  for (const PictureToken& token : tokens) {
    if (!MatchToken(cursor, token, formats, fields)) return std::nullopt;
  }
  cursor.SkipSpaces();
  if (!cursor.AtEnd()) return std::nullopt;
  return Resolve(fields, hasDate, hasTime);
}

std::optional<double> ParseDateTime(std::string_view text, const LocaleFormats& formats, DateTimePart part) {
  const std::string both = formats.shortDate + " " + formats.longTime;
  const std::string_view dates[] = {formats.shortDate, "yyyy-MM-dd"};
  const std::string_view times[] = {formats.longTime, "HH:mm:ss"};
  const auto tryAll = [&](std::span<const std::string_view> pictures) -> std::optional<double> {
    for (const std::string_view picture : pictures) {
      if (auto value = ParseByPicture(text, picture, formats)) return value;
    }
    return std::nullopt;
  };
  switch (part) {
    case DateTimePart::DateOnly: return tryAll(dates);
    case DateTimePart::TimeOnly: return tryAll(times);
    case DateTimePart::DateOrTime: break;
  }
  const std::string_view any[] = {both, formats.shortDate, formats.longTime, "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd",
                                  "HH:mm:ss"};
  return tryAll(any);
}

SortKey MakeSortKey(std::string_view text, std::int32_t kind, const LocaleFormats& formats, DateTimePart part) {
  SortKey key;
  switch (kind) {
    case kSortText: key.text.assign(text); break;
    case kSortInteger: key.number = ParseInteger(text, formats).value_or(0); break;
    case kSortReal: key.number = ParseReal(text, formats).value_or(0); break;
    case kSortDateTime: key.number = ParseDateTime(text, formats, part).value_or(0); break;
    default: break;
  }
  return key;
}

int CompareSortKeys(const SortKey& first, const SortKey& second, std::int32_t kind, std::int32_t direction) noexcept {
  const SortKey& a = direction == kSortDescending ? second : first;
  const SortKey& b = direction == kSortDescending ? first : second;
  switch (kind) {
    case kSortText: {
      const int order = a.text.compare(b.text);  // bytes as unsigned characters
      return order < 0 ? -1 : (order == 0 ? 0 : 1);
    }
    case kSortInteger:
    case kSortReal:
    case kSortDateTime: return a.number < b.number ? -1 : (a.number == b.number ? 0 : 1);
    default: return 0;
  }
}

int CompareColumnTexts(std::string_view first, std::string_view second, std::int32_t kind, std::int32_t direction,
                       const LocaleFormats& formats, DateTimePart part) {
  return CompareSortKeys(MakeSortKey(first, kind, formats, part), MakeSortKey(second, kind, formats, part), kind,
                         direction);
}

}  // namespace tarvix::mListView
