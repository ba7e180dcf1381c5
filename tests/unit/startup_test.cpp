// Start-up: the first run, and what a later start restores from the registry.
#include <gtest/gtest.h>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;
constexpr auto LM = RegRoot::LocalMachine;
constexpr auto CU = RegRoot::CurrentUser;

std::vector<std::pair<std::string, std::string>> FirstRunWrites() {
  std::vector<std::pair<std::string, std::string>> w = {
      {"Check1", "0"}, {"Check2", "0"}, {"Check3", "1"}, {"Check9", "1"}};
  for (int box = 10; box <= 33; ++box) w.push_back({"Check" + std::to_string(box), "1"});
  w.push_back({"CheckOption1", "1"});
  w.push_back({"ADsj", "1"});
  w.push_back({"firstDate", "2026-12-6"});
  w.push_back({"firstuse", "1"});
  return w;
}

TEST(Startup, AFreshMachineGetsTheFirstRunValuesAndDefaults) {
  Form1Harness h;
  ASSERT_TRUE(h.model->Form_Load());

  std::vector<std::pair<std::string, std::string>> written;
  for (const auto& w : h.registry.writes) {
    EXPECT_EQ(w.root, LM);
    EXPECT_EQ(w.subKey, SettingsKey);
    written.push_back({w.name, w.text});
  }
  EXPECT_EQ(written, FirstRunWrites());

  const Form1View& v = h.model->View();
  EXPECT_FALSE(v.pageVisible[kPageReminder]);
  for (int page : {0, 1, 2, 3, 5}) EXPECT_TRUE(v.pageVisible[page]) << page;
  EXPECT_EQ(v.currentPage, kPageShutdown);
  EXPECT_EQ(v.geometry.left, 1000);
  EXPECT_EQ(v.geometry.top, 1000);
  EXPECT_EQ(v.geometry.width, 5300);
  EXPECT_EQ(v.geometry.height, 4815);
  EXPECT_EQ(h.sw().text1, "5");
  EXPECT_FALSE(h.sw().check2);
  EXPECT_EQ(h.sw().label7, "");
  EXPECT_EQ(h.sw().label2, "0:00:00");
  EXPECT_EQ(h.model->UsageTotal(), 0);
  EXPECT_EQ(h.model->VersionText(), "V1.4.6");
  EXPECT_TRUE(h.prompt.shown.empty());
}

TEST(Startup, ALaterStartDoesNotInitialiseAgain) {
  Form1Harness h;
  h.registry.Set(LM, SettingsKey, "firstuse", "1");
  ASSERT_TRUE(h.model->Form_Load());
  EXPECT_TRUE(h.registry.writes.empty());
}

struct TargetCase {
  const char* stored;
  const char* shown;
  bool rewritten;
};

TEST(Startup, RestoresTheCountdownMinutes) {
  const TargetCase cases[] = {
      {"1.5", "1.5", true},  {"20 分钟", "20", true}, {"0", "5", false},
      {"-3", "5", false},    {"abc", "5", false},      {"1e999", "5", false},
      {"5", "5", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "firstuse", "1");
    h.registry.Set(LM, SettingsKey, "text1", c.stored);  // either letter case names the value
    ASSERT_TRUE(h.model->Form_Load());
    EXPECT_EQ(h.sw().text1, c.shown);
    EXPECT_EQ(h.Stored("Text1"), c.rewritten ? c.shown : c.stored);
  }
}

TEST(Startup, RestoresTheModeAndStoresItBackOnlyWhenItChanges) {
  struct Case { const char* stored; bool ticked; };
  for (const Case& c : {Case{" 1", true}, Case{"1", true}, Case{" 0", false}, Case{"2", false}}) {
    SCOPED_TRACE(c.stored);
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "firstuse", "1");
    h.registry.Set(LM, SettingsKey, "Check2", c.stored);
    ASSERT_TRUE(h.model->Form_Load());
    EXPECT_EQ(h.sw().check2, c.ticked);
    EXPECT_EQ(h.Stored("Check2"), c.ticked ? " 1" : c.stored);
  }
}

