// The desktop side of the main window: tray icon, exit commands, switches, options dialog, full start-up.
#include <gtest/gtest.h>

#include "support/form1_harness.h"

namespace tkd {
namespace {

using testing::Form1Harness;
constexpr auto LM = RegRoot::LocalMachine;
const std::string kRunEntry = "\"C:\\Apps\\TiKoDan\\TiKoDan.exe\"";

struct DesktopTest : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(h.Load()); }
  Form1Harness h;
};

TEST_F(DesktopTest, ClosingHidesBehindOneIconThatBringsTheWindowBack) {
  h.model->Form_QueryUnload();
  EXPECT_FALSE(h.model->View().windowVisible);
  EXPECT_EQ(h.model->TrayIcon_Callback(TrayMouse::Other), TrayAction::None);
  EXPECT_EQ(h.model->TrayIcon_Callback(TrayMouse::RightUp), TrayAction::ShowMenu);
  EXPECT_FALSE(h.model->View().windowVisible);
  EXPECT_EQ(h.model->TrayIcon_Callback(TrayMouse::LeftUp), TrayAction::ShowWindow);
  EXPECT_TRUE(h.model->View().windowVisible);
  h.model->Form_QueryUnload();   // closed again: still one icon
  h.model->TaskbarCreated();     // Explorer restarted while hidden: the icon comes back
  EXPECT_EQ(h.tray.calls, (std::vector<std::string>{"add TiKoDan(V1.4.6)", "add TiKoDan(V1.4.6)"}));
  EXPECT_EQ(h.lifetime.ended, 0);
}

