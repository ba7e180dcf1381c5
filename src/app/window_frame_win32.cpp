// Form1FrameWin32: state, bounds and the topmost band of the main window.
#include "app/window_frame_win32.h"

namespace tkd {

int DpiOfWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (hwnd && getDpiForWindow) {
    if (UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

bool Form1FrameWin32::IsNormal() { return hwnd_ && !IsIconic(hwnd_) && !IsZoomed(hwnd_); }

// Without SWP_NOACTIVATE the window would be activated every second, taking the keyboard away
// from whatever program the user is typing in.
void Form1FrameWin32::SetTopmost(bool topmost) {
  if (hwnd_)
    SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

PixelRect Form1FrameWin32::Bounds() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace tkd
