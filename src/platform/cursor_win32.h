// The cursor port: GetCursorPos, and raw input for the first move after a rest.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace tkd {

class CursorWin32 : public Cursor {
 public:
  // The window that gets WM_INPUT while a move is watched for; set once the window exists.
  void SetWindow(HWND window) { window_ = window; }
  // The last position read when the system cannot say (a secure desktop in front).
  PointerPosition Position() override;
  // Raw mouse input, also while the window is hidden or in the background (RIDEV_INPUTSINK):
  // no hook, and nothing at all while the pointer rests.
  bool WatchForMove(bool watch) override;

 private:
  HWND window_ = nullptr;
  PointerPosition last_;
};

}  // namespace tkd
