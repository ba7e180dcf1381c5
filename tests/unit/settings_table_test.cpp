// The table of stored values, walked row by row, and the restore rules it names.
#include <gtest/gtest.h>

#include <set>

#include "core/number_text.h"
#include "settings/settings_table.h"
#include "support/fakes.h"

namespace tkd {
namespace {

TEST(SettingsTable, EveryValueIsListedOncePerKey) {
  std::set<std::pair<int, std::string>> seen;
  for (const auto& row : SettingsTable()) {
    auto id = std::make_pair(static_cast<int>(row.key), testing::Lower(row.name));
    EXPECT_TRUE(seen.insert(id).second) << row.name;
  }
  for (const char* name : {"firstuse", "firstDate", "Check6", "Check8", "CheckOption5", "Text8",
                           "Top", "Left", "F_Width", "F_Height", "AllMove", "MaxMove",
                           "MaxMoveDate", "MingCi", "ADtime", "isClose", "tkdExeName"})
    EXPECT_NE(FindSetting(name), nullptr) << name;
}

TEST(SettingsTable, TheHourBoxesCoverHoursZeroToTwentyThree) {
  for (int box = 10; box <= 33; ++box) {
    const SettingDef* row = FindSetting("Check" + std::to_string(box));
    ASSERT_NE(row, nullptr) << box;
    EXPECT_EQ(row->firstRunText, "1");
  }
  EXPECT_EQ(FindSetting("Check34"), nullptr);
  EXPECT_EQ(FindSetting("Check7"), nullptr);
}

TEST(SettingsTable, AMissingValueRestoresToTheDocumentedDefault) {
  for (const auto& row : SettingsTable())
    EXPECT_EQ(RestoredValue(row.rule, ""), row.missingGives) << row.name;
}

TEST(SettingsTable, FirstRunValuesAreWrittenInOrderWithTheMarkerLast) {
  std::vector<std::string> names;
  for (const auto& row : SettingsTable())
    if (row.firstRun != FirstRun::NotWritten) names.push_back(row.name);
  ASSERT_EQ(names.size(), 32u);
  EXPECT_EQ(names.front(), "Check1");
  EXPECT_EQ(names[1], "Check2");
  EXPECT_EQ(names[2], "Check3");
  EXPECT_EQ(names[3], "Check9");
  EXPECT_EQ(names[4], "Check10");
  EXPECT_EQ(names[27], "Check33");
  EXPECT_EQ(names[28], "CheckOption1");
  EXPECT_EQ(names[29], "ADsj");
  EXPECT_EQ(names[30], "firstDate");
  EXPECT_EQ(names.back(), "firstuse");
}

TEST(SettingsTable, FirstRunLiteralsReadBackAsTheirRestoredState) {
  // What the first run writes must restore as the state it stands for.
  for (const auto& row : SettingsTable()) {
    if (row.firstRun != FirstRun::Literal || row.rule != RestoreRule::TickedWhenOne) continue;
    EXPECT_EQ(RestoredValue(row.rule, row.firstRunText), row.firstRunText) << row.name;
  }
}

TEST(SettingsTable, OtherLetterCasesFindTheSameRow) {
  EXPECT_EQ(FindSetting("FirstDate"), FindSetting("firstDate"));
  EXPECT_EQ(FindSetting("text1"), FindSetting("Text1"));
  EXPECT_EQ(FindSetting("ISCLOSE"), FindSetting("isClose"));
  EXPECT_EQ(KeyPath(FindSetting("Path")->key), std::string("Software\\Brisolaken\\tikodan"));
  EXPECT_EQ(KeyPath(FindSetting("tikodan")->key),
            std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
}

struct RuleCase {
  RestoreRule rule;
  const char* stored;
  const char* restored;
};

TEST(RestoredValue, AppliesEachRule) {
  using R = RestoreRule;
  const RuleCase cases[] = {
      {R::TickedWhenOne, " 1", "1"},        {R::TickedWhenOne, "1", "1"},
      {R::TickedWhenOne, "1.0", "1"},       {R::TickedWhenOne, "2", "0"},
      {R::TickedWhenOne, "-1", "0"},        {R::TickedWhenOne, "yes", "0"},
      {R::PositiveMinutesElse5, "1.5", "1.5"},  {R::PositiveMinutesElse5, "20 分钟", "20"},
      {R::PositiveMinutesElse5, "0", "5"},      {R::PositiveMinutesElse5, "-2", "5"},
      {R::PositiveMinutesElse5, "1e999", "5"},  {R::PositiveMinutesElse5, "1e307", "5"},
      {R::PositiveMinutesElse5, " 0.1", "0.1"},
      {R::HourElseEmpty, "23", "23"},       {R::HourElseEmpty, "24", ""},
      {R::HourElseEmpty, "-1", ""},         {R::HourElseEmpty, "7.5", "7.5"},
      {R::MinuteElseEmpty, "59", "59"},     {R::MinuteElseEmpty, "60", ""},
      {R::PositiveElse1000, "0", "1000"},   {R::PositiveElse1000, "-15", "1000"},
      {R::PositiveElse1000, "99999", "99999"},
      {R::AtLeastMinWidthElseMin, "5299.9", "5300"}, {R::AtLeastMinWidthElseMin, "5300", "5300"},
      {R::AtLeastMinWidthElseMin, "8000", "8000"},
      {R::AtLeastMinHeightElse4815, "4379", "4815"}, {R::AtLeastMinHeightElse4815, "4380", "4380"},
      {R::AtLeastMinHeightElse4815, "4000", "4815"},
      {R::AtLeastOneElseOne, "0", "1"},     {R::AtLeastOneElseOne, " 5", "5"},
      {R::PositiveElse180, "0", "180"},     {R::PositiveRankElseNone, "-3", "0"},
      {R::DateOrToday, "2026/12/6", "2026/12/6"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RestoredValue(c.rule, c.stored), c.restored)
        << static_cast<int>(c.rule) << " '" << c.stored << "'";
}

}  // namespace
}  // namespace tkd
