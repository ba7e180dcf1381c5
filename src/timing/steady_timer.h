// A one-second interval timer kept in step with a monotonic clock, so late ticks never lose time.
#pragma once

#include <cstdint>

namespace tkd {

// The n-th tick falls due n intervals after the timer was enabled. A tick delivered late is
// followed at once by the ones it held up, up to a minute of them; each tick still stands for
// exactly one interval, since callers count ticks and never compute time from the clock.
inline constexpr std::uint64_t kMostTicksCaughtUp = 60;

class SteadyTimer {
 public:
  explicit SteadyTimer(std::uint32_t intervalMs = 1000) : intervalMs_(intervalMs) {}

  // Enabling a stopped timer starts counting intervals from `nowMs`; enabling a running one,
  // or disabling a stopped one, changes nothing.
  void SetEnabled(bool enabled, std::uint64_t nowMs);
  bool Enabled() const { return enabled_; }

  // Consumes and returns one tick if one is due at `nowMs`.
  bool TakeDueTick(std::uint64_t nowMs);

  // Milliseconds until the next tick falls due (0 when one is due already).
  std::uint32_t MsUntilNextTick(std::uint64_t nowMs) const;

 private:
  std::uint64_t NextDue() const { return startMs_ + (ticksTaken_ + 1) * intervalMs_; }

  std::uint32_t intervalMs_;
  bool enabled_ = false;
  std::uint64_t startMs_ = 0;
  std::uint64_t ticksTaken_ = 0;
};

}  // namespace tkd
