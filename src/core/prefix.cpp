#include "core/prefix.h"

#include <array>
#include <cmath>

namespace velkaro {

namespace {

constexpr std::array<long double, kPrefixCount> kFactors = {
    1e24L, 1e21L, 1e18L, 1e15L,  1e12L,  1e9L,   1e6L,   1e3L,  1.0L,
    1e-3L, 1e-6L, 1e-9L, 1e-12L, 1e-15L, 1e-18L, 1e-21L, 1e-24L};

constexpr std::array<const char*, kPrefixCount + 1> kTexts = {
    " Y", " Z",      " E", " P", " T", " G", " M", " k", " ",
    " m", " \u00B5", " n", " p", " f", " a", " z", " y", "  "};

// Downward the prefix changes at the exact powers of 1000, upward already at
// 999.99 × 1000^k. The thresholds are compared as doubles: the double nearest
// 999.99 must stay with the bare unit, and the one nearest 999.991 must not.
constexpr std::array<double, 9> kLowerBounds = {1e-24, 1e-21, 1e-18, 1e-15, 1e-12,
                                                1e-9,  1e-6,  1e-3,  1.0};
constexpr std::array<double, 8> kUpperBounds = {9.9999e23, 9.9999e20, 9.9999e17, 9.9999e14,
                                                9.9999e11, 9.9999e8,  999990.0,  999.99};

}  // namespace

long double PrefixFactor(int index) {
    if (index < 0 || index >= kPrefixCount) return 1.0L;
    return kFactors[static_cast<std::size_t>(index)];
}

int PrefixIndexOf(double value) {
    // Zero (and anything that is not a number) has no prefix.
    if (!(value != 0.0)) return kBelowYocto;
    const double magnitude = std::fabs(value);
    // Below 1e-24 the "y" of the lowest item still holds: the mantissa is then
    // below 1 but reads back as the value it stands for.
    if (magnitude < kLowerBounds[0]) return kPrefixCount - 1;
    for (std::size_t i = 1; i < kLowerBounds.size(); ++i) {
        if (magnitude < kLowerBounds[i]) return kBelowYocto - static_cast<int>(i);
    }
    for (std::size_t i = 0; i < kUpperBounds.size(); ++i) {
        if (magnitude > kUpperBounds[i]) return static_cast<int>(i);
    }
    return kNoPrefix;
}

double PrefixMantissa(double value) {
    const int index = PrefixIndexOf(value);
    if (index == kBelowYocto) return value;
    if (index > kNoPrefix) {  // small values are scaled up by multiplying, large ones divided
        return static_cast<double>(value *
                                   kFactors[static_cast<std::size_t>(kPrefixCount - 1 - index)]);
    }
    return static_cast<double>(value / kFactors[static_cast<std::size_t>(index)]);
}

std::string PrefixTextOfIndex(int index) {
    if (index < 0 || index > kBelowYocto) return "  ";
    return kTexts[static_cast<std::size_t>(index)];
}

std::string PrefixText(double value) { return PrefixTextOfIndex(PrefixIndexOf(value)); }

}  // namespace velkaro
