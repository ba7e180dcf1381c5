// End-to-end tests: the real TiKoDan.exe on wiped keys, worked only through its windows and the registry.
#include <algorithm>
#include <cwchar>
#include <functional>
#include <map>
#include <memory>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <tuple>
#include <utility>

#include "app_driver.h"
#include "core/number_text.h"

namespace tkd::e2e {
namespace {

std::wstring g_exe;  // Windows path of TiKoDan.exe, from --app=

// The first start in a new prefix loads fonts and the desktop; later starts take well under a second.
constexpr Ms kStartTimeout = 20s;
// What a click or a typed text needs to show, or a one-second tick to come, on a loaded machine.
constexpr Ms kReact = 3s;

// The states below compare whole, field by field, through Tie().
template <class State>
auto operator==(const State& a, const State& b) -> decltype(a.Tie() == b.Tie()) {
  return a.Tie() == b.Tie();
}

// One row of a table: what the user does, then the whole state the program must come to, and
// keep for `holdsFor`.
template <class State>
struct Step {
  const char* what;
  std::function<void()> act;
  State expected;
  Ms holdsFor = 0ms;
};

template <class Read, class State>
void Walk(Read read, const std::vector<Step<State>>& steps) {
  for (const Step<State>& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.act) step.act();
    ASSERT_TRUE(Becomes(read, step.expected, kReact));
    if (step.holdsFor > 0ms) {
      State last = step.expected;
      ASSERT_FALSE(WaitUntil([&] { return !((last = read()) == step.expected); }, step.holdsFor))
          << "then changed to " << Show(last);
    }
  }
}

class E2eTest : public testing::Test {
 protected:
  static void TearDownTestSuite() { app_.reset(); }

  // Starts the program on wiped keys, as at its very first start. With `reuse`, a test that only
  // looks takes the program that an earlier such test of its suite left running.
  void StartFresh(bool reuse = false) {
    if (reuse && app_ && !app_->EndsWithin(0ms)) return;
    app_.reset();
    ASSERT_TRUE(WipeProgramKeys()) << "the program's registry keys could not be removed";
    ASSERT_NO_FATAL_FAILURE(Restart());
  }
  // Ends the program if it runs, and starts it again on the keys as they are.
  void Restart() {
    app_.reset();
    app_ = std::make_unique<App>(g_exe);
    ASSERT_TRUE(app_->Started()) << "CreateProcessW failed for " << Show(g_exe);
    main_ = app_->WaitForWindow(kStartTimeout);
    ASSERT_TRUE(main_) << "no main window after " << kStartTimeout.count() << " ms";
  }
  // Clicks a page's tab and waits until one of its controls is on screen.
  static void OpenPage(const std::wstring& tab, int control) {
    ASSERT_TRUE(Main().ClickTab(tab)) << "no tab " << Show(tab);
    ASSERT_TRUE(WaitUntil([control] { return Main().Child(control).Visible(); }, kReact))
        << "no page " << Show(tab) << "; selected " << Show(Main().SelectedTab());
  }
  void OpenStopwatchPage() {
    ASSERT_TRUE(Main().ClickTab(L"TiKoDan")) << "no tab \"TiKoDan\"";
    const int page[] = {IDC_LABEL2, IDC_LABEL7, IDC_COMMAND1, IDC_TEXT1, IDC_CHECK2};
    const auto shown = [&] {
      return std::all_of(page, page + 5, [](int id) { return Main().Child(id).Visible(); });
    };
    ASSERT_TRUE(WaitUntil(shown, kReact)) << "no stopwatch page; selected " << Show(Main().SelectedTab());
  }
  static const MainWindow& Main() { return *main_; }
  static inline std::unique_ptr<App> app_;
  static inline std::optional<MainWindow> main_;
};

// A fresh program, looked at without being touched; the last test ends it.

struct FirstStartState {
  std::map<std::string, std::string> stored;  // value name → text, "(missing)" when absent
  int firstDateYear;
  std::vector<std::wstring> tabs;
  std::wstring selectedTab;
  auto Tie() const { return std::tie(stored, firstDateYear, tabs, selectedTab); }
};
void PrintTo(const FirstStartState& s, std::ostream* out) {
  for (const auto& [name, text] : s.stored) *out << name << "=" << text << " ";
  *out << "firstDate year " << s.firstDateYear << ", tabs";
  for (const std::wstring& tab : s.tabs) *out << " " << Show(tab);
  *out << ", selected " << Show(s.selectedTab);
}

using FreshProgramTest = E2eTest;

TEST_F(FreshProgramTest, WritesTheFirstRunValuesAndOpensOnTheShutdownPageWithoutTheReminderTab) {
  ASSERT_NO_FATAL_FAILURE(StartFresh(true));
  SYSTEMTIME today;
  GetLocalTime(&today);
  FirstStartState expected{
      // The boxes start-up ticks are stored back by their click handlers.
      {{"Check1", "0"}, {"Check2", "0"}, {"Check3", " 1"}, {"Check9", " 1"}, {"CheckOption1", "1"},
       {"ADsj", "1"}, {"firstuse", "1"}},
      today.wYear,  // every short date format of the locale begins with the year
      {L"TiKoDan", L"定时关机", L"整点报时", L"鼠标统计", L"概况"},
      L"定时关机"};
  for (int box = 10; box <= 33; ++box) expected.stored["Check" + std::to_string(box)] = " 1";
  const auto read = [&] {
    FirstStartState s{{}, static_cast<int>(NumericReading(Setting("firstDate").value_or(""))),
                      Main().Tabs(), Main().SelectedTab()};
    for (const auto& [name, text] : expected.stored) s.stored[name] = Setting(name).value_or("(missing)");
    return s;
  };
  EXPECT_TRUE(Becomes(read, expected, kReact));
}

// "TiKoDanV", the version stamped into the exe's own version information and a blank.
std::wstring TitlePrefix() {
  const Version version = ExeVersion(g_exe);
  return version.text.empty() ? L"" : L"TiKoDan" + version.text + L" ";
}

// The local time of day `secondsAgo` seconds ago, in the user's time format.
std::wstring TimeOfDay(int secondsAgo) {
  SYSTEMTIME time;
  GetLocalTime(&time);
  const int second = (time.wHour * 3600 + time.wMinute * 60 + time.wSecond - secondsAgo + 86400) % 86400;
  time.wHour = static_cast<WORD>(second / 3600);
  time.wMinute = static_cast<WORD>(second / 60 % 60);
  time.wSecond = static_cast<WORD>(second % 60);
  wchar_t text[64] = L"";
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text, 64);
  return text;
}

