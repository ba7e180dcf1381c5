// A minimal Win32 program with one window: the reference TiKoDan.exe's start-up, memory and idle figures are set against.
// Built a second time as the themed reference (TKD_THEMED): the same window with one push button,
// under a manifest that asks for the version 6 common controls, as every themed program does.
// Built a third time as the clock in the caption (TKD_CAPTION_CLOCK): the same window showing the
// time of day in its caption, changed every second, as TiKoDan's caption must be.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"TkdBaselineWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef TKD_CAPTION_CLOCK
  if (message == WM_TIMER) {
    wchar_t time[64];
    if (GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 64)) SetWindowTextW(window, time);
    return 0;
  }
#endif
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  HWND window = CreateWindowExW(0, kClassName, L"Baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 360, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
#ifdef TKD_THEMED
  // With version 6 asked for, the system loads the common controls for the first button.
  CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8, 80, 24, window, nullptr,
                  instance, nullptr);
#endif
#ifdef TKD_CAPTION_CLOCK
  SetTimer(window, 1, 1000, nullptr);
#endif
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
