// The stopwatch page through whole runs: count-up, countdown, pause, stop, mode switches and its two settings.
#include <gtest/gtest.h>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;
const std::string kWarning = std::string(testing::kFolder) + "\\sound\\default.wav";

class StopwatchTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(h.model->Form_Load()); }

  void Countdown(const std::string& minutes) {
    h.watch().SetText1(minutes);
    h.watch().SetCheck2(true);
  }
  void CountUp(const std::string& minutes) {
    h.watch().SetText1(minutes);
    h.watch().SetCheck2(false);
  }

  Form1Harness h;
};

struct CountdownCase {
  const char* minutes;
  const char* firstTick;
  int warningTick;  // 0: no warning
  int endTick;
};

TEST_F(StopwatchTest, CountdownRunsToTimeUp) {
  const CountdownCase cases[] = {
      {"5", "0:04:59", 290, 300},
      {"1", "0:00:59", 50, 60},
      {"0.5", "0:00:29", 20, 30},
      {"1.01", "0:00:59.6", 0, 61},  // 60.6 s: fractional display, no exact 10 s left
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.minutes);
    Countdown(c.minutes);
    h.sound.played.clear();
    const std::string before = h.sw().label2;
    h.watch().Command1_Click();
    EXPECT_EQ(h.sw().label2, before);  // unchanged until the first tick

    h.watch().Timer2_Timer();
    EXPECT_EQ(h.sw().label2, c.firstTick);
    EXPECT_EQ(h.sw().label7, "倒计时进行中..");
    for (int tick = 2; tick < c.endTick; ++tick) {
      h.watch().Timer2_Timer();
      const bool warned = !h.sound.played.empty();
      ASSERT_EQ(warned, c.warningTick != 0 && tick >= c.warningTick) << "tick " << tick;
      ASSERT_EQ(h.sw().label2Color, kBlue);
      ASSERT_TRUE(h.sw().timer2Enabled);
    }
    if (c.warningTick) {
      EXPECT_EQ(h.sound.played, std::vector<std::string>{kWarning});
    }
    h.watch().Timer2_Timer();
    const auto& v = h.sw();
    EXPECT_EQ(v.label2, "时间到了");
    EXPECT_EQ(v.label2Color, kBlue);
    EXPECT_EQ(v.command1Caption, "开始");
    EXPECT_EQ(v.command1Tip, "点一下开始计时");
    EXPECT_FALSE(v.command2Visible);
    EXPECT_FALSE(v.timer2Enabled);
    EXPECT_EQ(v.label7, "");
    EXPECT_EQ(h.watch().js1(), 0);
  }
}

TEST_F(StopwatchTest, TheWarningShowsTenSecondsOnTheDisplay) {
  Countdown("5");
  h.watch().Command1_Click();
  h.Ticks2(289);
  EXPECT_TRUE(h.sound.played.empty());
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:00:10");
  EXPECT_EQ(h.sound.played.size(), 1u);
  h.Ticks2(9);
  EXPECT_EQ(h.sw().label2, "0:00:01");
  EXPECT_EQ(h.sound.played.size(), 1u);
}

TEST_F(StopwatchTest, CountUpTurnsRedPastTheTargetAndGoesOn) {
  CountUp("5");
  h.watch().Command1_Click();
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:00:01");
  EXPECT_EQ(h.sw().label7, "正在计时中..");
  h.Ticks2(288);
  EXPECT_TRUE(h.sound.played.empty());
  h.Ticks2(1);  // 290: ten seconds before the target
  EXPECT_EQ(h.sound.played, std::vector<std::string>{kWarning});
  h.Ticks2(10);
  EXPECT_EQ(h.sw().label2, "0:05:00");
  EXPECT_EQ(h.sw().label2Color, kBlue);
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:05:01");
  EXPECT_EQ(h.sw().label2Color, kRed);
  h.Ticks2(3600);
  EXPECT_EQ(h.sw().label2, "1:05:01");
  EXPECT_TRUE(h.sw().timer2Enabled);
  EXPECT_EQ(h.sound.played.size(), 1u);
}

TEST_F(StopwatchTest, DotsFollowTheSecondsCounted) {
  CountUp("5");
  h.watch().Command1_Click();
  const char* expected[] = {"正在计时中..", "正在计时中...", "正在计时中.", "正在计时中.."};
  for (const char* status : expected) {
    h.Ticks2(1);
    EXPECT_EQ(h.sw().label7, status);
  }
}

TEST_F(StopwatchTest, PauseAndContinueKeepTheCount) {
  CountUp("5");
  h.watch().Command1_Click();
  EXPECT_EQ(h.sw().command1Caption, "停止");
  EXPECT_EQ(h.sw().command1Tip, "点一下将会停止计时");
  EXPECT_TRUE(h.sw().command2Visible);
  EXPECT_EQ(h.sw().command2Caption, "暂停");
  EXPECT_EQ(h.sw().command2Tip, "点一下将会暂停计时");
  h.Ticks2(3);

  h.watch().Command2_Click();
  EXPECT_FALSE(h.sw().timer2Enabled);
  EXPECT_EQ(h.sw().command2Caption, "继续");
  EXPECT_EQ(h.sw().command2Tip, "点一下将会继续计时(不会从头开始)");
  EXPECT_EQ(h.sw().label7, "计时暂停中");
  h.Ticks2(10);  // no ticks arrive while paused
  EXPECT_EQ(h.sw().label2, "0:00:03");

  h.watch().Command2_Click();
  EXPECT_TRUE(h.sw().timer2Enabled);
  EXPECT_EQ(h.sw().command2Caption, "暂停");
  EXPECT_EQ(h.sw().command2Tip, "点一下将会暂停计时");
  EXPECT_EQ(h.sw().label7, "计时暂停中");  // until the next tick
  h.Ticks2(2);
  EXPECT_EQ(h.sw().label2, "0:00:05");
  EXPECT_EQ(h.sw().label7, "正在计时中...");
}

