// Utf8ToWide / WideToUtf8 as compiled for Windows, where wchar_t is a UTF-16 code unit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_win32.h"

namespace tkd {
namespace {

static_assert(sizeof(wchar_t) == 2, "the Windows build stores text as UTF-16 units");

TEST(TextWin32, ConvertsBothWaysUnitForUnit) {
  struct Case {
    const char* label;
    std::string utf8;
    std::wstring utf16;
  };
  const std::vector<Case> cases = {
      {"empty", "", L""},
      {"ascii", "0:00:59.5", L"0:00:59.5"},
      {"two-byte", "\xC3\xA9", L"\u00e9"},
      {"Chinese", "版本号请调整一下", L"\u7248\u672c\u53f7\u8bf7\u8c03\u6574\u4e00\u4e0b"},
      {"non-BMP", "\xF0\xA0\xAE\xB7", std::wstring{wchar_t(0xD842), wchar_t(0xDFB7)}},
      {"embedded NUL", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Utf8ToWide(c.utf8), c.utf16);
    EXPECT_EQ(WideToUtf8(c.utf16), c.utf8);
  }
}

TEST(TextWin32, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    const char* label;
    std::string utf8;
  };
  // Each must yield at least one U+FFFD instead of being dropped or cut short.
  const std::vector<Case> cases = {
      {"lone continuation byte", "a\x80z"},
      {"truncated sequence", "a\xE5\xAEz"},
      {"invalid lead byte", "a\xFFz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::wstring wide = Utf8ToWide(c.utf8);
    ASSERT_GE(wide.size(), 3u);
    EXPECT_EQ(wide.front(), L'a');
    EXPECT_EQ(wide.back(), L'z');
    EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos);
  }
  const std::wstring unpaired{L'a', wchar_t(0xD842), L'z'};
  EXPECT_EQ(WideToUtf8(unpaired), "a\xEF\xBF\xBDz");
}

}  // namespace
}  // namespace tkd
