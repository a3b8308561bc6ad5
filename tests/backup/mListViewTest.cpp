// The sort keys and their comparison, without a list view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "backup/mListView.h"

namespace tarvix::mListView {
namespace {

const LocaleFormats kUs;  // M/d/yyyy, h:mm:ss tt

LocaleFormats German() {
  LocaleFormats formats;
  formats.shortDate = "dd.MM.yyyy";
  formats.longTime = "HH:mm:ss";
  formats.am.clear();
  formats.pm.clear();
  formats.monthNames = {"Januar", "Februar", "M\xE4rz",    "April",   "Mai",      "Juni",
                        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  formats.decimalSeparator = ',';
  formats.thousandSeparator = '.';
  return formats;
}

int Compare(std::string_view a, std::string_view b, std::int32_t kind, std::int32_t direction = kSortAscending,
            const LocaleFormats& formats = kUs) {
  return CompareColumnTexts(a, b, kind, direction, formats);
}

// Sorts the texts as the list view does with our comparison.
std::vector<std::string> Sorted(std::vector<std::string> texts, std::int32_t kind, std::int32_t direction,
                                const LocaleFormats& formats = kUs) {
  std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
    return Compare(a, b, kind, direction, formats) < 0;
  });
  return texts;
}

double Days(std::string_view text, const LocaleFormats& formats = kUs) {
  const auto value = ParseDateTime(text, formats);
  EXPECT_TRUE(value.has_value()) << text;
  return value.value_or(-1);
}

TEST(mListViewDates, ReadByTheUsersShortDatePicture) {
  EXPECT_DOUBLE_EQ(Days("12/30/1899"), 0);
  EXPECT_DOUBLE_EQ(Days("12/31/1899"), 1);
  EXPECT_DOUBLE_EQ(Days("1/1/2000"), 36526);  // as Windows' variant dates count
  EXPECT_DOUBLE_EQ(Days("2/29/2024"), 45351);
  EXPECT_DOUBLE_EQ(Days("07.12.2026", German()), Days("12/7/2026"));
  EXPECT_DOUBLE_EQ(Days("1/2/26"), Days("1/2/2026"));  // two-digit years: 00-29 this century
  EXPECT_DOUBLE_EQ(Days("1/2/99"), Days("1/2/1999"));

  LocaleFormats named = German();
  named.shortDate = "d. MMMM yyyy";
  EXPECT_DOUBLE_EQ(Days("7. Dezember 2026", named), Days("12/7/2026"));
  EXPECT_DOUBLE_EQ(Days("1. m\xE4rz 2026", named), Days("3/1/2026")) << "month names ignore case";
  LocaleFormats quoted;
  quoted.shortDate = "yyyy'\xC4\xEA'M'\xD4\xC2'd'\xC8\xD5'";  // a picture with quoted text, as in zh-CN
  EXPECT_DOUBLE_EQ(Days("2026\xC4\xEA" "12\xD4\xC2" "7\xC8\xD5", quoted), Days("12/7/2026"));
}

TEST(mListViewDates, TimesAreTimesOfDay) {
  EXPECT_DOUBLE_EQ(Days("12:00:00 AM"), 0);
  EXPECT_DOUBLE_EQ(Days("6:00:00 AM"), 0.25);
  EXPECT_DOUBLE_EQ(Days("12:00:00 PM"), 0.5);
  EXPECT_DOUBLE_EQ(Days("6:00:00 pm"), 0.75);
  EXPECT_DOUBLE_EQ(Days("18:00:00"), 0.75) << "a 24-hour text under a 12-hour picture";
  EXPECT_DOUBLE_EQ(Days("18:00:00", German()), 0.75);
  EXPECT_DOUBLE_EQ(Days("12/7/2026 6:00:00 PM"), Days("12/7/2026") + 0.75);
  LocaleFormats korean;
  korean.longTime = "tt h:mm:ss";
  korean.am = "\xBF\xC0\xC0\xFC";
  korean.pm = "\xBF\xC0\xC8\xC4";
  EXPECT_DOUBLE_EQ(Days("\xBF\xC0\xC8\xC4 6:00:00", korean), 0.75);
}

TEST(mListViewDates, WhatIsNoRealDateOrTimeIsNotRead) {
  for (const char* text : {"", "   ", "(not a backup)", "(cannot be read)", "2/30/2026", "13/1/2026", "1/0/2026",
                           "12/7/2026x", "24:00:00", "10:60:00", "13:00:00 PM", "0:30:00 AM", "#2026-12-07#"}) {
    EXPECT_FALSE(ParseDateTime(text, kUs).has_value()) << text;
  }
  EXPECT_FALSE(ParseDateTime("12/7/2026", German()).has_value());
}

// The faults a text sort makes: 12/1 before 2/1, 10 AM before 9 AM, 12 AM after 1 AM.
TEST(mListViewSort, DatesSortChronologicallyNotAsText) {
  const std::vector<std::string> dates = {"12/7/2026", "2/1/2026", "12/31/2025", "1/10/2026", "11/30/2026", "2/1/2026"};
  EXPECT_EQ(Sorted(dates, kSortDateTime, kSortAscending),
            (std::vector<std::string>{"12/31/2025", "1/10/2026", "2/1/2026", "2/1/2026", "11/30/2026", "12/7/2026"}));
  EXPECT_EQ(Sorted(dates, kSortDateTime, kSortDescending),
            (std::vector<std::string>{"12/7/2026", "11/30/2026", "2/1/2026", "2/1/2026", "1/10/2026", "12/31/2025"}));
  const std::vector<std::string> german = {"07.12.2026", "01.02.2026", "31.12.2025", "10.01.2026"};
  EXPECT_EQ(Sorted(german, kSortDateTime, kSortAscending, German()),
            (std::vector<std::string>{"31.12.2025", "10.01.2026", "01.02.2026", "07.12.2026"}));
}

TEST(mListViewSort, TimesSortByTimeOfDay) {
  const std::vector<std::string> times = {"9:00:00 AM", "10:30:00 AM", "12:00:00 PM", "1:15:00 PM",
                                          "12:30:00 AM", "11:59:59 PM", "1:00:00 AM"};
  EXPECT_EQ(Sorted(times, kSortDateTime, kSortAscending),
            (std::vector<std::string>{"12:30:00 AM", "1:00:00 AM", "9:00:00 AM", "10:30:00 AM", "12:00:00 PM",
                                      "1:15:00 PM", "11:59:59 PM"}));
  EXPECT_EQ(Sorted(times, kSortDateTime, kSortDescending),
            (std::vector<std::string>{"11:59:59 PM", "1:15:00 PM", "12:00:00 PM", "10:30:00 AM", "9:00:00 AM",
                                      "1:00:00 AM", "12:30:00 AM"}));
}

LocaleFormats Finnish() {
  LocaleFormats formats;
  formats.shortDate = "d.M.yyyy";
  formats.longTime = "H.mm.ss";
  formats.am.clear();
  formats.pm.clear();
  formats.decimalSeparator = ',';
  formats.thousandSeparator = ' ';
  return formats;
}

LocaleFormats Iso() {
  LocaleFormats formats;
  formats.shortDate = "yyyy-MM-dd";
  formats.longTime = "HH:mm:ss";
  return formats;
}

// The backup manager's date column is read as dates and its time column as
// times, whatever the separators: in Finnish "14.05.09" is five past two in
// the afternoon, not 14 May 2009.
TEST(mListViewSort, DateAndTimeColumnsAreReadAsTheirOwnPart) {
  struct Locale {
    const char* name;
    LocaleFormats formats;
    std::vector<std::string> datesAscending;
    std::vector<std::string> timesAscending;
  };
  const std::vector<Locale> locales = {
      {"Finnish", Finnish(), {"1.2.2025", "9.12.2026", "10.12.2026"}, {"9.05.00", "14.05.09", "23.59.59"}},
      {"German", German(), {"01.02.2025", "09.12.2026", "10.12.2026"}, {"09:05:00", "14:05:09", "23:59:59"}},
      {"US", kUs, {"2/1/2025", "12/9/2026", "12/10/2026"}, {"9:05:00 AM", "2:05:09 PM", "11:59:59 PM"}},
      {"ISO", Iso(), {"2025-02-01", "2026-12-09", "2026-12-10"}, {"09:05:00", "14:05:09", "23:59:59"}},
  };
  for (const Locale& locale : locales) {
    SCOPED_TRACE(locale.name);
    const auto sorted = [&](std::vector<std::string> texts, DateTimePart part, std::int32_t direction) {
      std::stable_sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
        return CompareColumnTexts(a, b, kSortDateTime, direction, locale.formats, part) < 0;
      });
      return texts;
    };
    std::vector<std::string> dates(locale.datesAscending.rbegin(), locale.datesAscending.rend());
    std::vector<std::string> times(locale.timesAscending.rbegin(), locale.timesAscending.rend());
    EXPECT_EQ(sorted(dates, DateTimePart::DateOnly, kSortAscending), locale.datesAscending);
    EXPECT_EQ(sorted(times, DateTimePart::TimeOnly, kSortAscending), locale.timesAscending);
    std::reverse(dates.begin(), dates.end());
    EXPECT_EQ(sorted(dates, DateTimePart::DateOnly, kSortDescending),
              std::vector<std::string>(locale.datesAscending.rbegin(), locale.datesAscending.rend()));
    // Every time is a time of day on day 0, every date a day at midnight.
    for (const std::string& time : locale.timesAscending) {
      const auto value = ParseDateTime(time, locale.formats, DateTimePart::TimeOnly);
      ASSERT_TRUE(value.has_value()) << time;
      EXPECT_GT(*value, 0.0);
      EXPECT_LT(*value, 1.0);
    }
    for (const std::string& date : locale.datesAscending) {
      const auto value = ParseDateTime(date, locale.formats, DateTimePart::DateOnly);
      ASSERT_TRUE(value.has_value()) << date;
      EXPECT_EQ(*value, std::floor(*value));
      EXPECT_GT(*value, 45000.0);  // in 2023 or later
    }
  }
  const auto finnishTime = ParseDateTime("14.05.09", Finnish(), DateTimePart::TimeOnly);
  ASSERT_TRUE(finnishTime.has_value());
  EXPECT_DOUBLE_EQ(*finnishTime, (14 * 3600 + 5 * 60 + 9) / 86400.0);
  EXPECT_FALSE(ParseDateTime("14.05.2009", Finnish(), DateTimePart::TimeOnly).has_value());
}

