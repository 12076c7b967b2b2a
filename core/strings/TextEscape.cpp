#include "TextEscape.h"

#include <cstdint>
#include <cstdio>

namespace lumivane {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the UTF-8 sequence at `text[at]`; `length` is its byte count (1 for an invalid byte, which
// gives kInvalid). Overlong forms, surrogates and values past U+10FFFF are invalid.
char32_t decodeAt(std::string_view text, size_t at, size_t& length)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    length = 1;
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return lead;
    size_t count;
    char32_t value;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        count = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return kInvalid;
    }
    if (at + count > text.size())
        return kInvalid;
    for (size_t i = 1; i < count; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kInvalid;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return kInvalid;
    length = count;
    return value;
}

bool isHidden(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

std::string escapeForTerminal(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t length = 0;
    for (size_t at = 0; at < text.size(); at += length) {
        const char32_t c = decodeAt(text, at, length);
        char escaped[16];
        if (c == kInvalid) {
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[at]));
            out += escaped;
        } else if (isHidden(c)) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out.append(text.substr(at, length));
        }
    }
    return out;
}

std::string validUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t length = 0;
    for (size_t at = 0; at < text.size(); at += length) {
        if (decodeAt(text, at, length) == kInvalid)
            out += "\xEF\xBF\xBD";
        else
            out.append(text.substr(at, length));
    }
    return out;
}

} // namespace lumivane
