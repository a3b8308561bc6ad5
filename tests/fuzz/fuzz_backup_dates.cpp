// Feeds arbitrary column texts and regional pictures to the backup list's
// date and time reading and its sort: every date read lies between the years
// 100 and 9999, and the comparison is a consistent order.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "backup/mListView.h"

namespace {

using namespace tarvix::mListView;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Days from 1899-12-30 to 0100-01-01 and to 9999-12-31, and one day more for
// the time of day.
constexpr double kFirstDay = -657434;
constexpr double kLastDay = 2958466;

void RequireDate(const std::optional<double>& value) {
  if (value) Require(std::isfinite(*value) && *value >= kFirstDay && *value < kLastDay);
}

LocaleFormats Formats(std::string shortDate, std::string longTime) {
  LocaleFormats formats;
  formats.shortDate = std::move(shortDate);
  formats.longTime = std::move(longTime);
  return formats;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // "picture NUL text" tries a picture of the input's own; without a NUL the
  // whole input is the text, read by a few real regional settings.
  const std::size_t nul = input.find('\0');
  const std::string_view text = nul == std::string_view::npos ? input : input.substr(nul + 1);

  static const LocaleFormats kRegions[] = {
      LocaleFormats{},                          // en-US
      Formats("dd.MM.yyyy", "HH:mm:ss"),        // German
      Formats("d.M.yyyy", "H.mm.ss"),           // Finnish
      Formats("dd MMMM yyyy", "HH:mm:ss"),      // month names
      Formats("yy/MMM/d", "hh:mm:ss tt"),
  };
  for (const LocaleFormats& formats : kRegions) {
    RequireDate(ParseDateTime(text, formats));
    RequireDate(ParseByPicture(text, formats.shortDate, formats));
  }
  if (nul != std::string_view::npos) {
    const std::string_view picture = input.substr(0, nul);
    const LocaleFormats own = Formats(std::string(picture), std::string(picture));
    RequireDate(ParseByPicture(text, picture, own));
    RequireDate(ParseDateTime(text, own));
  }

  // Two column texts cut from the input, compared every way.
  const std::string_view first = text.substr(0, text.size() / 2);
  const std::string_view second = text.substr(text.size() / 2);
  for (std::int32_t kind = kSortText; kind <= kSortDateTime + 1; ++kind) {
    for (std::int32_t direction : {kSortAscending, kSortDescending}) {
      const int forward = CompareColumnTexts(first, second, kind, direction, kRegions[1]);
      const int backward = CompareColumnTexts(second, first, kind, direction, kRegions[1]);
      Require(forward >= -1 && forward <= 1 && forward == -backward);
      Require(CompareColumnTexts(first, first, kind, direction, kRegions[1]) == 0);
    }
  }
  return 0;
}
