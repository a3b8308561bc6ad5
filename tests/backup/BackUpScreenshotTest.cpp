// The backup manager as the user sees it: shown in a host the size of the
// main window's child area, skinned with the program's own skin file, with
// several backups listed, sorted newest first and one row selected. Saved as
// backup-manager.png in $TARVIX_ARTIFACTS for review.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "base/OsDetect.h"
#include "app/skin/Skin.h"
#include "ui/ToolWindow.h"
#include "backup/BackupFiles.h"
#include "backup/frmBackUp.h"
#include "support/FakePlatform.h"
#include "support/FakeShell.h"
#include "support/Screenshot.h"
#include "support/SkinnedShell.h"
#include "support/TempDir.h"

namespace tarvix {
namespace {


TEST(BackUpScreenshot, SeveralBackupsListed) {
  testing::TempDir appDir;
  testing::FakePlatform platform;
  CreateDirectoryA(BackupFolder().c_str(), nullptr);
  struct File {
    const char* name;
    const char* text;
  };
  const File files[] = {
      {"001.BCK", "#2026-09-14#\r\n#08:12:44#\r\n7\r\n"}, {"002.BCK", "#2026-10-02#\r\n#21:47:03#\r\n7\r\n"},
      {"003.BCK", "#2026-10-02#\r\n#09:05:30#\r\n7\r\n"}, {"004.BCK", "#2026-11-19#\r\n#13:30:00#\r\n7\r\n"},
      {"005.BCK", "#2026-12-01#\r\n#00:15:27#\r\n7\r\n"}, {"006.BCK", "#2026-12-07#\r\n#14:05:09#\r\n7\r\n"},
      {"007.BCK", "copied from elsewhere\r\n"},
  };
  for (const File& file : files) testing::WriteTextFile(BackupFolder() + "\\" + file.name, file.text);

  test::SkinnedShell shell(frmBackUp::kWidth, frmBackUp::kHeight, TARVIX_ASSETS_DIR "/TarvixMask.skn");
  EXPECT_TRUE(shell.SkinLoaded());
  frmBackUp form(shell);
  ASSERT_TRUE(form.Load());
  form.intializeList();
  const HWND list = GetDlgItem(form.Window(), frmBackUp::IDC_LSTBACKUPLIST);
  // Newest first: the date header clicked twice.
  const HWND header = ListView_GetHeader(list);
  RECT box{};
  Header_GetItemRect(header, frmBackUp::kDateColumn, &box);
  const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  for (int click = 0; click < 2; ++click) {
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
  }
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ShowWindow(form.Window(), SW_SHOW);
  ShowWindow(shell.ChildFrame(), SW_SHOW);
  SetForegroundWindow(shell.ChildFrame());
  SetFocus(list);
  UpdateWindow(shell.ChildFrame());
  test::PumpMessagesFor(100);

  const auto picture = test::CaptureWindow(shell.ChildFrame(), frmBackUp::kWidth, frmBackUp::kHeight);
  EXPECT_GT(test::DistinctColours(picture), 8u) << "the window looks flat";
  EXPECT_TRUE(test::SaveScreenshot(shell.ChildFrame(), "backup-manager.png"));
  form.Unload();
}

}  // namespace
}  // namespace tarvix
