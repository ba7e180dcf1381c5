// The external close request: another process sets "isClose" to 1 to end every running copy.
#pragma once

#include "settings/settings_store.h"

namespace tkd {

// True when "isClose" reads exactly 1 (" 1", "1.0"); missing, 2 or a word leave the program be.
inline bool CloseRequested(SettingsStore& store) { return store.ReadNumber(setting::isClose) == 1; }

// Start-up, before the first tick: a request left from an earlier run (a tool that ended it to
// replace the program, say) would end this one too, and every start after it. Nothing is
// written when there is none.
inline void ForgetCloseRequest(SettingsStore& store) {
  const std::string request = store.Read(setting::isClose);
  if (!request.empty() && request != "0") store.WriteNumber(setting::isClose, 0);
}

}  // namespace tkd
