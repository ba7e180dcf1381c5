// Statistics: the mouse odometer's samples, stored distances and record, usage and points.
#include <gtest/gtest.h>

#include "stats/odometer.h"
#include "stats/overview.h"
#include "support/form1_harness.h"

namespace tkd {
namespace {

using namespace testing;
constexpr auto LM = RegRoot::LocalMachine;

struct OdometerTest : ::testing::Test {
  FakeRegistry registry;
  SettingsStore store{registry};
  FakeLocale locale;
  MouseOdometer odometer{store, locale};
};

TEST_F(OdometerTest, EachSampleAddsTheStraightLineFromThePreviousPosition) {
  odometer.Restore();
  const struct { int x, y; double today; const char *position, *metres; } samples[] = {
      {3, 4, 5, "( 3, 4)", " 0.001m "},                // the first sample starts from (0, 0)
      {3, 4, 5, "( 3, 4)", " 0.001m "},                // standing still adds nothing
      {-1277, 4, 1285, "(-1277, 4)", " 0.341m "},      // left of the primary monitor
      {16777216, 4, 16779778, "( 16777216, 4)", " 4,446.641m "},
      {16777217, 4, 16779779, "( 16777217, 4)", " 4,446.641m "},  // a pixel still counts after 4.4 km
  };
  for (const auto& s : samples) {
    odometer.Sample({s.x, s.y});
    EXPECT_EQ(odometer.TodayMove(), s.today) << s.x;
    EXPECT_EQ(odometer.Label22(), s.position);
    EXPECT_EQ(odometer.Label3(), s.metres);
  }
  EXPECT_EQ(odometer.AllMove(), 16779779);
  // Standing still, it is sampled less and less often; the first move brings the full rate back.
  int stillSamples = 0;
  while (odometer.NextSampleMs() == kSampleMovingMs && stillSamples < 1000) odometer.Sample({16777217, 4}), ++stillSamples;
  EXPECT_EQ(stillSamples, (kStillBeforeSlowingMs + kSampleMovingMs - 1) / kSampleMovingMs);  // half a second
  EXPECT_EQ(odometer.NextSampleMs(), kSampleStillMs);
  odometer.Sample({16777218, 4});
  EXPECT_EQ(odometer.NextSampleMs(), kSampleMovingMs);
  for (int sample = 0; sample < 9'000'000; ++sample) odometer.Sample({16777218, 4});  // 25 days still
  EXPECT_EQ(odometer.NextSampleMs(), kSampleStillMs);
  // The way between two samples, where the platform keeps it: every bend counts, 20 samples a second.
  EXPECT_TRUE(odometer.Sample({{16777218, 0}, {16777219, 0}, {16777219, 4}}, true));
  EXPECT_EQ(odometer.TodayMove(), 16779779 + 1 + 4 + 1 + 4);
  EXPECT_EQ(odometer.NextSampleMs(), kSamplePathMs);
}

TEST_F(OdometerTest, StoredDistancesDecodeOnlyAsWritten) {
  const struct { double pixels; const char* stored; } encoded[] = {
      {100.9, " 7919"}, {-1, " 4182"},  // 100 x 37 + 4219, -1 x 37 + 4219
      {151201201201542, " 5594444444461273"},  // 15 digits would not decode again
  };
  for (const auto& c : encoded) EXPECT_EQ(EncodeDistance(c.pixels), c.stored) << c.pixels;
  const struct { const char* stored; std::optional<double> pixels; } cases[] = {
      {" 7919", 100}, {" 4219", 0}, {"7919", 100}, {" 7920", std::nullopt}, {"", std::nullopt},
      {"abc", std::nullopt}, {" 4182", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeDistance(c.stored), c.pixels) << '"' << c.stored << '"';
}

TEST_F(OdometerTest, ARecordPassedInThisRunIsWrittenInEachSecondItGrowsAndShownFromTheNextStart) {
  registry.Set(LM, SettingsKey, "MaxMove", EncodeDistance(4000));
  registry.Set(LM, SettingsKey, "MaxMoveDate", "2026-1-2 9:00:00");
  registry.Set(LM, SettingsKey, "AllMove", " 7920");  // edited by hand: restores as 0
  odometer.Restore();
  EXPECT_EQ(odometer.View().label24, " 1.060m ");
  EXPECT_EQ(odometer.View().label24Tip, "历史最高记录发生于：2026-1-2 9:00:00");
  odometer.Sample({3000, 4000});  // 5000 px
  odometer.Store({2026, 12, 6, 14, 5, 9});
  odometer.Sample({3000, 4100});
  odometer.Store({2026, 12, 6, 14, 5, 10});
  odometer.Store({2026, 12, 6, 14, 5, 11});  // at rest: the date stays that of the last growth
  EXPECT_EQ(store.Read(setting::MaxMove), EncodeDistance(5100));
  EXPECT_EQ(store.Read(setting::MaxMoveDate), "2026-12-6 14:05:10");
  EXPECT_EQ(store.Read(setting::AllMove), EncodeDistance(5100));
  EXPECT_EQ(odometer.View().label20, " 0.001km ");
  EXPECT_EQ(odometer.View().label24, " 1.060m ");  // the new record shows from the next start
  registry.Set(LM, SettingsKey, "MaxMove", "");
  odometer.Restore();
  EXPECT_EQ(odometer.View().label24, " 0m ");
  // Equalled, not passed, in a run beyond what single precision holds exactly: no new record.
  registry.Set(LM, SettingsKey, "MaxMove", EncodeDistance(16777217));
  MouseOdometer equalled{store, locale};
  equalled.Restore();
  equalled.Sample({16777217, 0});
  equalled.Store({2026, 12, 6, 15, 0, 0});
  EXPECT_EQ(store.Read(setting::MaxMoveDate), "2026-12-6 14:05:10");
}

TEST(Points, AHundredMetresOfTravelOrAnHourOfUseEach) {
  const struct { double pixels, seconds, points; } cases[] = {
      {377358, 0, 0}, {377359, 0, 1}, {0, 3599, 0}, {0, 3600, 1}, {377359 * 3, 7200, 5}};
  for (const auto& c : cases) EXPECT_EQ(Points(c.pixels, c.seconds), c.points) << c.pixels << " " << c.seconds;
}

TEST(OverviewPage, FillsFromTheFirstTickAndKeepsTheFirstUseDate) {
  const struct { const char* stored; const char* shown; const char* written; } dates[] = {
      {nullptr, "2026-12-6", "2026-12-6"}, {"2025/1/2", "2025/1/2", "2025/1/2"}, {"六月", "2026-12-6", "2026-12-6"}};
  for (const auto& d : dates) {
    Form1Harness h;
    h.registry.Set(LM, SettingsKey, "firstuse", "1");
    if (d.stored) h.registry.Set(LM, SettingsKey, "FirstDate", d.stored);
    h.registry.Set(LM, SettingsKey, "js00", " 3599");
    h.registry.Set(LM, UsageCopyKey, "js00", " 3599");
    ASSERT_TRUE(h.Load());
    EXPECT_EQ(h.model->overview().View().label27, std::string("首次使用本软件的日期：") + d.shown);
    EXPECT_EQ(h.Stored(setting::firstDate), d.written);
    h.cursor.at = {300, 400};
    h.model->Timer4_Timer();
    h.Run(3725'000);
    const OverviewView& v = h.model->overview().View();
    EXPECT_EQ((std::vector<std::string>{v.label30, v.label32, v.label33, v.label34}),
              (std::vector<std::string>{"积分：2分", "2:02:04", " 0.000km ", "软件本次已运行  1:02:05"}));
  }
}

}  // namespace
}  // namespace tkd
