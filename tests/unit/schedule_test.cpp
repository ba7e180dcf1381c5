// Scheduled events: the hourly chime over whole days, the shutdown scheduler's ways, warnings and input checks.
#include <gtest/gtest.h>

#include "schedule/hourly_chime.h"
#include "schedule/shutdown_scheduler.h"
#include "support/fakes.h"

namespace tkd {
namespace {

using namespace testing;

// The local time `ms` milliseconds after 2026-12-06 00:00:00.
LocalTime At(long long ms) {
  const long long s = ms / 1000;
  return {2026, 12, static_cast<int>(6 + s / 86400), static_cast<int>(s / 3600 % 24),
          static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
}
long long Ms(int h, int m, int s, int ms = 0) { return ((h * 60LL + m) * 60 + s) * 1000 + ms; }

struct ChimeTest : ::testing::Test {
  void SetUp() override {
    chime.Check9_Click(true);
    for (int h = 0; h < kHours; ++h) chime.HourBox_Click(h, h != 5);
  }
  FakeRegistry registry;
  SettingsStore store{registry};
  FakeSound sound;
  HourlyChime chime{store, sound, "C:\\T"};
};

TEST_F(ChimeTest, EveryTickedHourSoundsOnceADayInItsFirstMinute) {
  // LocalTime holds whole seconds, so one tick a second covers every phase of the ticks.
  for (long long ms = 0; ms < Ms(24, 0, 0); ms += 1000) {
    const std::size_t before = sound.played.size();
    chime.Tick(At(ms));
    if (sound.played.size() != before) {
      ASSERT_TRUE(At(ms).minute == 0 && At(ms).second >= 1) << ms;
    }
  }
  std::vector<std::string> expected;
  for (int h = 0; h < kHours; ++h)
    if (h != 5) expected.push_back("C:\\T\\sound\\zdbs" + std::to_string(h) + ".wav");
  EXPECT_EQ(sound.played, expected);
}

TEST_F(ChimeTest, LateDoubleAndSetBackTicksNeitherLoseNorRepeatAnHour) {
  const struct { long long ms; int hour; } ticks[] = {  // hour -1: nothing plays
      {Ms(7, 0, 0, 999), -1}, {Ms(7, 0, 2, 400), 7},  // the tick at 07:00:01 came late
      {Ms(7, 0, 2, 900), -1}, {Ms(6, 59, 59), -1},    // a second tick in that second; set back
      {Ms(7, 0, 1), -1},      {Ms(8, 0, 1), 8},
      {Ms(23, 0, 1), 23},     {Ms(24, 0, 1), 0},      // the next day's hour 0
  };
  for (const auto& t : ticks) {
    sound.played.clear();
    chime.Tick(At(t.ms));
    const std::string path = "C:\\T\\sound\\zdbs" + std::to_string(t.hour) + ".wav";
    EXPECT_EQ(sound.played, t.hour < 0 ? std::vector<std::string>{} : std::vector<std::string>{path}) << t.ms;
  }
  sound.played.clear();
  chime.Check9_Click(false);
  chime.Tick(At(Ms(9, 0, 1)));
  chime.Check9_Click(true);  // the hour boxes kept their state
  chime.Tick(At(Ms(10, 0, 1)));
  EXPECT_EQ(sound.played, std::vector<std::string>{"C:\\T\\sound\\zdbs10.wav"});
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, SettingsKey, "Check15"), " 0");
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, SettingsKey, "Check9"), " 1");
}

// A clock set back past every chime remembered (a wrong date corrected) or moved far ahead.
TEST_F(ChimeTest, AClockSetBackOrForwardBeyondWhatIsRememberedSoundsEachHourOnce) {
  const auto firstMinute = [&](int day, int hour) {
    sound.played.clear();
    for (int second = 0; second < 60; ++second) chime.Tick({2026, 12, day, hour, 0, second});
    return sound.played.size();
  };
  for (int day = 6; day <= 8; ++day)  // three days: more chimes than are remembered
    for (int hour = 0; hour < kHours; ++hour) firstMinute(day, hour);
  const struct { int day, hour; std::size_t plays; } jumps[] = {
      {2, 7, 1}, {2, 7, 0}, {2, 8, 1},  // four days back, the same hour again, the next hour
      {20, 7, 1}, {8, 7, 0},            // twelve days ahead, then back into what is remembered
      {2, 5, 0}};                       // an hour not ticked
  for (const auto& j : jumps) EXPECT_EQ(firstMinute(j.day, j.hour), j.plays) << "day " << j.day << " hour " << j.hour;
}

