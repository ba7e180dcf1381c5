// Registry reads and writes with the per-user fallback for machine-wide values.
#include "settings/settings_store.h"

#include "core/number_text.h"

namespace tkd {

std::string SettingsStore::ReadRegValue(RegRoot root, const std::string& subKey,
                                        const std::string& name) {
  if (root == RegRoot::LocalMachine) {
    if (auto shadow = registry_.Read(RegRoot::CurrentUser, subKey, name)) return *shadow;
  }
  return registry_.Read(root, subKey, name).value_or("");
}

void SettingsStore::WriteRegValue(RegRoot root, const std::string& subKey, const std::string& name,
                                  const std::string& text) {
  bool written = registry_.Write(root, subKey, name, text);
  if (root != RegRoot::LocalMachine) return;
  if (!written) {
    registry_.Write(RegRoot::CurrentUser, subKey, name, text);
  } else if (registry_.Read(RegRoot::CurrentUser, subKey, name)) {
    // An earlier run without the right to write machine-wide left a per-user copy, which reads
    // take first: keep it equal to what was just stored.
    registry_.Write(RegRoot::CurrentUser, subKey, name, text);
  }
}

std::string SettingsStore::Read(const std::string& name) {
  return ReadRegValue(RegRoot::LocalMachine, SettingsKey, name);
}

double SettingsStore::ReadNumber(const std::string& name) { return NumericReading(Read(name)); }

void SettingsStore::Write(const std::string& name, const std::string& text) {
  WriteRegValue(RegRoot::LocalMachine, SettingsKey, name, text);
}

}  // namespace tkd
