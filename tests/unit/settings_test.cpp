// The settings store's per-user fallback and the restore rules of the settings list.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "settings/window_geometry.h"
#include "support/fakes.h"

namespace tkd {
namespace {

using testing::FakeRegistry;
constexpr auto LM = RegRoot::LocalMachine;
constexpr auto CU = RegRoot::CurrentUser;

TEST(SettingsStore, ARefusedMachineWriteLivesOnPerUserAndStaysCurrent) {
  FakeRegistry registry;
  SettingsStore store(registry);
  registry.refuseMachineWrites = true;
  store.Write(setting::Text1, "7");
  EXPECT_EQ(registry.Read(CU, SettingsKey, "Text1"), "7");
  EXPECT_EQ(store.Read(setting::Text1), "7");

  // Once machine-wide writes succeed again, the per-user copy (read first) follows them.
  registry.refuseMachineWrites = false;
  store.Write(setting::Text1, "9");
  EXPECT_EQ(registry.Read(LM, SettingsKey, "Text1"), "9");
  EXPECT_EQ(store.Read(setting::Text1), "9");
  EXPECT_EQ(registry.Read(CU, SettingsKey, "Check2"), std::nullopt);
  store.Write(setting::Check2, " 1");
  EXPECT_EQ(registry.Read(CU, SettingsKey, "Check2"), std::nullopt);  // no copy made needlessly
}

TEST(SettingsStore, AValueIsNotWrittenAgainWithTheTextItHoldsMachineWide) {
  FakeRegistry registry;
  SettingsStore store(registry);
  registry.Set(LM, SettingsKey, "Check9", " 1");
  registry.Set(LM, SettingsKey, "Text1", "5");
  registry.Set(CU, SettingsKey, "Text1", "7");  // a per-user copy, which reads take first
  for (const Setting* row : {&setting::Check9, &setting::Text1, &setting::Text5}) store.Read(*row);
  store.Write(setting::Check9, " 1"), store.Write(setting::Text1, "7"), store.Write(setting::Text5, "");
  EXPECT_EQ(registry.writes, (std::vector<std::string>{"Text1=7", "Text1=7", "Text5="}));  // missing: made
}

// Each rule with the rows that carry it, and a case just inside and just outside each end. The
// first run's writes, in order, are pinned where the whole start-up is (Form1Load).
TEST(SettingsTable, RestoreRulesNeverGiveATextOutsideTheirRange) {
  using namespace setting;
  const struct { std::vector<Setting> rows; std::vector<std::pair<const char*, const char*>> cases; } rules[] = {
      {{Check1, Check2, Check3, CheckOption2, CheckOption3, CheckOption4, CheckOption5}, {{" 1", "1"}, {"0.5", "0"}, {"2", "0"}}},
      {{Text1}, {{"0.5", "0.5"}, {"20 分钟", "20"}, {"0", "5"}, {"1e307", "5"}}},
      {{Text5, Text7}, {{"23.999999999999996", "23.999999999999996"}, {"24", ""}, {"-1", ""}, {"", "0"}}},  // 15 digits: "24"
      {{Text6, Text8}, {{"59.99999999999999", "59.99999999999999"}, {"60", ""}, {"-1", ""}, {"", "0"}}},
      {{Top, Left}, {{"0", "1000"}, {"99999", "99999"}, {"-1280", "-1280"}}},
      {{F_Width}, {{"5299.9", "5300"}, {"5300.5", "5300.5"}}},
      {{F_Height}, {{"4379", "4815"}, {"4380", "4380"}}},
      {{ADsj}, {{"0.9", "1"}, {" 1.5", "1.5"}}},
      {{MingCi}, {{"-0.5", "0"}, {" 1", "1"}}},
      {{ADtime}, {{"", "180"}, {"0.5", "0.5"}}},
      {{firstDate}, {{"2026/12/6", "2026/12/6"}, {"六月", ""}}},
      {{firstuse}, {{"2", "1"}, {"-1", "1"}, {"", "0"}}},
  };
  for (const auto& rule : rules)
    for (const Setting& row : rule.rows)
      for (const auto& [stored, restored] : rule.cases)
        EXPECT_EQ(Restored(row, stored), restored) << row.name << " '" << stored << "'";
}

// A 96-dpi primary, a 144-dpi monitor to its right, a 168-dpi one left of it and a little above.
struct TwoScalesTest : ::testing::Test {
  FakeRegistry registry;
  SettingsStore store{registry};
  testing::FakeFrame frame;
  testing::FakeMonitors monitors{{{{0, 0, 1920, 1080}, 96}, {{1920, 0, 2880, 1620}, 144}, {{-1280, -300, 1280, 1024}, 168}}};
  WindowGeometry geometry{store, frame, monitors};
};

TEST_F(TwoScalesTest, SaveThenRestoreIsTheIdentityOnEveryMonitor) {
  // Each with the twips of its left edge and width: those of the monitor that holds its corner.
  const struct { PixelRect place; const char *left, *width; } cases[] = {
      {{2000, 100, 530, 482}, "29600", "5300"},   {{1920, 10, 530, 482}, "28800", "5300"},
      {{100, 100, 354, 321}, "1500", "5310"},     {{1333, 200, 400, 400}, "19995", "6000"},
      {{-1000, -200, 701, 601}, "-16800", "6009"}, {{-50, 100, 650, 550}, "-8657", "5571"}};  // partly off the left one
  for (const auto& [place, left, width] : cases) {
    frame.bounds = place;
    geometry.SavePosition();
    geometry.SaveSize();
    EXPECT_EQ((std::vector{store.Read(setting::Left), store.Read(setting::F_Width)}), (std::vector<std::string>{left, width}));
    const PixelRect restored = geometry.Restore();
    EXPECT_EQ((std::vector{restored.left, restored.top, restored.width, restored.height}),
              (std::vector{place.left, place.top, place.width, place.height})) << place.left << "," << place.top;
  }
}

TEST_F(TwoScalesTest, APlaceOnNoMonitorOpensAtTheDefaultOneAndZeroMeansTheDefault) {
  const struct { const char *left, *top; int x, y; } cases[] = {
      {"100000", "1500", 67, 67},   // where a monitor since detached stood
      {"57600", "0", 67, 67},       // just right of the right one: touching is not on it
      {"-30000", "-1500", 67, 67},  {"", "", 67, 67},
      {"0", "1500", 67, 100}};      // 0 (or nothing stored) reads as the default edge
  for (const auto& c : cases) {
    registry.Set(RegRoot::LocalMachine, SettingsKey, "Left", c.left);
    registry.Set(RegRoot::LocalMachine, SettingsKey, "Top", c.top);
    const PixelRect restored = geometry.Restore();
    // 5300 twips are 353.3 pixels at 96 dots per inch: never less than the minimum width.
    EXPECT_EQ((std::vector{restored.left, restored.top, restored.width}), (std::vector{c.x, c.y, 354})) << c.left << "," << c.top;
  }
}

TEST(WindowGeometry, TwipsBecomePixelsAWindowCanTake) {
  const struct { double twips; int dpi, pixels, atLeast; } cases[] = {
      {5300, 96, 353, 354}, {5300, 144, 530, 530}, {1e11, 96, 32000, 32000}, {-1e11, 96, -32000, -32000}};
  for (const auto& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips;
    EXPECT_EQ(TwipsToPixelsAtLeast(c.twips, c.dpi), c.atLeast) << c.twips;
  }
  EXPECT_EQ(PixelsToTwips(530, 144), 5300);
}

}  // namespace
}  // namespace tkd
