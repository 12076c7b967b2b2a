#include "CtlText.h"

#include "CommandLine.h"
#include "TextEscape.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cstdio>

namespace lumivane::ctl {

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string jsonText(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : validUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string oneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\r')
            continue;
        line += c == '\n' ? ' ' : c;
    }
    return line;
}

InputModeIndex parseInput(const std::string& text)
{
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        const int index = parseNumber(text, 1, 107, "the input");
        if (!inputModeName(index).empty() && index != kNoInput)
            return index;
    }
    for (InputModeIndex index = 1; index <= kLastZrInput; ++index) {
        const std::string name = inputModeName(index);
        if (!name.empty() && lower(name) == lower(text))
            return index;
    }
    std::string known;
    for (InputModeIndex index = 1; index <= kLastZrInput; ++index)
        if (!inputModeName(index).empty())
            known += "\n  " + std::to_string(index) + "  " + inputModeName(index);
    throw UsageError{"unknown input '" + text + "'; the inputs are:" + known};
}

LanEndpoint parseLanEndpoint(const std::string& text)
{
    const size_t colon = text.find(':');
    const std::string host = text.substr(0, colon);
    in_addr parsed{};
    const bool dotted = std::count(host.begin(), host.end(), '.') == 3 &&
                        host.find_first_not_of("0123456789.") == std::string::npos;
    if (!dotted || ::inet_pton(AF_INET, host.c_str(), &parsed) != 1)
        throw UsageError{"'" + text + "' is not an IPv4 address A.B.C.D[:PORT]"};
    LanEndpoint endpoint{ntohl(parsed.s_addr), std::nullopt};
    if (colon != std::string::npos) {
        const std::string port = text.substr(colon + 1);
        if (port.empty() || port.size() > 9 || port.find_first_not_of("0123456789") != std::string::npos)
            throw UsageError{"'" + text + "' is not an IPv4 address A.B.C.D[:PORT]"};
        endpoint.port = std::stoi(port);
    }
    return endpoint;
}

bool parseYesNo(const std::string& text, const std::string& what)
{
    if (text == "yes")
        return true;
    if (text == "no")
        return false;
    throw UsageError{what + " must be yes or no, not '" + text + "'"};
}

} // namespace lumivane::ctl
