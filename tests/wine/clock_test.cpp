// ClockWin32: the monotonic count and the local time, with loose bounds only.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "platform/clock_win32.h"

namespace tkd {
namespace {

TEST(ClockWin32, MonotonicMsNeverGoesBack) {
  ClockWin32 clock;
  constexpr int kSamples = 100000;
  std::uint64_t previous = clock.MonotonicMs();
  for (int i = 0; i < kSamples; ++i) {
    const std::uint64_t now = clock.MonotonicMs();
    ASSERT_GE(now, previous) << "sample " << i;
    previous = now;
  }
}

TEST(ClockWin32, MonotonicMsAdvancesInMilliseconds) {
  ClockWin32 clock;
  constexpr DWORD kSleepMs = 50;
  // Generous: the count ticks at the timer resolution, and a loaded machine oversleeps.
  constexpr std::uint64_t kLeast = 30, kMost = 5000;
  const std::uint64_t before = clock.MonotonicMs();
  Sleep(kSleepMs);
  const std::uint64_t elapsed = clock.MonotonicMs() - before;
  EXPECT_GE(elapsed, kLeast);
  EXPECT_LE(elapsed, kMost) << "not milliseconds (100 ns units?)";
}

TEST(ClockWin32, NowIsTheCurrentLocalTime) {
  ClockWin32 clock;
  const LocalTime now = clock.Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_LE(now.year, 2100);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12) << now.month;
  EXPECT_TRUE(now.day >= 1 && now.day <= 31) << now.day;
  EXPECT_TRUE(now.hour >= 0 && now.hour <= 23) << now.hour;
  EXPECT_TRUE(now.minute >= 0 && now.minute <= 59) << now.minute;
  EXPECT_TRUE(now.second >= 0 && now.second <= 59) << now.second;

  // The same moment as the C library's local time, field for field (within a few seconds).
  std::tm fields{};
  fields.tm_year = now.year - 1900;
  fields.tm_mon = now.month - 1;
  fields.tm_mday = now.day;
  fields.tm_hour = now.hour;
  fields.tm_min = now.minute;
  fields.tm_sec = now.second;
  fields.tm_isdst = -1;
  constexpr double kSlackSeconds = 5;
  EXPECT_LE(std::abs(std::difftime(std::mktime(&fields), std::time(nullptr))), kSlackSeconds);
}

}  // namespace
}  // namespace tkd
