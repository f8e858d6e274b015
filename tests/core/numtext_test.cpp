#include "core/numtext.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace velkaro {
namespace {

struct ParseCase {
    const char* text;
    char sep;
    long double expected;
};

TEST(NumTextParse, AcceptsWhatUsersType) {
    const ParseCase cases[] = {
        {" 5", ',', 5.0L},
        {"2,5", ',', 2.5L},
        {"2.5", '.', 2.5L},
        {"\t-2,5 \n", ',', -2.5L},
        {"+7", ',', 7.0L},
        {",5", ',', 0.5L},
        {"5,", ',', 5.0L},
        {"-,25", ',', -0.25L},
        {"1e3", ',', 1000.0L},
        {"1E+3", ',', 1000.0L},
        {"2,5e-3", ',', 0.0025L},
        {",5E1", ',', 5.0L},
        {"0,7955", ',', 0.7955L},
        {"007", ',', 7.0L},
        {"1e0003", ',', 1000.0L},
        {"123456789012345678901234567890", ',', 123456789012345678901234567890.0L},
    };
    for (const auto& c : cases) {
        const auto v = parseNumber(c.text, c.sep);
        ASSERT_TRUE(v.has_value()) << '"' << c.text << "\" sep " << c.sep;
        EXPECT_EQ(*v, c.expected) << '"' << c.text << '"';
    }
}

TEST(NumTextParse, RejectsEverythingElse) {
    const ParseCase cases[] = {
        {"", ',', 0},
        {"   ", ',', 0},
        {",", ',', 0},
        {"+", ',', 0},
        {"-,", ',', 0},
        {"2.5", ',', 0},
        {"2,5", '.', 0},
        {"1,2,3", ',', 0},
        {"1.000,5", ',', 0},
        {"- 5", ',', 0},
        {"5 0", ',', 0},
        {"5k", ',', 0},
        {"5 V", ',', 0},
        {"e5", ',', 0},
        {",e5", ',', 0},
        {"1e", ',', 0},
        {"1e+", ',', 0},
        {"1e-", ',', 0},
        {"1e5,5", ',', 0},
        {"1e5e5", ',', 0},
        {"+-1", ',', 0},
        {"--1", ',', 0},
        {"inf", ',', 0},
        {"-inf", ',', 0},
        {"nan", ',', 0},
        {"0x10", ',', 0},
        {"1e 5", ',', 0},
        // Blanks of any kind inside a number stay an error.
        {"1\xC2\xA0"
         "000",
         ',', 0},
        {"-\xE2\x80\xAF"
         "5",
         ',', 0},
        {"5\xE3\x80\x80"
         "0",
         ',', 0},
        {"\xC2\xA0", ',', 0},  // blanks only
        {"5\xC2", ',', 0},     // a cut UTF-8 sequence is no blank
    };
    for (const auto& c : cases)
        EXPECT_FALSE(parseNumber(c.text, c.sep).has_value()) << '"' << c.text << "\" sep " << c.sep;
}

// Text copied from a web page or a spreadsheet brings no-break, narrow or
// ideographic spaces along; around a number they count as blanks.
TEST(NumTextParse, UnicodeSpacesAroundANumberAreBlanks) {
    const ParseCase cases[] = {
        {"\xC2\xA0"
         "5\xC2\xA0",
         ',', 5.0L},  // U+00A0 no-break space
        {"\xE2\x80\xAF"
         "2,5",
         ',', 2.5L},                                      // U+202F narrow no-break space
        {"2.5\xE2\x80\x89", '.', 2.5L},                   // U+2009 thin space
        {"\xE3\x80\x80-1e3\xE3\x80\x80", ',', -1000.0L},  // U+3000 ideographic space
        {" \xC2\xA0\t7 \xE2\x81\x9F", ',', 7.0L},         // mixed with ordinary blanks
    };
    for (const auto& c : cases) {
        const auto v = parseNumber(c.text, c.sep);
        ASSERT_TRUE(v.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(*v, c.expected) << '"' << c.text << '"';
    }
}

TEST(NumTextParse, OverflowFailsButUnderflowIsANumber) {
    EXPECT_FALSE(parseNumber("1e5000", ',').has_value());
    EXPECT_FALSE(parseNumber("-1e5000", ',').has_value());
    EXPECT_FALSE(parseNumber("1,2e4932", ',').has_value());
    EXPECT_TRUE(parseNumber("1,1e4932", ',').has_value());

    const auto zero = parseNumber("1e-5000", ',');
    ASSERT_TRUE(zero.has_value());
    EXPECT_EQ(*zero, 0.0L);

    const auto subnormal = parseNumber("1e-4940", ',');
    ASSERT_TRUE(subnormal.has_value());
    EXPECT_GT(*subnormal, 0.0L);
    EXPECT_LT(*subnormal, std::numeric_limits<long double>::min());
}

struct FixedCase {
    long double x;
    int decimals;
    const char* expected;
};

TEST(NumTextFixed, RoundsTheEighteenDigitFormHalfAwayFromZero) {
    const FixedCase cases[] = {
        {12.5L, 0, "13"},
        {12.4L, 0, "12"},
        {12.6L, 0, "13"},
        {12.6L, 3, "12,600"},
        {-2.5L, 0, "-3"},
        {0.7955L, 3, "0,796"},
        {-0.7955L, 3, "-0,796"},
        {0.7954L, 3, "0,795"},
        {999.9995L, 3, "1000,000"},
        {9.5L, 0, "10"},
        {0.5L, 0, "1"},
        {0.05L, 1, "0,1"},
        {0.0005L, 3, "0,001"},
        {0.0004L, 3, "0,000"},
        {-0.0004L, 3, "0,000"},
        {-0.4L, 0, "0"},
        {0.0L, 3, "0,000"},
        {-0.0L, 0, "0"},
        {1e-30L, 3, "0,000"},
        {100000.0L, 3, "100000,000"},
        {123.456L, 2, "123,46"},
        {1.0L / 3, 18, "0,333333333333333333"},
        {123456789012345678.0L, 0, "123456789012345678"},
        {123456789012345678.0L, 2, "123456789012345678,00"},
        {1234567.891L, 3, "1234567,891"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.x, c.decimals, ','), c.expected)
            << static_cast<double>(c.x) << " at " << c.decimals;
}

TEST(NumTextFixed, TypedTiesRoundUp) {
    // The path the program takes: the user's text, then the display.
    const struct {
        const char* text;
        int decimals;
        const char* expected;
    } cases[] = {
        {"0,7955", 3, "0,796"}, {"1,0005", 3, "1,001"}, {"2,675", 2, "2,68"},
        {"-1,005", 2, "-1,01"}, {"0,15", 1, "0,2"},     {"1e-3", 3, "0,001"},
    };
    for (const auto& c : cases) {
        const auto v = parseNumber(c.text, ',');
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(formatFixed(*v, c.decimals, ','), c.expected) << c.text;
    }
}

TEST(NumTextFixed, SeparatorAndHugeValues) {
    EXPECT_EQ(formatFixed(12.6L, 3, '.'), "12.600");
    EXPECT_EQ(formatFixed(12.6L, 0, '.'), "13");
    // 19 integer digits, also when only the 18-digit rounding makes them so.
    EXPECT_EQ(formatFixed(1e18L, 3, ','), "1E18");
    EXPECT_EQ(formatFixed(999999999999999999.6L, 0, ','), "1E18");
    EXPECT_EQ(formatFixed(-2.5e20L, 3, ','), "-2,5E20");
    EXPECT_EQ(formatFixed(1e300L, 0, '.'), "1E300");
    // Beyond 18 integer digits all 18 significant digits stay: a value squared
    // on the way must not lose three of them to a shorter format.
    EXPECT_EQ(formatFixed(1.52415787501905205e49L, 3, ','), "1,52415787501905205E49");
    EXPECT_EQ(formatFixed(-1.23456789012345678e25L, 0, '.'), "-1.23456789012345678E25");
    EXPECT_EQ(*parseNumber(formatFixed(1.52415787501905205e49L, 3, ','), ','),
              *parseNumber("1,52415787501905205E49", ','));
}

TEST(NumTextExpo, SixSignificantDigits) {
    const struct {
        long double x;
        const char* expected;
    } cases[] = {
        {123456.7L, "1,23457E+05"},    {794328234724281.5L, "7,94328E+14"},
        {100001.0L, "1,00001E+05"},    {1e-12L, "1,00000E-12"},
        {0.0L, "0,00000E+00"},         {-0.0L, "0,00000E+00"},
        {-2.5e-300L, "-2,50000E-300"}, {9.999995L, "1,00000E+01"},
        {9.999994L, "9,99999E+00"},    {-9.999995e-10L, "-1,00000E-09"},
        {1.234565L, "1,23457E+00"},    {5.0L, "5,00000E+00"},
        {1e100L, "1,00000E+100"},      {1e-4000L, "1,00000E-4000"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatExpo(c.x, ','), c.expected);
    EXPECT_EQ(formatExpo(123456.7L, '.'), "1.23457E+05");
}

TEST(NumTextGeneral, PlainOrExponent) {
    const struct {
        long double x;
        const char* expected;
    } cases[] = {
        {0.0L, "0"},
        {-0.0L, "0"},
        {5.0L, "5"},
        {4.996L, "4,996"},
        {-0.5L, "-0,5"},
        {0.0001L, "0,0001"},
        {0.00012345L, "0,00012345"},
        {0.00009999999999999999L, "0,0001"},
        {1e-5L, "1E-5"},
        {1.234e-5L, "1,234E-5"},
        {-9.9999e-6L, "-9,9999E-6"},
        {1.5e-7L, "1,5E-7"},
        {123456789012345.0L, "123456789012345"},
        {100000000000000.0L, "100000000000000"},
        {1e15L, "1E15"},
        {999999999999999.9L, "1E15"},
        {1234567890123456.0L, "1,23456789012346E15"},
        {1e20L, "1E20"},
        {-1e20L, "-1E20"},
        {2.0L / 3, "0,666666666666667"},
        {100.5L, "100,5"},
        {1e-300L, "1E-300"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatGeneral(c.x, ','), c.expected) << static_cast<double>(c.x);
    EXPECT_EQ(formatGeneral(4.996L, '.'), "4.996");
    EXPECT_EQ(formatGeneral(1.5e-7L, '.'), "1.5E-7");
}

TEST(NumTextFormat, NonFiniteDoesNotCrash) {
    const long double bad[] = {std::numeric_limits<long double>::infinity(),
                               -std::numeric_limits<long double>::infinity(),
                               std::numeric_limits<long double>::quiet_NaN()};
    for (long double x : bad) {
        EXPECT_FALSE(formatGeneral(x, ',').empty());
        EXPECT_FALSE(formatFixed(x, 3, ',').empty());
        EXPECT_FALSE(formatExpo(x, ',').empty());
    }
}

// Whatever the program writes, it must read back (the edits hold formatted text).
TEST(NumTextRoundTrip, FormattedTextParsesBack) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 2000; ++i) {
        const long double x = mantissa(rng) * std::pow(10.0L, exponent(rng));
        for (char sep : {',', '.'}) {
            const std::string g = formatGeneral(x, sep);
            const auto back = parseNumber(withOneBlank(g), sep);
            ASSERT_TRUE(back.has_value()) << g;
            EXPECT_EQ(formatGeneral(*back, sep), g);
            EXPECT_NEAR(static_cast<double>(*back / x), 1.0, 1e-14) << g;

            const std::string e = formatExpo(x, sep);
            const auto backE = parseNumber(e, sep);
            ASSERT_TRUE(backE.has_value()) << e;
            EXPECT_EQ(formatExpo(*backE, sep), e);

            const std::string f = formatFixed(x, 3, sep);
            const auto backF = parseNumber(f, sep);
            ASSERT_TRUE(backF.has_value()) << f;
            EXPECT_LE(std::fabs(static_cast<double>(*backF - x)),
                      std::fmax(0.0005, std::fabs(static_cast<double>(x)) * 1e-14))
                << f;
        }
    }
}

// The toolkit puts the C library into the user's locale; with a German one a
// locale-bound conversion would read and write ',' for the point.
TEST(NumTextLocale, IndependentOfTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"})
        if (std::setlocale(LC_ALL, name)) {
            german = name;
            break;
        }
    if (!german) GTEST_SKIP() << "no German locale installed";

    const auto dot = parseNumber("2.5", '.');
    const auto comma = parseNumber("2,5", ',');
    const auto wrong = parseNumber("2,5", '.');
    const std::string fixed = formatFixed(0.7955L, 3, '.');
    const std::string expo = formatExpo(123456.7L, '.');
    const std::string general = formatGeneral(4.996L, '.');
    std::setlocale(LC_ALL, saved.c_str());

    ASSERT_TRUE(dot.has_value());
    EXPECT_EQ(*dot, 2.5L);
    ASSERT_TRUE(comma.has_value());
    EXPECT_EQ(*comma, 2.5L);
    EXPECT_FALSE(wrong.has_value());
    EXPECT_EQ(fixed, "0.796");
    EXPECT_EQ(expo, "1.23457E+05");
    EXPECT_EQ(general, "4.996");
}

TEST(NumTextBlank, ExactlyOneLeadingBlank) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"5", " 5"},
        {" 5", " 5"},
        {"   5", " 5"},
        {"", " "},
        {"   ", " "},
        {"5 ", " 5 "},
        {"-2,5E+05", " -2,5E+05"},
    };
    for (const auto& c : cases) EXPECT_EQ(withOneBlank(c.in), c.out) << '"' << c.in << '"';
}

}  // namespace
}  // namespace velkaro