TEST_F(FreshProgramTest, TitleShowsTheExesVersionAndTheTimeOfDay) {
  const std::wstring prefix = TitlePrefix();
  ASSERT_NE(prefix, L"") << "no version information in " << Show(g_exe);
  ASSERT_NO_FATAL_FAILURE(StartFresh(true));
  // The tick that wrote the title may have come up to two seconds ago on a loaded machine.
  std::wstring title;
  const auto current = [&] {
    title = Main().Title();
    return title == prefix + TimeOfDay(0) || title == prefix + TimeOfDay(1) || title == prefix + TimeOfDay(2);
  };
  EXPECT_TRUE(WaitUntil(current, kReact))
      << "title " << Show(title) << " instead of " << Show(prefix + TimeOfDay(0)) << " or up to 2 s earlier";
}

TEST_F(FreshProgramTest, EndsWhenAnotherProgramSetsIsCloseToOne) {
  ASSERT_NO_FATAL_FAILURE(StartFresh(true));
  ASSERT_TRUE(RegistryWin32().Write(RegRoot::LocalMachine, kSettingsKey, "isClose", "1"));
  EXPECT_TRUE(app_->EndsWithin(5s)) << "still running five seconds after isClose was set";
}

// The stopwatch page.

// What the stopwatch page shows; the second button's texts only while it is on screen.
struct StopwatchState {
  std::wstring display, status, command1, command1Tip;
  bool command2Visible;
  std::wstring command2, command2Tip;
  auto Tie() const {
    return std::tie(display, status, command1, command1Tip, command2Visible, command2, command2Tip);
  }
};
void PrintTo(const StopwatchState& s, std::ostream* out) {
  *out << "{display " << Show(s.display) << ", status " << Show(s.status) << ", Command1 " << Show(s.command1)
       << " tip " << Show(s.command1Tip) << ", Command2 "
       << (s.command2Visible ? Show(s.command2) + " tip " + Show(s.command2Tip) : "hidden") << "}";
}

