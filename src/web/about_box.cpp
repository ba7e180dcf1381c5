// FormAbout's load.
#include "web/about_box.h"

#include "core/format_duration.h"

namespace tkd {

AboutBox::AboutBox(const WebPorts& web, const std::string& versionText, double usageSeconds) : web_(web) {
  view_.label1 = about_text::kVersion + versionText;
  view_.label3 = about_text::kUsage + FormatDuration(usageSeconds);
  view_.label5 = web.site.base;
  view_.label6 = about_text::kTerms;
}

}  // namespace tkd
