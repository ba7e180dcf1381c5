// The about box FormAbout, and the support page both menus open.
#pragma once

#include <string>

#include "web/web_ports.h"

namespace tkd {

inline constexpr char kSupportPage[] = "tkd/";

namespace about_text {
inline constexpr char kCaption[] = "About TiKoDan（TiKoDan）";
inline constexpr char kVersion[] = "当前版本为：";
inline constexpr char kOwnership[] = "本软件版权归 BrisoLaken 所有";
inline constexpr char kUsage[] = "您已使用本软件合计有 ";
inline constexpr char kSite[] = "官方网址：";
inline constexpr char kTerms[] =
    "声明：本软件是绿色软件，不用安装即可使用，不带任何插件，也没有病毒，不会改动您浏览器的主页，"
    "并且永久免费。本软件的一切权利归作者所有，任何人不得修改本软件的代码用于商业目的。";
}  // namespace about_text

struct AboutView {
  std::string caption = about_text::kCaption;
  std::string label1, label2 = about_text::kOwnership, label3, label4 = about_text::kSite;
  std::string label5;  // the site's address, drawn as a link
  std::string label6;  // the statement of terms
};

// Its texts are fixed when it loads: the total time of use does not move while it stays open.
class AboutBox {
 public:
  AboutBox(const WebPorts& web, const std::string& versionText, double usageSeconds);
  void Label5_Click() { web_.browser.Open(web_.site.base); }  // the box stays open
  const AboutView& View() const { return view_; }

 private:
  const WebPorts& web_;
  AboutView view_;
};

}  // namespace tkd
