// The main window's view-model: its two events, start-up and the housekeeping tick, composed
// from the subsystems; no HWNDs.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/program_info.h"
#include "platform/ports.h"
#include "schedule/hourly_chime.h"
#include "schedule/shutdown_notices.h"
#include "schedule/shutdown_scheduler.h"
#include "settings/options_model.h"
#include "settings/settings_store.h"
#include "settings/window_geometry.h"
#include "stats/odometer.h"
#include "stats/overview.h"
#include "stats/usage_total.h"
#include "timing/stopwatch.h"
#include "web/web_services.h"
#include "window/form1_timers.h"
#include "window/modal_windows.h"
#include "window/program_end.h"
#include "window/tray_model.h"

namespace tkd {

// Tab pages of the main window, by index.
enum Page { kPageStopwatch = 0, kPageShutdown, kPageChime, kPageMouse, kPageReminder, kPageOverview };
inline constexpr int kPageCount = 6;
inline constexpr const char* kPageCaptions[kPageCount] = {"TiKoDan", "定时关机", "整点报时",
                                                         "鼠标统计", "提醒",     "概况"};
inline constexpr char kVersionMustBeAdjusted[] = "版本号请调整一下";
inline constexpr char kConfirmExit[] = "你确定要关闭此程序吗?";
inline constexpr char kConfirmExitCaption[] = "关闭程序?";

struct Form1Ports {
  SettingsStore& store;
  Clock& clock;
  Locale& locale;
  SoundPlayers& sound;
  Prompt& prompt;
  Lifetime& lifetime;
  WindowFrame& frame;
  Shutdown& shutdown;
  TrayIcon& tray;
  Cursor& cursor;
  Monitors& monitors;
  WebPorts web;
};

struct Form1View {
  std::string caption = kProductName;
  std::array<bool, kPageCount> pageVisible{true, true, true, true, true, true};
  int currentPage = kPageStopwatch;
  PixelRect placement;  // where it opens, in physical pixels
  bool timer1Enabled = true;
  bool check1 = false;  // "置最前": always on top, applied by every tick
  bool check3 = false;  // "菜单": the menu bar, shown while it is ticked
  bool windowVisible = true;  // false while hidden behind the tray icon
  bool minimised = false;
};

class Form1Model : public PageSwitch {
 public:
  Form1Model(const Form1Ports& ports, ProgramInfo program);

  // Start-up: restores everything from the registry. Returns false when the program has been
  // told to end instead of showing its window.
  bool Form_Load();

  // The housekeeping tick, once a second for the life of the program.
  void Timer1_Timer();

  // Timer3: the after-minutes countdown, and the balloons it is due.
  void Timer3_Timer();

  // Timer4: one sample of the mouse odometer; true when the pointer moved.
  bool Timer4_Timer() {
    const bool whole = ports_.cursor.Path(path_);
    return odometer_.Sample(path_, whole);
  }

  // The timers of the window, run from the shell's one window timer.
  std::uint32_t MsUntilDue(InSight inSight = {}) { return timers_.MsUntilDue(inSight); }
  Woken Wake() { return timers_.Wake(); }
  // The platform saw the pointer move while it was watched for (see Form1Timers).
  void PointerMoved() { timers_.PointerMoved(); }
  void StopwatchInSight() { timers_.StopwatchInSight(); }

  // The page the user chose, and whether the window is minimised: a warning balloon shows only
  // to a user who does not see the shutdown page.
  void Tab_Click(int page) { view_.currentPage = page; }
  void Form_Resize(bool minimised) { view_.minimised = minimised; }

  // The two switches on the window itself, outside the pages.
  void Check1_Click(bool ticked);
  void Check3_Click(bool ticked);

