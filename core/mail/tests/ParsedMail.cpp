#include "ParsedMail.h"

#include <strings.h>

namespace lumivane::test {

std::vector<std::string> ParsedMail::values(const std::string& name) const
{
    std::vector<std::string> found;
    for (const auto& [headerName, value] : headers)
        if (::strcasecmp(headerName.c_str(), name.c_str()) == 0)
            found.push_back(value);
    return found;
}

std::string ParsedMail::decodedSubject() const
{
    const std::vector<std::string> subjects = values("Subject");
    if (subjects.size() != 1)
        return "<" + std::to_string(subjects.size()) + " subjects>";
    const std::string& raw = subjects[0];
    if (raw.rfind("=?", 0) != 0)
        return raw;
    std::string decoded;
    size_t position = 0;
    while ((position = raw.find("=?UTF-8?B?", position)) != std::string::npos) {
        const size_t start = position + 10;
        const size_t end = raw.find("?=", start);
        decoded += decodeBase64(raw.substr(start, end - start));
        position = end + 2;
    }
    return decoded;
}

std::string decodeBase64(const std::string& text)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    unsigned group = 0;
    int bits = 0;
    for (const char c : text) {
        const size_t value = alphabet.find(c);
        if (value == std::string::npos)
            continue; // padding
        group = (group << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return bytes;
}

ParsedMail parseMail(const std::string& text)
{
    ParsedMail mail;
    size_t position = 0;
    bool headersEnded = false;
    while (position < text.size() && !headersEnded) {
        const size_t end = text.find("\r\n", position);
        if (end == std::string::npos)
            return mail;
        const std::string line = text.substr(position, end - position);
        position = end + 2;
        if (line.find_first_of("\r\n") != std::string::npos)
            return mail; // a bare CR or LF inside a header
        if (line.empty()) {
            headersEnded = true;
        } else if (line[0] == ' ' || line[0] == '\t') {
            if (mail.headers.empty())
                return mail;
            mail.headers.back().second += line.substr(1);
        } else {
            const size_t colon = line.find(':');
            if (colon == std::string::npos)
                return mail;
            const size_t valueStart = line.find_first_not_of(' ', colon + 1);
            mail.headers.emplace_back(line.substr(0, colon),
                                      valueStart == std::string::npos ? "" : line.substr(valueStart));
        }
    }
    mail.body = text.substr(position);
    bool bodyLinesEndWithCrLf = true;
    for (size_t i = 0; i < mail.body.size(); ++i)
        if ((mail.body[i] == '\n' && (i == 0 || mail.body[i - 1] != '\r')) ||
            (mail.body[i] == '\r' && (i + 1 == mail.body.size() || mail.body[i + 1] != '\n')))
            bodyLinesEndWithCrLf = false;
    mail.wellFormed = headersEnded && bodyLinesEndWithCrLf;
    return mail;
}

} // namespace lumivane::test
