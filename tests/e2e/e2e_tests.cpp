// End-to-end tests: the real TiKoDan.exe on wiped keys, worked only through its windows and the registry.
// They look at the wiring; the rules behind what they see are pinned down by the unit tests.
#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
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

// What the user sees, as texts compared whole. A table row is what the user does, then the state
// the program must come to, and keep for `holdsFor`.
using Seen = std::vector<std::wstring>;
struct Step {
  const char* what;
  std::function<void()> act;
  Seen expected;
  Ms holdsFor = 0ms;
};

template <class Read>
void Walk(Read read, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.act) step.act();
    ASSERT_TRUE(Becomes(read, step.expected, kReact));
    Seen last = step.expected;
    ASSERT_FALSE(step.holdsFor > 0ms && WaitUntil([&] { return (last = read()) != step.expected; }, step.holdsFor))
        << "then changed to " << Show(last);
  }
}

class E2eTest : public testing::Test {
 protected:
  static void TearDownTestSuite() { app_.reset(); }

  // Starts the program on wiped keys, as at its very first start.
  void StartFresh() {
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
  // Clicks a page's tab and waits until all the given controls of the page are on screen.
  static void OpenPage(const std::wstring& tab, std::initializer_list<int> controls) {
    ASSERT_TRUE(Main().ClickTab(tab)) << "no tab " << Show(tab);
    const auto shown = [&] {
      return std::all_of(controls.begin(), controls.end(), [](int id) { return Main().Child(id).Visible(); });
    };
    ASSERT_TRUE(WaitUntil(shown, kReact)) << "no page " << Show(tab) << "; selected " << Show(Main().SelectedTab());
  }
  static void OpenStopwatchPage() {
    OpenPage(L"TiKoDan", {IDC_LABEL2, IDC_LABEL7, IDC_COMMAND1, IDC_TEXT1, IDC_CHECK2});
  }
  static const MainWindow& Main() { return *main_; }
  static inline std::unique_ptr<App> app_;
  static inline std::optional<MainWindow> main_;
};

// The stopwatch page: display, status, the first button and its tip, the second button and its
// tip while it is on screen.

Seen StopwatchOf(const MainWindow& main) {
  const Control command1 = main.Child(IDC_COMMAND1), command2 = main.Child(IDC_COMMAND2);
  const bool shown = command2.Visible();
  return {main.Child(IDC_LABEL2).Text(), main.Child(IDC_LABEL7).Text(), command1.Text(), command1.Tip(),
          shown ? command2.Text() : L"(hidden)", shown ? command2.Tip() : L""};
}
Seen Idle(const std::wstring& display, const std::wstring& tip) {
  return {display, L"", L"开始", tip, L"(hidden)", L""};
}
Seen Running(const std::wstring& display, const std::wstring& status) {
  return {display, status, L"停止", L"点一下将会停止计时", L"暂停", L"点一下将会暂停计时"};
}
Seen Paused(const std::wstring& display) {
  return {display, L"计时暂停中", L"停止", L"点一下将会停止计时", L"继续", L"点一下将会继续计时(不会从头开始)"};
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
  Walk([] { return StopwatchOf(Main()); }, {
      {"opened", nullptr, Idle(L"0:00:00", L"点一下开始计时")},
      {"started, first tick", click(IDC_COMMAND1), Running(L"0:00:01", L"正在计时中..")},
      {"paused, for longer than a tick", click(IDC_COMMAND2), Paused(L"0:00:01"), 1500ms},
      {"continued, next tick", click(IDC_COMMAND2), Running(L"0:00:02", L"正在计时中...")},
      {"stopped", click(IDC_COMMAND1), Idle(L"0:00:02", L"点一下就开始计时")},
      {"counting down, first tick", countDown, Running(L"0:00:02", L"倒计时进行中..")},
      {"third tick: time up", nullptr, Idle(L"时间到了", L"点一下开始计时")},
  });
}

// What the user left comes back at the next start.

using RestartTest = E2eTest;

TEST_F(RestartTest, RestoresMinutesCountdownSwitchAndWindowPlace) {
  const auto read = [] {
    const RECT r = Main().Place();
    return Seen{Main().Child(IDC_TEXT1).Text(), Main().Child(IDC_CHECK2).Checked() ? L"countdown" : L"count-up",
                std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"-" + std::to_wstring(r.right) + L"," +
                    std::to_wstring(r.bottom)};
  };
  const Seen left{L"2.5", L"countdown", L"230,170-650,530"};  // none of it what a first start shows
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Main().Child(IDC_TEXT1).Type(L"2.5");
  Main().Child(IDC_CHECK2).Click();
  Main().MoveTo({230, 170, 650, 530});
  ASSERT_TRUE(Becomes(read, left, kReact));
  // The once-a-second tick keeps the window's place; a new time in the title shows it has run.
  const std::wstring title = Main().Title();
  ASSERT_TRUE(WaitUntil([&] { return Main().Title() != title; }, kReact)) << "the title stayed " << Show(title);
  // Machine-wide, where 32-bit tools look, whichever build of the program wrote it.
  EXPECT_EQ(Setting("Text1"), "2.5");

  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  EXPECT_TRUE(Becomes(read, left, kReact));
}

// The desktop side: tray, exit, options, always on top, start with Windows.

using DesktopTest = E2eTest;

TEST_F(DesktopTest, CloseHidesBehindTheTrayAndExitAsksFirst) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  const HWND form = Main().Handle();
  ASSERT_NO_FATAL_FAILURE(OpenStopwatchPage());
  Main().Child(IDC_COMMAND1).Click();  // the stopwatch runs on behind the icon
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); }, kReact));
  EXPECT_FALSE(app_->EndsWithin(1500ms));
  PostMessageW(form, TKD_MSG_TRAY_CALLBACK, 1, WM_LBUTTONUP);  // a left click on the icon
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form) != FALSE; }, kReact));
  EXPECT_NE(Main().Child(IDC_LABEL2).Text(), L"0:00:00") << "the page came back as it was hidden";
  DWORD_PTR answer = 0;  // logging off is never vetoed
  ASSERT_TRUE(SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
  EXPECT_EQ(answer, TRUE);
  for (const int button : {IDCANCEL, IDOK}) {
    PostMessageW(form, WM_COMMAND, IDM_EXIT, 0);
    const HWND box = WaitForTopLevel(Main().Handle(), L"#32770", L"关闭程序?", kReact);
    ASSERT_TRUE(box) << "no exit confirmation";
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), L"你确定要关闭此程序吗?");
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    EXPECT_EQ(app_->EndsWithin(button == IDOK ? 5000ms : 1500ms), button == IDOK);
  }
}

