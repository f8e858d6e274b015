#include "core/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>
#include <utility>

namespace velkaro {

namespace {

// Significant digits every fixed and expo result is derived from. Rounding the
// binary value to this many digits first makes 0.7955 (stored slightly below) show
// as 0,796: the user typed a tie and expects it to round like one.
constexpr int kBaseDigits = 18;
constexpr int kGeneralDigits = 15;
constexpr int kExpoDigits = 6;
constexpr int kMaxDecimals = 18;
// General format writes plainly from 0,0001 up to 15 integer digits; below that
// the leading zeros would crowd out the significant ones.
constexpr int kPlainMinExponent = -4;

// A finite value as a decimal digit string: value = ±d0.d1d2… × 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// std::to_chars rather than snprintf: the toolkit switches the C library to the
// user's locale at start-up, and snprintf would then write a ',' for the point.
// libstdc++ normalises the radix, but the scan below only picks digits anyway.
Decimal toDecimal(long double x, int significant) {
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, significant - 1);
    Decimal d;
    const char* p = buf;
    const char* const end = (res.ec == std::errc{}) ? res.ptr : buf;
    if (p != end && *p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
    if (p != end) {
        ++p;                             // 'e'
        if (p != end && *p == '+') ++p;  // from_chars for int takes '-' only
        std::from_chars(p, end, d.exponent);
    }
    // Keeps the callers free of length checks even if the conversion failed.
    d.digits.resize(static_cast<std::size_t>(significant), '0');
    return d;
}

// Adds one unit in the last place; returns true when the number grew a digit
// ("999" → "1000"). An empty string counts as zero and becomes "1".
bool increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// The first `keep` digits, rounded half away from zero by the digit that follows.
// Working on the text keeps the decimal tie a tie; binary arithmetic would not.
std::string roundedPrefix(const std::string& digits, std::size_t keep, bool* grew) {
    std::string kept = digits.substr(0, keep);
    const bool up = keep < digits.size() && digits[keep] >= '5';
    const bool carry = up && increment(kept);
    if (grew) *grew = carry;
    return kept;
}

bool allZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

std::string stripTrailingZeros(std::string digits) {
    const auto last = digits.find_last_not_of('0');
    digits.erase(last == std::string::npos ? 1 : last + 1);
    return digits;
}

// Length of the blank that begins `s`: a control character or space (one byte),
// or one of Unicode's space separators in UTF-8 (the no-break space that text
// copied from a web page brings along, the narrow and the ideographic spaces).
std::size_t blankAt(std::string_view s) {
    if (s.empty()) return 0;
    // Unsigned compare: UTF-8 lead bytes are negative as char.
    const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (byte(0) <= ' ') return 1;
    if (s.size() >= 2 && byte(0) == 0xC2 && byte(1) == 0xA0) return 2;  // U+00A0
    if (s.size() < 3) return 0;
    const unsigned cp = ((byte(0) & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
    if ((byte(0) & 0xF0u) != 0xE0u || (byte(1) & 0xC0u) != 0x80u || (byte(2) & 0xC0u) != 0x80u)
        return 0;
    const bool space = cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F ||
                       cp == 0x205F || cp == 0x3000;
    return space ? 3 : 0;
}

// Blanks of any kind around a number are no part of it.
void trimBlanks(std::string_view& text) {
    for (std::size_t n; (n = blankAt(text)) > 0;) text.remove_prefix(n);
    for (bool trimmed = true; trimmed && !text.empty();) {
        trimmed = false;
        for (std::size_t n = 1; n <= 3 && n <= text.size(); ++n) {
            if (blankAt(text.substr(text.size() - n)) == n) {
                text.remove_suffix(n);
                trimmed = true;
                break;
            }
        }
    }
}

}  // namespace

std::optional<long double> parseNumber(std::string_view text, char sep) {
    trimBlanks(text);

    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::string plain;  // the same number with '.' as the point
    plain.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();

    if (i < n && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
    bool mantissaDigit = false;
    bool point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            mantissaDigit = true;
            plain.push_back(c);
        } else if (c == sep && !point) {
            point = true;
            plain.push_back('.');
        } else {
            break;
        }
    }
    if (!mantissaDigit) return std::nullopt;

    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        plain.push_back('e');
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
        bool exponentDigit = false;
        for (; i < n && isDigit(text[i]); ++i) {
            exponentDigit = true;
            plain.push_back(text[i]);
        }
        if (!exponentDigit) return std::nullopt;
    }
    if (i != n) return std::nullopt;

