// The external close request: another process sets "isClose" to 1 to end every running copy.
#pragma once

#include "settings/settings_store.h"

namespace tkd {

// True when "isClose" reads exactly 1 (" 1", "1.0"); missing, 2 or a word leave the program be.
inline bool CloseRequested(SettingsStore& store) { return store.ReadNumber(setting::isClose) == 1; }

}  // namespace tkd
