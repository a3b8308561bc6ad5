#pragma once
// Lets the user-interface thread serve pending input, paint and timer
// messages in the middle of long work, as freeing memory does.
namespace tarvix {

// Upper bound on the messages one pass handles, so that a window that keeps
// posting to itself cannot hold the caller in the pump for ever.
inline constexpr int kMaxMessagesPerPass = 512;

// Dispatches the thread's pending messages `passes` times in a row. A WM_QUIT
// met on the way is posted again and ends the pumping, so that the main
// message loop still sees it.
void ProcessPendingMessages(int passes) noexcept;

}  // namespace tarvix
