#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// The reversible scrambling of the log-in fields and the password file. Every component that reads or
// writes those texts uses these two functions, so that they all share one table.

// Scrambles `plain` into two lower-case letters per byte; an empty text gives an empty text.
std::string scrambleText(std::string_view plain);

// Reverses scrambleText. A field of odd length or with a letter outside its range gives an empty text.
std::string unscrambleText(std::string_view scrambled);

} // namespace lumivane
