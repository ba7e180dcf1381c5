// CursorWin32: the pointer's screen position in physical pixels.
#include "platform/cursor_win32.h"

#include <windows.h>

namespace tkd {

PointerPosition CursorWin32::Position() {
  POINT at{};
  if (GetCursorPos(&at)) last_ = {at.x, at.y};
  return last_;
}

}  // namespace tkd
