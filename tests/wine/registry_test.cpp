// RegistryWin32 against Wine's real registry: value types, raw byte shapes, letter case, key
// creation, UTF-16 storage and refused writes.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_win32.h"
#include "platform/text_win32.h"
#include "scratch_registry.h"

namespace tkd::wine_test {
namespace {

class RegistryWin32Test : public ::testing::TestWithParam<RegRoot> {
 protected:
  RegRoot root() const { return GetParam(); }
  ScratchKeys scratch_;
  RegistryWin32 registry_;
};

TEST_P(RegistryWin32Test, ValuesOfOtherTypesReadAsNothing) {
  const DWORD number = 42;
  const auto* numberBytes = reinterpret_cast<const BYTE*>(&number);
  const ULONGLONG wide = 42;
  const auto* wideBytes = reinterpret_cast<const BYTE*>(&wide);
  struct Case {
    const char* name;
    DWORD type;
    std::vector<BYTE> bytes;
  };
  const std::vector<Case> cases = {
      {"dword", REG_DWORD, {numberBytes, numberBytes + sizeof number}},
      {"qword", REG_QWORD, {wideBytes, wideBytes + sizeof wide}},
      {"expand", REG_EXPAND_SZ, BytesOf(std::wstring(L"%SystemRoot%\\x", 15))},
      {"multi", REG_MULTI_SZ, BytesOf(std::wstring(L"one\0two\0\0", 9))},
      {"binary", REG_BINARY, BytesOf(std::wstring(L"abc", 4))},
      {"none", REG_NONE, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(SetRawValue(root(), scratch_.Path(), c.name, c.type, c.bytes), ERROR_SUCCESS);
    EXPECT_EQ(registry_.Read(root(), scratch_.Path(), c.name), std::nullopt);
  }
}

TEST_P(RegistryWin32Test, StringBytesReadUpToTheFirstNul) {
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    std::string expected;
  };
  std::vector<BYTE> oddLength = BytesOf(std::wstring(L"ab", 2));
  oddLength.push_back('X');  // half a UTF-16 unit
  const std::vector<Case> cases = {
      {"terminated", BytesOf(std::wstring(L"abc", 4)), "abc"},
      {"unterminated", BytesOf(std::wstring(L"abc", 3)), "abc"},
      {"embedded NUL", BytesOf(std::wstring(L"ab\0cd", 6)), "ab"},
      {"leading NUL", BytesOf(std::wstring(L"\0cd", 4)), ""},
      {"odd byte count", oddLength, "ab"},
      {"single byte", {'X'}, ""},
      {"no bytes", {}, ""},
      {"Chinese", BytesOf(std::wstring(L"\u5b9a\u65f6\u5173\u673a", 5)), "定时关机"},
      {"non-BMP", BytesOf(std::wstring(L"\U00020BB7\u91ce", 4)), "\U00020BB7野"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(SetRawValue(root(), scratch_.Path(), c.name, REG_SZ, c.bytes), ERROR_SUCCESS);
    EXPECT_EQ(registry_.Read(root(), scratch_.Path(), c.name), c.expected);
  }
}

TEST_P(RegistryWin32Test, WritesStoreUtf16WithOneTerminatingNul) {
  struct Case {
    const char* name;
    std::string text;
    std::wstring stored;  // without the terminating NUL
  };
  const std::vector<Case> cases = {
      {"ascii", "2.5", L"2.5"},
      {"empty", "", L""},
      {"Chinese", "定时关机 整点报时", L"\u5b9a\u65f6\u5173\u673a \u6574\u70b9\u62a5\u65f6"},
      {"non-BMP", "\U00020BB7野家", L"\U00020BB7\u91ce\u5bb6"},
      {"long", std::string(20000, 'x'), std::wstring(20000, L'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(registry_.Write(root(), scratch_.Path(), c.name, c.text));
    const RawValue raw = GetRawValue(root(), scratch_.Path(), c.name);
    ASSERT_TRUE(raw.present);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, BytesOf(c.stored + L'\0'));
    EXPECT_EQ(registry_.Read(root(), scratch_.Path(), c.name), c.text);
  }
}

TEST_P(RegistryWin32Test, EmptyTextLeavesAPresentValue) {
  ASSERT_TRUE(registry_.Write(root(), scratch_.Path(), "Blank", "filled"));
  ASSERT_TRUE(registry_.Write(root(), scratch_.Path(), "Blank", ""));
  const std::optional<std::string> read = registry_.Read(root(), scratch_.Path(), "Blank");
  ASSERT_TRUE(read.has_value()) << "an empty value must differ from a missing one";
  EXPECT_EQ(*read, "");
}

TEST_P(RegistryWin32Test, LetterCaseOfKeyPathAndValueNameAddressesOneValue) {
  const std::string mixed = scratch_.Below("MixedCase\\Inner");
  std::string upper = mixed, lower = mixed;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));

  ASSERT_TRUE(registry_.Write(root(), mixed, "tkdExeName", "first"));
  EXPECT_EQ(registry_.Read(root(), upper, "TKDEXENAME"), "first");
  EXPECT_EQ(registry_.Read(root(), lower, "tkdexename"), "first");

  ASSERT_TRUE(registry_.Write(root(), upper, "TKDexename", "second"));
  EXPECT_EQ(registry_.Read(root(), lower, "tkdEXEName"), "second");
  EXPECT_EQ(ValueCount(root(), mixed), 1u);
}

TEST_P(RegistryWin32Test, MissingKeyOrValueReadsNothingAndFirstWriteCreatesTheKeys) {
  const std::string parent = scratch_.Below("Parent");
  const std::string deep = scratch_.Below("Parent\\Child\\Grandchild");
  EXPECT_EQ(registry_.Read(root(), deep, "Value"), std::nullopt);
  ASSERT_FALSE(KeyExists(root(), parent)) << "reading must not create keys";

  ASSERT_TRUE(registry_.Write(root(), deep, "Value", "1"));
  EXPECT_TRUE(KeyExists(root(), parent));
  EXPECT_EQ(registry_.Read(root(), deep, "Value"), "1");
  EXPECT_EQ(registry_.Read(root(), deep, "Other"), std::nullopt);
  EXPECT_EQ(registry_.Read(root(), parent, "Value"), std::nullopt);
}

TEST_P(RegistryWin32Test, OneRootDoesNotSeeTheOther) {
  const RegRoot other =
      root() == RegRoot::LocalMachine ? RegRoot::CurrentUser : RegRoot::LocalMachine;
  ASSERT_TRUE(registry_.Write(root(), scratch_.Path(), "OnlyHere", "x"));
  EXPECT_EQ(registry_.Read(other, scratch_.Path(), "OnlyHere"), std::nullopt);
  EXPECT_TRUE(GetRawValue(root(), scratch_.Path(), "OnlyHere").present);
}

INSTANTIATE_TEST_SUITE_P(BothRoots, RegistryWin32Test,
                         ::testing::Values(RegRoot::LocalMachine, RegRoot::CurrentUser),
                         [](const ::testing::TestParamInfo<RegRoot>& info) {
                           return std::string(info.param == RegRoot::LocalMachine ? "Machine"
                                                                                    : "User");
                         });

bool OpenSucceeds(RegRoot root, const std::string& subKey, REGSAM access) {
  UniqueHkey key;
  return RegOpenKeyExW(RootKey(root), Utf8ToWide(subKey).c_str(), 0, access, key.Receive()) ==
         ERROR_SUCCESS;
}

TEST(RegistryWin32Refusal, WriteToAKeyThatDeniesSettingValuesReturnsFalse) {
  ScratchKeys scratch;
  RegistryWin32 registry;
  const std::string locked = scratch.Below("Locked");
  ASSERT_TRUE(scratch.Restrict(RegRoot::LocalMachine, locked, kDenySetValue));
  if (OpenSucceeds(RegRoot::LocalMachine, locked, KEY_SET_VALUE)) {
    GTEST_SKIP() << "this registry does not enforce key DACLs";
  }
  EXPECT_FALSE(registry.Write(RegRoot::LocalMachine, locked, "Value", "x"));
  EXPECT_FALSE(GetRawValue(RegRoot::LocalMachine, locked, "Value").present);
}

TEST(RegistryWin32Refusal, WriteBelowAKeyThatDeniesCreatingKeysReturnsFalse) {
  ScratchKeys scratch;
  RegistryWin32 registry;
  const std::string locked = scratch.Below("Locked");
  ASSERT_TRUE(scratch.Restrict(RegRoot::LocalMachine, locked, kDenyCreateSubKey));
  {
    UniqueHkey probe;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf8ToWide(locked + "\\Probe").c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, probe.Receive(),
                        nullptr) == ERROR_SUCCESS) {
      GTEST_SKIP() << "this registry does not check the parent's right to create keys";
    }
  }
  EXPECT_FALSE(registry.Write(RegRoot::LocalMachine, locked + "\\Child", "Value", "x"));
  EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, locked + "\\Child"));
}

