// The keep-alive schedule without a window: ticks, period, pings and sound.
// Pings go to a recording stand-in, or for real to 127.0.0.1 and localhost
// only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/AppPaths.h"
#include "pinger/KeepAliveSchedule.h"
#include "support/FakePlatform.h"

namespace tarvix {
namespace {

using testing::FakePlatform;

struct PingCall {
  std::string host;
  DWORD timeout;
};

struct ScheduleTest : ::testing::Test {
  FakePlatform platform;
  bool soundOption = false;
  bool answer = true;
  std::vector<PingCall> pings;
  KeepAliveSchedule schedule{[this] { return soundOption; }};

  void SetUp() override {
    schedule.SetPingFunction([this](std::string_view host, DWORD timeout) {
      pings.push_back({std::string(host), timeout});
      return answer;
    });
  }

  // Runs `count` ticks and returns the 1-based numbers of those that pinged.
  std::vector<int> TicksThatPinged(int count) {
    std::vector<int> pinged;
    for (int tick = 1; tick <= count; ++tick) {
      const std::size_t before = pings.size();
      const bool reported = schedule.Tick();
      EXPECT_EQ(reported, pings.size() == before + 1) << "tick " << tick;
      if (reported) pinged.push_back(tick);
    }
    return pinged;
  }
  std::vector<std::string> PingWavs(std::size_t count) const {
    return std::vector<std::string>(count, AppFile("\\Ping.wav"));
  }
};

TEST_F(ScheduleTest, StartsOnTheDefaultHostEverySixthTick) {
  EXPECT_EQ(schedule.CurrentPingHost(), kDefaultPingHost);
  EXPECT_EQ(schedule.PingPeriodTicks(), 6);
  EXPECT_EQ(schedule.TicksSinceLastPing(), 0);
  EXPECT_EQ(TicksThatPinged(18), (std::vector<int>{6, 12, 18}));
  ASSERT_EQ(pings.size(), 3u);
  for (const auto& ping : pings) {
    EXPECT_EQ(ping.host, kDefaultPingHost);
    EXPECT_EQ(ping.timeout, 10000u);
  }
}

TEST_F(ScheduleTest, FirstPingComesAfterPingPeriodTicks) {
  schedule.Configure({"127.0.0.1", 2});
  EXPECT_EQ(schedule.PingPeriodTicks(), 3);
  EXPECT_FALSE(schedule.Tick());
  EXPECT_EQ(schedule.TicksSinceLastPing(), 1);
  EXPECT_FALSE(schedule.Tick());
  EXPECT_EQ(schedule.TicksSinceLastPing(), 2);
  EXPECT_TRUE(schedule.Tick());
  EXPECT_EQ(schedule.TicksSinceLastPing(), 0);
  ASSERT_EQ(pings.size(), 1u);
  EXPECT_EQ(pings[0].host, "127.0.0.1");
}

TEST_F(ScheduleTest, FirstEntryPingsOnEveryTick) {
  schedule.Configure({"localhost", 0});
  EXPECT_EQ(schedule.PingPeriodTicks(), 1);
  EXPECT_EQ(TicksThatPinged(5), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(schedule.TicksSinceLastPing(), 0);
}

TEST_F(ScheduleTest, LastEntryPingsOnEverySixtiethTick) {
  schedule.Configure({"localhost", kPingIntervalEntries - 1});
  EXPECT_EQ(schedule.PingPeriodTicks(), 60);
  EXPECT_EQ(TicksThatPinged(180), (std::vector<int>{60, 120, 180}));
}

TEST_F(ScheduleTest, ConfiguringKeepsTheTickCount) {
  schedule.Configure({"127.0.0.1", 9});  // every 10th tick
  EXPECT_EQ(TicksThatPinged(4), std::vector<int>{});
  schedule.Configure({"localhost", 5});   // a save: every 6th from now on
  EXPECT_EQ(schedule.TicksSinceLastPing(), 4);
  EXPECT_EQ(TicksThatPinged(2), std::vector<int>{2});
  ASSERT_EQ(pings.size(), 1u);
  EXPECT_EQ(pings[0].host, "localhost");
  // A shorter period than the ticks already counted pings on the next tick.
  EXPECT_EQ(TicksThatPinged(3), std::vector<int>{});
  schedule.Configure({"localhost", 0});
  EXPECT_EQ(TicksThatPinged(1), std::vector<int>{1});
}

TEST_F(ScheduleTest, ScheduledPingsPlayTheSoundWhateverTheAnswer) {
  schedule.Configure({"localhost", 0});
  soundOption = true;
  answer = true;
  EXPECT_TRUE(schedule.Tick());
  answer = false;
  EXPECT_TRUE(schedule.Tick());
  EXPECT_EQ(platform.playedSounds, PingWavs(2));
  soundOption = false;
  EXPECT_TRUE(schedule.Tick());
  EXPECT_EQ(platform.playedSounds.size(), 2u);
}

TEST_F(ScheduleTest, TicksWithoutAPingAreSilent) {
  soundOption = true;
  EXPECT_EQ(TicksThatPinged(5), std::vector<int>{});
  EXPECT_TRUE(platform.playedSounds.empty());
}

TEST_F(ScheduleTest, SoundOptionIsReadAfterThePing) {
  // The option is live: ticking it while a ping waits makes that ping sound.
  schedule.Configure({"localhost", 0});
  schedule.SetPingFunction([this](std::string_view, DWORD) {
    soundOption = !soundOption;
    return false;
  });
  EXPECT_TRUE(schedule.Tick());
  EXPECT_EQ(platform.playedSounds, PingWavs(1));
  EXPECT_TRUE(schedule.Tick());
  EXPECT_EQ(platform.playedSounds, PingWavs(1));
}

TEST_F(ScheduleTest, PingNowSoundsOnlyWhenAnswered) {
  schedule.Configure({"127.0.0.1", 5});
  soundOption = true;
  answer = false;
  EXPECT_FALSE(schedule.PingNow());
  EXPECT_TRUE(platform.playedSounds.empty());
  answer = true;
  EXPECT_TRUE(schedule.PingNow());
  EXPECT_EQ(platform.playedSounds, PingWavs(1));
  soundOption = false;
  EXPECT_TRUE(schedule.PingNow());
  EXPECT_EQ(platform.playedSounds, PingWavs(1));
  ASSERT_EQ(pings.size(), 3u);
  EXPECT_EQ(pings[2].host, "127.0.0.1");
  EXPECT_EQ(pings[2].timeout, 10000u);
}

TEST_F(ScheduleTest, PingNowLeavesTheTickCountAlone) {
  EXPECT_EQ(TicksThatPinged(3), std::vector<int>{});
  EXPECT_TRUE(schedule.PingNow());
  EXPECT_EQ(schedule.TicksSinceLastPing(), 3);
  EXPECT_EQ(TicksThatPinged(3), std::vector<int>{3});
}

TEST_F(ScheduleTest, AutomaticTargetIsTheDefaultHostEverySixTicks) {
  PingerSettings settings;
  settings.automatic = true;
  settings.host = "Automatic";
  settings.intervalIndex = 0;
  EXPECT_EQ(TargetOf(settings), (PingTarget{std::string(kDefaultPingHost), 5}));
  settings.automatic = false;
  settings.host = "127.0.0.1";
  EXPECT_EQ(TargetOf(settings), (PingTarget{"127.0.0.1", 0}));
  schedule.Configure(TargetOf(settings));
  EXPECT_EQ(schedule.CurrentPingHost(), "127.0.0.1");
  EXPECT_EQ(schedule.PingPeriodTicks(), 1);
}

TEST(IntervalList, EntriesReadOneToSixtyMinutes) {
  EXPECT_EQ(PingIntervalEntryText(0), "1 min.");
  EXPECT_EQ(PingIntervalEntryText(5), "6 min.");
  EXPECT_EQ(PingIntervalEntryText(kPingIntervalEntries - 1), "60 min.");
  EXPECT_EQ(kPingerTickMs, 65535u);
}

// The real ping behind the schedule, to loopback only.
TEST(ScheduleLoopback, SchedulePingsForReal) {
  FakePlatform platform;
  bool sound = true;
  KeepAliveSchedule schedule([&] { return sound; });
  schedule.Configure({"127.0.0.1", 0});
  EXPECT_TRUE(schedule.PingNow());
  EXPECT_TRUE(schedule.Tick());
  schedule.Configure({"localhost", 0});
  EXPECT_TRUE(schedule.PingNow());
  EXPECT_EQ(platform.playedSounds.size(), 3u);

  // A name that cannot resolve is never answered: Ping Now stays silent.
  schedule.Configure({"no-such-host.invalid", 0});
  EXPECT_FALSE(schedule.PingNow());
  EXPECT_EQ(platform.playedSounds.size(), 3u);
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace tarvix
