#pragma once

#include <string>

namespace lumivane {

// Message numbers of the mail texts.
inline constexpr int kSendMailErrorCodeMessage = 257;  // "Send mail error. (Error code = %d)"
inline constexpr int kSendMailBrokenMessage = 258;     // "Send mail error. Mapi32.dll may be broken."
inline constexpr int kMailProgramMissingMessage = 270; // "Mapi32.dll is not found."
inline constexpr int kAddressFileErrorMessage = 206;   // "Cannot create mail address file."
inline constexpr int kInvalidAddressMessage = 274;     // "Invalid mail address.\r\nPlease re-enter."
inline constexpr int kTestMailSentMessage = 273;       // "A test mail was sent.\r\n..."

// What became of a mail or of a write of the address file. The core shows no message box: the console
// shows `text` (with the stop icon when `stopIcon` is set), the server writes it to its log.
struct MailResult
{
    bool ok = true;
    int message = 0;       // the message number of `text`; 0 when there is nothing to tell
    int errorCode = 0;     // with message 257: the mail program's exit status
    bool stopIcon = false; // message 206
    std::string text;      // the operator's text, ready to show or log
    std::string detail;    // the system's reason, for a log; not for the operator

    explicit operator bool() const { return ok; }
};

} // namespace lumivane
