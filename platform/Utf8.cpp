#include "Utf8.h"

#include <cstring>

namespace lumivane {

std::string_view cutUtf8(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    size_t end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the character that would be split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

void copyToField(char* field, size_t width, std::string_view text)
{
    const std::string_view cut = cutUtf8(text, width - 1);
    if (!cut.empty()) // an empty view may carry a null pointer, which memcpy must not get
        std::memcpy(field, cut.data(), cut.size());
    field[cut.size()] = '\0';
}

} // namespace lumivane
