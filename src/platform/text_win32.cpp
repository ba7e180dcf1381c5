// UTF-8 <-> UTF-16 with MultiByteToWideChar / WideCharToMultiByte.
#include "platform/text_win32.h"

#include <windows.h>

#include <climits>

namespace tkd {

// Windows' wide strings are UTF-16; every W call in the adapters relies on that.
static_assert(sizeof(wchar_t) == 2, "wchar_t must be a UTF-16 code unit");

std::wstring Utf8ToWide(std::string_view text) {
  // The API counts in int; texts beyond that size are not something this program produces.
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int inLength = static_cast<int>(text.size());
  const int outLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), inLength, nullptr, 0);
  if (outLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(outLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), inLength, wide.data(), outLength);
  return wide;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int inLength = static_cast<int>(text.size());
  const int outLength =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (outLength <= 0) return {};
  std::string utf8(static_cast<std::size_t>(outLength), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, utf8.data(), outLength, nullptr, nullptr);
  return utf8;
}

}  // namespace tkd
