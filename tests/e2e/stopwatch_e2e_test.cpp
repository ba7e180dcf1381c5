// End-to-end tests of the stopwatch page: Start/Stop, Pause/Continue, the countdown, the minutes box and the countdown switch.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "form1_fixture.h"

namespace tkd::e2e {
namespace {

// What the two buttons show: captions, tool tips, and whether the second one is there at all.
struct Buttons {
  std::wstring command1;
  std::wstring command1Tip;
  bool command2Visible = false;
  std::wstring command2;  // compared only while the button is visible
  std::wstring command2Tip;

  bool operator==(const Buttons& o) const {
    return command1 == o.command1 && command1Tip == o.command1Tip &&
           command2Visible == o.command2Visible &&
           (!command2Visible || (command2 == o.command2 && command2Tip == o.command2Tip));
  }
};

std::ostream& operator<<(std::ostream& out, const Buttons& b) {
  out << "{Command1 " << Show(b.command1) << " tip " << Show(b.command1Tip) << ", Command2 ";
  if (!b.command2Visible) return out << "hidden}";
  return out << Show(b.command2) << " tip " << Show(b.command2Tip) << "}";
}

const Buttons kNeverStarted{L"开始", L"点一下开始计时", false, L"", L""};
const Buttons kRunning{L"停止", L"点一下将会停止计时", true, L"暂停", L"点一下将会暂停计时"};
const Buttons kPaused{L"停止", L"点一下将会停止计时", true, L"继续",
                      L"点一下将会继续计时(不会从头开始)"};
const Buttons kStoppedByUser{L"开始", L"点一下就开始计时", false, L"", L""};
// A countdown that ran out offers a new start with the first start's tip.
const Buttons kTimeUp = kNeverStarted;

const wchar_t kMustBePositive[] = L"此处必须大于0";

Buttons ButtonsOf(const Form1Page& main) {
  return {main.Command1().Text(), main.Command1().ToolTip(), main.Command2().Visible(),
          main.Command2().Text(), main.Command2().ToolTip()};
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// Seconds shown as "H:MM:SS", or -1 for any other text.
int ShownSeconds(const std::wstring& text) {
  unsigned h = 0, m = 0, s = 0;
  wchar_t rest = 0;
  if (std::swscanf(text.c_str(), L"%u:%2u:%2u%lc", &h, &m, &s, &rest) != 3) return -1;
  return static_cast<int>(h * 3600 + m * 60 + s);
}

std::wstring ShownTime(int seconds) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

using StopwatchTest = Form1Test;

TEST_F(StopwatchTest, StartPauseContinueStopShowTheirCaptionsTipsAndTime) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Form1Page& main = Main();
  auto buttons = [&] { return ButtonsOf(main); };
  auto label2 = [&] { return main.Label2Text(); };

  EXPECT_TRUE(Becomes(buttons, kNeverStarted, kReactTimeout));
  EXPECT_EQ(Show(label2()), Show(L"0:00:00"));

  main.Command1().Click();
  EXPECT_TRUE(Becomes(buttons, kRunning, kReactTimeout));
  // The first tick comes a second after the click; three ticks, three seconds.
  ASSERT_TRUE(Becomes(label2, L"0:00:03", 5s));
  EXPECT_TRUE(StartsWith(main.Label7().Text(), L"正在计时中")) << Show(main.Label7().Text());

  main.Command2().Click();
  EXPECT_TRUE(Becomes(buttons, kPaused, kReactTimeout));
  EXPECT_TRUE(Becomes([&] { return main.Label7().Text(); }, L"计时暂停中", kReactTimeout));
  const std::wstring frozen = label2();
  ASSERT_GE(ShownSeconds(frozen), 3) << Show(frozen);
  // Two seconds of the program's own ticks without a change: the count really stopped.
  ASSERT_TRUE(TicksPass(2, 4s));
  EXPECT_EQ(Show(label2()), Show(frozen)) << "the time moved while paused";

  main.Command2().Click();
  // Continuing counts on from where it stopped instead of from zero.
  EXPECT_TRUE(Becomes(label2, ShownTime(ShownSeconds(frozen) + 1), 3s));
  EXPECT_TRUE(Becomes(buttons, kRunning, kReactTimeout));

  main.Command1().Click();
  EXPECT_TRUE(Becomes(buttons, kStoppedByUser, kReactTimeout));
}

TEST_F(StopwatchTest, CountdownOfATenthOfAMinuteEndsWithTimeUp) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Form1Page& main = Main();
  main.Text1().SetText(L"0.1");
  ASSERT_TRUE(Becomes([] { return Setting(L"Text1"); }, L"0.1", kReactTimeout));
  main.Check2().Click();
  ASSERT_TRUE(Becomes([&] { return main.Check2().Checked(); }, true, kReactTimeout));

