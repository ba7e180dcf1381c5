// The stopwatch page through whole runs: count-up, countdown, pause, stop, mode switches and its two settings.
#include <gtest/gtest.h>

#include <ostream>

#include "core/format_duration.h"
#include "support/fakes.h"
#include "timing/stopwatch.h"

namespace tkd {

std::ostream& operator<<(std::ostream& out, const StopwatchView& v) {
  return out << "{" << v.label2 << " rgb(" << v.label2Color.r << "," << v.label2Color.b << ") '"
             << v.label7 << "' " << v.command1Caption << "/" << v.command1Tip << " "
             << (v.command2Visible ? "shown " : "hidden ") << v.command2Caption << "/"
             << v.command2Tip << " text1=" << v.text1 << " check2=" << v.check2
             << " timer2=" << v.timer2Enabled << "}";
}

namespace {

const std::string kWarning = "C:\\TiKoDan\\sound\\default.wav";

class StopwatchTest : public ::testing::Test {
 protected:
  void Arrange(const std::string& minutes, bool countdown) {
    watch.SetText1(minutes);
    watch.SetCheck2(countdown);
  }
  void Ticks(int n) {
    for (int i = 0; i < n && watch.View().timer2Enabled; ++i) watch.Timer2_Timer();
  }
  // Does `action` and checks the whole view against the one before it with `change` applied.
  template <class Action>
  void Expect(Action action, void (*change)(StopwatchView&)) {
    StopwatchView expected = watch.View();
    action();
    change(expected);
    EXPECT_EQ(watch.View(), expected);
  }

