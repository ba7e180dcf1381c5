// UsageTotal: restore, count and store "js00".
#include "stats/usage_total.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace tkd {

// The tick writes the main value and then the copy: a program ended between the two writes (a
// power cut, a shutdown) leaves copies one second apart, and that total is kept, the larger one.
// Any other difference, or a copy that is not a number, starts again from 0: the guard against
// editing. A missing copy reads 0. Copies a second apart are made equal at once: otherwise a run
// cut off in the same place again would leave them two seconds apart, and the total would be lost.
void UsageTotal::Restore() {
  const std::string main = store_.Read(setting::js00), copy = store_.Read(setting::js00Copy);
  const bool numbers = (main.empty() || StartsWithNumber(main)) && (copy.empty() || StartsWithNumber(copy));
  const double a = NumericReading(main), b = NumericReading(copy);
  seconds_ = numbers && std::fabs(a - b) <= 1 ? std::max(a, b) : 0;
  if (seconds_ > 0 && a != b) Store();
}

// In full where 15 digits would read back as less (a total edited to a fraction, or beyond 1e15).
void UsageTotal::Store() {
  const std::string text = BlankNumberTextExact(seconds_);
  store_.Write(setting::js00, text);
  store_.Write(setting::js00Copy, text);
}

}  // namespace tkd
