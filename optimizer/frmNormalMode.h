#pragma once
// The advanced editor: eight pages, one group of network parameters each,
// walked with Back and Next; Finish stores the values in CurrentParameters
// and applies them (after a backup). The walk itself lives in
// advanced::AdvancedWalk; this window shows it and passes it the user's
// actions.
//
// The main window reopens the editor by Unload() then Load(): every opening
// starts on page 0 with Back disabled and every control at its initial
// text. Page 0 shows the connection type chosen at the last opening (Dial Up
// at the first), and connectionType keeps that choice.
#include <windows.h>

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "ui/ToolWindow.h"
#include "optimizer/AdvancedWalk.h"
#include "optimizer/ApplyNetworkSettings.h"
#include "optimizer/MtuFinder.h"

namespace tarvix {

class frmNormalMode final : public ToolWindowBase<frmNormalMode> {
 public:
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 252;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "Advanced Mode";
  static constexpr int kPageCount = advanced::kPageCount;
  enum : int {
    IDC_frameAdvancedMode = 200,
    IDC_frmWizardPages0,  // to IDC_frmWizardPages0 + 7
    IDC_cmdPrevPage = IDC_frmWizardPages0 + kPageCount,
    IDC_cmdNextPage,
    IDC_frameConnType,
    IDC_optConnType0,  // to IDC_optConnType0 + 3
    IDC_txtMTUValue = IDC_optConnType0 + 4,
    IDC_txtMSSValue,
    IDC_lblMTURecValue,
    IDC_lblMSSRecVaklue,
    IDC_chkBlackHoleValue,
    IDC_chkMTUDisconver,
    IDC_txtMSSRWINValue,
    IDC_txtMultiplier,
    IDC_txtScaleFactor,
    IDC_txtRWIN,
    IDC_lblRWINRecValue,
    IDC_txtTTLValue,
    IDC_txtHTTP10Value,
    IDC_txtHTTP11Value,
    IDC_txtKeepAliveTimeValue,
    IDC_txtKeepAliveIntervalValue,
    IDC_txtSYNValue,
    IDC_updwnDescision,
    IDC_cmbNDI,
    IDC_chkICMPValue,
    IDC_lblText,  // the fixed texts of the pages
    IDC_cmdFindMtu,
    IDC_txtMtuHost,
    IDC_lblMtuResult,
    IDC_lblWindowsReads,  // the values this Windows does not read, below the page
  };

  explicit frmNormalMode(Shell& shell) noexcept : ToolWindowBase(shell) {}
  ~frmNormalMode() override { Unload(); }

  static const char* ClassName() noexcept { return "TarvixNormalMode"; }

  void Form_Load();
  void Form_Unload() noexcept;
  void OnClick(int id);
  void OnChange(int id);

  void optConnType_Click(int index);
  // Next: enters the next page, or on page 7 finishes: stores the values,
  // applies them and returns to the movie. When no backup could be written
  // nothing was changed: the editor stays on page 7 with Finish enabled.
  void cmdNextPage_Click();
  void cmdPrevPage_Click();
  // "Find largest MTU" on page 1: measures towards the host beside it and
  // puts the MTU and the MSS that go with it in their boxes, where the
  // boxes' own validators check them. While it measures, the button cancels.
  void cmdFindMtu_Click();
  // Shows page `frmNo` and hides every other.
  void hideAllExcept(int frmNo);

  // The page shown, 0 to 7; 8 after Finish. Kept while unloaded.
  [[nodiscard]] int currWizardPage() const noexcept { return walk_ ? walk_->CurrentPage() : 0; }
  // The connection type chosen on page 0, 0 to 3. Kept while unloaded.
  [[nodiscard]] int connectionType() const noexcept { return walk_ ? walk_->ConnectionTypeIndex() : connectionType_; }
  // The page whose controls are visible.
  [[nodiscard]] int ShownPage() const noexcept { return shownPage_; }
  // The outcome of the last Finish (tests).
  [[nodiscard]] const ApplyOutcome& LastApply() const noexcept { return lastApply_; }
  // The last finished measurement, and whether one is running (tests).
  [[nodiscard]] const MtuMeasurement& LastMeasurement() const noexcept { return lastMeasurement_; }
  [[nodiscard]] bool Measuring() const noexcept { return measuring_; }
  // Measures with `measurer` instead of real echo requests (tests).
  void SetMtuMeasurer(MtuMeasurer measurer) { measurer_ = std::move(measurer); }

 private:
  // Shows what the walk holds: texts, captions, checks, enabled states and
  // the visible page.
  void Sync();
  void TextChanged(int id);

  std::optional<advanced::AdvancedWalk> walk_;
  int connectionType_ = 0;
  int shownPage_ = -1;
  bool syncing_ = false;
  std::array<std::vector<HWND>, kPageCount> pageControls_;
  ApplyOutcome lastApply_;
  MtuMeasurer measurer_ = MeasureLargestMtu;
  MtuMeasurement lastMeasurement_;
  bool measuring_ = false;
  bool cancelRequested_ = false;
  // Counts loads and unloads: a measurement that outlives its window's load
  // leaves the new one alone.
  unsigned generation_ = 0;
};

}  // namespace tarvix