TEST(Startup, RestoresTheGeometryWithinItsLimits) {
  struct Case { const char *left, *top, *width, *height; TwipsRect expected; };
  const Case cases[] = {
      {"2000", "3000", "8000", "6000", {2000, 3000, 8000, 6000}},
      {"0", "-15", "5299", "4379", {1000, 1000, 5300, 4815}},
      {"99999", "1", "5300", "4380", {99999, 1, 5300, 4380}},  // off-screen is kept as stored
      {"", "", "", "4000", {1000, 1000, 5300, 4815}},
  };
  for (const auto& c : cases) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "Left", c.left);
    h.registry.Set(LM, SettingsKey, "Top", c.top);
    h.registry.Set(LM, SettingsKey, "F_Width", c.width);
    h.registry.Set(LM, SettingsKey, "F_Height", c.height);
    ASSERT_TRUE(h.model->Form_Load());
    const TwipsRect g = h.model->View().geometry;
    EXPECT_EQ(g.left, c.expected.left) << c.left;
    EXPECT_EQ(g.top, c.expected.top) << c.top;
    EXPECT_EQ(g.width, c.expected.width) << c.width;
    EXPECT_EQ(g.height, c.expected.height) << c.height;
  }
}

TEST(Startup, TheUsageTotalSurvivesOnlyWhenBothCopiesAgree) {
  struct Case { const char* main; const char* copy; double total; };
  const Case cases[] = {
      {" 3600", " 3600", 3600}, {" 3600", "3600", 3600}, {" 3600", nullptr, 0},
      {nullptr, " 3600", 0},    {" 3600", " 3599", 0},   {nullptr, nullptr, 0},
      {" 5", "abc", 0},
  };
  for (const auto& c : cases) {
    Form1Harness h;
    if (c.main) h.registry.Set(LM, SettingsKey, "js00", c.main);
    if (c.copy) h.registry.Set(LM, UsageCopyKey, "js00", c.copy);
    ASSERT_TRUE(h.model->Form_Load());
    EXPECT_EQ(h.model->UsageTotal(), c.total) << (c.main ? c.main : "-") << " / " << (c.copy ? c.copy : "-");
  }
}

TEST(Startup, AVersionTheSingleNumberCannotHoldEndsTheProgram) {
  for (ProgramVersion v : {ProgramVersion{1, 10, 0}, ProgramVersion{1, 0, 10}}) {
    Form1Harness h(v);
    EXPECT_FALSE(h.model->Form_Load());
    EXPECT_EQ(h.prompt.shown, std::vector<std::string>{"版本号请调整一下"});
    EXPECT_EQ(h.lifetime.ended, 1);
  }
}

TEST(Startup, WithoutMachineWideRightsEverySettingSurvivesARestart) {
  Form1Harness h;
  h.registry.refuseMachineWrites = true;
  ASSERT_TRUE(h.model->Form_Load());
  h.watch().Text1_Change("7");
  h.watch().Check2_Click(true);
  for (int i = 0; i < 42; ++i) h.model->Timer1_Timer();
  const std::size_t storedValues = h.registry.Count();

  h.Rebuild();
  h.registry.writes.clear();
  ASSERT_TRUE(h.model->Form_Load());
  EXPECT_EQ(h.sw().text1, "7");
  EXPECT_TRUE(h.sw().check2);
  EXPECT_EQ(h.model->UsageTotal(), 42);
  EXPECT_EQ(h.model->View().geometry.width, h.frame.bounds.width);
  for (const auto& w : h.registry.writes) EXPECT_NE(w.name, "firstuse");  // no second first run
  EXPECT_EQ(h.registry.Count(), storedValues);
  EXPECT_EQ(h.registry.Get(CU, SettingsKey, "firstuse"), "1");
}

}  // namespace
}  // namespace tkd
