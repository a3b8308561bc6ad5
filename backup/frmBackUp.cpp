#include "backup/frmBackUp.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "base/Platform.h"
#include "base/Handle.h"
#include "base/Utf8.h"
#include "backup/BackupFiles.h"
#include "backup/BackupFormat.h"
#include "backup/mListView.h"
#include "backup/mListViewWindow.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"

namespace tarvix {
namespace {

constexpr ControlSpec kControls[] = {
    {ControlKind::Frame, frmBackUp::IDC_FRAMEBACKUP, "Backup", 8, 8, 424, 230},
    {ControlKind::ListView, frmBackUp::IDC_LSTBACKUPLIST, "", 20, 28, 400, 166},
    {ControlKind::Label, frmBackUp::IDC_LBLSTATUS, "", 20, 208, 192, 16},
    {ControlKind::Button, frmBackUp::IDC_CMDRESTORE, "Restore", 220, 202, 96, 28},
    {ControlKind::Button, frmBackUp::IDC_CMDDELETE, "Delete", 324, 202, 96, 28},
};

struct ColumnSpec {
  const char* caption;
  int width;
};
// Widths at 96 DPI.
constexpr ColumnSpec kColumns[] = {{"File Name", 112}, {"Creating Date", 134}, {"Creating Time", 134}};

// The header of a backup is on its first three lines, each a few bytes long.
constexpr DWORD kHeaderBytes = 512;

// "...\Backups\007.bck" -> "007": the name without folder and extension.
std::string BaseName(std::string_view path) {
  if (const auto slash = path.find_last_of("\\/"); slash != std::string_view::npos) path.remove_prefix(slash + 1);
  if (const auto dot = path.rfind('.'); dot != std::string_view::npos) path = path.substr(0, dot);
  return std::string(path);
}

struct ListedHeader {
  enum class State { Read, CannotBeRead, NotABackup } state = State::CannotBeRead;
  std::string date;
  std::string time;
};

// The date and time of a backup, in the user's short date and long time formats.
ListedHeader ReadListedHeader(const std::string& path) {
  ListedHeader listed;
  const UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return listed;
  std::string text(kHeaderBytes, '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), text.data(), kHeaderBytes, &got, nullptr)) return listed;
  text.resize(got);
  // A longer file is cut after its last whole line here.
  if (got == kHeaderBytes) text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
  listed.state = ListedHeader::State::NotABackup;
  const auto header = backup::ParseHeader(text);
  if (!header) return listed;
  SYSTEMTIME when{};
  when.wYear = static_cast<WORD>(header->date.year);
  when.wMonth = static_cast<WORD>(header->date.month);
  when.wDay = static_cast<WORD>(header->date.day);
  when.wHour = static_cast<WORD>(header->time.hour);
  when.wMinute = static_cast<WORD>(header->time.minute);
  when.wSecond = static_cast<WORD>(header->time.second);
  std::array<char, 128> date{};
  std::array<char, 128> time{};
  if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date.data(), static_cast<int>(date.size())) ==
          0 ||
      GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, time.data(), static_cast<int>(time.size())) == 0) {
    return listed;  // a date such as 2026-02-30 is no backup's
  }
  listed.state = ListedHeader::State::Read;
  listed.date = date.data();
  listed.time = time.data();
  return listed;
}

}  // namespace

frmBackUp::frmBackUp(Shell& shell) noexcept : ToolWindowBase<frmBackUp>(shell) {}

void frmBackUp::Form_LoadControls() {
  CreateControls(hwnd(), kControls);
  // The frame draws only its line and caption; this window, which clips its
  // children, must still paint the frame's inside: a transparent child is
  // left out of that clipping.
  const HWND list = List();
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNA header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    header.fmt = LVCFMT_LEFT;
    header.cx = ScaleForDpi(kColumns[column].width, WindowDpi(hwnd()));
    header.pszText = const_cast<char*>(kColumns[column].caption);
    header.iSubItem = column;
    ListView_InsertColumn(list, column, &header);
  }
  ListView_SetColumnWidth(list, kTimeColumn, LVSCW_AUTOSIZE_USEHEADER);
  SkinSelf();
  UpdateButtons();
  UpdateStatus();
}

