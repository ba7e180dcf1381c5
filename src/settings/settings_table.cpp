// The settings table and the restore rules it names.
#include "settings/settings_table.h"

#include <algorithm>
#include <cctype>

#include "core/number_text.h"
#include "settings/settings_store.h"
#include "timing/stopwatch.h"

namespace tkd {
namespace {

SettingDef Row(std::string name, KeyOf key, StoredForm form, FirstRun firstRun,
               std::string firstRunText, RestoreRule rule, std::string missingGives,
               std::string alsoReadAs = "") {
  return {std::move(name), key,  form, firstRun, std::move(firstRunText),
          rule, std::move(missingGives), std::move(alsoReadAs)};
}

std::vector<SettingDef> BuildTable() {
  using F = StoredForm;
  using R = RestoreRule;
  const auto S = KeyOf::Settings;
  const auto none = FirstRun::NotWritten;
  const auto lit = FirstRun::Literal;

  std::vector<SettingDef> t;
  // Written at first run, in this order.
  t.push_back(Row("Check1", S, F::BlankNumber, lit, "0", R::TickedWhenOne, "0"));
  t.push_back(Row("Check2", S, F::BlankNumber, lit, "0", R::TickedWhenOne, "0"));
  t.push_back(Row("Check3", S, F::BlankNumber, lit, "1", R::TickedWhenOne, "0"));
  t.push_back(Row("Check9", S, F::BlankNumber, lit, "1", R::TickedWhenOne, "0"));
  for (int box = 10; box <= 33; ++box)  // one box per hour, 0 ... 23
    t.push_back(Row("Check" + std::to_string(box), S, F::BlankNumber, lit, "1", R::TickedWhenOne, "0"));
  t.push_back(Row("CheckOption1", S, F::BlankNumber, lit, "1", R::TickedWhenOne, "0"));
  t.push_back(Row("ADsj", S, F::BlankNumber, lit, "1", R::AtLeastOneElseOne, "1"));
  t.push_back(Row("firstDate", S, F::Date, FirstRun::Today, "", R::DateOrToday, "", "FirstDate"));
  t.push_back(Row("firstuse", S, F::Literal, lit, "1", R::FirstRunMarker, "0"));

  // Not written at first run.
  t.push_back(Row("Check6", S, F::BlankNumber, none, "", R::TickedWhenOne, "0"));
  t.push_back(Row("Check8", S, F::BlankNumber, none, "", R::TickedWhenOne, "0"));
  for (const char* option : {"CheckOption2", "CheckOption3", "CheckOption4", "CheckOption5"})
    t.push_back(Row(option, S, F::BlankNumber, none, "", R::TickedWhenOne, "0"));
  t.push_back(Row("Text1", S, F::AsTyped, none, "", R::PositiveMinutesElse5, "5", "text1"));
  t.push_back(Row("Text5", S, F::AsTyped, none, "", R::HourElseEmpty, "0"));
  t.push_back(Row("Text6", S, F::AsTyped, none, "", R::MinuteElseEmpty, "0"));
  t.push_back(Row("Text7", S, F::AsTyped, none, "", R::HourElseEmpty, "0"));
  t.push_back(Row("Text8", S, F::AsTyped, none, "", R::MinuteElseEmpty, "0"));
  t.push_back(Row("Top", S, F::PlainNumber, none, "", R::PositiveElse1000, "1000"));
  t.push_back(Row("Left", S, F::PlainNumber, none, "", R::PositiveElse1000, "1000"));
  t.push_back(Row("F_Width", S, F::PlainNumber, none, "", R::AtLeastMinWidthElseMin, "5300"));
  t.push_back(Row("F_Height", S, F::PlainNumber, none, "", R::AtLeastMinHeightElse4815, "4815"));
  t.push_back(Row("js00", S, F::BlankNumber, none, "", R::SameInBothKeys, "0"));
  t.push_back(Row("js00", KeyOf::UsageCopy, F::BlankNumber, none, "", R::SameInBothKeys, "0"));
  t.push_back(Row("AllMove", S, F::BlankNumber, none, "", R::EncodedDistance, "0"));
  t.push_back(Row("MaxMove", S, F::BlankNumber, none, "", R::EncodedDistance, "0"));
  t.push_back(Row("MaxMoveDate", S, F::Date, none, "", R::TextAsStored, ""));
  t.push_back(Row("MingCi", S, F::BlankNumber, none, "", R::PositiveRankElseNone, "0"));
  t.push_back(Row("ADtime", S, F::PlainNumber, none, "", R::PositiveElse180, "180"));
  t.push_back(Row("isClose", S, F::Literal, none, "", R::CloseWhenOne, "0"));
  t.push_back(Row("Path", KeyOf::InstallRecord, F::Path, none, "", R::NotRead, ""));
  t.push_back(Row("tkdExeName", KeyOf::InstallRecord, F::Path, none, "", R::NotRead, ""));
  t.push_back(Row("tikodan", KeyOf::Run, F::Path, none, "", R::NotRead, ""));
  return t;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

const std::vector<SettingDef>& SettingsTable() {
  static const std::vector<SettingDef> table = BuildTable();
  return table;
}

const char* KeyPath(KeyOf key) {
  switch (key) {
    case KeyOf::Settings: return SettingsKey;
    case KeyOf::InstallRecord: return InstallRecordKey;
    case KeyOf::UsageCopy: return UsageCopyKey;
    case KeyOf::Run: return RunKey;
  }
  return SettingsKey;
}

const SettingDef* FindSetting(const std::string& name) {
  for (const auto& row : SettingsTable())
    if (SameName(row.name, name) || (!row.alsoReadAs.empty() && SameName(row.alsoReadAs, name)))
      return &row;
  return nullptr;
}

std::string RestoredValue(RestoreRule rule, const std::string& stored) {
  const double x = NumericReading(stored);
  switch (rule) {
    case RestoreRule::FirstRunMarker:
    case RestoreRule::TickedWhenOne:
    case RestoreRule::CloseWhenOne:
      return x == 1 ? "1" : "0";
    case RestoreRule::PositiveMinutesElse5: {
      const double minutes = TargetMinutes(stored);
      return minutes > 0 ? NumberText(minutes) : "5";
    }
    case RestoreRule::HourElseEmpty: return x >= 0 && x < 24 ? NumberText(x) : "";
    case RestoreRule::MinuteElseEmpty: return x >= 0 && x < 60 ? NumberText(x) : "";
    case RestoreRule::PositiveElse1000: return NumberText(x > 0 ? x : kDefaultEdge);
    case RestoreRule::AtLeastMinWidthElseMin: return NumberText(x < Form1minW ? Form1minW : x);
    case RestoreRule::AtLeastMinHeightElse4815:
      return NumberText(x < Form1minH ? kDefaultHeight : x);
    case RestoreRule::PositiveRankElseNone: return NumberText(x > 0 ? x : 0);
    case RestoreRule::AtLeastOneElseOne: return NumberText(x >= 1 ? x : 1);
    case RestoreRule::PositiveElse180: return NumberText(x > 0 ? x : 180);
    case RestoreRule::DateOrToday:
    case RestoreRule::TextAsStored:
      return stored;
    case RestoreRule::SameInBothKeys:
    case RestoreRule::EncodedDistance:
      return stored.empty() ? "0" : stored;
    case RestoreRule::NotRead:
      return stored;
  }
  return "";
}

}  // namespace tkd