  // Menus and the tray. A user's close hides the window; only the exit commands end the program
  // ("退出(&X)" after a confirmation, "退出" on the tray menu at once), and remove the icon.
  CloseAction Form_QueryUnload();
  TrayAction TrayIcon_Callback(TrayMouse mouse);
  void TaskbarCreated() { tray_.TaskbarCreated(); }
  // The program was started again while it runs: its window comes back instead of a second copy.
  TrayAction AnotherStart() {
    tray_.ShowWindow();
    view_.windowVisible = true;
    return TrayAction::ShowWindow;
  }
  // False, and nothing asked, while another modal window of ours is open.
  bool menuExit_Click();
  void RmenuExit_Click();
  // "选项(&O)...": a new dialog model for each opening, which reloads itself when loaded; none
  // while another modal window is open (the shell brings that one forward instead).
  std::optional<OptionsModel> OpenOptions();
  void OptionsDialog_Closed() { modal_.Closed(); }
  void ShowPage(int page, bool visible) override;

  Stopwatch& stopwatch() { return stopwatch_; }
  HourlyChime& chime() { return chime_; }
  ShutdownScheduler& scheduler() { return scheduler_; }
  const MouseOdometer& odometer() const { return odometer_; }
  const Overview& overview() const { return overview_; }
  const Form1View& View() const { return view_; }
  double js0() const { return js0_; }
  double UsageSeconds() const { return usage_.Seconds(); }
  double AdInterval() const { return adInterval_; }
  const std::string& VersionText() const { return versionText_; }

  // Web services. The rank label's text; "检查更新(&K)" on either menu, which stops the
  // housekeeping tick until the dialog has closed (and opens nothing while another modal window
  // is open); "关于本软件(&A)..." and "技术支持(&S)".
  const std::string& RankText() const { return web_.ranking().Text(); }
  std::unique_ptr<UpdateDialog> menuUpdate_Click();
  void UpdateDialog_Closed();
  bool ModalOpen() const { return modal_.AnyOpen(); }
  std::unique_ptr<AboutBox> nemuAbout_Click() { return web_.NewAboutBox(versionText_, usage_.Seconds()); }
  void menuChaoZhou_Click() { web_.OpenSupportPage(); }
  WebServices& web() { return web_; }
  // Runs when an answer from the site has changed what the window shows.
  void SetChanged(std::function<void()> changed) { changed_ = std::move(changed); }

 private:
  // Start-up steps that belong to no subsystem, and those whose features come later.
  void ShowFirstPages();
  void RestoreAdvertInterval();
  void RestorePageVisibility();
  void RestoreRank() { web_.ranking().Restore(); }
  void RestoreSwitches();
  bool CheckVersion();
  void RecordInstallation();
  void RegisterStartWithWindowsWhenChosen();

  // Tick steps that belong to no subsystem, and those whose features come later.
  void ApplyAlwaysOnTop() { ports_.frame.SetTopmost(view_.check1); }
  void CheckForUpdateOnce() { web_.CheckForUpdateOnce(js0_, [this] { OfferNewVersionWhenFree(); }); }
  void OfferNewVersionWhenFree() {
    if (!modal_.AnyOpen()) web_.OfferNewVersion();
  }
  void RefreshRankingOnce() { web_.RefreshRankingOnce(js0_, changed_); }
  void OpenPromotionWhenDue() { web_.OpenPromotionWhenDue(usage_.Seconds(), adInterval_); }
  void NoticeComingShutdowns(const LocalTime& now);

  Form1Ports ports_;
  ProgramInfo program_;
  ModalWindows modal_;  // every subsystem's message boxes go through it
  ProgramEnd end_;      // and every way out of the program
  Stopwatch stopwatch_;
  HourlyChime chime_;
  ShutdownScheduler scheduler_;
  ShutdownNotices notices_;
  WindowGeometry geometry_;
  UsageTotal usage_;
  MouseOdometer odometer_;
  std::vector<PointerPosition> path_;  // the last sample's way, its storage reused
  Overview overview_;
  TrayModel tray_;
  Form1View view_;
  double adInterval_ = 1;    // hours between advertising pop-ups
  std::string versionText_;  // built by start-up
  double js0_ = 0;           // seconds of this run, one per housekeeping tick
  WebServices web_;
  std::function<void()> changed_;
  Form1Timers timers_{*this, ports_.clock, ports_.cursor};
};

}  // namespace tkd
