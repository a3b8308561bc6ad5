#pragma once
// The RAM configuration window: the memory booster's settings, and the owner
// of the background low-memory check (tmrAlarm) and of the low-memory sound
// (tmrSoundPlayer). It is loaded hidden at start-up, after the status
// window, so the check runs whether or not the window is ever shown; its
// controls are made when it is first shown. Its
// optPer chooses what the notification icon's tool tip shows.
//
// Construction and loading order: see frmSystemStatus.h.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "registry/WriteTally.h"
#include "ui/ToolWindow.h"
#include "memory/LowMemoryCheck.h"
#include "memory/MemoryAccess.h"

namespace tarvix {

class frmSystemStatus;

// The controls of the RAM configuration window, named after them.
enum RamConfigurationControl : int {
  IDC_frameRamConfiguration = 1201,
  IDC_frameOnOff,
  IDC_chkSoundon,
  IDC_chkAutomatic,
  IDC_frameAutomatic,
  IDC_lblAlarm,
  IDC_txtAlarm,
  IDC_lblFreeAlarm,
  IDC_txtFreeAlarm,
  IDC_lblTimeCheck,
  IDC_txtTimeCheck,
  IDC_updnTimeCheck,
  IDC_lblRunOnly,
  IDC_txtRunOnly,
  IDC_UpDownRunOnly,
  IDC_lblRetryOptimization,
  IDC_txtRetryOptimization,
  IDC_UpDownRetryOptimization,
  IDC_frameToolTip,
  IDC_optPer,
  IDC_optMB,
  IDC_cmdSave,
};

class frmRamConfiguration final : public ToolWindowBase<frmRamConfiguration> {
 public:
  static const char* ClassName() noexcept { return "TarvixRamConfiguration"; }
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 240;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "Ram Configuration";

  // The program's own: the machine's memory; the check's CPU gate asks
  // `status`'s QueryObject. The window registers itself with `status`, whose
  // tool tip then follows optPer, and leaves it again when destroyed; `status`
  // must outlive it.
  frmRamConfiguration(Shell& shell, frmSystemStatus& status);
  // Tests: `memory` (borrowed) and the message pump the check uses.
  frmRamConfiguration(Shell& shell, frmSystemStatus& status, MemoryAccess& memory, LowMemoryCheck::Pump pump);
  ~frmRamConfiguration() override;

  // Reads the nine settings into the controls (or, before the window's first
  // show, keeps them for it) and refreshes the working values, the check
  // interval among them; leaves the window unchanged (not dirty).
  void LoadRamSettings();
  // The working values (levels, interval, gate, attempts) from the fields.
  void TakeWorkingValues();
  // Writes the nine settings from the controls; leaves the window unchanged.
  // Stores the nine values; what Windows refused is in the result, and the
  // window stays changed until everything is stored.
  SettingsSaveTally SaveRamSettings();
  // The changed flag, mirrored in the Save button's enabled state.
  void SetDirty(bool flag) noexcept;
  [[nodiscard]] bool Dirty() const noexcept { return dirty_; }

  // Whether optPer is selected (the status window reads it on every memory tick).
  [[nodiscard]] bool TrayTipInPercent() const noexcept;

  // Event handlers (also called by tests to drive the window).
  void Form_LoadState();
  void Form_LoadControls();
  void Form_Unload() noexcept;
  void cmdSave_Click();
  void chkAutomatic_Click() noexcept;
  void chkSoundon_Click() noexcept;
  void txtAlarm_Change() noexcept;
  void txtFreeAlarm_Change() noexcept;
  // The low-memory check; what it did is kept in LastCheck().
  void tmrAlarm_Timer() noexcept;
  // Plays "\low-memory.wav" when the last check armed the sound.
  void tmrSoundPlayer_Timer() noexcept;

  // Working values.
  [[nodiscard]] std::int64_t AlarmLevelMB() const noexcept { return alarmLevelMB_; }
  [[nodiscard]] std::int64_t FreeAmountMB() const noexcept { return freeAmountMB_; }
  [[nodiscard]] int RunOnlyBelowCpu() const noexcept { return check_.WorkingValues().runOnlyBelowCpu; }
  [[nodiscard]] int RetryCount() const noexcept { return check_.WorkingValues().retryCount; }
  [[nodiscard]] UINT CheckInterval() const noexcept { return checkInterval_; }
  [[nodiscard]] bool LowMemorySoundDue() const noexcept { return check_.LowMemorySoundDue(); }
  [[nodiscard]] const CheckReport& LastCheck() const noexcept { return lastCheck_; }
  // The arrows' values: the numbers in their fields, within their ranges.
  [[nodiscard]] int RunOnlyArrow() const noexcept { return runOnlyArrow_; }
  [[nodiscard]] int RetryArrow() const noexcept { return retryArrow_; }
  [[nodiscard]] HWND Control(RamConfigurationControl id) const noexcept { return Item(id); }

  void OnClick(int id);
  void OnChange(int id);
  void OnScroll(HWND arrows);
  void OnTimer(UINT_PTR id);

 private:
  // The CPU gate asks the status window's meter; -1 (a failed measurement)
  // while the status window has none.
  class StatusMeter final : public CpuUsageMeter {
   public:
    explicit StatusMeter(const frmSystemStatus& status) noexcept : status_(status) {}
    void Initialize() noexcept override {}
    [[nodiscard]] int Query() noexcept override;
    void Terminate() noexcept override {}

   private:
    const frmSystemStatus& status_;
  };
  // The controls the check reads live.
  class LiveControls final : public AlarmControls {
   public:
    explicit LiveControls(const frmRamConfiguration& form) noexcept : form_(form) {}
    [[nodiscard]] bool SoundOn() const override;
    [[nodiscard]] bool Automatic() const override;
    [[nodiscard]] std::int64_t FreeAmountMB() const override;

   private:
    [[nodiscard]] HWND Control(int id) const noexcept;
    const frmRamConfiguration& form_;
  };

  void CreateControlsOfWindow();
  void ReadStoredSettings();
  // The settings read last, on the controls.
  void ShowStoredSettings();
  void TakeStoredValues();
  void PutWorkingValuesToWork() noexcept;
  void ResetWorkingValues() noexcept;
  [[nodiscard]] bool StoredPercent() const noexcept;
  void ArrowFieldChanged(int id) noexcept;
  void StartCheckTimer() noexcept;
  // Sets a field's text back to `value`.
  void SetFieldNumber(int id, std::int64_t value) noexcept;

  frmSystemStatus& status_;
  std::unique_ptr<MemoryAccess> ownMemory_;
  MemoryAccess* memory_;
  StatusMeter meter_;
  LowMemoryCheck check_;
  LiveControls live_{*this};
  CheckReport lastCheck_;
  // The nine settings as read at the last load, in the order of kRamSettings.
  std::array<std::string, 9> stored_;

  std::int64_t alarmLevelMB_ = 0;
  std::int64_t freeAmountMB_ = 0;
  // The arrows start at the stored defaults.
  static constexpr int kFirstTimeCheck = 100;
  static constexpr int kFirstRunOnly = 2;
  static constexpr int kFirstRetry = 10;
  int timeCheckArrow_ = kFirstTimeCheck;
  int runOnlyArrow_ = kFirstRunOnly;
  int retryArrow_ = kFirstRetry;
  UINT checkInterval_ = 0;
  bool dirty_ = false;
};

}  // namespace tarvix
