// The numeric reading of stored and typed texts, and the decimal texts that numbers are written as.
#pragma once

#include <string>
#include <string_view>

namespace tkd {

// The leading number of a text: blanks skipped, then an optional sign, digits with at most one
// decimal point, and an optional exponent; reading stops at the first other character.
// Empty or non-numeric text reads 0, and so does a number too large for a double (1e999),
// so that no caller ever sees an infinity.
double NumericReading(std::string_view text);

// Decimal text with at most 15 significant digits, no trailing zeros, "." as the decimal point,
// and an exponent ("1E+16") only where the plain form would need more digits than that.
std::string NumberText(double value);

// The shortest decimal text that reads back as exactly this number (up to 17 digits). NumberText
// falls back to it when 15 digits would read back as an overflow.
std::string NumberTextExact(double value);

// Fixed notation with exactly `decimals` decimals and "." as the decimal point: 1234.5 with 3
// gives "1234.500", -0.0004 with 3 gives "0.000" (no minus sign on a zero). "0" for a number
// that is not finite.
std::string FixedText(double value, int decimals);

// True when the text, blanks skipped, begins with a number as NumericReading takes it ("0" too).
bool StartsWithNumber(std::string_view text);

// NumberText with a leading blank when the number is not negative (" 1", " 0", "-3").
std::string BlankNumberText(double value);

// BlankNumberText, unless its 15 digits would read back as another number: then the shortest text
// that reads back exactly, with the same leading blank (" 5594444444461273"). For stored counts
// that must come back as they were written.
std::string BlankNumberTextExact(double value);

}  // namespace tkd
