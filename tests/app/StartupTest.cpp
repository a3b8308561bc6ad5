// The real Tarvix.exe started under Wine as a user starts it: one main
// window and one icon, a second start that ends quietly, a tool window
// opened through the movie by its caption, Close from the movie, and the
// start of an instance restarted as administrator.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/Handle.h"
#include "backup/BackupFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace tarvix {
namespace {

using test::FindByCaption;
using test::NetworkTtlSetting;
using test::WaitFor;

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));  // build\tests
  folder.resize(folder.find_last_of('\\'));  // build
  return folder + "\\Tarvix.exe";
}

// The visible top-level windows of `className` belonging to process `id`.
int CountWindows(const char* className, DWORD id) {
  int count = 0;
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((id == 0 || owner == id) && IsWindowVisible(window)) ++count;
  }
  return count;
}

// The names of the DLLs a PE file imports, read from its import directory.
std::vector<std::string> ImportedDlls(const std::string& path) {
  std::vector<std::string> names;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return names;
  const UniqueHandle owner(file);
  std::vector<char> image(static_cast<std::size_t>(GetFileSize(file, nullptr)));
  DWORD got = 0;
  if (image.empty() || !ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &got, nullptr) ||
      got != image.size() || image.size() < sizeof(IMAGE_DOS_HEADER)) {
    return names;
  }
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  if (dos->e_lfanew <= 0 || static_cast<std::size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS) > image.size()) {
    return names;
  }
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  const auto offsetOf = [&](DWORD rva) -> std::size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& section = sections[i];
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return image.size();
  };
  for (std::size_t at = offsetOf(imports.VirtualAddress); at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
       at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
    if (entry->Name == 0) break;
    const std::size_t name = offsetOf(entry->Name);
    if (name >= image.size()) break;
    std::string text(image.data() + name, strnlen(image.data() + name, image.size() - name));
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(text);
  }
  return names;
}

// Sounds, pings and host lookups load their DLLs when first used: none of
// them may come back among the program's imports, where each costs start-up
// time and memory on every sign-in.
TEST(Startup, DllsForOccasionalWorkAreNotImported) {
  const std::vector<std::string> imports = ImportedDlls(ProgramPath());
  ASSERT_GT(imports.size(), 3u);
  EXPECT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end());
  for (const char* late : {"winmm.dll", "iphlpapi.dll", "ws2_32.dll", "wsock32.dll"}) {
    EXPECT_EQ(std::find(imports.begin(), imports.end(), late), imports.end()) << late;
  }
}

