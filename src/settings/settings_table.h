// Every value the program keeps in the registry: one row per value, the single source that
// start-up, the tick and the handlers read and write through.
#pragma once

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

// How a stored text becomes a control's state or a variable at start-up.
enum class RestoreRule {
  AsStored,                 // taken as text (dates, paths); also values the program only writes
  FirstRunWhenZero,         // "0" when it reads 0: the first run is due; else "1"
  DateElseToday,            // the stored text, or empty when it reads 0: today's date is due
  TickedWhenOne,            // "1" only when it reads exactly 1, else "0"
  PositiveMinutesElse5,     // its reading's text when above 0, else "5"
  HourElseEmpty,            // its reading's text when 0 <= x < 24, else empty
  MinuteElseEmpty,          // its reading's text when 0 <= x < 60, else empty
  NonZeroElse1000,          // its reading, or 1000 when it reads 0 (missing too); where the
                            // window's place lies on no monitor is WindowGeometry's to judge
  AtLeastMinWidthElseMin,   // its reading when at least 5300, else 5300
  AtLeastMinHeightElse4815, // its reading when at least 4380, else 4815
  PositiveElseZero,         // its reading when above 0, else 0 (no rank)
  AtLeastOneElseOne,        // its reading when at least 1, else 1
  PositiveElse180,          // its reading when above 0, else 180
};

// One stored value. Registry names compare without regard to letter case, so "text1" and
// "Text1", "FirstDate" and "firstDate" are the same row.
struct Setting {
  const char* name;
  KeyOf key = KeyOf::Settings;
  StoredForm form = StoredForm::BlankNumber;
  RestoreRule rule = RestoreRule::TickedWhenOne;
  const char* firstRun = nullptr;  // what the first run writes; nullptr: nothing
  bool firstRunToday = false;      // the first run writes today's date instead
};

namespace setting {
using F = StoredForm;
using R = RestoreRule;
// Written by the first run, in this order; "firstuse" comes last, after the hour boxes.
inline constexpr Setting Check1{.name = "Check1", .firstRun = "0"};  // always on top
inline constexpr Setting Check2{.name = "Check2", .firstRun = "0"};  // countdown mode
inline constexpr Setting Check3{.name = "Check3", .firstRun = "1"};  // menu bar
inline constexpr Setting Check9{.name = "Check9", .firstRun = "1"};  // hourly chime on
// Check10 ... Check33, one per hour 0 ... 23: HourBox(h).
inline constexpr Setting CheckOption1{.name = "CheckOption1", .firstRun = "1"};  // start with Windows
inline constexpr Setting ADsj{.name = "ADsj", .rule = R::AtLeastOneElseOne, .firstRun = "1"};
inline constexpr Setting firstDate{
    .name = "firstDate", .form = F::Text, .rule = R::DateElseToday, .firstRunToday = true};
inline constexpr Setting firstuse{
    .name = "firstuse", .form = F::Text, .rule = R::FirstRunWhenZero, .firstRun = "1"};

// Not written by the first run.
inline constexpr Setting Check6{.name = "Check6"};  // daily shutdown, first time
inline constexpr Setting Check8{.name = "Check8"};  // daily shutdown, second time
inline constexpr Setting CheckOption2{.name = "CheckOption2"};  // hide page 0 ... 3
inline constexpr Setting CheckOption3{.name = "CheckOption3"};
inline constexpr Setting CheckOption4{.name = "CheckOption4"};
inline constexpr Setting CheckOption5{.name = "CheckOption5"};
inline constexpr Setting Text1{.name = "Text1", .form = F::Text, .rule = R::PositiveMinutesElse5};
inline constexpr Setting Text5{.name = "Text5", .form = F::Text, .rule = R::HourElseEmpty};
inline constexpr Setting Text6{.name = "Text6", .form = F::Text, .rule = R::MinuteElseEmpty};
inline constexpr Setting Text7{.name = "Text7", .form = F::Text, .rule = R::HourElseEmpty};
inline constexpr Setting Text8{.name = "Text8", .form = F::Text, .rule = R::MinuteElseEmpty};
inline constexpr Setting Top{.name = "Top", .form = F::PlainNumber, .rule = R::NonZeroElse1000};
inline constexpr Setting Left{.name = "Left", .form = F::PlainNumber, .rule = R::NonZeroElse1000};
inline constexpr Setting F_Width{
    .name = "F_Width", .form = F::PlainNumber, .rule = R::AtLeastMinWidthElseMin};
inline constexpr Setting F_Height{
    .name = "F_Height", .form = F::PlainNumber, .rule = R::AtLeastMinHeightElse4815};
// The usage total, kept in two keys; restored only when both copies agree.
inline constexpr Setting js00{.name = "js00", .rule = R::AsStored};
inline constexpr Setting js00Copy{.name = "js00", .key = KeyOf::UsageCopy, .rule = R::AsStored};
inline constexpr Setting AllMove{.name = "AllMove", .rule = R::AsStored};  // encoded distance
inline constexpr Setting MaxMove{.name = "MaxMove", .rule = R::AsStored};
inline constexpr Setting MaxMoveDate{.name = "MaxMoveDate", .form = F::Text, .rule = R::AsStored};
inline constexpr Setting MingCi{.name = "MingCi", .rule = R::PositiveElseZero};
inline constexpr Setting ADtime{.name = "ADtime", .form = F::PlainNumber, .rule = R::PositiveElse180};
inline constexpr Setting isClose{.name = "isClose", .form = F::Text};  // set by other programs
inline constexpr Setting UserId{.name = "UserId", .form = F::Text, .rule = R::AsStored};  // for the rank page
// Written for other tools and for Windows.
inline constexpr Setting Path{
    .name = "Path", .key = KeyOf::InstallRecord, .form = F::Text, .rule = R::AsStored};
inline constexpr Setting tkdExeName{
    .name = "tkdExeName", .key = KeyOf::InstallRecord, .form = F::Text, .rule = R::AsStored};
inline constexpr Setting tikodan{
    .name = "tikodan", .key = KeyOf::Run, .form = F::Text, .rule = R::AsStored};
}  // namespace setting

inline constexpr int kHours = 24;
// The box for hour h (0 ... 23): "Check10" ... "Check33", ticked at the first run.
const Setting& HourBox(int hour);

// Every row, in the order the first run writes them, then the rest.
const std::vector<Setting>& SettingsTable();

// The registry path of a key.
const char* KeyPath(KeyOf key);

// A stored text under the row's restore rule: "1"/"0" for a check box, the text a box shows, or
// the number a variable takes. A restored number never prints outside its rule's range.
std::string Restored(const Setting& row, const std::string& stored);

// Window size limits and defaults in twips.
inline constexpr double Form1minW = 5300;
inline constexpr double Form1minH = 4380;
inline constexpr double kDefaultHeight = 4815;
inline constexpr double kDefaultEdge = 1000;

}  // namespace tkd
