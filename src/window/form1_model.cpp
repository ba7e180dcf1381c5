// Form_Load and Timer1_Timer: each a list of the steps in the order the program runs them.
#include "window/form1_model.h"

#include "core/number_text.h"
#include "schedule/close_request.h"
#include "settings/first_run.h"

namespace tkd {

Form1Model::Form1Model(const Form1Ports& ports, ProgramInfo program)
    : ports_(ports),
      program_(std::move(program)),
      modal_(ports.prompt),
      end_(ports.web.http, ports.lifetime),
      stopwatch_(ports.store, ports.sound, modal_, program_.folder),
      chime_(ports.store, ports.sound, program_.folder),
      scheduler_(ports.store, modal_, ports.shutdown, end_, ports.clock),
      geometry_(ports.store, ports.frame, ports.monitors),
      usage_(ports.store),
      odometer_(ports.store, ports.locale),
      overview_(ports.store),
      tray_(ports.tray, kProductName + ("(" + tkd::VersionText(program_.version) + ")")),
      web_(ports.store, modal_, ports.web, program_.version) {
  modal_.WhenLastClosed([this] { OfferNewVersionWhenFree(); });
}

// The settings key and the minimum window size are constants (SettingsKey, Form1minW/H).
// Assigning a control's state raises its handler when the state changes, which stores it.
bool Form1Model::Form_Load() {
  ShowFirstPages();
  const std::string today = ports_.locale.ShortDate(ports_.clock.Now());
  InitialiseFirstRun(ports_.store, today);
  chime_.Restore();
  RestoreAdvertInterval();
  RestorePageVisibility();
  RestoreRank();
  stopwatch_.SetText1(Restored(setting::Text1, ports_.store.Read(setting::Text1)));
  scheduler_.RestoreDailyTimes();
  view_.placement = geometry_.Restore();
  usage_.Restore();
  RestoreSwitches();
  odometer_.Restore();
  overview_.RestoreFirstUseDate(today);
  if (!CheckVersion()) return false;
  RecordInstallation();
  ForgetCloseRequest(ports_.store);
  stopwatch_.ClearStatus();
  scheduler_.ClearStatus();
  RegisterStartWithWindowsWhenChosen();
  return true;
}

// One reading of the clock per tick: the title, the schedule, the chime and the record agree.
void Form1Model::Timer1_Timer() {
  const LocalTime now = ports_.clock.Now();
  usage_.Count();
  js0_ += 1;
  geometry_.SavePosition();
  usage_.Store();
  geometry_.SaveSize();
  view_.caption = kProductName + versionText_ + " " + ports_.locale.TimeOfDay(now);
  ApplyAlwaysOnTop();
  CheckForUpdateOnce();
  if (scheduler_.ClockTick(now, js0_)) return;  // the computer is shutting down
  RefreshRankingOnce();
  OpenPromotionWhenDue();
  if (CloseRequested(ports_.store)) {
    end_.EndProgram();
    return;
  }
  chime_.Tick(now);
  odometer_.Store(now);
  overview_.Refresh(odometer_.AllMove(), usage_.Seconds(), js0_, odometer_.View().label20);
  tray_.Tick();
  NoticeComingShutdowns(now);
}

void Form1Model::Timer3_Timer() {
  scheduler_.Timer3_Timer();
  if (scheduler_.View().timer3Enabled) NoticeComingShutdowns(ports_.clock.Now());  // else it shut down
}

// The balloon and the tray tip: the same shutdowns as the page's labels, for a user who is
// looking elsewhere.
void Form1Model::NoticeComingShutdowns(const LocalTime& now) {
  const std::vector<ComingShutdown> coming = scheduler_.Coming(now);
  const bool looking = view_.windowVisible && !view_.minimised && view_.currentPage == kPageShutdown;
  const NoticeDue due = notices_.Tick(coming, looking);
  if (due.withdraw) tray_.HideBalloon();
  if (due.show) tray_.ShowBalloon(kProductName, *due.show);
  const ComingShutdown* next = nullptr;
  for (const ComingShutdown& c : coming)
    if (!next || c.secondsLeft < next->secondsLeft) next = &c;
  tray_.ShowNextShutdown(next ? next->at : "");
}

// The reminder page holds nothing and stays hidden; the shutdown page is shown first.
void Form1Model::ShowFirstPages() {
  view_.pageVisible[kPageReminder] = false;
  view_.currentPage = kPageShutdown;
}

void Form1Model::RestoreAdvertInterval() {
  adInterval_ = NumericReading(Restored(setting::ADsj, ports_.store.Read(setting::ADsj)));
}

void Form1Model::RestorePageVisibility() {
  for (int page = 0; page < kHideablePages; ++page) {
    const Setting& row = HidePageSetting(page);
    ShowPage(page, Restored(row, ports_.store.Read(row)) != "1");
  }
}

void Form1Model::ShowPage(int page, bool visible) {
  if (page >= 0 && page < kPageCount) view_.pageVisible[page] = visible;
}

// Like a user's click, a restored state that differs raises the box's handler.
void Form1Model::RestoreSwitches() {
  auto ticked = [&](const Setting& row) { return Restored(row, ports_.store.Read(row)) == "1"; };
  if (const bool check1 = ticked(setting::Check1); check1 != view_.check1) Check1_Click(check1);
  stopwatch_.SetCheck2(ticked(setting::Check2));
  if (const bool check3 = ticked(setting::Check3); check3 != view_.check3) Check3_Click(check3);
  scheduler_.RestoreDailySwitches();
}

void Form1Model::RecordInstallation() {
  ports_.store.Write(setting::Path, program_.folder);
  ports_.store.Write(setting::tkdExeName, program_.exeName);
}

// Rewritten at every such start, so the entry follows the program when it is moved.
void Form1Model::RegisterStartWithWindowsWhenChosen() {
  if (ports_.store.ReadNumber(setting::CheckOption1) == 1) StartWithWindows(ports_.store).Register(program_);
}

void Form1Model::Check1_Click(bool ticked) {
  view_.check1 = ticked;
  ports_.store.WriteNumber(setting::Check1, ticked ? 1 : 0);
}

void Form1Model::Check3_Click(bool ticked) {
  view_.check3 = ticked;
  ports_.store.WriteNumber(setting::Check3, ticked ? 1 : 0);
}

CloseAction Form1Model::Form_QueryUnload() {
  const CloseAction action = tray_.Form_QueryUnload();
  view_.windowVisible = tray_.WindowVisible();
  return action;
}

TrayAction Form1Model::TrayIcon_Callback(TrayMouse mouse) {
  TrayAction action = tray_.IconCallback(mouse);
  view_.windowVisible = tray_.WindowVisible();
  if (action == TrayAction::ShowShutdownPage) {
    if (view_.pageVisible[kPageShutdown]) view_.currentPage = kPageShutdown;
    action = TrayAction::ShowWindow;
  }
  return action;
}

bool Form1Model::menuExit_Click() {
  if (modal_.AnyOpen()) return false;
  if (modal_.Confirm(kConfirmExit, kConfirmExitCaption)) RmenuExit_Click();
  return true;
}

void Form1Model::RmenuExit_Click() {
  tray_.RemoveIcon();
  end_.EndProgram();
}

std::unique_ptr<UpdateDialog> Form1Model::menuUpdate_Click() {
  if (modal_.AnyOpen()) return nullptr;
  modal_.Opened();
  view_.timer1Enabled = false;
  return web_.NewUpdateDialog();
}

void Form1Model::UpdateDialog_Closed() {
  view_.timer1Enabled = true;
  modal_.Closed();
}

std::optional<OptionsModel> Form1Model::OpenOptions() {
  if (modal_.AnyOpen()) return std::nullopt;
  modal_.Opened();
  return std::optional<OptionsModel>(std::in_place, ports_.store, modal_, *this, program_);
}

bool Form1Model::CheckVersion() {
  versionText_ = tkd::VersionText(program_.version);
  if (!VersionNeedsAdjusting(program_.version)) return true;
  ports_.prompt.ShowMessage(kVersionMustBeAdjusted);
  end_.EndProgram();
  return false;
}


}  // namespace tkd
