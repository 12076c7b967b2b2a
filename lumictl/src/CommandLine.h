#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lumivane::ctl {

// A usage error: the message says what is wrong; the program ends with status 2.
struct UsageError {
    std::string message;
};

// The command line split into words and options. Options may stand anywhere, before or after the
// subcommand; "--name value" and "--name=value" both work; "--" ends the options.
class CommandLine
{
public:
    // Throws UsageError for an unknown option or one whose value is missing.
    static CommandLine parse(const std::vector<std::string>& arguments);

    const std::vector<std::string>& words() const { return m_words; }
    bool has(const std::string& option) const { return m_values.count(option) != 0; }
    // The last value given for the option.
    std::optional<std::string> value(const std::string& option) const;
    const std::vector<std::string>& values(const std::string& option) const;
    bool help() const { return has("help"); }

    // Throws UsageError when an option outside `allowed` was given.
    void allowOnly(const std::vector<std::string>& allowed) const;

private:
    std::vector<std::string> m_words;
    std::map<std::string, std::vector<std::string>> m_values;
};

// A whole decimal number within [low, high]; throws UsageError naming `what` otherwise.
int parseNumber(const std::string& text, int low, int high, const std::string& what);

} // namespace lumivane::ctl
