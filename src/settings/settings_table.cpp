// The settings table expanded from the list, and the restore rules its rows carry.
#include "settings/settings_table.h"

#include <array>
#include <iterator>

#include "core/number_text.h"
#include "core/target_minutes.h"
#include "settings/settings_store.h"

namespace tkd {
namespace {

#define TKD_TABLE_ROW(row, ...) setting::row,
constexpr Setting kTable[] = {TKD_SETTINGS(TKD_TABLE_ROW)};
#undef TKD_TABLE_ROW

#define TKD_ROW_ADDRESS(row, ...) &setting::row,
constexpr std::array<const Setting*, kHours> kHourBoxes = {TKD_HOUR_BOXES(TKD_ROW_ADDRESS)};
#undef TKD_ROW_ADDRESS
constexpr std::array<const Setting*, kHideablePages> kHidePageBoxes = {
    &setting::CheckOption2, &setting::CheckOption3, &setting::CheckOption4, &setting::CheckOption5};

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool SameName(const char* a, const char* b) {
  for (; *a && Lower(*a) == Lower(*b); ++a, ++b) {}
  return Lower(*a) == Lower(*b);
}

constexpr const char* PathOf(KeyOf key) {
  switch (key) {
    case KeyOf::Settings: return SettingsKey;
    case KeyOf::InstallRecord: return InstallRecordKey;
    case KeyOf::UsageCopy: return UsageCopyKey;
    case KeyOf::Run: return RunKey;
  }
  return SettingsKey;
}

// A value named twice in one key (paths and names in any letter case) would be written from two
// rows that disagree.
constexpr bool EachValueOnce() {
  for (std::size_t i = 0; i < std::size(kTable); ++i)
    for (std::size_t j = i + 1; j < std::size(kTable); ++j)
      if (SameName(PathOf(kTable[i].key), PathOf(kTable[j].key)) && SameName(kTable[i].name, kTable[j].name))
        return false;
  return true;
}
static_assert(EachValueOnce(), "a value is listed twice");

// The first run walks the table from the top, so its rows come first and "firstuse", which marks
// the first run as done, last of them.
constexpr bool FirstRunRowsFirstMarkerLast() {
  std::size_t written = 0;
  while (written < std::size(kTable) && (kTable[written].firstRun || kTable[written].firstRunToday)) ++written;
  for (std::size_t i = written; i < std::size(kTable); ++i)
    if (kTable[i].firstRun || kTable[i].firstRunToday) return false;
  return written > 0 && SameName(kTable[written - 1].name, setting::firstuse.name);
}
static_assert(FirstRunRowsFirstMarkerLast(), "a first-run row follows one the first run leaves alone");

bool Inside(const RestoreRule& rule, double x) {
  return (rule.low.open ? x > rule.low.at : x >= rule.low.at) &&
         (rule.high.open ? x < rule.high.at : x <= rule.high.at);
}

// The reading's text when it lies within the rule's bounds, else its fallback. A reading just
// under an open end may round up to it in 15 digits (23.999999999999996 prints "24"); it is then
// written in full.
std::string TextWithin(const RestoreRule& rule, double x) {
  if (!Inside(rule, x)) return rule.fallback;
  std::string text = NumberText(x);
  return Inside(rule, NumericReading(text)) ? text : NumberTextExact(x);
}

}  // namespace

const Setting& HourBox(int hour) { return *kHourBoxes.at(static_cast<std::size_t>(hour)); }

const Setting& HidePageSetting(int page) { return *kHidePageBoxes.at(static_cast<std::size_t>(page)); }

const std::vector<Setting>& SettingsTable() {
  static const std::vector<Setting> table(std::begin(kTable), std::end(kTable));
  return table;
}

const char* KeyPath(KeyOf key) { return PathOf(key); }

std::string Restored(const Setting& row, const std::string& stored) {
  const RestoreRule& rule = row.rule;
  const double x = NumericReading(stored);
  switch (rule.kind) {
    case RestoreKind::AsStored: return stored;
    case RestoreKind::FirstRunWhenZero: return x == 0 ? "0" : "1";
    case RestoreKind::DateElseToday: return x == 0 ? "" : stored;
    case RestoreKind::NonZeroElse: return x != 0 ? NumberText(x) : rule.fallback;
    case RestoreKind::Within: return TextWithin(rule, x);
    case RestoreKind::MinutesWithin: return TextWithin(rule, TargetMinutes(stored));
  }
  return "";
}

}  // namespace tkd
