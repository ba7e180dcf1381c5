// SteadyTimer: due ticks counted from the moment the timer was enabled.
#include "timing/steady_timer.h"

namespace tkd {

void SteadyTimer::SetEnabled(bool enabled, std::uint64_t nowMs) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    startMs_ = nowMs;
    ticksTaken_ = 0;
  }
}

bool SteadyTimer::TakeDueTick(std::uint64_t nowMs) {
  if (!enabled_ || nowMs < NextDue()) return false;
  // After a long stall (a suspended virtual machine, a standby the clock did not exclude) the
  // timer starts afresh with one tick now, rather than running a burst of catch-up ticks.
  if ((nowMs - NextDue()) / intervalMs_ >= kMostTicksCaughtUp) {
    startMs_ = nowMs - intervalMs_;
    ticksTaken_ = 0;
  }
  ++ticksTaken_;
  return true;
}

std::uint32_t SteadyTimer::MsUntilNextTick(std::uint64_t nowMs) const {
  const std::uint64_t due = NextDue();
  return due <= nowMs ? 0 : static_cast<std::uint32_t>(due - nowMs);
}

}  // namespace tkd
