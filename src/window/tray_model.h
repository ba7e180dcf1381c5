// The notification-area icon: a user's close hides the window behind it, a click brings it back.
#pragma once

#include <string>

#include "platform/ports.h"

namespace tkd {

// What the icon reports: its buttons, and a balloon clicked or gone (timed out or closed).
enum class TrayMouse { LeftUp, RightUp, BalloonClick, BalloonGone, Other };
enum class TrayAction { None, ShowWindow, ShowShutdownPage, ShowMenu };
// What a user's close does to the window.
enum class CloseAction { Hide, Minimise };

// An icon that could not be added (at logon the program may start before the notification area
// exists) is tried again every kTrayRetryTicks housekeeping ticks, kTrayRetries times, and whenever
// Explorer announces a new taskbar.
inline constexpr int kTrayRetryTicks = 10;
inline constexpr int kTrayRetries = 6;
// Windows shows a balloon for at most 30 seconds; a click on the icon within them answers it.
inline constexpr int kBalloonTicks = 30;

class TrayModel {
 public:
  TrayModel(TrayIcon& icon, std::string tip) : icon_(icon), baseTip_(tip), tip_(std::move(tip)) {}

  // A user's close (close box, Alt+F4, system menu): the icon is added once, and the window hides
  // behind it. Without the icon the window is only minimised, so that it can still be reached.
  CloseAction Form_QueryUnload();
  // Left button up brings the window back, on the shutdown page while a balloon shows (as does a
  // click on the balloon); right button up asks for the pop-up menu.
  TrayAction IconCallback(TrayMouse mouse);
  // Another start of the program: the window comes back, wherever it was.
  void ShowWindow() { windowVisible_ = true; }
  // Explorer (re)started and has no icon of ours: it comes back if it was wanted.
  void TaskbarCreated();
  // Once a housekeeping tick: the balloon's time runs down, and the next try of an add that
  // failed is made when one is due.
  void Tick();
  // A warning balloon; the icon is added for it if it is not there yet, and stays.
  void ShowBalloon(const std::string& title, const std::string& text);
  void HideBalloon();
  // The tip names the next scheduled shutdown ("22:30"), or none when `at` is empty.
  void ShowNextShutdown(const std::string& at);
  // The program ends by an exit command: the icon goes with it.
  void RemoveIcon();

  bool WindowVisible() const { return windowVisible_; }
  bool IconAdded() const { return iconAdded_; }

 private:
  void TryAdd();
  void WantIcon();

  TrayIcon& icon_;
  const std::string baseTip_;
  std::string tip_;
  int balloonTicks_ = 0;  // while the balloon may still show
  bool windowVisible_ = true;
  bool iconWanted_ = false;  // since the first close
  bool iconAdded_ = false;
  int retriesLeft_ = 0;
  int ticksToRetry_ = 0;
};

}  // namespace tkd
