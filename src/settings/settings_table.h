// Every value the program keeps in the registry: one list, one line per value, from which the
// named rows, the table, the first run's writes and the restore rules all come.
#pragma once

#include <limits>
#include <string>
#include <vector>

namespace tkd {

enum class KeyOf { Settings, InstallRecord, UsageCopy, Run };

// How writers format a number for the value (SettingsStore::WriteNumber).
enum class StoredForm {
  Text,         // stored as given: literals, texts as typed, dates, paths
  BlankNumber,  // " 1", " 0", "-3": what check boxes, counters and the rank store
  PlainNumber,  // "1000": window geometry
};

// One end of the range a restored number must lie in.
struct Bound {
  double at;
  bool open;  // the end itself lies outside
};
constexpr Bound Closed(double at) { return {at, false}; }
constexpr Bound Open(double at) { return {at, true}; }
// No upper end: every reading is finite, so every reading lies below it.
inline constexpr Bound kNoEnd = Closed(std::numeric_limits<double>::infinity());

enum class RestoreKind {
  AsStored,          // taken as text (dates, paths); also values the program only writes
  FirstRunWhenZero,  // "0" when it reads 0: the first run is due; else "1"
  DateElseToday,     // the stored text, or empty when it reads 0: today's date is due
  NonZeroElse,       // its reading, or the fallback when it reads 0 (missing too); where the
                     // window's place lies on no monitor is WindowGeometry's to judge
  Within,            // its reading's text when it lies between low and high, else the fallback
  MinutesWithin,     // the same, of the minutes as the countdown reads them (TargetMinutes)
};

// How a stored text becomes a control's state or a variable at start-up.
struct RestoreRule {
  RestoreKind kind;
  Bound low = Closed(0), high = kNoEnd;
  const char* fallback = "";
};
inline constexpr RestoreRule AsStored{RestoreKind::AsStored};
inline constexpr RestoreRule FirstRunWhenZero{RestoreKind::FirstRunWhenZero};
inline constexpr RestoreRule DateElseToday{RestoreKind::DateElseToday};
constexpr RestoreRule NonZeroElse(const char* fallback) {
  return {.kind = RestoreKind::NonZeroElse, .fallback = fallback};
}
constexpr RestoreRule Within(Bound low, Bound high, const char* fallback) {
  return {RestoreKind::Within, low, high, fallback};
}
constexpr RestoreRule MinutesWithin(Bound low, Bound high, const char* fallback) {
  return {RestoreKind::MinutesWithin, low, high, fallback};
}
// A check box: ticked only when it reads exactly 1.
inline constexpr RestoreRule Ticked = Within(Closed(1), Closed(1), "0");

// What the first run writes: a literal, today's date, or nothing.
struct FirstRun {
  const char* text = nullptr;
  bool today = false;
};
inline constexpr FirstRun WritesNothing{};
inline constexpr FirstRun WritesToday{nullptr, true};
constexpr FirstRun Writes(const char* text) { return {text, false}; }

// One stored value. Registry names compare without regard to letter case, so "text1" and
// "Text1", "FirstDate" and "firstDate" are the same row.
struct Setting {
  const char* name;
  KeyOf key;
  StoredForm form;
  RestoreRule rule;
  const char* firstRun;  // what the first run writes; nullptr: nothing
  bool firstRunToday;    // the first run writes today's date instead
};
constexpr Setting Row(const char* id, KeyOf key, StoredForm form, FirstRun first, RestoreRule rule,
                      const char* name = nullptr) {
  return {name ? name : id, key, form, rule, first.text, first.today};
}

// The list. X(row, key, stored form, what the first run writes, how it is restored[, value name
// when not the row's]). Its order is the table's: the first run writes its rows from the top,
// "firstuse" last; the rows after it are never written by the first run.
#define TKD_SETTINGS(X)                                                                            \
  X(Check1,       Settings,      BlankNumber, Writes("0"),   Ticked)  /* always on top */         \
  X(Check2,       Settings,      BlankNumber, Writes("0"),   Ticked)  /* countdown mode */        \
  X(Check3,       Settings,      BlankNumber, Writes("1"),   Ticked)  /* menu bar */              \
  X(Check9,       Settings,      BlankNumber, Writes("1"),   Ticked)  /* hourly chime on */       \
  TKD_HOUR_BOXES(X)                                                                                \
  X(CheckOption1, Settings,      BlankNumber, Writes("1"),   Ticked)  /* start with Windows */    \
  X(ADsj,         Settings,      BlankNumber, Writes("1"),   Within(Closed(1), kNoEnd, "1"))      \
  X(firstDate,    Settings,      Text,        WritesToday,   DateElseToday)                       \
  X(firstuse,     Settings,      Text,        Writes("1"),   FirstRunWhenZero)                    \
  X(Check6,       Settings,      BlankNumber, WritesNothing, Ticked)  /* daily shutdown 1 */      \
  X(Check8,       Settings,      BlankNumber, WritesNothing, Ticked)  /* daily shutdown 2 */      \
  X(CheckOption2, Settings,      BlankNumber, WritesNothing, Ticked)  /* hide page 0 */           \
  X(CheckOption3, Settings,      BlankNumber, WritesNothing, Ticked)  /* hide page 1 */           \
  X(CheckOption4, Settings,      BlankNumber, WritesNothing, Ticked)  /* hide page 2 */           \
  X(CheckOption5, Settings,      BlankNumber, WritesNothing, Ticked)  /* hide page 3 */           \
  X(Text1,        Settings,      Text,        WritesNothing, MinutesWithin(Open(0), kNoEnd, "5")) \
  X(Text5,        Settings,      Text,        WritesNothing, Within(Closed(0), Open(24), ""))     \
  X(Text6,        Settings,      Text,        WritesNothing, Within(Closed(0), Open(60), ""))     \
  X(Text7,        Settings,      Text,        WritesNothing, Within(Closed(0), Open(24), ""))     \
  X(Text8,        Settings,      Text,        WritesNothing, Within(Closed(0), Open(60), ""))     \
  X(Top,          Settings,      PlainNumber, WritesNothing, NonZeroElse("1000"))                 \
  X(Left,         Settings,      PlainNumber, WritesNothing, NonZeroElse("1000"))                 \
  X(F_Width,      Settings,      PlainNumber, WritesNothing, Within(Closed(5300), kNoEnd, "5300")) \
  X(F_Height,     Settings,      PlainNumber, WritesNothing, Within(Closed(4380), kNoEnd, "4815")) \
  /* the usage total, kept in two keys; restored only when both copies agree */                   \
  X(js00,         Settings,      BlankNumber, WritesNothing, AsStored)                            \
  X(js00Copy,     UsageCopy,     BlankNumber, WritesNothing, AsStored, "js00")                    \
  X(AllMove,      Settings,      BlankNumber, WritesNothing, AsStored)  /* encoded distance */    \
  X(MaxMove,      Settings,      BlankNumber, WritesNothing, AsStored)                            \
  X(MaxMoveDate,  Settings,      Text,        WritesNothing, AsStored)                            \
  X(MingCi,       Settings,      BlankNumber, WritesNothing, Within(Open(0), kNoEnd, "0"))        \
  X(ADtime,       Settings,      PlainNumber, WritesNothing, Within(Open(0), kNoEnd, "180"))      \
  X(isClose,      Settings,      Text,        WritesNothing, Ticked)  /* set by other programs */ \
  /* written for other tools and for Windows */                                                    \
  X(Path,         InstallRecord, Text,        WritesNothing, AsStored)                            \
  X(tkdExeName,   InstallRecord, Text,        WritesNothing, AsStored)                            \
  X(tikodan,      Run,           Text,        WritesNothing, AsStored)                            \
  X(UserId,       Settings,      Text,        WritesNothing, AsStored)  /* for the rank page */

// The boxes for hours 0 ... 23, each ticked by the first run.
#define TKD_HOUR_BOX(X, row) X(row, Settings, BlankNumber, Writes("1"), Ticked)
#define TKD_HOUR_BOXES(X)                                                                        \
  TKD_HOUR_BOX(X, Check10) TKD_HOUR_BOX(X, Check11) TKD_HOUR_BOX(X, Check12) TKD_HOUR_BOX(X, Check13) \
  TKD_HOUR_BOX(X, Check14) TKD_HOUR_BOX(X, Check15) TKD_HOUR_BOX(X, Check16) TKD_HOUR_BOX(X, Check17) \
  TKD_HOUR_BOX(X, Check18) TKD_HOUR_BOX(X, Check19) TKD_HOUR_BOX(X, Check20) TKD_HOUR_BOX(X, Check21) \
  TKD_HOUR_BOX(X, Check22) TKD_HOUR_BOX(X, Check23) TKD_HOUR_BOX(X, Check24) TKD_HOUR_BOX(X, Check25) \
  TKD_HOUR_BOX(X, Check26) TKD_HOUR_BOX(X, Check27) TKD_HOUR_BOX(X, Check28) TKD_HOUR_BOX(X, Check29) \
  TKD_HOUR_BOX(X, Check30) TKD_HOUR_BOX(X, Check31) TKD_HOUR_BOX(X, Check32) TKD_HOUR_BOX(X, Check33)

// setting::Check1 ... setting::UserId, one named row per line of the list.
namespace setting {
#define TKD_NAMED_ROW(row, key, form, first, rule, ...) \
  inline constexpr Setting row = Row(#row, KeyOf::key, StoredForm::form, first, rule __VA_OPT__(, ) __VA_ARGS__);
TKD_SETTINGS(TKD_NAMED_ROW)
#undef TKD_NAMED_ROW
}  // namespace setting

inline constexpr int kHours = 24;
// The box for hour h (0 ... 23): "Check10" ... "Check33", ticked at the first run.
const Setting& HourBox(int hour);

inline constexpr int kHideablePages = 4;
// The box that hides page 0 ... 3 of the main window: "CheckOption2" ... "CheckOption5".
const Setting& HidePageSetting(int page);

// Every row, in the order of the list: the first run's, then the rest.
const std::vector<Setting>& SettingsTable();

// The registry path of a key.
const char* KeyPath(KeyOf key);

// A stored text under the row's restore rule: "1"/"0" for a check box, the text a box shows, or
// the number a variable takes. A restored number never prints outside its rule's range.
std::string Restored(const Setting& row, const std::string& stored);

// The whole number a fallback's digits stand for ("4815").
constexpr double DigitsValue(const char* text) {
  double value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + (*text - '0');
  return value;
}

// Window size limits and defaults in twips, as the list restores them.
inline constexpr double Form1minW = setting::F_Width.rule.low.at;
inline constexpr double Form1minH = setting::F_Height.rule.low.at;
inline constexpr double kDefaultHeight = DigitsValue(setting::F_Height.rule.fallback);
inline constexpr double kDefaultEdge = DigitsValue(setting::Left.rule.fallback);

}  // namespace tkd
