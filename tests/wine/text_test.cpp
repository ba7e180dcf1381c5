// Texts as the Windows build makes them: UTF-8/UTF-16 conversion (wchar_t is a UTF-16 unit), and
// dates and times in the Chinese user locale the tests run with (LANG=zh_CN.UTF-8).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/locale_win32.h"
#include "platform/text_win32.h"

namespace tkd {
namespace {

TEST(TextWin32, ConvertsUnitForUnitAndReplacesMalformedInput) {
  enum Way { kBoth, kToWide, kToUtf8 };
  struct Case { const char* label; Way way; std::string utf8; std::wstring utf16; };
  const std::vector<Case> cases = {
      {"empty", kBoth, "", L""}, {"ASCII", kBoth, "0:00:59.5", L"0:00:59.5"},
      {"Chinese", kBoth, "时间到了", L"\u65f6\u95f4\u5230\u4e86"},
      {"beyond the BMP", kBoth, "\xF0\xA0\xAE\xB7", {wchar_t(0xD842), wchar_t(0xDFB7)}},
      {"embedded NUL", kBoth, std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
      {"lone continuation byte", kToWide, "a\x80z", L"a\uFFFDz"}, {"invalid lead byte", kToWide, "a\xFFz", L"a\uFFFDz"},
      {"cut-off sequence", kToWide, "a\xE5\xAEz", L"a\uFFFDz"},
      {"unpaired surrogate", kToUtf8, "a\xEF\xBF\xBDz", {L'a', wchar_t(0xD842), L'z'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.way != kToUtf8) { EXPECT_EQ(Utf8ToWide(c.utf8), c.utf16); }  // braced: EXPECT_EQ ends in an else
    if (c.way != kToWide) { EXPECT_EQ(WideToUtf8(c.utf16), c.utf8); }
  }
}

TEST(LocaleWin32, FormatsTheShortDateAndTheTimeWithSeconds) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  ASSERT_EQ(WideToUtf8(name), "zh-CN") << "run under Wine with LANG=zh_CN.UTF-8";
  struct Case { LocalTime t; std::string date, time; };
  const std::vector<Case> cases = {
      // Two-digit months, days and hours, which every Chinese format writes alike.
      {{2026, 12, 16, 14, 5, 9}, "2026/12/16", "14:05:09"},
      {{1999, 10, 31, 23, 59, 58}, "1999/10/31", "23:59:58"},
      {{2026, 13, 1, 25, 0, 0}, "", ""},  // no such month, no such hour
  };
  LocaleWin32 locale;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date + " " + c.time);
    EXPECT_EQ(locale.ShortDate(c.t), c.date);
    EXPECT_EQ(locale.TimeOfDay(c.t), c.time);
  }
  // Numbers with three decimals, grouped as the user's format groups them.
  const std::pair<double, const char*> numbers[] = {
      {1234.5, "1,234.500"}, {0.0004, "0.000"}, {-1234567.25, "-1,234,567.250"}, {0.842, "0.842"}};
  for (const auto& [value, text] : numbers) EXPECT_EQ(locale.Number(value, 3), text) << value;
}

}  // namespace
}  // namespace tkd
