// LocaleWin32 and the number texts under the Chinese user locale (LANG=zh_CN.UTF-8).
#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <string>
#include <vector>

#include "core/format_duration.h"
#include "core/number_text.h"
#include "platform/locale_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

// The runs of ASCII digits in a text, in order.
std::vector<std::string> DigitGroups(const std::string& text) {
  std::vector<std::string> groups;
  std::string current;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      current += c;
    } else if (!current.empty()) {
      groups.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) groups.push_back(current);
  return groups;
}

std::vector<int> DigitGroupValues(const std::string& text) {
  std::vector<int> values;
  for (const std::string& group : DigitGroups(text)) values.push_back(std::stoi(group));
  return values;
}

class ChineseLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
    ASSERT_EQ(WideToUtf8(name), "zh-CN") << "run with LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8";
  }
  LocaleWin32 locale_;
};

TEST_F(ChineseLocale, ShortDateReadsYearFirstThenMonthAndDay) {
  const std::vector<LocalTime> dates = {
      {2026, 12, 6, 14, 5, 9}, {2024, 2, 29, 0, 0, 0}, {1999, 1, 31, 23, 59, 59}};
  for (const LocalTime& t : dates) {
    const std::string text = locale_.ShortDate(t);
    SCOPED_TRACE(text);
    EXPECT_EQ(NumericReading(text), t.year);
    EXPECT_EQ(DigitGroupValues(text), (std::vector<int>{t.year, t.month, t.day}));
  }
}

TEST_F(ChineseLocale, TimeOfDayShowsHoursMinutesAndSeconds) {
  struct Case {
    LocalTime t;
    std::vector<std::string> groups;
  };
  const std::vector<Case> cases = {
      {{2026, 12, 6, 14, 5, 9}, {"14", "05", "09"}},
      {{2026, 12, 6, 23, 59, 58}, {"23", "59", "58"}},
  };
  for (const Case& c : cases) {
    const std::string text = locale_.TimeOfDay(c.t);
    SCOPED_TRACE(text);
    EXPECT_EQ(DigitGroups(text), c.groups);
  }
}

TEST_F(ChineseLocale, ImpossibleMomentsFormatAsEmptyText) {
  const LocalTime badMonth{2026, 13, 1, 0, 0, 0};
  const LocalTime badHour{2026, 1, 1, 25, 0, 0};
  EXPECT_EQ(locale_.ShortDate(badMonth), "");
  EXPECT_EQ(locale_.TimeOfDay(badHour), "");
}

// Number texts are stored in the registry and read back on any machine, so no C locale may
// change them: neither the Chinese user locale nor one that writes a decimal comma.
TEST_F(ChineseLocale, NumberTextsDoNotFollowTheCLocale) {
  struct LocaleCase {
    const char* name;  // for setlocale
    bool needsDecimalComma;
  };
  const std::vector<LocaleCase> locales = {{"", false}, {"German_Germany", true}};
  for (const LocaleCase& l : locales) {
    SCOPED_TRACE(std::string("C locale \"") + l.name + "\"");
    if (!std::setlocale(LC_ALL, l.name)) {
      ADD_FAILURE() << "setlocale refused the locale";
      continue;
    }
    if (l.needsDecimalComma) {
      ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the row would prove nothing";
    }
    EXPECT_EQ(NumberText(2.5), "2.5");
    EXPECT_EQ(NumberText(-0.125), "-0.125");
    EXPECT_EQ(BlankNumberText(1234567.5), " 1234567.5");
    EXPECT_EQ(FormatDuration(59.5), "0:00:59.5");
    EXPECT_EQ(FormatDuration(3725.25), "1:02:05.25");
    EXPECT_EQ(NumericReading("2.5"), 2.5);
    EXPECT_EQ(NumericReading("2,5"), 2);
  }
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tkd
