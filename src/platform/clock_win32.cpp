// ClockWin32: QueryUnbiasedInterruptTime for elapsed time, GetLocalTime for the date and time.
#include "platform/clock_win32.h"

#include <windows.h>

namespace tkd {
namespace {

// The interrupt time counts in 100 ns units.
constexpr ULONGLONG kInterruptUnitsPerMs = 10000;

}  // namespace

std::uint64_t ClockWin32::MonotonicMs() {
  // The unbiased interrupt time stands still while the machine sleeps or hibernates, so a
  // stopwatch does not count a night in standby. It cannot fail on a supported Windows.
  ULONGLONG units = 0;
  QueryUnbiasedInterruptTime(&units);
  return units / kInterruptUnitsPerMs;
}

LocalTime ClockWin32::Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace tkd
