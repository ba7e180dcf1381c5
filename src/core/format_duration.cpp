// FormatDuration: seconds to h:mm:ss without rounding.
#include "core/format_duration.h"

#include <cmath>

#include "core/number_text.h"

namespace tkd {
namespace {

std::string TwoDigits(double part) {
  std::string text = NumberText(part);
  return part < 10 ? "0" + text : text;
}

}  // namespace

std::string FormatDuration(const double& seconds) {
  if (!std::isfinite(seconds)) return "0:00:00";
  // The seconds within the hour come from fmod, which is exact, so a value just below a whole
  // hour can never produce a negative minute or a 60th minute through rounding.
  double withinHour = std::fmod(seconds, 3600.0);
  if (withinHour < 0) withinHour += 3600.0;
  if (withinHour >= 3600.0) withinHour = 0;  // a tiny negative fraction rounded up to a full hour
  double hours = std::round((seconds - withinHour) / 3600.0);
  double minutes = std::floor(withinHour / 60.0);
  double secs = withinHour - 60.0 * minutes;
  return NumberText(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(secs);
}

}  // namespace tkd
