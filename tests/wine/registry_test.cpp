// RegistryWin32 against Wine's registry: which stored values read back and as what, the bytes a
// write stores, and quiet failures on keys that refuse access.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/registry_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

// Each root with the predefined key it stands for. The raw access below names the key itself, so
// a root mapped to the wrong key shows; machine-wide values must sit in the 32-bit view, where
// 32-bit tools and installers look.
constexpr REGSAM kMachineView = KEY_WOW64_32KEY;
struct Root { RegRoot root; HKEY key; const char* name; };
const Root kRoots[] = {{RegRoot::LocalMachine, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                       {RegRoot::CurrentUser, HKEY_CURRENT_USER, "HKEY_CURRENT_USER"}};

std::vector<BYTE> BytesOf(const std::wstring& units) {
  const auto* first = reinterpret_cast<const BYTE*>(units.data());
  return {first, first + units.size() * sizeof(wchar_t)};
}

UniqueHkey CreateKey(HKEY root, const std::string& subKey, REGSAM access) {
  UniqueHkey key;
  if (root == HKEY_LOCAL_MACHINE) access |= kMachineView;
  RegCreateKeyExW(root, Utf8ToWide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                  nullptr, key.Receive(), nullptr);
  return key;
}

// The bytes of a REG_SZ value exactly as stored (short ones only); nothing for any other value.
std::optional<std::vector<BYTE>> StoredText(HKEY root, const std::string& subKey, const std::string& name) {
  BYTE bytes[256];
  DWORD type = REG_NONE, size = sizeof bytes;
  if (RegQueryValueExW(CreateKey(root, subKey, KEY_QUERY_VALUE).Get(), Utf8ToWide(name).c_str(), nullptr, &type,
                       bytes, &size) != ERROR_SUCCESS || type != REG_SZ)
    return std::nullopt;
  return std::vector<BYTE>(bytes, bytes + size);
}

// Replaces a key's access list with one written in SDDL.
bool Restrict(HKEY root, const std::string& subKey, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
    return false;
  const LSTATUS status =
      RegSetKeySecurity(CreateKey(root, subKey, WRITE_DAC).Get(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return status == ERROR_SUCCESS;
}

// A fresh key under both roots, removed with everything below it at the end.
class RegistryWin32Test : public ::testing::Test {
 protected:
  ~RegistryWin32Test() override {
    Restrict(HKEY_LOCAL_MACHINE, path_ + "\\Locked", L"D:P(A;;KA;;;WD)");  // for RegDeleteTreeW
    for (const Root& r : kRoots) {
      const UniqueHkey software = CreateKey(r.key, "Software", KEY_ALL_ACCESS);
      RegDeleteTreeW(software.Get(), Utf8ToWide(path_.substr(9)).c_str());
      RegDeleteKeyW(software.Get(), L"TiKoDanTest");  // once no other run's key is left
    }
  }
  const std::string path_ =
      "Software\\TiKoDanTest\\run_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount64());
  RegistryWin32 registry_;
};

TEST_F(RegistryWin32Test, ReadsOnlyStringValuesAndOnlyUpToTheirFirstNul) {
  struct Case { const char* name; DWORD type; std::vector<BYTE> bytes; std::optional<std::string> expected; };
  const std::vector<Case> cases = {
      {"number", REG_DWORD, {42, 0, 0, 0}, std::nullopt},
      {"expandable", REG_EXPAND_SZ, BytesOf(std::wstring(L"%TEMP%\0", 7)), std::nullopt},
      {"list", REG_MULTI_SZ, BytesOf(std::wstring(L"one\0two\0\0", 9)), std::nullopt},
      {"binary", REG_BINARY, BytesOf(std::wstring(L"2.5\0", 4)), std::nullopt},
      {"terminated", REG_SZ, BytesOf(std::wstring(L"abc\0", 4)), "abc"}, {"unterminated", REG_SZ, BytesOf(L"abc"), "abc"},
      {"embedded NUL", REG_SZ, BytesOf(std::wstring(L"ab\0cd\0", 6)), "ab"}, {"no bytes", REG_SZ, {}, ""},
      {"odd byte count", REG_SZ, {'a', 0, 'b', 0, 'X'}, "ab"},
      {"longer than one read", REG_SZ, BytesOf(std::wstring(600, L'x')), std::string(600, 'x')},
      {"beyond the BMP", REG_SZ, BytesOf(std::wstring(L"\U00020BB7\u5b9a\u65f6\0", 5)), "\U00020BB7定时"},
  };
  for (const Root& r : kRoots) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(r.name) + ", " + c.name);
      ASSERT_EQ(RegSetValueExW(CreateKey(r.key, path_, KEY_SET_VALUE).Get(), Utf8ToWide(c.name).c_str(), 0, c.type,
                               c.bytes.data(), static_cast<DWORD>(c.bytes.size())),
                ERROR_SUCCESS);
      EXPECT_EQ(registry_.Read(r.root, path_, c.name), c.expected);
    }
    EXPECT_EQ(registry_.Read(r.root, path_, "missing"), std::nullopt);
  }
}

