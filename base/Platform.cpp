#include "base/Platform.h"

#include <shellapi.h>
#include <mmsystem.h>

#include <vector>

#include "base/Handle.h"
#include "base/Utf8.h"
#include "base/LateLibrary.h"

namespace tarvix {
namespace {

class Win32Platform final : public Platform {
 public:
  int ShowMessage(HWND owner, std::string_view text, std::string_view title,
                  UINT flags) noexcept override {
    try {
      // The program's texts, and the paths in them, are UTF-8; a text that is
      // not came from an ANSI call and is shown as such.
      if (!IsUtf8(text) || !IsUtf8(title)) {
        return MessageBoxA(owner, std::string(text).c_str(), std::string(title).c_str(), flags);
      }
      return MessageBoxW(owner, ToWide(text).c_str(), ToWide(title).c_str(), flags);
    } catch (...) {
      return 0;
    }
  }

  BOOL RequestExitWindows(UINT flags, DWORD reason) noexcept override { return ExitWindowsEx(flags, reason); }

  UINT StartProgram(std::string_view commandLine, int show) noexcept override {
    try {
      std::wstring line = ToWide(commandLine);
      STARTUPINFOW startup{};
      startup.cb = sizeof(startup);
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = static_cast<WORD>(show);
      PROCESS_INFORMATION process{};
      if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
      const std::wstring file = ToWide(target);
      const std::wstring dir = ToWide(directory);
      const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
          owner, nullptr, file.c_str(), nullptr, dir.empty() ? nullptr : dir.c_str(), show));
      return result > 32;
    } catch (...) {
      return false;
    }
  }

  ~Win32Platform() override { StopSound(); }

  // The file is read here by its wide name and played from memory: the
  // sound system's own file opening may go through the ANSI code page, which
  // cannot name every folder.
  void PlaySoundFile(std::string_view path) noexcept override {
    try {
      StopSound();
      if (!ReadSound(ToWide(path), sound_)) return;
      const auto play = WinmmLibrary().Function<decltype(&PlaySoundW)>("PlaySoundW");
      if (play != nullptr) {
        play(reinterpret_cast<LPCWSTR>(sound_.data()), nullptr, SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
      }
    } catch (...) {
      StopSound();
    }
  }

  void EndProcess(UINT exitCode) noexcept override { ::ExitProcess(exitCode); }

  bool IsProcessElevated() noexcept override {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) return false;
    return elevation.TokenIsElevated != 0;
  }

  DWORD StartElevated(HWND owner, std::string_view program, std::string_view parameters) noexcept override {
    try {
      const std::wstring file = ToWide(program);
      const std::wstring arguments = ToWide(parameters);
      SHELLEXECUTEINFOW start{};
      start.cbSize = sizeof start;
      start.fMask = SEE_MASK_NOASYNC;
      start.hwnd = owner;
      start.lpVerb = L"runas";
      start.lpFile = file.c_str();
      start.lpParameters = arguments.c_str();
      start.nShow = SW_SHOWNORMAL;
      if (ShellExecuteExW(&start)) return ERROR_SUCCESS;
      const DWORD error = GetLastError();
      return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
    } catch (...) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
  }

 private:
  // Larger than any sound the program plays.
  static constexpr LONGLONG kLargestSound = 16LL << 20;

  // Ends the sound that plays from sound_ before the memory is reused.
  // Nothing to stop (and no sound library to load) before the first sound.
  void StopSound() noexcept {
    if (sound_.empty()) return;
    if (const auto play = WinmmLibrary().Function<decltype(&PlaySoundW)>("PlaySoundW")) play(nullptr, nullptr, 0);
    sound_.clear();
  }

  // The whole file; false (and nothing to play) when it cannot be read.
  static bool ReadSound(const std::wstring& path, std::vector<char>& data) {
    data.clear();
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestSound) {
      return false;
    }
    data.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr) || got != data.size()) {
      data.clear();
      return false;
    }
    return true;
  }

  std::vector<char> sound_;  // what plays now
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
