#pragma once

#include "InputModes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane::ctl {

// Texts as lumictl reads and prints them.

std::string lower(std::string text);
// A JSON string literal of `text` (invalid UTF-8 replaced).
std::string jsonText(std::string_view text);
// Message texts may hold line breaks; lumictl's messages are one line.
std::string oneLine(const std::string& text);
// An input given as its index ("11") or its name ("PC HDMI", case ignored); UsageError listing the
// inputs otherwise.
InputModeIndex parseInput(const std::string& text);
// "A.B.C.D[:PORT]": the address (first octet in the high byte) and the port when one is given, as a
// number whose range the caller checks; UsageError for anything else.
struct LanEndpoint {
    uint32_t address = 0;
    std::optional<int> port;
};
LanEndpoint parseLanEndpoint(const std::string& text);
// "yes" or "no"; UsageError naming `what` otherwise.
bool parseYesNo(const std::string& text, const std::string& what);

} // namespace lumivane::ctl
