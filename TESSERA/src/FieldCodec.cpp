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
    m_field.clear();
    size_t i = 0;
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
    if (i < m_rest.size()) {
        m_rest.remove_prefix(i + 1);
    } else {
        m_rest = {};
        m_exhausted = true;
    }
    return m_field;
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
