// The monitors port: EnumDisplayMonitors with each monitor's own DPI.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

// A monitor's DPI: its own scale where Windows scales each monitor (8.1 and later), else the
// system's (Windows 7).
int DpiOfMonitor(HMONITOR monitor);

// Asked every second by the window's geometry, so the answer is kept until the displays change.
class MonitorsWin32 : public Monitors {
 public:
  std::vector<Monitor> Attached() override;
  // WM_DISPLAYCHANGE or WM_DPICHANGED: monitors came, went, moved or changed their scale.
  void Forget() { known_.clear(); }

 private:
  std::vector<Monitor> known_;
};

}  // namespace tkd
