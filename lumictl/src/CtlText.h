#pragma once

#include "InputModes.h"

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
// "yes" or "no"; UsageError naming `what` otherwise.
bool parseYesNo(const std::string& text, const std::string& what);

} // namespace lumivane::ctl
