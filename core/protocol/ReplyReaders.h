#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// Reads the next number of a comma-separated list ("1,2,3", the reply of "IDLS????"): from `position`
// skips to the first decimal digit, takes the characters up to the next comma or the end, moves
// `position` past that comma and yields their leading digits as a number (clamped to the int range).
// Yields nothing, with `position` at the end, when no digit is left.
std::optional<int> readListNumber(std::string_view text, size_t& position);

// "0012AB34CD56" -> "00-12-AB-34-CD-56": the first twelve characters of a reply in six groups. A reply
// shorter than twelve characters gives an empty text rather than a partial address.
std::string formatMacAddress(std::string_view reply);

} // namespace lumivane
