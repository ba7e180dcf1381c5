// The scheduled shutdown page ("定时关机"): after N minutes, today at a time, every day at
// either of two times, with the ten-minute warning and the after-minutes countdown line.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "settings/settings_store.h"

namespace tkd {

// The three clock-time ways, in the order the tick checks them.
enum ClockWay { kTodayAt = 0, kDailyFirst, kDailySecond, kClockWays };
// The after-minutes way, beside them.
inline constexpr int kAfterMinutes = kClockWays;
inline constexpr int kShutdownWays = kClockWays + 1;

// Which shutdown of a way: a clock-time way's minute, counted from a fixed day, or a countdown's
// target in seconds with the arming it belongs to.
struct ShutdownMoment {
  long long arming = 0;
  double at = 0;
  bool operator==(const ShutdownMoment&) const = default;
};

// A shutdown that a way is armed for and that its tick can reach.
struct ComingShutdown {
  int way = kTodayAt;
  ShutdownMoment moment;
  double secondsLeft = 0;
  std::string at;  // the clock time it falls at, "22:30"
};

struct ShutdownView {
  bool check4 = false, check5 = false, check6 = false, check8 = false;
  std::string text2, text3, text4, text5, text6, text7, text8;  // empty when the window is made
  // Label16, Label17, Label18: "即将关机", hidden until the last ten minutes before their way.
  std::array<bool, kClockWays> warningVisible{};
  std::array<std::string, kClockWays> warningCaption{"即将关机", "即将关机", "即将关机"};
  std::string label13;  // the after-minutes countdown
  bool timer3Enabled = false;
  bool operator==(const ShutdownView&) const = default;
};

class ShutdownScheduler {
 public:
  ShutdownScheduler(SettingsStore& store, Prompt& prompt, Shutdown& shutdown, Lifetime& lifetime, Clock& clock)
      : store_(store), prompt_(prompt), shutdown_(shutdown), lifetime_(lifetime), clock_(clock) {}

  // After minutes: arms or disarms Timer3; lasts for this run only.
  void Check4_Click(bool ticked);
  void Timer3_Timer();
  void Text2_Change(const std::string& text);  // a negative number only draws a message
  // Today at: read by the tick; not stored, never validated.
  void Check5_Click(bool ticked);
  void Text3_Change(const std::string& text);
  void Text4_Change(const std::string& text);
  // Every day at: stored at once; an hour outside 0-23 or a minute outside 0-59 is refused
  // with a message and replaced by "0".
  //
  // A clock-time way does not fire in a minute in which one of its time boxes was edited: each
  // keystroke is a change, and on the way from 22:30 to 22:35 the box holds 22:3 for a moment.
  // Ticking the way's box arms it with the time as it stands, due now or not.
  void Check6_Click(bool ticked);
  void Check8_Click(bool ticked);
  void Text5_Change(const std::string& text);
  void Text6_Change(const std::string& text);
  void Text7_Change(const std::string& text);
  void Text8_Change(const std::string& text);

  // Start-up: the daily times (each raising its change handler when it differs), then later in
  // the order the daily switches, and the countdown line emptied.
  void RestoreDailyTimes();
  void RestoreDailySwitches();
  void ClearStatus() { view_.label13.clear(); }

  // The housekeeping tick's three clock-time blocks. Returns true when one shut the computer
  // down (the program has then been told to end).
  bool ClockTick(const LocalTime& now, double js0);

  // Every shutdown armed now, in the order of the ways. A time no tick can match (a fraction, an
  // hour past 23) is not one; a clock-time way in its own minute has fired or waits for tomorrow.
  std::vector<ComingShutdown> Coming(const LocalTime& now) const;

  const ShutdownView& View() const { return view_; }
  double js3() const { return js3_; }

 private:
  void SetTextChecked(ClockWay way, std::string ShutdownView::*box, const Setting& row, const std::string& text,
                      double limit, bool limitIncluded, const char* message);
  void Edited(ClockWay way);
  struct ClockWayBoxes {
    bool on;
    const std::string &hour, &minute;
  };
  std::array<ClockWayBoxes, kClockWays> Boxes() const;

  SettingsStore& store_;
  Prompt& prompt_;
  Shutdown& shutdown_;
  Lifetime& lifetime_;
  Clock& clock_;
  ShutdownView view_;
  double js3_ = 0;  // seconds counted since the after-minutes way was armed
  long long armings_ = 0;
  long long armedAtSecond_ = 0;  // when it was armed, in seconds from the fixed day of MinuteCount
  std::array<long long, kClockWays> editedInMinute_{-1, -1, -1};  // the minute of each way's last edit
};

}  // namespace tkd
