#pragma once
// mListView: sorting the rows of a report list view by the text of one
// column, read as text, a whole number, a real number or a date/time in the
// user's regional formats. This header and its .cpp are window-free (no
// windows.h): the keys and the comparison are tested without a list view.
// The list-view side (CompareListItems, FindItemByData, GetSubItemText) is
// in mListViewWindow.h.
//
//   mListView::SortColumn = 2;                          // "Creating Date"
//   mListView::SortKind = mListView::kSortDateTime;
//   mListView::SortDirection = mListView::kSortDescending;
//   mListView::SortListView(list);                      // mListViewWindow.h
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvix::mListView {

// SortDirection: 1 sorts descending, any other value ascending.
inline constexpr std::int32_t kSortAscending = 0;
inline constexpr std::int32_t kSortDescending = 1;

// SortKind: how a column's text is read.
inline constexpr std::int32_t kSortText = 0;      // by character codes, case-sensitive
inline constexpr std::int32_t kSortInteger = 1;   // a signed 32-bit whole number
inline constexpr std::int32_t kSortReal = 2;      // a real number
inline constexpr std::int32_t kSortDateTime = 3;  // a date, a time of day, or both

// The module state shared by the caller and the list view's sort callback for
// the length of one sort; process-wide, all 0 at start. SortColumn is
// 1-based: the list view's sub-item index is SortColumn - 1.
extern std::int32_t SortColumn;
extern std::int32_t SortDirection;
extern std::int32_t SortKind;

// Which part of a date/time a kSortDateTime column holds. A column of dates
// is read only as dates and a column of times only as times: where the
// date and time separators are the same (Finnish d.M.yyyy and H.mm.ss),
// "14.05.09" would otherwise read as 14 May 2009.
enum class DateTimePart : std::int32_t { DateOrTime, DateOnly, TimeOnly };
extern DateTimePart SortDateTimePart;  // DateOrTime at start

// The user's regional formats, as Windows gives them (GetLocaleInfo): the
// pictures are those of GetDateFormat/GetTimeFormat ("M/d/yyyy",
// "h:mm:ss tt", "dd.MM.yyyy", "HH:mm:ss", ...). The defaults are en-US.
struct LocaleFormats {
  std::string shortDate = "M/d/yyyy";
  std::string longTime = "h:mm:ss tt";
  std::string am = "AM";
  std::string pm = "PM";
  // For pictures with MMM or MMMM; empty names match nothing.
  std::array<std::string, 12> monthNames{"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 12> abbreviatedMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char decimalSeparator = '.';
  char thousandSeparator = ',';
};

// A date/time as Windows' variant date: days since 1899-12-30 plus the time
// of day as a fraction of a day. A text that holds only a time gives that
// time of day on day 0; only a date, midnight of that day.
//
// Reads the text by the user's short date picture followed by the long time
// picture, by either picture alone, and last by the ISO forms yyyy-MM-dd and
// HH:mm:ss (either or both). nullopt when none of them reads the whole text
// as a real calendar date and clock time.
// With DateOnly only the date pictures are tried, with TimeOnly only the
// time pictures.
[[nodiscard]] std::optional<double> ParseDateTime(std::string_view text, const LocaleFormats& formats,
                                                  DateTimePart part = DateTimePart::DateOrTime);
// Reads `text` by one picture only; nullopt unless the whole text matches.
[[nodiscard]] std::optional<double> ParseByPicture(std::string_view text, std::string_view picture,
                                                   const LocaleFormats& formats);

// The key of one column text. A text that cannot be converted gives the
// empty key: the empty string for text, 0 for numbers, and for dates the
// zero date/time (1899-12-30 at midnight), so such rows sort first when
// ascending and last when descending.
struct SortKey {
  std::string text;   // kSortText
  double number = 0;  // kSortInteger, kSortReal, kSortDateTime
};
[[nodiscard]] SortKey MakeSortKey(std::string_view text, std::int32_t kind, const LocaleFormats& formats,
                                  DateTimePart part = DateTimePart::DateOrTime);

// -1 when the first row goes first, 0 when the keys are equal, 1 when the
// second goes first. Descending order exchanges the keys, so every result
// is the ascending one negated and ties stay 0. An unknown kind compares
// every pair equal.
[[nodiscard]] int CompareSortKeys(const SortKey& first, const SortKey& second, std::int32_t kind,
                                  std::int32_t direction) noexcept;
// MakeSortKey on both texts, then CompareSortKeys.
[[nodiscard]] int CompareColumnTexts(std::string_view first, std::string_view second, std::int32_t kind,
                                     std::int32_t direction, const LocaleFormats& formats,
                                     DateTimePart part = DateTimePart::DateOrTime);

}  // namespace tarvix::mListView
