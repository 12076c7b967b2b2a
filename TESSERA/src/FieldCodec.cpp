#include "FieldCodec.h"

#include "TextNumbers.h"

namespace lumivane::tessera {

void appendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case ',':
            out += "\\,";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
        case '\n':
            out += ' ';
            break;
        default:
            out += c;
        }
    }
}

std::string_view FieldReader::nextText()
{
    if (m_exhausted)
        return {};
    // Most fields hold no backslash: they are handed out as views of the line, without a copy.
    size_t stop = 0;
    while (stop < m_rest.size() && m_rest[stop] != ',' && m_rest[stop] != '\\')
        ++stop;
    if (stop == m_rest.size())
        stop = std::string_view::npos;
    if (stop == std::string_view::npos || m_rest[stop] == ',') {
        const std::string_view field = m_rest.substr(0, stop);
        advancePast(stop);
        return field;
    }
    m_field.assign(m_rest.substr(0, stop));
    size_t i = stop;
    for (; i < m_rest.size(); ++i) {
        const char c = m_rest[i];
        if (c == ',')
            break;
        if (c == '\\' && i + 1 < m_rest.size() && (m_rest[i + 1] == ',' || m_rest[i + 1] == '\\')) {
            m_field += m_rest[++i];
            continue;
        }
        m_field += c;
    }
    advancePast(i < m_rest.size() ? i : std::string_view::npos);
    return m_field;
}

void FieldReader::advancePast(size_t comma)
{
    if (comma == std::string_view::npos) {
        m_rest = {};
        m_exhausted = true;
    } else {
        m_rest.remove_prefix(comma + 1);
    }
}

int32_t FieldReader::parseInteger(std::string_view text)
{
    return parseAtoi(text);
}

bool FieldReader::parseFlag(std::string_view text)
{
    static constexpr std::string_view kTrue = "true";
    if (text.size() != kTrue.size())
        return false;
    for (size_t i = 0; i < kTrue.size(); ++i)
        if ((text[i] | 0x20) != kTrue[i])
            return false;
    return true;
}

} // namespace lumivane::tessera
