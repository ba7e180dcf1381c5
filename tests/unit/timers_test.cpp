// The window's timers on the fake clock, woken as the shell wakes them: one tick per interval of
// the monotonic clock however late the wake-up, each timer counted from the event that enabled it.
#include <gtest/gtest.h>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;

struct TimersTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(h.Load());
    h.model->MsUntilDue();  // the shell arms its timer once the window is up
  }
  Woken WakeAt(std::uint64_t ms) {
    h.clock.monotonicMs = ms;
    return h.model->Wake();
  }
  // Wakes when the model is next due; returns that moment.
  std::uint64_t WakeWhenDue() {
    WakeAt(h.clock.monotonicMs + h.model->MsUntilDue());
    return h.clock.monotonicMs;
  }
  Form1Harness h;
};

TEST_F(TimersTest, TheHousekeepingTickCountsEverySecondFromTheStartHoweverLateItIsWoken) {
  // Early, on time, three seconds late (a held-up thread), early again; then an hour-long stall
  // (a suspended virtual machine): one tick, and on from there rather than 3600 back to back.
  const struct { std::uint64_t atMs; double js0; std::uint32_t nextInMs; } wakes[] = {
      {999, 0, 1},   {1000, 1, 15},   {4100, 4, 16},    {4999, 4, 1},
      {5000, 5, 15}, {3605000, 6, 16}, {3605999, 6, 1}, {3606000, 7, 15},
      {3665999, 66, 1}, {3726000, 67, 16}};  // 59 s late: caught up; a minute late: started afresh
  for (const auto& w : wakes) {
    WakeAt(w.atMs);
    EXPECT_EQ(h.model->js0(), w.js0) << w.atMs;
    EXPECT_EQ(h.model->MsUntilDue(), w.nextInMs) << w.atMs;  // the pointer's next sample, or the tick
  }
}

TEST_F(TimersTest, EachTimerCountsFromItsEventAndTheUpdateDialogPausesOnlyTheHousekeeping) {
  WakeAt(300);
  h.model->stopwatch().Command1_Click();
  h.model->MsUntilDue();
  const std::unique_ptr<UpdateDialog> dialog = h.model->menuUpdate_Click();
  h.model->MsUntilDue();
  const struct { std::uint64_t atMs; const char* stopwatch; double js0; } wakes[] = {
      {1299, "0:00:00", 0}, {1300, "0:00:01", 0}, {5300, "0:00:05", 0}};
  for (const auto& w : wakes) {
    WakeAt(w.atMs);
    EXPECT_EQ(h.model->stopwatch().View().label2, w.stopwatch) << w.atMs;
    EXPECT_EQ(h.model->js0(), w.js0) << w.atMs;
  }
  h.model->UpdateDialog_Closed();  // at 5300: the housekeeping counts on from here
  h.model->scheduler().Text2_Change("0.05");
  h.model->scheduler().Check4_Click(true);  // three seconds
  h.model->MsUntilDue();
  const struct { std::uint64_t atMs; double js0; int ended; } later[] = {
      {6299, 0, 0}, {6300, 1, 0}, {8299, 2, 0}, {8300, 3, 1}};
  for (const auto& w : later) {
    WakeAt(w.atMs);
    EXPECT_EQ(h.model->js0(), w.js0) << w.atMs;
    EXPECT_EQ(h.lifetime.ended, w.ended) << w.atMs;  // shut down, and ended
  }
  h.model->stopwatch().Command1_Click();  // a countdown that ends inside a late wake-up stays ended
  h.model->stopwatch().Text1_Change("0.05");
  h.model->stopwatch().Check2_Click(true);
  h.model->stopwatch().Command1_Click();
  h.model->MsUntilDue();
  WakeAt(13300);
  EXPECT_EQ(h.model->stopwatch().View().label2, "时间到了");
}

