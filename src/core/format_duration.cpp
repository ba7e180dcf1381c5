// FormatDuration: seconds to h:mm:ss without rounding the seconds away.
#include "core/format_duration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/number_text.h"

namespace tkd {
namespace {

constexpr int kSignificantDigits = 15;

// Seconds within a minute (0 <= s < 60) in fixed notation with at most 15 significant digits and
// no trailing zeros: 59.5 gives "59.5", 1e-5 gives "0.00001", never an exponent.
std::string SecondsText(double seconds) {
  const int integerDigits = seconds >= 10 ? 2 : 1;
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, seconds,
                                    std::chars_format::fixed, kSignificantDigits - integerDigits);
  if (error != std::errc()) return "0";
  std::string text(buffer, end);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// Two digits at least, judged by the printed text rather than the value: 9.99999999999999999
// prints as "10" and needs no leading zero.
std::string Padded(std::string text) {
  if (std::min(text.find('.'), text.size()) < 2) text.insert(0, 1, '0');
  return text;
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
  std::string secs = SecondsText(withinHour - 60.0 * minutes);
  // A fraction that prints as a whole minute carries, as a clock would show it.
  if (NumericReading(secs) >= 60) {
    secs = "0";
    if (++minutes == 60) {
      minutes = 0;
      hours += 1;
    }
  }
  return NumberText(hours) + ":" + Padded(NumberText(minutes)) + ":" + Padded(secs);
}

}  // namespace tkd
