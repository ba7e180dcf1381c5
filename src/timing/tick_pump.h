// TickPump: runs a one-second handler once for every interval that has fallen due.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/ports.h"
#include "timing/steady_timer.h"

namespace tkd {

// The shell's window timer only wakes the pump; the pump decides how many ticks are due from
// the monotonic clock, so a thread held up for three seconds still counts three ticks.
class TickPump {
 public:
  explicit TickPump(Clock& clock, std::uint32_t intervalMs = 1000)
      : clock_(clock), timer_(intervalMs) {}

  // Enabling a stopped pump counts intervals from now; other changes do nothing.
  void SetEnabled(bool enabled) { timer_.SetEnabled(enabled, clock_.MonotonicMs()); }
  bool Enabled() const { return timer_.Enabled(); }

  // Runs `tick` for each due interval, oldest first. `tick` returns whether the pump stays on
  // (a countdown that ends turns its timer off); returns the number of ticks run.
  int RunDue(const std::function<bool()>& tick);

  // When the window timer should wake the pump next.
  std::uint32_t MsUntilNextTick() const { return timer_.MsUntilNextTick(clock_.MonotonicMs()); }

 private:
  Clock& clock_;
  SteadyTimer timer_;
};

}  // namespace tkd