// In the UTF-8 code page a locale's no-break spaces arrive as two or three
// bytes, in the pictures and in the texts alike; they are blanks.
TEST(mListViewSort, NoBreakSpacesOfTheUtf8CodePageAreBlanks) {
  LocaleFormats utf8 = kUs;
  utf8.longTime = "h:mm:ss\xE2\x80\xAFtt";
  utf8.shortDate = "d.\xC2\xA0M.\xC2\xA0yyyy";
  const auto time = ParseDateTime("2:05:09\xE2\x80\xAFPM", utf8, DateTimePart::TimeOnly);
  ASSERT_TRUE(time.has_value());
  EXPECT_DOUBLE_EQ(*time, (14 * 3600 + 5 * 60 + 9) / 86400.0);
  const auto date = ParseDateTime("\xC2\xA0" "9.\xC2\xA0" "12.\xC2\xA0" "2026\xE2\x80\xAF", utf8, DateTimePart::DateOnly);
  ASSERT_TRUE(date.has_value());
  EXPECT_DOUBLE_EQ(*date, Days("12/9/2026"));
  // A lone lead byte is not a blank.
  EXPECT_FALSE(ParseDateTime("2:05:09\xE2PM", utf8, DateTimePart::TimeOnly).has_value());
}

TEST(mListViewSort, EqualDatesCompareEqualBothWays) {
  EXPECT_EQ(Compare("2/1/2026", "2/1/2026", kSortDateTime, kSortAscending), 0);
  EXPECT_EQ(Compare("2/1/2026", "2/1/2026", kSortDateTime, kSortDescending), 0);
  EXPECT_EQ(Compare("2/1/2026", "02/01/2026", kSortDateTime, kSortAscending), 0) << "the same day written otherwise";
  EXPECT_EQ(Compare("2:05:09 PM", "14:05:09", kSortDateTime, kSortDescending), 0);
}

