// Sorting the backup manager's list of 999 rows (the most the numbering
// allows) by "Creating Date", through mListView's comparison as the window
// does it (SortListView: keys made once, then LVM_SORTITEMS), against the
// list view's own sort by row text ("File Name") on the same rows in the
// same run. For reference also the date sort with both rows looked up and
// read for every comparison (LVM_SORTITEMS sent straight with
// CompareListItems, as the original did). Every sort starts from the same
// shuffled order; the figures are the median of the rounds, in ms.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "backup/mListView.h"
#include "backup/mListViewWindow.h"

namespace {

constexpr int kRows = 999;
constexpr int kRounds = 7;

using Clock = std::chrono::steady_clock;

struct Row {
  std::string name;
  std::string date;
  std::string time;
};

std::vector<Row> MakeRows() {
  std::vector<Row> rows;
  std::uint32_t seed = 20261207;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int number = 1; number <= kRows; ++number) {
    SYSTEMTIME when{};
    when.wYear = static_cast<WORD>(2019 + next() % 8);
    when.wMonth = static_cast<WORD>(1 + next() % 12);
    when.wDay = static_cast<WORD>(1 + next() % 28);
    when.wHour = static_cast<WORD>(next() % 24);
    when.wMinute = static_cast<WORD>(next() % 60);
    when.wSecond = static_cast<WORD>(next() % 60);
    std::array<char, 128> date{};
    std::array<char, 128> time{};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date.data(), 128);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, time.data(), 128);
    char name[16];
    std::snprintf(name, sizeof name, "%03d.BCK", number);
    rows.push_back({name, date.data(), time.data()});
  }
  return rows;
}

void Fill(HWND list, const std::vector<Row>& rows, std::uint32_t shuffle) {
  std::vector<std::size_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (std::size_t i = order.size(); i > 1; --i) {
    shuffle = shuffle * 1664525u + 1013904223u;
    std::swap(order[i - 1], order[(shuffle >> 8) % i]);
  }
  ListView_DeleteAllItems(list);
  LPARAM data = 1;
  for (const std::size_t index : order) {
    const Row& row = rows[index];
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(row.name.c_str());
    item.lParam = data++;
    const int at = ListView_InsertItem(list, &item);
    ListView_SetItemText(list, at, 1, const_cast<char*>(row.date.c_str()));
    ListView_SetItemText(list, at, 2, const_cast<char*>(row.time.c_str()));
  }
}

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool IsSortedByDate(HWND list) {
  const auto formats = tarvix::mListView::UserLocaleFormats();
  std::array<char, 128> previous{};
  std::array<char, 128> current{};
  for (int row = 1; row < ListView_GetItemCount(list); ++row) {
    ListView_GetItemText(list, row - 1, 1, previous.data(), 128);
    ListView_GetItemText(list, row, 1, current.data(), 128);
    if (tarvix::mListView::CompareColumnTexts(previous.data(), current.data(), tarvix::mListView::kSortDateTime,
                                              tarvix::mListView::kSortAscending, formats) > 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const HWND host = CreateWindowExA(0, "STATIC", "bench", WS_POPUP, 0, 0, 440, 246, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  const HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 404, 168, host, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  if (list == nullptr) {
    std::printf("no list view could be made: this benchmark needs a display (scripts/bench starts Xvfb)\n");
    return 1;
  }
  const char* captions[] = {"File Name", "Creating Date", "Creating Time"};
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    header.cx = 120;
    header.pszText = const_cast<char*>(captions[column]);
    header.iSubItem = column;
    ListView_InsertColumn(list, column, &header);
  }
  const std::vector<Row> rows = MakeRows();

  std::vector<double> byDate;
  std::vector<double> byDateLookedUp;
  std::vector<double> byName;
  bool sorted = true;
  namespace lv = tarvix::mListView;
  for (int round = 0; round < kRounds; ++round) {
    const std::uint32_t shuffle = 77u + static_cast<std::uint32_t>(round);
    Fill(list, rows, shuffle);
    auto start = Clock::now();
    lv::SortColumn = 2;
    lv::SortKind = lv::kSortDateTime;
    lv::SortDirection = lv::kSortAscending;
    lv::SortListView(list);
    byDate.push_back(Milliseconds(start));
    sorted = sorted && IsSortedByDate(list);

    Fill(list, rows, shuffle);
    start = Clock::now();
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(list), reinterpret_cast<LPARAM>(&lv::CompareListItems));
    byDateLookedUp.push_back(Milliseconds(start));
    sorted = sorted && IsSortedByDate(list);

    Fill(list, rows, shuffle);
    start = Clock::now();
    lv::SortListViewByItemText(list, lv::kSortAscending);
    byName.push_back(Milliseconds(start));
  }
  const double date = Median(byDate);
  const double lookedUp = Median(byDateLookedUp);
  const double name = Median(byName);
  std::printf("rows: %d, rounds: %d (median of each)\n", kRows, kRounds);
  std::printf("sort by Creating Date, as the window does (SortListView):       %8.2f ms%s\n", date,
              sorted ? "" : "  [NOT SORTED]");
  std::printf("sort by File Name, the list view's own text sort:               %8.2f ms\n", name);
  std::printf("ratio date / name:                                              %8.2f\n", name > 0 ? date / name : 0.0);
  std::printf("reference: date sort looking both rows up in every comparison: %8.2f ms (ratio to name %.1f)\n",
              lookedUp, name > 0 ? lookedUp / name : 0.0);
  // Machine-readable lines for the table of scripts/bench:
  // BENCH|name|figure|unit|baseline name|baseline figure
  std::printf("BENCH|Backup list sort by Creating Date (%d rows)|%.3f|ms|sort by File Name|%.3f\n", kRows, date, name);
  std::printf("BENCH|Backup list date sort, rows looked up (%d rows)|%.3f|ms|sort by File Name|%.3f\n", kRows, lookedUp,
              name);
  DestroyWindow(host);
  return sorted ? 0 : 1;
}
