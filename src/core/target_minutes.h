// The stopwatch's target: minutes as typed, and the seconds they stand for.
#pragma once

#include <string>

namespace tkd {

// The numeric reading of the minutes text, or 0 when that many minutes could not be counted in
// seconds (the seconds would overflow).
double TargetMinutes(const std::string& text);

// TargetMinutes × 60, snapped to a nanosecond: minutes × 60 in binary floating point is often a
// hair off a whole second (4.15 × 60 = 249.00000000000003), which would show as garbage and
// move the warning and the end off their ticks. 1.01 minutes still give 60.6 seconds.
double TargetSeconds(const std::string& text);

}  // namespace tkd
