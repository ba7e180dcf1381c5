// InitialiseFirstRun: walks the settings table's first-run column.
#include "settings/first_run.h"

namespace tkd {

bool InitialiseFirstRun(SettingsStore& store, const std::string& today) {
  if (Restored(setting::firstuse, store.Read(setting::firstuse)) != "0") return false;
  for (const Setting& row : SettingsTable()) {
    if (row.firstRunToday) store.Write(row, today);
    else if (row.firstRun) store.Write(row, row.firstRun);
  }
  return true;
}

}  // namespace tkd
