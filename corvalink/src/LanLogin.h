#pragma once

#include "Transport.h"

#include <cstdint>
#include <string_view>

namespace lumivane::link {

class Deadline;

// How a LAN monitor received a new connection.
enum class LoginOutcome
{
    Ready,   // "READY", or "Login:" answered with OK
    Denied,  // "DENIED" after the password
    Refused, // "REFUSED": this PC's address is not permitted
    Busy,    // "BUSY": another control connection is open
    Failed,  // closed, garbled, timed out or cancelled
};

// Reads the greeting of a freshly connected monitor and, when it asks, logs in with `user` and `password`
// (sent as they are, each followed by CR). Credentials holding a line end are never sent: they count as
// denied.
LoginOutcome greetAndLogIn(Transport& transport, std::string_view user, std::string_view password, int timeoutMs,
                           const volatile int32_t* cancel);

} // namespace lumivane::link
