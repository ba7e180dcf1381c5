// Registry reads, writes and clean-up for the end-to-end tests, through the W forms of the API.
#include "registry_access.h"

#include <vector>

namespace tkd::e2e {

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key,
                                       const std::wstring& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::wstring> result;
  if (RegQueryValueExW(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD used = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &used) == ERROR_SUCCESS &&
        type == REG_SZ) {
      result = std::wstring(buffer.data());  // stops at the stored terminator
    }
  }
  RegCloseKey(opened);
  return result;
}

bool WriteString(HKEY root, const std::wstring& key, const std::wstring& name,
                 const std::wstring& text) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &opened, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG status =
      RegSetValueExW(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name) {
  HKEY opened = nullptr;
  const LONG openStatus = RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, &opened);
  if (openStatus == ERROR_FILE_NOT_FOUND) return true;
  if (openStatus != ERROR_SUCCESS) return false;
  const LONG status = RegDeleteValueW(opened, name.c_str());
  RegCloseKey(opened);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteTree(HKEY root, const std::wstring& key) {
  const LONG status = RegDeleteTreeW(root, key.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
  // RegDeleteTreeW empties the key; the key itself goes with RegDeleteKeyW.
  const LONG keyStatus = RegDeleteKeyW(root, key.c_str());
  return keyStatus == ERROR_SUCCESS || keyStatus == ERROR_FILE_NOT_FOUND;
}

std::optional<std::set<std::wstring>> ValueNames(HKEY root, const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  std::set<std::wstring> names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];  // the registry's own limit on value names
    DWORD length = static_cast<DWORD>(std::size(name));
    if (RegEnumValueW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.insert(std::wstring(name, length));
  }
  RegCloseKey(opened);
  return names;
}

bool WipeProgramRegistry() {
  bool ok = true;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    ok = DeleteTree(root, kSettingsKey) && ok;
    ok = DeleteTree(root, kUsageCopyKey) && ok;
  }
  return ok;
}

}  // namespace tkd::e2e