// Two copies would overwrite each other's totals every second, and chime and warn twice.
TEST_F(DesktopTest, ASecondStartBringsTheHiddenCopyBackAndEndsWithoutTouchingTheRegistry) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  const HWND form = Main().Handle();
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form); }, kReact));
  // A start writes where it lives before anything else it keeps.
  ASSERT_TRUE(RegistryWin32().Write(RegRoot::LocalMachine, kSettingsKey, "Path", "(elsewhere)"));
  const App second(g_exe);
  ASSERT_TRUE(second.Started());
  EXPECT_TRUE(second.EndsWithin(kStartTimeout)) << "the second copy still runs";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form) && !IsIconic(form) && GetForegroundWindow() == form; }, kReact))
      << "the running copy's window did not come back in front";
  EXPECT_EQ(Setting("Path"), "(elsewhere)");
  EXPECT_FALSE(app_->EndsWithin(0ms));
}

TEST_F(DesktopTest, OptionsHidePagesAtOnceAndRefuseAnIntervalOutOfRange) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  PostMessageW(Main().Handle(), WM_COMMAND, IDM_OPTION, 0);
  const HWND options = WaitForTopLevel(Main().Handle(), L"#32770", L"选项...", kReact);
  ASSERT_TRUE(options) << "no options dialog";
  EXPECT_EQ(IsDlgButtonChecked(options, IDC_OPT_CHECK1), BST_CHECKED);
  EXPECT_EQ(WindowText(GetDlgItem(options, IDC_OPT_TEXT1)), L"1");
  PostMessageW(GetDlgItem(options, IDC_OPT_CHECK2), BM_CLICK, 0, 0);
  EXPECT_TRUE(Becomes([] { return Main().Tabs(); }, Seen{L"定时关机", L"整点报时", L"鼠标统计", L"概况"}, kReact));
  SendMessageTimeoutW(GetDlgItem(options, IDC_OPT_TEXT1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"21"), 0, 500, nullptr);
  const HWND refusal = WaitForTopLevel(Main().Handle(), L"#32770", L"TiKoDan", kReact);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(WindowText(GetDlgItem(refusal, 0xFFFF)), L"只能输入1-20之间的数字");
  PressOk(refusal);
  PostMessageW(GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(options); }, kReact));
  EXPECT_EQ(Setting("CheckOption2"), " 1");
  EXPECT_EQ(Setting("ADsj"), " 1");  // stored back when the dialog loaded, not 21
}

