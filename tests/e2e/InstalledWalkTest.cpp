// The installed Tarvix walked through its windows as a new user would:
// started from the folder the setup program installed it into (the path in
// TARVIX_INSTALLED_EXE), every tool window opened through the movie by its
// caption, buttons clicked, the program's questions answered, and a picture
// saved after every step (e2e-NN-<step>.png in TARVIX_ARTIFACTS).
// installed-walk.sh installs, runs this in the same Wine prefix, uninstalls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "backup/BackupFiles.h"
#include "base/Handle.h"
#include "base/OsDetect.h"
#include "base/Utf8.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "ui/TrayRecord.h"

namespace tarvix {
namespace {

using test::FindByCaption;
using test::TopWindow;
using test::NetworkTtlSetting;
using test::WaitFor;
using test::WaitForTopWindow;

constexpr DWORD kWindowWaitMs = 30000;
constexpr DWORD kWaitMs = 15000;

// UTF-8, read through the wide call: the folder may have any characters.
std::string InstalledProgram() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"TARVIX_INSTALLED_EXE", path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? ToUtf8(path) : std::string("C:\\TarvixE2E\\Tarvix.exe");
}

std::string InstallFolder() {
  const std::string program = InstalledProgram();
  return program.substr(0, program.find_last_of('\\'));
}

HWND VisibleByCaption(HWND main, const std::string& caption, DWORD ms = kWaitMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindByCaption(main, caption, true)) != nullptr; }, ms);
  return found;
}

bool Click(HWND control) { return control != nullptr && PostMessageA(control, BM_CLICK, 0, 0) != FALSE; }

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The captions of the visible descendants of `parent`, for the log.
std::string VisibleCaptions(HWND parent) {
  std::string out;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        char text[64] = {};
        GetWindowTextA(child, text, static_cast<int>(sizeof text));
        if (text[0] != 0 && IsWindowVisible(child)) *reinterpret_cast<std::string*>(data) += std::string(" [") + text + "]";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// True once the window's thread answers messages again.
bool Responds(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result) != 0;
}

// Clicks the movie's item `caption` and waits for `shows` to be visible.
// Only visible windows count: a hidden tool window's frame may carry the
// item's caption too ("Ram Configuration").
HWND Open(HWND main, const std::string& item, const std::string& shows) {
  const HWND button = FindByCaption(main, item, true);
  if (button == nullptr) return nullptr;
  Responds(main);
  // Sent, not posted: the item's command has run when the call returns (a
  // tool window that is open already but behind the movie is in front).
  DWORD_PTR result = 0;
  SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kWaitMs, &result);
  const HWND shown = VisibleByCaption(main, shows);
  if (shown == nullptr) std::printf("%s did not show %s; visible:%s\n", item.c_str(), shows.c_str(), VisibleCaptions(main).c_str());
  return shown;
}

// Clicks `caption` on the program's message box, once one shows.
bool AnswerMessageBox(DWORD processId, const std::string& caption, DWORD ms = kWaitMs) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = TopWindow("#32770", processId)) != nullptr; }, ms)) return false;
  HWND button = nullptr;
  if (!WaitFor([&] { return (button = FindByCaption(box, caption)) != nullptr; }, 5000)) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kWaitMs);
}

// The texts of a message box and its buttons, for the log.
std::string Describe(HWND box) {
  std::string out;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        char text[512] = {};
        GetWindowTextA(child, text, static_cast<int>(sizeof text));
        if (text[0] != 0) *reinterpret_cast<std::string*>(data) += std::string(" [") + text + "]";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// Answers any message box of the program that shows within `ms` with its
// first button of `captions`; how many were answered.
int AnswerAnyMessageBoxes(DWORD processId, const std::vector<std::string>& captions, DWORD ms) {
  int answered = 0;
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    const HWND box = TopWindow("#32770", processId);
    if (box != nullptr) {
      for (const std::string& caption : captions) {
        if (const HWND button = FindByCaption(box, caption)) {
          std::printf("answering a message box%s with %s\n", Describe(box).c_str(), caption.c_str());
          PostMessageA(button, BM_CLICK, 0, 0);
          WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kWaitMs);
          ++answered;
          break;
        }
      }
    }
    Sleep(100);
  }
  return answered;
}

