// Registry reads and writes with the per-user fallback for machine-wide values.
#include "settings/settings_store.h"

#include <cctype>

#include "core/number_text.h"

namespace tkd {

namespace {

// Key paths compare without regard to letter case, as in the registry.
std::string KeyId(std::string path) {
  for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return path;
}

}  // namespace

bool SettingsStore::HasPerUserCopy(const std::string& subKey) {
  const auto [it, added] = perUserKeys_.try_emplace(KeyId(subKey), false);
  if (added) it->second = registry_.HasKey(RegRoot::CurrentUser, subKey);
  return it->second;
}

std::string SettingsStore::StoredId(RegRoot root, const std::string& subKey, const std::string& name) {
  return std::to_string(static_cast<int>(root)) + KeyId(subKey) + '\n' + KeyId(name);
}

std::string SettingsStore::ReadRegValue(RegRoot root, const std::string& subKey,
                                        const std::string& name) {
  if (root == RegRoot::LocalMachine && HasPerUserCopy(subKey)) {
    if (auto shadow = registry_.Read(RegRoot::CurrentUser, subKey, name)) return *shadow;
  }
  // Only a value that is there: a missing one is still created by a write of an empty text.
  const std::optional<std::string> value = registry_.Read(root, subKey, name);
  if (value) stored_[StoredId(root, subKey, name)] = *value;
  return value.value_or("");
}

void SettingsStore::WriteRegValue(RegRoot root, const std::string& subKey, const std::string& name,
                                  const std::string& text) {
  const std::string id = StoredId(root, subKey, name);
  if (const auto last = stored_.find(id); last != stored_.end() && last->second == text) return;
  bool written = registry_.Write(root, subKey, name, text);
  if (root != RegRoot::LocalMachine) {
    if (written) stored_[id] = text;
    return;
  }
  if (!written) {
    if (!registry_.Write(RegRoot::CurrentUser, subKey, name, text)) return;  // lost: tried again next time
    perUserKeys_[KeyId(subKey)] = true;
  } else if (HasPerUserCopy(subKey) && registry_.Read(RegRoot::CurrentUser, subKey, name)) {
    // An earlier run without the right to write machine-wide left a per-user copy, which reads
    // take first: keep it equal to what was just stored.
    registry_.Write(RegRoot::CurrentUser, subKey, name, text);
  }
  stored_[id] = text;
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
