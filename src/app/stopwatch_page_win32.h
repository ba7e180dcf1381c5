// The stopwatch page ("TiKoDan"): display, status line, start/stop, pause/continue, minutes and mode.
#pragma once

#include "app/page_win32.h"
#include "timing/stopwatch.h"

namespace tkd {

class StopwatchPageWin32 : public PageWin32 {
 public:
  explicit StopwatchPageWin32(Stopwatch& stopwatch);

  void Create(Controls& controls, const Fonts& fonts) override;
  void Layout(Controls& controls, const RECT& area, int dpi) override;
  void Render(Controls& controls) override;
  bool OnCommand(Controls& controls, int id, int code) override;
  HBRUSH OnCtlColorStatic(HDC dc, int id) override;

 private:
  Stopwatch& stopwatch_;
  UniqueGdi<HBRUSH> displayBrush_;
  Rgb shownColour_ = kBlue;
};

}  // namespace tkd
