#pragma once
// The mail link behind "E-Mail an den Autor senden" in the Info dialog, and the
// encoding that turns such a link into a URL the desktop accepts.

#include <string>

namespace velkaro {

// Where error reports and suggestions go.
inline constexpr const char* kInfoMailRecipient = "velkaro@example.org";

// "mailto:" + recipient, followed by the prepared subject (program version and
// build date) and the prepared body. The body already carries its line breaks as
// "%0A" escapes; everything else is plain UTF-8 text with blanks.
std::string infoMailLink(const std::string& recipient);

// Percent-encodes (UTF-8 bytes, upper-case hex) every byte that may not stand in a
// URL as it is: blanks, control characters, non-ASCII bytes and " < > \ ^ ` { | }.
// Reserved and unreserved characters (: / ? # [ ] @ ! $ & ' ( ) * + , ; = - . _ ~
// and alphanumerics) stay. An existing escape ('%' and two hex digits) is kept as
// it is, so the link is never encoded twice; a lone '%' becomes "%25".
std::string encodeForUrl(const std::string& link);

}  // namespace velkaro