TEST_F(StopwatchTest, StopFromPausedResetsButKeepsTheDisplay) {
  CountUp("1");
  h.watch().Command1_Click();
  h.Ticks2(70);
  h.watch().Command2_Click();
  h.watch().Command1_Click();
  const auto& v = h.sw();
  EXPECT_EQ(v.command1Caption, "开始");
  EXPECT_EQ(v.command1Tip, "点一下就开始计时");
  EXPECT_FALSE(v.command2Visible);
  EXPECT_EQ(v.command2Caption, "暂停");
  EXPECT_EQ(v.command2Tip, "点一下将会暂停计时");
  EXPECT_FALSE(v.timer2Enabled);
  EXPECT_EQ(v.label7, "");
  EXPECT_EQ(v.label2, "0:01:10");
  EXPECT_EQ(v.label2Color, kRed);
  EXPECT_EQ(h.watch().js1(), 0);

  h.watch().Command1_Click();
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:00:01");
  EXPECT_EQ(h.sw().label2Color, kBlue);
}

TEST_F(StopwatchTest, EveryStartOrStopSilencesOnlyTheFirstPlayer) {
  CountUp("0.2");  // warning at the 2nd tick
  h.watch().Command1_Click();
  h.Ticks2(2);
  ASSERT_EQ(h.sound.played.size(), 1u);
  h.watch().Command1_Click();
  h.watch().Command1_Click();
  EXPECT_EQ(h.sound.firstStops, 3);
  EXPECT_EQ(h.sound.played.size(), 1u);
}

TEST_F(StopwatchTest, TickingCountdownPastTheTargetEndsTheRunAtTheNextTick) {
  CountUp("1");
  h.watch().Command1_Click();
  h.Ticks2(70);
  h.watch().Check2_Click(true);
  EXPECT_EQ(h.sw().label2, "0:01:10");  // no effect until the next tick
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "时间到了");
  EXPECT_EQ(h.sw().label2Color, kBlue);
  EXPECT_FALSE(h.sw().timer2Enabled);
}

TEST_F(StopwatchTest, SwitchingModeMidRunKeepsTheCount) {
  Countdown("5");
  h.watch().Command1_Click();
  h.Ticks2(10);
  EXPECT_EQ(h.sw().label2, "0:04:50");
  h.watch().Check2_Click(false);
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:00:11");
  h.watch().Check2_Click(true);
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:04:48");
}

TEST_F(StopwatchTest, AnEditedTargetTakesEffectAtTheNextTick) {
  Countdown("5");
  h.watch().Command1_Click();
  h.Ticks2(5);
  h.watch().Text1_Change("1");
  h.Ticks2(1);
  EXPECT_EQ(h.sw().label2, "0:00:54");
}

struct TargetCase {
  const char* typed;
  bool accepted;
};

TEST_F(StopwatchTest, TheTargetIsValidatedAndStoredAtOnce) {
  const TargetCase cases[] = {
      {"2.5", true}, {"3 分钟", true}, {"0.1", true}, {"1e3", true},
      {"", false},   {"0", false},      {"-1", false}, {"abc", false},
      {"1e999", false}, {"1e307", false},  // too large to count in seconds
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    h.prompt.shown.clear();
    h.watch().Text1_Change(c.typed);
    if (c.accepted) {
      EXPECT_TRUE(h.prompt.shown.empty());
      EXPECT_EQ(h.sw().text1, c.typed);
      EXPECT_EQ(h.Stored("Text1"), c.typed);
    } else {
      EXPECT_EQ(h.prompt.shown, std::vector<std::string>{"此处必须大于0"});
      EXPECT_EQ(h.sw().text1, "5");
      EXPECT_EQ(h.Stored("Text1"), "5");
    }
  }
}

TEST_F(StopwatchTest, ATickDuringTheMessageBoxReadsTheRejectedText) {
  // The box is modal but ticks go on; the text being rejected is what the box holds meanwhile.
  Countdown("5");
  h.watch().Command1_Click();
  h.Ticks2(3);
  h.prompt.whileShown = [&] { h.watch().Timer2_Timer(); };
  h.watch().Text1_Change("");
  EXPECT_EQ(h.sw().label2, "时间到了");
  EXPECT_EQ(h.sw().text1, "5");
}

TEST_F(StopwatchTest, TheModeIsStoredAsABlankNumber) {
  h.watch().Check2_Click(true);
  EXPECT_EQ(h.Stored("Check2"), " 1");
  h.watch().Check2_Click(false);
  EXPECT_EQ(h.Stored("Check2"), " 0");
}

TEST_F(StopwatchTest, AHiddenPauseButtonDoesNothing) {
  h.watch().Command2_Click();
  EXPECT_EQ(h.sw().command2Caption, "暂停");
  EXPECT_FALSE(h.sw().timer2Enabled);
}

}  // namespace
}  // namespace tkd
