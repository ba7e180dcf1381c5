// The cursor port: GetCursorPos with the system's history of mouse moves, and raw input for the
// first move after a rest.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/ports.h"

namespace tkd {

class CursorWin32 : public Cursor {
 public:
  // The window that gets WM_INPUT while a move is watched for; set once the window exists.
  void SetWindow(HWND window) { window_ = window; }
  // The moves the system recorded since the last call (GetMouseMovePointsEx keeps the last 64),
  // ending where the pointer is; the last position read when the system cannot say (a secure
  // desktop in front).
  bool Path(std::vector<PointerPosition>& points) override;
  // Raw mouse input, also while the window is hidden or in the background (RIDEV_INPUTSINK):
  // no hook, and nothing at all while the pointer rests.
  bool WatchForMove(bool watch) override;

 private:
  bool PositionOnly(std::vector<PointerPosition>& points);

  HWND window_ = nullptr;
  PointerPosition last_;
  std::optional<MOUSEMOVEPOINT> newest_;  // the newest recorded move given out, once there is one
};

}  // namespace tkd
