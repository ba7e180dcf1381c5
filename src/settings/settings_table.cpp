// The settings table and the restore rules its rows name.
#include "settings/settings_table.h"

#include <array>

#include "core/number_text.h"
#include "core/target_minutes.h"
#include "settings/settings_store.h"

namespace tkd {
namespace {

const std::array<std::string, kHours>& HourBoxNames() {
  static const auto names = [] {
    std::array<std::string, kHours> n;
    for (int hour = 0; hour < kHours; ++hour) n[hour] = "Check" + std::to_string(10 + hour);
    return n;
  }();
  return names;
}

const std::array<Setting, kHours>& HourBoxes() {
  static const auto boxes = [] {
    std::array<Setting, kHours> b{};
    for (int hour = 0; hour < kHours; ++hour)
      b[hour] = Setting{.name = HourBoxNames()[hour].c_str(), .firstRun = "1"};
    return b;
  }();
  return boxes;
}

std::vector<Setting> BuildTable() {
  using namespace setting;
  std::vector<Setting> t = {Check1, Check2, Check3, Check9};
  t.insert(t.end(), HourBoxes().begin(), HourBoxes().end());
  t.insert(t.end(), {CheckOption1, ADsj, firstDate, firstuse,
                     Check6, Check8, CheckOption2, CheckOption3, CheckOption4, CheckOption5,
                     Text1, Text5, Text6, Text7, Text8, Top, Left, F_Width, F_Height, js00,
                     js00Copy, AllMove, MaxMove, MaxMoveDate, MingCi, ADtime, isClose, Path,
                     tkdExeName, tikodan});
  t.push_back(UserId);
  return t;
}

// The reading's text when it lies in [low, high), else empty. A reading just under the limit
// may round up to it in 15 digits (23.999999999999996 prints "24"); it is then written in full.
std::string TextWithin(double x, double low, double high) {
  if (!(x >= low && x < high)) return "";
  std::string text = NumberText(x);
  return NumericReading(text) < high ? text : NumberTextExact(x);
}

}  // namespace

const Setting& HourBox(int hour) { return HourBoxes().at(static_cast<std::size_t>(hour)); }

const std::vector<Setting>& SettingsTable() {
  static const std::vector<Setting> table = BuildTable();
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

std::string Restored(const Setting& row, const std::string& stored) {
  using R = RestoreRule;
  const double x = NumericReading(stored);
  switch (row.rule) {
    case R::AsStored: return stored;
    case R::FirstRunWhenZero: return x == 0 ? "0" : "1";
    case R::DateElseToday: return x == 0 ? "" : stored;
    case R::TickedWhenOne: return x == 1 ? "1" : "0";
    case R::PositiveMinutesElse5: {
      const double minutes = TargetMinutes(stored);
      return minutes > 0 ? NumberText(minutes) : "5";
    }
    case R::HourElseEmpty: return TextWithin(x, 0, 24);
    case R::MinuteElseEmpty: return TextWithin(x, 0, 60);
    case R::NonZeroElse1000: return NumberText(x != 0 ? x : kDefaultEdge);
    case R::AtLeastMinWidthElseMin: return NumberText(x < Form1minW ? Form1minW : x);
    case R::AtLeastMinHeightElse4815: return NumberText(x < Form1minH ? kDefaultHeight : x);
    case R::PositiveElseZero: return NumberText(x > 0 ? x : 0);
    case R::AtLeastOneElseOne: return NumberText(x >= 1 ? x : 1);
    case R::PositiveElse180: return NumberText(x > 0 ? x : 180);
  }
  return "";
}

}  // namespace tkd
