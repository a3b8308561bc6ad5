#pragma once
// mListView's list-view side: the sort callback that the list view calls
// inside LVM_SORTITEMS, and the two look-ups it makes for each comparison.
// The keys and the comparison themselves are window-free (mListView.h).
#include <windows.h>

#include <string>

#include "backup/mListView.h"

namespace tarvix::mListView {

// The user's regional formats (LOCALE_USER_DEFAULT): the pictures behind
// GetDateFormatA(DATE_SHORTDATE) and GetTimeFormatA(0), the AM/PM
// designators, month names and number separators. A value Windows does not
// give keeps its en-US default.
[[nodiscard]] LocaleFormats UserLocaleFormats();

// The list view's comparison callback: `first` and `second` are the item
// data of two rows, `sortParameter` the list view's window handle. Finds
// both rows, reads their texts in column SortColumn, makes their keys by
// SortKind and compares them by SortDirection (-1, 0, 1). A row that cannot
// be found or read gives the empty key. Inside SortListView it takes the
// keys that SortListView made from the same texts at the start of the sort.
int CALLBACK CompareListItems(LPARAM first, LPARAM second, LPARAM sortParameter) noexcept;

// The row whose item data is `data` (LVM_FINDITEMA, LVFI_PARAM, from the
// first row); -1 when there is none.
[[nodiscard]] int FindItemByData(HWND list, LPARAM data) noexcept;

// The text of `row` in column SortColumn (LVM_GETITEMTEXTA); empty when the
// row or column has none. Texts are read up to 259 characters.
[[nodiscard]] std::string GetSubItemText(HWND list, int row);

// Sorts `list` by SortColumn, SortKind and SortDirection: LVM_SORTITEMS with
// CompareListItems and the list's own handle as the sort parameter. The
// user's formats are read, and each row's key made, once for the sort.
// False when the list view refused the message.
bool SortListView(HWND list);

// The list view's own sort by its row text (column 1), the way a list view
// sorts itself: case-insensitive, in the user's collation, ascending unless
// `direction` is kSortDescending. The texts are read once, before the sort.
bool SortListViewByItemText(HWND list, std::int32_t direction);

}  // namespace tarvix::mListView