StopwatchState StopwatchOf(const MainWindow& main) {
  const Control command1 = main.Child(IDC_COMMAND1), command2 = main.Child(IDC_COMMAND2);
  const bool shown = command2.Visible();
  return {main.Child(IDC_LABEL2).Text(), main.Child(IDC_LABEL7).Text(), command1.Text(), command1.Tip(),
          shown, shown ? command2.Text() : L"", shown ? command2.Tip() : L""};
}

StopwatchState Idle(const std::wstring& display, const std::wstring& tip) {
  return {display, L"", L"开始", tip, false, L"", L""};
}
StopwatchState Running(const std::wstring& display, const std::wstring& status) {
  return {display, status, L"停止", L"点一下将会停止计时", true, L"暂停", L"点一下将会暂停计时"};
}
StopwatchState Paused(const std::wstring& display) {
  return {display, L"计时暂停中", L"停止", L"点一下将会停止计时", true, L"继续", L"点一下将会继续计时(不会从头开始)"};
}

using StopwatchTest = E2eTest;

TEST_F(StopwatchTest, StartPauseContinueStopThenAShortCountdownEndsWithTimeUp) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  const auto click = [](int id) { return [id] { Main().Child(id).Click(); }; };
  const auto countDown = [] {  // 0.05 minutes: three ticks
    Main().Child(IDC_TEXT1).Type(L"0.05");
    Main().Child(IDC_CHECK2).Click();
    Main().Child(IDC_COMMAND1).Click();
  };
  Walk([] { return StopwatchOf(Main()); }, std::vector<Step<StopwatchState>>{
      {"opened", nullptr, Idle(L"0:00:00", L"点一下开始计时")},
      {"started, first tick", click(IDC_COMMAND1), Running(L"0:00:01", L"正在计时中..")},
      {"paused, for longer than a tick", click(IDC_COMMAND2), Paused(L"0:00:01"), 1500ms},
      {"continued, next tick", click(IDC_COMMAND2), Running(L"0:00:02", L"正在计时中...")},
      {"stopped", click(IDC_COMMAND1), Idle(L"0:00:02", L"点一下就开始计时")},
      {"counting down, first tick", countDown, Running(L"0:00:02", L"倒计时进行中..")},
      {"third tick: time up", nullptr, Idle(L"时间到了", L"点一下开始计时")},
  });
}

// The minutes box and the program's message box, as a user sees them.
struct MinutesState {
  std::wstring minutes;
  bool boxShown;
  std::wstring boxTitle, boxText;
  auto Tie() const { return std::tie(minutes, boxShown, boxTitle, boxText); }
};
void PrintTo(const MinutesState& s, std::ostream* out) {
  *out << "{minutes " << Show(s.minutes) << ", message box "
       << (s.boxShown ? Show(s.boxTitle) + ": " + Show(s.boxText) : "none") << "}";
}

TEST_F(StopwatchTest, AClearedMinutesBoxIsRefusedWithAMessageAndBecomesFive) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  const Control minutes = Main().Child(IDC_TEXT1);
  const auto read = [&] {
    const HWND box = Main().MessageBox();
    return MinutesState{minutes.Text(), box != nullptr, box ? WindowText(box) : L"",
                        box ? WindowText(GetDlgItem(box, 0xFFFF)) : L""};
  };
  Walk(read, std::vector<Step<MinutesState>>{
      // Anything but "5" first, so that the "5" at the end can only come from the refusal.
      {"2 typed", [&] { minutes.Type(L"2"); }, {L"2", false, L"", L""}},
      {"cleared", [&] { minutes.Clear(); }, {L"", true, L"TiKoDan", L"此处必须大于0"}},
      {"OK pressed", [] { PressOk(Main().MessageBox()); }, {L"5", false, L"", L""}},
  });
}

// What the user left comes back at the next start.

struct RestoredState {
  std::wstring minutes;
  bool countdown;
  RECT place;
  auto Tie() const { return std::tie(minutes, countdown, place.left, place.top, place.right, place.bottom); }
};
void PrintTo(const RestoredState& s, std::ostream* out) {
  *out << "{minutes " << Show(s.minutes) << ", countdown " << s.countdown << ", window (" << s.place.left
       << ", " << s.place.top << ")-(" << s.place.right << ", " << s.place.bottom << ")}";
}

