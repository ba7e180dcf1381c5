// LocaleWin32: GetDateFormatEx / GetTimeFormatEx with the user's default locale.
#include "platform/locale_win32.h"

#include <windows.h>

#include <cmath>
#include <string>

#include "core/number_text.h"

#include "platform/text_win32.h"

namespace tkd {
namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  return st;
}

// Both format calls share the two-pass shape: ask for the length, then fill a buffer of it.
template <typename FormatCall>
std::string FormatTwice(FormatCall format) {
  const int length = format(nullptr, 0);  // counts the terminating NUL
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  const int written = format(text.data(), length);
  if (written <= 0) return {};
  text.resize(static_cast<std::size_t>(written - 1));
  return WideToUtf8(text);
}

std::wstring LocaleText(LCTYPE type) {
  wchar_t text[16] = L"";
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16);
  return text;
}

UINT LocaleNumber(LCTYPE type) {
  DWORD value = 0;
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                  sizeof value / sizeof(wchar_t));
  return value;
}

// The user's number format, read once: the distances are formatted many times a second.
struct NumberFormat {
  std::wstring decimal = LocaleText(LOCALE_SDECIMAL), thousand = LocaleText(LOCALE_STHOUSAND);
  UINT leadingZero = LocaleNumber(LOCALE_ILZERO), negative = LocaleNumber(LOCALE_INEGNUMBER);
  UINT groups = Groups(LocaleText(LOCALE_SGROUPING));

  // Grouping "3;0" means groups of three; NUMBERFMT wants it as the number 3 ("3;2;0" as 32).
  static UINT Groups(const std::wstring& grouping) {
    UINT groups = 0;
    for (wchar_t c : grouping) {
      if (c >= L'1' && c <= L'9') groups = groups * 10 + (c - L'0');
      else if (c != L';') break;
    }
    return grouping.size() >= 2 && grouping.substr(grouping.size() - 2) != L";0" ? groups * 10 : groups;
  }
};

}  // namespace

std::string LocaleWin32::Number(double value, int decimals) {
  if (!std::isfinite(value) || decimals < 0 || decimals > 9) return {};
  static NumberFormat user;
  // The plain text GetNumberFormatEx takes: digits, "." and the decimals.
  const std::wstring plain = Utf8ToWide(FixedText(value, decimals));
  NUMBERFMTW format{static_cast<UINT>(decimals), user.leadingZero, user.groups, user.decimal.data(),
                    user.thousand.data(), user.negative};
  return FormatTwice([&](LPWSTR buffer, int size) {
    return GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, plain.c_str(), &format, buffer, size);
  });
}

std::string LocaleWin32::ShortDate(const LocalTime& t) {
  const SYSTEMTIME st = ToSystemTime(t);
  return FormatTwice([&st](LPWSTR buffer, int size) {
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, size,
                           nullptr);
  });
}

std::string LocaleWin32::TimeOfDay(const LocalTime& t) {
  const SYSTEMTIME st = ToSystemTime(t);
  // Flags 0: the user's long time format, which includes the seconds.
  return FormatTwice([&st](LPWSTR buffer, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, size);
  });
}

}  // namespace tkd
