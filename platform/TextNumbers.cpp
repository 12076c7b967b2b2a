#include "TextNumbers.h"

#include <algorithm>
#include <climits>

namespace lumivane {

int32_t parseAtoi(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr unsigned long long kLimit = static_cast<unsigned long long>(LLONG_MAX) + 1;
    unsigned long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = magnitude > kLimit / 10 ? kLimit : std::min(kLimit, magnitude * 10 + (text[i] - '0'));
    long long value;
    if (negative)
        value = magnitude >= kLimit ? LLONG_MIN : -static_cast<long long>(magnitude);
    else
        value = magnitude >= kLimit ? LLONG_MAX : static_cast<long long>(magnitude);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long long>(value)));
}

} // namespace lumivane
