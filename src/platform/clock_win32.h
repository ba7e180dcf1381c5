// The clock port: a sleep-excluding monotonic count and the local wall-clock time.
#pragma once

#include "platform/ports.h"

namespace tkd {

class ClockWin32 : public Clock {
 public:
  std::uint64_t MonotonicMs() override;
  LocalTime Now() override;
};

}  // namespace tkd