struct SchedulerTest : ::testing::Test {
  void Arm(const std::string& minutes) {
    scheduler.Text2_Change(minutes);
    scheduler.Check4_Click(true);
  }
  FakeRegistry registry;
  SettingsStore store{registry};
  FakePrompt prompt;
  FakeShutdown shutdown;
  FakeLifetime lifetime;
  FakeClock clock;
  ShutdownScheduler scheduler{store, prompt, shutdown, lifetime, clock};
};

TEST_F(SchedulerTest, AfterMinutesCountsDownWithBlinkingMarksAndShutsDownOnTime) {
  Arm("10");
  const std::pair<int, const char*> lines[] = {
      {1, "你的电脑将于( 0:09:59 )之后自动关机"}, {2, "你的电脑将于( 0:09:58 )之后自动关机！！！"},
      {599, "你的电脑将于( 0:00:01 )之后自动关机"}};
  for (int tick = 1, i = 0; tick < 600; ++tick) {
    scheduler.Timer3_Timer();
    if (tick == lines[i].first) {
      EXPECT_EQ(scheduler.View().label13, lines[i++].second);
    }
  }
  EXPECT_EQ(shutdown.powerOffs, 0);
  scheduler.Timer3_Timer();
  EXPECT_EQ(shutdown.powerOffs, 1);
  EXPECT_EQ(lifetime.ended, 1);
  EXPECT_FALSE(scheduler.View().timer3Enabled);
}

TEST_F(SchedulerTest, ARemainderThatSkipsZeroOrADisarmedWayNeverShutsDown) {
  Arm("1");
  for (int tick = 0; tick < 30; ++tick) scheduler.Timer3_Timer();
  scheduler.Text2_Change("");  // cleared to type another number: never exactly 0 meanwhile
  for (int tick = 0; tick < 100; ++tick) scheduler.Timer3_Timer();
  EXPECT_EQ(scheduler.View().label13, "你的电脑将于( -1:57:50 )之后自动关机！！！");
  scheduler.Check4_Click(false);
  EXPECT_EQ(scheduler.View().label13, "");
  EXPECT_FALSE(scheduler.View().timer3Enabled);
  EXPECT_EQ(shutdown.powerOffs, 0);
  Arm("4.15");  // 249 s, although 4.15 x 60 is a hair over
  for (int tick = 0; tick < 249; ++tick) scheduler.Timer3_Timer();
  EXPECT_EQ(shutdown.powerOffs, 1);
}

TEST_F(SchedulerTest, InputChecksRefuseWithAMessageAndPutZeroBack) {
  using Change = void (ShutdownScheduler::*)(const std::string&);
  const struct { Change change; const char* name; const char* typed; const char* message; } cases[] = {
      {&ShutdownScheduler::Text5_Change, "Text5", "24", "此处必须是“0-23”之间的整数"},
      {&ShutdownScheduler::Text5_Change, "Text5", "23", nullptr},
      {&ShutdownScheduler::Text7_Change, "Text7", "-1", "此处必须是“0-23”之间的整数"},
      {&ShutdownScheduler::Text7_Change, "Text7", "7.5", nullptr},
      {&ShutdownScheduler::Text6_Change, "Text6", "60", "此处必须是“0-59”之间的整数"},
      {&ShutdownScheduler::Text6_Change, "Text6", "59", nullptr},
      {&ShutdownScheduler::Text8_Change, "Text8", "abc", nullptr},  // reads 0: stored as typed
  };
  for (const auto& c : cases) {
    prompt.shown.clear();
    (scheduler.*c.change)(c.typed);
    EXPECT_EQ(prompt.shown, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}) << c.typed;
    EXPECT_EQ(registry.Read(RegRoot::LocalMachine, SettingsKey, c.name), c.message ? "0" : c.typed);
  }
  prompt.shown.clear();
  scheduler.Text2_Change("-3");
  EXPECT_EQ(prompt.shown, std::vector<std::string>{"不能输入小于0的数"});
  EXPECT_EQ(scheduler.View().text2, "-3");
}

