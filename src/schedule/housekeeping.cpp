// Timer1_Timer: the once-a-second housekeeping tick of the main window, its steps in their fixed order.
#include "core/number_text.h"
#include "window/form1_model.h"

namespace tkd {

void Form1Model::Timer1_Timer() {
  CountSecond();
  SaveWindowPosition();
  StoreUsageTotal();
  SaveWindowSize();
  RefreshTitle();
  ApplyAlwaysOnTop();
  CheckForUpdateOnce();
  CheckShutdownSchedule();
  RefreshRankingOnce();
  OpenPromotionWhenDue();
  if (CloseRequested()) {
    ports_.lifetime.EndProgram();
    return;
  }
  SoundHourlyChime();
  UpdateOdometer();
  UpdateUsageAndPoints();
}

void Form1Model::CountSecond() {
  usageTotal_ += 1;
  js0_ += 1;
}

// Position and size are kept only for the normal window state; the state is asked afresh for
// each, as it may change between them.
void Form1Model::SaveWindowPosition() {
  if (!ports_.frame.IsNormal()) return;
  const TwipsRect bounds = ports_.frame.Bounds();
  ports_.store.Write("Left", NumberText(bounds.left));
  ports_.store.Write("Top", NumberText(bounds.top));
}

void Form1Model::StoreUsageTotal() {
  const std::string text = BlankNumberText(usageTotal_);
  ports_.store.Write("js00", text);
  ports_.store.WriteRegValue(RegRoot::LocalMachine, UsageCopyKey, "js00", text);
}

void Form1Model::SaveWindowSize() {
  if (ports_.frame.IsNormal()) ports_.store.Write("F_Width", NumberText(ports_.frame.Bounds().width));
  if (ports_.frame.IsNormal()) ports_.store.Write("F_Height", NumberText(ports_.frame.Bounds().height));
}

void Form1Model::RefreshTitle() {
  view_.caption = kProductName + versionText_ + " " + ports_.locale.TimeOfDay(ports_.clock.Now());
}

// Steps whose features arrive later keep their places in the order.
void Form1Model::ApplyAlwaysOnTop() {}       // the always-on-top switch
void Form1Model::CheckForUpdateOnce() {}     // the update check in the 360th tick
void Form1Model::CheckShutdownSchedule() {}  // today-at and daily shutdown, with their warnings
void Form1Model::RefreshRankingOnce() {}     // the rank in the 120th tick
void Form1Model::OpenPromotionWhenDue() {}   // the promotion page at its interval of use
void Form1Model::SoundHourlyChime() {}       // the hourly chime
void Form1Model::UpdateOdometer() {}         // the mouse odometer's store and display
void Form1Model::UpdateUsageAndPoints() {}   // points and usage displays

// Another process asks every running copy to end by setting "isClose" to 1.
bool Form1Model::CloseRequested() { return ports_.store.ReadNumber("isClose") == 1; }

}  // namespace tkd
