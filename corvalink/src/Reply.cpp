#include "Reply.h"

#include "LinkLimits.h"

#include <cstdio>
#include <limits>

namespace lumivane::link {

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool hasIdPrefix(std::string_view line)
{
    return line.size() >= 4 && line[0] == '#' && isDigit(line[1]) && isDigit(line[2]) && isDigit(line[3]);
}
} // namespace

ReplyWord classifyReply(std::string_view line)
{
    if (line == "OK")
        return ReplyWord::Ok;
    if (line == "ERR")
        return ReplyWord::Err;
    if (line == "LOCKED")
        return ReplyWord::Locked;
    if (line == "IFERR")
        return ReplyWord::IfErr;
    return ReplyWord::Value;
}

int32_t settingStatus(std::string_view line)
{
    switch (classifyReply(line)) {
    case ReplyWord::Ok:
        return 0;
    case ReplyWord::Err:
        return 9;
    case ReplyWord::Locked:
        return 10;
    case ReplyWord::IfErr:
        return 14;
    case ReplyWord::Value:
        break;
    }
    return 1;
}

int32_t queryStatus(std::string_view line)
{
    switch (classifyReply(line)) {
    case ReplyWord::Value:
        return 0;
    case ReplyWord::Ok:
        return 1;
    default:
        return settingStatus(line);
    }
}

bool takeIdPrefix(std::string_view& line, int id)
{
    if (id == 0)
        return !hasIdPrefix(line);
    if (!hasIdPrefix(line))
        return false;
    const int replyId = (line[1] - '0') * 100 + (line[2] - '0') * 10 + (line[3] - '0');
    if (replyId != id)
        return false;
    line.remove_prefix(4);
    return true;
}

std::string idPrefix(int id)
{
    if (id <= 0 || id > 255)
        return {};
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "#%03d", id);
    return prefix;
}

bool isPlainText(std::string_view line)
{
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
            return false;
    }
    return true;
}

int32_t readNumber(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    int64_t value = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value >= limit ? limit - 1 : value);
}

bool readPair(std::string_view text, int32_t& first, int32_t& second)
{
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return false;
    first = readNumber(text.substr(0, comma));
    second = readNumber(text.substr(comma + 1));
    return true;
}

bool isSendableCommand(std::string_view text)
{
    return !text.empty() && text.size() <= kMaxCommandText && isPlainText(text) && text.find('\t') == text.npos;
}

} // namespace lumivane::link
