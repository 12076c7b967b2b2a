#include "CommandLine.h"

#include <algorithm>
#include <set>

namespace lumivane::ctl {
namespace {

// Options that take a value; the others are switches.
const std::set<std::string> kValueOptions = {"name", "lan", "com", "baud", "id", "model", "group", "user",
                                             "password", "on-error", "port", "parent", "days", "on", "off",
                                             "input", "from", "to", "enabled", "interval", "message-box",
                                             "attach-log", "use", "monitoring", "parallel", "grid", "bezel",
                                             "clear"};
const std::set<std::string> kSwitches = {"json",    "all",    "daisy-chain", "force",      "help",
                                         "reports", "errors", "replace",     "add", "clear-login",
                                         "portrait", "yes"};
// Options whose value may be left out: "search --lan" is a switch, "monitors add --lan A.B.C.D" is not.
const std::set<std::string> kOptionalValues = {"lan"};

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-' || argument == "-") {
            line.m_words.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h") {
            line.m_values["help"].push_back("");
            continue;
        }
        if (argument.rfind("--", 0) != 0)
            throw UsageError{"unknown option '" + argument + "'"};
        std::string name = argument.substr(2);
        std::optional<std::string> inlineValue;
        if (const size_t equals = name.find('='); equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        if (kSwitches.count(name)) {
            if (inlineValue)
                throw UsageError{"option '--" + name + "' takes no value"};
            line.m_values[name].push_back("");
        } else if (kValueOptions.count(name)) {
            if (!inlineValue) {
                const bool valueLeftOut = i + 1 >= arguments.size() || arguments[i + 1].rfind("-", 0) == 0;
                if (kOptionalValues.count(name) && valueLeftOut) {
                    line.m_values[name].push_back("");
                    continue;
                }
                if (i + 1 >= arguments.size())
                    throw UsageError{"option '--" + name + "' needs a value"};
                inlineValue = arguments[++i];
            }
            line.m_values[name].push_back(*inlineValue);
        } else {
            throw UsageError{"unknown option '--" + name + "'"};
        }
    }
    return line;
}

std::optional<std::string> CommandLine::value(const std::string& option) const
{
    const auto found = m_values.find(option);
    if (found == m_values.end() || found->second.empty())
        return std::nullopt;
    return found->second.back();
}

const std::vector<std::string>& CommandLine::values(const std::string& option) const
{
    static const std::vector<std::string> kNone;
    const auto found = m_values.find(option);
    return found == m_values.end() ? kNone : found->second;
}

void CommandLine::allowOnly(const std::vector<std::string>& allowed) const
{
    for (const auto& [name, given] : m_values)
        if (name != "help" && name != "on-error" &&
            std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            throw UsageError{"option '--" + name + "' does not apply here"};
}

int parseNumber(const std::string& text, int low, int high, const std::string& what)
{
    const bool digits = !text.empty() && text.size() <= 9 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int value = digits ? std::stoi(text) : -1;
    if (!digits || value < low || value > high)
        throw UsageError{what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) +
                         ", not '" + text + "'"};
    return value;
}

} // namespace lumivane::ctl
