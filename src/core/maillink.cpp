#include "core/maillink.h"

#include <cstddef>
#include <string_view>

namespace velkaro {

namespace {

// Blanks matter here: the subject lines the version up with the build date the
// way mail programs of the time showed it.
constexpr std::string_view kSubject =
    "kl. VKO V3.0 Beta 2"
    "           "  // eleven blanks
    "Build vom:  08.06.2011";

constexpr std::string_view kBody =
    "kurze Fehlerbeschreibung: (Bei welcher Berechnung tritt der Fehler auf?)"
    "%0A%0A%0Aoder%0A%0A%0A"
    "Verbesserungen am Programms (bitte kurze Beschreibung)";

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters RFC 3986 allows literally (reserved and unreserved), '%' excluded.
bool staysLiteral(unsigned char c) {
    if (isAlnum(c)) {
        return true;
    }
    constexpr std::string_view kAllowed = ":/?#[]@!$&'()*+,;=-._~";
    return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string infoMailLink(const std::string& recipient) {
    std::string link;
    link.reserve(7 + recipient.size() + 9 + kSubject.size() + 6 + kBody.size());
    link += "mailto:";
    link += recipient;
    link += "?Subject=";
    link += kSubject;
    link += "&Body=";
    link += kBody;
    return link;
}

std::string encodeForUrl(const std::string& link) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(link.size() * 3 / 2);
    for (std::size_t i = 0; i < link.size(); ++i) {
        const auto c = static_cast<unsigned char>(link[i]);
        const bool isEscape =
            c == '%' && i + 2 < link.size() && isHexDigit(link[i + 1]) && isHexDigit(link[i + 2]);
        if (isEscape) {
            out.append(link, i, 3);
            i += 2;
        } else if (c != '%' && staysLiteral(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}  // namespace velkaro
