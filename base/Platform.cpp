#include "base/Platform.h"

#include <shellapi.h>
#include <mmsystem.h>

#include "base/LateLibrary.h"

namespace tarvix {
namespace {

class Win32Platform final : public Platform {
 public:
  int ShowMessage(HWND owner, std::string_view text, std::string_view title,
                  UINT flags) noexcept override {
    try {
      return MessageBoxA(owner, std::string(text).c_str(), std::string(title).c_str(), flags);
    } catch (...) {
      return 0;
    }
  }

  BOOL RequestExitWindows(UINT flags, DWORD reason) noexcept override { return ExitWindowsEx(flags, reason); }

  UINT StartProgram(std::string_view commandLine, int show) noexcept override {
    try {
      std::string line(commandLine);
      STARTUPINFOA startup{};
      startup.cb = sizeof(startup);
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = static_cast<WORD>(show);
      PROCESS_INFORMATION process{};
      if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return 0;
      }
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      return process.dwProcessId;
    } catch (...) {
      return 0;
    }
  }

  bool OpenDocument(HWND owner, std::string_view target, std::string_view directory,
                    int show) noexcept override {
    try {
      const std::string file(target);
      const std::string dir(directory);
      const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
          owner, nullptr, file.c_str(), nullptr, dir.empty() ? nullptr : dir.c_str(), show));
      return result > 32;
    } catch (...) {
      return false;
    }
  }

  void PlaySoundFile(std::string_view path) noexcept override {
    try {
      const auto play = WinmmLibrary().Function<decltype(&PlaySoundA)>("PlaySoundA");
      if (play != nullptr) play(std::string(path).c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
    } catch (...) {
    }
  }

  void EndProcess(UINT exitCode) noexcept override { ::ExitProcess(exitCode); }
};

Win32Platform g_win32;
Platform* g_current = &g_win32;

}  // namespace

Platform& CurrentPlatform() noexcept { return *g_current; }

ScopedPlatform::ScopedPlatform(Platform& platform) noexcept : previous_(g_current) {
  g_current = &platform;
}

ScopedPlatform::~ScopedPlatform() { g_current = previous_; }

namespace {
HWND g_messageOwner = nullptr;
}  // namespace

void SetMessageOwner(HWND owner) noexcept { g_messageOwner = owner; }

HWND MessageOwner() noexcept { return g_messageOwner; }

int ShowProgramMessage(std::string_view text, UINT flags, HWND owner) noexcept {
  // A tool window is a child of the main window: the box belongs to (and
  // disables) the top-level window, not the child.
  if (owner != nullptr && IsWindow(owner)) owner = GetAncestor(owner, GA_ROOT);
  if (owner == nullptr || !IsWindow(owner)) owner = g_messageOwner;
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  return CurrentPlatform().ShowMessage(owner, text, kProgramTitle, flags);
}

}  // namespace tarvix