TEST(RegistryWin32Refusal, WriteBelowAVolatileKeyReturnsFalse) {
  // A key that lives only in memory cannot hold a key that is saved to disk.
  ScratchKeys scratch;
  RegistryWin32 registry;
  const std::string volatileKey = scratch.Below("Volatile");
  {
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Utf8ToWide(volatileKey).c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
  }
  EXPECT_FALSE(registry.Write(RegRoot::LocalMachine, volatileKey + "\\Saved", "Value", "x"));
  EXPECT_FALSE(KeyExists(RegRoot::LocalMachine, volatileKey + "\\Saved"));
  // The volatile key itself takes values; the refusal above was about the child only.
  EXPECT_TRUE(registry.Write(RegRoot::LocalMachine, volatileKey, "Value", "x"));
}

TEST(RegistryWin32Refusal, UnreadableKeyReadsNothing) {
  ScratchKeys scratch;
  RegistryWin32 registry;
  const std::string locked = scratch.Below("Unreadable");
  ASSERT_TRUE(registry.Write(RegRoot::CurrentUser, locked, "Value", "secret"));
  ASSERT_TRUE(scratch.Restrict(RegRoot::CurrentUser, locked, kDenyQueryValue));
  if (OpenSucceeds(RegRoot::CurrentUser, locked, KEY_QUERY_VALUE)) {
    GTEST_SKIP() << "this registry does not enforce key DACLs";
  }
  EXPECT_EQ(registry.Read(RegRoot::CurrentUser, locked, "Value"), std::nullopt);
}

}  // namespace
}  // namespace tkd::wine_test
