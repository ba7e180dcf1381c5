// A day of use on a fake clock: every feature on, through midnight, both daylight-saving shifts,
// a clock set back by hand, two sleeps and a scheduled shutdown with the restart after it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "stats/odometer.h"
#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;

// Local time at `s` seconds after 2026-01-01 00:00:00 (days to civil date, proleptic Gregorian).
LocalTime LocalAt(long long s) {
  long long z = s / 86400 + 719468 + 20454;  // 20454 days from 1970-01-01 to 2026-01-01
  const long long era = z / 146097, doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
  const int t = static_cast<int>(s % 86400);
  return {year, month, day, t / 3600, t / 60 % 60, t % 60};
}

bool Sane(const std::string& text) {
  for (const char* bad : {"inf", "nan", ":60", "-0:", "-0 ", "-0."})
    if (text.find(bad) != std::string::npos) return false;
  return true;
}

TEST(LongRun, ADayOfEveryFeatureKeepsTimeCountsAndData) {
  Form1Harness h;
  ASSERT_TRUE(h.Load());  // the first run ticks the chime and every hour box
  h.model->scheduler().Check6_Click(true);
  h.model->scheduler().Text5_Change("13");
  h.model->scheduler().Text6_Change("0");
  h.model->stopwatch().Command1_Click();

  long long local = (294 * 86400LL) + 20 * 3600;  // 2026-10-22 20:00:00
  // Wall-clock events by awake second; otherwise the wall clock runs with the awake one.
  struct Jump { long long atAwake, wallSeconds; };
  const Jump jumps[] = {
      {6 * 3600, +3600},       // 02:00 -> 03:00, daylight saving begins
      {8 * 3600, -3600},       // 05:00 -> 04:00, and ends: an hour repeats
      {12 * 3600, -3600},      // 08:00 set back to 07:00 by hand
      {13 * 3600, +45 * 60},   // at 08:00, a 45-minute sleep
      {19 * 3600, +3 * 3600},  // at 14:55, three hours asleep
  };
  std::set<std::pair<std::string, int>> minuteZeroHours, chimedHours;
  long long awake = 0, ticks = 0;
  double lastUsage = 0, lastDistance = 0, movedPixels = 0;
  PointerPosition sampledAt{0, 0};  // a new run samples from (0, 0)
  int shutdowns = 0, step = 0;
  std::string shutdownAt;
  while (awake < 24 * 3600) {
    for (const Jump& j : jumps)
      if (j.atAwake == awake && step == 0) local += j.wallSeconds;
    h.clock.now = LocalAt(local);
    // Four steps of 250 ms a second. The pointer moves along the line (3k, 4k), 5 px a step,
    // from minute 20 to 29 of every hour, so every distance is a whole number of pixels.
    if (h.clock.now.minute >= 20 && h.clock.now.minute < 30) h.cursor.at = {h.cursor.at.x + 3, h.cursor.at.y + 4};
    h.model->Timer4_Timer();
    movedPixels += 5.0 * std::abs(h.cursor.at.x - sampledAt.x) / 3;
    sampledAt = h.cursor.at;
    const std::size_t played = h.sound.played.size();
    const int shutdownCalls = h.shutdown.powerOffs;
    const double before = h.model->UsageSeconds();
    h.Run(250, 250);
    const LocalTime now = h.clock.now;
    const std::string date = h.locale.ShortDate(now);
    if (h.model->UsageSeconds() != before) {
      ++ticks;
      if (now.minute == 0 && now.second >= 1) minuteZeroHours.insert({date, now.hour});
    }
    for (std::size_t i = played; i < h.sound.played.size(); ++i) {
      if (h.sound.played[i].find("zdbs") == std::string::npos) continue;  // the stopwatch's own sound
      EXPECT_TRUE(chimedHours.insert({date, now.hour}).second) << "chimed twice: " << date << " " << now.hour;
    }
    ASSERT_GE(h.model->UsageSeconds(), lastUsage);
    lastUsage = h.model->UsageSeconds();
    const double stored = DecodeDistance(h.Stored(setting::AllMove).value_or("")).value_or(0);
    ASSERT_GE(stored, lastDistance);
    lastDistance = stored;
    for (const std::string& text : {h.model->View().caption, h.model->stopwatch().View().label2,
                                    h.model->odometer().View().label20, h.model->overview().View().label32})
      ASSERT_TRUE(Sane(text)) << text;
    if (h.shutdown.powerOffs != shutdownCalls) {
      ++shutdowns;
      shutdownAt = h.locale.TimeOfDay(now);
      // The stopwatch counted awake time only, whatever the wall clock did.
      char expected[32];
      std::snprintf(expected, sizeof expected, "%lld:%02lld:%02lld", ticks / 3600, ticks / 60 % 60, ticks % 60);
      EXPECT_EQ(h.model->stopwatch().View().label2, expected);
      local += 10 * 60;  // the machine restarts ten minutes later, and the program with it
      h.Restart();
      ASSERT_TRUE(h.Load());
      sampledAt = {0, 0};
    }
    if (++step == 4) step = 0, ++awake, ++local;
  }
  EXPECT_EQ(shutdowns, 1);
  EXPECT_EQ(shutdownAt, "13:00:00");
  EXPECT_EQ(h.model->UsageSeconds(), ticks);
  EXPECT_EQ(h.Stored(setting::js00), BlankNumberText(ticks));
  EXPECT_EQ(h.Stored(setting::js00Copy), BlankNumberText(ticks));
  EXPECT_EQ(lastDistance, movedPixels);
  EXPECT_EQ(chimedHours, minuteZeroHours);  // every hour seen once, the repeated ones not again
  EXPECT_GE(chimedHours.size(), 18u);
}

}  // namespace
}  // namespace tkd