TEST(Startup, OneWindowOneIconSecondStartQuietToolWindowByCaptionAndClose) {
  const std::string program = ProgramPath();
  ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;

  const ULONGLONG started = GetTickCount64();
  test::StartedProgram first = test::StartProgram(program);
  ASSERT_TRUE(first.process.valid());
  const HWND main = test::WaitForTopWindow("TarvixMain", first.id, 30000);
  ASSERT_NE(main, nullptr) << "no main window";
  std::printf("main window shown %llu ms after the start\n", GetTickCount64() - started);
  char title[64] = {};
  GetWindowTextA(main, title, static_cast<int>(sizeof title));
  EXPECT_STREQ(title, "Tarvix");

  // Wine shows notification icons in a tray window of its own.
  EXPECT_NE(test::WaitForTopWindow("__winex11_standalone_tray", 0, 10000), nullptr) << "no notification icon";

  // A second start ends at once, quietly, leaving the first.
  test::StartedProgram second = test::StartProgram(program);
  ASSERT_TRUE(second.process.valid());
  EXPECT_EQ(WaitForSingleObject(second.process.get(), 20000), WAIT_OBJECT_0);
  DWORD secondExit = 1;
  GetExitCodeProcess(second.process.get(), &secondExit);
  EXPECT_EQ(secondExit, 0u);
  EXPECT_EQ(WaitForSingleObject(first.process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(CountWindows("TarvixMain", first.id), 1);
  EXPECT_EQ(CountWindows("TarvixMain", second.id), 0);
  EXPECT_EQ(CountWindows("#32770", second.id), 0) << "the second start showed a message";

  // Through the movie, by the item's caption, as a screen reader would find it.
  const HWND item = FindByCaption(main, "Wizard Mode");
  ASSERT_NE(item, nullptr);
  PostMessageA(item, BM_CLICK, 0, 0);
  const ULONGLONG end = GetTickCount64() + 10000;
  HWND wizard = nullptr;
  while (wizard == nullptr && GetTickCount64() < end) {
    wizard = FindByCaption(main, "Optimize &Now");
    if (wizard != nullptr && !IsWindowVisible(wizard)) wizard = nullptr;
    Sleep(50);
  }
  EXPECT_NE(wizard, nullptr) << "the wizard did not show";
  Sleep(300);
  EXPECT_TRUE(test::SaveScreenshot(main, "startup-main-window.png"));

  const HWND close = FindByCaption(main, "Close");
  ASSERT_NE(close, nullptr);
  PostMessageA(close, BM_CLICK, 0, 0);
  const bool ended = WaitForSingleObject(first.process.get(), 20000) == WAIT_OBJECT_0;
  EXPECT_TRUE(ended) << "Close did not end the program";
  if (!ended) TerminateProcess(first.process.get(), 1);
}

// A visible window anywhere inside `parent` with exactly this caption,
// containers included (a tool window is found by its own caption).
HWND VisibleDescendant(HWND parent, const std::string& caption) {
  struct Search {
    const std::string* caption;
    HWND found;
  } search{&caption, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char text[128] = {};
        GetWindowTextA(window, text, static_cast<int>(sizeof text));
        if (*s->caption == text && IsWindowVisible(window)) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The hand-over of a restart as administrator, with the real program on both
// sides: the new instance waits for the old one before its single-instance
// check, then shows the tool window it was asked for.
TEST(Startup, ARestartedInstanceWaitsForTheOldOneThenOpensTheHandedOverToolWindow) {
  const std::string program = ProgramPath();
  test::StartedProgram old = test::StartProgram(program);
  ASSERT_TRUE(old.process.valid());
  const HWND oldMain = test::WaitForTopWindow("TarvixMain", old.id, 30000);
  ASSERT_NE(oldMain, nullptr);

  test::StartedProgram restarted =
      test::StartProgram(program, "/restarted-from " + std::to_string(old.id) + " /open backup");
  ASSERT_TRUE(restarted.process.valid());
  // While the old instance runs, the new one neither ends (as a second start
  // would) nor shows a window.
  EXPECT_EQ(WaitForSingleObject(restarted.process.get(), 2000), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(CountWindows("TarvixMain", restarted.id), 0);

  const ULONGLONG closed = GetTickCount64();
  PostMessageA(FindByCaption(oldMain, "Close"), BM_CLICK, 0, 0);
  const bool oldEnded = WaitForSingleObject(old.process.get(), 20000) == WAIT_OBJECT_0;
  EXPECT_TRUE(oldEnded) << "Close did not end the old instance";
  if (!oldEnded) TerminateProcess(old.process.get(), 1);

  const HWND main = test::WaitForTopWindow("TarvixMain", restarted.id, 30000);
  ASSERT_NE(main, nullptr) << "the restarted instance did not start after the old one ended";
  std::printf("restarted instance shown %llu ms after the old one was closed\n", GetTickCount64() - closed);
  HWND backup = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (backup = VisibleDescendant(main, "Backup")) != nullptr; }, 10000))
      << "the backup manager did not open";
  EXPECT_NE(FindByCaption(main, "Restore", true), nullptr);
  Sleep(300);
  EXPECT_TRUE(test::SaveScreenshot(main, "restarted-as-administrator-backup.png"));

  PostMessageA(FindByCaption(main, "Close"), BM_CLICK, 0, 0);
  const bool ended = WaitForSingleObject(restarted.process.get(), 20000) == WAIT_OBJECT_0;
  EXPECT_TRUE(ended);
  if (!ended) TerminateProcess(restarted.process.get(), 1);
}

// A hand-over that names a process which is not Tarvix (here the test
// itself, which runs on), or none at all, is not waited for: the program
// starts at once with the named window.
TEST(Startup, AHandOverFromAnotherProgramOrNoProcessIsNotWaitedFor) {
  const std::string program = ProgramPath();
  for (const std::string& from : {std::to_string(GetCurrentProcessId()), std::string("4294967295")}) {
    SCOPED_TRACE(from);
    const ULONGLONG started = GetTickCount64();
    test::StartedProgram tarvix = test::StartProgram(program, "/restarted-from " + from + " /open settings");
    ASSERT_TRUE(tarvix.process.valid());
    const HWND main = test::WaitForTopWindow("TarvixMain", tarvix.id, 30000);
    ASSERT_NE(main, nullptr);
    const ULONGLONG shown = GetTickCount64() - started;
    std::printf("shown %llu ms after the start\n", shown);
    // Waiting for the named process would have taken the full 10 s.
    EXPECT_LT(shown, 9000u);
    EXPECT_TRUE(WaitFor([&] { return VisibleDescendant(main, "Main Settings") != nullptr; }, 10000));
    PostMessageA(FindByCaption(main, "Close"), BM_CLICK, 0, 0);
    const bool ended = WaitForSingleObject(tarvix.process.get(), 20000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended);
    if (!ended) TerminateProcess(tarvix.process.get(), 1);
  }
}

// The start-with-Windows entry starts the program as it is, so the program
// must ask for no more than the rights of whoever starts it: a prompt at
// every sign-in would be refused or block the start.
TEST(Startup, TheProgramAsksForTheRightsOfWhoeverStartsIt) {
  const HMODULE image = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  const HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(image, found)));
  const std::string manifest(data, SizeofResource(image, found));
  FreeLibrary(image);
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos) << manifest;
  EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
  EXPECT_EQ(manifest.find("highestAvailable"), std::string::npos);
}

