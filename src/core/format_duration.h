// Seconds as hours:minutes:seconds, the form of every duration the program shows.
#pragma once

#include <string>

namespace tkd {

// h = floor(d / 3600), then two-digit minutes and two-digit seconds; hours are neither padded
// nor limited, seconds keep their fraction (59.5 gives 0:00:59.5, -5 gives -1:59:55).
std::string FormatDuration(const double& seconds);

}  // namespace tkd
