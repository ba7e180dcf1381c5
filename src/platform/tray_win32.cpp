// TrayWin32: Shell_NotifyIconW add and delete; a failure leaves things as they are.
#include "platform/tray_win32.h"

#include <shellapi.h>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

constexpr UINT kIconId = 1;

// shell32 is loaded the first time the window closes to the tray.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  static const auto notify = SystemFunction<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
  return notify && notify(message, data);
}

}  // namespace

void TrayWin32::SetWindow(HWND window, HICON icon, UINT callbackMessage) {
  window_ = window;
  icon_ = icon;
  callbackMessage_ = callbackMessage;
}

NOTIFYICONDATAW TrayWin32::Data() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kIconId;
  return data;
}

bool TrayWin32::Add(const std::string& tip) {
  NOTIFYICONDATAW data = Data();
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = icon_;
  lstrcpynW(data.szTip, Utf8ToWide(tip).c_str(), ARRAYSIZE(data.szTip));
  // An add fails when the icon is there already (a "TaskbarCreated" that lost nothing) as well as
  // when there is no notification area; only in the first case does a modify succeed.
  return NotifyIcon(NIM_ADD, &data) || NotifyIcon(NIM_MODIFY, &data);
}

void TrayWin32::SetTip(const std::string& tip) {
  NOTIFYICONDATAW data = Data();
  data.uFlags = NIF_TIP;
  lstrcpynW(data.szTip, Utf8ToWide(tip).c_str(), ARRAYSIZE(data.szTip));
  NotifyIcon(NIM_MODIFY, &data);
}

// An empty text takes the balloon away. Windows 10 and later show it as a notification, which
// stays in the list once it has gone from the screen.
void TrayWin32::ShowBalloon(const std::string& title, const std::string& text) {
  NOTIFYICONDATAW data = Data();
  data.uFlags = NIF_INFO;
  lstrcpynW(data.szInfo, Utf8ToWide(text).c_str(), ARRAYSIZE(data.szInfo));
  lstrcpynW(data.szInfoTitle, Utf8ToWide(title).c_str(), ARRAYSIZE(data.szInfoTitle));
  data.dwInfoFlags = NIIF_WARNING;
  data.uTimeout = 30000;  // ignored since Vista, which shows it for the user's chosen time
  NotifyIcon(NIM_MODIFY, &data);
}

void TrayWin32::Remove() {
  NOTIFYICONDATAW data = Data();
  NotifyIcon(NIM_DELETE, &data);
}

}  // namespace tkd
