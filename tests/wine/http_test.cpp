// HttpWin32 against the loopback site of tests/support/site_server.py (its address in TKD_TEST_SITE):
// what counts as an answer, the bounds on a fetch, the proxy, and a thread that never waits.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/browser_win32.h"
#include "platform/http_win32.h"

namespace tkd {
namespace {

using Seconds = std::chrono::duration<double>;

const std::string kSite = std::getenv("TKD_TEST_SITE") ? std::getenv("TKD_TEST_SITE") : "";

struct Fetch {
  const char* path;
  std::string body;  // empty: a failed fetch
  bool timesOut = false;
  std::optional<std::string> got = std::nullopt;
  double seconds = 0;
};

// Starts every fetch at once and pumps this thread's messages until all have answered, with a
// timer that renames `window` every second meanwhile; returns how often it was renamed.
int FetchAll(std::vector<Fetch>& fetches, HWND window) {
  HttpWin32 http;
  const auto start = std::chrono::steady_clock::now();
  std::size_t answered = 0;
  for (Fetch& f : fetches)
    http.Get(kSite + f.path, [&, f = &f](const std::string& body) {
      f->got = body;
      f->seconds = Seconds(std::chrono::steady_clock::now() - start).count();
      ++answered;
    });
  EXPECT_EQ(answered, 0u) << "an answer came inside Get";
  int renamed = 0;
  SetTimer(window, 1, 1000, nullptr);
  MSG msg;
  while (answered < fetches.size() && Seconds(std::chrono::steady_clock::now() - start).count() < 20 &&
         GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == window)
      SetWindowTextW(window, std::to_wstring(++renamed).c_str());
    DispatchMessageW(&msg);
  }
  KillTimer(window, 1);
  return renamed;
}

TEST(HttpWin32, OnlyA2xxBodyWithinTheBoundsCountsAndTheThreadGoesOnMeanwhile) {
  ASSERT_NE(kSite, "") << "run me through site_server.py --exec";
  std::vector<Fetch> fetches = {
      {"tkd/newver.htm", "<html><head><meta charset=\"utf-8\"><title>TiKoDan 最新版本</title></head>\n<body>[100]</body></html>\n"},
      {"test/utf8", "排名：第15名"},
      {"test/gbk", "排名：第15名"},  // not UTF-8: the ANSI code page, 936 in this prefix
      {"test/404", ""}, {"test/reset", ""},
      // At most 64 KiB, whether the length is told first or the body comes in chunks.
      {"test/size/65536", std::string(65536, 'a')}, {"test/size/65537", ""}, {"test/big", ""}, {"test/big-chunked", ""},
      // At most three redirects; a 3xx that is not followed (no Location) is no answer.
      {"test/redirect/1", "arrived"}, {"test/redirect/2", "arrived"}, {"test/redirect/3", "arrived"}, {"test/redirect/4", ""},
      {"test/status/301", ""}, {"test/status/302", ""}, {"test/status/303", ""}, {"test/status/307", ""}, {"test/status/308", ""},
      {"test/silent", "", true}, {"test/drip", "", true},
  };
  const HWND window = CreateWindowExW(0, L"STATIC", L"0", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const int renamed = FetchAll(fetches, window);
  for (const Fetch& f : fetches) {
    ASSERT_TRUE(f.got) << f.path << " never answered";
    EXPECT_EQ(*f.got, f.body) << f.path;
    // A quick failure is the rule's doing, not the clock's; a stalled one ends at ten seconds.
    if (f.timesOut) {
      EXPECT_GT(f.seconds, 9.5) << f.path;
      EXPECT_LT(f.seconds, 11.5) << f.path;
    } else {
      EXPECT_LT(f.seconds, 8) << f.path;
    }
  }
  EXPECT_GE(renamed, 9) << "the thread was held up while fetching";
  DestroyWindow(window);
}

// The program's end breaks off a fetch the site holds up: unanswered, and waited for no longer than
// the bound (Wine goes on with a synchronous request whose handle was closed, so the bound is met).
TEST(HttpWin32, CancelAllBreaksOffAFetchInFlightUnansweredWithinTheBound) {
  ASSERT_NE(kSite, "") << "run me through site_server.py --exec";
  HttpWin32 http;
  bool answered = false;
  http.Get(kSite + "test/silent", [&](const std::string&) { answered = true; });
  Sleep(500);  // the request is on its way
  const auto start = std::chrono::steady_clock::now();
  http.CancelAll();
  EXPECT_LT(Seconds(std::chrono::steady_clock::now() - start).count(), kCancelWaitMs / 1000.0 + 0.25);
  MSG msg;
  for (const auto until = start + std::chrono::seconds(1); std::chrono::steady_clock::now() < until; Sleep(10))
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_FALSE(answered);
}

// Each way to the proxy the user's Internet settings name, kept as Internet Options keeps them in
// Connections\DefaultConnectionSettings: the one value of them Wine's WinHTTP reads (not ProxyEnable,
// ProxyServer or ProxyOverride). The proxy is the site as localhost, and http_proxy's too.
TEST(HttpWin32, EachProxyLookupTakesTheProxyTheSettingsName) {
  ASSERT_NE(kSite, "") << "run me through site_server.py --exec";
  const std::string proxy = "localhost" + kSite.substr(16, kSite.size() - 17);  // of http://127.0.0.1:PORT/
  enum : char { kDirect = 1, kNamed = 3, kScript = 5, kDetect = 9 };  // each with "direct" on
  const struct { ProxyLookup lookup; char flags; std::string named, bypass, script, reached; } cases[] = {
      {ProxyLookup::Automatic, kNamed, proxy, "", "", "direct"},  // Wine 8 gives an automatic session no proxy
      {ProxyLookup::UserSettings, kNamed, proxy, "", "", "proxied"},
      {ProxyLookup::UserSettings, kNamed, proxy, "*.example;127.0.0.1", "", "direct"},
      {ProxyLookup::UserSettings, kNamed | kScript, proxy, "", kSite + "test/pac/direct", "direct"},
      {ProxyLookup::UserSettings, kScript, "", "", kSite + "test/pac/proxy", "proxied"},
      {ProxyLookup::UserSettings, kNamed | kDetect, proxy, "127.0.0.1", "", "direct"},  // none detected
      {ProxyLookup::UserSettings, kDirect, "", "", "", "proxied"},  // none named: WinHTTP's default
  };
  const wchar_t* const key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
  for (const auto& c : cases) {
    std::string blob = {'\x46', 0, 0, 0, 0, 0, 0, 0, c.flags, 0, 0, 0};  // version, change count, what is on
    for (const std::string* text : {&c.named, &c.bypass, &c.script})
      blob += std::string{static_cast<char>(text->size()), 0, 0, 0} + *text;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"DefaultConnectionSettings", REG_BINARY, blob.data(),
                              static_cast<DWORD>(blob.size())), ERROR_SUCCESS);
    EXPECT_EQ(FetchBlocking(kSite + "test/proxied", kFetchLimitMs, nullptr, c.lookup), c.reached) << &c - cases;
  }
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"DefaultConnectionSettings");
}

TEST(RandomWin32, DrawsDifferentNonZeroIdentifiers) {
  RandomWin32 random;
  const auto a = random.Random128(), b = random.Random128();
  EXPECT_NE(a, b);
  EXPECT_NE(a, (std::array<std::uint8_t, 16>{}));
}

}  // namespace
}  // namespace tkd
