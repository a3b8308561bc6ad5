#pragma once
// Administrator rights on NT 6.0 and later: whether the program runs
// elevated, and the offer to start it again as administrator when Windows
// refused a write for lack of rights. On the 95/98/ME family and NT before
// 6.0 there is no elevation: nothing is asked there.
#include <windows.h>

#include <string>
#include <string_view>

namespace tarvix {

inline constexpr std::string_view kRestartAsAdministratorQuestion = "Restart Tarvix as administrator?";

// True on NT 6.0 and later, where a process may run elevated or not.
[[nodiscard]] bool WindowsKnowsElevation() noexcept;
// True on NT 6.0 and later when the process runs elevated; false elsewhere.
[[nodiscard]] bool RunsElevated() noexcept;

// What the program does when the user agrees to restart as administrator.
// The main window provides it for as long as it exists.
class AdministratorRestart {
 public:
  // Starts the program again elevated and, once it started, ends this
  // instance in its normal order; when the user declines Windows' prompt,
  // nothing changes.
  virtual void RestartAsAdministrator() noexcept = 0;

 protected:
  ~AdministratorRestart() = default;
};

// Installs `restart` (null removes it).
void SetAdministratorRestart(AdministratorRestart* restart) noexcept;

// True when a refusal may offer the restart: Windows knows elevation, the
// process does not run elevated and something can restart it.
[[nodiscard]] bool CanOfferAdministratorRestart() noexcept;

// `refusal` and the restart question on one line below it.
[[nodiscard]] std::string WithRestartQuestion(std::string_view refusal);

// Tells the user of writes Windows refused for lack of rights: with the
// restart question (Yes and No) where it can be offered, and Yes restarts;
// otherwise the refusal alone with OK.
void ShowRefusedForRights(std::string_view refusal, HWND owner = nullptr) noexcept;

}  // namespace tarvix
