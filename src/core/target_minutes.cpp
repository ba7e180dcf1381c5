// TargetMinutes and TargetSeconds: the leading-number reading of the minutes box.
#include "core/target_minutes.h"

#include <cmath>

#include "core/number_text.h"

namespace tkd {
namespace {

constexpr double kResolutionsPerSecond = 1e9;
// Beyond this the double has no nanoseconds left to snap.
constexpr double kLargestSnapped = 1e6;

}  // namespace

double TargetMinutes(const std::string& text) {
  const double minutes = NumericReading(text);
  return std::isfinite(minutes * 60) ? minutes : 0;
}

double TargetSeconds(const std::string& text) {
  const double seconds = TargetMinutes(text) * 60;
  if (std::fabs(seconds) >= kLargestSnapped) return seconds;
  return std::round(seconds * kResolutionsPerSecond) / kResolutionsPerSecond;
}

}  // namespace tkd
