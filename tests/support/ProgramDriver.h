#pragma once
// Driving the real Tarvix.exe from a test, as a user or a screen reader
// would: start it, find its windows and controls by class and caption, and
// wait for what it shows.
#include <windows.h>

#include <functional>
#include <string>

#include "base/Handle.h"

namespace tarvix::test {

struct StartedProgram {
  UniqueHandle process;
  DWORD id = 0;
};

// Starts `program` (a UTF-8 path) in its own folder, with `arguments` after
// its quoted path; an empty result when it cannot start.
[[nodiscard]] StartedProgram StartProgram(const std::string& program, const std::string& arguments = {});

// Polls `done` every 50 ms; false when `ms` pass first.
bool WaitFor(const std::function<bool()>& done, DWORD ms);
// The TTL the network apply writes: on the NT family the REG_DWORD under
// Tcpip\Parameters, on 95/98/ME the REG_SZ text under VxD\MSTCP; 0 when none.
[[nodiscard]] DWORD NetworkTtlSetting();

// A top-level window of `className` of process `id` (any process for 0);
// only visible ones unless `hiddenToo`.
[[nodiscard]] HWND TopWindow(const char* className, DWORD id, bool hiddenToo = false);
[[nodiscard]] HWND WaitForTopWindow(const char* className, DWORD id, DWORD ms);

// The first control (a descendant without children of its own) of `parent`
// with exactly this caption.
[[nodiscard]] HWND FindByCaption(HWND parent, const std::string& caption, bool visibleOnly = false);

}  // namespace tarvix::test