std::vector<std::string> BackupFiles() { return ListBackupFiles(InstallFolder() + "\\Backups"); }

// A value the program stored under HKLM\SOFTWARE\Brimcove\Tarvix\Settings\<section>,
// as text; empty when there is none.
std::string StoredSetting(const std::string& section, const std::string& name) {
  const std::string key = "SOFTWARE\\Brimcove\\Tarvix\\Settings\\" + section;
  char text[256] = {};
  DWORD size = sizeof text;
  DWORD type = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, text,
                   &size) != ERROR_SUCCESS) {
    return {};
  }
  if (type == REG_DWORD) {
    DWORD number = 0;
    std::memcpy(&number, text, sizeof number);
    return std::to_string(number);
  }
  return text;
}

// The notification the shell's icon sends to the program's icon control when
// the user presses the left button on it.
bool ClickTrayIcon(DWORD processId) {
  const HWND control = TopWindow("TarvixTrayWindow", processId, true);
  if (control == nullptr) return false;
  return PostMessageA(control, WM_APP_TRAY, 0, WM_LBUTTONDOWN) != FALSE &&
         PostMessageA(control, WM_APP_TRAY, 0, WM_LBUTTONUP) != FALSE;
}

// Checks `box` unless it is checked; false when it is not checked in time.
bool Tick(HWND box) {
  if (!IsChecked(box)) Click(box);
  return WaitFor([&] { return IsChecked(box); }, kWaitMs);
}

// Selects the backup list's first row, restores it (answering the question
// and whatever it tells), and waits until the network TTL is `ttl`; false,
// with the failure recorded, when a step does not happen.
bool RestoreFirstRow(DWORD processId, HWND list, HWND restore, DWORD ttl) {
  PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
  PostMessageA(list, WM_KEYUP, VK_HOME, 0);
  if (!WaitFor([&] { return IsWindowEnabled(restore) != FALSE; }, kWaitMs)) {
    ADD_FAILURE() << "no row selected";
    return false;
  }
  Click(restore);
  if (!AnswerMessageBox(processId, "&Yes")) {
    ADD_FAILURE() << "the restore question did not show";
    return false;
  }
  const bool restored = WaitFor(
      [&] {
        AnswerAnyMessageBoxes(processId, {"OK", "&OK"}, 100);
        return NetworkTtlSetting() == ttl;
      },
      kWaitMs);
  if (!restored) ADD_FAILURE() << "the restore did not bring back TTL " << ttl << "; it is " << NetworkTtlSetting();
  return restored;
}

// Opens Ping Settings, turns the pinger on in manual mode and types `host`
// into the one edit that manual mode enables; the host field, or null (with
// the failure recorded) when a step does not happen.
HWND PingManuallyTo(HWND main, const char* host) {
  const HWND enable = Open(main, "Ping Settings", "Enable Pinger");
  const HWND manual = enable != nullptr ? FindByCaption(main, "Manual Mode", true) : nullptr;
  if (manual == nullptr) {
    ADD_FAILURE() << "the pinger settings did not show";
    return nullptr;
  }
  if (!IsChecked(enable)) Click(enable);
  if (!WaitFor([&] { return IsChecked(enable) && IsWindowEnabled(manual) != FALSE; }, kWaitMs)) {
    ADD_FAILURE() << "Enable Pinger did not enable Manual Mode";
    return nullptr;
  }
  Click(manual);
  HWND field = nullptr;
  const bool found = WaitFor(
      [&] {
        if (!IsChecked(manual)) return false;
        for (HWND edit = FindWindowExA(GetParent(manual), nullptr, "Edit", nullptr); edit != nullptr;
             edit = FindWindowExA(GetParent(manual), edit, "Edit", nullptr)) {
          if (IsWindowVisible(edit) && IsWindowEnabled(edit)) {
            field = edit;
            return true;
          }
        }
        return false;
      },
      kWaitMs);
  if (!found) {
    ADD_FAILURE() << "manual mode enabled no host field";
    return nullptr;
  }
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(host));
  // What typing sends the window, whether or not WM_SETTEXT did already.
  SendMessageA(GetParent(field), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE), reinterpret_cast<LPARAM>(field));
  return field;
}

