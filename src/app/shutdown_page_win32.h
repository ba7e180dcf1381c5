// The scheduled shutdown page ("定时关机"): four ways in rows, their warnings and the countdown line.
#pragma once

#include "app/page_win32.h"
#include "schedule/shutdown_scheduler.h"

namespace tkd {

class ShutdownPageWin32 : public PageWin32 {
 public:
  explicit ShutdownPageWin32(ShutdownScheduler& scheduler) : scheduler_(scheduler) {}

  void Create(Controls& controls, const Fonts& fonts) override;
  void Layout(Controls& controls, const RECT& area, int dpi) override;
  void Render(Controls& controls) override;
  bool OnCommand(Controls& controls, int id, int code) override;
  HBRUSH OnCtlColorStatic(HDC dc, int id) override;

 private:
  ShutdownScheduler& scheduler_;
};

}  // namespace tkd
