// The tray adapter's balloon as Wine's notification area shows it: a balloon tool tip of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/tray_win32.h"
#include "support/balloon_win32.h"

namespace tkd {
namespace {

// Pumps this thread's messages until `done`, for at most `ms`.
template <class Done>
bool Within(DWORD ms, Done done) {
  for (const DWORD end = GetTickCount() + ms; !done(); Sleep(50)) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (GetTickCount() > end) return false;
  }
  return true;
}

TEST(TrayWin32, ShowsTheWarningBalloonWithItsTextAndTakesItAwayAgain) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  TrayWin32 tray;
  tray.SetWindow(owner, LoadIconW(nullptr, IDI_APPLICATION), WM_APP + 1);
  ASSERT_TRUE(Within(20000, [&] { return tray.Add("TiKoDan(V1.4.6)"); })) << "no notification area";
  std::wstring text;
  tray.ShowBalloon("TiKoDan", "你的电脑将于 22:30 自动关机，请保存好你的文件");
  EXPECT_TRUE(Within(10000, [&] { return FindTrayBalloon(&text) && text == L"你的电脑将于 22:30 自动关机，请保存好你的文件"; }));
  tray.HideBalloon();
  EXPECT_TRUE(Within(5000, [&] { return !FindTrayBalloon(&text); })) << "still shows";
  tray.Remove();
  DestroyWindow(owner);
}

}  // namespace
}  // namespace tkd
