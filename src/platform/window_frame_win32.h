// The main window as the model sees it, and the DPI of the monitor a window is on.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

inline constexpr int kBaseDpi = 96;

// The DPI of the monitor that holds most of the window: its own scale where Windows scales each
// monitor (8.1 and later), else the system's.
int DpiOfWindow(HWND hwnd);

// Over whichever window handle the shell has made. It outlives both the model and the window,
// so neither ever points at something destroyed.
class Form1FrameWin32 : public WindowFrame {
 public:
  void SetHandle(HWND hwnd);
  // The window's DPI: that of its monitor when it is made, then what WM_DPICHANGED says.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : kBaseDpi; }

  bool IsNormal() override;
  PixelRect Bounds() override;  // physical pixels: the program is aware of each monitor's DPI
  void SetTopmost(bool topmost) override;

 private:
  HWND hwnd_ = nullptr;
  int dpi_ = kBaseDpi;
};

}  // namespace tkd
