#include "ProfileFile.h"

#include "SharedFile.h"

#include <cstdint>
#include <functional>

namespace lumivane {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// One line of the file as the profile functions see it.
struct ProfileLine {
    enum Kind { Other, Section, Entry } kind = Other;
    std::string_view name;  // section name or key
    std::string_view value; // entry value, trimmed, quotes kept
    size_t begin = 0;       // offset of the line in the content
    size_t end = 0;         // offset just after its line feed (or the content's end)
    bool blank = true;
};

ProfileLine parseLine(std::string_view content, size_t begin)
{
    ProfileLine line;
    line.begin = begin;
    const size_t feed = content.find('\n', begin);
    line.end = feed == std::string_view::npos ? content.size() : feed + 1;
    const std::string_view text = trim(content.substr(begin, (feed == std::string_view::npos ? content.size() : feed) - begin));
    line.blank = text.empty();
    if (text.empty() || text.front() == ';')
        return line;
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        line.kind = ProfileLine::Section;
        line.name = trim(text.substr(1, close == std::string_view::npos || close == 0 ? text.size() - 1 : close - 1));
        return line;
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return line;
    line.kind = ProfileLine::Entry;
    line.name = trim(text.substr(0, equals));
    line.value = trim(text.substr(equals + 1));
    return line;
}

// Calls `visit(line, inSection)` for every line; stops when it returns false.
void forEachLine(std::string_view content, std::string_view section,
                 const std::function<bool(const ProfileLine&, bool)>& visit)
{
    bool inSection = false;
    for (size_t at = 0; at < content.size();) {
        const ProfileLine line = parseLine(content, at);
        if (line.kind == ProfileLine::Section)
            inSection = equalsIgnoringCase(line.name, section);
        if (!visit(line, inSection))
            return;
        at = line.end;
    }
}

std::string_view unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile ProfileFile::load(const std::string& path)
{
    std::string content;
    std::string error;
    if (readSharedFile(path, FileAccess::SharedRead, content, error) != ReadResult::Ok)
        content.clear();
    return ProfileFile(std::move(content));
}

std::optional<std::string> ProfileFile::find(std::string_view section, std::string_view key) const
{
    std::optional<std::string> found;
    forEachLine(m_content, section, [&](const ProfileLine& line, bool inSection) {
        if (inSection && line.kind == ProfileLine::Entry && equalsIgnoringCase(line.name, key)) {
            found = std::string(unquote(line.value));
            return false;
        }
        return true;
    });
    return found;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    std::optional<std::string> value = find(section, key);
    return value ? *value : std::string(fallback);
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::optional<std::string> value = find(section, key);
    if (!value || value->empty())
        return fallback;
    return parseInteger(*value);
}

int ProfileFile::parseInteger(std::string_view text)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return static_cast<int>(negative ? 0u - value : value);
}

namespace {

bool isWritableEntry(std::string_view section, std::string_view key, std::string_view value)
{
    constexpr std::string_view lineBreaks("\r\n\0", 3);
    const std::string_view trimmedKey = trim(key);
    return section.find_first_of(lineBreaks) == std::string_view::npos && section.find(']') == std::string_view::npos &&
           key.find_first_of(lineBreaks) == std::string_view::npos && key.find('=') == std::string_view::npos &&
           !trimmedKey.empty() && trimmedKey.front() != '[' && trimmedKey.front() != ';' &&
           value.find_first_of(lineBreaks) == std::string_view::npos;
}

// The text that reads back as `value`.
std::string writtenValue(std::string_view value)
{
    const bool changedByReading =
        !value.empty() && (trim(value).size() != value.size() || unquote(value).size() != value.size());
    return changedByReading ? "\"" + std::string(value) + "\"" : std::string(value);
}

} // namespace

bool ProfileFile::setValue(std::string_view section, std::string_view key, std::string_view rawValue)
{
    if (!isWritableEntry(section, key, rawValue))
        return false;
    const std::string value = writtenValue(rawValue);
    const std::string lineEnd = m_content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::optional<ProfileLine> match;
    std::optional<size_t> sectionEnd; // just after the last non-empty line of the first matching section
    bool pastFirstSection = false;
    forEachLine(m_content, section, [&](const ProfileLine& line, bool inSection) {
        if (pastFirstSection && line.kind == ProfileLine::Section)
            return false;
        if (!inSection)
            return true;
        pastFirstSection = true;
        if (line.kind == ProfileLine::Entry && equalsIgnoringCase(line.name, key)) {
            match = line;
            return false;
        }
        if (!line.blank)
            sectionEnd = line.end;
        return true;
    });

    if (match) {
        const std::string_view old(m_content.data() + match->begin, match->end - match->begin);
        const size_t keyOffset = static_cast<size_t>(match->name.data() - old.data());
        std::string replacement = std::string(old.substr(0, keyOffset + match->name.size())) + "=" + std::string(value);
        if (old.size() >= 2 && old.substr(old.size() - 2) == "\r\n")
            replacement += "\r\n";
        else if (!old.empty() && old.back() == '\n')
            replacement += "\n";
        m_content.replace(match->begin, match->end - match->begin, replacement);
        return true;
    }
    const std::string entry = std::string(key) + "=" + std::string(value) + lineEnd;
    if (sectionEnd) {
        std::string insertion = entry;
        if (*sectionEnd > 0 && m_content[*sectionEnd - 1] != '\n')
            insertion = lineEnd + insertion;
        m_content.insert(*sectionEnd, insertion);
        return true;
    }
    if (!m_content.empty() && m_content.back() != '\n')
        m_content += lineEnd;
    m_content += "[" + std::string(section) + "]" + lineEnd + entry;
    return true;
}

bool ProfileFile::writeString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view value, std::string* error)
{
    std::string message;
    SidecarLock lock;
    if (!lock.acquire(path, FileAccess::ExclusiveWrite, message)) {
        if (error)
            *error = message;
        return false;
    }
    std::string content;
    if (const ReadResult read = readLockedFile(path, content, message);
        read != ReadResult::Ok && read != ReadResult::Missing) {
        if (error)
            *error = message;
        return false;
    }
    ProfileFile file(std::move(content));
    if (!file.setValue(section, key, value)) {
        if (error)
            *error = "The setting cannot be written as one line: [" + std::string(section) + "] " + std::string(key);
        return false;
    }
    AtomicFileWriter writer;
    if (!writer.open(path, message) || !writer.write(file.content()) || !writer.commit(message)) {
        if (error)
            *error = message;
        return false;
    }
    return true;
}

bool ProfileFile::writeInt(const std::string& path, std::string_view section, std::string_view key, int value,
                           std::string* error)
{
    return writeString(path, section, key, std::to_string(value), error);
}

} // namespace lumivane
