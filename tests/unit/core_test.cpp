// Numbers read from and written as text, durations, the countdown target and the program's name.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/format_duration.h"
#include "core/number_text.h"
#include "core/program_info.h"
#include "core/target_minutes.h"

namespace tkd {
namespace {

TEST(NumericReading, TakesTheLeadingNumber) {
  const struct { const char* text; double value; } cases[] = {
      {"", 0},       {" 1", 1},     {"2.5", 2.5},    {"3 分钟", 3},  {"2010-5-6", 2010},
      {"abc", 0},    {"-5", -5},    {"+7", 7},       {"  -0.5x", -0.5}, {".5", 0.5},
      {"5.", 5},     {"-", 0},      {"1.5E2", 150},  {"2e", 2},      {"2e-1", 0.2},
      {"\t4", 4},    {"1.2.3", 1.2}, {"0x10", 0},    {"- 3", 0},     {"1e999", 0},
      {"-1e999", 0}, {"1e-999", 0}, {"1.7e308", 1.7e308},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericReading(c.text), c.value) << '"' << c.text << '"';
  EXPECT_FALSE(std::signbit(NumericReading("-0")));
}

TEST(NumberText, WritesFifteenDigitsThatReadBack) {
  const struct { double value; const char* plain; const char* blank; } cases[] = {
      {0, "0", " 0"},           {-3, "-3", "-3"},          {2.5, "2.5", " 2.5"},
      {0.1 + 0.2, "0.3", " 0.3"}, {1e15, "1E+15", " 1E+15"}, {1.0 / 3, "0.333333333333333", " 0.333333333333333"},
      {-0.0, "0", " 0"},        {INFINITY, "0", " 0"},     {NAN, "0", " 0"},
      // 15 digits of the largest doubles would read back as an overflow.
      {1.7976931348623157e308, "1.7976931348623157E+308", " 1.7976931348623157E+308"},
      {-1.7976931348623157e308, "-1.7976931348623157E+308", "-1.7976931348623157E+308"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberText(c.value), c.plain) << c.value;
    EXPECT_EQ(BlankNumberText(c.value), c.blank) << c.value;
  }
  for (double v : {36.6, 1e10, 1234567.25, 1.7976931348623157e308, 1e300})
    EXPECT_EQ(NumericReading(BlankNumberText(v)), v) << v;
  // Fixed notation; a negative number that rounds to zero loses its sign (a distance of -1 pixel).
  const struct { double value; int decimals; const char* text; } fixed[] = {
      {1234.5, 3, "1234.500"}, {-2.5, 1, "-2.5"}, {-2.65e-7, 3, "0.000"}, {-0.0, 2, "0.00"}, {-0.4, 0, "0"},
      {-0.0006, 3, "-0.001"},  {NAN, 3, "0"},
  };
  for (const auto& c : fixed) EXPECT_EQ(FixedText(c.value, c.decimals), c.text) << c.value;
}

TEST(FormatDuration, RendersHoursMinutesAndUnroundedSeconds) {
  const struct { double seconds; const char* text; } cases[] = {
      {0, "0:00:00"},          {59, "0:00:59"},         {61, "0:01:01"},       {3661, "1:01:01"},
      {90000, "25:00:00"},     {360000, "100:00:00"},   {59.5, "0:00:59.5"},   {9.5, "0:00:09.5"},
      {-5, "-1:59:55"},        {-3601, "-2:59:59"},     {INFINITY, "0:00:00"}, {NAN, "0:00:00"},
      // The seconds are fixed notation, padded by what is printed, and carry when they print 60.
      {1e-5, "0:00:00.00001"}, {59.99999999999999, "0:01:00"}, {3599.99999999999999, "1:00:00"},
      {10.999999999999998, "0:00:11"}, {9.999999999999998, "0:00:10"}, {3600 - 1e-12, "0:59:59.9999999999991"},
      {-1e-20, "0:00:00"}};
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST(TargetSeconds, SnapsMinutesTimesSixtyToWholeSecondsWhereTheyAreMeant) {
  const struct { const char* minutes; double seconds; } cases[] = {
      {"4.15", 249}, {"2.05", 123}, {"0.05", 3}, {"5", 300}, {"1.01", 60.6}, {"1.5 分钟", 90},
      {"abc", 0},    {"1e307", 0},  {"-2", -120},
  };
  for (const auto& c : cases) EXPECT_EQ(TargetSeconds(c.minutes), c.seconds) << c.minutes;
  // Every target from 0.05 to 120 minutes in steps of 0.05 is a whole number of seconds.
  for (int hundredths = 5; hundredths <= 12000; hundredths += 5) {
    const std::string text = std::to_string(hundredths / 100) + "." + std::to_string(hundredths % 100 / 10) +
                             std::to_string(hundredths % 10);
    EXPECT_EQ(TargetSeconds(text), hundredths * 60 / 100) << text;
  }
}

TEST(ProgramInfoFromPath, SplitsFolderAndNameWithoutExe) {
  const struct { const char *path, *folder, *name; } cases[] = {
      {"C:\\Program Files\\计时\\TiKoDan.exe", "C:\\Program Files\\计时", "TiKoDan"}, {"C:\\TiKoDan.EXE", "C:", "TiKoDan"},
      {"D:/apps/tkd.exe.bak", "D:/apps", "tkd.exe.bak"}, {"TiKoDan.exe", "", "TiKoDan"}, {"C:\\a\\.exe", "C:\\a", ""}};
  for (const auto& c : cases) {
    const ProgramInfo info = ProgramInfoFromPath(c.path, {1, 0, 0});
    EXPECT_EQ(info.folder, c.folder) << c.path;
    EXPECT_EQ(info.exeName, c.name) << c.path;
  }
  EXPECT_EQ(ProgramInfoFromPath("C:\\x y\\T.exe", {}).ExePath(), "C:\\x y\\T.exe");
}

}  // namespace
}  // namespace tkd