class InstalledWalk : public ::testing::Test {
 protected:
  void TearDown() override {
    if (tarvix_.process.valid() && WaitForSingleObject(tarvix_.process.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(tarvix_.process.get(), 1);
      WaitForSingleObject(tarvix_.process.get(), 10000);
    }
  }

  // A picture of the main window, numbered in the order of the steps.
  void Shot(const std::string& step) {
    Sleep(300);  // the last paint of the step
    char name[96];
    std::snprintf(name, sizeof name, "e2e-%02d-%s.png", ++shots_, step.c_str());
    HWND window = main_;
    if (window == nullptr || !IsWindowVisible(window)) window = GetDesktopWindow();
    EXPECT_TRUE(test::SaveScreenshot(window, name)) << name;
    std::printf("[%6.1f s] %s\n", static_cast<double>(GetTickCount64() - begin_) / 1000.0, name);
    std::fflush(stdout);
  }

  void StartTarvix() {
    tarvix_ = test::StartProgram(InstalledProgram());
    ASSERT_TRUE(tarvix_.process.valid()) << "cannot start " << InstalledProgram();
  }

  bool Ends() {
    const bool ended = WaitForSingleObject(tarvix_.process.get(), 20000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(tarvix_.process.get(), 1);
    return ended;
  }

  test::StartedProgram tarvix_;
  HWND main_ = nullptr;
  int shots_ = 0;
  ULONGLONG begin_ = GetTickCount64();
};

TEST_F(InstalledWalk, EveryFeatureThroughItsWindows) {
  ASSERT_NE(GetFileAttributesA(InstalledProgram().c_str()), INVALID_FILE_ATTRIBUTES) << InstalledProgram();
  ASSERT_TRUE(BackupFiles().empty()) << "a fresh installation has no backups";

  // Start: the main window shows.
  StartTarvix();
  main_ = WaitForTopWindow("TarvixMain", tarvix_.id, kWindowWaitMs);
  ASSERT_NE(main_, nullptr) << "no main window";
  ASSERT_NE(WaitForTopWindow("__winex11_standalone_tray", 0, kWaitMs), nullptr) << "no notification icon";
  Shot("started");

  // Settings: start with Windows and in the system tray from now on. The Run
  // entry stays until the uninstaller, which must remove it.
  {
    const HWND tray = Open(main_, "Settings", "Run Program In system tray");
    ASSERT_NE(tray, nullptr) << "the settings window did not show";
    ASSERT_TRUE(Tick(tray));
    const HWND withWindows = FindByCaption(main_, "Run Main Program when windows start up", true);
    ASSERT_NE(withWindows, nullptr);
    ASSERT_TRUE(Tick(withWindows));
    const HWND save = FindByCaption(main_, "&Save", true);
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, kWaitMs)) << "Save stays disabled";
    Click(save);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(save) == FALSE || !IsWindowVisible(save); }, kWaitMs));
    Shot("settings-tray-saved");
  }
  const std::string trayOn = StoredSetting("MainSettings", "chkRunProgramMini");
  EXPECT_FALSE(trayOn.empty()) << "the tray setting was not stored";
  {
    char entry[512] = {};
    DWORD size = sizeof entry;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarvix",
                           RRF_RT_REG_SZ, nullptr, entry, &size),
              ERROR_SUCCESS)
        << "saving did not write the Run entry";
  }
  Click(FindByCaption(main_, "Close", true));
  ASSERT_TRUE(Ends()) << "Close did not end the program";

  // The next start stays in the tray, and the icon brings the window back.
  // On 95/98/ME, which has no balloons, the program's own notice says so
  // and closes by itself.
  StartTarvix();
  if (!IsNtPlatform()) {
    EXPECT_NE(WaitForTopWindow("TarvixMsgFrm", tarvix_.id, kWindowWaitMs), nullptr) << "no start-up notice";
    Shot("started-in-tray-notice");
    EXPECT_TRUE(WaitFor([&] { return TopWindow("TarvixMsgFrm", tarvix_.id) == nullptr; }, kWaitMs))
        << "the notice did not close by itself";
  }
  ASSERT_TRUE(WaitFor([&] { return TopWindow("TarvixTrayWindow", tarvix_.id, true) != nullptr; }, kWindowWaitMs));
  main_ = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main_ = TopWindow("TarvixMain", tarvix_.id, true)) != nullptr; }, kWindowWaitMs));
  Sleep(2000);  // time to show the window, were it going to
  EXPECT_EQ(TopWindow("TarvixMain", tarvix_.id), nullptr) << "the main window showed despite the tray setting";
  EXPECT_NE(TopWindow("__winex11_standalone_tray", 0), nullptr) << "no notification icon";
  Shot("started-in-tray");
  ASSERT_TRUE(ClickTrayIcon(tarvix_.id));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main_) != FALSE; }, kWaitMs)) << "the icon did not bring it back";
  Shot("back-from-tray");
  {
    const HWND tray = Open(main_, "Settings", "Run Program In system tray");
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(IsChecked(tray)) << "the tray setting was not kept";
    if (IsChecked(tray)) Click(tray);
    ASSERT_TRUE(WaitFor([&] { return !IsChecked(tray); }, kWaitMs));
    const HWND save = FindByCaption(main_, "&Save", true);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, kWaitMs));
    Click(save);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(save) == FALSE || !IsWindowVisible(save); }, kWaitMs));
    Shot("settings-tray-off");
  }
  EXPECT_NE(StoredSetting("MainSettings", "chkRunProgramMini"), trayOn) << "unticking was not stored";

  // Wizard Mode: two presets, one backup each. An apply returns to the home
  // screen (the wizard stays behind the movie), so the wizard is opened anew
  // for each.
  {
    std::size_t expected = 0;
    for (const char* preset : {"Automatic-A", "Automatic-E"}) {
      const HWND optimize = Open(main_, "Wizard Mode", "Optimize &Now");
      ASSERT_NE(optimize, nullptr) << "the wizard did not show";
      const HWND option = VisibleByCaption(main_, preset);
      ASSERT_NE(option, nullptr) << preset;
      Click(option);
      Sleep(200);
      Shot(std::string("wizard-") + preset);
      Click(optimize);
      ++expected;
      const bool written = WaitFor(
          [&] {
            if (const HWND box = TopWindow("#32770", tarvix_.id)) {
              for (const char* answer : {"OK", "&Yes", "&OK"}) {
                if (const HWND button = FindByCaption(box, answer)) {
                  PostMessageA(button, BM_CLICK, 0, 0);
                  break;
                }
              }
            }
            return BackupFiles().size() == expected;
          },
          kWaitMs);
      ASSERT_TRUE(written) << "no backup after " << preset;
      Shot(std::string("wizard-") + preset + "-applied");
    }
  }

  // Advanced Mode: Next>> through every page; Finish applies with a third backup.
  {
    const HWND next = Open(main_, "Advanced Mode", "Next>>");
    ASSERT_NE(next, nullptr) << "the advanced editor did not show";
    Shot("advanced-first-page");
    int pages = 0;
    while (BackupFiles().size() < 3 && pages < 12) {
      ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(next) != FALSE; }, kWaitMs)) << "Next is disabled";
      char caption[32] = {};
      GetWindowTextA(next, caption, sizeof caption);
      if (std::string(caption) == "Finish") Shot("advanced-last-page");
      Click(next);
      ++pages;
      WaitFor([&] { return BackupFiles().size() >= 3; }, std::string(caption) == "Finish" ? kWaitMs : 300);
    }
    ASSERT_EQ(BackupFiles().size(), 3u) << "Finish wrote no backup after " << pages << " clicks";
    Shot("advanced-finished");
  }

  // Backup Manager: sort by date, delete one, restore another.
  {
    const HWND restore = Open(main_, "Backup Manager", "Restore");
    ASSERT_NE(restore, nullptr) << "the backup manager did not show";
    const HWND remove = FindByCaption(main_, "Delete", true);
    ASSERT_NE(remove, nullptr);
    const HWND list = FindWindowExA(GetParent(restore), nullptr, "SysListView32", nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3; }, kWaitMs));
    Shot("backups-listed");
    // A click in the middle of the date column's header (File Name is 112 wide).
    const HWND header = FindWindowExA(list, nullptr, "SysHeader32", nullptr);
    ASSERT_NE(header, nullptr);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(170, 8));
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(170, 8));
    Shot("backups-sorted-by-date");

    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(list, WM_KEYUP, VK_HOME, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(remove) != FALSE; }, kWaitMs)) << "no row selected";
    Shot("backup-selected");
    EXPECT_EQ(NetworkTtlSetting(), 64u) << "the advanced editor's TTL";
    Click(remove);
    ASSERT_TRUE(AnswerMessageBox(tarvix_.id, "&Yes")) << "the delete question did not show";
    EXPECT_TRUE(WaitFor([] { return BackupFiles().size() == 2; }, kWaitMs)) << "the file was not deleted";
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, kWaitMs));
    Shot("backup-deleted");

    // Sorted by date, the first row left is 002.BCK, written before
    // Automatic-E: its restore brings back Automatic-A's TTL of 128.
    const bool restored = RestoreFirstRow(tarvix_.id, list, restore, 128);
    if (const HWND box = TopWindow("#32770", tarvix_.id)) std::printf("still open:%s\n", Describe(box).c_str());
    EXPECT_TRUE(restored);
    Shot("backup-restored");
  }

  // System Status: the graphs fill, then Optimize Now frees memory.
  {
    const HWND optimize = Open(main_, "System Status", "Optimize Now");
    ASSERT_NE(optimize, nullptr) << "the status window did not show";
    Sleep(3000);  // three seconds of samples in the graphs
    Shot("system-status");
    Click(optimize);
    AnswerAnyMessageBoxes(tarvix_.id, {"OK", "&OK"}, 2000);
    EXPECT_TRUE(Responds(main_)) << "the program hangs after Optimize Now";
    EXPECT_EQ(TopWindow("#32770", tarvix_.id), nullptr);
    Shot("system-status-optimized");
  }

  // Ram Configuration: a change enables Save; Save stores it.
  {
    const HWND sound = Open(main_, "Ram Configuration", "Sound on");
    ASSERT_NE(sound, nullptr) << "the RAM configuration did not show";
    const HWND save = FindByCaption(main_, "Save", true);
    ASSERT_NE(save, nullptr);
    const bool was = IsChecked(sound);
    const std::string storedBefore = StoredSetting("RamSettings", "chkSoundon");
    Click(sound);
    ASSERT_TRUE(WaitFor([&] { return IsChecked(sound) != was; }, kWaitMs));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, kWaitMs)) << "a change left Save disabled";
    Shot("ram-configuration-changed");
    Click(save);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(save) == FALSE; }, kWaitMs)) << "Save did not save";
    EXPECT_NE(StoredSetting("RamSettings", "chkSoundon"), storedBefore) << "Sound on was not stored";
    Shot("ram-configuration-saved");
  }

  // Ping Settings: manual mode on localhost, saved, and one ping now.
  {
    ASSERT_NE(PingManuallyTo(main_, "localhost"), nullptr);
    const HWND save = FindByCaption(main_, "Save", true);
    const HWND pingNow = FindByCaption(main_, "Ping &Now", true);
    ASSERT_NE(save, nullptr);
    ASSERT_NE(pingNow, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, kWaitMs)) << "Save stays disabled";
    Shot("ping-settings-localhost");
    Click(save);
    AnswerAnyMessageBoxes(tarvix_.id, {"OK", "&OK"}, 1000);
    EXPECT_TRUE(WaitFor([] { return StoredSetting("NetPinger", "txtPingHost") == "localhost"; }, kWaitMs))
        << "the host was not stored: " << StoredSetting("NetPinger", "txtPingHost");
    Shot("ping-settings-saved");
    Click(pingNow);
    AnswerAnyMessageBoxes(tarvix_.id, {"OK", "&OK"}, 3000);
    EXPECT_EQ(TopWindow("#32770", tarvix_.id), nullptr);
    Shot("ping-now");
  }

  // Hide to tray; the icon brings the window back.
  Click(FindByCaption(main_, "Hide to tray", true));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main_) == FALSE; }, kWaitMs)) << "Hide to tray left the window";
  Shot("hidden-to-tray");
  ASSERT_TRUE(ClickTrayIcon(tarvix_.id));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main_) != FALSE; }, kWaitMs)) << "the icon did not bring it back";
  Shot("back-from-tray-again");

  // Close ends the program.
  Click(FindByCaption(main_, "Close", true));
  EXPECT_TRUE(Ends()) << "Close did not end the program";
  std::printf("walk took %.1f s\n", static_cast<double>(GetTickCount64() - begin_) / 1000.0);
}

