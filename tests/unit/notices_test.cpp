// The warning balloons and the tray tip: when each way's balloon is due, and to whom.
#include <gtest/gtest.h>

#include <functional>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;
using S = ShutdownScheduler;

// Enough for the dates here, which are in months of 31 days.
LocalTime NextSecond(LocalTime t) {
  if (++t.second == 60) t.second = 0, ++t.minute;
  if (t.minute == 60) t.minute = 0, ++t.hour;
  if (t.hour == 24) t.hour = 0, ++t.day;
  if (t.day == 32) t.day = 1, t.month = t.month % 12 + 1, t.year += t.month == 1;
  return t;
}

// Second by second from `from` until the computer is shut down or `seconds` have passed, with
// `at` run before the tick of its moment; returns the tray calls with the time of the tick.
std::vector<std::string> RunSeconds(Form1Harness& h, LocalTime from, int seconds,
                             std::function<void(const std::string&)> at = nullptr) {
  std::vector<std::string> seen;
  h.clock.now = from;
  for (int s = 0; s < seconds && h.shutdown.powerOffs == 0; ++s, h.clock.now = NextSecond(h.clock.now)) {
    if (at) at(h.locale.TimeOfDay(h.clock.now));
    h.tray.calls.clear();
    h.Run(1000);
    for (const std::string& call : h.tray.calls) seen.push_back(h.locale.TimeOfDay(h.clock.now) + " " + call);
  }
  return seen;
}

std::string Tip(const std::string& at = "") { return "tip TiKoDan(V1.4.6)" + (at.empty() ? "" : " " + at + " 关机"); }
std::string Balloon(const std::string& at) { return "balloon TiKoDan: 你的电脑将于 " + at + " 自动关机，请保存好你的文件"; }
std::string Minutes(int n) { return "balloon TiKoDan: 你的电脑将于 " + std::to_string(n) + " 分钟后自动关机，请保存好你的文件"; }
const std::string kAdd = "add TiKoDan(V1.4.6)";

// How the user is away from the shutdown page, and the way armed (with the times 22:30).
enum Away { kLooking, kHidden, kOtherPage, kMinimised };
using Edit = std::function<void(ShutdownScheduler&, const std::string& time)>;

