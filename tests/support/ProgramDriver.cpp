#include "support/ProgramDriver.h"

#include <cstdlib>

#include "base/OsDetect.h"
#include "base/Utf8.h"

namespace tarvix::test {

StartedProgram StartProgram(const std::string& program, const std::string& arguments) {
  // Wide, as the program's own calls: `program` is UTF-8 and its folder may
  // have any characters.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = "\"" + program + "\"";
  if (!arguments.empty()) line += " " + arguments;
  std::wstring commandLine = ToWide(line);
  const std::wstring folder = ToWide(program.substr(0, program.find_last_of('\\')));
  if (!CreateProcessW(ToWide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info)) {
    return {};
  }
  CloseHandle(info.hThread);
  return {UniqueHandle(info.hProcess), info.dwProcessId};
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(50);
  }
  return true;
}

HWND TopWindow(const char* className, DWORD id, bool hiddenToo) {
  for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((id == 0 || owner == id) && (hiddenToo || IsWindowVisible(window))) return window;
  }
  return nullptr;
}

HWND WaitForTopWindow(const char* className, DWORD id, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] { return (found = TopWindow(className, id)) != nullptr; }, ms);
  return found;
}

HWND FindByCaption(HWND parent, const std::string& caption, bool visibleOnly) {
  struct Search {
    const std::string* caption;
    bool visibleOnly;
    HWND found;
  } search{&caption, visibleOnly, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char text[128] = {};
        GetWindowTextA(child, text, static_cast<int>(sizeof text));
        // Controls only: a tool window carries its caption as its text too.
        const bool control = GetWindow(child, GW_CHILD) == nullptr;
        if (*s->caption == text && control && (!s->visibleOnly || IsWindowVisible(child))) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD NetworkTtlSetting() {
  const bool nt = IsNtPlatform();
  if (!nt) {
    // 95/98/ME: decimal text under MSTCP, and only text counts.
    char text[32] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "DefaultTTL",
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
      return 0;
    }
    return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
  }
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "DefaultTTL",
                   RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
    return 0;
  }
  return value;
}

}  // namespace tarvix::test
