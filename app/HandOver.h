#pragma once
// The hand-over from an instance that restarts Tarvix as administrator to the
// new, elevated one, carried on the command line:
//
//   Tarvix.exe /restarted-from 4242 /open backup
//
// The new instance waits for process 4242 to end before its single-instance
// check, then shows the named tool window. Pure: no windows.h, so the parser
// is tested on its own; anything it does not understand is ignored.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/CommandTable.h"

namespace tarvix {

inline constexpr std::string_view kRestartedFromSwitch = "/restarted-from";
inline constexpr std::string_view kOpenSwitch = "/open";

struct HandOver {
  std::optional<std::uint32_t> previousProcess;  // the instance to wait for; never 0
  std::optional<ToolWindow> tool;                // the tool window to show

  friend bool operator==(const HandOver&, const HandOver&) = default;
};

// The name a tool window goes by on the command line ("backup", "wizard", ...).
[[nodiscard]] std::string_view HandOverName(ToolWindow tool) noexcept;

// The arguments that hand `handOver` to a new instance.
[[nodiscard]] std::string HandOverArguments(const HandOver& handOver);

// Reads the hand-over from the program's arguments (without the program's
// own name). Unknown words, a switch without its value, a process id that is
// not a whole number from 1 to 4294967295 and an unknown tool name are
// ignored; the first valid value of each switch counts.
[[nodiscard]] HandOver ParseHandOver(std::string_view arguments) noexcept;

// The movie's command that opens `tool` with its child-area size.
[[nodiscard]] const CommandRow* CommandShowing(ToolWindow tool) noexcept;

}  // namespace tarvix
