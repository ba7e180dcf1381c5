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

std::string SettingsStore::Read(const Setting& row) {
  return ReadRegValue(RegRoot::LocalMachine, KeyPath(row.key), row.name);
}

double SettingsStore::ReadNumber(const Setting& row) { return NumericReading(Read(row)); }

void SettingsStore::Write(const Setting& row, const std::string& text) {
  WriteRegValue(RegRoot::LocalMachine, KeyPath(row.key), row.name, text);
}

void SettingsStore::WriteNumber(const Setting& row, double value) {
  Write(row, row.form == StoredForm::BlankNumber ? BlankNumberText(value) : NumberText(value));
}

}  // namespace tkd
