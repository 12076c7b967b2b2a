#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// An INI file with the classic profile semantics: sections and keys compared ignoring case, lines and
// values trimmed, one pair of matching outer quotes removed from a value, the first match wins, lines
// before the first section and lines starting with ";" ignored. A missing file or key gives the default.
class ProfileFile
{
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string content) : m_content(std::move(content)) {}

    // Reads the file under its shared-file lock; a missing or unreadable file reads as empty.
    static ProfileFile load(const std::string& path);

    // The value of the first `key` in a section named `section`; nullopt when there is none.
    // "key=" gives an empty text.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // An optional sign and the digits up to the first other character, taken modulo 2^32; a value
    // without digits reads as 0, an empty value or a missing key as `fallback`.
    int readInt(std::string_view section, std::string_view key, int fallback) const;

    // Sets `key` to `value`: the first existing entry is replaced in place, else the entry is added at the
    // end of the section, else the section is appended. Every other line stays byte for byte. A value that
    // reading would change (outer blanks or quotes) is written in double quotes, so it reads back whole.
    // False, and nothing changed, when the entry cannot be written as one line that reads back: a line
    // break or NUL anywhere, an empty key, "=" in the key, "]" in the section name.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    const std::string& content() const { return m_content; }

    // Reads, changes and rewrites the file whole under its exclusive lock (a new file when missing); an
    // entry setValue() refuses fails without touching the file.
    static bool writeString(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view value, std::string* error = nullptr);
    static bool writeInt(const std::string& path, std::string_view section, std::string_view key, int value,
                         std::string* error = nullptr);

    static int parseInteger(std::string_view text);

private:
    std::string m_content;
};

} // namespace lumivane
