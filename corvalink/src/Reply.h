#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivane::link {

// How a reply line reads, once its ID prefix is taken off.
enum class ReplyWord
{
    Ok,
    Err,
    Locked,
    IfErr,
    Value
};

ReplyWord classifyReply(std::string_view line);

// Status of a setting's reply: OK 0, ERR 9, LOCKED 10, IFERR 14, anything else a protocol error (1).
int32_t settingStatus(std::string_view line);

// Status of a query's reply: a value 0, ERR 9, LOCKED 10, IFERR 14, OK a protocol error (1).
int32_t queryStatus(std::string_view line);

// Takes the "#nnn" prefix off a reply for monitor `id` (1..255). A command sent without prefix (id 0)
// must be answered without one. False when the reply belongs to another ID or lacks the prefix.
bool takeIdPrefix(std::string_view& line, int id);

// "#nnn" for IDs 1..255, empty for 0.
std::string idPrefix(int id);

// A reply holding control characters (other than tab) is not something a monitor sends.
bool isPlainText(std::string_view line);

// Reads a number like atoi: leading blanks, an optional sign, digits up to the first other character;
// 0 when there are none. Saturates instead of overflowing.
int32_t readNumber(std::string_view text);

// Two numbers joined by a comma ("1920,1080"). False when there is no comma.
bool readPair(std::string_view text, int32_t& first, int32_t& second);

// A command text the link may put on the wire: not empty, no control characters, not too long.
bool isSendableCommand(std::string_view text);

} // namespace lumivane::link
