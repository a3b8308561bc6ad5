#pragma once
// The two registry roots the program's tables name. Pure, so tables that use
// it need no windows.h.
namespace tarvix {

enum class Root { LocalMachine, CurrentUser };

}  // namespace tarvix
