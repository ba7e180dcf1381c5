// HourlyChime: the 25 boxes and the once-an-hour check of the housekeeping tick.
#include "schedule/hourly_chime.h"

namespace tkd {
namespace {

// Chimes remembered: enough to span a clock set back by a day.
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
  if (!chimed_.insert(HourOfDate(now)).second) return;
  if (chimed_.size() > kRemembered) chimed_.erase(chimed_.begin());
  sound_.PlayOnSecond(programFolder_ + "\\sound\\zdbs" + std::to_string(now.hour) + ".wav");
}

}  // namespace tkd
