// The overview page ("概况"): first-use date, total and this run's use, distance and points.
#pragma once

#include <string>

#include "settings/settings_store.h"

namespace tkd {

struct OverviewView {
  std::string label27 = "首次使用日期：";  // "首次使用本软件的日期：" and the date
  std::string label30 = "积分：";          // "积分：7分"
  std::string label32, label33, label34;  // total use, distance (a copy of the odometer's), this run
};

// One point for every full 100 m of mouse travel over all runs, one for every full hour of use.
double Points(double allMovePixels, double usageSeconds);

class Overview {
 public:
  explicit Overview(SettingsStore& store) : store_(store) {}

  // Start-up: the stored first-use date, or today's (written) when it reads 0.
  void RestoreFirstUseDate(const std::string& today);
  // Every tick, after the odometer: points, distance copy, total use and this run.
  void Refresh(double allMovePixels, double usageSeconds, double js0, const std::string& distanceText);

  const OverviewView& View() const { return view_; }

 private:
  SettingsStore& store_;
  OverviewView view_;
};

}  // namespace tkd
