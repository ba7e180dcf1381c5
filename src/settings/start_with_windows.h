// The start-with-Windows entry "tikodan": machine-wide where the program may write there, per
// user where it may not, and never both.
#pragma once

#include "core/program_info.h"
#include "settings/settings_store.h"

namespace tkd {

class StartWithWindows {
 public:
  explicit StartWithWindows(SettingsStore& store) : store_(store) {}

  // The executable's full path in double quotes, so that a path with a blank can never start
  // another program. A standard user cannot write the machine-wide entry; when that one already
  // holds this program, a per-user entry would start a second copy at every logon, so none is
  // made and one left by an earlier run is emptied.
  void Register(const ProgramInfo& program);
  // Empties the entries (none is deleted). Returns whether an entry that could not be emptied
  // still starts the program.
  bool Unregister();

 private:
  SettingsStore& store_;
};

}  // namespace tkd
