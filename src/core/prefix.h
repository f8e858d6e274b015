#pragma once
// Engineering prefixes: index 0..16 stands for Y, Z, E, P, T, G, M, k, (none),
// m, µ, n, p, f, a, z, y; 17 is "no prefix item", which only zero gets.

#include <string>

namespace velkaro {

inline constexpr int kPrefixCount = 17;  // items of every unit list
inline constexpr int kNoPrefix = 8;      // the bare unit
inline constexpr int kBelowYocto = 17;

// 1e24 … 1e-24 for 0..16; 1 for every other index (-1 and 17 included).
long double PrefixFactor(int index);

// Index for full ranging. Upward the switch comes at 999.99 × 1000^k already, so a
// mantissa never shows as "1000,000" at three decimals; downward at exact powers.
// What is shown must be what is read back: a value beyond the ends of the table
// stays at "Y" or "y" with a mantissa beyond 999.99 or below 1, zero gets no
// item (17), and a negative value is ranged by its magnitude.
int PrefixIndexOf(double value);

// The value divided by the factor of the prefix PrefixIndexOf chooses.
double PrefixMantissa(double value);

// " k", " µ" (UTF-8), " " for the bare unit, two blanks for index 17 (zero).
std::string PrefixText(double value);
std::string PrefixTextOfIndex(int index);

}  // namespace velkaro
