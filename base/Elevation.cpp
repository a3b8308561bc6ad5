#include "base/Elevation.h"

#include "base/OsDetect.h"
#include "base/Platform.h"

namespace tarvix {
namespace {

AdministratorRestart* g_restart = nullptr;

}  // namespace

bool WindowsKnowsElevation() noexcept { return IsNtPlatform() && RunningMajorVersion() >= 6; }

bool RunsElevated() noexcept { return WindowsKnowsElevation() && CurrentPlatform().IsProcessElevated(); }

void SetAdministratorRestart(AdministratorRestart* restart) noexcept { g_restart = restart; }

bool CanOfferAdministratorRestart() noexcept {
  return g_restart != nullptr && WindowsKnowsElevation() && !CurrentPlatform().IsProcessElevated();
}

std::string WithRestartQuestion(std::string_view refusal) {
  std::string text(refusal);
  text += "\r\n\r\n";
  text += kRestartAsAdministratorQuestion;
  return text;
}

void ShowRefusedForRights(std::string_view refusal, HWND owner) noexcept {
  try {
    if (!CanOfferAdministratorRestart()) {
      ShowError(refusal, owner);
      return;
    }
    if (AskYesNo(WithRestartQuestion(refusal), owner)) g_restart->RestartAsAdministrator();
  } catch (...) {
    // Building the text failed: the refusal alone still reaches the user.
    ShowError(refusal, owner);
  }
}

}  // namespace tarvix
