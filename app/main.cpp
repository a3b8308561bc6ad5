// Tarvix start-up: one instance per session, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "base/Handle.h"
#include "app/HandOver.h"
#include "app/frmMain.h"

namespace {

// Held for the life of the process; a second start finds it and ends quietly.
constexpr const char* kSingleInstanceMutex = "Tarvix.SingleInstance";
// How long an instance restarted as administrator waits for the one that
// started it to end; after that the single-instance rule decides.
constexpr DWORD kHandOverWaitMs = 10000;

// False when `process` runs another program than this one (its id was
// reused, or the hand-over named some other process); true when it is this
// program or Windows does not say.
bool RunsThisProgram(HANDLE process) noexcept {
  // Wide, so that a folder named in any letters compares as it is.
  constexpr DWORD kLongest = 1024;
  wchar_t own[kLongest] = {};
  wchar_t other[kLongest] = {};
  DWORD otherSize = kLongest;
  const DWORD ownSize = GetModuleFileNameW(nullptr, own, kLongest);
  if (ownSize == 0 || ownSize >= kLongest || !QueryFullProcessImageNameW(process, 0, other, &otherSize)) return true;
  return lstrcmpiW(own, other) == 0;
}

// Waits, bounded, for the instance that handed over to end. A process that
// is already gone (or never was), or that is not Tarvix, is not waited for.
void WaitForPreviousInstance(std::uint32_t processId) noexcept {
  if (processId == GetCurrentProcessId()) return;
  const tarvix::UniqueHandle previous(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!previous.valid() || !RunsThisProgram(previous.get())) return;
  WaitForSingleObject(previous.get(), kHandOverWaitMs);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  using namespace tarvix;
  const HandOver handOver = ParseHandOver(arguments != nullptr ? arguments : "");
  if (handOver.previousProcess) WaitForPreviousInstance(*handOver.previousProcess);

  const UniqueHandle instance(CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
  if (!instance.valid() || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&controls);

  frmMain main;
  if (!main.Form_Load()) return 1;
  if (handOver.tool) main.OpenHandedOverTool(*handOver.tool);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (main.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