  main.Command1().Click();
  // Six seconds to go: the sixth tick ends it; two seconds' grace for a loaded machine.
  const auto timeUpDeadline = std::chrono::steady_clock::now() + 8s;
  // The first tick leaves five.
  EXPECT_TRUE(Becomes([&] { return main.Label2Text(); }, L"0:00:05", 3s));
  EXPECT_TRUE(StartsWith(main.Label7().Text(), L"倒计时进行中")) << Show(main.Label7().Text());
  const auto left = std::chrono::duration_cast<Ms>(timeUpDeadline - std::chrono::steady_clock::now());
  EXPECT_TRUE(Becomes([&] { return main.Label2Text(); }, L"时间到了", std::max(left, Ms(0))));
  EXPECT_TRUE(Becomes([&] { return ButtonsOf(main); }, kTimeUp, kReactTimeout));
}

TEST_F(StopwatchTest, MinutesBoxRejectsWhatIsNotAboveZeroWithAMessageAndPutsBackFive) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Form1Page& main = Main();
  struct Entry {
    const char* what;
    std::wstring typed;  // ignored when the box is cleared
    bool clear;
  };
  const std::vector<Entry> entries = {
      {"cleared", L"", true},
      {"zero", L"0", false},
      {"negative", L"-1", false},
      {"not a number", L"abc", false},
  };
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.what);
    // A valid value first, so that "5" below can only come from the rejection.
    main.Text1().SetText(L"2");
    ASSERT_TRUE(Becomes([] { return Setting(L"Text1"); }, L"2", kReactTimeout));

    if (entry.clear) {
      main.Text1().Clear();
    } else {
      main.Text1().SetText(entry.typed);
    }
    std::optional<MessageBoxPage> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = main.FindMessageBox()).has_value(); }, kReactTimeout))
        << "no message box";
    EXPECT_EQ(Show(box->Title()), Show(L"TiKoDan"));
    EXPECT_TRUE(Becomes([&] { return box->Text(); }, kMustBePositive, kReactTimeout));
    box->PressOk();
    ASSERT_TRUE(WaitUntil([&] { return box->Gone(); }, kReactTimeout)) << "the box stayed open";
    EXPECT_TRUE(Becomes([&] { return main.Text1().Text(); }, L"5", kReactTimeout));
    EXPECT_TRUE(Becomes([] { return Setting(L"Text1"); }, L"5", kReactTimeout));
  }
}

TEST_F(StopwatchTest, MinutesBoxStoresAcceptedTextExactlyAsTyped) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Form1Page& main = Main();
  for (const std::wstring typed : {L"2.5", L"10", L" 3", L"0.01"}) {
    SCOPED_TRACE(Utf8(typed));
    main.Text1().SetText(typed);
    EXPECT_TRUE(Becomes([] { return Setting(L"Text1"); }, typed, kReactTimeout));
    EXPECT_FALSE(main.FindMessageBox().has_value()) << "a valid entry was rejected";
  }
}

TEST_F(StopwatchTest, CountdownSwitchIsStoredWithEachClick) {
  ASSERT_NO_FATAL_FAILURE(StartApp());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Form1Page& main = Main();
  struct Click {
    bool ticked;
    const wchar_t* stored;
  };
  for (const Click& click : {Click{true, L" 1"}, Click{false, L" 0"}, Click{true, L" 1"}}) {
    SCOPED_TRACE(Utf8(click.stored));
    main.Check2().Click();
    EXPECT_TRUE(Becomes([&] { return main.Check2().Checked(); }, click.ticked, kReactTimeout));
    EXPECT_TRUE(Becomes([] { return Setting(L"Check2"); }, click.stored, kReactTimeout));
  }
}

}  // namespace
}  // namespace tkd::e2e