TEST(mListViewSort, UnparsableTextsSortFirstAscendingAndLastDescending) {
  const std::vector<std::string> texts = {"12/7/2026", "(not a backup)", "1/1/1900", "", "2/30/2026", "12/31/1899"};
  const auto up = Sorted(texts, kSortDateTime, kSortAscending);
  // The three that cannot be read are one key (the zero date) and keep their order.
  EXPECT_EQ(up, (std::vector<std::string>{"(not a backup)", "", "2/30/2026", "12/31/1899", "1/1/1900", "12/7/2026"}));
  const auto down = Sorted(texts, kSortDateTime, kSortDescending);
  EXPECT_EQ(down, (std::vector<std::string>{"12/7/2026", "1/1/1900", "12/31/1899", "(not a backup)", "", "2/30/2026"}));
  EXPECT_EQ(Compare("(not a backup)", "", kSortDateTime), 0);
  EXPECT_EQ(Compare("(not a backup)", "12:00:00 AM", kSortDateTime), 0) << "the zero date/time is midnight";
  EXPECT_EQ(Compare("(not a backup)", "12:00:01 AM", kSortDateTime), -1);
}

TEST(mListViewSort, DescendingIsAscendingNegatedForEveryPair) {
  const std::vector<std::string> texts = {"12/7/2026", "2/1/2026", "2/1/2026", "x", "", "9:00:00 AM", "12/7/2026 1:00:00 AM"};
  for (const std::string& a : texts) {
    for (const std::string& b : texts) {
      const int up = Compare(a, b, kSortDateTime, kSortAscending);
      EXPECT_EQ(Compare(a, b, kSortDateTime, kSortDescending), -up) << a << " / " << b;
      EXPECT_EQ(Compare(b, a, kSortDateTime, kSortAscending), -up) << a << " / " << b;
      EXPECT_TRUE(up == -1 || up == 0 || up == 1);
    }
  }
  // Any direction other than 1 is ascending.
  EXPECT_EQ(Compare("1/1/2026", "1/2/2026", kSortDateTime, 7), -1);
}