using RestartTest = E2eTest;

TEST_F(RestartTest, RestoresMinutesCountdownSwitchAndWindowPlace) {
  const auto read = [] {
    return RestoredState{Main().Child(IDC_TEXT1).Text(), Main().Child(IDC_CHECK2).Checked(), Main().Place()};
  };
  const RestoredState left{L"2.5", true, {230, 170, 650, 530}};  // none of it what a first start shows
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Main().Child(IDC_TEXT1).Type(left.minutes);
  Main().Child(IDC_CHECK2).Click();
  Main().MoveTo(left.place);
  ASSERT_TRUE(Becomes(read, left, kReact));
  // The once-a-second tick keeps the window's place; a new time in the title shows it has run.
  const std::wstring title = Main().Title();
  ASSERT_TRUE(WaitUntil([&] { return Main().Title() != title; }, kReact)) << "the title stayed " << Show(title);

  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  EXPECT_TRUE(Becomes(read, left, kReact));
}

// The scheduled events' pages.

struct PagesState {
  std::vector<std::wstring> shutdownRow, chimeBoxes, tips;
  std::vector<bool> warningsShown;
  auto Tie() const { return std::tie(shutdownRow, chimeBoxes, tips, warningsShown); }
};
void PrintTo(const PagesState& s, std::ostream* out) {
  for (const auto* texts : {&s.shutdownRow, &s.chimeBoxes, &s.tips}) *out << Show(*texts) << " ";
  *out << "warnings shown " << Show(s.warningsShown);
}

using SchedulePagesTest = E2eTest;

TEST_F(SchedulePagesTest, ShowTheirCaptionsWithTheWarningsHidden) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_TRUE(Main().ClickTab(L"整点报时"));  // the shutdown page is open already
  const auto texts = [](std::initializer_list<int> ids) {
    std::vector<std::wstring> out;
    for (int id : ids) out.push_back(Main().Child(id).Text());
    return out;
  };
  const auto read = [&] {
    return PagesState{texts({IDC_CHECK4, IDC_SHUTDOWN_CAPTION_FIRST, IDC_CHECK5, IDC_CHECK6, IDC_CHECK8,
                             IDC_SHUTDOWN_CAPTION_FIRST + 4, IDC_LABEL16}),
                      texts({IDC_CHECK9, IDC_FRAME_CHIME, IDC_CHECK10, IDC_CHECK10 + 9, IDC_CHECK10 + 10, IDC_CHECK10 + 23}),
                      {Main().Child(IDC_LABEL16).Tip(), Main().Child(IDC_TEXT5).Tip()},
                      {Main().Child(IDC_LABEL16).Visible(), Main().Child(IDC_LABEL17).Visible(),
                       Main().Child(IDC_LABEL18).Visible(), Main().Child(IDC_CHECK10 + 23).Checked()}};
  };
  EXPECT_TRUE(Becomes(read, PagesState{{L"设定", L"分钟后自动关机", L"设定今天", L"设定每天", L"设定每天", L"分时自动关机", L"即将关机"},
                                       {L"开启整点报时", L"请勾选哪些时间需要整点报时", L"0点", L"9点", L"10", L"23"},
                                       {L"自动关机前10分钟开始提醒", L"请输入“0-23”之间的整数"},
                                       {false, false, false, true}},
                      kReact));
}

// The desktop side: tray, exit, options, always on top, start with Windows.

class DesktopTest : public E2eTest {
 protected:
  // The program's dialog or message box with this caption, once it is on screen.
  static HWND WaitForBox(const std::wstring& caption) {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND box : TopLevel(ProcessOf(Main().Handle()), L"#32770"))
        if (WindowText(box) == caption) return (found = box) != nullptr;
      return false;
    }, kReact);
    return found;
  }
};

