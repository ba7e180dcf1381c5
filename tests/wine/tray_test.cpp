// The tray adapter's balloon as Wine's notification area shows it: a balloon tool tip of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "platform/tray_win32.h"
#include "support/balloon_win32.h"

namespace tkd {
namespace {


// Pumps this thread's messages until `done` or the time is up.
template <class Done>
bool Within(std::chrono::milliseconds limit, Done done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(50);
  }
}

TEST(TrayWin32, ShowsTheWarningBalloonWithItsTextAndTakesItAwayAgain) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner);
  TrayWin32 tray;
  tray.SetWindow(owner, LoadIconW(nullptr, IDI_APPLICATION), WM_APP + 1);
  ASSERT_TRUE(Within(std::chrono::seconds(20), [&] { return tray.Add("TiKoDan(V1.4.6)"); })) << "no notification area";
  tray.SetTip("TiKoDan(V1.4.6) 22:30 关机");
  const std::wstring expected = L"你的电脑将于 22:30 自动关机，请保存好你的文件";
  std::wstring text;
  tray.ShowBalloon("TiKoDan", "你的电脑将于 22:30 自动关机，请保存好你的文件");
  EXPECT_TRUE(Within(std::chrono::seconds(10), [&] { return FindTrayBalloon(&text) && text == expected; })) << "shows " << text.size();
  tray.HideBalloon();
  EXPECT_TRUE(Within(std::chrono::seconds(5), [&] { return !FindTrayBalloon(&text); }));
  tray.Remove();
  DestroyWindow(owner);
}

}  // namespace
}  // namespace tkd
