// ReadRegValue / WriteRegValue: the program's only persistent memory, one string value at a time.
#pragma once

#include <map>
#include <string>

#include "platform/ports.h"
#include "settings/settings_table.h"

namespace tkd {

// The key that holds every setting and counter.
inline constexpr char SettingsKey[] = "SOFTWARE\\BrisoLaken\\TiKoDan";
// The same key in the letter case used for the installation record ("Path", "tkdExeName").
inline constexpr char InstallRecordKey[] = "Software\\Brisolaken\\tikodan";
// The second copy of the usage total.
inline constexpr char UsageCopyKey[] = "software\\microsoft\\com3";
// The start-with-Windows entries.
inline constexpr char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Settings are machine-wide, but a standard user may not write HKEY_LOCAL_MACHINE. As Windows'
// own registry virtualization does, a refused machine-wide write goes to the same path under
// HKEY_CURRENT_USER, and a read prefers that per-user copy where one exists. A machine-wide
// write that succeeds also refreshes an existing per-user copy, so the copy never goes stale.
// Whether a key has a per-user copy at all is asked once: on most machines none exists, and
// start-up then reads each value once rather than twice.
//
// Many values are stored again every second although they rarely change (the window's place, the
// distance while the pointer rests). A write of the text this run last stored in the same place
// is left out: the registry then holds the same, without a write that dirties its hive.
class SettingsStore {
 public:
  explicit SettingsStore(Registry& registry) : registry_(registry) {}

  // The stored text, or empty when the value is missing, not a string value, or unreadable.
  std::string ReadRegValue(RegRoot root, const std::string& subKey, const std::string& name);
  // Creates missing keys; a write that fails everywhere is lost silently.
  void WriteRegValue(RegRoot root, const std::string& subKey, const std::string& name,
                     const std::string& text);

  // Exactly this root, without the per-user fallback: for the start-with-Windows entries, which
  // mean something different under each root. WriteAt returns whether the write succeeded.
  std::optional<std::string> ReadAt(RegRoot root, const std::string& subKey, const std::string& name) {
    return registry_.Read(root, subKey, name);
  }
  bool WriteAt(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) {
    return registry_.Write(root, subKey, name, text);
  }

  // A row of the settings table, in its own key under HKEY_LOCAL_MACHINE.
  std::string Read(const Setting& row);
  double ReadNumber(const Setting& row);  // the numeric reading of the stored text
  void Write(const Setting& row, const std::string& text);
  // The number in the row's stored form (" 1" for a blank-number, "1000" for a plain number).
  void WriteNumber(const Setting& row, double value);

 private:
  bool HasPerUserCopy(const std::string& subKey);
  static std::string StoredId(RegRoot root, const std::string& subKey, const std::string& name);

  Registry& registry_;
  std::map<std::string, bool> perUserKeys_;  // by key path, as first asked or since written
  // By root, key path and name: the text last stored there, or read from there. A value is not
  // written again with the text it holds: restoring a box at start-up stores it back through its
  // click handler, and every tick stores the window's place.
  std::map<std::string, std::string> stored_;
};

}  // namespace tkd
