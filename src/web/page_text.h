// Cutting one value out of a page of the vendor site.
#pragma once

#include <string>

namespace tkd {

// The text between the first "[" and the first "]" of the page, lower-cased and with the page's
// outer spaces removed first; "0" when either is missing or the "]" comes first. Not trimmed:
// "[ 147 ]" gives " 147 ", "[]" gives empty text.
std::string ExtractBracketed(const std::string& page);

// What stands between the first `open` and the next `close` after it, compared exactly.
// Empty when `close` does not follow. A missing `open` starts the cut at character number
// open.size() counting from 1: with "<title>" missing, the seventh character.
std::string ExtractBetween(const std::string& page, const std::string& open, const std::string& close);

// Leading and trailing spaces (the space character only) removed.
std::string TrimSpaces(const std::string& text);
// Leading and trailing blanks, tabs and line breaks removed: what a page's author puts around a
// value written on a line of its own.
std::string TrimBlanks(const std::string& text);

}  // namespace tkd