void frmBackUp::intializeList() {
  const HWND list = List();
  EnableWindow(Item(IDC_CMDRESTORE), FALSE);
  EnableWindow(Item(IDC_CMDDELETE), FALSE);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  unreadableRows_ = 0;
  const std::string folder = BackupFolder();
  if (!FolderExists(folder)) {
    CreateDirectoryW(ToWide(folder).c_str(), nullptr);
  } else {
    for (const std::string& name : ListBackupFiles(folder)) AddBackupItem(folder + "\\" + name);
  }
  // The header still shows the last sort: keep the rows in that order.
  if (sortedColumn_ >= 0) ApplySort();
  // The last column reaches the list's right edge, with or without a scroll bar.
  ListView_SetColumnWidth(list, kTimeColumn, LVSCW_AUTOSIZE_USEHEADER);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateButtons();
  UpdateStatus();
}

void frmBackUp::AddBackupItem(const std::string& path) {
  const HWND list = List();
  // The name goes in wide: a file named in letters outside the ANSI code
  // page shows as it is, and RowText gives back its real name.
  std::wstring name = ToWide(BaseName(path) + std::string(backup::kExtension));
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ListView_GetItemCount(list);
  item.pszText = name.data();
  item.lParam = nextItemData_++;
  const auto row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return;
  ListedHeader header = ReadListedHeader(path);
  switch (header.state) {
    case ListedHeader::State::Read: break;
    case ListedHeader::State::CannotBeRead: header.date = kCannotBeRead; break;
    case ListedHeader::State::NotABackup: header.date = kNotABackup; break;
  }
  if (header.state != ListedHeader::State::Read) ++unreadableRows_;
  ListView_SetItemText(list, row, kDateColumn, header.date.data());
  ListView_SetItemText(list, row, kTimeColumn, header.time.data());
}

void frmBackUp::lstBackUpList_ColumnClick(int column) {
  if (column < kFileNameColumn || column > kTimeColumn) return;
  std::string& tag = headerTags_[static_cast<std::size_t>(column)];
  tag = tag != "ASC" ? "ASC" : "DESC";
  for (int other = kFileNameColumn; other <= kTimeColumn; ++other) {
    if (other != column) headerTags_[static_cast<std::size_t>(other)].clear();
  }
  sortedColumn_ = column;
  ApplySort();
  UpdateButtons();
}

void frmBackUp::ApplySort() {
  const HWND list = List();
  mListView::SortDirection =
      headerTags_[static_cast<std::size_t>(sortedColumn_)] == "DESC" ? mListView::kSortDescending : mListView::kSortAscending;
  if (sortedColumn_ == kFileNameColumn) {
    mListView::SortListViewByItemText(list, mListView::SortDirection);
  } else {
    // "Creating Date" is column 2 and "Creating Time" column 3, read as dates and times.
    mListView::SortColumn = sortedColumn_ + 1;
    mListView::SortKind = mListView::kSortDateTime;
    mListView::SortDateTimePart = mListView::SortColumn == 2 ? mListView::DateTimePart::DateOnly
                                                             : mListView::DateTimePart::TimeOnly;
    mListView::SortListView(list);
    mListView::SortDateTimePart = mListView::DateTimePart::DateOrTime;
  }
  ShowSortArrow();
  if (const int selected = SelectedRow(); selected >= 0) ListView_EnsureVisible(list, selected, FALSE);
}

