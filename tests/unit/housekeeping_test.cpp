// The housekeeping tick: counters, stored geometry and usage, the running title and the close request.
#include <gtest/gtest.h>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;
constexpr auto LM = RegRoot::LocalMachine;

class HousekeepingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.model->Form_Load());
    h.registry.writes.clear();
  }
  Form1Harness h;
};

TEST_F(HousekeepingTest, EachTickCountsASecondAndStoresTheTotalInBothKeys) {
  h.registry.Set(LM, SettingsKey, "js00", " 3599");
  h.registry.Set(LM, UsageCopyKey, "js00", " 3599");
  h.Rebuild();
  ASSERT_TRUE(h.model->Form_Load());
  for (int tick = 1; tick <= 3; ++tick) {
    h.model->Timer1_Timer();
    EXPECT_EQ(h.model->js0(), tick);
    EXPECT_EQ(h.model->UsageTotal(), 3599 + tick);
    const std::string expected = " " + std::to_string(3599 + tick);
    EXPECT_EQ(h.Stored("js00"), expected);
    EXPECT_EQ(h.Stored("js00", UsageCopyKey), expected);
  }
}

TEST_F(HousekeepingTest, WritesInTheTicksOrder) {
  h.model->Timer1_Timer();
  std::vector<std::string> names;
  for (const auto& w : h.registry.writes) names.push_back(w.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Left", "Top", "js00", "js00", "F_Width", "F_Height"}));
  EXPECT_EQ(h.registry.writes[3].subKey, UsageCopyKey);
  EXPECT_EQ(h.Stored("Left"), "1500");
  EXPECT_EQ(h.Stored("Top"), "1200");
  EXPECT_EQ(h.Stored("F_Width"), "6000");
  EXPECT_EQ(h.Stored("F_Height"), "5000");
}

TEST_F(HousekeepingTest, GeometryIsKeptOnlyInTheNormalState) {
  h.model->Timer1_Timer();
  h.frame.normal = false;  // minimised or maximised
  h.frame.bounds = {0, 0, 20000, 15000};
  h.model->Timer1_Timer();
  EXPECT_EQ(h.Stored("Left"), "1500");
  EXPECT_EQ(h.Stored("F_Width"), "6000");
  EXPECT_EQ(h.Stored("js00"), " 2");
}

TEST_F(HousekeepingTest, TheTitleShowsTheVersionAndTheTimeOfDay) {
  EXPECT_EQ(h.model->View().caption, "TiKoDan");
  h.model->Timer1_Timer();
  EXPECT_EQ(h.model->View().caption, "TiKoDanV1.4.6 14:05:09");
  h.clock.now.second = 10;
  h.model->Timer1_Timer();
  EXPECT_EQ(h.model->View().caption, "TiKoDanV1.4.6 14:05:10");
}

TEST_F(HousekeepingTest, AnotherProgramCanAskEveryCopyToEnd) {
  struct Case { const char* isClose; bool ends; };
  const Case cases[] = {{" 1", true}, {"1", true}, {"1.0", true}, {"1 please", true},
                        {"2", false}, {"0", false}, {"", false},   {"yes", false}};
  for (const auto& c : cases) {
    Form1Harness fresh;
    ASSERT_TRUE(fresh.model->Form_Load());
    fresh.registry.Set(LM, SettingsKey, "isClose", c.isClose);
    fresh.model->Timer1_Timer();
    EXPECT_EQ(fresh.lifetime.ended, c.ends ? 1 : 0) << '"' << c.isClose << '"';
    EXPECT_EQ(fresh.Stored("js00"), " 1");  // the second of use is stored before the end
  }
}

TEST_F(HousekeepingTest, ItNeverWritesTheCloseRequest) {
  for (int i = 0; i < 5; ++i) h.model->Timer1_Timer();
  for (const auto& w : h.registry.writes) EXPECT_NE(w.name, "isClose");
}

}  // namespace
}  // namespace tkd
