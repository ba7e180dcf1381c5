// Overview: the first-use date and the per-second usage and points labels.
#include "stats/overview.h"

#include <cmath>

#include "core/format_duration.h"
#include "core/number_text.h"
#include "stats/odometer.h"

namespace tkd {

double Points(double allMovePixels, double usageSeconds) {
  return std::floor(allMovePixels * kMillimetresPerPixel / 100000) + std::floor(usageSeconds / 3600);
}

void Overview::RestoreFirstUseDate(const std::string& today) {
  std::string date = Restored(setting::firstDate, store_.Read(setting::firstDate));
  if (date.empty()) {
    date = today;
    store_.Write(setting::firstDate, today);
  }
  view_.label27 = "首次使用本软件的日期：" + date;
}

void Overview::Refresh(double allMovePixels, double usageSeconds, double js0, const std::string& distanceText) {
  view_.label30 = "积分：" + NumberText(Points(allMovePixels, usageSeconds)) + "分";
  view_.label33 = distanceText;
  view_.label32 = FormatDuration(usageSeconds);
  view_.label34 = "软件本次已运行  " + FormatDuration(js0);
}

}  // namespace tkd