TEST_F(TimersTest, AStopwatchOutOfSightTicksWithTheHousekeepingUnlessItsTickSoundsOrEnds) {
  // Started at 2700 with the pointer at rest: its own ticks fall at 3700, 4700, 5700.
  const struct { const char* minutes; bool countdown, seen; std::vector<std::uint64_t> wakes; const char* shown; } runs[] = {
      {"0.2", false, false, {3000, 4000, 4700, 5000, 6000}, "0:00:03"},  // the warning at 4700 is on time
      {"0.05", true, false, {3000, 4000, 5000, 5700, 6000}, "时间到了"},  // and so is the countdown's end
      {"0.2", false, true, {3000, 3700, 4000, 4700, 5000, 5700, 6000}, "0:00:03"}};
  for (const auto& run : runs) {
    Form1Harness r;
    ASSERT_TRUE(r.Load());
    while (!r.cursor.watching) r.clock.monotonicMs += r.model->MsUntilDue(), r.model->Wake();
    r.clock.monotonicMs = 2700;
    r.model->Wake();
    r.model->stopwatch().Text1_Change(run.minutes);
    r.model->stopwatch().Check2_Click(run.countdown);
    r.model->stopwatch().Command1_Click();
    std::vector<std::uint64_t> wakes;
    while (r.clock.monotonicMs < 6000) {
      r.clock.monotonicMs += r.model->MsUntilDue({.stopwatch = run.seen});
      r.model->Wake();
      wakes.push_back(r.clock.monotonicMs);
    }
    EXPECT_EQ(wakes, run.wakes) << run.minutes << run.seen;
    EXPECT_EQ(r.model->stopwatch().View().label2, run.shown) << run.minutes << run.seen;
    r.clock.monotonicMs = 6800;  // the tick of 6700 waits out of sight, until the page is seen
    r.model->StopwatchInSight();
    EXPECT_EQ(r.model->stopwatch().js1(), run.countdown ? 0 : 4) << run.minutes << run.seen;
  }
}

TEST_F(TimersTest, AMovingPointerIsSampledAtThePlatformsRateAndItsPageShownTwentyTimesASecond) {
  const struct { std::uint64_t atMs; int x; double today; bool shown; } wakes[] = {
      {15, 10, 0, false},   {16, 10, 10, true},    // the first sample, 16 ms after the start
      {31, 20, 10, false},  {60, 20, 20, false},   // sampled again; shown 44 ms ago
      {76, 30, 30, true},   {126, 40, 40, true},   // 50 ms after it was last shown
      {200, 40, 40, false}};                       // standing still: nothing to show
  for (const auto& w : wakes) {
    h.cursor.at = {w.x, 0};
    EXPECT_EQ(WakeAt(w.atMs).mousePage, w.shown) << w.atMs;
    EXPECT_EQ(h.model->odometer().TodayMove(), w.today) << w.atMs;
  }
}

TEST_F(TimersTest, APointerAtRestIsWatchedForInsteadOfPolledAndSampledWithEachHousekeepingTick) {
  h.cursor.at = {10, 0};
  std::uint64_t at = 0;
  while (!h.cursor.watching && at < 2000) at = WakeWhenDue();
  EXPECT_EQ(at, 528u);  // the first sample at 16 ms, then half a second of samples every 16 ms
  EXPECT_EQ(h.model->MsUntilDue(), 472u) << "still polled";
  h.cursor.at = {40, 0};  // a move the platform does not report: taken with the next tick
  EXPECT_EQ(WakeWhenDue(), 1000u);
  EXPECT_EQ(h.model->odometer().TodayMove(), 40);
  EXPECT_FALSE(h.cursor.watching);
  EXPECT_EQ(h.model->MsUntilDue(), 16u);
  while (!h.cursor.watching) WakeWhenDue();
  h.cursor.at = {40, 30};  // the platform reports it: a sample at once
  h.model->PointerMoved();
  EXPECT_EQ(h.model->MsUntilDue(), 0u);
  WakeWhenDue();
  EXPECT_EQ(h.model->odometer().TodayMove(), 70);
  while (!h.cursor.watching) WakeWhenDue();
  h.cursor.at = {40, 90};  // the page out of sight: an unreported move waits for a reported one
  WakeAt(h.clock.monotonicMs + h.model->MsUntilDue({.stopwatch = true, .mouse = false}));  // the tick
  EXPECT_EQ(h.model->odometer().TodayMove(), 70);
  h.model->PointerMoved();
  WakeWhenDue();
  EXPECT_EQ(h.model->odometer().TodayMove(), 130);

  Form1Harness polled;  // a platform that cannot watch: polled four times a second at rest
  polled.cursor.canWatch = false;
  ASSERT_TRUE(polled.Load());
  polled.Run(2010, 1);
  polled.cursor.at = {0, 5};
  polled.Run(250, 1);  // before the next housekeeping tick
  EXPECT_EQ(polled.model->odometer().TodayMove(), 5);
}

}  // namespace
}  // namespace tkd