TEST_F(DesktopTest, CloseHidesBehindTheTrayAndExitAsksFirst) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  const HWND form = Main().Handle();
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); }, kReact));
  EXPECT_FALSE(app_->EndsWithin(1500ms));
  PostMessageW(form, TKD_MSG_TRAY_CALLBACK, 1, WM_LBUTTONUP);  // a left click on the icon
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form) != FALSE; }, kReact));
  DWORD_PTR answer = 0;  // logging off is never vetoed
  ASSERT_TRUE(SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
  EXPECT_EQ(answer, TRUE);
  for (const int button : {IDCANCEL, IDOK}) {
    PostMessageW(form, WM_COMMAND, IDM_EXIT, 0);
    const HWND box = WaitForBox(L"关闭程序?");
    ASSERT_TRUE(box) << "no exit confirmation";
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), L"你确定要关闭此程序吗?");
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    EXPECT_EQ(app_->EndsWithin(button == IDOK ? 5000ms : 1500ms), button == IDOK);
  }
}

TEST_F(DesktopTest, OptionsHidePagesAtOnceAndRefuseAnIntervalOutOfRange) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  PostMessageW(Main().Handle(), WM_COMMAND, IDM_OPTION, 0);
  const HWND options = WaitForBox(L"选项...");
  ASSERT_TRUE(options) << "no options dialog";
  EXPECT_EQ(IsDlgButtonChecked(options, IDC_OPT_CHECK1), BST_CHECKED);
  EXPECT_EQ(WindowText(GetDlgItem(options, IDC_OPT_TEXT1)), L"1");
  PostMessageW(GetDlgItem(options, IDC_OPT_CHECK2), BM_CLICK, 0, 0);
  EXPECT_TRUE(Becomes([] { return Main().Tabs(); },
                      std::vector<std::wstring>{L"定时关机", L"整点报时", L"鼠标统计", L"概况"}, kReact));
  SendMessageTimeoutW(GetDlgItem(options, IDC_OPT_TEXT1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"21"), 0, 500, nullptr);
  const HWND refusal = WaitForBox(L"TiKoDan");
  ASSERT_TRUE(refusal);
  EXPECT_EQ(WindowText(GetDlgItem(refusal, 0xFFFF)), L"只能输入1-20之间的数字");
  PressOk(refusal);
  PostMessageW(GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(options); }, kReact));
  EXPECT_EQ(Setting("CheckOption2"), " 1");
  EXPECT_EQ(Setting("ADsj"), " 1");  // stored back when the dialog loaded, not 21
}

