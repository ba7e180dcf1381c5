// The numeric reading of texts, and number-to-text conversion that does not depend on the C locale.
#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tkd {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Length of the longest prefix of `s` that has the shape of a number, or 0.
std::size_t NumberPrefixLength(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when it is complete: "2e" reads 2, "2e3" reads 2000.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Exponents are written as 1E+16 / 1E-05.
std::string WithCapitalExponent(std::string text) {
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

}  // namespace

double NumericReading(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  std::string_view rest = text.substr(start);
  std::size_t length = NumberPrefixLength(rest);
  if (length == 0) return 0;

  std::string_view number = rest.substr(0, length);
  bool negative = false;
  if (number[0] == '+' || number[0] == '-') {
    negative = number[0] == '-';
    number.remove_prefix(1);  // from_chars takes no plus sign; the sign is applied below
  }
  double value = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Overflow is not a number; underflow is as good as zero.
    return 0;
  }
  if (error != std::errc() || !std::isfinite(value)) return 0;
  value = negative ? -value : value;
  return value == 0 ? 0.0 : value;  // never -0
}

std::string NumberText(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  char buffer[64];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (error != std::errc()) return "0";
  std::string text(buffer, end);
  // Rounded to 15 digits, a number near the largest double reads back as an overflow.
  if (NumericReading(text) == 0) return NumberTextExact(value);
  return WithCapitalExponent(std::move(text));
}

std::string NumberTextExact(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return "0";
  return WithCapitalExponent(std::string(buffer, end));
}

std::string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) return "0";
  char buffer[400];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return "0";
  std::string text(buffer, end);
  // A negative number that rounds to zero is shown as zero, without its sign.
  if (text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
  return text;
}

bool StartsWithNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return NumberPrefixLength(text.substr(start)) > 0;
}

std::string BlankNumberText(double value) {
  std::string text = NumberText(value);
  return text[0] == '-' ? text : " " + text;
}

std::string BlankNumberTextExact(double value) {
  std::string text = BlankNumberText(value);
  if (!std::isfinite(value) || NumericReading(text) == value) return text;
  text = NumberTextExact(value);
  return text[0] == '-' ? text : " " + text;
}

}  // namespace tkd
