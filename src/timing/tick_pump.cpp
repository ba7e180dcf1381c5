// TickPump::RunDue: the catch-up loop shared by the shell and the tests.
#include "timing/tick_pump.h"

namespace tkd {

int TickPump::RunDue(const std::function<bool()>& tick) {
  int ran = 0;
  while (timer_.Enabled() && timer_.TakeDueTick(clock_.MonotonicMs())) {
    ++ran;
    if (!tick()) SetEnabled(false);
  }
  return ran;
}

}  // namespace tkd
