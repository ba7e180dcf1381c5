// Form_Load: the start-up sequence that brings the main window from the registry to its running state.
#include "core/number_text.h"
#include "settings/settings_table.h"
#include "window/form1_model.h"

namespace tkd {

bool Form1Model::Form_Load() {
  SettingsStore& store = ports_.store;

  // The settings key and the minimum window size are constants (SettingsKey, Form1minW/H).

  // The reminder page holds nothing and stays hidden; the shutdown page is shown first.
  view_.pageVisible[kPageReminder] = false;
  view_.currentPage = kPageShutdown;

  if (store.ReadNumber("firstuse") == 0) InitialiseFirstRun();

  // Countdown minutes. Assigning the text raises Text1_Change when it differs, which stores it.
  stopwatch_.SetText1(RestoredValue(RestoreRule::PositiveMinutesElse5, store.Read("Text1")));

  RestoreGeometry();
  RestoreUsageTotal();

  // Switches. Assigning a state that differs raises the box's click handler, which stores it.
  stopwatch_.SetCheck2(store.ReadNumber("Check2") == 1);

  if (!CheckVersion()) return false;

  stopwatch_.ClearStatus();
  return true;
}

void Form1Model::InitialiseFirstRun() {
  for (const SettingDef& row : SettingsTable()) {
    if (row.firstRun == FirstRun::NotWritten) continue;
    const std::string text = row.firstRun == FirstRun::Today
                                 ? ports_.locale.ShortDate(ports_.clock.Now())
                                 : row.firstRunText;
    ports_.store.WriteRegValue(RegRoot::LocalMachine, KeyPath(row.key), row.name, text);
  }
}

void Form1Model::RestoreGeometry() {
  SettingsStore& store = ports_.store;
  auto restored = [&](RestoreRule rule, const char* name) {
    return NumericReading(RestoredValue(rule, store.Read(name)));
  };
  view_.geometry.top = restored(RestoreRule::PositiveElse1000, "Top");
  view_.geometry.left = restored(RestoreRule::PositiveElse1000, "Left");
  view_.geometry.width = restored(RestoreRule::AtLeastMinWidthElseMin, "F_Width");
  view_.geometry.height = restored(RestoreRule::AtLeastMinHeightElse4815, "F_Height");
}

void Form1Model::RestoreUsageTotal() {
  // The total survives only when both copies agree; a missing copy reads 0.
  const double copy =
      NumericReading(ports_.store.ReadRegValue(RegRoot::LocalMachine, UsageCopyKey, "js00"));
  const double main = ports_.store.ReadNumber("js00");
  usageTotal_ = main == copy ? main : 0;
}

bool Form1Model::CheckVersion() {
  versionText_ = tkd::VersionText(program_.version);
  if (!VersionNeedsAdjusting(program_.version)) return true;
  ports_.prompt.ShowMessage(kVersionMustBeAdjusted);
  ports_.lifetime.EndProgram();
  return false;
}

}  // namespace tkd
