// LocaleWin32: GetDateFormatEx / GetTimeFormatEx with the user's default locale.
#include "platform/locale_win32.h"

#include <windows.h>

#include <string>

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

}  // namespace

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
