#include "core/maillink.h"

#include <gtest/gtest.h>

#include <string>

namespace velkaro {
namespace {

TEST(MailLinkText, IsExactlyRecipientSubjectAndBody) {
    EXPECT_EQ(infoMailLink("a@b.de"),
              "mailto:a@b.de?Subject=kl. VKO V3.0 Beta 2           Build vom:  08.06.2011"
              "&Body=kurze Fehlerbeschreibung: (Bei welcher Berechnung tritt der Fehler "
              "auf?)%0A%0A%0Aoder%0A%0A%0AVerbesserungen am Programms (bitte kurze "
              "Beschreibung)");
}

TEST(MailLinkText, SubjectKeepsItsBlankRuns) {
    const std::string link = infoMailLink(kInfoMailRecipient);
    EXPECT_NE(link.find("Beta 2" + std::string(11, ' ') + "Build vom:"), std::string::npos);
    EXPECT_EQ(link.find("Beta 2" + std::string(12, ' ')), std::string::npos);
    EXPECT_NE(link.find("Build vom:  08.06.2011&Body="), std::string::npos);
    EXPECT_EQ(link.rfind("mailto:velkaro@example.org?Subject=", 0), 0u);
}

TEST(MailLinkEncode, GivesTheUrlTheDesktopReceives) {
    EXPECT_EQ(encodeForUrl(infoMailLink(kInfoMailRecipient)),
              "mailto:velkaro@example.org?Subject=kl.%20VKO%20V3.0%20Beta%202"
              "%20%20%20%20%20%20%20%20%20%20%20Build%20vom:%20%2008.06.2011"
              "&Body=kurze%20Fehlerbeschreibung:%20(Bei%20welcher%20Berechnung%20tritt"
              "%20der%20Fehler%20auf?)%0A%0A%0Aoder%0A%0A%0AVerbesserungen%20am"
              "%20Programms%20(bitte%20kurze%20Beschreibung)");
}

TEST(MailLinkEncode, KeepsExistingEscapes) {
    EXPECT_EQ(encodeForUrl("a%0Ab"), "a%0Ab");
    EXPECT_EQ(encodeForUrl("%0a%ff%7E"), "%0a%ff%7E");
    EXPECT_EQ(encodeForUrl("x%20"), "x%20");  // escape right at the end
    // Encoding is idempotent: an encoded link passes through unchanged.
    const std::string once = encodeForUrl(infoMailLink("x@y.z"));
    EXPECT_EQ(encodeForUrl(once), once);
}

TEST(MailLinkEncode, EncodesLonePercent) {
    EXPECT_EQ(encodeForUrl("%"), "%25");
    EXPECT_EQ(encodeForUrl("50%"), "50%25");
    EXPECT_EQ(encodeForUrl("50% Rabatt"), "50%25%20Rabatt");
    EXPECT_EQ(encodeForUrl("%A"), "%25A");      // only one digit left
    EXPECT_EQ(encodeForUrl("%G1"), "%25G1");    // not a hex digit
    EXPECT_EQ(encodeForUrl("%%41"), "%25%41");  // the second one is an escape
}

TEST(MailLinkEncode, EncodesBlanksAndControlCharacters) {
    EXPECT_EQ(encodeForUrl(" "), "%20");
    EXPECT_EQ(encodeForUrl("a  b"), "a%20%20b");
    EXPECT_EQ(encodeForUrl("\n\t\r"), "%0A%09%0D");
    EXPECT_EQ(encodeForUrl(std::string(1, '\0')), "%00");
    EXPECT_EQ(encodeForUrl("\x7f"), "%7F");
}

TEST(MailLinkEncode, EncodesCharactersUrlsForbid) {
    EXPECT_EQ(encodeForUrl("\"<>\\^`{|}"), "%22%3C%3E%5C%5E%60%7B%7C%7D");
}

TEST(MailLinkEncode, EncodesUmlautsAsUtf8BytesInUpperCaseHex) {
    EXPECT_EQ(encodeForUrl("\xC3\xA4"), "%C3%A4");                    // ä
    EXPECT_EQ(encodeForUrl("Gr\xC3\xBC\xC3\x9F"), "Gr%C3%BC%C3%9F");  // Grüß
    EXPECT_EQ(encodeForUrl("\xC2\xB5H"), "%C2%B5H");                  // µH
}

TEST(MailLinkEncode, KeepsUrlPunctuationAndAlphanumerics) {
    const std::string kept = "ABCXYZabcxyz0189:?&=/@()!.,;+-_~*'#$[]";
    EXPECT_EQ(encodeForUrl(kept), kept);
    EXPECT_EQ(encodeForUrl(""), "");
}

}  // namespace
}  // namespace velkaro