TEST_F(SchedulerTest, ClockTimeWaysWarnForTenMinutesAndShutDownInTheirMinute) {
  const struct { ClockWay way; const char *hour, *minute; int h, m; bool warned, shuts; } cases[] = {
      {kDailyFirst, "22", "30", 22, 19, false, false}, {kDailyFirst, "22", "30", 22, 20, true, false},
      {kDailyFirst, "22", "30", 22, 29, true, false},  {kDailyFirst, "22", "30", 22, 30, false, true},
      {kDailySecond, "0", "5", 23, 55, true, false},   {kDailySecond, "0", "5", 0, 5, false, true},
      {kDailyFirst, "23", "58", 0, 2, false, false},   {kDailySecond, "7.5", "0", 7, 30, false, true},
      {kDailyFirst, "7.5", "0", 7, 30, false, false},  {kTodayAt, "", "", 0, 0, false, true},
      {kTodayAt, "12", "", 11, 59, true, false},
  };
  for (const auto& c : cases) {
    ShutdownScheduler s{store, prompt, shutdown, lifetime, clock};
    if (c.way == kTodayAt) s.Check5_Click(true), s.Text3_Change(c.hour), s.Text4_Change(c.minute);
    if (c.way == kDailyFirst) s.Check6_Click(true), s.Text5_Change(c.hour), s.Text6_Change(c.minute);
    if (c.way == kDailySecond) s.Check8_Click(true), s.Text7_Change(c.hour), s.Text8_Change(c.minute);
    shutdown.powerOffs = 0;
    EXPECT_EQ(s.ClockTick({2026, 12, 6, c.h, c.m, 0}, 1), c.shuts) << c.hour << ":" << c.minute << " at " << c.h << ":" << c.m;
    EXPECT_EQ(s.View().warningVisible[c.way], c.warned) << c.hour << ":" << c.minute << " at " << c.h << ":" << c.m;
    EXPECT_EQ(shutdown.powerOffs, c.shuts ? 1 : 0);
  }
}

// Each keystroke is a change: while the user edits a time, the box holds times nobody chose.
TEST_F(SchedulerTest, ATimeEditedInTheCurrentMinuteDoesNotFireItsWayInThatMinute) {
  scheduler.Check6_Click(true), scheduler.Text5_Change("22"), scheduler.Text6_Change("30");
  using S = ShutdownScheduler;
  const struct { int minute, second; void (S::*change)(const std::string&); const char* text; bool shuts; } steps[] = {
      {3, 10, &S::Text6_Change, "3", false},  // at 22:03 the 0 of 30 is deleted, on the way to 35
      {3, 11, &S::Text6_Change, "35", false},
      {3, 40, &S::Text6_Change, "4", false},  // a time typed for the next minute...
      {3, 59, nullptr, nullptr, false},
      {4, 0, nullptr, nullptr, true},         // ...fires then
  };
  for (const auto& step : steps) {
    clock.now = {2026, 12, 6, 22, step.minute, step.second};
    if (step.change) (scheduler.*step.change)(step.text);
    EXPECT_EQ(scheduler.ClockTick(clock.now, 1), step.shuts) << "22:0" << step.minute << ":" << step.second;
  }
  // Ticking a way's box with a time that is due now fires at once, however recently it was typed.
  ShutdownScheduler s{store, prompt, shutdown, lifetime, clock};
  s.Text3_Change("22"), s.Text4_Change("4"), s.Check5_Click(true);
  EXPECT_TRUE(s.ClockTick(clock.now, 2));
}

TEST_F(SchedulerTest, WarningsAnimateTogetherAndTheFirstWayDueIsTheOnlyOneToAct) {
  scheduler.Check5_Click(true), scheduler.Text3_Change("22"), scheduler.Text4_Change("30");
  scheduler.Check6_Click(true), scheduler.Text5_Change("22"), scheduler.Text6_Change("30");
  for (int js0 = 1; js0 <= 5; ++js0) {
    scheduler.ClockTick({2026, 12, 6, 22, 25, 0}, js0);
    const char* steps[] = {"即", "即将", "即将关", "即将关机"};
    EXPECT_EQ(scheduler.View().warningCaption[kTodayAt], steps[js0 % 4]);
    EXPECT_EQ(scheduler.View().warningCaption[kDailyFirst], steps[js0 % 4]);
  }
  scheduler.Check6_Click(false);  // switched off: hidden at the next tick
  scheduler.ClockTick({2026, 12, 6, 22, 25, 1}, 6);
  EXPECT_FALSE(scheduler.View().warningVisible[kDailyFirst]);
  scheduler.Check6_Click(true);
  EXPECT_TRUE(scheduler.ClockTick({2026, 12, 6, 22, 30, 0}, 7));
  EXPECT_EQ(shutdown.powerOffs, 1);  // once, by the today-at way
}

}  // namespace
}  // namespace tkd
