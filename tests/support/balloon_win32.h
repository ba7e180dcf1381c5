// Wine's notification area shows a tray balloon as a balloon tool tip of its own (explorer's).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tkd {

// The visible balloon tool tip of another process, with its text; nullptr while there is none.
inline HWND FindTrayBalloon(std::wstring* text) {
  struct Found {
    HWND window;
    std::wstring* text;
  } found{nullptr, text};
  EnumWindows([](HWND window, LPARAM parameter) -> BOOL {
    auto& f = *reinterpret_cast<Found*>(parameter);
    wchar_t name[64]{}, buffer[512]{};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || !GetClassNameW(window, name, 64) || std::wstring(name) != TOOLTIPS_CLASSW ||
        !IsWindowVisible(window) || !(GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON))
      return TRUE;
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &length);
    *f.text = buffer;
    f.window = window;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

}  // namespace tkd
