// The notification-area icon: a user's close hides the window behind it, a click brings it back.
#pragma once

#include <string>

#include "platform/ports.h"

namespace tkd {

enum class TrayMouse { LeftUp, RightUp, Other };
enum class TrayAction { None, ShowWindow, ShowMenu };

class TrayModel {
 public:
  TrayModel(TrayIcon& icon, std::string tip) : icon_(icon), tip_(std::move(tip)) {}

  // A user's close (close box, Alt+F4, system menu): the icon is added once, the window hides.
  void Form_QueryUnload();
  // Left button up brings the window back; right button up asks for the pop-up menu.
  TrayAction IconCallback(TrayMouse mouse);
  // Explorer restarted and lost every icon: ours comes back if it was there.
  void TaskbarCreated();
  // The program ends by an exit command: the icon goes with it.
  void RemoveIcon();

  bool WindowVisible() const { return windowVisible_; }
  bool IconAdded() const { return iconAdded_; }

 private:
  TrayIcon& icon_;
  std::string tip_;
  bool windowVisible_ = true;
  bool iconAdded_ = false;
};

}  // namespace tkd