// A file's last access, which Windows (and Wine, from the host's atime)
// moves forward when the file is read.
ULONGLONG LastAccess(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ToWide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastAccessTime.dwHighDateTime) << 32) | data.ftLastAccessTime.dwLowDateTime;
}

// Sets the file's last access back to 2001, before its last change, so that
// the next read of it is seen (the host updates atime on a read then).
bool MarkUnread(const std::string& path) {
  const UniqueHandle file(CreateFileW(ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  SYSTEMTIME old{};
  old.wYear = 2001;
  old.wMonth = 1;
  old.wDay = 1;
  FILETIME time{};
  return file.valid() && SystemTimeToFileTime(&old, &time) && SetFileTime(file.get(), nullptr, &time, nullptr);
}

bool ReadSinceMarked(const std::string& path) {
  SYSTEMTIME later{};
  later.wYear = 2002;
  later.wMonth = 1;
  later.wDay = 1;
  FILETIME time{};
  SystemTimeToFileTime(&later, &time);
  return LastAccess(path) > ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// The Run entry as Windows reads it at sign-in.
std::wstring RunEntry() {
  wchar_t entry[1024] = {};
  DWORD size = sizeof entry;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Tarvix", RRF_RT_REG_SZ,
                   nullptr, entry, &size) != ERROR_SUCCESS) {
    return {};
  }
  return entry;
}

// The ANSI code page the program runs with: GetACP called in its process (a
// thread started there at kernel32's GetACP, which sits at the same address
// in every process). 0 when it cannot be had.
UINT ProgramCodePage(HANDLE process) {
  const auto getAcp = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetACP")));
  if (getAcp == nullptr) return 0;
  const UniqueHandle thread(CreateRemoteThread(process, nullptr, 0, getAcp, nullptr, 0, nullptr));
  DWORD codePage = 0;
  if (!thread.valid() || WaitForSingleObject(thread.get(), kWaitMs) != WAIT_OBJECT_0 ||
      !GetExitCodeThread(thread.get(), &codePage)) {
    return 0;
  }
  return codePage;
}

// The shorter walk for a program installed into a folder whose name has
// Cyrillic, Chinese and Nordic letters (installed-walk.sh runs it in a
// prefix whose ANSI code page is 1252): start with the movie and skin read
// from that folder, an apply with its backup, the backup list, a restore, a
// sound, the help file and a start through the Run entry.
TEST_F(InstalledWalk, FromAFolderOfAnyName) {
  std::printf("GetACP() of the walk = %u; installed in %s\n", GetACP(), InstallFolder().c_str());
  ASSERT_NE(GetFileAttributesW(ToWide(InstalledProgram()).c_str()), INVALID_FILE_ATTRIBUTES) << InstalledProgram();
  if (GetACP() != CP_UTF8) {
    EXPECT_EQ(GetFileAttributesA(InstallFolder().c_str()), INVALID_FILE_ATTRIBUTES)
        << "the ANSI code page holds the folder's name: this walk would prove nothing";
  }
  ASSERT_TRUE(BackupFiles().empty()) << "a fresh installation has no backups";
  {
    // What the setup program recorded for Windows' list of programs.
    wchar_t location[MAX_PATH] = {};
    DWORD size = sizeof location;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvix",
                           L"InstallLocation", RRF_RT_REG_SZ, nullptr, location, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(location), ToWide(InstallFolder())) << "the setup program's InstallLocation";
  }
  const std::string movie = InstallFolder() + "\\Tarvix.movie";
  const std::string skin = InstallFolder() + "\\TarvixMask.skn";
  const std::string sound = InstallFolder() + "\\Ping.wav";
  const std::string help = InstallFolder() + "\\TarvixHelp.chm";
  for (const std::string* file : {&movie, &skin, &sound, &help}) ASSERT_TRUE(MarkUnread(*file)) << *file;

  // Start: the movie and the skin are read from the folder.
  StartTarvix();
  main_ = WaitForTopWindow("TarvixMain", tarvix_.id, kWindowWaitMs);
  ASSERT_NE(main_, nullptr) << "no main window";
  const UINT programCodePage = ProgramCodePage(tarvix_.process.get());
  std::printf("GetACP() of Tarvix = %u\n", programCodePage);
  // TARVIX_PROGRAM_ACP: the code page this run must have (the walk proves
  // nothing about the wide calls when the program's ANSI calls take UTF-8).
  if (const char* expected = std::getenv("TARVIX_PROGRAM_ACP"); expected != nullptr && *expected != '\0') {
    EXPECT_EQ(programCodePage, static_cast<UINT>(std::strtoul(expected, nullptr, 10)));
  }
  Shot("any-folder-started");
  EXPECT_TRUE(ReadSinceMarked(movie)) << "the movie file was not read";
  EXPECT_TRUE(ReadSinceMarked(skin)) << "the skin file was not read";

  // Start with Windows: the entry holds the real, quoted path.
  {
    const HWND withWindows = Open(main_, "Settings", "Run Main Program when windows start up");
    ASSERT_NE(withWindows, nullptr) << "the settings window did not show";
    ASSERT_TRUE(Tick(withWindows));
    const HWND save = FindByCaption(main_, "&Save", true);
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, kWaitMs)) << "Save stays disabled";
    Click(save);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(save) == FALSE; }, kWaitMs));
  }
  {
    // Windows' own letter case of the folders may differ ("C:\users" under Wine).
    const std::wstring entry = RunEntry();
    const std::wstring expected = L"\"" + ToWide(InstalledProgram()) + L"\"";
    EXPECT_EQ(CompareStringOrdinal(entry.c_str(), static_cast<int>(entry.size()), expected.c_str(),
                                   static_cast<int>(expected.size()), TRUE),
              CSTR_EQUAL)
        << "the Run entry: " << ToUtf8(entry);
  }

  // An apply writes its backup into the folder's Backups.
  const DWORD ttlBefore = NetworkTtlSetting();
  {
    const HWND optimize = Open(main_, "Wizard Mode", "Optimize &Now");
    ASSERT_NE(optimize, nullptr) << "the wizard did not show";
    const HWND option = VisibleByCaption(main_, "Automatic-A");
    ASSERT_NE(option, nullptr);
    Click(option);
    Sleep(200);
    Click(optimize);
    const bool written = WaitFor(
        [&] {
          AnswerAnyMessageBoxes(tarvix_.id, {"OK", "&Yes", "&OK"}, 100);
          return BackupFiles().size() == 1;
        },
        kWaitMs);
    ASSERT_TRUE(written) << "no backup after the apply";
    Shot("any-folder-applied");
  }
  EXPECT_TRUE(WaitFor([&] { return NetworkTtlSetting() != ttlBefore; }, kWaitMs)) << "the apply changed no TTL";

  // The backup list shows the file with its date; a restore brings back the TTL.
  {
    const HWND restore = Open(main_, "Backup Manager", "Restore");
    ASSERT_NE(restore, nullptr) << "the backup manager did not show";
    const HWND list = FindWindowExA(GetParent(restore), nullptr, "SysListView32", nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, kWaitMs));
    Shot("any-folder-backup-listed");
    EXPECT_TRUE(RestoreFirstRow(tarvix_.id, list, restore, ttlBefore));
    Shot("any-folder-restored");
  }

  // A sound: the ping's, after a ping that localhost answers.
  {
    const HWND host = PingManuallyTo(main_, "localhost");
    ASSERT_NE(host, nullptr);
    const HWND withSound = FindByCaption(main_, "Play &Sound at Ping", true);
    const HWND pingNow = FindByCaption(main_, "Ping &Now", true);
    ASSERT_NE(withSound, nullptr);
    ASSERT_NE(pingNow, nullptr);
    ASSERT_TRUE(Tick(withSound));
    const HWND save = FindByCaption(main_, "Save", true);
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, kWaitMs)) << "Save stays disabled";
    Click(save);
    AnswerAnyMessageBoxes(tarvix_.id, {"OK", "&OK"}, 1000);
    Click(pingNow);
    const bool played = WaitFor(
        [&] {
          AnswerAnyMessageBoxes(tarvix_.id, {"OK", "&OK"}, 100);
          return ReadSinceMarked(sound);
        },
        kWaitMs);
    EXPECT_TRUE(played) << "Ping.wav was not read for the sound; the window shows:" << VisibleCaptions(GetParent(host));
    Shot("any-folder-ping-sound");
  }

  // Help: the movie's item opens the help file beside the program.
  Click(FindByCaption(main_, "Help", true));
  // The viewer reads the file; it shows no window here, where the test prefix
  // has no HTML engine.
  EXPECT_TRUE(WaitFor([&] { return ReadSinceMarked(help); }, kWindowWaitMs)) << "the help file was not opened";

  Click(FindByCaption(main_, "Close", true));
  ASSERT_TRUE(Ends()) << "Close did not end the program";

  // The Run entry starts the program as Windows does at sign-in.
  {
    std::wstring line = RunEntry();
    ASSERT_FALSE(line.empty());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        << "the Run entry does not start: " << ToUtf8(line);
    CloseHandle(info.hThread);
    tarvix_ = {UniqueHandle(info.hProcess), info.dwProcessId};
    main_ = WaitForTopWindow("TarvixMain", tarvix_.id, kWindowWaitMs);
    ASSERT_NE(main_, nullptr) << "started by the Run entry, no main window";
    Shot("any-folder-started-by-run-entry");
    Click(FindByCaption(main_, "Close", true));
    EXPECT_TRUE(Ends()) << "Close did not end the program";
  }
  std::printf("walk took %.1f s\n", static_cast<double>(GetTickCount64() - begin_) / 1000.0);
}

}  // namespace
}  // namespace tarvix
