// libFuzzer harness: reading and writing numbers, durations, the countdown target, every restore
// rule of the settings table and the odometer's stored distances, on any text and any double.
#include <cmath>
#include <cstring>
#include <string>

#include "core/format_duration.h"
#include "core/number_text.h"
#include "core/target_minutes.h"
#include "fuzz_checks.h"
#include "settings/settings_table.h"
#include "stats/odometer.h"

namespace {
using namespace tkd;
using fuzz::BadText;

// Below this many pixels a stored distance, floor(x) × 37 + 4219, is exact in a double.
constexpr double kExactPixels = 9007199254740992.0 / kDistanceFactor;
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void CheckNumber(double x) {
  const std::string text = NumberText(x), exact = NumberTextExact(x);
  TKD_CHECK(!BadText(text) && !BadText(exact) && !BadText(BlankNumberText(x)) && !BadText(FixedText(x, 3)));
  if (!std::isfinite(x)) return;
  TKD_CHECK(std::fabs(NumericReading(text) - x) <= std::fabs(x) * 5.1e-15);  // 15 digits
  TKD_CHECK(NumericReading(exact) == x);
}

// h:mm:ss with the seconds' fraction: fields in range, and together the seconds they were made of.
void CheckDuration(double seconds) {
  const std::string d = FormatDuration(seconds);
  const std::size_t a = d.find(':'), b = d.rfind(':');
  TKD_CHECK(!BadText(d) && a != std::string::npos && b == a + 3 && d.size() >= b + 3);
  TKD_CHECK(d[a + 1] <= '5' && IsDigit(d[a + 1]) && IsDigit(d[a + 2]) && d[b + 1] <= '5' && IsDigit(d[b + 1]) &&
            IsDigit(d[b + 2]) && (d.size() == b + 3 || d[b + 3] == '.'));
  if (!(std::fabs(seconds) < 1e9)) return;
  const double back = NumericReading(d) * 3600 + NumericReading(d.substr(a + 1)) * 60 + NumericReading(d.substr(b + 1));
  TKD_CHECK(std::fabs(back - seconds) < 1e-6);
}

// A restored text is the stored one, the row's fallback, or a number within the row's bounds.
void CheckRestored(const std::string& stored) {
  using K = RestoreKind;
  for (const Setting& row : SettingsTable()) {
    const RestoreRule& rule = row.rule;
    const std::string r = Restored(row, stored);
    const double v = NumericReading(r);
    const bool inside = StartsWithNumber(r) && (rule.low.open ? v > rule.low.at : v >= rule.low.at) &&
                        (rule.high.open ? v < rule.high.at : v <= rule.high.at);
    if (rule.kind == K::AsStored) TKD_CHECK(r == stored);
    else if (rule.kind == K::DateElseToday) TKD_CHECK(r.empty() || r == stored);
    else if (rule.kind == K::FirstRunWhenZero) TKD_CHECK(r == "0" || r == "1");
    else TKD_CHECK(r == rule.fallback || (rule.kind == K::NonZeroElse ? StartsWithNumber(r) && v != 0 : inside));
    if (rule.kind != K::AsStored && rule.kind != K::DateElseToday) TKD_CHECK(!BadText(r));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  double bits = 0;  // the first eight bytes as a double: every pattern, NaNs and subnormals too
  std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
  const double reading = NumericReading(text);
  TKD_CHECK(std::isfinite(reading) && (reading != 0 || !std::signbit(reading)));
  TKD_CHECK(StartsWithNumber(text) || reading == 0);
  for (double x : {bits, reading}) CheckNumber(x), CheckDuration(x);

  const double minutes = TargetMinutes(text), seconds = TargetSeconds(text);
  TKD_CHECK(std::isfinite(minutes * 60) && std::fabs(seconds - minutes * 60) <= 1e-9);
  CheckRestored(text);

  if (const auto pixels = DecodeDistance(text)) {
    TKD_CHECK(std::isfinite(*pixels) && *pixels == std::floor(*pixels));
    if (std::fabs(*pixels) < kExactPixels) TKD_CHECK(DecodeDistance(EncodeDistance(*pixels)) == *pixels);
  }
  return 0;
}
