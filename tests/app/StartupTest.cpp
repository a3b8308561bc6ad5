// The real Tarvix.exe started under Wine as a user starts it: one main
// window and one icon, a second start that ends quietly, a tool window
// opened through the movie by its caption, and Close from the movie.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/UniqueHandle.h"
#include "support/Screenshot.h"

namespace tarvix {
namespace {

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));  // build\tests
  folder.resize(folder.find_last_of('\\'));  // build
  return folder + "\\Tarvix.exe";
}

struct Started {
  UniqueHandle process;
  DWORD id = 0;
};

Started Start(const std::string& program) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + program + "\"";
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &info)) {
    return {};
  }
  CloseHandle(info.hThread);
  return {UniqueHandle(info.hProcess), info.dwProcessId};
}

// The visible top-level windows of `className` belonging to process `id`.
int CountWindows(const char* className, DWORD id, HWND* found = nullptr) {
  int count = 0;
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((id == 0 || owner == id) && IsWindowVisible(window)) {
      ++count;
      if (found != nullptr) *found = window;
    }
  }
  return count;
}

HWND WaitForWindow(const char* className, DWORD id, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  HWND found = nullptr;
  while (GetTickCount64() < end) {
    if (CountWindows(className, id, &found) > 0) return found;
    Sleep(50);
  }
  return nullptr;
}

// The first descendant of `parent` with exactly this caption.
HWND FindByCaption(HWND parent, const std::string& caption) {
  struct Search {
    const std::string* caption;
    HWND found;
  } search{&caption, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char text[128] = {};
        GetWindowTextA(child, text, static_cast<int>(sizeof text));
        if (*s->caption == text) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Startup, OneWindowOneIconSecondStartQuietToolWindowByCaptionAndClose) {
  const std::string program = ProgramPath();
  ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;

  const ULONGLONG started = GetTickCount64();
  Started first = Start(program);
  ASSERT_TRUE(first.process.valid());
  const HWND main = WaitForWindow("TarvixMain", first.id, 30000);
  ASSERT_NE(main, nullptr) << "no main window";
  std::printf("main window shown %llu ms after the start\n", GetTickCount64() - started);
  char title[64] = {};
  GetWindowTextA(main, title, static_cast<int>(sizeof title));
  EXPECT_STREQ(title, "Tarvix");

  // Wine shows notification icons in a tray window of its own.
  EXPECT_NE(WaitForWindow("__winex11_standalone_tray", 0, 10000), nullptr) << "no notification icon";

  // A second start ends at once, quietly, leaving the first.
  Started second = Start(program);
  ASSERT_TRUE(second.process.valid());
  EXPECT_EQ(WaitForSingleObject(second.process.get(), 20000), WAIT_OBJECT_0);
  DWORD secondExit = 1;
  GetExitCodeProcess(second.process.get(), &secondExit);
  EXPECT_EQ(secondExit, 0u);
  EXPECT_EQ(WaitForSingleObject(first.process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(CountWindows("TarvixMain", 0), 1);
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

}  // namespace
}  // namespace tarvix
