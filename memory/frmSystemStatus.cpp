#include "memory/frmSystemStatus.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "base/OsDetect.h"
#include "ui/MessagePump.h"
#include "memory/StatusTexts.h"
#include "memory/frmRamConfiguration.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"
#include "ui/Handles.h"

namespace tarvix {
namespace {

constexpr UINT_PTR kCpuTimerId = 1;
constexpr UINT_PTR kMemoryTimerId = 2;
constexpr UINT kStartInterval = 300;  // ms, both timers, until a speed slider is clicked

// Passes of the message pump before and after Optimize Now frees memory.
constexpr int kOptimizePumpPasses = 6;

struct SliderSetup {
  int id;
  int minimum, maximum;
  int lineSize, pageSize;
  int tickEvery;
};
constexpr SliderSetup kSpeedAndZoom[] = {
    {IDC_sldCPUSpeed, 300, 1000, 1, 5, 100},
    {IDC_sldCPUZoom, 30, 100, 1, 5, 10},
    {IDC_sldMemorySpeed, 300, 1000, 1, 5, 100},
    {IDC_sldMemoryZoom, 30, 100, 2, 5, 10},
};

// The graphs' stored settings.
constexpr int kStartMaxLines = 30;
constexpr COLORREF kStartNewColor = RGB(0, 255, 0);

// Two graph columns, each a frame with its graph above a Speed and a Zoom
// slider, and the freeing controls below them, Optimize Now at the bottom
// right. The title frame 8 pixels from the edges, everything inside a frame
// 12 pixels in (child area 440 x 255).
constexpr ControlSpec kControls[] = {
    {ControlKind::Frame, IDC_frameMemoryStatus, "System Status", 8, 8, 424, 239},
    {ControlKind::Frame, IDC_frameCPUUsage, "Processor usage", 20, 28, 196, 140},
    {ControlKind::Label, IDC_lblCPUSpeed, "Speed", 32, 120, 84, 16},
    {ControlKind::Slider, IDC_sldCPUSpeed, "", 32, 136, 84, 28},
    {ControlKind::Label, IDC_lblCPUZoom, "Zoom", 120, 120, 84, 16},
    {ControlKind::Slider, IDC_sldCPUZoom, "", 120, 136, 84, 28},
    {ControlKind::Frame, IDC_fameMemoryUsage, "Memory usage", 224, 28, 196, 140},
    {ControlKind::Label, IDC_lblMemorySpeed, "Speed", 236, 120, 84, 16},
    {ControlKind::Slider, IDC_sldMemorySpeed, "", 236, 136, 84, 28},
    {ControlKind::Label, IDC_lblMemoryZoom, "Zoom", 324, 120, 84, 16},
    {ControlKind::Slider, IDC_sldMemoryZoom, "", 324, 136, 84, 28},
    {ControlKind::Frame, IDC_frameMemoryControl, "Memory Control", 20, 172, 400, 67},
    {ControlKind::Slider, IDC_sldFreeMomoryReq, "", 32, 192, 236, 28},
    {ControlKind::Label, IDC_lblTargetMemoryNeeded, "Target Level Of RAM ", 32, 220, 236, 16},
    {ControlKind::Button, IDC_cmdOptimaize, "Optimize Now", 280, 203, 128, 28},
};
struct GraphPlace {
  int id;
  int x, y, width, height;
};
constexpr GraphPlace kCpuGraph{IDC_histCPU, 32, 48, 172, 68};
constexpr GraphPlace kMemoryGraph{IDC_histMemory, 236, 48, 172, 68};

// Runs one step of a tick handler: a step that fails is skipped and the next one runs.
template <typename Step>
void RunStep(Step&& step) noexcept {
  try {
    std::forward<Step>(step)();
  } catch (...) {
  }
}

[[nodiscard]] int SliderValue(HWND slider) noexcept {
  return static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
}

void SetupSlider(HWND slider, const SliderSetup& setup) noexcept {
  SendMessageA(slider, TBM_SETRANGEMIN, FALSE, setup.minimum);
  SendMessageA(slider, TBM_SETRANGEMAX, FALSE, setup.maximum);
  SendMessageA(slider, TBM_SETLINESIZE, 0, setup.lineSize);
  SendMessageA(slider, TBM_SETPAGESIZE, 0, setup.pageSize);
  SendMessageA(slider, TBM_SETTICFREQ, static_cast<WPARAM>(setup.tickEvery), 0);
  SendMessageA(slider, TBM_SETPOS, TRUE, setup.minimum);
}

// The freeing slider moves this many MB a page (Page Up/Down, a click beside the thumb).
constexpr int kFreeSliderPageMB = 64;

// At most a dozen ticks over the range, on a round number of MB.
[[nodiscard]] int FreeSliderTickEvery(std::int64_t totalMB) noexcept {
  for (const int step : {64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384}) {
    if (totalMB / step <= 12) return step;
  }
  return 32768;
}

}  // namespace

frmSystemStatus::frmSystemStatus(Shell& shell)
    : ToolWindowBase(shell),
      ownMemory_(std::make_unique<SystemMemory>()),
      fmem_(ownMemory_.get()),
      makeMeter_([] { return CreateCpuUsageMeter(IsNtPlatform()); }) {}

frmSystemStatus::frmSystemStatus(Shell& shell, MemoryAccess& memory, MeterFactory makeMeter)
    : ToolWindowBase(shell), fmem_(&memory), makeMeter_(std::move(makeMeter)) {}

frmSystemStatus::~frmSystemStatus() { Unload(); }

void frmSystemStatus::CreateControlsOfWindow(bool frames) {
  for (const ControlSpec& row : kControls) {
    if ((row.kind == ControlKind::Frame) == frames) static_cast<void>(CreateControl(hwnd(), row));
  }
}

void frmSystemStatus::CreateGraphs() {
  const std::pair<Histogram*, GraphPlace> graphs[] = {{&histCPU_, kCpuGraph}, {&histMemory_, kMemoryGraph}};
  const int dpi = WindowDpi(hwnd());
  for (const auto& [graph, place] : graphs) {
    const RECT box = ScaleBoxForDpi(place.x, place.y, place.width, place.height, dpi);
    if (!graph->Create(hwnd(), place.id, box.left, box.top, box.right - box.left, box.bottom - box.top)) continue;
    graph->SetMaxLines(kStartMaxLines);
    graph->SetNewColor(kStartNewColor);
    graph->SetUnit("%");
  }
}

// The freeing slider's tip is seen only on a shown window: its tooltip
// control is made the first time the window is shown, with the tip the
// slider has by then.
void frmSystemStatus::CreateToolTip() noexcept {
  if (toolTips_ || hwnd() == nullptr) return;
  toolTips_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
  if (toolTips_) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(IDC_sldFreeMomoryReq));
    tool.lpszText = freeSliderTip_.data();
    SendMessageA(toolTips_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// From start-up: the frames, whose captions the ticks keep current, the
// graphs, which keep their samples, the meter and the timers.
void frmSystemStatus::Form_LoadState() {
  CreateControlsOfWindow(true);
  CreateGraphs();
  queryObject_ = makeMeter_ ? makeMeter_() : nullptr;
  if (queryObject_) queryObject_->Initialize();
  totalPhysicalMB_ = MegabytesOf(fmem_->GetTotalPhysical());
  cpuInterval_ = kStartInterval;
  memoryInterval_ = kStartInterval;
  ArmTimers();
}

// On the first show: the sliders, their labels and Optimize Now.
void frmSystemStatus::Form_LoadControls() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  CreateControlsOfWindow(false);
  for (const SliderSetup& setup : kSpeedAndZoom) SetupSlider(Item(setup.id), setup);
  SkinSelf();
  SetupFreeAmountSlider();
  sldFreeMomoryReq_Change();
}

void frmSystemStatus::ArmTimers() noexcept {
  // While both speeds are equal, as they are from start-up until a speed
  // slider moves, one timer runs both ticks: half the timer messages for the
  // same work.
  SetTimer(hwnd(), kCpuTimerId, cpuInterval_, nullptr);
  if (cpuInterval_ == memoryInterval_) {
    KillTimer(hwnd(), kMemoryTimerId);
  } else {
    SetTimer(hwnd(), kMemoryTimerId, memoryInterval_, nullptr);
  }
}

void frmSystemStatus::Form_Unload() noexcept {
  KillTimer(hwnd(), kCpuTimerId);
  KillTimer(hwnd(), kMemoryTimerId);
  toolTips_.reset();
}

void frmSystemStatus::SetupFreeAmountSlider() noexcept {
  const HWND slider = Item(IDC_sldFreeMomoryReq);
  // A trackbar position is 32 bits; no machine comes near 2^31 MB.
  const auto maximum = static_cast<LPARAM>(std::min<std::int64_t>(totalPhysicalMB_, INT_MAX));
  SendMessageA(slider, TBM_SETRANGEMIN, FALSE, 0);
  SendMessageA(slider, TBM_SETRANGEMAX, TRUE, maximum);
  SendMessageA(slider, TBM_SETPAGESIZE, 0, kFreeSliderPageMB);
  SendMessageA(slider, TBM_SETTICFREQ, static_cast<WPARAM>(FreeSliderTickEvery(totalPhysicalMB_)), 0);
}

void frmSystemStatus::sldFreeMomoryReq_Change() noexcept {
  const int megabytes = SliderValue(Item(IDC_sldFreeMomoryReq));
  RunStep([&] {
    freeSliderTip_ = tarvix::FreeSliderToolTip(megabytes);
    if (!toolTips_) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(IDC_sldFreeMomoryReq));
    tool.lpszText = freeSliderTip_.data();
    SendMessageA(toolTips_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  });
  RunStep([&] { SetWindowTextTo(Item(IDC_lblTargetMemoryNeeded), TargetLevelText(megabytes)); });
}

void frmSystemStatus::SetTimerInterval(UINT& interval, int sliderValue) noexcept {
  interval = static_cast<UINT>(std::max(TimerIntervalForSpeed(sliderValue), 1));
  ArmTimers();
}

void frmSystemStatus::sldCPUSpeed_Click() noexcept {
  SetTimerInterval(cpuInterval_, SliderValue(Item(IDC_sldCPUSpeed)));
}

void frmSystemStatus::sldMemorySpeed_Click() noexcept {
  SetTimerInterval(memoryInterval_, SliderValue(Item(IDC_sldMemorySpeed)));
}

void frmSystemStatus::sldCPUZoom_Click() noexcept { histCPU_.SetMaxLines(SliderValue(Item(IDC_sldCPUZoom))); }

void frmSystemStatus::sldMemoryZoom_Click() noexcept {
  histMemory_.SetMaxLines(SliderValue(Item(IDC_sldMemoryZoom)));
}

void frmSystemStatus::tmrCPU_Timer() noexcept {
  RunStep([&] {
    if (queryObject_) histCPU_.SetValue(queryObject_->Query());
  });
  RunStep([&] { SetFrameCaption(IDC_frameCPUUsage, cpuCaption_, CpuUsageCaption(histCPU_.Value())); });
}

void frmSystemStatus::SetFrameCaption(int id, std::string& shown, const std::string& caption) {
  if (shown == caption) return;
  const HWND frame = Item(id);
  if (frame != nullptr && !IsWindowVisible(frame)) {
    // Hidden, the frame only keeps its text, as a skinned one does: the
    // system's group box would also ask for a repaint on every tick, which
    // comes to nothing until the window is shown and painted whole.
    DefWindowProcA(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  } else {
    SetWindowTextTo(frame, caption);
  }
  shown = caption;
}

bool frmSystemStatus::TrayTipInPercent() const noexcept { return ram_ != nullptr && ram_->TrayTipInPercent(); }

void frmSystemStatus::tmrMemory_Timer() noexcept {
  RunStep([&] { freePhysicalMB_ = MegabytesOf(fmem_->GetFreePhysical()); });
  RunStep([&] {
    // Without a total (a division by zero) no sample is added.
    if (const auto share = FreeSharePercent(freePhysicalMB_, totalPhysicalMB_)) histMemory_.SetValue(*share);
  });
  RunStep([&] { SetFrameCaption(IDC_fameMemoryUsage, memoryCaption_, MemoryPercentText(histMemory_.Value())); });
  RunStep([&] {
    shell().SetTrayToolTip(TrayTipInPercent() ? MemoryPercentText(histMemory_.Value())
                                              : MemoryMegabytesText(freePhysicalMB_));
  });
}

void frmSystemStatus::cmdOptimaize_Click() noexcept {
  // A click served by the pumps below while memory is being freed does not start a second freeing.
  if (optimizing_) return;
  optimizing_ = true;
  ProcessPendingMessages(kOptimizePumpPasses);
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  const std::int64_t megabytes = SliderValue(Item(IDC_sldFreeMomoryReq));
  // The result is not used: a smaller or failed claim still freed what it could.
  static_cast<void>(fmem_->FreeUpMemory(megabytes * kBytesPerMB));
  optimizing_ = false;
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  ProcessPendingMessages(kOptimizePumpPasses);
}

void frmSystemStatus::OnScroll(HWND slider) noexcept {
  switch (GetDlgCtrlID(slider)) {
    case IDC_sldCPUSpeed: sldCPUSpeed_Click(); break;
    case IDC_sldMemorySpeed: sldMemorySpeed_Click(); break;
    case IDC_sldCPUZoom: sldCPUZoom_Click(); break;
    case IDC_sldMemoryZoom: sldMemoryZoom_Click(); break;
    case IDC_sldFreeMomoryReq: sldFreeMomoryReq_Change(); break;
    default: break;
  }
}

void frmSystemStatus::OnTimer(UINT_PTR id) {
  if (id == kCpuTimerId) tmrCPU_Timer();
  if (id == kMemoryTimerId || (id == kCpuTimerId && cpuInterval_ == memoryInterval_)) tmrMemory_Timer();
}

void frmSystemStatus::OnClick(int id) {
  if (id == IDC_cmdOptimaize) cmdOptimaize_Click();
}

bool frmSystemStatus::OnOtherMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& result) {
  if (message == WM_SHOWWINDOW && wParam != FALSE) {
    CreateToolTip();
    return false;
  }
  // The hourglass over the whole window, its controls too, while memory is freed.
  if (message != WM_SETCURSOR || !optimizing_) return false;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  result = TRUE;
  return true;
}

}  // namespace tarvix