TEST(ShutdownNotice, EachWayWarnsTenMinutesAndOneMinuteBeforeAUserWhoIsNotLooking) {
  const LocalTime evening{2026, 12, 6, 22, 19, 58};
  const struct Case {
    const char* what;
    Away away;
    Edit arm;
    LocalTime from;
    std::vector<std::string> expected;
    Edit at = nullptr;
  } cases[] = {
      {"daily, hidden behind the icon", kHidden, [](S& s, auto&) { s.Check6_Click(true); }, evening,
       {"22:19:58 " + Tip("22:30"), "22:20:00 " + Balloon("22:30"), "22:29:00 " + Balloon("22:30")}},
      {"today at, on another page: the icon comes for the balloon", kOtherPage, [](S& s, auto&) { s.Check5_Click(true); },
       evening, {"22:20:00 " + kAdd + " 22:30 关机", "22:20:00 " + Balloon("22:30"), "22:29:00 " + Balloon("22:30")}},
      {"the second daily way, minimised", kMinimised, [](S& s, auto&) { s.Check8_Click(true); }, evening,
       {"22:20:00 " + kAdd + " 22:30 关机", "22:20:00 " + Balloon("22:30"), "22:29:00 " + Balloon("22:30")}},
      {"shown on the shutdown page, the label is seen instead", kLooking, [](S& s, auto&) { s.Check6_Click(true); }, evening, {}},
      {"two ways: the tip names the sooner", kHidden,
       [](S& s, auto&) { s.Text8_Change("40"), s.Check8_Click(true), s.Check6_Click(true); }, evening,
       {"22:19:58 " + Tip("22:30"), "22:20:00 " + Balloon("22:30"), "22:29:00 " + Balloon("22:30")}},
      {"a time no tick can match is no shutdown", kOtherPage,
       [](S& s, auto&) { s.Text3_Change("24"), s.Text4_Change("0"), s.Check5_Click(true); }, {2026, 12, 6, 23, 49, 58}, {}},
      {"a way cleared after its balloon has gone takes the next along", kHidden, [](S& s, auto&) { s.Check6_Click(true); },
       evening, {"22:19:58 " + Tip("22:30"), "22:20:00 " + Balloon("22:30"), "22:25:00 " + Tip()},
       [](S& s, auto& t) { if (t == "22:25:00") s.Check6_Click(false); }},
      {"a time moved warns at once for the new one", kHidden, [](S& s, auto&) { s.Check6_Click(true); }, evening,
       {"22:19:58 " + Tip("22:30"), "22:20:00 " + Balloon("22:30"), "22:25:00 " + Balloon("22:31"),
        "22:25:00 " + Tip("22:31"), "22:30:00 " + Balloon("22:31")},
       [](S& s, auto& t) { if (t == "22:25:00") s.Text6_Change("31"); }},
      {"a time typed for the current minute is tomorrow's, and takes the balloon shown", kHidden,
       [](S& s, auto&) { s.Text6_Change("31"), s.Check6_Click(true); }, {2026, 12, 6, 22, 30, 2},
       {"22:30:02 " + Balloon("22:31"), "22:30:02 " + Tip("22:31"), "22:30:05 hide balloon", "22:30:05 " + Tip("22:30")},
       [](S& s, auto& t) { if (t == "22:30:05") s.Text6_Change("30"); }},
      {"across midnight at a year's end, each stage once", kHidden,
       [](S& s, auto&) { s.Text7_Change("0"), s.Text8_Change("5"), s.Check8_Click(true); }, {2026, 12, 31, 23, 54, 59},
       {"23:54:59 " + Tip("00:05"), "23:55:00 " + Balloon("00:05"), "0:04:00 " + Balloon("00:05")}},
      {"a countdown of 12 minutes", kHidden, [](S& s, auto&) { s.Text2_Change("12"), s.Check4_Click(true); }, evening,
       {"22:19:58 " + Tip("22:31"), "22:21:57 " + Minutes(10), "22:30:57 " + Minutes(1)}},
      {"a countdown armed again is a new one", kHidden, [](S& s, auto&) { s.Text2_Change("11"), s.Check4_Click(true); }, evening,
       {"22:19:58 " + Tip("22:30"), "22:20:57 " + Minutes(10), "22:21:00 hide balloon",
        "22:21:00 " + Tip("22:32"), "22:21:59 " + Minutes(10), "22:30:59 " + Minutes(1)},
       [](S& s, auto& t) { if (t == "22:21:00") s.Check4_Click(false), s.Check4_Click(true); }},
      {"a countdown armed for ten minutes gives only the last one", kHidden,
       [](S& s, auto&) { s.Text2_Change("10"), s.Check4_Click(true); }, evening,
       {"22:19:58 " + Tip("22:29"), "22:28:57 " + Minutes(1)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    S& s = h.model->scheduler();
    for (auto change : {&S::Text3_Change, &S::Text5_Change, &S::Text7_Change}) (s.*change)("22");
    for (auto change : {&S::Text4_Change, &S::Text6_Change, &S::Text8_Change}) (s.*change)("30");
    if (c.away == kHidden) h.model->Form_QueryUnload();
    if (c.away == kOtherPage) h.model->Tab_Click(kPageChime);
    if (c.away == kMinimised) h.model->Form_Resize(true);
    h.clock.now = c.from;
    c.arm(s, "");
    EXPECT_EQ(RunSeconds(h, c.from, 14 * 60, [&](const std::string& t) { if (c.at) c.at(s, t); }), c.expected);
  }
}

TEST(ShutdownNotice, TheBalloonOrTheIconWhileItShowsBringsTheWindowBackOnTheShutdownPage) {
  const struct { const char* what; int secondsAfter; TrayMouse mouse; int page; } cases[] = {
      {"the icon while the balloon shows", 29, TrayMouse::LeftUp, kPageShutdown},
      {"the icon once it has gone", 30, TrayMouse::LeftUp, kPageChime},
      {"the icon after the balloon closed", 0, TrayMouse::BalloonGone, kPageChime},
      {"the balloon, later, from the notification list", 40, TrayMouse::BalloonClick, kPageShutdown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    h.model->scheduler().Text5_Change("22"), h.model->scheduler().Text6_Change("30");
    h.model->Tab_Click(kPageChime);
    h.model->Form_QueryUnload();
    h.model->scheduler().Check6_Click(true);
    ASSERT_EQ(RunSeconds(h, {2026, 12, 6, 22, 20, 0}, 1 + c.secondsAfter).at(0), "22:20:00 " + Balloon("22:30"));
    EXPECT_EQ(h.model->TrayIcon_Callback(c.mouse), c.mouse == TrayMouse::BalloonGone ? TrayAction::None : TrayAction::ShowWindow);
    if (c.mouse == TrayMouse::BalloonGone) EXPECT_EQ(h.model->TrayIcon_Callback(TrayMouse::LeftUp), TrayAction::ShowWindow);
    EXPECT_TRUE(h.model->View().windowVisible);
    EXPECT_EQ(h.model->View().currentPage, c.page);
  }
}

}  // namespace
}  // namespace tkd
