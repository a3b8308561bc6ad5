#pragma once
// The wizard: eight optimisation modes, each one of the presets of Part
// 3.1. Choosing a mode copies its preset into CurrentParameters and shows
// the values it sets; "Optimize Now" applies CurrentParameters (after a
// backup) and returns to the movie's home screen.
#include <windows.h>

#include "ui/ToolWindow.h"
#include "optimizer/ApplyNetworkSettings.h"

namespace tarvix {

class frmWizardMode final : public ToolWindowBase<frmWizardMode> {
 public:
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 250;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "Wizard Mode";
  static constexpr int kModeCount = 8;
  enum : int {
    IDC_frameOptimizationMode = 100,
    IDC_optMode0,  // to IDC_optMode0 + 7
    IDC_cmdOptimize = IDC_optMode0 + kModeCount,
    IDC_lblBackupNote,
    IDC_frameModeSummary,
    IDC_lblModeDescrip,
    IDC_lblWindowsReads,  // beside the summary: the values this Windows does not read
  };

  explicit frmWizardMode(Shell& shell) noexcept : ToolWindowBase(shell) {}
  ~frmWizardMode() override { Unload(); }

  static const char* ClassName() noexcept { return "TarvixWizardMode"; }

  // From start-up the wizard's first mode is the parameter set in use; its
  // controls wait until the wizard is first shown, with that mode checked.
  void Form_LoadState();
  void Form_LoadControls();
  void OnClick(int id);

  // Copies preset `index` into CurrentParameters and shows its summary; an
  // index outside 0 to 7 says so in a message box and changes nothing.
  void optMode_Click(int index);
  // Applies CurrentParameters. When no backup could be written nothing was
  // changed: the wizard stays in front so that the user can try again.
  void cmdOptimize_Click();
  // lblModeDescrip shows the summary of CurrentParameters.
  void UpdateModeSummary();

  // The outcome of the last "Optimize Now" (tests).
  [[nodiscard]] const ApplyOutcome& LastApply() const noexcept { return lastApply_; }

 private:
  // On Windows Vista and later, the marks beside the summary.
  void ShowWindowsReads();

  ApplyOutcome lastApply_;
};

}  // namespace tarvix
