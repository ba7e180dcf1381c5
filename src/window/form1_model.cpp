// Form_Load and Timer1_Timer: each a list of the steps in the order the program runs them.
#include "window/form1_model.h"

#include "schedule/close_request.h"
#include "settings/first_run.h"

namespace tkd {

Form1Model::Form1Model(const Form1Ports& ports, ProgramInfo program)
    : ports_(ports),
      program_(std::move(program)),
      stopwatch_(ports.store, ports.sound, ports.prompt, program_.folder),
      chime_(ports.store, ports.sound, program_.folder),
      scheduler_(ports.store, ports.prompt, ports.shutdown, ports.lifetime),
      geometry_(ports.store, ports.frame),
      usage_(ports.store) {}

// The settings key and the minimum window size are constants (SettingsKey, Form1minW/H).
// Assigning a control's state raises its handler when the state changes, which stores it.
bool Form1Model::Form_Load() {
  ShowFirstPages();
  InitialiseFirstRun(ports_.store, ports_.locale.ShortDate(ports_.clock.Now()));
  chime_.Restore();
  RestoreAdvertInterval();
  RestorePageVisibility();
  RestoreRank();
  stopwatch_.SetText1(Restored(setting::Text1, ports_.store.Read(setting::Text1)));
  scheduler_.RestoreDailyTimes();
  view_.geometry = geometry_.Restore();
  usage_.Restore();
  RestoreSwitches();
  RestoreOdometer();
  RestoreFirstUseDate();
  if (!CheckVersion()) return false;
  RecordInstallation();
  stopwatch_.ClearStatus();
  scheduler_.ClearStatus();
  RegisterStartWithWindows();
  return true;
}

void Form1Model::Timer1_Timer() {
  usage_.Count();
  js0_ += 1;
  geometry_.SavePosition();
  usage_.Store();
  geometry_.SaveSize();
  RefreshTitle();
  ApplyAlwaysOnTop();
  CheckForUpdateOnce();
  if (scheduler_.ClockTick(ports_.clock.Now(), js0_)) return;  // the computer is shutting down
  RefreshRankingOnce();
  OpenPromotionWhenDue();
  if (CloseRequested(ports_.store)) {
    ports_.lifetime.EndProgram();
    return;
  }
  chime_.Tick(ports_.clock.Now());
  UpdateOdometer();
  UpdateUsageAndPoints();
}

// The reminder page holds nothing and stays hidden; the shutdown page is shown first.
void Form1Model::ShowFirstPages() {
  view_.pageVisible[kPageReminder] = false;
  view_.currentPage = kPageShutdown;
}

void Form1Model::RestoreSwitches() {
  stopwatch_.SetCheck2(Restored(setting::Check2, ports_.store.Read(setting::Check2)) == "1");
  scheduler_.RestoreDailySwitches();
}

bool Form1Model::CheckVersion() {
  versionText_ = tkd::VersionText(program_.version);
  if (!VersionNeedsAdjusting(program_.version)) return true;
  ports_.prompt.ShowMessage(kVersionMustBeAdjusted);
  ports_.lifetime.EndProgram();
  return false;
}

void Form1Model::RefreshTitle() {
  view_.caption = kProductName + versionText_ + " " + ports_.locale.TimeOfDay(ports_.clock.Now());
}

}  // namespace tkd
