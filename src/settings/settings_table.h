// Every value the program keeps in the registry: its key, stored form, first-run value and restore rule.
#pragma once

#include <string>
#include <vector>

namespace tkd {

enum class KeyOf { Settings, InstallRecord, UsageCopy, Run };

enum class StoredForm {
  Literal,      // a fixed text, "1"
  BlankNumber,  // " 1", " 0", "-3": what check boxes, counters and the rank store
  PlainNumber,  // "1000": window geometry
  AsTyped,      // a text box's text exactly as typed
  Date,         // the system's short date (or date-and-time) text
  Path,         // a file-system path or name
};

enum class FirstRun { NotWritten, Literal, Today };

// How a stored text becomes a control's state or a variable at start-up.
enum class RestoreRule {
  FirstRunMarker,           // reads 0: the first-run initialisation runs
  DateOrToday,              // reads 0: today's date is written again
  TickedWhenOne,            // ticked ("1") only when it reads exactly 1, else cleared ("0")
  PositiveMinutesElse5,     // its reading's text when above 0, else "5"
  HourElseEmpty,            // its reading's text when 0 <= x < 24, else empty
  MinuteElseEmpty,          // its reading's text when 0 <= x < 60, else empty
  PositiveElse1000,         // its reading when above 0, else 1000
  AtLeastMinWidthElseMin,   // its reading when at least 5300, else 5300
  AtLeastMinHeightElse4815, // its reading when at least 4380, else 4815
  SameInBothKeys,           // the usage total: restored only when both copies read alike
  EncodedDistance,          // decoded distance, 0 when the text fails the check
  TextAsStored,
  PositiveRankElseNone,     // its reading when above 0, else 0 (no rank)
  AtLeastOneElseOne,        // its reading when at least 1, else 1
  PositiveElse180,          // its reading when above 0, else 180
  CloseWhenOne,             // the running program ends when it reads 1
  NotRead,                  // written for Windows or other tools only
};

struct SettingDef {
  std::string name;
  KeyOf key;
  StoredForm form;
  FirstRun firstRun;
  std::string firstRunText;  // for FirstRun::Literal
  RestoreRule rule;
  std::string missingGives;  // what a missing value restores to, as RestoredValue gives it
  std::string alsoReadAs;    // another letter case some readers use ("FirstDate", "text1")
};

// One row per value, in the order the first-run initialisation writes them.
const std::vector<SettingDef>& SettingsTable();

// The registry path of a key.
const char* KeyPath(KeyOf key);

// The row of a value (names compare without regard to letter case), or nullptr.
const SettingDef* FindSetting(const std::string& name);

// The restored state of a value under the simple per-value rules, as text: "1"/"0" for a check
// box, the text a box shows, or the number a variable takes. Rules that need more than the one
// text (SameInBothKeys, EncodedDistance, ...) give the value's missing-value result.
std::string RestoredValue(RestoreRule rule, const std::string& stored);

// Window size limits in twips.
inline constexpr double Form1minW = 5300;
inline constexpr double Form1minH = 4380;
inline constexpr double kDefaultHeight = 4815;
inline constexpr double kDefaultEdge = 1000;

}  // namespace tkd
