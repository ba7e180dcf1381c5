// FormHide's load and timer, and the promotion step.
#include "web/advertising.h"

#include <cmath>

namespace tkd {

std::int16_t GetTaskbarHeight(const Screen& screen) {
  const double screenPixels = screen.height / screen.twipsPerPixelX;
  return static_cast<std::int16_t>(std::lround((screenPixels - screen.workAreaBottom) * screen.twipsPerPixelX));
}

// A 32-bit xorshift; the top 24 bits make a float in [0, 1) exactly.
float AdSequence::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(state_ >> 8) / 16777216.0f;
}

AdPanel::AdPanel(SettingsStore& store, const std::string& siteBase, AdSequence& sequence, const Screen& screen,
                 double outerWidth, double outerHeight) {
  view_.place = {screen.width - outerWidth, screen.height - outerHeight - GetTaskbarHeight(screen), outerWidth,
                 outerHeight};
  const int k = sequence.NextPage();
  view_.url = siteBase + "tkd/ad/ad" + std::to_string(k) + ".asp";
  view_.caption = "ad" + std::to_string(k);
  adTime_ = store.ReadNumber(setting::ADtime);
  if (adTime_ <= 0) adTime_ = 180;
}

void AdPanel::Timer1_Timer() {
  t1_ += 1;
  if (t1_ > adTime_) view_.open = false;
}

bool Advertising::OpenPanel(const Screen& screen, double outerWidth, double outerHeight) {
  if (panel_) return false;
  panel_.emplace(store_, web_.site.base, sequence_, screen, outerWidth, outerHeight);
  return true;
}

void Advertising::PanelTimer() {
  if (!panel_) return;
  panel_->Timer1_Timer();
  if (!panel_->View().open) panel_.reset();
}

void Advertising::PromotionTick(double usageTotal, double adInterval) {
  const double period = std::trunc(adInterval * kPromotionUnit);
  if (web_.site.promo.empty() || period < 1) return;
  if (std::fmod(std::round(usageTotal), period) == 0 && usageTotal > 0) web_.browser.Open(web_.site.promo);
}

}  // namespace tkd
