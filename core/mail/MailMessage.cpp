#include "MailMessage.h"

#include "Utf8.h"

#include <cstring>

namespace lumivane {
namespace {

constexpr std::string_view kCrLf = "\r\n";
// 48 base64 characters, 60 with "=?UTF-8?B?" and "?=": even after "Subject: " a line stays within the 76
// characters that lines with encoded words may have.
constexpr size_t kBytesPerEncodedWord = 36;

bool isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

// RFC 5322 atext, with the bytes of UTF-8 characters allowed as RFC 6532 does.
bool isAtext(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
           std::strchr("!#$%&'*+-/=?^_`{|}~", byte) != nullptr || byte >= 0x80;
}

bool isDotAtom(std::string_view text)
{
    if (text.empty() || text.front() == '.' || text.back() == '.' || text.find("..") != std::string_view::npos)
        return false;
    for (const char c : text)
        if (c != '.' && !isAtext(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string quotedString(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (isControl(static_cast<unsigned char>(c)))
            continue;
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool belongsToDomain(unsigned char byte, bool literal)
{
    if (literal) // dtext: printable ASCII but the brackets and the backslash
        return byte > 0x20 && byte < 0x7F && byte != '[' && byte != ']' && byte != '\\';
    return byte == '.' || isAtext(byte);
}

std::string domainPart(std::string_view text)
{
    const bool literal = text.size() >= 2 && text.front() == '[' && text.back() == ']';
    const std::string_view inner = literal ? text.substr(1, text.size() - 2) : text;
    std::string domain;
    for (const char c : inner)
        if (belongsToDomain(static_cast<unsigned char>(c), literal))
            domain += c;
    return literal ? "[" + domain + "]" : domain;
}

std::string withoutControls(std::string_view text)
{
    std::string clean(text);
    for (char& c : clean)
        if (isControl(static_cast<unsigned char>(c)))
            c = ' ';
    return clean;
}

std::string base64(std::string_view bytes)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            encoded += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return encoded;
}

bool needsEncoding(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    // A long line, or a text a reader could take for an encoded word, is encoded as well.
    return text.size() > 900 || text.find("=?") != std::string_view::npos;
}

// The body with every line ended by CR LF, whatever line ends it came with; NUL bytes, which an 8bit
// body cannot carry, are dropped.
std::string normalizedBody(std::string_view body)
{
    std::string text;
    text.reserve(body.size() + body.size() / 32 + 2);
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r' || c == '\n') {
            text += kCrLf;
            if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
        } else if (c != '\0') {
            text += c;
        }
    }
    if (!text.empty() && !text.ends_with(kCrLf))
        text += kCrLf;
    return text;
}

} // namespace

std::string encodeSubject(std::string_view subject)
{
    const std::string clean = withoutControls(subject);
    if (!needsEncoding(clean))
        return clean;
    std::string encoded;
    std::string_view rest = clean;
    while (!rest.empty()) {
        std::string_view piece = cutUtf8(rest, kBytesPerEncodedWord);
        if (piece.empty()) // not UTF-8 at all: take the bytes as they come
            piece = rest.substr(0, kBytesPerEncodedWord);
        if (!encoded.empty())
            encoded += "\r\n ";
        encoded += "=?UTF-8?B?" + base64(piece) + "?=";
        rest.remove_prefix(piece.size());
    }
    return encoded;
}

std::string formatRecipient(std::string_view address)
{
    const size_t at = address.rfind('@');
    const std::string_view local = at == std::string_view::npos ? address : address.substr(0, at);
    std::string recipient = isDotAtom(local) ? std::string(local) : quotedString(local);
    if (at != std::string_view::npos)
        recipient += "@" + domainPart(address.substr(at + 1));
    return recipient;
}

namespace {

// One "To:" header with every recipient, separated by ", " and folded before a recipient that would
// take its line past 78 characters.
std::string toHeader(const std::vector<std::string>& recipients)
{
    constexpr size_t kLineLimit = 78;
    std::string header = "To: ";
    size_t lineLength = header.size();
    for (size_t i = 0; i < recipients.size(); ++i) {
        const std::string recipient = formatRecipient(recipients[i]);
        if (i > 0) {
            header += ',';
            ++lineLength;
            if (lineLength + 1 + recipient.size() > kLineLimit) {
                header += "\r\n";
                lineLength = 0;
            }
            header += ' ';
            ++lineLength;
        }
        header += recipient;
        lineLength += recipient.size();
    }
    return header + std::string(kCrLf);
}

} // namespace

std::string composeMessage(const MailMessage& message)
{
    std::string text;
    if (!message.from.empty())
        text += "From: " + withoutControls(message.from) + std::string(kCrLf);
    if (!message.recipients.empty())
        text += toHeader(message.recipients);
    text += "Subject: " + encodeSubject(message.subject) + std::string(kCrLf);
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: text/plain; charset=UTF-8\r\n";
    text += "Content-Transfer-Encoding: 8bit\r\n";
    text += kCrLf;
    text += normalizedBody(message.body);
    return text;
}

} // namespace lumivane
