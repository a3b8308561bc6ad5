// mListView's list-view side against a real list view: the look-ups the
// callback makes, the callback called straight and through LVM_SORTITEMS as
// any caller may send it, and SortListView.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "backup/mListView.h"
#include "backup/mListViewWindow.h"
#include "ui/Handles.h"

namespace tarvix::mListView {
namespace {

class ListViewSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    host_.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr));
    list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, host_.get(), nullptr, nullptr,
                            nullptr);
    ASSERT_NE(list_, nullptr);
    for (int column = 0; column < 3; ++column) {
      LVCOLUMNA header{};
      header.mask = LVCF_WIDTH | LVCF_SUBITEM;
      header.cx = 100;
      header.iSubItem = column;
      ListView_InsertColumn(list_, column, &header);
    }
    SortColumn = 2;
    SortKind = kSortDateTime;
    SortDirection = kSortAscending;
  }
  void TearDown() override {
    SortColumn = SortKind = SortDirection = 0;
  }
  // Rows get item data 100, 101, ... in the order added.
  void Add(const char* name, const char* date, const char* time) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list_);
    item.pszText = const_cast<char*>(name);
    item.lParam = 100 + item.iItem;
    const int row = ListView_InsertItem(list_, &item);
    ListView_SetItemText(list_, row, 1, const_cast<char*>(date));
    ListView_SetItemText(list_, row, 2, const_cast<char*>(time));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int row = 0; row < ListView_GetItemCount(list_); ++row) {
      std::array<char, 64> text{};
      ListView_GetItemText(list_, row, 0, text.data(), 64);
      names.push_back(text.data());
    }
    return names;
  }
  LPARAM Self() const { return reinterpret_cast<LPARAM>(list_); }

  UniqueWindow host_;
  HWND list_ = nullptr;
};

TEST_F(ListViewSortTest, FindsRowsByItemDataAndReadsTheSortColumn) {
  Add("a", "12/7/2026", "9:00:00 AM");
  Add("b", "2/1/2026", "10:00:00 AM");
  EXPECT_EQ(FindItemByData(list_, 100), 0);
  EXPECT_EQ(FindItemByData(list_, 101), 1);
  EXPECT_EQ(FindItemByData(list_, 7), -1);
  EXPECT_EQ(GetSubItemText(list_, 1), "2/1/2026");
  SortColumn = 3;
  EXPECT_EQ(GetSubItemText(list_, 0), "9:00:00 AM");
  SortColumn = 1;
  EXPECT_EQ(GetSubItemText(list_, 1), "b");
  EXPECT_EQ(GetSubItemText(list_, 5), "");
  const std::string longText(200, 'x');
  ListView_SetItemText(list_, 0, 1, const_cast<char*>(longText.c_str()));
  SortColumn = 2;
  EXPECT_EQ(GetSubItemText(list_, 0), longText) << "long texts are compared whole";
}

TEST_F(ListViewSortTest, CompareListItemsCalledStraight) {
  Add("a", "12/7/2026", "9:00:00 AM");
  Add("b", "2/1/2026", "10:00:00 AM");
  Add("c", "2/1/2026", "12:30:00 AM");
  Add("d", "(not a backup)", "");
  EXPECT_EQ(CompareListItems(100, 101, Self()), 1) << "12/7 after 2/1";
  EXPECT_EQ(CompareListItems(101, 100, Self()), -1);
  EXPECT_EQ(CompareListItems(101, 102, Self()), 0) << "the same date";
  EXPECT_EQ(CompareListItems(103, 101, Self()), -1) << "unreadable first";
  EXPECT_EQ(CompareListItems(100, 999, Self()), 1) << "a row not found has the empty key";
  SortDirection = kSortDescending;
  EXPECT_EQ(CompareListItems(100, 101, Self()), -1);
  EXPECT_EQ(CompareListItems(101, 102, Self()), 0);
  SortColumn = 3;
  SortDirection = kSortAscending;
  EXPECT_EQ(CompareListItems(100, 101, Self()), -1) << "9 AM before 10 AM";
  EXPECT_EQ(CompareListItems(102, 100, Self()), -1) << "12:30 AM before 9 AM";
}

TEST_F(ListViewSortTest, SortsThroughTheSortMessageAndThroughSortListView) {
  Add("a", "12/7/2026", "9:00:00 AM");
  Add("b", "2/1/2026", "10:00:00 AM");
  Add("c", "12/31/2025", "12:30:00 AM");
  Add("d", "(not a backup)", "");
  Add("e", "11/30/2026", "1:00:00 PM");
  // As any caller may send it: the callback looks every row up itself.
  ASSERT_TRUE(SendMessageA(list_, LVM_SORTITEMS, static_cast<WPARAM>(Self()), reinterpret_cast<LPARAM>(&CompareListItems)));
  EXPECT_EQ(Names(), (std::vector<std::string>{"d", "c", "b", "e", "a"}));
  SortDirection = kSortDescending;
  ASSERT_TRUE(SortListView(list_));
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "e", "b", "c", "d"}));
  SortColumn = 3;
  SortDirection = kSortAscending;
  ASSERT_TRUE(SortListView(list_));
  EXPECT_EQ(Names(), (std::vector<std::string>{"d", "c", "a", "b", "e"}));
  ASSERT_TRUE(SortListViewByItemText(list_, kSortDescending));
  EXPECT_EQ(Names(), (std::vector<std::string>{"e", "d", "c", "b", "a"}));
  // After SortListView the callback looks rows up again: the texts may change.
  ListView_SetItemText(list_, 0, 2, const_cast<char*>("11:00:00 PM"));
  EXPECT_EQ(CompareListItems(104, 100, Self()), 1);
}

TEST_F(ListViewSortTest, TheUsersFormatsReadWhatWindowsWrites) {
  const LocaleFormats formats = UserLocaleFormats();
  SYSTEMTIME when{};
  when.wYear = 2026;
  when.wMonth = 12;
  when.wDay = 7;
  when.wHour = 14;
  when.wMinute = 5;
  when.wSecond = 9;
  std::array<char, 128> date{};
  std::array<char, 128> time{};
  ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date.data(), 128), 0);
  ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, time.data(), 128), 0);
  const auto day = ParseDateTime(date.data(), formats);
  const auto clock = ParseDateTime(time.data(), formats);
  ASSERT_TRUE(day.has_value()) << date.data() << " by " << formats.shortDate;
  ASSERT_TRUE(clock.has_value()) << time.data() << " by " << formats.longTime;
  EXPECT_DOUBLE_EQ(*day, 46363);
  EXPECT_DOUBLE_EQ(*clock, (14 * 3600 + 5 * 60 + 9) / 86400.0);
}

}  // namespace
}  // namespace tarvix::mListView
