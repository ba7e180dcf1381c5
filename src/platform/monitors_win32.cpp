// MonitorsWin32: each monitor's bounds, and its DPI from GetDpiForMonitor where Windows has it.
#include "platform/monitors_win32.h"

#include <windows.h>

#include "platform/system_library_win32.h"

namespace tkd {
namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

BOOL CALLBACK Add(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
        {{r.left, r.top, r.right - r.left, r.bottom - r.top}, DpiOfMonitor(monitor)});
  }
  return TRUE;
}

}  // namespace

int DpiOfMonitor(HMONITOR monitor) {
  static const auto getDpi = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitor && getDpi && SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y)) && x > 0) return static_cast<int>(x);
  return SystemDpi();
}

std::vector<Monitor> MonitorsWin32::Attached() {
  if (!known_.empty()) return known_;
  EnumDisplayMonitors(nullptr, nullptr, Add, reinterpret_cast<LPARAM>(&known_));
  if (known_.empty())  // no answer at all: the primary screen as the system reports it
    known_.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, SystemDpi()});
  return known_;
}

}  // namespace tkd
