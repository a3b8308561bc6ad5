#include "pinger/KeepAliveSchedule.h"

#include <utility>

#include "base/AppPaths.h"
#include "base/Platform.h"
#include "pinger/Ping.h"

namespace tarvix {

KeepAliveSchedule::KeepAliveSchedule(SoundOption soundOn) : soundOn_(std::move(soundOn)), ping_(&PingHost) {}

void KeepAliveSchedule::Configure(const PingTarget& target) {
  host_ = target.host;
  periodTicks_ = static_cast<std::int16_t>(target.intervalIndex + 1);
}

bool KeepAliveSchedule::Tick() {
  if (ticksSinceLastPing_ < periodTicks_ - 1) {
    ++ticksSinceLastPing_;
    return false;
  }
  ticksSinceLastPing_ = 0;
  static_cast<void>(Ping());  // a keep-alive ping only has to go out
  PlaySoundIfWanted();
  return true;
}

bool KeepAliveSchedule::PingNow() {
  const bool answered = Ping();
  if (answered) PlaySoundIfWanted();
  return answered;
}

void KeepAliveSchedule::SetPingFunction(PingFunction ping) {
  ping_ = ping ? std::move(ping) : PingFunction(&PingHost);
}

bool KeepAliveSchedule::Ping() const {
  // A copy: the ping serves window messages, and a handler may replace host_.
  const std::string host = host_;
  return ping_(host, kPingTimeoutMs);
}

void KeepAliveSchedule::PlaySoundIfWanted() const {
  if (soundOn_ && soundOn_()) CurrentPlatform().PlaySoundFile(AppFile("\\Ping.wav"));
}

}  // namespace tarvix
