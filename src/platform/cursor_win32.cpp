// CursorWin32: the pointer's way in physical pixels from the system's record of mouse moves, and the watch for its next move.
#include "platform/cursor_win32.h"

namespace tkd {

namespace {

constexpr int kHistoryLength = 64;  // what the system keeps

// The history holds 16-bit coordinates: a point left of or above the primary monitor comes back
// as a large positive number.
int Signed16(int coordinate) { return coordinate > 0x7FFF ? coordinate - 0x10000 : coordinate; }

bool SameMove(const MOUSEMOVEPOINT& a, const MOUSEMOVEPOINT& b) {
  return a.x == b.x && a.y == b.y && a.time == b.time;
}

// Wine pads a short history with empty entries where Windows returns fewer.
bool Empty(const MOUSEMOVEPOINT& p) { return p.x == 0 && p.y == 0 && p.time == 0; }

}  // namespace

// Without the record, where the pointer is; the next record taken starts afresh from there, so
// that no stretch is counted twice.
bool CursorWin32::PositionOnly(std::vector<PointerPosition>& points) {
  newest_.reset();
  points.push_back(last_);
  return false;
}

bool CursorWin32::Path(std::vector<PointerPosition>& points) {
  points.clear();
  POINT at{};
  if (!GetCursorPos(&at)) return PositionOnly(points);
  last_ = {at.x, at.y};
  MOUSEMOVEPOINT now{at.x & 0xFFFF, at.y & 0xFFFF, 0, 0};  // found by its 16-bit coordinates
  MOUSEMOVEPOINT history[kHistoryLength];
  const int count = GetMouseMovePointsEx(sizeof now, &now, history, kHistoryLength, GMMP_USE_DISPLAY_POINTS);
  if (count <= 0) return PositionOnly(points);
  // Newest first: the moves after the newest one given out last time. When that one has been
  // pushed out of the record, all of it; the line from the last sample covers what is gone.
  int newer = 0;
  if (newest_)
    while (newer < count && !SameMove(history[newer], *newest_) && !Empty(history[newer])) ++newer;
  for (int i = newer - 1; i > 0; --i) points.push_back({Signed16(history[i].x), Signed16(history[i].y)});
  points.push_back(last_);  // the first entry: where the pointer is, as GetCursorPos reads it
  newest_ = history[0];
  return true;
}

bool CursorWin32::WatchForMove(bool watch) {
  if (!window_) return !watch;
  // The generic desktop page's mouse; a removal names no window.
  RAWINPUTDEVICE mouse{0x01, 0x02, static_cast<DWORD>(watch ? RIDEV_INPUTSINK : RIDEV_REMOVE), watch ? window_ : nullptr};
  return RegisterRawInputDevices(&mouse, 1, sizeof mouse) != FALSE;
}

}  // namespace tkd
