#pragma once
// frmBackUp: the backup manager. Lists the backup files of the Backups
// folder with the date and time each was taken, in the user's regional
// formats; sorts them by any column (header clicks toggle ascending and
// descending, and the header shows the arrow); deletes one, or writes one
// back to the registry after the user has confirmed.
//
//   frmBackUp backUp(shell);
//   (void)backUp.Load();         // hidden, at start-up
//   backUp.intializeList();      // before each showing
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "ui/ToolWindow.h"

namespace tarvix {

class frmBackUp final : public ToolWindowBase<frmBackUp> {
 public:
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 246;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "Backup";

  // Control ids.
  static constexpr int IDC_FRAMEBACKUP = 4201;
  static constexpr int IDC_LSTBACKUPLIST = 4202;
  static constexpr int IDC_CMDRESTORE = 4203;
  static constexpr int IDC_CMDDELETE = 4204;
  static constexpr int IDC_LBLSTATUS = 4205;

  // The columns of lstBackUpList (sub-item indexes).
  static constexpr int kFileNameColumn = 0;
  static constexpr int kDateColumn = 1;
  static constexpr int kTimeColumn = 2;

  // What the date column shows for a .BCK file whose date and time cannot be
  // had; such rows sort before every real date when ascending.
  static constexpr std::string_view kCannotBeRead = "(cannot be read)";
  static constexpr std::string_view kNotABackup = "(not a backup)";

  static constexpr std::string_view kDeleteQuestion = "Do you want to delete this file?";
  static constexpr std::string_view kRestoreQuestion = "Do you want to restore this settings?";

  explicit frmBackUp(Shell& shell) noexcept;
  ~frmBackUp() override = default;

  [[nodiscard]] static const char* ClassName() noexcept { return "TarvixBackUp"; }

  // Rebuilds the list from AppDir\Backups (made when missing) in folder
  // order, then sorts it again as the user last sorted it. Both buttons are
  // disabled until a row is selected.
  void intializeList();

  // The backup manager keeps nothing from start-up: its list is built each
  // time it is opened, and its controls wait until it is first shown.
  void Form_LoadState() noexcept {}
  void Form_LoadControls();
  void OnClick(int id);
  bool OnNotify(const NMHDR& notify, LPARAM lParam);

 private:
  // Adds the row of one file. A file that cannot be opened, or does not begin
  // with a backup's date and time, still gets its row, marked as such.
  void AddBackupItem(const std::string& path);
  void lstBackUpList_ColumnClick(int column);
  void cmdDelete_Click();
  void cmdRestore_Click();

  // Sorts by sortedColumn_ in the direction of its header's tag and shows
  // the arrow in that header.
  void ApplySort();
  void ShowSortArrow() noexcept;
  // Both buttons follow the selection: enabled exactly while a row is selected.
  void UpdateButtons() noexcept;
  void UpdateStatus();
  void SelectRow(int row) noexcept;
  [[nodiscard]] int SelectedRow() const noexcept;
  // The file name a row shows, in UTF-8.
  [[nodiscard]] std::string RowText(int row) const;
  [[nodiscard]] HWND List() const noexcept { return Item(IDC_LSTBACKUPLIST); }
  [[nodiscard]] HWND Owner() const noexcept;

  // Each header's tag: "ASC", "DESC" or empty, the direction of its last click.
  std::array<std::string, 3> headerTags_;
  int sortedColumn_ = -1;  // the header last clicked, -1 before any
  LPARAM nextItemData_ = 1;  // unique per row for the life of the window
  int unreadableRows_ = 0;
};

}  // namespace tarvix
