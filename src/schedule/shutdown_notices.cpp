// ShutdownNotices: each way's stages, and the balloon that goes when its shutdown does.
#include "schedule/shutdown_notices.h"

#include <cmath>

namespace tkd {
namespace {

constexpr double kTenMinutesLeft = 600, kOneMinuteLeft = 60;

}  // namespace

std::string NoticeText(const ComingShutdown& coming) {
  if (coming.way != kAfterMinutes) return "你的电脑将于 " + coming.at + " " + kSaveYourWork;
  const long long minutes = static_cast<long long>(std::ceil(coming.secondsLeft / 60));
  return "你的电脑将于 " + std::to_string(minutes) + " 分钟后" + kSaveYourWork;
}

NoticeDue ShutdownNotices::Tick(const std::vector<ComingShutdown>& coming, bool looking) {
  NoticeDue due;
  bool balloonStillComing = false;
  for (const ComingShutdown& c : coming) {
    const int stage = c.secondsLeft <= kOneMinuteLeft ? kOneMinute : c.secondsLeft <= kTenMinutesLeft ? kTenMinutes : kNone;
    Noticed& noticed = noticed_[c.way];
    if (noticed.moment != c.moment) {
      noticed.moment = c.moment;
      // A clock-time way seen for the first time inside its last ten minutes warns at once, as
      // its label does; a countdown armed with ten minutes or less to go gives no ten-minute one.
      noticed.stage = c.way == kAfterMinutes ? stage : kNone;
    }
    if (balloon_ && balloon_->way == c.way && balloon_->moment == c.moment) balloonStillComing = true;
    if (stage <= noticed.stage) continue;
    noticed.stage = stage;
    if (looking || due.show) continue;
    due.show = NoticeText(c);
    balloon_ = Shown{c.way, c.moment};
    balloonStillComing = true;
  }
  if (balloon_ && !balloonStillComing) {
    balloon_.reset();
    due.withdraw = true;
  }
  return due;
}

}  // namespace tkd
