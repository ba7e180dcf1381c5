// One-second timers kept in step with the monotonic clock, and the stopwatch driven by them for hours.
#include <gtest/gtest.h>

#include <random>

#include "core/format_duration.h"
#include "support/form1_harness.h"
#include "timing/steady_timer.h"

namespace tkd {
namespace {

// Plays the shell: a window timer that fires `lateMs` after the requested moment, then delivers
// every due tick at once and re-arms for the next one.
struct TimerLoop {
  SteadyTimer timer;
  std::uint64_t now = 0;
  int ticks = 0;

  // Runs until `untilMs`; `lateness` says how late each timer message arrives.
  template <typename Lateness>
  void RunUntil(std::uint64_t untilMs, Lateness lateness) {
    while (timer.Enabled()) {
      const std::uint64_t fireAt = now + timer.MsUntilNextTick(now) + lateness();
      if (fireAt > untilMs) break;
      now = fireAt;
      while (timer.TakeDueTick(now)) ++ticks;
    }
    now = untilMs;
  }
};

TEST(SteadyTimer, TheNthTickFallsDueNSecondsAfterEnabling) {
  SteadyTimer t;
  t.SetEnabled(true, 5000);
  EXPECT_EQ(t.MsUntilNextTick(5000), 1000u);
  EXPECT_FALSE(t.TakeDueTick(5999));
  EXPECT_TRUE(t.TakeDueTick(6000));
  EXPECT_FALSE(t.TakeDueTick(6000));
  EXPECT_EQ(t.MsUntilNextTick(6400), 600u);
}

TEST(SteadyTimer, LateMessagesNeverLoseTime) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> jitter(0, 60);  // a busy message loop
  TimerLoop loop;
  loop.timer.SetEnabled(true, 0);
  loop.RunUntil(3'600'000, [&] { return jitter(random); });
  // Every tick of the hour has come, although each message arrived up to 60 ms late.
  EXPECT_GE(loop.ticks, 3599);
  EXPECT_LE(loop.ticks, 3600);
  loop.RunUntil(3'600'061, [] { return 0; });
  EXPECT_EQ(loop.ticks, 3600);
}

TEST(SteadyTimer, AHeldUpTickIsFollowedAtOnceByTheOnesItDelayed) {
  SteadyTimer t;
  t.SetEnabled(true, 0);
  int burst = 0;
  while (t.TakeDueTick(4500)) ++burst;  // the thread was busy for 4.5 s
  EXPECT_EQ(burst, 4);
  EXPECT_EQ(t.MsUntilNextTick(4500), 500u);  // and the rhythm is kept
}

TEST(SteadyTimer, DisablingAndEnablingStartsAfreshFromThatMoment) {
  SteadyTimer t;
  t.SetEnabled(true, 0);
  ASSERT_TRUE(t.TakeDueTick(1000));
  t.SetEnabled(false, 1700);
  EXPECT_FALSE(t.TakeDueTick(5000));
  t.SetEnabled(true, 5000);
  t.SetEnabled(true, 5500);  // already running: no restart
  EXPECT_FALSE(t.TakeDueTick(5999));
  EXPECT_TRUE(t.TakeDueTick(6000));
}

TEST(SteadyTimer, NoBurstAfterSleepBecauseTheClockStandsStill) {
  // The monotonic clock does not count sleep: an hour asleep adds nothing to it, so the first
  // tick after resuming is simply the next one.
  testing::FakeClock clock;
  SteadyTimer t;
  t.SetEnabled(true, clock.MonotonicMs());
  clock.monotonicMs += 800;
  clock.now.hour += 1;  // wall time jumps, the monotonic clock does not
  clock.monotonicMs += 200;
  int ticks = 0;
  while (t.TakeDueTick(clock.MonotonicMs())) ++ticks;
  EXPECT_EQ(ticks, 1);
}

TEST(SteadyTimer, AStopwatchDrivenForThreeHoursShowsTheTimeElapsed) {
  testing::Form1Harness h;
  ASSERT_TRUE(h.model->Form_Load());
  h.watch().SetText1("600");
  h.watch().Command1_Click();

  std::mt19937 random(11);
  std::uniform_int_distribution<int> jitter(0, 40);
  SteadyTimer timer2;
  std::uint64_t now = 0;
  timer2.SetEnabled(h.sw().timer2Enabled, now);
  const std::uint64_t end = 3 * 3'600'000ull;
  while (now < end) {
    // Every few minutes the thread is held up for several seconds.
    const bool stall = jitter(random) == 0;
    now += timer2.MsUntilNextTick(now) + (stall ? 4321 : jitter(random));
    while (timer2.TakeDueTick(now) && h.sw().timer2Enabled) h.watch().Timer2_Timer();
  }
  const double elapsedWholeSeconds = static_cast<double>(now / 1000);
  EXPECT_EQ(h.sw().label2, FormatDuration(elapsedWholeSeconds));
}

}  // namespace
}  // namespace tkd
