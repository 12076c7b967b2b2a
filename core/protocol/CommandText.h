#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// Command texts: a four-letter code and its parameter. A setting carries "%04d" of its value (minus five
// is "-005"), a query "????"; "DATE" carries ten digits and "TXDP" two quoted texts.

// Room for a command text in a CommandItem, terminator included.
inline constexpr size_t kCommandTextSize = 128;

// `code` followed by `value` as "%04d".
std::string settingCommand(std::string_view code, int value);
// `code` followed by "????".
std::string queryCommand(std::string_view code);
// "DATE" and year modulo 100, month (1-12), day, hour, minute, two digits each.
std::string dateCommand(const std::tm& localTime);
// The text display command: TXDP1:"<line1>",2:"<line2>". Double quotes and control characters are
// dropped from the lines, as they would end the text or the command early.
std::string textDisplayCommand(std::string_view line1, std::string_view line2);

// Fills a command format holding exactly one integer conversion ("%d", "%4d", "%04d"; "%%" is a percent
// sign) with `value`. Anything else in the format is refused (nullopt), so a format read from a list
// cannot make the formatter read arguments that are not there.
std::optional<std::string> formatCommand(std::string_view format, int value);

// The first four characters, which name the command.
std::string_view commandCode(std::string_view text);
// The parameter (characters from the fifth on) read like atoi: blanks, a sign, then digits; no digits
// read as 0 (so "????" is 0). Values beyond the int range are clamped.
int commandParameter(std::string_view text);

} // namespace lumivane
