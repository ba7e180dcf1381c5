// FormatDuration: seconds to h:mm:ss, hours unpadded and unlimited, seconds unrounded.
#include <gtest/gtest.h>

#include <cmath>

#include "core/format_duration.h"

namespace tkd {
namespace {

struct Case {
  double seconds;
  const char* text;
};

TEST(FormatDuration, RendersHoursMinutesSeconds) {
  const Case cases[] = {
      {0, "0:00:00"},        {59, "0:00:59"},       {61, "0:01:01"},      {600, "0:10:00"},
      {3600, "1:00:00"},     {3661, "1:01:01"},     {90000, "25:00:00"},  {360000, "100:00:00"},
      {59.5, "0:00:59.5"},   {9.5, "0:00:09.5"},    {-5, "-1:59:55"},     {299, "0:04:59"},
      {3599, "0:59:59"},     {3725, "1:02:05"},     {59.6, "0:00:59.6"},  {-3600, "-1:00:00"},
      {-3601, "-2:59:59"},   {10, "0:00:10"},       {86399, "23:59:59"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST(FormatDuration, NeverShowsNegativeOrSixtiethMinutesNearWholeHours) {
  // Values whose division by 3600 rounds up to a whole number of hours.
  for (double d : {3600 - 1e-12, 7200 - 1e-11, -1e-20, 1e15 - 0.5}) {
    const std::string text = FormatDuration(d);
    EXPECT_EQ(text.find(":-"), std::string::npos) << text;
    EXPECT_EQ(text.find(":60"), std::string::npos) << text;
  }
}

TEST(FormatDuration, NonFiniteInputShowsNoGarbage) {
  EXPECT_EQ(FormatDuration(INFINITY), "0:00:00");
  EXPECT_EQ(FormatDuration(NAN), "0:00:00");
}

}  // namespace
}  // namespace tkd
