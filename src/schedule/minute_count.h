// Minutes counted from a fixed day: two moments on either side of midnight or of a month's end
// are a plain difference apart.
#pragma once

#include "platform/ports.h"

namespace tkd {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
constexpr long long DaysFromCivil(int year, int month, int day) {
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

constexpr long long MinuteCount(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute;
}

}  // namespace tkd
