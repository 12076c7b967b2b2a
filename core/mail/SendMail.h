#pragma once

#include "MailMessage.h"
#include "MailResult.h"

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace lumivane {

// The mail program with the sendmail interface: $LUMIVANE_SENDMAIL when set, else /usr/sbin/sendmail.
inline constexpr const char* kSendmailVariable = "LUMIVANE_SENDMAIL";
inline constexpr const char* kDefaultSendmail = "/usr/sbin/sendmail";
std::string sendmailProgram();

// How long a mail program may take before it is stopped and the mail counts as failed: the server sends
// from its main thread and must not hang behind a stuck mail system.
inline constexpr std::chrono::milliseconds kSendmailTimeout{120000};

// Hands a message to the mail program, run as "<program> -t -i" without a shell with the RFC 5322 text on
// its standard input, and waits for it to end. No recipients: success, and nothing is run. Failures:
//  - 270 "Mapi32.dll is not found." when the program does not exist or cannot be started;
//  - 257 "Send mail error. (Error code = %d)" with the program's non-zero exit status;
//  - 258 "Send mail error. Mapi32.dll may be broken." when the program ends by a signal, stops reading
//    before the whole message was written, or does not finish within `timeout` (it is then killed).
// Never throws; callable from any thread (SIGPIPE is held off for the calling thread while writing).
// When `abandon` turns true meanwhile (a program that is ending), the mail program is killed and the mail
// fails with 258 as on a timeout.
MailResult SendMail(const MailMessage& message, std::chrono::milliseconds timeout = kSendmailTimeout,
                    const std::atomic<bool>* abandon = nullptr);
MailResult SendMail(const std::string& subject, const std::string& body, const std::vector<std::string>& recipients);

// The test mail of the console's address page, without its dialogs. The dialog first asks
// testMailQuestion() with OK and Cancel; sendTestMail() then checks the address (message 274 when
// refused), sends subject 271 and body 272 to it, and returns message 273 as the text on success, else
// the failure text of SendMail().
std::string testMailQuestion(const std::string& address);
MailResult sendTestMail(const std::string& address);

} // namespace lumivane