TEST_F(DesktopTest, AlwaysOnTopFollowsTheBoxWithinASecond) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  const HWND form = Main().Handle();
  const auto topmost = [&] { return (GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  Main().Child(IDC_CHECK1).Click();
  EXPECT_TRUE(WaitUntil(topmost, 1500ms));
  SetWindowPos(form, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // another program
  EXPECT_TRUE(WaitUntil(topmost, 1500ms));
  EXPECT_EQ(Setting("Check1"), " 1");
}

TEST_F(DesktopTest, StartsWithWindowsFromAFolderWithABlankAndChineseInQuotes) {
  const std::wstring folder = L"C:\\Program Files\\计时 工具", exe = folder + L"\\TiKoDan.exe";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(g_exe.c_str(), exe.c_str(), FALSE)) << "cannot copy to " << Show(exe);
  const std::wstring original = std::exchange(g_exe, exe);
  StartFresh();
  g_exe = original;
  const auto read = [] {
    return std::vector<std::string>{
        RegistryWin32().Read(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "tikodan").value_or("(missing)"),
        Setting("Path").value_or("(missing)"), Setting("tkdExeName").value_or("(missing)")};
  };
  EXPECT_TRUE(Becomes(read, std::vector<std::string>{"\"C:\\Program Files\\计时 工具\\TiKoDan.exe\"",
                                                     "C:\\Program Files\\计时 工具", "TiKoDan"}, kReact));
}

// The statistics pages.

using StatisticsTest = E2eTest;

// The metres a label such as " 1,234.500m " shows.
double MetresIn(const std::wstring& label) {
  std::string digits;
  for (wchar_t c : label)
    if ((c >= L'0' && c <= L'9') || c == L'.') digits += static_cast<char>(c);
  return NumericReading(digits);
}

TEST_F(StatisticsTest, ThePointersPathIsMeasuredAndTheTotalSurvivesARestart) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_NO_FATAL_FAILURE(OpenPage(L"鼠标统计", IDC_LABEL22));
  const Control position = Main().Child(IDC_LABEL22), today = Main().Child(IDC_LABEL3);
  SetCursorPos(100, 100);  // where the path starts; only the path is measured
  ASSERT_TRUE(Becomes([&] { return position.Text(); }, std::wstring(L"( 100, 100)"), kReact));
  const double before = MetresIn(today.Text());
  // Round a square of 300 px sides in steps of 10 px, 10 ms apart, through run_e2e.sh's xdotool.
  std::string moves;
  POINT at{100, 100};
  for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {-1, 0}, {0, -1}}) {
    for (int step = 0; step < 30; ++step) {
      at = {at.x + dx * 10, at.y + dy * 10};
      moves += "mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " sleep 0.01 ";
    }
  }
  const std::filesystem::path artifacts(_wgetenv(L"TKD_E2E_ARTIFACTS"));
  std::filesystem::remove(artifacts / "pointer.done");
  std::ofstream(artifacts / "pointer.request.new") << moves;
  std::filesystem::rename(artifacts / "pointer.request.new", artifacts / "pointer.request");
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(artifacts / "pointer.done"); }, 10s));
  ASSERT_TRUE(Becomes([&] { return position.Text(); }, std::wstring(L"( 100, 100)"), kReact));
  // Within 2 %: a sample that falls across a corner measures the short cut.
  EXPECT_NEAR(MetresIn(today.Text()) - before, 1200 * 0.265 / 1000, 0.02 * 0.318) << WideToUtf8(today.Text());
  // The total is stored every second; a restart shows it again, in kilometres with three decimals.
  const auto stored = [] { return Setting("AllMove").value_or(""); };
  const double travelled = MetresIn(today.Text()) * 1000 / 0.265 - 4;  // the label rounds to a millimetre
  ASSERT_TRUE(WaitUntil([&] { return (NumericReading(stored()) - 4219) / 37 >= travelled; }, kReact))
      << "AllMove " << stored() << " holds less than this run's " << travelled << " px";
  const double pixels = (NumericReading(stored()) - 4219) / 37;
  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NO_FATAL_FAILURE(OpenPage(L"鼠标统计", IDC_LABEL20));
  const Control total = Main().Child(IDC_LABEL20);
  ASSERT_TRUE(WaitUntil([&] { return !total.Text().empty(); }, kReact));
  EXPECT_NEAR(MetresIn(total.Text()), pixels * 0.265 / 1e6, 0.0011) << WideToUtf8(total.Text());
}

TEST_F(StatisticsTest, AnEditedTotalRestartsFromZeroAndACutOffTickKeepsTheUsage) {
  ASSERT_TRUE(WipeProgramKeys());
  RegistryWin32 registry;
  for (const auto& [key, name, text] : {std::tuple{kSettingsKey, "AllMove", " 4000220"},  // 108000 x 37 + 4219, edited
                                        {kSettingsKey, "js00", " 500"}, {"software\\microsoft\\com3", "js00", " 499"}})
    ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, key, name, text));
  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NO_FATAL_FAILURE(OpenPage(L"概况", IDC_LABEL34));
  ASSERT_TRUE(WaitUntil([] { return !Main().Child(IDC_LABEL34).Text().empty(); }, kReact));
  // The total goes on from 500 (the larger copy) with the seconds of this run; the distance from 0.
  const auto read = [] {
    const std::wstring run = Main().Child(IDC_LABEL34).Text();
    const int seconds = run.size() < 2 ? -1 : std::stoi(run.substr(run.size() - 2));
    return std::vector<std::wstring>{Main().Child(IDC_LABEL32).Text(), Main().Child(IDC_LABEL33).Text(),
                                     L"0:08:" + std::to_wstring(20 + seconds)};
  };
  for (int tick = 0; tick < 2; ++tick) {
    const auto state = read();
    EXPECT_EQ(state[0], state[2]);
    EXPECT_EQ(state[1], L" 0.000km ");
    Sleep(1000);
  }
  EXPECT_EQ(Main().Child(IDC_LABEL31).Text(), L"排名：（目前您的积分太少，还没有排名哦）");
}

