// ShutdownScheduler: the after-minutes countdown, the three clock-time ways and their input checks.
#include "schedule/shutdown_scheduler.h"

#include <cmath>

#include "core/format_duration.h"
#include "core/number_text.h"
#include "core/target_minutes.h"
#include "schedule/minute_count.h"
#include "schedule/system_shutdown.h"

namespace tkd {
namespace {

constexpr char kHourMessage[] = "此处必须是“0-23”之间的整数";
constexpr char kMinuteMessage[] = "此处必须是“0-59”之间的整数";
constexpr char kNotNegative[] = "不能输入小于0的数";
constexpr const char* kWarningSteps[] = {"即", "即将", "即将关", "即将关机"};
constexpr int kMinutesPerDay = 1440;
constexpr int kWarningMinutes = 10;
constexpr long long kNoEdit = -1;

bool Whole(double x, double below) { return x >= 0 && x < below && std::floor(x) == x; }

std::string ClockText(int minuteOfDay) {
  const auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
  return two(minuteOfDay / 60) + ":" + two(minuteOfDay % 60);
}

}  // namespace

void ShutdownScheduler::Check4_Click(bool ticked) {
  view_.check4 = ticked;
  view_.timer3Enabled = ticked;
  js3_ = 0;
  if (!ticked) {
    view_.label13.clear();
    return;
  }
  ++armings_;
  const LocalTime now = clock_.Now();
  armedAtSecond_ = MinuteCount(now) * 60 + now.second;
}

void ShutdownScheduler::Timer3_Timer() {
  js3_ += 1;
  // Read afresh every tick, so a changed number moves the target. Only a remainder of exactly 0
  // shuts down: while the user clears the box to type another number, nothing happens.
  const double remaining = TargetSeconds(view_.text2) - js3_;
  if (remaining == 0) {
    view_.timer3Enabled = false;
    ShutComputer(shutdown_, lifetime_);
    return;
  }
  const bool even = std::fmod(std::floor(js3_), 2.0) == 0;
  view_.label13 = "你的电脑将于( " + FormatDuration(remaining) + (even ? " )之后自动关机！！！" : " )之后自动关机");
}

void ShutdownScheduler::Text2_Change(const std::string& text) {
  view_.text2 = text;
  if (NumericReading(text) < 0) prompt_.ShowMessage(kNotNegative);
}

void ShutdownScheduler::Edited(ClockWay way) { editedInMinute_[way] = MinuteCount(clock_.Now()); }

void ShutdownScheduler::Check5_Click(bool ticked) {
  view_.check5 = ticked;
  editedInMinute_[kTodayAt] = kNoEdit;
}

void ShutdownScheduler::Text3_Change(const std::string& text) {
  view_.text3 = text;
  Edited(kTodayAt);
}

void ShutdownScheduler::Text4_Change(const std::string& text) {
  view_.text4 = text;
  Edited(kTodayAt);
}

void ShutdownScheduler::Check6_Click(bool ticked) {
  view_.check6 = ticked;
  editedInMinute_[kDailyFirst] = kNoEdit;
  store_.WriteNumber(setting::Check6, ticked ? 1 : 0);
}

void ShutdownScheduler::Check8_Click(bool ticked) {
  view_.check8 = ticked;
  editedInMinute_[kDailySecond] = kNoEdit;
  store_.WriteNumber(setting::Check8, ticked ? 1 : 0);
}

// A refused entry shows its message, then the box gets "0", which is a change of its own that
// passes and is stored. An accepted entry is stored exactly as typed.
void ShutdownScheduler::SetTextChecked(ClockWay way, std::string ShutdownView::*box, const Setting& row,
                                       const std::string& text, double limit, bool limitIncluded,
                                       const char* message) {
  view_.*box = text;
  Edited(way);
  const double x = NumericReading(text);
  if (x >= 0 && (limitIncluded ? x <= limit : x < limit)) {
    store_.Write(row, text);
    return;
  }
  prompt_.ShowMessage(message);
  if (view_.*box != "0") SetTextChecked(way, box, row, "0", limit, limitIncluded, message);
}

void ShutdownScheduler::Text5_Change(const std::string& text) {
  SetTextChecked(kDailyFirst, &ShutdownView::text5, setting::Text5, text, 23, true, kHourMessage);
}
void ShutdownScheduler::Text6_Change(const std::string& text) {
  SetTextChecked(kDailyFirst, &ShutdownView::text6, setting::Text6, text, 60, false, kMinuteMessage);
}
void ShutdownScheduler::Text7_Change(const std::string& text) {
  SetTextChecked(kDailySecond, &ShutdownView::text7, setting::Text7, text, 23, true, kHourMessage);
}
void ShutdownScheduler::Text8_Change(const std::string& text) {
  SetTextChecked(kDailySecond, &ShutdownView::text8, setting::Text8, text, 60, false, kMinuteMessage);
}

void ShutdownScheduler::RestoreDailyTimes() {
  using Change = void (ShutdownScheduler::*)(const std::string&);
  const struct { std::string ShutdownView::*box; const Setting& row; Change change; } boxes[] = {
      {&ShutdownView::text5, setting::Text5, &ShutdownScheduler::Text5_Change},
      {&ShutdownView::text6, setting::Text6, &ShutdownScheduler::Text6_Change},
      {&ShutdownView::text7, setting::Text7, &ShutdownScheduler::Text7_Change},
      {&ShutdownView::text8, setting::Text8, &ShutdownScheduler::Text8_Change},
  };
  for (const auto& b : boxes) {
    const std::string text = Restored(b.row, store_.Read(b.row));
    if (text != view_.*b.box) (this->*b.change)(text);
  }
}

void ShutdownScheduler::RestoreDailySwitches() {
  const bool check6 = store_.ReadNumber(setting::Check6) == 1;
  if (check6 != view_.check6) Check6_Click(check6);
  const bool check8 = store_.ReadNumber(setting::Check8) == 1;
  if (check8 != view_.check8) Check8_Click(check8);
}

std::array<ShutdownScheduler::ClockWayBoxes, kClockWays> ShutdownScheduler::Boxes() const {
  return {{{view_.check5, view_.text3, view_.text4},
           {view_.check6, view_.text5, view_.text6},
           {view_.check8, view_.text7, view_.text8}}};
}

bool ShutdownScheduler::ClockTick(const LocalTime& now, double js0) {
  const int n = now.hour * 60 + now.minute;
  const long long thisMinute = MinuteCount(now);
  const auto ways = Boxes();
  for (int way = 0; way < kClockWays; ++way) {
    bool& visible = view_.warningVisible[way];
    if (!ways[way].on) {
      visible = false;
      continue;
    }
    const double hour = NumericReading(ways[way].hour);
    const double minute = NumericReading(ways[way].minute);
    const double t = hour * 60 + minute;
    // The first two compare hour and minute, which a fraction never matches; the second daily
    // way compares minutes of the day, so 7.5 and 0 aim at 07:30.
    const bool due = way == kDailySecond ? t == n : (now.hour == hour && now.minute == minute);
    if (due && editedInMinute_[way] != thisMinute) {
      ShutComputer(shutdown_, lifetime_);
      return true;
    }
    if (t == n) continue;  // a fractional target's own minute: the warning stays as it is
    // Minutes to go, across midnight for a target early in the day seen from the evening.
    const double ahead = t > n ? t - n : t + kMinutesPerDay - n;
    visible = ahead > 0 && ahead <= kWarningMinutes;
    if (visible) view_.warningCaption[way] = kWarningSteps[static_cast<int>(std::fmod(js0, 4.0))];
  }
  return false;
}

std::vector<ComingShutdown> ShutdownScheduler::Coming(const LocalTime& now) const {
  std::vector<ComingShutdown> coming;
  const int n = now.hour * 60 + now.minute;
  const auto ways = Boxes();
  for (int way = 0; way < kClockWays; ++way) {
    if (!ways[way].on) continue;
    // The same readings and comparisons as the tick's.
    const double hour = NumericReading(ways[way].hour), minute = NumericReading(ways[way].minute);
    const double t = hour * 60 + minute;
    if (way == kDailySecond ? !Whole(t, kMinutesPerDay) : !(Whole(hour, 24) && Whole(minute, 60))) continue;
    const int target = static_cast<int>(t);
    const int ahead = target > n ? target - n : target + kMinutesPerDay - n;
    coming.push_back({way, {0, static_cast<double>(MinuteCount(now) + ahead)}, ahead * 60.0 - now.second,
                      ClockText(target)});
  }
  if (view_.timer3Enabled) {
    // It ends a whole number of ticks of a second after it was armed; reckoned from the arming,
    // its clock time stays put between the ticks.
    const double target = TargetSeconds(view_.text2), remaining = target - js3_;
    const double atSecond = static_cast<double>(armedAtSecond_) + target;
    // Only a remainder of exactly 0 shuts down, which a fraction of a second never reaches.
    if (remaining > 0 && std::floor(target) == target && std::isfinite(atSecond))
      coming.push_back({kAfterMinutes, {armings_, target}, remaining,
                        ClockText(static_cast<int>(std::fmod(std::floor(atSecond / 60), kMinutesPerDay)))});
  }
  return coming;
}

}  // namespace tkd