TEST_F(RegistryWin32Test, WritesUtf16TextWithOneTerminatingNul) {
  struct Case { const char* name; std::string text; std::wstring stored; };  // stored without the NUL
  const std::vector<Case> cases = {{"number", "2.5", L"2.5"}, {"empty, yet present", "", L""},
                                   {"beyond the BMP", "\U00020BB7野 定时", L"\U00020BB7\u91ce \u5b9a\u65f6"}};
  for (const Root& r : kRoots) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(r.name) + ", " + c.name);
      ASSERT_TRUE(registry_.Write(r.root, path_ + "\\New", c.name, c.text));
      EXPECT_EQ(StoredText(r.key, path_ + "\\New", c.name), BytesOf(c.stored + L'\0'));
      EXPECT_EQ(registry_.Read(r.root, path_ + "\\New", c.name), c.text);
    }
  }
}

TEST_F(RegistryWin32Test, ARefusedWriteReturnsFalseAndAnUnreadableKeyReadsNothing) {
  const std::string locked = path_ + "\\Locked";
  // Written through another adapter: an open key keeps the rights it was opened with.
  ASSERT_TRUE(RegistryWin32().Write(RegRoot::LocalMachine, locked, "Value", "before"));
  // Everyone may do anything to the key but set and read its values.
  ASSERT_TRUE(Restrict(HKEY_LOCAL_MACHINE, locked, L"D:P(D;;0x0003;;;WD)(A;;KA;;;WD)"));
  EXPECT_FALSE(registry_.Write(RegRoot::LocalMachine, locked, "Value", "after"));
  EXPECT_EQ(registry_.Read(RegRoot::LocalMachine, locked, "Value"), std::nullopt);
}

// The adapter keeps keys open; a key deleted meanwhile must neither swallow writes nor keep
// answering reads.
TEST_F(RegistryWin32Test, AKeyDeletedWhileOpenIsCreatedAgainForTheNextWrite) {
  for (const Root& r : kRoots) {
    SCOPED_TRACE(r.name);
    ASSERT_TRUE(registry_.Write(r.root, path_ + "\\Gone", "Value", "1"));
    ASSERT_EQ(registry_.Read(r.root, path_ + "\\Gone", "Value"), "1");
    ASSERT_EQ(RegDeleteTreeW(CreateKey(r.key, path_, KEY_ALL_ACCESS).Get(), L"Gone"), ERROR_SUCCESS);
    EXPECT_EQ(registry_.Read(r.root, path_ + "\\Gone", "Value"), std::nullopt);
    EXPECT_TRUE(registry_.Write(r.root, path_ + "\\Gone", "Value", "2"));
    EXPECT_EQ(StoredText(r.key, path_ + "\\Gone", "Value"), BytesOf(std::wstring(L"2") + L'\0'));
    EXPECT_EQ(registry_.Read(r.root, path_ + "\\Gone", "Value"), "2");
  }
}

}  // namespace
}  // namespace tkd