TEST(mListViewSort, TextIntegerAndRealKinds) {
  EXPECT_EQ(Compare("B", "a", kSortText), -1) << "by character codes, case-sensitive";
  EXPECT_EQ(Compare("abc", "abc", kSortText), 0);
  EXPECT_EQ(Compare("", "a", kSortText), -1);
  EXPECT_EQ(Compare("\xE9", "z", kSortText), 1) << "codes above 127 after ASCII";
  EXPECT_EQ(Compare("10", "9", kSortText), -1);

  EXPECT_EQ(Compare("10", "9", kSortInteger), 1);
  EXPECT_EQ(Compare("-5", "", kSortInteger), -1) << "the empty key is 0";
  EXPECT_EQ(Compare("abc", "0", kSortInteger), 0);
  EXPECT_EQ(Compare("2147483647", "-2147483648", kSortInteger), 1);
  EXPECT_EQ(Compare("2147483648", "0", kSortInteger), 0) << "beyond 32 bits is no integer";
  EXPECT_EQ(Compare("2.5", "2", kSortInteger), 0) << "halves round to even";
  EXPECT_EQ(Compare("3.5", "4", kSortInteger), 0);
  EXPECT_EQ(Compare("1,234", "1234", kSortInteger), 0);

  EXPECT_EQ(Compare("2.5", "2.25", kSortReal), 1);
  EXPECT_EQ(Compare("1,000.5", "999", kSortReal), 1);
  EXPECT_EQ(Compare("-1e3", "-999", kSortReal), -1);
  EXPECT_EQ(Compare(" 7 ", "7", kSortReal), 0);
  EXPECT_EQ(Compare("1.2.3", "0", kSortReal), 0);
  EXPECT_EQ(Compare("2,5", "2,25", kSortReal, kSortAscending, German()), 1);
  EXPECT_EQ(Compare("1.000,5", "999", kSortReal, kSortAscending, German()), 1);

  for (const std::int32_t unknown : {-1, 4, 99}) {
    EXPECT_EQ(Compare("1", "2", unknown), 0);
    EXPECT_EQ(Compare("b", "a", unknown, kSortDescending), 0);
  }
}

TEST(mListViewSort, KeysOfEachKind) {
  EXPECT_EQ(MakeSortKey("Hello", kSortText, kUs).text, "Hello");
  EXPECT_EQ(MakeSortKey("42", kSortInteger, kUs).number, 42);
  EXPECT_EQ(MakeSortKey("4.5", kSortReal, kUs).number, 4.5);
  EXPECT_EQ(MakeSortKey("6:00:00 PM", kSortDateTime, kUs).number, 0.75);
  EXPECT_EQ(MakeSortKey("nonsense", kSortDateTime, kUs).number, 0);
  EXPECT_TRUE(MakeSortKey("42", 5, kUs).text.empty());
}

}  // namespace
}  // namespace tarvix::mListView
