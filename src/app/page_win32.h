// What the main window's frame asks of each tab page's Win32 shell.
#pragma once

#include <windows.h>

#include "app/controls_win32.h"

namespace tkd {

// A page makes its controls the first time it is shown, lays them out in the area below the
// tabs, renders its view-model into them and forwards their notifications to it.
class PageWin32 {
 public:
  virtual ~PageWin32() = default;
  virtual void Create(Controls& controls, const Fonts& fonts) = 0;
  virtual void Layout(Controls& controls, const RECT& area, int dpi) = 0;
  virtual void Render(Controls& controls) = 0;
  // True when the notification was this page's; the frame then renders and re-arms timers.
  virtual bool OnCommand(Controls& controls, int id, int code) = 0;
  // The brush and colours of a static control that paints itself specially, or nullptr.
  virtual HBRUSH OnCtlColorStatic(HDC, int /*id*/) { return nullptr; }
};

}  // namespace tkd