// At logon the program may start before the notification area exists.
TEST_F(DesktopTest, WithoutTheIconAClosedWindowIsMinimisedNotHiddenAndTheAddIsRetried) {
  h.tray.failingAdds = 3;
  EXPECT_EQ(h.model->Form_QueryUnload(), CloseAction::Minimise);
  EXPECT_TRUE(h.model->View().windowVisible);
  // Retried every ten seconds for a minute; the fourth add succeeds.
  for (const auto& [seconds, adds] : {std::pair{9, 1}, {1, 2}, {10, 3}, {10, 4}, {60, 4}}) {
    h.Run(seconds * 1000);
    EXPECT_EQ(h.tray.calls.size(), std::size_t(adds)) << "after " << seconds << " s more";
  }
  EXPECT_EQ(h.model->Form_QueryUnload(), CloseAction::Hide);
  EXPECT_EQ(h.tray.calls.size(), 4u);

  Form1Harness late;  // no notification area for more than a minute: it comes with "TaskbarCreated"
  ASSERT_TRUE(late.Load());
  late.tray.failingAdds = 100;
  late.model->Form_QueryUnload();
  late.Run(120'000);
  EXPECT_EQ(late.tray.calls.size(), 7u);
  late.tray.failingAdds = 0;
  late.model->TaskbarCreated();
  EXPECT_EQ(late.tray.calls.size(), 8u);
  EXPECT_EQ(late.model->Form_QueryUnload(), CloseAction::Hide);
}

TEST_F(DesktopTest, ExitAsksFromTheMenuBarButNotFromTheTrayMenuAndTakesTheIconAlong) {
  h.model->Form_QueryUnload();
  h.prompt.confirms = false;
  h.model->menuExit_Click();
  EXPECT_EQ(h.prompt.shown, std::vector<std::string>{"关闭程序?: 你确定要关闭此程序吗?"});
  EXPECT_EQ(h.lifetime.ended, 0);
  h.prompt.confirms = true;
  h.model->menuExit_Click();
  EXPECT_EQ(h.lifetime.ended, 1);
  h.model->RmenuExit_Click();
  EXPECT_EQ(h.prompt.shown.size(), 2u);
  EXPECT_EQ(h.lifetime.ended, 2);
  EXPECT_EQ(h.tray.calls, (std::vector<std::string>{"add TiKoDan(V1.4.6)", "remove"}));
}

TEST_F(DesktopTest, SwitchesAreStoredAtOnceAndOnTopIsReappliedEveryTick) {
  h.Run(1000);
  h.model->Check1_Click(true);
  h.Run(2000);
  h.model->Check3_Click(false);
  EXPECT_EQ(h.frame.topmost, (std::vector<bool>{false, true, true}));
  EXPECT_FALSE(h.model->View().check3);
  EXPECT_EQ(h.Stored(setting::Check1), " 1");
  EXPECT_EQ(h.Stored(setting::Check3), " 0");
}

// The tray menu works while a dialog or message box of ours holds the main window.
TEST_F(DesktopTest, WhileAModalWindowIsOpenNoOtherOpensAndTheTickWaitsForItsDialog) {
  std::unique_ptr<UpdateDialog> update = h.model->menuUpdate_Click();
  ASSERT_NE(update, nullptr);
  EXPECT_EQ(h.model->menuUpdate_Click(), nullptr);  // the open one is brought forward instead
  EXPECT_FALSE(h.model->OpenOptions());
  EXPECT_FALSE(h.model->menuExit_Click());
  EXPECT_TRUE(h.prompt.shown.empty());
  h.model->UpdateDialog_Closed();
  EXPECT_TRUE(h.model->View().timer1Enabled);
  bool refused = false;
  h.prompt.confirms = false;
  h.prompt.whileShown = [&] { refused = !h.model->menuUpdate_Click(); };
  EXPECT_TRUE(h.model->menuExit_Click());
  EXPECT_TRUE(refused) << "an update dialog opened over the exit confirmation";
  // The quiet check's offer of a new version waits until no modal window is open.
  h.prompt = {};
  h.Run(359'000);
  h.http.Answer("");  // the rank's
  ASSERT_TRUE(h.model->OpenOptions());
  h.Run(1'000);
  h.http.Answer("[147]");
  EXPECT_TRUE(h.prompt.shown.empty());
  h.model->OptionsDialog_Closed();
  EXPECT_EQ(h.prompt.shown.size(), 1u);
  EXPECT_EQ(h.browser.opened.size(), 1u);
}

TEST_F(DesktopTest, TheOptionsDialogStoresEveryControlAtOnce) {
  h.registry.Set(LM, SettingsKey, "ADsj", "0");
  h.registry.Set(LM, SettingsKey, "CheckOption3", " 1");
  std::optional<OptionsModel> opened = h.model->OpenOptions();
  OptionsModel& options = *opened;
  options.Form_Load();
  EXPECT_EQ(options.View().text1, "0");  // shown, and refused at once
  EXPECT_EQ(h.prompt.shown, std::vector<std::string>{"只能输入1-20之间的数字"});
  EXPECT_TRUE(options.View().check1);
  EXPECT_EQ(options.View().hidePage, (std::array<bool, kHideablePages>{false, true, false, false}));
  const struct { const char* typed; const char* stored; } intervals[] = {
      {"20", " 20"}, {"21", " 20"}, {"1", " 1"}, {"1.5", " 1.5"}, {"0", " 1.5"}};
  for (const auto& c : intervals) {
    options.Text1_Change(c.typed);
    EXPECT_EQ(h.Stored(setting::ADsj), c.stored) << c.typed;
  }
  for (int page = 0; page < kHideablePages; ++page) options.HidePage_Click(page, true);
  EXPECT_EQ(h.model->View().pageVisible, (std::array<bool, kPageCount>{false, false, false, false, false, true}));
  EXPECT_EQ(h.Stored(setting::CheckOption5), " 1");
  options.Check1_Click(false);
  EXPECT_EQ(h.Stored(setting::tikodan), "");  // emptied, not deleted
  h.registry.refuseMachineWrites = true;  // a standard user: the per-user Run key takes it
  options.Check1_Click(true);
  EXPECT_EQ(h.registry.Read(RegRoot::CurrentUser, RunKey, "tikodan"), kRunEntry);
  options.Command1_Click();
  EXPECT_FALSE(options.View().open);
}

// An elevated run registered the program machine-wide; now a standard user runs it.
TEST(DesktopRun, AStandardUserNeverRegistersTheProgramTwiceAndTheBoxShowsWhatStartsIt) {
  constexpr auto CU = RegRoot::CurrentUser;
  Form1Harness h;
  h.registry.Set(LM, RunKey, "tikodan", kRunEntry);
  h.registry.Set(CU, RunKey, "tikodan", kRunEntry);  // left by an earlier version
  h.registry.refuseMachineWrites = true;
  ASSERT_TRUE(h.Load());
  EXPECT_EQ(h.registry.Read(CU, RunKey, "tikodan"), "");  // the machine-wide entry starts it already
  std::optional<OptionsModel> options = h.model->OpenOptions();
  options->Form_Load();
  options->Check1_Click(false);
  EXPECT_TRUE(options->View().check1) << "cleared, while the machine-wide entry still starts the program";
  EXPECT_EQ(h.store->ReadNumber(setting::CheckOption1), 1);
  h.registry.refuseMachineWrites = false;  // run elevated again: both go, and the box clears
  h.registry.Set(CU, RunKey, "tikodan", kRunEntry);
  options->Check1_Click(false);
  EXPECT_FALSE(options->View().check1);
  EXPECT_EQ((std::vector{h.registry.Read(LM, RunKey, "tikodan"), h.registry.Read(CU, RunKey, "tikodan")}),
            (std::vector<std::optional<std::string>>{"", ""}));
}

// What a fresh machine writes and shows is pinned in form1_model_test.cpp.
TEST(DesktopLoad, RestoresTheHiddenPagesTheSwitchesAndTheIntervalWithoutAFirstRun) {
  Form1Harness h;
  for (const auto& [name, text] : {std::pair{"firstuse", "2"}, {"CheckOption3", "1"}, {"Check1", " 1"},
                                   {"Check3", " 0"}, {"ADsj", "0.5"}, {"CheckOption1", "0"}})
    h.registry.Set(LM, SettingsKey, name, text);
  ASSERT_TRUE(h.Load());
  const Form1View& v = h.model->View();
  EXPECT_EQ(v.pageVisible, (std::array<bool, kPageCount>{true, false, true, true, false, true}));
  EXPECT_TRUE(v.check1);
  EXPECT_FALSE(v.check3);
  EXPECT_EQ(h.model->AdInterval(), 1);
  EXPECT_EQ(h.Stored(setting::Check1), " 1");
  EXPECT_EQ(h.Stored(setting::tikodan), std::nullopt);  // start with Windows is off
  EXPECT_EQ(h.Stored(setting::Check9), std::nullopt);   // "firstuse" reads 2: no first run
}

}  // namespace
}  // namespace tkd