void frmBackUp::ShowSortArrow() noexcept {
  const HWND header = ListView_GetHeader(List());
  for (int column = kFileNameColumn; column <= kTimeColumn; ++column) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!Header_GetItem(header, column, &item)) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == sortedColumn_) {
      item.fmt |= headerTags_[static_cast<std::size_t>(column)] == "DESC" ? HDF_SORTDOWN : HDF_SORTUP;
    }
    Header_SetItem(header, column, &item);
  }
}

void frmBackUp::cmdDelete_Click() {
  const int row = SelectedRow();
  if (row < 0) return;
  if (!AskYesNo(kDeleteQuestion, Owner())) return;
  const std::string path = BackupFolder() + "\\" + RowText(row);
  if (!DeleteFileW(ToWide(path).c_str())) {
    const DWORD error = GetLastError();
    // A file that is already gone needs no message: the list shows it gone.
    if (error != ERROR_FILE_NOT_FOUND) ShowError(path + "\r\n\r\nThe file could not be deleted: " + SystemMessage(error), Owner());
  }
  intializeList();
  SetFocus(List());
  // The row that took the deleted one's place, so that both buttons act on
  // a row the user can see; none when the list is empty.
  const int count = ListView_GetItemCount(List());
  if (count > 0) SelectRow(std::min(row, count - 1));
  UpdateButtons();
}

void frmBackUp::cmdRestore_Click() {
  const int row = SelectedRow();
  if (row < 0) return;
  if (!AskYesNo(kRestoreQuestion, Owner())) return;
  // RestoreBackupFile checks the whole file before it writes anything and
  // tells the user what is wrong with a file it refuses, and of any value
  // Windows refused to write.
  const RestoreOutcome outcome = RestoreBackupFile(BackupFolder() + "\\" + RowText(row));
  // Like an apply, a carried-out restore returns to the movie's home screen;
  // after a refused one the user stays here to pick another file.
  if (outcome.restored) shell().ReturnToMovieHome();
}

void frmBackUp::UpdateButtons() noexcept {
  const BOOL enable = SelectedRow() >= 0 ? TRUE : FALSE;
  EnableWindow(Item(IDC_CMDRESTORE), enable);
  EnableWindow(Item(IDC_CMDDELETE), enable);
}

void frmBackUp::UpdateStatus() {
  const int count = ListView_GetItemCount(List());
  std::string text;
  if (count == 0) {
    text = "No backups yet.";
  } else {
    text = std::to_string(count) + (count == 1 ? " backup" : " backups");
    if (unreadableRows_ > 0) text += ", " + std::to_string(unreadableRows_) + " not readable";
  }
  SetWindowTextTo(Item(IDC_LBLSTATUS), text);
}

void frmBackUp::SelectRow(int row) noexcept {
  const HWND list = List();
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
}

int frmBackUp::SelectedRow() const noexcept { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

std::string frmBackUp::RowText(int row) const {
  std::array<wchar_t, MAX_PATH> text{};
  LVITEMW item{};
  item.iSubItem = kFileNameColumn;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return ToUtf8(text.data());
}

HWND frmBackUp::Owner() const noexcept {
  const HWND root = GetAncestor(hwnd(), GA_ROOT);
  return root != nullptr ? root : hwnd();
}

void frmBackUp::OnClick(int id) {
  if (id == IDC_CMDRESTORE) cmdRestore_Click();
  if (id == IDC_CMDDELETE) cmdDelete_Click();
}

bool frmBackUp::OnNotify(const NMHDR& notify, LPARAM lParam) {
  if (notify.idFrom != static_cast<UINT_PTR>(IDC_LSTBACKUPLIST)) return false;
  switch (notify.code) {
    case LVN_COLUMNCLICK:
      lstBackUpList_ColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
      return true;
    case LVN_ITEMCHANGED:
      if ((reinterpret_cast<const NMLISTVIEW*>(lParam)->uChanged & LVIF_STATE) != 0) UpdateButtons();
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) cmdDelete_Click();
      return true;
    default:
      return false;
  }
}

}  // namespace tarvix
