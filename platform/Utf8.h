#pragma once

#include <cstddef>
#include <string_view>

namespace lumivane {

// The longest prefix of `text` of at most `maxBytes` bytes that does not end inside a UTF-8 character.
std::string_view cutUtf8(std::string_view text, size_t maxBytes);

// Copies `text` cut with cutUtf8 to a field of `width` bytes, always NUL-terminated (width > 0).
void copyToField(char* field, size_t width, std::string_view text);

} // namespace lumivane