  testing::FakeRegistry registry;
  SettingsStore store{registry};
  testing::FakeSound sound;
  testing::FakePrompt prompt;
  Stopwatch watch{store, sound, prompt, "C:\\TiKoDan"};
};

TEST_F(StopwatchTest, StartPauseContinueStopShowTheirStates) {
  Arrange("5", false);
  // Start: the display changes only at the first tick.
  Expect([&] { watch.Command1_Click(); }, [](StopwatchView& v) {
    v.command1Caption = "停止", v.command1Tip = "点一下将会停止计时";
    v.command2Visible = true, v.timer2Enabled = true;
  });
  Expect([&] { Ticks(3); }, [](StopwatchView& v) { v.label2 = "0:00:03", v.label7 = "正在计时中."; });
  Expect([&] { watch.Command2_Click(); }, [](StopwatchView& v) {
    v.label7 = "计时暂停中", v.timer2Enabled = false;
    v.command2Caption = "继续", v.command2Tip = "点一下将会继续计时(不会从头开始)";
  });
  // Continue keeps the paused text until the next tick.
  Expect([&] { watch.Command2_Click(); }, [](StopwatchView& v) {
    v.timer2Enabled = true, v.command2Caption = "暂停", v.command2Tip = "点一下将会暂停计时";
  });
  Expect([&] { Ticks(2); }, [](StopwatchView& v) { v.label2 = "0:00:05", v.label7 = "正在计时中..."; });
  watch.Command2_Click();
  // Stop from paused: idle with the other tool tip, the display kept.
  Expect([&] { watch.Command1_Click(); }, [](StopwatchView& v) {
    v.label7 = "", v.command1Caption = "开始", v.command1Tip = "点一下就开始计时";
    v.command2Visible = false, v.command2Caption = "暂停", v.command2Tip = "点一下将会暂停计时";
    v.timer2Enabled = false;
  });
  EXPECT_EQ(watch.js1(), 0);
  EXPECT_EQ(sound.firstStops, 2);
  watch.Command1_Click();
  Ticks(1);
  EXPECT_EQ(watch.View().label2, "0:00:01");
  EXPECT_EQ(watch.View().label7, "正在计时中..");
}

TEST_F(StopwatchTest, CountdownWarnsAtTenSecondsAndEndsOnTheTargetsTick) {
  const struct { const char* minutes; const char* firstTick; int warningTick, endTick; } cases[] = {
      {"5", "0:04:59", 290, 300},   {"0.5", "0:00:29", 20, 30},
      {"4.15", "0:04:08", 239, 249}, {"2.05", "0:02:02", 113, 123},  // minutes x 60 a hair off
      {"1.01", "0:00:59.6", 0, 61},  // 60.6 s: never exactly 10 s left, so no warning
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.minutes);
    Arrange(c.minutes, true);
    sound.played.clear();
    watch.Command1_Click();
    for (int tick = 1; tick < c.endTick; ++tick) {
      watch.Timer2_Timer();
      if (tick == 1) {
        EXPECT_EQ(watch.View().label2, c.firstTick);
      }
      if (tick == c.warningTick) {
        EXPECT_EQ(watch.View().label2, "0:00:10");
      }
      ASSERT_EQ(sound.played.size(), c.warningTick && tick >= c.warningTick ? 1u : 0u) << tick;
      ASSERT_EQ(watch.View().label2.find('E'), std::string::npos) << watch.View().label2;
    }
    Expect([&] { watch.Timer2_Timer(); }, [](StopwatchView& v) {
      v.label2 = "时间到了", v.label7 = "", v.command1Caption = "开始", v.command1Tip = "点一下开始计时";
      v.command2Visible = false, v.timer2Enabled = false;
    });
  }
}

TEST_F(StopwatchTest, CountUpWarnsTenSecondsEarlyAndTurnsRedPastTheTarget) {
  Arrange("1", false);
  watch.Command1_Click();
  Ticks(49);
  EXPECT_TRUE(sound.played.empty());
  Ticks(1);
  EXPECT_EQ(sound.played, std::vector<std::string>{kWarning});
  Ticks(10);
  EXPECT_EQ(watch.View().label2Color, kBlue);
  Ticks(1);
  EXPECT_EQ(watch.View().label2, "0:01:01");
  EXPECT_EQ(watch.View().label2Color, kRed);
  watch.Check2_Click(true);  // countdown past the target ends at the next tick, in blue
  Ticks(1);
  EXPECT_EQ(watch.View().label2, "时间到了");
  EXPECT_EQ(watch.View().label2Color, kBlue);
}

TEST_F(StopwatchTest, ModeAndTargetChangesTakeEffectAtTheNextTick) {
  Arrange("5", true);
  watch.Command1_Click();
  Ticks(10);
  watch.Check2_Click(false);
  Ticks(1);
  EXPECT_EQ(watch.View().label2, "0:00:11");
  watch.Check2_Click(true);
  watch.Text1_Change("1");
  Ticks(1);
  EXPECT_EQ(watch.View().label2, "0:00:48");
}

TEST_F(StopwatchTest, TheTargetIsValidatedAndStoredAtOnce) {
  const struct { const char* typed; bool accepted; } cases[] = {
      {"2.5", true}, {"3 分钟", true}, {"1e3", true}, {"", false},      {"0", false},
      {"-1", false}, {"abc", false},   {"1e999", false}, {"1e307", false},  // too large in seconds
  };
  for (const auto& c : cases) {
    prompt.shown.clear();
    watch.Text1_Change(c.typed);
    const std::string kept = c.accepted ? c.typed : "5";
    EXPECT_EQ(prompt.shown, c.accepted ? std::vector<std::string>{} : std::vector<std::string>{"此处必须大于0"}) << c.typed;
    EXPECT_EQ(watch.View().text1, kept);
    EXPECT_EQ(registry.Read(RegRoot::LocalMachine, SettingsKey, "Text1"), kept);
  }
  watch.Check2_Click(true);
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, SettingsKey, "Check2"), " 1");
}

TEST_F(StopwatchTest, ATickDuringTheMessageBoxReadsTheRejectedText) {
  // The box is modal but ticks go on; the text being rejected is what the box holds meanwhile.
  Arrange("5", true);
  watch.Command1_Click();
  Ticks(3);
  prompt.whileShown = [&] { watch.Timer2_Timer(); };
  watch.Text1_Change("");
  EXPECT_EQ(watch.View().label2, "时间到了");
  EXPECT_EQ(watch.View().text1, "5");
}

}  // namespace
}  // namespace tkd
