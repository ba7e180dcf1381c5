// Throwaway registry keys and raw value access for the Wine-side tests of the registry adapter.
#pragma once

#include <windows.h>

#include <sddl.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_win32.h"
#include "platform/text_win32.h"

namespace tkd::wine_test {

// Parent of every throwaway key, under both roots.
inline constexpr char kScratchParent[] = "Software\\TiKoDanTest";

// A name no other run of the tests uses at the same time.
inline std::string UniqueKeyName() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return "run_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(static_cast<unsigned long long>(counter.QuadPart));
}

// Creates `subKey` (if needed) and replaces its DACL with the one described in SDDL.
// The key's owner keeps the right to change the DACL back, so the key can still be deleted.
inline bool RestrictKey(RegRoot root, const std::string& subKey, const wchar_t* sddlDacl) {
  UniqueHkey key;
  if (RegCreateKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, WRITE_DAC | READ_CONTROL, nullptr, key.Receive(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddlDacl, SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return false;
  }
  const LSTATUS status = RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return status == ERROR_SUCCESS;
}

// A DACL that lets everyone do anything, to undo a restriction before deleting.
inline constexpr wchar_t kFullAccess[] = L"D:P(A;;KA;;;WD)";
// Each denies one right (KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_QUERY_VALUE) to everyone and
// allows the rest.
inline constexpr wchar_t kDenySetValue[] = L"D:P(D;;0x0002;;;WD)(A;;KA;;;WD)";
inline constexpr wchar_t kDenyCreateSubKey[] = L"D:P(D;;0x0004;;;WD)(A;;KA;;;WD)";
inline constexpr wchar_t kDenyQueryValue[] = L"D:P(D;;0x0001;;;WD)(A;;KA;;;WD)";

// One fresh key path, used under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER alike (as the machine
// value and its per-user shadow are), deleted with everything below it at the end.
class ScratchKeys {
 public:
  ScratchKeys() : path_(std::string(kScratchParent) + "\\" + UniqueKeyName()) {}
  ~ScratchKeys() {
    // A key that denies reading cannot be walked, so undo every restriction first.
    for (const auto& [root, subKey] : restricted_) RestrictKey(root, subKey, kFullAccess);
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
      RegDeleteTreeW(RootKey(root), Utf8ToWide(path_).c_str());
      // Succeeds only once no other run's key is left below it.
      RegDeleteKeyW(RootKey(root), Utf8ToWide(kScratchParent).c_str());
    }
  }
  ScratchKeys(const ScratchKeys&) = delete;
  ScratchKeys& operator=(const ScratchKeys&) = delete;

  const std::string& Path() const { return path_; }
  std::string Below(const std::string& relative) const { return path_ + "\\" + relative; }

  // RestrictKey on a key below Path(), undone before the keys are deleted.
  bool Restrict(RegRoot root, const std::string& subKey, const wchar_t* sddlDacl) {
    restricted_.emplace_back(root, subKey);
    return RestrictKey(root, subKey, sddlDacl);
  }

 private:
  std::string path_;
  std::vector<std::pair<RegRoot, std::string>> restricted_;
};

inline bool KeyExists(RegRoot root, const std::string& subKey) {
  UniqueHkey key;
  return RegOpenKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, KEY_QUERY_VALUE,
                       key.Receive()) == ERROR_SUCCESS;
}

// Stores raw bytes of any type, bypassing the adapter. Returns the Win32 error.
inline LSTATUS SetRawValue(RegRoot root, const std::string& subKey, const std::string& name,
                           DWORD type, const std::vector<BYTE>& bytes) {
  UniqueHkey key;
  LSTATUS status = RegCreateKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Receive(),
                                   nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(key.Get(), Utf8ToWide(name).c_str(), 0, type,
                        bytes.empty() ? nullptr : bytes.data(), static_cast<DWORD>(bytes.size()));
}

inline std::vector<BYTE> BytesOf(const std::wstring& units) {
  const auto* first = reinterpret_cast<const BYTE*>(units.data());
  return {first, first + units.size() * sizeof(wchar_t)};
}

struct RawValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

// The value exactly as stored, bypassing the adapter.
inline RawValue GetRawValue(RegRoot root, const std::string& subKey, const std::string& name) {
  RawValue raw;
  UniqueHkey key;
  if (RegOpenKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, KEY_QUERY_VALUE,
                    key.Receive()) != ERROR_SUCCESS) {
    return raw;
  }
  const std::wstring wideName = Utf8ToWide(name);
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &raw.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return raw;
  }
  raw.bytes.resize(size);
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &raw.type,
                       raw.bytes.empty() ? nullptr : raw.bytes.data(), &size) != ERROR_SUCCESS) {
    return raw;
  }
  raw.bytes.resize(size);
  raw.present = true;
  return raw;
}

inline DWORD ValueCount(RegRoot root, const std::string& subKey) {
  UniqueHkey key;
  DWORD values = 0;
  if (RegOpenKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, KEY_QUERY_VALUE,
                    key.Receive()) == ERROR_SUCCESS) {
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
  }
  return values;
}

}  // namespace tkd::wine_test

namespace tkd {
// Readable test names and failure messages for parameterised tests.
inline void PrintTo(RegRoot root, std::ostream* out) {
  *out << (root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER");
}
}  // namespace tkd
