// Stopwatch and countdown: start, pause, continue, stop, the one-second tick and the two settings.
#include "timing/stopwatch.h"

#include <cmath>

#include "core/format_duration.h"
#include "core/number_text.h"
#include "core/target_minutes.h"

namespace tkd {
namespace t = stopwatch_text;

namespace {

// One, two or three dots, driven by the whole seconds counted.
std::string Dots(double js1) {
  static const char* const kDots[] = {".", "..", "..."};
  return kDots[static_cast<int>(std::fmod(std::floor(js1), 3.0))];
}

// The tick that brings js1 to `js`, against a target of `target` seconds: the countdown's end (in
// countdown mode), and the start of the warning sound ten seconds before the target.
bool EndsCountdown(double target, double js) { return !(target > js); }
bool StartsWarning(double target, double js) { return target - js == 10; }

}  // namespace

Stopwatch::Stopwatch(SettingsStore& store, SoundPlayers& sound, Prompt& prompt,
                     std::string programFolder)
    : store_(store), sound_(sound), prompt_(prompt), programFolder_(std::move(programFolder)) {}

void Stopwatch::ShowRunning() {
  view_.command1Caption = t::kStop;
  view_.command1Tip = t::kStopTip;
  view_.timer2Enabled = true;
  view_.command2Visible = true;
  view_.command2Caption = t::kPause;
  view_.command2Tip = t::kPauseTip;
}

void Stopwatch::ShowIdle(const char* startTip) {
  view_.command1Caption = t::kStart;
  view_.command1Tip = startTip;
  view_.timer2Enabled = false;
  view_.command2Visible = false;
  js1_ = 0;
  view_.label7.clear();
}

void Stopwatch::Command1_Click() {
  if (view_.command1Caption == t::kStart) {
    ShowRunning();  // the display changes at the first tick, one second from now
  } else {
    ShowIdle(t::kStartAgainTip);
    view_.command2Caption = t::kPause;
    view_.command2Tip = t::kPauseTip;
  }
  sound_.StopFirst();
}

void Stopwatch::Command2_Click() {
  if (!view_.command2Visible) return;  // a hidden button cannot be pressed
  if (view_.command2Caption == t::kPause) {
    view_.timer2Enabled = false;
    view_.command2Caption = t::kContinue;
    view_.command2Tip = t::kContinueTip;
    view_.label7 = t::kPaused;
  } else {
    view_.command2Caption = t::kPause;
    view_.command2Tip = t::kPauseTip;
    view_.timer2Enabled = true;
  }
}

void Stopwatch::Timer2_Timer() {
  js1_ += 1;
  // The target is read afresh every tick, so an edit takes effect at the next one.
  const double target = TargetSeconds(view_.text1);

  if (view_.check2) {
    if (!EndsCountdown(target, js1_)) {
      view_.label2 = FormatDuration(target - js1_);
      view_.label7 = "倒计时进行中" + Dots(js1_);
    } else {
      view_.label2 = t::kTimeUp;
      ShowIdle(t::kStartTip);
    }
  } else {
    view_.label2 = FormatDuration(js1_);
    view_.label7 = "正在计时中" + Dots(js1_);
  }

  if (StartsWarning(target, js1_)) sound_.PlayOnSecond(programFolder_ + t::kWarningSound);
  view_.label2Color = target < js1_ ? kRed : kBlue;
}

bool Stopwatch::NextTickOnlyShows() const {
  const double target = TargetSeconds(view_.text1);
  const double next = js1_ + 1;
  return !(view_.check2 && EndsCountdown(target, next)) && !StartsWarning(target, next);
}

void Stopwatch::Text1_Change(const std::string& text) {
  view_.text1 = text;
  if (TargetMinutes(text) > 0) {
    store_.Write(setting::Text1, text);
    return;
  }
  prompt_.ShowMessage(t::kMustBePositive);
  SetText1("5");
}

void Stopwatch::Check2_Click(bool ticked) {
  view_.check2 = ticked;
  store_.WriteNumber(setting::Check2, ticked ? 1 : 0);
}

void Stopwatch::SetText1(const std::string& text) {
  if (text != view_.text1) Text1_Change(text);
}

void Stopwatch::SetCheck2(bool ticked) {
  if (ticked != view_.check2) Check2_Click(ticked);
}

}  // namespace tkd
