#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace lumivane {

// The text of an operator-facing message by its number; "" for an unknown number.
const char* messageText(int number);

// Every message number of the table, ascending.
std::vector<int> messageNumbers();

// For the table's own test: numbers ascending and unique.
bool messageTableIsSorted();

// printf-style formatting of a message with its arguments ("Found %d monitor(s).").
template <typename... Args>
std::string formatMessage(int number, Args... args)
{
    const char* format = messageText(number);
    const int size = std::snprintf(nullptr, 0, format, args...);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

} // namespace lumivane
