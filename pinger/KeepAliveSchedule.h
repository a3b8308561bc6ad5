#pragma once
// The keep-alive schedule behind the pinger window, without the window: it
// counts the timer's ticks, pings the saved host every PingPeriodTicks ticks
// and on Ping Now, and plays "\Ping.wav" afterwards when the sound option is
// on. Pings go through a replaceable function, PingHost by default.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "pinger/PingerSettings.h"

namespace tarvix {

class KeepAliveSchedule {
 public:
  // One echo to `host`; true when it was answered.
  using PingFunction = std::function<bool(std::string_view host, DWORD timeoutMs)>;
  // The sound option as it is at this moment (it is read after each ping).
  using SoundOption = std::function<bool()>;

  explicit KeepAliveSchedule(SoundOption soundOn);

  // Takes the host and interval that a load or a save settled on. The tick
  // count goes on: a save does not restart the wait for the next ping.
  void Configure(const PingTarget& target);

  // One tick of the timer: pings when PingPeriodTicks ticks have passed since
  // the last ping (or since the start), and then plays the sound when the
  // option is on, whatever the answer. True when it pinged.
  bool Tick();
  // Pings at once without touching the tick count; plays the sound only when
  // the host answered and the option is on. Returns the answer.
  bool PingNow();

  [[nodiscard]] const std::string& CurrentPingHost() const noexcept { return host_; }
  [[nodiscard]] std::int16_t PingPeriodTicks() const noexcept { return periodTicks_; }
  [[nodiscard]] std::int16_t TicksSinceLastPing() const noexcept { return ticksSinceLastPing_; }

  // Replaces PingHost (tests); an empty function restores it.
  void SetPingFunction(PingFunction ping);

 private:
  bool Ping() const;
  void PlaySoundIfWanted() const;

  SoundOption soundOn_;
  PingFunction ping_;
  std::string host_ = std::string(kDefaultPingHost);
  std::int16_t periodTicks_ = kAutomaticIntervalIndex + 1;
  std::int16_t ticksSinceLastPing_ = 0;
};

}  // namespace tarvix
