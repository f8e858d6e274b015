#pragma once
// Number text: parsing with the user's decimal separator and the three display
// formats. All functions are pure; the separator and the decimal places are
// arguments, never read from a global locale.

#include <optional>
#include <string>
#include <string_view>

namespace velkaro {

// Parses a decimal number as the user may type it: surrounding blanks (control
// characters, the space and Unicode's other space separators such as the no-break
// space) are ignored; then an optional sign, digits with at
// most one decimal separator `sep` (at least one digit in all), and an optional
// exponent "e"/"E" with optional sign and at least one digit. Nothing else is
// accepted (no thousands separators, no unit letters, no blank after the sign).
// An empty text, any other text, and a number outside the range of long double
// give std::nullopt.
std::optional<long double> parseNumber(std::string_view text, char sep);

// Fixed point with `decimals` (0..3, but any 0..18 works) digits after `sep`, no
// thousands separators, no leading blank. Rounding, as one rule for fixed and
// expo: the value is first reduced to its 18 significant decimal digits (correctly
// rounded), and that decimal number is rounded half away from zero at the wanted
// place (12.5 at 0 decimals gives "13"). A value whose integer part has more than
// 18 digits is written in exponent notation with 18 significant digits
// ("1,52415787501905205E49"). A result that rounds to zero
// carries no minus sign.
std::string formatFixed(long double x, int decimals, char sep);

// Scientific with 6 significant digits and a signed exponent of at least two
// digits: "1,23457E+05", "-2,50000E-12".
std::string formatExpo(long double x, char sep);

// General: up to 15 significant digits, trailing zeros dropped, plain notation for
// ordinary magnitudes ("5", "4,996", "0,0001", "123456789012345"), exponent
// notation for very large or small ones ("1E20", "1,5E-7"). No leading blank.
std::string formatGeneral(long double x, char sep);
// The same with another number of significant digits (1..18).
std::string generalFormat(long double x, char sep, int significant);

// " " + text with its own leading blanks removed: every number the program writes
// into an edit begins with exactly one blank.
std::string withOneBlank(std::string_view text);

}  // namespace velkaro
