#pragma once
// The system status window: live graphs of processor usage and of free
// physical memory, each with its own sampling speed and zoom, and a one-click
// "Optimize Now" that frees a chosen number of megabytes. Its memory timer
// also keeps the notification icon's tool tip up to date. It owns the
// process's one CPU meter, QueryObject, which the low-memory check of the
// RAM configuration window queries too.
//
// Construction and loading, in this order (the status window outlives the
// RAM configuration window):
//   frmSystemStatus status(shell);
//   frmRamConfiguration ram(shell, status);   // registers itself: the tool tip follows its optPer
//   status.Load();                            // creates QueryObject
//   ram.Load();                               // its check queries status.QueryObject()
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/ToolWindow.h"
#include "memory/CpuUsage.h"
#include "memory/Histogram.h"
#include "memory/MemoryAccess.h"

namespace tarvix {

class frmRamConfiguration;

// The controls of the status window, named after them.
enum SystemStatusControl : int {
  IDC_frameMemoryStatus = 1101,
  IDC_frameCPUUsage,
  IDC_histCPU,
  IDC_lblCPUSpeed,
  IDC_sldCPUSpeed,
  IDC_lblCPUZoom,
  IDC_sldCPUZoom,
  IDC_fameMemoryUsage,
  IDC_histMemory,
  IDC_lblMemorySpeed,
  IDC_sldMemorySpeed,
  IDC_lblMemoryZoom,
  IDC_sldMemoryZoom,
  IDC_frameMemoryControl,
  IDC_sldFreeMomoryReq,
  IDC_lblTargetMemoryNeeded,
  IDC_cmdOptimaize,
};

class frmSystemStatus final : public ToolWindowBase<frmSystemStatus> {
 public:
  static const char* ClassName() noexcept { return "TarvixSystemStatus"; }
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 255;
  // The window text, which screen readers and automation announce.
  static constexpr const char* kCaption = "System Status";

  // Makes the CPU meter at load: clsCPUUsageNT on the NT platform, else clsCPUUsage.
  using MeterFactory = std::function<std::unique_ptr<CpuUsageMeter>()>;

  // The program's own: the machine's memory, the meter of the running family.
  explicit frmSystemStatus(Shell& shell);
  // Tests: `memory` (borrowed, outlives the window) and the meter to make at load.
  frmSystemStatus(Shell& shell, MemoryAccess& memory, MeterFactory makeMeter);
  ~frmSystemStatus() override;

  // The RAM configuration window whose optPer chooses percent or MB for the
  // tool tip; null (or not loaded) means MB. Set by that window itself.
  void SetRamConfiguration(const frmRamConfiguration* ram) noexcept { ram_ = ram; }
  // Forgets `ram` if it is the one set (that window is going away).
  void ForgetRamConfiguration(const frmRamConfiguration* ram) noexcept {
    if (ram_ == ram) ram_ = nullptr;
  }

  // The process's one CPU meter; null until the window has loaded.
  [[nodiscard]] CpuUsageMeter* QueryObject() const noexcept { return queryObject_.get(); }

  // Event handlers (also called by tests to drive the window).
  void Form_LoadState();
  void Form_LoadControls();
  void Form_Unload() noexcept;
  void tmrCPU_Timer() noexcept;
  void tmrMemory_Timer() noexcept;
  void cmdOptimaize_Click() noexcept;
  void sldCPUSpeed_Click() noexcept;
  void sldMemorySpeed_Click() noexcept;
  void sldCPUZoom_Click() noexcept;
  void sldMemoryZoom_Click() noexcept;
  void sldFreeMomoryReq_Change() noexcept;
  // Sets the freeing slider's range, 0 to TotalPhysicalMB as read at load.
  void SetupFreeAmountSlider() noexcept;

  // What tests look at.
  [[nodiscard]] HWND Control(SystemStatusControl id) const noexcept { return Item(id); }
  [[nodiscard]] std::int64_t TotalPhysicalMB() const noexcept { return totalPhysicalMB_; }
  [[nodiscard]] std::int64_t FreePhysicalMB() const noexcept { return freePhysicalMB_; }
  [[nodiscard]] const Histogram& histCPU() const noexcept { return histCPU_; }
  [[nodiscard]] const Histogram& histMemory() const noexcept { return histMemory_; }
  [[nodiscard]] UINT CpuInterval() const noexcept { return cpuInterval_; }
  [[nodiscard]] UINT MemoryInterval() const noexcept { return memoryInterval_; }
  [[nodiscard]] const std::string& FreeSliderToolTip() const noexcept { return freeSliderTip_; }
  // True while Optimize Now is freeing memory.
  [[nodiscard]] bool Optimizing() const noexcept { return optimizing_; }

  void OnClick(int id);
  void OnScroll(HWND slider) noexcept;
  void OnTimer(UINT_PTR id);
  bool OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  // The frames, or every control but the frames and the graphs.
  void CreateControlsOfWindow(bool frames);
  void CreateGraphs();
  void CreateToolTip() noexcept;
  void SetTimerInterval(UINT& interval, int sliderValue) noexcept;
  void ArmTimers() noexcept;
  [[nodiscard]] bool TrayTipInPercent() const noexcept;
  // Sets a frame's caption when `caption` differs from `shown`, the text it
  // was last given.
  void SetFrameCaption(int id, std::string& shown, const std::string& caption);

  std::unique_ptr<MemoryAccess> ownMemory_;
  MemoryAccess* fmem_;
  MeterFactory makeMeter_;
  std::unique_ptr<CpuUsageMeter> queryObject_;
  const frmRamConfiguration* ram_ = nullptr;

  Histogram histCPU_;
  Histogram histMemory_;
  UniqueWindow toolTips_;
  std::string freeSliderTip_;

  std::int64_t totalPhysicalMB_ = 0;
  std::int64_t freePhysicalMB_ = 0;
  UINT cpuInterval_ = 0;
  UINT memoryInterval_ = 0;
  bool optimizing_ = false;
  std::string cpuCaption_;
  std::string memoryCaption_;
};

}  // namespace tarvix
