#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lumivane::test {

// A mail text taken apart the way a receiving program reads it: CR LF lines, folded header lines
// unfolded, RFC 2047 "=?UTF-8?B?...?=" words decoded.
struct ParsedMail
{
    bool wellFormed = false; // every line ends with CR LF, and an empty line ends the headers
    std::vector<std::pair<std::string, std::string>> headers; // name, raw unfolded value
    std::string body;

    std::vector<std::string> values(const std::string& name) const; // names compared ignoring case
    std::string decodedSubject() const;
};

ParsedMail parseMail(const std::string& text);
std::string decodeBase64(const std::string& text);

} // namespace lumivane::test
