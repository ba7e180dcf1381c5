// The newest-version query, the 360th-tick check and FormUpdate.
#include "web/update_check.h"

#include <cmath>

#include "core/number_text.h"
#include "web/page_text.h"

namespace tkd {

std::string VersionDisplay(double n) {
  const double hundreds = std::trunc(n / 100);
  const double tens = std::trunc((n - 100 * hundreds) / 10);
  return "V" + NumberText(hundreds) + "." + NumberText(tens) + "." + NumberText(n - 10 * std::trunc(n / 10));
}

void FetchLatestVersion(Http& http, const std::string& siteBase, int versionNumber,
                        std::function<void(const std::string&)> done) {
  http.Get(siteBase + kNewVersionPage, [versionNumber, done = std::move(done)](const std::string& page) {
    const std::string latest = ExtractBracketed(page);
    done(NumericReading(latest) > versionNumber ? latest : "");
  });
}

void UpdateCheck::Tick(double js0, std::function<void()> answered) {
  if (js0 != kUpdateCheckTick) return;
  FetchLatestVersion(web_.http, web_.site.base, versionNumber_,
                     guard_.Wrap([this, answered = std::move(answered)](const std::string& latest) {
                       offerDue_ = !latest.empty();
                       if (answered) answered();
                     }));
}

void UpdateCheck::OfferNewVersion() {
  if (!offerDue_) return;
  offerDue_ = false;
  if (prompt_.Confirm(update_text::kNewVersion, update_text::kNewVersionCaption))
    web_.browser.Open(web_.site.base + kDownloadPage);
}

void UpdateDialog::Form_Load(std::function<void()> changed) {
  view_.label2 = update_text::kCurrent + VersionText(version_);
  view_.label3.clear();
  view_.label4Visible = view_.command3Visible = false;
  const int current = VersionNumber(version_);
  web_.http.Get(web_.site.base + kNewVersionPage,
                guard_.Wrap([this, current, changed = std::move(changed)](const std::string& page) {
                  // Empty text is every failure of the fetch; a version number is above 0.
                  const double n = NumericReading(ExtractBracketed(page));
                  if (n <= 0) {
                    view_.label1 = update_text::kUnreachable;
                    view_.label4Visible = view_.command3Visible = true;
                  } else if (n > current) {
                    view_.label1 = update_text::kFound;
                    view_.label3 = update_text::kNewest + VersionDisplay(n);
                    view_.command1Visible = true;
                  } else {
                    view_.label1 = update_text::kUpToDate;
                  }
                  if (changed) changed();
                }));
}

void UpdateDialog::OpenDownloadPage() {
  web_.browser.Open(web_.site.base + kDownloadPage);
  view_.open = false;
}

}  // namespace tkd