// Run by run_e2e.sh under a wall clock set to 06:59:56, with the sound folder's file opens
// logged to TKD_E2E_SOUND_LOG: the daily warning before a 07:05 shutdown, and the 7 o'clock chime.
TEST(ShiftedClockTest, WarnsBeforeADailyShutdownAndChimesAtSevenOClock) {
  const wchar_t* soundLog = _wgetenv(L"TKD_E2E_SOUND_LOG");
  ASSERT_NE(soundLog, nullptr) << "run me through run_e2e.sh, which shifts the clock";
  ASSERT_TRUE(WipeProgramKeys());
  RegistryWin32 registry;
  for (const auto& [name, text] : {std::pair{"Check6", " 1"}, {"Text5", "7"}, {"Text6", "5"}})
    ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, kSettingsKey, name, text));
  App app(g_exe);
  const auto main = app.WaitForWindow(kStartTimeout);
  ASSERT_TRUE(main);
  const Control warning = main->Child(IDC_LABEL17);
  std::set<std::wstring> captions;  // one step a second
  WaitUntil([&] { return warning.Visible() && (captions.insert(warning.Text()), captions.size() == 4); }, 6s);
  EXPECT_EQ(captions, (std::set<std::wstring>{L"即", L"即将", L"即将关", L"即将关机"}));
  const auto chimed = [&] {
    std::ifstream log{std::filesystem::path(soundLog)};
    return std::string(std::istreambuf_iterator<char>(log), {}).find("zdbs7.wav") != std::string::npos;
  };
  EXPECT_TRUE(WaitUntil(chimed, 10s)) << "no zdbs7.wav opened; title " << Show(main->Title());
  EXPECT_EQ(main->Title().find(L" 7:00:00"), std::wstring::npos) << Show(main->Title());
}

// Run by run_e2e.sh in two invocations: the first arms a shutdown three seconds ahead and is
// ended with every process of the prefix; the second reads the process trace Wine left.
DWORD ArmTickOf(const std::wstring& artifacts, bool write) {
  const std::filesystem::path file = std::filesystem::path(artifacts) / "shutdown-armed-tick.txt";
  if (write) std::ofstream(file) << GetTickCount();
  DWORD tick = 0;
  std::ifstream(file) >> tick;
  return tick;
}

TEST(ShutdownTest, ArmAfterAFractionOfAMinute) {
  const wchar_t* artifacts = _wgetenv(L"TKD_E2E_ARTIFACTS");
  ASSERT_NE(artifacts, nullptr);
  ASSERT_TRUE(WipeProgramKeys());
  App app(g_exe);
  const auto main = app.WaitForWindow(kStartTimeout);
  ASSERT_TRUE(main);
  main->Child(IDC_TEXT2).Type(L"0.05");
  ArmTickOf(artifacts, true);
  main->Child(IDC_CHECK4).Click();
  EXPECT_TRUE(app.EndsWithin(10s));  // as a rule this driver is ended first, with the prefix
}

TEST(ShutdownTest, StartedTheShutdownCommandThreeSecondsAfterArming) {
  const wchar_t* artifacts = _wgetenv(L"TKD_E2E_ARTIFACTS");
  ASSERT_NE(artifacts, nullptr);
  const DWORD armed = ArmTickOf(artifacts, false);
  std::ifstream trace(std::filesystem::path(artifacts) / "shutdown-trace.log");
  std::string line, started, endedSession;
  while (std::getline(trace, line)) {
    if (line.find("CreateProcessInternalW app (null) cmdline L\"cmd.exe /c shutdown -s -t 0\"") != std::string::npos)
      started = line;
    // Wine carries out a forced ExitWindowsEx that powers off (not a restart) this way.
    if (!started.empty() && line.find("wineboot.exe --kill --shutdown\"") != std::string::npos) endedSession = line;
  }
  ASSERT_NE(started, "") << "the shutdown command was never started";
  EXPECT_NE(endedSession, "") << "Windows was not asked to shut down after the command";
  // Wine's trace lines begin with the tick count in seconds, "1234.567:".
  const double seconds = std::atof(started.c_str()) - armed / 1000.0;
  EXPECT_GT(seconds, 2.5) << started;
  EXPECT_LT(seconds, 4.5) << started;
}

}  // namespace
}  // namespace tkd::e2e

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);  // takes the --gtest_* options out of argv
  if (argc != 2 || std::wcsncmp(argv[1], L"--app=", 6) != 0) {
    std::fwprintf(stderr, L"usage: tkd_e2e_driver --app=PATH\\TiKoDan.exe [gtest options]\n");
    return 2;
  }
  tkd::e2e::g_exe = argv[1] + 6;
  return RUN_ALL_TESTS();
}
