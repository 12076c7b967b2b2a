#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivane::tessera {

// Appends `text` as a field of the store's files: "," and "\" are escaped with a backslash, CR and LF
// become spaces.
void appendEscaped(std::string& out, std::string_view text);

// Reads the fields of one line, left to right. A field runs to the first comma that is not escaped;
// "\," and "\\" stand for the second character, any other backslash is kept.
class FieldReader
{
public:
    explicit FieldReader(std::string_view line) : m_rest(line) {}

    // The next field, unescaped; empty once the line is used up. Valid until the next call.
    std::string_view nextText();
    int32_t nextInteger() { return parseInteger(nextText()); }
    bool nextFlag() { return parseFlag(nextText()); }
    bool atEnd() const { return m_exhausted; }

    // Read like atoi: leading blanks, optional sign, digits up to the first other character; else 0.
    static int32_t parseInteger(std::string_view text);
    // True exactly for "true" in any case.
    static bool parseFlag(std::string_view text);

private:
    void advancePast(size_t comma);
    // Position of the first comma or backslash, or npos.
    static size_t findDelimiter(std::string_view text);

    std::string_view m_rest;
    std::string m_field;
    bool m_exhausted = false;
};

// Splits file content into lines: LF ends a line, a CR before it is dropped, a last line without LF
// still counts, and nothing follows a final LF.
template <typename Visit>
void forEachLine(std::string_view content, Visit&& visit)
{
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        const size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        visit(line);
        start = next;
    }
}

} // namespace lumivane::tessera
