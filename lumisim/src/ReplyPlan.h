#pragma once

#include "MonitorChain.h"

#include <string>

namespace lumivane::sim {

// The bytes a port sends for a chain's answer, the monitor's reply fault applied.
struct ReplyPlan
{
    bool send = false; // false: no reply at all
    std::string bytes;
    bool closeAfter = false; // the connection closes once the bytes are out
    int delayMs = 0;
};

ReplyPlan planReply(const MonitorChain::Answer& answer, bool serial);

} // namespace lumivane::sim
