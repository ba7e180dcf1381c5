// TickPump: one tick per interval of the monotonic clock, however late the window timer wakes it.
#include <gtest/gtest.h>

#include "support/fakes.h"
#include "timing/tick_pump.h"

namespace tkd {
namespace {

TEST(TickPump, CountsEveryIntervalFromTheMomentItWasEnabled) {
  testing::FakeClock clock;
  clock.monotonicMs = 5'000'250;
  TickPump pump(clock);
  int ticks = 0;
  auto tick = [&] { ++ticks; return true; };
  EXPECT_EQ(pump.RunDue(tick), 0);  // a stopped pump runs nothing
  pump.SetEnabled(true);
  // Wake-ups: early, on time, three seconds late (a held-up thread), early again.
  const struct { std::uint64_t atMs; int due; std::uint32_t nextInMs; } wakes[] = {
      {999, 0, 1}, {1000, 1, 1000}, {4100, 3, 900}, {4999, 0, 1}, {5000, 1, 1000},
  };
  for (const auto& w : wakes) {
    clock.monotonicMs = 5'000'250 + w.atMs;
    EXPECT_EQ(pump.RunDue(tick), w.due) << w.atMs;
    EXPECT_EQ(pump.MsUntilNextTick(), w.nextInMs) << w.atMs;
  }
  EXPECT_EQ(ticks, 5);
  // Three hours of wake-ups 17 ms late each: still one tick per second.
  for (int s = 6; s <= 6 + 3 * 3600; ++s) {
    clock.monotonicMs = 5'000'250 + s * 1000 + 17;
    pump.RunDue(tick);
  }
  EXPECT_EQ(ticks, 6 + 3 * 3600);
  // An hour-long stall: one tick, then on from there, rather than 3600 back to back.
  clock.monotonicMs += 3600 * 1000;
  EXPECT_EQ(pump.RunDue(tick), 1);
  EXPECT_EQ(pump.MsUntilNextTick(), 1000u);
}

TEST(TickPump, AHandlerThatTurnsThePumpOffEndsTheCatchUpAndARestartCountsAfresh) {
  testing::FakeClock clock;
  TickPump pump(clock);
  pump.SetEnabled(true);
  int ticks = 0;
  clock.monotonicMs = 10'000;
  EXPECT_EQ(pump.RunDue([&] { return ++ticks < 3; }), 3);
  EXPECT_FALSE(pump.Enabled());
  clock.monotonicMs = 10'500;
  pump.SetEnabled(true);
  clock.monotonicMs = 11'499;
  EXPECT_EQ(pump.RunDue([&] { return true; }), 0);
  clock.monotonicMs = 11'500;
  EXPECT_EQ(pump.RunDue([&] { return true; }), 1);
}

}  // namespace
}  // namespace tkd
