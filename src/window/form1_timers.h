// The main window's interval timers, kept by the model: when the next one falls due, and running
// whatever has. The shell arms one window timer for that moment and calls back.
#pragma once

#include <cstdint>

#include "platform/ports.h"
#include "timing/steady_timer.h"

namespace tkd {

class Form1Model;

// What a wake-up ran, and so what the shell renders.
struct Woken {
  bool ticked = false;     // a one-second timer ran: any part of any window may have changed
  bool mousePage = false;  // the pointer moved, and the mouse page has not been shown for a while
};

// Which pages that show a timer's work can be seen, as the shell tells it when it arms its timer.
struct InSight {
  bool stopwatch = true;
  bool mouse = true;
};

// A moving pointer is sampled far more often than anyone can read its labels: twenty times a
// second is plenty.
inline constexpr std::uint64_t kMousePageRenderMs = 50;

// Timer1 (housekeeping, paused while the update dialog is open), Timer2 (the stopwatch), Timer3
// (the after-minutes countdown), the advertising panel's timer, each on the monotonic clock and
// enabled as the views say; and Timer4, the pointer's samples at the odometer's own pace.
//
// A pointer at rest is not polled where the platform can report its next move: the sampler
// sleeps, and wakes at that move with a sample at once. Meanwhile, while the mouse page can be
// seen, one sample rides along with each housekeeping tick, in the same wake-up, for moves the
// platform does not report (a program's, a pen's), so that the page follows them; out of sight
// they wait for the next reported move, whose sample takes the way since the last.
class Form1Timers {
 public:
  Form1Timers(Form1Model& model, Clock& clock, Cursor& cursor) : model_(model), clock_(clock), cursor_(cursor) {}

  // Milliseconds until something falls due (0 when something is due now). Takes up what the last
  // event turned on or off, so the shell asks after every event. While nobody can see the
  // stopwatch, a tick of its that only shows waits for the housekeeping tick's wake-up, less than
  // a second away, and runs there: one wake-up a second instead of two, and no second lost.
  std::uint32_t MsUntilDue(InSight inSight);
  // Runs the pointer's sample when one is due, then every tick that has fallen due, Timer1 first.
  Woken Wake();
  // The platform saw the pointer move while the sampler slept.
  void PointerMoved();
  // The stopwatch's page came back into sight: a tick of its that waited runs now, so that the
  // page shows it the moment it is seen.
  void StopwatchInSight() { RunStopwatch(); }

 private:
  void Sync(std::uint64_t now);
  void Sample(std::uint64_t now, Woken& woken);
  void StopWatching();
  template <class Tick, class StillOn>
  bool RunDue(SteadyTimer& timer, Tick tick, StillOn stillOn);  // true when a tick ran
  bool RunStopwatch();

  Form1Model& model_;
  Clock& clock_;
  Cursor& cursor_;
  SteadyTimer timer1_, timer2_, timer3_, panel_;
  std::uint64_t nextSampleMs_ = 0;
  std::uint64_t nextMousePageMs_ = 0;  // the mouse page is not shown again before this
  bool sampling_ = false;
  bool asleep_ = false;   // the platform watches for the pointer's next move
  bool canWatch_ = true;  // until the platform once said it cannot
  InSight inSight_;
};

}  // namespace tkd
