#include "FieldCodec.h"

#include "TextNumbers.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

size_t FieldReader::findDelimiter(std::string_view text)
{
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: the store's lines are long runs of plain field text.
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, backslash)));
        if (hits != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    for (; i < text.size(); ++i)
        if (text[i] == ',' || text[i] == '\\')
            return i;
    return std::string_view::npos;
}

std::string_view FieldReader::nextText()
{
    if (m_exhausted)
        return {};
    size_t stop = findDelimiter(m_rest);
    // Most fields hold no backslash: they are handed out as views of the line, without a copy.
    if (stop == std::string_view::npos || m_rest[stop] == ',') {
        const std::string_view field = m_rest.substr(0, stop);
        advancePast(stop);
        return field;
    }
    // Copy the runs between the escapes.
    m_field.clear();
    size_t from = 0;
    while (stop != std::string_view::npos && m_rest[stop] == '\\') {
        m_field.append(m_rest.substr(from, stop - from));
        const bool escape = stop + 1 < m_rest.size() && (m_rest[stop + 1] == ',' || m_rest[stop + 1] == '\\');
        m_field += escape ? m_rest[stop + 1] : '\\';
        from = stop + (escape ? 2 : 1);
        const size_t next = findDelimiter(m_rest.substr(from));
        stop = next == std::string_view::npos ? next : from + next;
    }
    m_field.append(m_rest.substr(from, stop == std::string_view::npos ? std::string_view::npos : stop - from));
    advancePast(stop);
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