TEST_F(DesktopTest, AlwaysOnTopFollowsTheBoxWithinASecondAndAfterARestart) {
  ASSERT_NO_FATAL_FAILURE(StartFresh());
  const auto topmost = [] { return (GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  Main().Child(IDC_CHECK1).Click();
  EXPECT_TRUE(WaitUntil(topmost, 1500ms));
  SetWindowPos(Main().Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // another program
  EXPECT_TRUE(WaitUntil(topmost, 1500ms));
  EXPECT_EQ(Setting("Check1"), " 1");
  ASSERT_NO_FATAL_FAILURE(Restart());
  EXPECT_TRUE(WaitUntil(topmost, 1500ms)) << "not on top after a restart with the box ticked";
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

// The mouse statistics page.

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
  ASSERT_NO_FATAL_FAILURE(OpenPage(L"鼠标统计", {IDC_LABEL22}));
  const Control position = Main().Child(IDC_LABEL22), today = Main().Child(IDC_LABEL3);
  SetCursorPos(100, 100);  // where the path starts; only the path is measured
  ASSERT_TRUE(Becomes([&] { return position.Text(); }, std::wstring(L"( 100, 100)"), kReact));
  const double before = MetresIn(today.Text());
  // After a rest (the sampler then sleeps until the pointer's next move), down a staircase to
  // (400, 400) in steps of 10 px, 10 ms apart, through run_e2e.sh's xdotool: 600 px. The system's
  // record of the moves gives every step; samples without it would cut the corners, and a sampler
  // that slept on would take the whole way as its diagonal, 424 px.
  Sleep(1000);
  std::string moves;
  for (int i = 110; i <= 400; i += 10)  // right, then down
    moves += "mousemove " + std::to_string(i) + " " + std::to_string(i - 10) + " sleep 0.01 mousemove " +
             std::to_string(i) + " " + std::to_string(i) + " sleep 0.01 ";
  const std::filesystem::path artifacts(_wgetenv(L"TKD_E2E_ARTIFACTS"));
  std::filesystem::remove(artifacts / "pointer.done");
  std::ofstream(artifacts / "pointer.request.new") << moves;
  std::filesystem::rename(artifacts / "pointer.request.new", artifacts / "pointer.request");
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(artifacts / "pointer.done"); }, 10s));
  ASSERT_TRUE(Becomes([&] { return position.Text(); }, std::wstring(L"( 400, 400)"), kReact));
  EXPECT_NEAR(MetresIn(today.Text()) - before, 600 * 0.265 / 1000, 0.0011) << WideToUtf8(today.Text());  // 0.159 m
  // The total is stored every second; a restart shows it again, in kilometres with three decimals.
  const auto stored = [] { return Setting("AllMove").value_or(""); };
  const double travelled = MetresIn(today.Text()) * 1000 / 0.265 - 4;  // the label rounds to a millimetre
  ASSERT_TRUE(WaitUntil([&] { return (NumericReading(stored()) - 4219) / 37 >= travelled; }, kReact))
      << "AllMove " << stored() << " holds less than this run's " << travelled << " px";
  const double pixels = (NumericReading(stored()) - 4219) / 37;
  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NO_FATAL_FAILURE(OpenPage(L"鼠标统计", {IDC_LABEL20}));
  const Control total = Main().Child(IDC_LABEL20);
  ASSERT_TRUE(WaitUntil([&] { return !total.Text().empty(); }, kReact));
  EXPECT_NEAR(MetresIn(total.Text()), pixels * 0.265 / 1e6, 0.0011) << WideToUtf8(total.Text());
}

// The tip of our icon in Wine's notification area: one of the tools of explorer's tool tips.
std::wstring TrayTip() {
  for (HWND tip : TopLevel(ProcessOf(FindWindowW(L"Shell_TrayWnd", nullptr)), TOOLTIPS_CLASSW, false)) {
    const Remote remote(tip);
    const auto tools = static_cast<UINT>(Ask(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (UINT i = 0; i < tools; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = remote.Text();
      std::wstring text;
      if (remote.Send(tip, TTM_ENUMTOOLSW, i, info, &text) && text.starts_with(L"TiKoDan")) return text;
    }
  }
  return L"";
}

// Run by run_e2e.sh under a wall clock set to 06:59:56, with the sound folder's file opens
// logged to TKD_E2E_SOUND_LOG: the daily warning before a 07:05 shutdown, the 7 o'clock chime;
// then the way moved to 07:09 while the window is hidden on another page, which warns from the
// tray at once. The program has ended long before either time.
TEST(ShiftedClockTest, WarnsOnThePageChimesAtSevenOClockAndWarnsFromTheTrayWhileHidden) {
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

  ASSERT_TRUE(SelectTab(*main, app, L"TiKoDan"));
  PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main->Handle()); }, kReact));
  SendMessageTimeoutW(GetDlgItem(main->Handle(), IDC_TEXT6), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"9"), 0, 2000, nullptr);
  // Wine shows a balloon two seconds after it was asked for.
  EXPECT_TRUE(Becomes([] { return WindowText(TrayBalloon()); }, std::wstring(L"你的电脑将于 07:09 自动关机，请保存好你的文件"), 8s));
  const std::wstring tip = L"TiKoDan(" + ExeVersion(g_exe).text + L") 07:09 关机";
  EXPECT_TRUE(WaitUntil([&] { return TrayTip() == tip; }, kReact)) << Show(TrayTip());
  PostMessageW(main->Handle(), TKD_MSG_TRAY_CALLBACK, 1, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main->Handle()) && main->SelectedTab() == L"定时关机"; }, kReact))
      << "on " << Show(main->SelectedTab());
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
    // cmd.exe by its full path in the system folder, never one found beside the program.
    if (line.find("CreateProcessInternalW app L\"C:\\\\windows\\\\system32\\\\cmd.exe\" cmdline L\"cmd.exe /c shutdown -s -t 0\"") !=
        std::string::npos)
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
  tkd::e2e::g_exe = tkd::e2e::AppPath();
  return tkd::e2e::RunDriver(argc, argv);
}
