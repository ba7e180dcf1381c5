// The clock, the running program's path, the monitors, the pointer's way and EndProgram.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "platform/clock_win32.h"
#include "platform/cursor_win32.h"
#include "platform/lifetime_win32.h"
#include "platform/monitors_win32.h"
#include "platform/program_info_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

// The tests run with TZ=Asia/Shanghai, so that local time and UTC are eight hours apart.
TEST(ClockWin32, CountsMillisecondsAndTellsTheLocalTime) {
  ClockWin32 clock;
  const std::uint64_t before = clock.MonotonicMs();
  Sleep(50);
  const std::uint64_t elapsed = clock.MonotonicMs() - before;
  EXPECT_GE(elapsed, 30u);  // the count ticks at the timer's resolution
  EXPECT_LE(elapsed, 5000u) << "not milliseconds";

  const LocalTime now = clock.Now();
  SYSTEMTIME utc{}, expected{};
  GetSystemTime(&utc);
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &expected));
  const SYSTEMTIME got{WORD(now.year), WORD(now.month), 0, WORD(now.day), WORD(now.hour), WORD(now.minute), WORD(now.second), 0};
  ULARGE_INTEGER gotUnits{}, expectedUnits{};
  ASSERT_TRUE(SystemTimeToFileTime(&got, reinterpret_cast<FILETIME*>(&gotUnits)));
  ASSERT_TRUE(SystemTimeToFileTime(&expected, reinterpret_cast<FILETIME*>(&expectedUnits)));
  EXPECT_LE(std::llabs(static_cast<long long>(expectedUnits.QuadPart - gotUnits.QuadPart)),
            5 * 10000000LL);  // five seconds, in 100 ns units
}

TEST(RunningModulePath, IsWholeWhateverTheFirstBufferSize) {
  const std::wstring path = RunningModulePath();
  ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << WideToUtf8(path);
  for (std::size_t first : {std::size_t{0}, std::size_t{1}, path.size() - 1, path.size()})
    EXPECT_EQ(RunningModulePath(first), path) << "first buffer " << first;
}

TEST(MonitorsWin32, ListsEveryMonitorOfTheScreenWithTheDpiItIsDrawnAt) {
  MonitorsWin32 monitors;
  const std::vector<Monitor> attached = monitors.Attached();
  ASSERT_FALSE(attached.empty());
  RECT all{0, 0, 0, 0};
  bool primary = false;
  for (const Monitor& m : attached) {
    const RECT r{m.bounds.left, m.bounds.top, m.bounds.left + m.bounds.width, m.bounds.top + m.bounds.height};
    UnionRect(&all, &all, &r);
    primary = primary || (r.left == 0 && r.top == 0);
    EXPECT_GE(m.dpi, 96);
  }
  EXPECT_TRUE(primary) << "no monitor at 0, 0";
  EXPECT_EQ((std::vector<int>{all.left, all.top, all.right - all.left, all.bottom - all.top}),
            (std::vector{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)}));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(attached.front().dpi, GetDeviceCaps(screen, LOGPIXELSX));  // one scale for all under Wine
  ReleaseDC(nullptr, screen);
}

// Moves sent as a mouse would send them, recorded by the system.
TEST(CursorWin32, GivesThePointsPassedSinceTheLastCallOldestFirstAndAtMostWhatTheSystemKeeps) {
  int x = 100;
  const auto moves = [&x](int count) {
    for (int i = 0; i < count; ++i) {
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi = {++x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1, 200 * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1, 0,
               MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
      SendInput(1, &in, sizeof in);
    }
  };
  CursorWin32 cursor;
  auto taken = [&cursor, path = std::vector<PointerPosition>()]() mutable {  // x, or -1 off the line or not whole
    const bool whole = cursor.Path(path);
    std::vector<int> xs;
    for (const PointerPosition& p : path) xs.push_back(whole && p.y == 200 ? p.x : -1);
    return xs;
  };
  moves(3);
  EXPECT_EQ(taken(), std::vector<int>{103}) << "the first call: where it is";
  moves(3);
  EXPECT_EQ(taken(), (std::vector<int>{104, 105, 106}));
  EXPECT_EQ(taken(), std::vector<int>{106}) << "standing still";
  moves(70);
  std::vector<int> kept(64);
  std::iota(kept.begin(), kept.end(), 113);  // the last 64 of 107 ... 176
  EXPECT_EQ(taken(), kept);
}

TEST(LifetimeWin32DeathTest, EndProgramEndsTheProcessAtOnceWithCodeZero) {
  // Code 3 only if EndProgram came back.
  EXPECT_EXIT({ LifetimeWin32().EndProgram(); std::_Exit(3); }, ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tkd
