#include "memory/LowMemoryCheck.h"

#include <utility>

#include "ui/MessagePump.h"
#include "memory/StatusTexts.h"

namespace tarvix {
namespace {

// Passes of the message pump before asking the meter, and around each attempt.
constexpr int kCheckPumpPasses = 14;

[[nodiscard]] double FreeMegabytes(MemoryAccess& memory) noexcept {
  return static_cast<double>(memory.GetFreePhysical()) / static_cast<double>(kBytesPerMB);
}

// Clears the running flag however the check ends.
class RunningScope {
 public:
  explicit RunningScope(bool& flag) noexcept : flag_(flag) { flag_ = true; }
  ~RunningScope() { flag_ = false; }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

LowMemoryCheck::LowMemoryCheck(MemoryAccess& memory, CpuUsageMeter& meter, Pump pump)
    : memory_(memory), meter_(meter), pump_(std::move(pump)) {}

void LowMemoryCheck::Serve(int passes) {
  if (pump_) {
    pump_(passes);
  } else {
    ProcessPendingMessages(passes);
  }
}

CheckReport LowMemoryCheck::Run(const AlarmControls& controls) {
  CheckReport report;
  if (running_) return report;
  const RunningScope running(running_);
  report.started = true;

  const auto alarmLevel = static_cast<double>(values_.alarmLevelMB);
  soundDue_ = controls.SoundOn() && FreeMegabytes(memory_) < alarmLevel;
  report.soundDue = soundDue_;

  if (!controls.Automatic() || !(FreeMegabytes(memory_) < alarmLevel)) return report;
  report.belowAlarm = true;
  Serve(kCheckPumpPasses);
  const std::int64_t amount = controls.FreeAmountMB() * kBytesPerMB;
  const int usage = meter_.Query();
  report.cpuUsage = usage;
  if (values_.runOnlyBelowCpu != 0 && values_.runOnlyBelowCpu <= usage) return report;
  if (values_.retryCount == 0) values_.retryCount = 1;
  // Taken now: a load during the attempts' message passes changes the next check, not this one.
  const int attempts = values_.retryCount;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    Serve(kCheckPumpPasses);
    const FreeUpResult result = memory_.FreeUpMemory(amount);
    ++report.attempts;
    report.claimed += result.claimed;
    if (!result.succeeded()) {
      report.freeingFailed = true;
      break;
    }
    Serve(kCheckPumpPasses);
  }
  return report;
}

}  // namespace tarvix
