// Form1Timers: the due ticks of each timer, and the odometer's samples.
#include "window/form1_timers.h"

#include <algorithm>

#include "window/form1_model.h"

namespace tkd {

void Form1Timers::Sync(std::uint64_t now) {
  timer1_.SetEnabled(model_.View().timer1Enabled, now);
  timer2_.SetEnabled(model_.stopwatch().View().timer2Enabled, now);
  timer3_.SetEnabled(model_.scheduler().View().timer3Enabled, now);
  panel_.SetEnabled(model_.web().advertising().Panel() != nullptr, now);
  if (!sampling_) {  // from the start to the end, shown or hidden
    sampling_ = true;
    nextSampleMs_ = now + model_.odometer().NextSampleMs();
  }
}

std::uint32_t Form1Timers::MsUntilDue(InSight inSight) {
  inSight_ = inSight;
  const std::uint64_t now = clock_.MonotonicMs();
  Sync(now);
  std::uint32_t ms = asleep_ ? UINT32_MAX : nextSampleMs_ <= now ? 0 : static_cast<std::uint32_t>(nextSampleMs_ - now);
  const bool stopwatchWaits = !inSight.stopwatch && timer1_.Enabled() && model_.stopwatch().NextTickOnlyShows();
  for (const SteadyTimer* timer : {&timer1_, &timer2_, &timer3_, &panel_})
    if (timer->Enabled() && !(timer == &timer2_ && stopwatchWaits)) ms = std::min(ms, timer->MsUntilNextTick(now));
  return ms;
}

void Form1Timers::Sample(std::uint64_t now, Woken& woken) {
  const bool moved = model_.Timer4_Timer();
  if (moved && asleep_) StopWatching();  // a move the platform did not report
  // At rest: the platform watches for the next move where it can; else the pointer is polled.
  if (!asleep_ && canWatch_ && model_.odometer().Resting()) canWatch_ = asleep_ = cursor_.WatchForMove(true);
  nextSampleMs_ = now + model_.odometer().NextSampleMs();
  if (moved && now >= nextMousePageMs_) {
    nextMousePageMs_ = now + kMousePageRenderMs;
    woken.mousePage = true;
  }
}

// Polled again from here; a report that still comes finds the sampler awake and changes nothing.
void Form1Timers::StopWatching() {
  asleep_ = false;
  cursor_.WatchForMove(false);
}

void Form1Timers::PointerMoved() {
  if (!asleep_) return;
  StopWatching();
  nextSampleMs_ = clock_.MonotonicMs();  // due now
}

// Every tick that has fallen due runs now, so a held-up thread loses no seconds. A handler may
// turn its own timer off (a countdown that ends), which ends its catch-up.
template <class Tick, class StillOn>
bool Form1Timers::RunDue(SteadyTimer& timer, Tick tick, StillOn stillOn) {
  Sync(clock_.MonotonicMs());
  bool ran = false;
  for (; timer.Enabled() && timer.TakeDueTick(clock_.MonotonicMs()); ran = true) {
    tick();
    if (!stillOn()) timer.SetEnabled(false, clock_.MonotonicMs());
  }
  return ran;
}

bool Form1Timers::RunStopwatch() {
  return RunDue(timer2_, [&] { model_.stopwatch().Timer2_Timer(); }, [&] { return model_.stopwatch().View().timer2Enabled; });
}

Woken Form1Timers::Wake() {
  Woken woken;
  // The pointer first, so that a tick due now stores the distance up to this moment.
  const std::uint64_t now = clock_.MonotonicMs();
  if (asleep_ ? inSight_.mouse && timer1_.Enabled() && timer1_.MsUntilNextTick(now) == 0 : now >= nextSampleMs_)
    Sample(now, woken);
  woken.ticked |= RunDue(timer1_, [&] { model_.Timer1_Timer(); }, [&] { return model_.View().timer1Enabled; });
  woken.ticked |= RunStopwatch();
  woken.ticked |= RunDue(timer3_, [&] { model_.Timer3_Timer(); }, [&] { return model_.scheduler().View().timer3Enabled; });
  woken.ticked |= RunDue(panel_, [&] { model_.web().advertising().PanelTimer(); },
                         [&] { return model_.web().advertising().Panel() != nullptr; });
  return woken;
}

}  // namespace tkd
