// The main window's two events: start-up from the registry, and the housekeeping tick.
#include <gtest/gtest.h>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;
constexpr auto LM = RegRoot::LocalMachine;

TEST(Form1Load, AFreshMachineWritesInOrderAndOpensWithTheDefaults) {
  Form1Harness h;
  ASSERT_TRUE(h.Load());
  // The first run with its marker last; the boxes it ticked, stored back by their click handlers;
  // the schedule's times; where the program is, and its start-with-Windows entry.
  std::vector<std::string> expected = {"Check1=0", "Check2=0", "Check3=1", "Check9=1"};
  for (int box = 10; box <= 33; ++box) expected.push_back("Check" + std::to_string(box) + "=1");
  expected.insert(expected.end(), {"CheckOption1=1", "ADsj=1", "firstDate=2026-12-6", "firstuse=1", "Check9= 1"});
  for (int box = 10; box <= 33; ++box) expected.push_back("Check" + std::to_string(box) + "= 1");
  expected.insert(expected.end(), {"Text5=0", "Text6=0", "Text7=0", "Text8=0", "Check3= 1", "Path=C:\\Apps\\TiKoDan",
                                   "tkdExeName=TiKoDan", "tikodan=\"C:\\Apps\\TiKoDan\\TiKoDan.exe\""});
  EXPECT_EQ(h.registry.writes, expected);
  const Form1View& v = h.model->View();
  EXPECT_EQ(v.pageVisible, (std::array<bool, kPageCount>{true, true, true, true, false, true}));
  EXPECT_EQ(v.currentPage, kPageShutdown);
  EXPECT_TRUE(v.check3);  // the menu bar
  // 1000, 1000, 5300 and 4815 twips at the fake monitor's ten twips a pixel.
  EXPECT_EQ((std::vector{v.placement.left, v.placement.top, v.placement.width, v.placement.height}),
            (std::vector{100, 100, 530, 482}));
  EXPECT_EQ(h.model->stopwatch().View(), StopwatchView{.label7 = ""});
  EXPECT_EQ(h.model->UsageSeconds(), 0);
  EXPECT_EQ(h.model->VersionText(), "V1.4.6");
  EXPECT_TRUE(h.prompt.shown.empty());
}

// A tick cut off between its two writes, run after run, never adds up to a reset.
TEST(Form1Load, TicksCutOffRunAfterRunKeepTheTotal) {
  Form1Harness h;
  h.registry.Set(LM, SettingsKey, "firstuse", "1");
  for (const char* key : {SettingsKey, UsageCopyKey}) h.registry.Set(LM, key, "js00", " 3600");
  for (int run = 0; run < 3; ++run) {
    h.Restart();
    ASSERT_TRUE(h.Load());
    EXPECT_EQ(h.model->UsageSeconds(), 3600 + run);
    h.registry.Set(LM, SettingsKey, "js00", BlankNumberText(3601 + run));  // the copy's write never came
  }
}

TEST(Form1Load, RestoresWhatTheRegistryHolds) {
  const struct { const char *text1, *check2, *js00, *js00Copy, *width; const char* shown; bool countdown; double usage; int w; } cases[] = {
      {"1.5", " 1", " 3600", "3600", "8000", "1.5", true, 3600, 800},
      {"20 分钟", "1", " 3600", nullptr, "5299", "20", true, 0, 530},  // a missing copy reads 0
      {"0", "2", " 3600", " 3598", "", "5", false, 0, 530},           // copies that differ
      {"5", "", " 3600", " 3599", "", "5", false, 3600, 530},         // a tick cut off between its two writes
      {"5", "", " 1", "abc", "", "5", false, 0, 530},                 // a copy that is no number
      {"5", "", " 1.7976931349623157", "1.7976931349623157", "", "5", false, 1.7976931349623157, 530},
  };
  for (const auto& c : cases) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "firstuse", "1");
    h.registry.Set(LM, SettingsKey, "text1", c.text1);  // either letter case names the value
    h.registry.Set(LM, SettingsKey, "Check2", c.check2);
    h.registry.Set(LM, SettingsKey, "js00", c.js00);
    if (c.js00Copy) h.registry.Set(LM, UsageCopyKey, "js00", c.js00Copy);
    h.registry.Set(LM, SettingsKey, "F_Width", c.width);
    ASSERT_TRUE(h.Load());
    EXPECT_EQ(h.model->stopwatch().View().text1, c.shown) << c.text1;
    EXPECT_EQ(h.model->stopwatch().View().check2, c.countdown) << c.check2;
    EXPECT_EQ(h.model->UsageSeconds(), c.usage) << c.js00;
    EXPECT_EQ(h.model->View().placement.width, c.w) << c.width;
    h.Run(1000);  // the tick stores the total as it will be read at the next start, never less
    EXPECT_EQ(NumericReading(h.Stored(setting::js00).value_or("")), c.usage + 1) << c.js00;
  }
}

