// The hourly chime page ("整点报时"): a master switch, one box per hour, and the chime itself.
#pragma once

#include <array>
#include <deque>
#include <string>

#include "platform/ports.h"
#include "settings/settings_store.h"

namespace tkd {

struct ChimeView {
  bool check9 = false;                // "开启整点报时"
  std::array<bool, kHours> hours{};  // Check10 ... Check33, for hours 0 ... 23
  bool operator==(const ChimeView&) const = default;
};

class HourlyChime {
 public:
  HourlyChime(SettingsStore& store, SoundPlayers& sound, std::string programFolder)
      : store_(store), sound_(sound), programFolder_(std::move(programFolder)) {}

  // Each box stores its state at once; nothing else happens on a click.
  void Check9_Click(bool ticked);
  void HourBox_Click(int hour, bool ticked);  // Check10_Click ... Check33_Click

  // Start-up: each box ticked when its value reads exactly 1. Like a user's change, a state
  // that differs raises the box's handler, which stores it back.
  void Restore();

  // Once a second: plays "\sound\zdbs<h>.wav" through the second player in the first tick that
  // reads hour h, minute 0, second 1 or later, for a ticked hour with the master switch on.
  // Ticks keep to the monotonic clock, not to the wall clock's seconds, so a tick may skip
  // hh:00:01 or meet it twice: each hour of each date sounds once, and never at hh:00:00.
  void Tick(const LocalTime& now);

  const ChimeView& View() const { return view_; }

 private:
  SettingsStore& store_;
  SoundPlayers& sound_;
  std::string programFolder_;
  ChimeView view_;
  std::deque<long long> chimed_;  // date and hour of the latest chimes, oldest first
};

}  // namespace tkd
