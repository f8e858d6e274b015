#include <gtest/gtest.h>

#include "core/numtext.h"
#include "core/prefix.h"

using namespace velkaro;

namespace {

struct RangingCase {
    double value;
    int index;
    double mantissa;
};

}  // namespace

TEST(Prefix, IndexAndMantissaAtTheThresholds) {
    const RangingCase cases[] = {
        {1.0, 8, 1.0},
        {999.99, 8, 999.99},  // the double nearest 999.99 stays with the
                              // bare unit
        {999.991, 7, 0.999991},
        {0.999, 9, 999.0},
        {999990.0, 7, 999.99},
        {999991.0, 6, 0.999991},
        {1e-3, 9, 1.0},  // downward at the exact power
        {9.99e-4, 10, 999.0},
        {2.5e6, 6, 2.5},
        {1e25, 0, 10.0},
        {1e-24, 16, 1.0},
        // Zero alone has no item; beyond the ends of the table the last items hold
        // (mantissa below 1 or beyond 999.99); a negative value is ranged by its size.
        {0.0, 17, 0.0},
        {5e-25, 16, 0.5},
        {4e-26, 16, 0.04},
        {1e-40, 16, 1e-16},
        {1e30, 0, 1e6},
        {-2.0, 8, -2.0},
        {-2.5e-6, 10, -2.5},
        {-4e3, 7, -4.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(PrefixIndexOf(c.value), c.index);
        EXPECT_DOUBLE_EQ(PrefixMantissa(c.value), c.mantissa);
    }
}

TEST(Prefix, TextsAndFactors) {
    EXPECT_EQ(PrefixText(999.995), " k");
    EXPECT_EQ(PrefixText(5e-25), " y");
    EXPECT_EQ(PrefixText(0.0), "  ");
    EXPECT_EQ(PrefixText(3e-6), " \u00b5");
    EXPECT_EQ(PrefixText(42.0), " ");
    EXPECT_EQ(PrefixText(42.0) + "Ohm", " Ohm");
    EXPECT_EQ(PrefixText(4.2e3) + "Ohm", " kOhm");
    EXPECT_EQ(PrefixFactor(0), 1e24L);
    EXPECT_EQ(PrefixFactor(8), 1.0L);
    EXPECT_EQ(PrefixFactor(16), 1e-24L);
    for (int outside : {-2, -1, 17, 18}) EXPECT_EQ(PrefixFactor(outside), 1.0L) << outside;
}

TEST(Prefix, FullRangingShowsWhatTheUserExpects) {
    // 999.995 Ω rounds to 1,000 kOhm rather than 1000,000 Ohm.
    EXPECT_EQ(formatFixed(PrefixMantissa(999.995), 3, ','), "1,000");
    EXPECT_EQ(PrefixIndexOf(999.995), 7);
    // Just below the upward switch the mantissa may still round up: accepted as is.
    EXPECT_EQ(formatFixed(PrefixMantissa(999.9899), 0, ','), "1000");
}
