#pragma once
// The low-memory check behind the RAM configuration window's check timer,
// free of any window: it compares free physical memory with the alarm
// level, arms the low-memory sound, and frees memory in a number of
// attempts while the processor is below the configured gate.
//
// Re-entry: the check serves pending window messages while it runs, so its
// own timer can fire again in the middle of it. Such a tick does not begin a
// second check: it is skipped whole (the sound flag stays as the running
// check sets it) and the running check finishes its attempts alone. So two
// checks never free at the same time.
#include <cstdint>
#include <functional>
#include <optional>

#include "memory/CpuUsage.h"
#include "memory/MemoryAccess.h"

namespace tarvix {

// The working values that loading the settings sets.
struct AlarmWorkingValues {
  std::int64_t alarmLevelMB = 0;  // MB; free memory below it is low
  int runOnlyBelowCpu = 0;        // CPU gate, percent; 0 = no gate
  int retryCount = 0;             // freeing attempts per check; 0 is taken as 1
};

// What the check reads live from the window's controls, at the moment it
// needs each of them.
class AlarmControls {
 public:
  [[nodiscard]] virtual bool SoundOn() const = 0;    // chkSoundon checked
  [[nodiscard]] virtual bool Automatic() const = 0;  // chkAutomatic checked
  // The integer value of txtFreeAlarm's text, MB per attempt.
  [[nodiscard]] virtual std::int64_t FreeAmountMB() const = 0;

 protected:
  ~AlarmControls() = default;
};

// What one tick of the check did.
struct CheckReport {
  bool started = false;             // false: a previous check was still running
  bool soundDue = false;            // the low-memory sound is armed
  bool belowAlarm = false;          // automatic freeing on and free memory below the level
  std::optional<int> cpuUsage;      // the meter's answer, when the gate asked it
  int attempts = 0;                 // FreeUpMemory calls made
  std::int64_t claimed = 0;         // characters claimed over all attempts
  bool freeingFailed = false;       // an attempt failed; the rest were dropped
};

class LowMemoryCheck {
 public:
  // Serves pending window messages `passes` times.
  using Pump = std::function<void(int passes)>;

  // `memory` and `meter` are borrowed and must outlive the check; an empty
  // pump serves the thread's real message queue.
  LowMemoryCheck(MemoryAccess& memory, CpuUsageMeter& meter, Pump pump = {});

  void SetWorkingValues(const AlarmWorkingValues& values) noexcept { values_ = values; }
  [[nodiscard]] const AlarmWorkingValues& WorkingValues() const noexcept { return values_; }

  // Set by every check that starts, read by the sound timer. A check arms
  // the sound when the sound is on and free memory is below the alarm level.
  [[nodiscard]] bool LowMemorySoundDue() const noexcept { return soundDue_; }
  // True while a check is between its start and its end.
  [[nodiscard]] bool Running() const noexcept { return running_; }

  // One tick. Automatic freeing acts when free memory is below the alarm
  // level: after serving messages it asks the meter once (also with gate 0)
  // and, when the gate is 0 or above the answer (-1, a failed measurement,
  // passes every gate), frees FreeAmountMB() MB in RetryCount attempts. An
  // attempt that cannot claim even half of its amount ends the check's
  // freeing; the next check tries again.
  CheckReport Run(const AlarmControls& controls);

 private:
  void Serve(int passes);

  MemoryAccess& memory_;
  CpuUsageMeter& meter_;
  Pump pump_;
  AlarmWorkingValues values_;
  bool soundDue_ = false;
  bool running_ = false;
};

}  // namespace tarvix
