#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// Text that comes from a monitor or another program is shown as data, never as instructions to a terminal.

// Printable text as it stands; a backslash doubled; C0 and C1 controls, DEL and the bidirectional
// embeddings, overrides and isolates (U+202A..U+202E, U+2066..U+2069) as "\u" and four hex digits; a
// byte that is not part of valid UTF-8 as "\x" and two hex digits.
std::string escapeForTerminal(std::string_view text);

// The text as valid UTF-8: every byte that does not belong to a well-formed sequence becomes U+FFFD.
std::string validUtf8(std::string_view text);

} // namespace lumivane
