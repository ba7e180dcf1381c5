// The numeric reading of texts and the decimal texts numbers are written as.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/number_text.h"

namespace tkd {
namespace {

struct ReadingCase {
  const char* text;
  double expected;
};

TEST(NumericReading, TakesTheLeadingNumber) {
  const ReadingCase cases[] = {
      {"", 0},          {" 1", 1},        {"1", 1},           {"2.5", 2.5},     {"3 分钟", 3},
      {"3abc", 3},      {"2010-5-6", 2010}, {"2026/12/6", 2026}, {"abc", 0},     {"-5", -5},
      {"+7", 7},        {"  -0.5x", -0.5}, {".5", 0.5},       {"5.", 5},        {"-", 0},
      {".", 0},         {"1e3", 1000},    {"1.5E2", 150},     {"2e", 2},        {"2e+", 2},
      {"2e-1", 0.2},    {"\t4", 4},       {"1.2.3", 1.2},     {"0x10", 0},      {"- 3", 0},
      {"007", 7},       {"-0", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericReading(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumericReading, NumbersADoubleCannotHoldReadAsNotANumber) {
  for (const char* text : {"1e999", "-1e999", "1e99999999999999999999", "9e308"})
    EXPECT_EQ(NumericReading(text), 0) << text;
  std::string hugeDigits(400, '9');
  EXPECT_EQ(NumericReading(hugeDigits), 0);
  EXPECT_EQ(NumericReading("1e-999"), 0);  // underflow is as good as zero
  EXPECT_DOUBLE_EQ(NumericReading("1.7e308"), 1.7e308);
}

TEST(NumericReading, NeverGivesNegativeZero) {
  EXPECT_FALSE(std::signbit(NumericReading("-0")));
  EXPECT_FALSE(std::signbit(NumericReading("-0.0e5")));
}

struct TextCase {
  double value;
  const char* plain;
  const char* blank;
};

TEST(NumberText, WritesUpToFifteenSignificantDigits) {
  const TextCase cases[] = {
      {0, "0", " 0"},
      {1, "1", " 1"},
      {-3, "-3", "-3"},
      {2.5, "2.5", " 2.5"},
      {59.5, "59.5", " 59.5"},
      {5300, "5300", " 5300"},
      {0.1 + 0.2, "0.3", " 0.3"},
      {123456789012345, "123456789012345", " 123456789012345"},
      {1e15, "1E+15", " 1E+15"},
      {1.0 / 3, "0.333333333333333", " 0.333333333333333"},
      {-0.0, "0", " 0"},
      {0.00001, "1E-05", " 1E-05"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberText(c.value), c.plain) << c.value;
    EXPECT_EQ(BlankNumberText(c.value), c.blank) << c.value;
  }
}

TEST(NumberText, RoundTripsThroughTheReading) {
  for (double v : {0.0, 1.0, 36.6, 5300.0, 1e10, 3599.0, 1234567.25})
    EXPECT_DOUBLE_EQ(NumericReading(BlankNumberText(v)), v) << v;
}

TEST(NumberText, NonFiniteValuesNeverShowAsInfinity) {
  EXPECT_EQ(NumberText(INFINITY), "0");
  EXPECT_EQ(NumberText(-INFINITY), "0");
  EXPECT_EQ(NumberText(NAN), "0");
}

}  // namespace
}  // namespace tkd
