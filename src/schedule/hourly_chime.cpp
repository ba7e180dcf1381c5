// HourlyChime: the 25 boxes and the once-an-hour check of the housekeeping tick.
#include "schedule/hourly_chime.h"

#include <algorithm>

namespace tkd {
namespace {

// Chimes remembered, the latest played: enough to span a clock set back by a day.
constexpr std::size_t kRemembered = 2 * kHours;

long long HourOfDate(const LocalTime& t) {
  return ((static_cast<long long>(t.year) * 13 + t.month) * 32 + t.day) * kHours + t.hour;
}

}  // namespace

void HourlyChime::Check9_Click(bool ticked) {
  view_.check9 = ticked;
  store_.WriteNumber(setting::Check9, ticked ? 1 : 0);
}

void HourlyChime::HourBox_Click(int hour, bool ticked) {
  if (hour < 0 || hour >= kHours) return;
  view_.hours[hour] = ticked;
  store_.WriteNumber(HourBox(hour), ticked ? 1 : 0);
}

void HourlyChime::Restore() {
  const bool check9 = store_.ReadNumber(setting::Check9) == 1;
  if (check9 != view_.check9) Check9_Click(check9);
  for (int hour = 0; hour < kHours; ++hour) {
    const bool ticked = store_.ReadNumber(HourBox(hour)) == 1;
    if (ticked != view_.hours[hour]) HourBox_Click(hour, ticked);
  }
}

void HourlyChime::Tick(const LocalTime& now) {
  if (!view_.check9 || now.minute != 0 || now.second < 1) return;
  if (now.hour < 0 || now.hour >= kHours || !view_.hours[now.hour]) return;
  // Forgotten by the order they were played in, never by their dates: a chime just played under a
  // clock set back past everything remembered would otherwise be forgotten at once, and repeat.
  const long long hour = HourOfDate(now);
  if (std::find(chimed_.begin(), chimed_.end(), hour) != chimed_.end()) return;
  chimed_.push_back(hour);
  if (chimed_.size() > kRemembered) chimed_.pop_front();
  sound_.PlayOnSecond(programFolder_ + "\\sound\\zdbs" + std::to_string(now.hour) + ".wav");
}

}  // namespace tkd
