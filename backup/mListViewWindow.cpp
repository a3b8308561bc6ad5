#include "backup/mListViewWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tarvix::mListView {
namespace {

// The formats CompareListItems reads by; SortListView renews them for each sort.
LocaleFormats& SortFormats() {
  static LocaleFormats formats = UserLocaleFormats();
  return formats;
}

void ReadLocaleText(LCTYPE type, std::string& into) {
  std::array<char, 128> buffer{};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer.data(), static_cast<int>(buffer.size()));
  if (length > 1) into.assign(buffer.data(), static_cast<std::size_t>(length - 1));
}

}  // namespace

LocaleFormats UserLocaleFormats() {
  LocaleFormats formats;
  ReadLocaleText(LOCALE_SSHORTDATE, formats.shortDate);
  ReadLocaleText(LOCALE_STIMEFORMAT, formats.longTime);
  // A 24-hour locale has no designators: empty is what it says.
  formats.am.clear();
  formats.pm.clear();
  ReadLocaleText(LOCALE_S1159, formats.am);
  ReadLocaleText(LOCALE_S2359, formats.pm);
  for (LCTYPE month = 0; month < 12; ++month) {
    ReadLocaleText(LOCALE_SMONTHNAME1 + month, formats.monthNames[month]);
    ReadLocaleText(LOCALE_SABBREVMONTHNAME1 + month, formats.abbreviatedMonthNames[month]);
  }
  std::string separator;
  ReadLocaleText(LOCALE_SDECIMAL, separator);
  if (separator.size() == 1) formats.decimalSeparator = separator[0];
  separator.clear();
  ReadLocaleText(LOCALE_STHOUSAND, separator);
  if (separator.size() == 1) formats.thousandSeparator = separator[0];
  return formats;
}

int FindItemByData(HWND list, LPARAM data) noexcept {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

std::string GetSubItemText(HWND list, int row) {
  std::array<char, 260> buffer{};
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iSubItem = SortColumn - 1;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  const LRESULT copied = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  if (copied <= 0) return {};
  return std::string(item.pszText, static_cast<std::size_t>(copied));
}

namespace {

// The keys of the sort under way in SortListView, made once at its start,
// ordered by item data. Empty (list null) outside such a sort.
struct SortKeys {
  HWND list = nullptr;
  std::vector<std::pair<LPARAM, SortKey>> keys;
};
SortKeys g_sortKeys;

const SortKey* CachedKey(LPARAM data) noexcept {
  const auto& keys = g_sortKeys.keys;
  const auto at = std::lower_bound(keys.begin(), keys.end(), data,
                                   [](const auto& entry, LPARAM wanted) { return entry.first < wanted; });
  return at != keys.end() && at->first == data ? &at->second : nullptr;
}

SortKey LookedUpKey(HWND list, LPARAM data) {
  const int row = FindItemByData(list, data);
  return MakeSortKey(row >= 0 ? GetSubItemText(list, row) : std::string(), SortKind, SortFormats(), SortDateTimePart);
}

}  // namespace

int CALLBACK CompareListItems(LPARAM first, LPARAM second, LPARAM sortParameter) noexcept {
  try {
    const auto list = reinterpret_cast<HWND>(sortParameter);
    if (list != nullptr && list == g_sortKeys.list) {
      const SortKey* key1 = CachedKey(first);
      const SortKey* key2 = CachedKey(second);
      if (key1 != nullptr && key2 != nullptr) return CompareSortKeys(*key1, *key2, SortKind, SortDirection);
    }
    return CompareSortKeys(LookedUpKey(list, first), LookedUpKey(list, second), SortKind, SortDirection);
  } catch (...) {
    return 0;  // no exception may unwind through the list view
  }
}

bool SortListView(HWND list) {
  SortFormats() = UserLocaleFormats();
  // Looking both rows up for every comparison costs two linear searches
  // each: about a quarter of a second for 999 rows under Wine. The texts do
  // not change during the sort, so each row's key is made once, here.
  SortKeys keys{list, {}};
  const int count = ListView_GetItemCount(list);
  keys.keys.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int row = 0; row < count; ++row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (ListView_GetItem(list, &item)) {
      keys.keys.emplace_back(item.lParam, MakeSortKey(GetSubItemText(list, row), SortKind, SortFormats(), SortDateTimePart));
    }
  }
  std::stable_sort(keys.keys.begin(), keys.keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  g_sortKeys = std::move(keys);
  const bool sorted = SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(list),
                                   reinterpret_cast<LPARAM>(&CompareListItems)) != FALSE;
  g_sortKeys = SortKeys{};
  return sorted;
}

namespace {

// Each row's item data with its text, ordered by item data.
using RowTexts = std::vector<std::pair<LPARAM, std::string>>;

const std::string& TextOf(const RowTexts& rows, LPARAM data) {
  static const std::string kNone;
  const auto at = std::lower_bound(rows.begin(), rows.end(), data,
                                   [](const auto& row, LPARAM wanted) { return row.first < wanted; });
  return at != rows.end() && at->first == data ? at->second : kNone;
}

struct ItemTextSort {
  RowTexts rows;
  std::int32_t direction;
};

int CALLBACK CompareItemTexts(LPARAM first, LPARAM second, LPARAM sortParameter) noexcept {
  const auto* sort = reinterpret_cast<const ItemTextSort*>(sortParameter);
  const std::string& a = TextOf(sort->rows, first);
  const std::string& b = TextOf(sort->rows, second);
  const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1);
  const int order = result == 0 ? 0 : result - CSTR_EQUAL;  // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3
  return sort->direction == kSortDescending ? -order : order;
}

}  // namespace

bool SortListViewByItemText(HWND list, std::int32_t direction) {
  // The texts are read before the sort: while the list view sorts, a row's
  // position is not where it will be, nor always where it was.
  ItemTextSort sort{{}, direction};
  const int count = ListView_GetItemCount(list);
  sort.rows.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int row = 0; row < count; ++row) {
    std::array<char, 260> text{};
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    if (ListView_GetItem(list, &item)) sort.rows.emplace_back(item.lParam, item.pszText);
  }
  std::sort(sort.rows.begin(), sort.rows.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&sort),
                      reinterpret_cast<LPARAM>(&CompareItemTexts)) != FALSE;
}

}  // namespace tarvix::mListView
