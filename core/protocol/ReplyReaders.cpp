#include "ReplyReaders.h"

#include <climits>

namespace lumivane {

std::optional<int> readListNumber(std::string_view text, size_t& position)
{
    size_t start = position < text.size() ? text.find_first_of("0123456789", position) : std::string_view::npos;
    if (start == std::string_view::npos) {
        position = text.size();
        return std::nullopt;
    }
    const size_t comma = text.find(',', start);
    const size_t end = comma == std::string_view::npos ? text.size() : comma;
    position = comma == std::string_view::npos ? text.size() : comma + 1;

    long long value = 0;
    for (size_t i = start; i < end && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) {
            return INT_MAX;
        }
    }
    return int(value);
}

std::string formatMacAddress(std::string_view reply)
{
    constexpr size_t kDigits = 12;
    if (reply.size() < kDigits) {
        return {};
    }
    std::string mac;
    for (size_t i = 0; i < kDigits; i += 2) {
        if (i > 0) {
            mac += '-';
        }
        mac.append(reply.substr(i, 2));
    }
    return mac;
}

} // namespace lumivane
