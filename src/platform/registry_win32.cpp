// RegistryWin32: REG_SZ reads and writes through keys kept open, with every Win32 failure mapped to the port's quiet result.
#include "platform/registry_win32.h"

#include <cstring>
#include <limits>
#include <vector>

#include "platform/text_win32.h"

namespace tkd {

HKEY RootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

namespace {

// Machine-wide values live in the 32-bit view of HKEY_LOCAL_MACHINE\SOFTWARE, the one that
// 32-bit tools and installers see, so that "isClose", "Path" and "tkdExeName" are shared with
// them; the per-user hive has a single view.
REGSAM ViewOf(RegRoot root) { return root == RegRoot::LocalMachine ? KEY_WOW64_32KEY : 0; }

constexpr DWORD kFirstReadBytes = 512;

// The text of a REG_SZ value's bytes: up to its first NUL, or all of it when it has none
// (values written by other programs need not be terminated). A trailing odd byte is not
// part of any UTF-16 unit and is dropped.
std::wstring TextOfValueBytes(const std::vector<BYTE>& bytes, DWORD used) {
  const std::size_t units = used / sizeof(wchar_t);
  std::wstring text(units, L'\0');
  if (units > 0) std::memcpy(text.data(), bytes.data(), units * sizeof(wchar_t));
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

}  // namespace

HKEY RegistryWin32::Key(RegRoot root, const std::string& subKey, Access access) {
  UniqueHkey& key = keys_[{root, subKey, access}];
  if (key) return key.Get();
  const std::wstring wideSubKey = Utf8ToWide(subKey);
  if (access == Access::Query) {
    // A missing key, or no right to read it, reads as missing.
    RegOpenKeyExW(RootKey(root), wideSubKey.c_str(), 0, KEY_QUERY_VALUE | ViewOf(root), key.Receive());
  } else {
    // Missing keys are created; no right to create or open the key for writing fails the write.
    RegCreateKeyExW(RootKey(root), wideSubKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                    KEY_SET_VALUE | ViewOf(root), nullptr, key.Receive(), nullptr);
  }
  return key.Get();  // null when the open failed: asked again next time
}

void RegistryWin32::Forget(RegRoot root, const std::string& subKey, Access access) {
  keys_.erase({root, subKey, access});
}

std::optional<std::string> RegistryWin32::Read(RegRoot root, const std::string& subKey,
                                               const std::string& name) {
  const std::wstring wideName = Utf8ToWide(name);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const HKEY key = Key(root, subKey, Access::Query);
    if (!key) return std::nullopt;

    // One query answers the program's own values, which fit the first buffer; a longer one is read
    // again at its size, and one that grew between the two reads as unreadable.
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes(kFirstReadBytes);
    DWORD used = kFirstReadBytes;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, bytes.data(), &used);
    if (status == ERROR_KEY_DELETED) {
      Forget(root, subKey, Access::Query);  // gone since it was opened: look for it afresh
      continue;
    }
    if (status == ERROR_MORE_DATA) {
      bytes.resize(used);
      status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, bytes.data(), &used);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;  // missing value
    // REG_EXPAND_SZ, REG_MULTI_SZ, numbers and binaries are not the program's values.
    if (type != REG_SZ) return std::nullopt;
    return WideToUtf8(TextOfValueBytes(bytes, used));
  }
  return std::nullopt;
}

bool RegistryWin32::Write(RegRoot root, const std::string& subKey, const std::string& name,
                          const std::string& text) {
  const std::wstring wideName = Utf8ToWide(name);
  const std::wstring wideText = Utf8ToWide(text);

  // The stored bytes include the terminating NUL, as every reader of REG_SZ expects.
  const std::size_t bytesWithNul = (wideText.size() + 1) * sizeof(wchar_t);
  if (bytesWithNul > std::numeric_limits<DWORD>::max()) return false;

  for (int attempt = 0; attempt < 2; ++attempt) {
    const HKEY key = Key(root, subKey, Access::Set);
    if (!key) return false;
    const LONG status = RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideText.c_str()),
                                       static_cast<DWORD>(bytesWithNul));
    if (status == ERROR_SUCCESS) return true;
    // A key deleted since it was opened is created again, so that the value is not lost.
    Forget(root, subKey, Access::Set);
    if (status != ERROR_KEY_DELETED) return false;
  }
  return false;
}

bool RegistryWin32::HasKey(RegRoot root, const std::string& subKey) {
  UniqueHkey key;
  return RegOpenKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, KEY_QUERY_VALUE | ViewOf(root),
                       key.Receive()) == ERROR_SUCCESS;
}

}  // namespace tkd
