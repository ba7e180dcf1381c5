// SettingsStore over the real registry adapter: the settings key, and the per-user fallback
// when a machine-wide write is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry_win32.h"
#include "scratch_registry.h"
#include "settings/settings_store.h"

namespace tkd::wine_test {
namespace {

// The settings key belongs to the program, so the test touches only values it named itself and
// removes the keys it had to create.
class SettingsKeyValues {
 public:
  SettingsKeyValues() : hadCompanyKey_(KeyExists(RegRoot::LocalMachine, kCompanyKey)) {}
  ~SettingsKeyValues() {
    const std::wstring settings = Utf8ToWide(SettingsKey);
    for (const std::string& name : names_) {
      for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegDeleteKeyValueW(root, settings.c_str(), Utf8ToWide(name).c_str());
      }
    }
    if (!hadCompanyKey_) RegDeleteTreeW(HKEY_LOCAL_MACHINE, Utf8ToWide(kCompanyKey).c_str());
  }
  std::string Name(const std::string& stem) {
    names_.push_back(stem + "_" + UniqueKeyName());
    return names_.back();
  }

 private:
  static constexpr char kCompanyKey[] = "SOFTWARE\\BrisoLaken";
  bool hadCompanyKey_;
  std::vector<std::string> names_;
};

TEST(SettingsStoreOnWine, ValuesUnderTheSettingsKeyReadBack) {
  SettingsKeyValues values;
  RegistryWin32 registry;
  SettingsStore store(registry);
  struct Case {
    std::string name, text;
    double number;
  };
  const std::vector<Case> cases = {
      {values.Name("Count"), "12345", 12345},
      {values.Name("Fraction"), "2.5", 2.5},
      {values.Name("Blank"), "", 0},
      {values.Name("Caption"), "整点报时", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.Write(c.name, c.text);
    EXPECT_EQ(store.Read(c.name), c.text);
    EXPECT_EQ(store.ReadNumber(c.name), c.number);
    // Machine-wide, since nothing refused the write, and no per-user copy was made.
    EXPECT_EQ(registry.Read(RegRoot::LocalMachine, SettingsKey, c.name), c.text);
    EXPECT_EQ(registry.Read(RegRoot::CurrentUser, SettingsKey, c.name), std::nullopt);
  }
  EXPECT_EQ(store.Read(values.Name("NeverWritten")), "");
}

TEST(SettingsStoreOnWine, RefusedMachineWriteLandsInThePerUserCopy) {
  ScratchKeys scratch;
  RegistryWin32 registry;
  SettingsStore store(registry);
  // Everyone may do anything to the machine-wide key except store values in it.
  ASSERT_TRUE(scratch.Restrict(RegRoot::LocalMachine, scratch.Path(), kDenySetValue));
  if (registry.Write(RegRoot::LocalMachine, scratch.Path(), "Probe", "x")) {
    GTEST_SKIP() << "this registry does not enforce key DACLs";
  }

  store.WriteRegValue(RegRoot::LocalMachine, scratch.Path(), "Total", "3600");
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, scratch.Path(), "Total"), std::nullopt);
  EXPECT_EQ(registry.Read(RegRoot::CurrentUser, scratch.Path(), "Total"), "3600");
  EXPECT_EQ(store.ReadRegValue(RegRoot::LocalMachine, scratch.Path(), "Total"), "3600");
}

TEST(SettingsStoreOnWine, MachineWriteRefreshesAnExistingPerUserCopy) {
  ScratchKeys scratch;
  RegistryWin32 registry;
  SettingsStore store(registry);
  ASSERT_TRUE(registry.Write(RegRoot::CurrentUser, scratch.Path(), "Total", "old"));

  store.WriteRegValue(RegRoot::LocalMachine, scratch.Path(), "Total", "new");
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, scratch.Path(), "Total"), "new");
  EXPECT_EQ(registry.Read(RegRoot::CurrentUser, scratch.Path(), "Total"), "new");
  EXPECT_EQ(store.ReadRegValue(RegRoot::LocalMachine, scratch.Path(), "Total"), "new");
}

}  // namespace
}  // namespace tkd::wine_test
