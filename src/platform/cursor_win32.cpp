// CursorWin32: the pointer's screen position in physical pixels, and the watch for its next move.
#include "platform/cursor_win32.h"

namespace tkd {

PointerPosition CursorWin32::Position() {
  POINT at{};
  if (GetCursorPos(&at)) last_ = {at.x, at.y};
  return last_;
}

bool CursorWin32::WatchForMove(bool watch) {
  if (!window_) return !watch;
  // The generic desktop page's mouse; a removal names no window.
  RAWINPUTDEVICE mouse{0x01, 0x02, static_cast<DWORD>(watch ? RIDEV_INPUTSINK : RIDEV_REMOVE), watch ? window_ : nullptr};
  return RegisterRawInputDevices(&mouse, 1, sizeof mouse) != FALSE;
}

}  // namespace tkd