    // std::from_chars would be the natural choice, but libstdc++ reports every
    // subnormal long double as out of range, and plain strtold reads the point
    // of the process locale, which the toolkit sets from the environment. A
    // stream with the classic locale converts in the "C" locale regardless, and
    // flags only overflow (it then fails). Setting up a stream costs more than
    // the conversion, so each thread keeps one.
    thread_local std::istringstream in = [] {
        std::istringstream stream;
        stream.imbue(std::locale::classic());
        return stream;
    }();
    in.clear();
    in.str(std::move(plain));
    long double value = 0;
    in >> value;
    if (in.fail() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string formatFixed(long double x, int decimals, char sep) {
    if (!std::isfinite(x)) return formatGeneral(x, sep);
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const Decimal d = toDecimal(x, kBaseDigits);
    // More integer digits than the precision holds: exponent notation with all
    // 18 significant digits, so that the text still reads back as the value.
    if (d.exponent >= kBaseDigits) return generalFormat(x, sep, kBaseDigits);

    // `units` is the value in units of the last shown decimal, as a digit string.
    const int keep = d.exponent + 1 + decimals;
    std::string units;
    if (keep >= kBaseDigits)
        units = d.digits + std::string(static_cast<std::size_t>(keep - kBaseDigits), '0');
    else if (keep >= 0)
        units = roundedPrefix(d.digits, static_cast<std::size_t>(keep), nullptr);
    // keep < 0: below a tenth of a unit, nothing can round up.

    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (units.size() < width) units.insert(0, width - units.size(), '0');
    while (units.size() > width && units.front() == '0') units.erase(0, 1);

    std::string out;
    if (d.negative && !allZero(units)) out.push_back('-');
    const std::size_t intLen = units.size() - static_cast<std::size_t>(decimals);
    out.append(units, 0, intLen);
    if (decimals > 0) {
        out.push_back(sep);
        out.append(units, intLen, std::string::npos);
    }
    return out;
}

std::string formatExpo(long double x, char sep) {
    if (!std::isfinite(x)) return formatGeneral(x, sep);
    Decimal d = toDecimal(x, kBaseDigits);
    bool grew = false;
    std::string m = roundedPrefix(d.digits, kExpoDigits, &grew);
    if (grew) {  // 9,999995 → 10,0000: one digit too many, one decade up
        m.pop_back();
        ++d.exponent;
    }
    const bool zero = allZero(m);
    if (zero) d.exponent = 0;

    std::string out;
    if (d.negative && !zero) out.push_back('-');
    out.push_back(m[0]);
    out.push_back(sep);
    out.append(m, 1, std::string::npos);
    out.push_back('E');
    out.push_back(d.exponent < 0 ? '-' : '+');
    const std::string e = std::to_string(std::abs(d.exponent));
    if (e.size() < 2) out.push_back('0');
    out += e;
    return out;
}

std::string formatGeneral(long double x, char sep) { return generalFormat(x, sep, kGeneralDigits); }

std::string generalFormat(long double x, char sep, int significant) {
    // Callers only pass finite values; "0" just keeps a slip harmless.
    if (!std::isfinite(x) || x == 0) return "0";
    const Decimal d = toDecimal(x, significant);
    const std::string digits = stripTrailingZeros(d.digits);
    const auto len = static_cast<int>(digits.size());

    std::string out;
    if (d.negative) out.push_back('-');
    if (d.exponent >= kPlainMinExponent && d.exponent < significant) {
        if (d.exponent >= 0) {
            const int intLen = d.exponent + 1;
            if (len <= intLen) {
                out += digits;
                out.append(static_cast<std::size_t>(intLen - len), '0');
            } else {
                out.append(digits, 0, static_cast<std::size_t>(intLen));
                out.push_back(sep);
                out.append(digits, static_cast<std::size_t>(intLen), std::string::npos);
            }
        } else {
            out.push_back('0');
            out.push_back(sep);
            out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            out += digits;
        }
        return out;
    }
    out.push_back(digits[0]);
    if (len > 1) {
        out.push_back(sep);
        out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out += std::to_string(d.exponent);
    return out;
}

std::string withOneBlank(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    std::string out(" ");
    if (first != std::string_view::npos) out.append(text.substr(first));
    return out;
}

}  // namespace velkaro
