#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// A plain-text mail as the programs hand it over: no attachments.
struct MailMessage
{
    std::string from;    // optional "From:" value; empty lets the mail program fill it in
    std::string subject; // UTF-8
    std::string body;    // UTF-8; lines end with CR LF (bare LF or CR are turned into CR LF)
    std::vector<std::string> recipients;
};

// The RFC 5322 text of a message, every line ended by CR LF: optional From, one To with the recipients
// separated by ", " (folded at 78 characters), Subject, MIME-Version, Content-Type text/plain;
// charset=UTF-8, Content-Transfer-Encoding 8bit, an empty line and the body. Header values never carry a
// line break of their own.
std::string composeMessage(const MailMessage& message);

// The Subject header's value: the text itself when it is printable ASCII, else RFC 2047 encoded words
// ("=?UTF-8?B?...?=", short enough for lines of 76 characters, never splitting a character) folded onto several lines.
// Line breaks and other control characters become spaces first.
std::string encodeSubject(std::string_view subject);

// An address as the single mailbox of one To header: the part before the last at-sign stays as it is when it is
// a dot-atom and becomes a quoted string otherwise; characters that cannot stand in a domain are dropped
// from the part after it. So no address typed by an operator can add recipients or headers.
std::string formatRecipient(std::string_view address);

} // namespace lumivane
