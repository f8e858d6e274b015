#pragma once
// Engineering prefixes: index 0..16 stands for Y, Z, E, P, T, G, M, k, (none),
// m, µ, n, p, f, a, z, y; 17 is "below yocto" (zero and negative values too).

#include <string>

namespace velkaro {

inline constexpr int kPrefixCount = 17;  // items of every unit list
inline constexpr int kNoPrefix = 8;      // the bare unit
inline constexpr int kBelowYocto = 17;

// 1e24 … 1e-24 for 0..16; 1 for every other index (-1 and 17 included).
long double PrefixFactor(int index);

// Index for full ranging. Upward the switch comes at 999.99 × 1000^k already, so a
// mantissa never shows as "1000,000" at three decimals; downward at exact powers.
int PrefixIndexOf(double value);

// The value scaled into the range of the prefix PrefixIndexOf chooses.
double PrefixMantissa(double value);

// " k", " µ" (UTF-8), " " for the bare unit, two blanks for index 17.
std::string PrefixText(double value);
std::string PrefixTextOfIndex(int index);

}  // namespace velkaro
