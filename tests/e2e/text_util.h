// Text helpers of the test driver: UTF-16 to UTF-8 for messages, and numeric readings of stored values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tkd::e2e {

std::string Utf8(const std::wstring& text);

// Failure messages print the program's Chinese texts readably instead of as escapes.
inline std::string Show(const std::wstring& text) { return "\"" + Utf8(text) + "\""; }
inline std::string Show(const wchar_t* text) { return Show(std::wstring(text)); }
inline std::string Show(const std::optional<std::wstring>& text) {
  return text ? Show(*text) : std::string("(missing)");
}
inline std::string Show(const std::vector<std::wstring>& texts) {
  std::string out = "{";
  for (const auto& text : texts) out += (out.size() > 1 ? ", " : "") + Show(text);
  return out + "}";
}
template <class T>
std::string Show(const T& value) {
  return testing::PrintToString(value);
}

// The leading decimal number of a stored text (blanks skipped), or nullopt when there is none.
std::optional<double> LeadingNumber(const std::wstring& text);
inline std::optional<double> LeadingNumber(const std::optional<std::wstring>& text) {
  return text ? LeadingNumber(*text) : std::nullopt;
}

}  // namespace tkd::e2e
