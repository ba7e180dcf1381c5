// Form1FrameWin32: state, bounds and the topmost band of the main window.
#include "platform/window_frame_win32.h"

#include "platform/monitors_win32.h"

namespace tkd {

int DpiOfWindow(HWND hwnd) { return DpiOfMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY)); }

void Form1FrameWin32::SetHandle(HWND hwnd) {
  hwnd_ = hwnd;
  if (hwnd) SetDpi(DpiOfWindow(hwnd));
}

bool Form1FrameWin32::IsNormal() { return hwnd_ && !IsIconic(hwnd_) && !IsZoomed(hwnd_); }

// Asked every second: the band is changed only when it is not already right (another program
// may have changed it). Without SWP_NOACTIVATE the window would be activated, taking the
// keyboard away from whatever program the user is typing in.
void Form1FrameWin32::SetTopmost(bool topmost) {
  if (!hwnd_ || ((GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == topmost) return;
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

PixelRect Form1FrameWin32::Bounds() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace tkd
