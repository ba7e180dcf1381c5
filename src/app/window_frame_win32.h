// The main window as the model sees it, and the DPI its measures are converted with.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

inline constexpr int kBaseDpi = 96;

// The window's own DPI (its monitor's, with per-monitor awareness), or the system's without one.
int DpiOfWindow(HWND hwnd);

// Over whichever window handle the frame has made. It outlives both the model and the window,
// so neither ever points at something destroyed.
class Form1FrameWin32 : public WindowFrame {
 public:
  void SetHandle(HWND hwnd) { hwnd_ = hwnd; }
  bool IsNormal() override;
  PixelRect Bounds() override;  // physical pixels: the program is aware of each monitor's DPI
  void SetTopmost(bool topmost) override;

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace tkd
