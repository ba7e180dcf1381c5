// Wine's notification area shows a tray balloon as a balloon tool tip of its own (explorer's).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tkd {

// The visible balloon tool tip of another process, with its text; nullptr while there is none.
inline HWND FindTrayBalloon(std::wstring* text) {
  for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr;) {
    DWORD process = 0;
    GetWindowThreadProcessId(tip, &process);
    if (process == GetCurrentProcessId() || !IsWindowVisible(tip) || !(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON))
      continue;
    wchar_t buffer[512]{};  // the system carries WM_GETTEXT across processes
    DWORD_PTR length = 0;
    SendMessageTimeoutW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &length);
    *text = buffer;
    return tip;
  }
  return nullptr;
}

}  // namespace tkd
