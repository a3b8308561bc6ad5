#include "optimizer/frmWizardMode.h"

#include <array>

#include "base/OsDetect.h"
#include "base/Platform.h"
#include "optimizer/ModeSummary.h"
#include "optimizer/NetworkParameters.h"
#include "optimizer/WindowsReads.h"
#include "ui/Controls.h"

namespace tarvix {
namespace {

using W = frmWizardMode;

// The modes in two columns of four, the button and its note beside them, the
// summary across the whole width below, with room for its eight lines in
// Segoe UI 9 pt (16 pixels a line) as well as in Wine's fonts. Child area
// 440 x 250: the summary's nine lines (the last one empty) at 120 DPI leave
// the two frames 2 pixels from the top and the bottom and their captions
// grid::kTightCaptionClearance.
constexpr int kModeLeft = 20;
constexpr int kModeColumn = 136;
constexpr int kModeTop = 20;
constexpr int kModeRow = 18;
// The summary's columns (96 DPI): a tab goes on to the next multiple of
// kSummaryColumn at least kSummaryGap after the text before it.
constexpr int kSummaryColumn = 48;
constexpr int kSummaryGap = 8;

constexpr ControlSpec ModeOption(int index) {
  return ControlSpec{ControlKind::Option, W::IDC_optMode0 + index, kPresetNames[static_cast<std::size_t>(index)],
                     kModeLeft + (index / 4) * kModeColumn, kModeTop + (index % 4) * kModeRow, 128, 18,
                     index == 0 ? static_cast<DWORD>(WS_GROUP | WS_TABSTOP) : 0u};
}

constexpr std::array kControls = {
    ControlSpec{ControlKind::Frame, W::IDC_frameOptimizationMode, "Optimization Modes", 8, 2, 288, 92},
    ModeOption(0), ModeOption(1), ModeOption(2), ModeOption(3),
    ModeOption(4), ModeOption(5), ModeOption(6), ModeOption(7),
    ControlSpec{ControlKind::Button, W::IDC_cmdOptimize, "Optimize &Now", 304, kModeTop, 128, 28, WS_GROUP},
    ControlSpec{ControlKind::Label, W::IDC_lblBackupNote, "Your current values are backed up first.", 304, 56, 128,
                36},
    ControlSpec{ControlKind::Frame, W::IDC_frameModeSummary, "Values of this mode", 8, 98, 424, 150},
    ControlSpec{ControlKind::Label, W::IDC_lblModeDescrip, "Modes Description", 20, 116, 400, 130},
};

}  // namespace

void frmWizardMode::Form_LoadState() { CurrentParameters = WizardPresets[0]; }

void frmWizardMode::Form_LoadControls() {
  CreateControls(hwnd(), kControls);
  // The summary's "name = value" pieces stand in columns at every DPI.
  ShowTabsAsColumns(Item(IDC_lblModeDescrip), kSummaryColumn, kSummaryGap);
  ShowWindowsReads();
  SkinSelf();
  SetChecked(Item(IDC_optMode0), true);
  // The checked mode's summary: the advanced editor may have changed the
  // parameters in use since start-up, which the wizard does not show.
  SetWindowTextTo(Item(IDC_lblModeDescrip), ModeSummaryText(WizardPresets[0]));
}

void frmWizardMode::OnClick(int id) {
  if (id >= IDC_optMode0 && id < IDC_optMode0 + kModeCount) optMode_Click(id - IDC_optMode0);
  if (id == IDC_cmdOptimize) cmdOptimize_Click();
}

void frmWizardMode::optMode_Click(int index) {
  if (index >= 0 && index < kModeCount) {
    CurrentParameters = WizardPresets[static_cast<std::size_t>(index)];
  } else {
    (void)ShowProgramMessage("Error no such this mode", MB_OK, hwnd());
  }
  UpdateModeSummary();
}

void frmWizardMode::cmdOptimize_Click() {
  // The apply may show a message (no backup, refused writes): no second
  // press while it runs.
  const HWND button = Item(IDC_cmdOptimize);
  EnableWindow(button, FALSE);
  lastApply_ = ApplyNetworkSettings();
  EnableWindow(button, TRUE);
  if (lastApply_.status == ApplyOutcome::Status::BackupFailed) return;
  shell().ReturnToMovieHome();
}

void frmWizardMode::ShowWindowsReads() {
  // Windows Vista and later: the values it does not read, on the summary
  // frame's caption row beside the caption, outside the summary text.
  if (!reads::ShowsReadings(OsFamily, RunningMajorVersion())) return;
  constexpr ControlSpec kMarks{ControlKind::Label, IDC_lblWindowsReads, "", 168, 98, 252, 16};
  const HWND marks = CreateControl(hwnd(), kMarks);
  SetWindowLongPtrA(marks, GWL_STYLE, GetWindowLongPtrA(marks, GWL_STYLE) | SS_RIGHT);
  SetWindowTextTo(marks, reads::WizardReadingText());
}

void frmWizardMode::UpdateModeSummary() { SetWindowTextTo(Item(IDC_lblModeDescrip), ModeSummaryText(CurrentParameters)); }

}  // namespace tarvix
