// Fuzz target: the number parser and the three display formats. Any text either
// parses to a finite number or to none; every finite value, written in each
// format with either separator, parses back to itself within the format's
// rounding.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "core/numtext.h"

using namespace velkaro;

namespace {

[[noreturn]] void fail(const char* what, long double x, const std::string& text) {
    std::fprintf(stderr, "%s: value %.21Lg, text '%s'\n", what, x, text.c_str());
    std::abort();
}

long double readBack(const char* what, long double x, const std::string& text, char sep) {
    if (text.empty() || text.front() == ' ') fail("leading blank or empty", x, text);
    for (const char* bad : {"inf", "nan", "INF", "NAN", "Inf", "NaN"}) {
        if (text.find(bad) != std::string::npos) fail("infinity or nan shown", x, text);
    }
    const auto back = parseNumber(text, sep);
    if (!back) fail(what, x, text);
    // A value that rounds to zero carries no sign.
    if (*back == 0 && text.front() == '-') fail("negative zero shown", x, text);
    return *back;
}

void check(const char* what, long double x, long double back, long double tolerance,
           const std::string& text) {
    // The parse itself is exact to the last bit of the extended format, which
    // near the subnormal range is no longer relative.
    const long double slack = std::numeric_limits<long double>::denorm_min() * 2 +
                              std::fabs(x) * 4 * std::numeric_limits<long double>::epsilon();
    if (!(std::fabs(back - x) <= tolerance + slack)) fail(what, x, text);
}

void formatsReadBack(long double x) {
    for (const char sep : {',', '.'}) {
        const long double ax = std::fabs(x);
        // fixed: 18 significant digits first, then half a unit of the last place.
        for (const int places : {0, 1, 2, 3}) {
            const std::string t = formatFixed(x, places, sep);
            const long double back = readBack("fixed does not parse back", x, t, sep);
            check("fixed off by more than its rounding", x, back,
                  0.5L * std::pow(10.0L, -places) + ax * 1e-17L, t);
        }
        const std::string e = formatExpo(x, sep);
        check("expo off by more than its rounding", x,
              readBack("expo does not parse back", x, e, sep), ax * 5.0000001e-6L, e);
        const std::string g = formatGeneral(x, sep);
        check("general off by more than its rounding", x,
              readBack("general does not parse back", x, g, sep), ax * 5.0000001e-15L, g);
        const std::string w = withOneBlank(g);
        if (w.size() < 2 || w[0] != ' ' || w[1] == ' ') fail("not one blank", x, w);
        if (parseNumber(w, sep) != parseNumber(g, sep)) fail("blank changes the value", x, w);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char sep : {',', '.'}) {
        const auto v = parseNumber(text, sep);
        if (!v) continue;
        if (!std::isfinite(*v)) fail("parsed a non-finite value", 0, std::string(text));
        formatsReadBack(*v);
    }
    // The program's values are doubles: the first eight bytes as one.
    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, data, sizeof d);
        if (std::isfinite(d)) formatsReadBack(d);
    }
    return 0;
}
