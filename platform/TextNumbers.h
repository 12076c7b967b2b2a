#pragma once

#include <cstdint>
#include <string_view>

namespace lumivane {

// Reads a number like the C library's atoi on this platform: leading blanks skipped, an optional sign,
// digits up to the first other character (no digits: 0); strtol's saturated value cut to 32 bits.
int32_t parseAtoi(std::string_view text);

} // namespace lumivane
