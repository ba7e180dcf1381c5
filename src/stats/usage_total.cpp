// UsageTotal: restore, count and store "js00".
#include "stats/usage_total.h"

#include "core/number_text.h"

namespace tkd {

void UsageTotal::Restore() {
  const double main = store_.ReadNumber(setting::js00);
  const double copy = store_.ReadNumber(setting::js00Copy);
  seconds_ = main == copy ? main : 0;
}

void UsageTotal::Store() {
  const std::string text = BlankNumberText(seconds_);
  store_.Write(setting::js00, text);
  store_.Write(setting::js00Copy, text);
}

}  // namespace tkd
