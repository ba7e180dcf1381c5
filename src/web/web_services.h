// The web services of the main window: the steps of the housekeeping tick that talk to the
// vendor site, the advertising panel, and what the support, update and about commands open.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/version.h"
#include "web/about_box.h"
#include "web/advertising.h"
#include "web/ranking.h"
#include "web/update_check.h"

namespace tkd {

class WebServices {
 public:
  WebServices(SettingsStore& store, Prompt& prompt, const WebPorts& web, ProgramVersion version)
      : web_(web), version_(version), update_(web_, prompt, VersionNumber(version)), ranking_(store, web_),
        advertising_(store, web_) {}

  // Tick steps; each returns at once, and a fetch it starts finishes when its answer comes.
  void CheckForUpdateOnce(double js0, std::function<void()> answered) { update_.Tick(js0, std::move(answered)); }
  void OfferNewVersion() { update_.OfferNewVersion(); }
  void RefreshRankingOnce(double js0, std::function<void()> changed) {
    if (js0 == kRankTick) ranking_.Refresh(std::move(changed));
  }
  void OpenPromotionWhenDue(double usageTotal, double adInterval) {
    advertising_.PromotionTick(usageTotal, adInterval);
  }

  // "技术支持(&S)" on either menu.
  void OpenSupportPage() { web_.browser.Open(web_.site.base + kSupportPage); }
  // A new dialog for each opening of "检查更新(&K)"; it asks the site when it loads.
  std::unique_ptr<UpdateDialog> NewUpdateDialog() { return std::make_unique<UpdateDialog>(web_, version_); }
  // "关于本软件(&A)...": the box's texts as they are at this moment.
  std::unique_ptr<AboutBox> NewAboutBox(const std::string& versionText, double usageSeconds) {
    return std::make_unique<AboutBox>(web_, versionText, usageSeconds);
  }

  Ranking& ranking() { return ranking_; }
  const Ranking& ranking() const { return ranking_; }
  Advertising& advertising() { return advertising_; }
  const SiteAddresses& site() const { return web_.site; }

 private:
  WebPorts web_;
  ProgramVersion version_;
  UpdateCheck update_;
  Ranking ranking_;
  Advertising advertising_;
};

}  // namespace tkd
