// The hourly chime page ("整点报时"): the master switch and a frame of 24 hour boxes.
#pragma once

#include "app/page_win32.h"
#include "schedule/hourly_chime.h"

namespace tkd {

class ChimePageWin32 : public PageWin32 {
 public:
  explicit ChimePageWin32(HourlyChime& chime) : chime_(chime) {}

  void Create(Controls& controls, const Fonts& fonts) override;
  void Layout(Controls& controls, const RECT& area, int dpi) override;
  void Render(Controls& controls) override;
  bool OnCommand(Controls& controls, int id, int code) override;

 private:
  HourlyChime& chime_;
};

}  // namespace tkd
