// ExtractBracketed and ExtractBetween over UTF-8 text; the markers are plain ASCII.
#include "web/page_text.h"

#include <algorithm>
#include <cctype>

namespace tkd {

namespace {

std::string Trim(const std::string& text, const char* blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::string TrimSpaces(const std::string& text) { return Trim(text, " "); }
std::string TrimBlanks(const std::string& text) { return Trim(text, " \t\r\n"); }

std::string ExtractBracketed(const std::string& page) {
  std::string text = page;
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
  });
  text = TrimSpaces(text);
  const std::size_t a = text.find('['), b = text.find(']');
  if (a == std::string::npos || b == std::string::npos || a >= b) return "0";
  return text.substr(a + 1, b - a - 1);
}

std::string ExtractBetween(const std::string& page, const std::string& open, const std::string& close) {
  const std::size_t found = page.find(open);
  const std::size_t start = found == std::string::npos ? open.size() - 1 : found + open.size();
  if (start > page.size()) return "";
  const std::size_t end = page.find(close, start);
  return end == std::string::npos ? "" : page.substr(start, end - start);
}

}  // namespace tkd