TEST(Form1Load, RestoresTheScheduleAndARunStartedInItsTargetMinuteShutsDownAtOnce) {
  Form1Harness h;
  ASSERT_TRUE(h.Load());  // the first run ticks the chime and every hour
  EXPECT_EQ(h.model->chime().View(), (ChimeView{true, {true, true, true, true, true, true, true, true, true, true, true, true,
                                                       true, true, true, true, true, true, true, true, true, true, true, true}}));
  h.registry.Set(LM, SettingsKey, "Check6", " 1");
  h.registry.Set(LM, SettingsKey, "Text5", "22");
  h.registry.Set(LM, SettingsKey, "Text6", "30");
  h.registry.Set(LM, SettingsKey, "Text7", "24");
  h.registry.Set(LM, SettingsKey, "Check12", " 0");
  h.clock.now = {2026, 12, 6, 22, 30, 40};
  h.Restart();
  ASSERT_TRUE(h.Load());
  const ShutdownView& v = h.model->scheduler().View();
  EXPECT_EQ((std::vector<std::string>{v.text5, v.text6, v.text7, v.text8}), (std::vector<std::string>{"22", "30", "", "0"}));
  EXPECT_TRUE(v.check6);
  EXPECT_FALSE(v.check8);
  EXPECT_FALSE(h.model->chime().View().hours[2]);
  EXPECT_EQ(h.Stored(setting::Text8), "0");
  h.Run(1000);
  EXPECT_EQ(h.shutdown.powerOffs, 1);
  EXPECT_EQ(h.lifetime.ended, 1);
}

TEST(Form1Load, AVersionTheSingleNumberCannotHoldEndsTheProgram) {
  Form1Harness h({1, 10, 0});
  EXPECT_FALSE(h.Load());
  EXPECT_EQ(h.prompt.shown, std::vector<std::string>{"版本号请调整一下"});
  EXPECT_EQ(h.lifetime.ended, 1);
}

TEST(Form1Tick, KeepsGeometryAndUsageAndShowsTheTimeInTheTitle) {
  Form1Harness h;
  h.registry.Set(LM, SettingsKey, "js00", " 3599");
  h.registry.Set(LM, UsageCopyKey, "js00", " 3599");
  ASSERT_TRUE(h.Load());
  h.registry.writes.clear();
  h.Run(1000);
  EXPECT_EQ(h.registry.writes, (std::vector<std::string>{"Left=1500", "Top=1200", "js00= 3600", "js00= 3600",
                                                         "F_Width=6000", "F_Height=5000", "AllMove= 4219"}));
  EXPECT_EQ(h.model->View().caption, "TiKoDanV1.4.6 14:05:09");
  // Then only what changed: the total, the place once the window is normal again.
  h.registry.writes.clear();
  h.Run(1000);
  h.frame.normal = false;  // minimised or maximised: the geometry keeps its last normal values
  h.frame.bounds = {0, 0, 2000, 1500};
  h.Run(1000);
  h.frame.normal = true;
  h.Run(1000);
  EXPECT_EQ(h.registry.writes, (std::vector<std::string>{"js00= 3601", "js00= 3601", "js00= 3602", "js00= 3602",
                                                         "Left=0", "Top=0", "js00= 3603", "js00= 3603",
                                                         "F_Width=20000", "F_Height=15000"}));
  EXPECT_EQ(h.model->js0(), 4);
}

TEST(Form1Tick, AnotherProgramCanAskEveryCopyToEndButARequestLeftBehindEndsNoLaterStart) {
  for (const char* isClose : {" 1", "1.0", "2", "", "yes"}) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    h.registry.Set(LM, SettingsKey, "isClose", isClose);
    h.Run(1000);
    const bool ends = std::string(isClose).find('1') != std::string::npos;
    EXPECT_EQ(h.lifetime.ended, ends ? 1 : 0) << '"' << isClose << '"';
    EXPECT_EQ(h.Stored(setting::js00), " 1");  // the second of use is stored before the end
  }
  Form1Harness h;
  h.registry.Set(LM, SettingsKey, "isClose", "1");  // left by the tool that ended the last run
  ASSERT_TRUE(h.Load());
  EXPECT_EQ(h.Stored(setting::isClose), "0");
  h.Run(1000);
  EXPECT_EQ(h.lifetime.ended, 0);
}

// A fetch may be in flight whichever way the program ends; its thread is stopped first.
TEST(Form1End, EveryWayOutBreaksOffTheFetchesInFlightFirst) {
  using End = void (*)(Form1Harness&);
  const std::pair<const char*, End> ways[] = {
      {"退出(&X)", [](Form1Harness& h) { h.model->menuExit_Click(); }},
      {"退出", [](Form1Harness& h) { h.model->RmenuExit_Click(); }},
      {"isClose", [](Form1Harness& h) { h.registry.Set(LM, SettingsKey, "isClose", "1"), h.Run(1000); }},
      {"shutdown", [](Form1Harness& h) {
         h.model->scheduler().Text2_Change("0.05"), h.model->scheduler().Check4_Click(true), h.Run(3000);
       }}};
  for (const auto& [way, end] : ways) {
    Form1Harness h;
    ASSERT_TRUE(h.Load());
    h.model->menuUpdate_Click()->Form_Load();  // the dialog closed before the site answered
    h.model->UpdateDialog_Closed();
    int cancelledAtEnd = -1;
    h.lifetime.whenEnded = [&] { cancelledAtEnd = h.http.cancels; };
    end(h);
    EXPECT_EQ(cancelledAtEnd, 1) << way;
  }
}

TEST(Form1Tick, WithoutMachineWideRightsEverySettingSurvivesARestart) {
  Form1Harness h;
  h.registry.refuseMachineWrites = true;
  ASSERT_TRUE(h.Load());
  h.model->stopwatch().Text1_Change("7");
  h.model->stopwatch().Check2_Click(true);
  h.Run(42'000);
  h.Restart();
  h.registry.writes.clear();
  ASSERT_TRUE(h.Load());
  EXPECT_EQ(h.model->stopwatch().View().text1, "7");
  EXPECT_TRUE(h.model->stopwatch().View().check2);
  EXPECT_EQ(h.model->UsageSeconds(), 42);
  for (const auto& w : h.registry.writes) EXPECT_NE(w.rfind("firstuse", 0), 0u) << w;  // no second first run
}

}  // namespace
}  // namespace tkd
