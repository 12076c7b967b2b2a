#include "CommandText.h"

#include <cctype>
#include <climits>
#include <cstdio>

namespace lumivane {
namespace {

std::string withNumber(std::string_view code, const char* format, int value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, format, value);
    return std::string(code) + digits;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string cleanDisplayText(std::string_view text)
{
    std::string clean;
    for (char c : text) {
        if (c != '"' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            clean += c;
        }
    }
    return clean;
}

} // namespace

std::string settingCommand(std::string_view code, int value)
{
    return withNumber(code, "%04d", value);
}

std::string queryCommand(std::string_view code)
{
    return std::string(code) + "????";
}

std::string dateCommand(const std::tm& localTime)
{
    char text[32];
    std::snprintf(text, sizeof text, "DATE%02d%02d%02d%02d%02d", ((localTime.tm_year % 100) + 100) % 100,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min);
    return text;
}

std::string textDisplayCommand(std::string_view line1, std::string_view line2)
{
    return "TXDP1:\"" + cleanDisplayText(line1) + "\",2:\"" + cleanDisplayText(line2) + "\"";
}

std::optional<std::string> formatCommand(std::string_view format, int value)
{
    std::string result;
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            result += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            result += '%';
            ++i;
            continue;
        }
        // "%", an optional "0", up to two width digits, "d".
        size_t pos = i + 1;
        const bool zeroPad = pos < format.size() && format[pos] == '0';
        pos += zeroPad ? 1 : 0;
        int width = 0;
        for (int digits = 0; digits < 2 && pos < format.size() && isDigit(format[pos]); ++digits, ++pos) {
            width = width * 10 + (format[pos] - '0');
        }
        if (filled || pos >= format.size() || format[pos] != 'd') {
            return std::nullopt;
        }
        char number[128];
        std::snprintf(number, sizeof number, zeroPad ? "%0*d" : "%*d", width, value);
        result += number;
        filled = true;
        i = pos;
    }
    if (!filled) {
        return std::nullopt;
    }
    return result;
}

std::string_view commandCode(std::string_view text)
{
    return text.substr(0, 4);
}

int commandParameter(std::string_view text)
{
    std::string_view rest = text.size() > 4 ? text.substr(4) : std::string_view();
    size_t pos = 0;
    while (pos < rest.size() && std::isspace(static_cast<unsigned char>(rest[pos]))) {
        ++pos;
    }
    bool negative = false;
    if (pos < rest.size() && (rest[pos] == '-' || rest[pos] == '+')) {
        negative = rest[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < rest.size() && isDigit(rest[pos]); ++pos) {
        value = value * 10 + (rest[pos] - '0');
        if (value > INT_MAX) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    return int(negative ? -value : value);
}

} // namespace lumivane
