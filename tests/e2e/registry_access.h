// The registry as the test driver sees it: the program's values, read, planted and wiped between tests.
#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>

namespace tkd::e2e {

// Where the program keeps its settings, and its second copy of the usage total.
inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\BrisoLaken\\TiKoDan";
inline constexpr wchar_t kUsageCopyKey[] = L"software\\microsoft\\com3";

// A REG_SZ value's text, or nullopt when the key or value is missing or of another type.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name);
bool WriteString(HKEY root, const std::wstring& key, const std::wstring& name,
                 const std::wstring& text);
bool DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name);
// Removes the key with everything below it; a missing key counts as removed.
bool DeleteTree(HKEY root, const std::wstring& key);
// The names of the key's values, or nullopt when the key does not exist.
std::optional<std::set<std::wstring>> ValueNames(HKEY root, const std::wstring& key);

// Shorthands for the settings key under HKEY_LOCAL_MACHINE.
inline std::optional<std::wstring> Setting(const std::wstring& name) {
  return ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, name);
}
inline bool PlantSetting(const std::wstring& name, const std::wstring& text) {
  return WriteString(HKEY_LOCAL_MACHINE, kSettingsKey, name, text);
}
inline std::optional<std::wstring> UsageCopy() {
  return ReadString(HKEY_LOCAL_MACHINE, kUsageCopyKey, L"js00");
}

// Removes every trace the program leaves, under both roots (the program falls back to the
// per-user root when a machine-wide write is refused). True when all of it is gone.
bool WipeProgramRegistry();

}  // namespace tkd::e2e
