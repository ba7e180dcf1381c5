// The registry store: plain reads and writes, and the per-user copy when machine-wide writes are refused.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "support/fakes.h"

namespace tkd {
namespace {

using testing::FakeRegistry;
constexpr auto LM = RegRoot::LocalMachine;
constexpr auto CU = RegRoot::CurrentUser;

TEST(SettingsStore, ReadsWhatWasWrittenAndEmptyForMissingOrNonStringValues) {
  FakeRegistry reg;
  SettingsStore store(reg);
  EXPECT_EQ(store.Read("Text1"), "");
  store.Write("Text1", "2.5");
  EXPECT_EQ(store.Read("Text1"), "2.5");
  EXPECT_EQ(store.Read("text1"), "2.5");  // names compare without regard to letter case
  EXPECT_DOUBLE_EQ(store.ReadNumber("TEXT1"), 2.5);

  reg.SetNonString(LM, SettingsKey, "Check1");
  EXPECT_EQ(store.Read("Check1"), "");
  EXPECT_EQ(store.ReadNumber("Check1"), 0);

  store.Write("Empty", "");
  EXPECT_TRUE(reg.Get(LM, SettingsKey, "Empty").has_value());
  EXPECT_EQ(store.ReadNumber("Empty"), 0);
}

TEST(SettingsStore, ARefusedMachineWriteLandsInTheUserCopyAndReadsBack) {
  FakeRegistry reg;
  reg.refuseMachineWrites = true;
  SettingsStore store(reg);
  store.Write("Text1", "7");
  store.WriteRegValue(LM, UsageCopyKey, "js00", " 60");

  EXPECT_FALSE(reg.Get(LM, SettingsKey, "Text1"));
  EXPECT_EQ(reg.Get(CU, SettingsKey, "Text1"), "7");
  EXPECT_EQ(store.Read("Text1"), "7");
  EXPECT_EQ(store.ReadRegValue(LM, UsageCopyKey, "js00"), " 60");
}

TEST(SettingsStore, TheUserCopyWinsOverTheMachineValue) {
  FakeRegistry reg;
  reg.Set(LM, SettingsKey, "Check2", " 0");
  reg.Set(CU, SettingsKey, "Check2", " 1");
  SettingsStore store(reg);
  EXPECT_EQ(store.Read("Check2"), " 1");

  // Without a user copy the machine value is read.
  reg.Set(LM, SettingsKey, "Check1", " 1");
  EXPECT_EQ(store.Read("Check1"), " 1");
}

TEST(SettingsStore, AnAcceptedMachineWriteKeepsAnExistingUserCopyCurrent) {
  FakeRegistry reg;
  reg.Set(CU, SettingsKey, "Text1", "3");  // left by a run without machine-wide rights
  SettingsStore store(reg);
  store.Write("Text1", "9");
  EXPECT_EQ(reg.Get(LM, SettingsKey, "Text1"), "9");
  EXPECT_EQ(store.Read("Text1"), "9");

  // No user copy is made where none existed.
  store.Write("Check2", " 1");
  EXPECT_FALSE(reg.Get(CU, SettingsKey, "Check2"));
}

TEST(SettingsStore, ANonStringUserValueDoesNotHideTheMachineValue) {
  FakeRegistry reg;
  reg.Set(LM, SettingsKey, "Text1", "4");
  reg.SetNonString(CU, SettingsKey, "Text1");
  SettingsStore store(reg);
  EXPECT_EQ(store.Read("Text1"), "4");
}

TEST(SettingsStore, UserRootIsNeverRedirected) {
  FakeRegistry reg;
  reg.refuseMachineWrites = true;
  SettingsStore store(reg);
  store.WriteRegValue(CU, "Software\\X", "v", "1");
  EXPECT_EQ(store.ReadRegValue(CU, "Software\\X", "v"), "1");
  EXPECT_EQ(store.ReadRegValue(LM, "Software\\X", "v"), "1");  // a machine read sees the user copy
  ASSERT_EQ(reg.writes.size(), 1u);
}

}  // namespace
}  // namespace tkd
