// The balloons that tell a user who is not looking at the shutdown page that the computer will
// soon be forced off: when a way's ten-minute warning begins, and one minute before.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "schedule/shutdown_scheduler.h"

namespace tkd {

inline constexpr char kSaveYourWork[] = "自动关机，请保存好你的文件";

// What one tick asks of the notification area.
struct NoticeDue {
  std::optional<std::string> show;  // a balloon's text
  bool withdraw = false;            // the balloon shown lost its shutdown (cleared, or moved)
};

class ShutdownNotices {
 public:
  // Once a tick of either timer, with the shutdowns now armed. `looking`: the window is shown,
  // not minimised, on the shutdown page, where the warning is seen anyway. A moment passed while
  // the user looked is not shown later; each way's moment is shown at most once a stage.
  NoticeDue Tick(const std::vector<ComingShutdown>& coming, bool looking);

 private:
  enum Stage { kNone = 0, kTenMinutes, kOneMinute };
  struct Noticed {
    std::optional<ShutdownMoment> moment;
    int stage = kNone;
  };
  std::array<Noticed, kShutdownWays> noticed_;
  struct Shown {
    int way;
    ShutdownMoment moment;
  };
  std::optional<Shown> balloon_;  // the way whose balloon was shown last
};

// "你的电脑将于 22:30 自动关机，请保存好你的文件", or "… 10 分钟后 …" for the countdown.
std::string NoticeText(const ComingShutdown& coming);

}  // namespace tkd
