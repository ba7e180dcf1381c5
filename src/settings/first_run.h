// The first-run initialisation: the values a fresh machine starts from.
#pragma once

#include <string>

#include "settings/settings_store.h"

namespace tkd {

// When "firstuse" reads 0, writes every first-run value of the settings table in its order
// ("firstDate" as `today`, "firstuse" last) and returns true; otherwise writes nothing.
bool InitialiseFirstRun(SettingsStore& store, const std::string& today);

}  // namespace tkd