// Every value under root\path and its sub-keys, as "key|name|type|data" lines.
void DumpKey(HKEY root, const std::string& path, std::string& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  char name[512];
  BYTE data[2048];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name, type = 0, dataLength = sizeof data;
    if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    out += path + "|" + std::string(name, nameLength) + "|" + std::to_string(type) + "|" +
           std::string(reinterpret_cast<const char*>(data), dataLength) + "\n";
  }
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name;
    if (RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DumpKey(root, path + "\\" + std::string(name, nameLength), out);
  }
  RegCloseKey(key);
}

std::string NetworkSettings() {
  std::string out;
  DumpKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip", out);
  DumpKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", out);
  return out;
}

// Clicks `caption` on the program's message box, once one shows.
bool AnswerMessageBox(DWORD processId, const std::string& caption) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = test::WaitForTopWindow("#32770", processId, 50)) != nullptr; }, 10000)) return false;
  const HWND button = FindByCaption(box, caption);
  if (button == nullptr) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
}

HWND VisibleByCaption(HWND main, const std::string& caption) {
  HWND found = nullptr;
  WaitFor([&] {
    found = FindByCaption(main, caption);
    return found != nullptr && IsWindowVisible(found);
  }, 10000);
  return found;
}

TEST(NetworkRoundTrip, WizardAppliesAutomaticEWithABackupAndTheManagerRestoresIt) {
  const std::string program = ProgramPath();
  const std::string backups = program.substr(0, program.find_last_of('\\')) + "\\Backups";
  for (const std::string& name : ListBackupFiles(backups)) DeleteFileA((backups + "\\" + name).c_str());
  const std::string before = NetworkSettings();

  test::StartedProgram tarvix = test::StartProgram(program);
  ASSERT_TRUE(tarvix.process.valid());
  const HWND main = test::WaitForTopWindow("TarvixMain", tarvix.id, 30000);
  ASSERT_NE(main, nullptr);

  PostMessageA(FindByCaption(main, "Wizard Mode"), BM_CLICK, 0, 0);
  const HWND modeE = VisibleByCaption(main, "Automatic-E");
  ASSERT_NE(modeE, nullptr);
  PostMessageA(modeE, BM_CLICK, 0, 0);
  Sleep(200);
  EXPECT_TRUE(test::SaveScreenshot(main, "roundtrip-wizard.png"));
  PostMessageA(FindByCaption(main, "Optimize &Now"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ListBackupFiles(backups).size() == 1; }, 15000)) << "no backup was written";
  EXPECT_EQ(ListBackupFiles(backups)[0], "001.BCK");
  ASSERT_TRUE(WaitFor([] { return NetworkTtlSetting() == 64; }, 10000)) << "Automatic-E's TTL of 64 was not written";
  EXPECT_NE(NetworkSettings(), before);

  PostMessageA(FindByCaption(main, "Backup Manager"), BM_CLICK, 0, 0);
  const HWND restore = VisibleByCaption(main, "Restore");
  ASSERT_NE(restore, nullptr);
  const HWND list = FindWindowExA(GetParent(restore), nullptr, "SysListView32", nullptr);
  ASSERT_NE(list, nullptr);
  PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
  PostMessageA(list, WM_KEYUP, VK_HOME, 0);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(restore) != FALSE; }, 5000)) << "no row selected";
  Sleep(200);
  EXPECT_TRUE(test::SaveScreenshot(main, "roundtrip-backup-manager.png"));
  PostMessageA(restore, BM_CLICK, 0, 0);
  ASSERT_TRUE(AnswerMessageBox(tarvix.id, "&Yes")) << "the restore question did not show";
  EXPECT_TRUE(WaitFor([&] { return NetworkSettings() == before; }, 10000)) << "the restore left the settings changed";

  PostMessageA(FindByCaption(main, "Close"), BM_CLICK, 0, 0);
  const bool ended = WaitForSingleObject(tarvix.process.get(), 20000) == WAIT_OBJECT_0;
  EXPECT_TRUE(ended);
  if (!ended) TerminateProcess(tarvix.process.get(), 1);
}

}  // namespace
}  // namespace tarvix
