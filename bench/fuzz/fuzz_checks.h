// What the fuzz harnesses check: a violated property stops the run at once, and libFuzzer keeps
// the input that did it.
#pragma once

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#define TKD_CHECK(condition) \
  ((condition) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

namespace tkd::fuzz {

// A text the program shows or stores never has an infinity or a NaN in it, never a zero with a
// minus sign ("-0", "-0.000", "-0:00:00"), and never a minute or second field of 60.
inline bool BadText(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos ||
      text.find(":60") != std::string::npos)
    return true;
  for (std::size_t minus = text.find('-'); minus != std::string::npos; minus = text.find('-', minus + 1)) {
    bool digits = false, nonZero = false;
    for (std::size_t i = minus + 1; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) ||
                                                         text[i] == '.' || text[i] == ',');
         ++i) {
      digits |= text[i] >= '0' && text[i] <= '9';
      nonZero |= text[i] >= '1' && text[i] <= '9';
    }
    if (digits && !nonZero) return true;
  }
  return false;
}

}  // namespace tkd::fuzz
