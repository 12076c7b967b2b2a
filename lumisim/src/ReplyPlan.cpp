#include "ReplyPlan.h"

#include <cstdio>

namespace lumivane::sim {

namespace {
// Another monitor's prefix in front of the reply (taken off its own prefix, if any).
std::string withWrongId(const MonitorChain::Answer& answer)
{
    const int otherId = answer.prefixId % 255 + 1;
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "#%03d", otherId);
    const std::string bare = answer.prefixId != 0 ? answer.line.substr(4) : answer.line;
    return prefix + bare;
}
} // namespace

ReplyPlan planReply(const MonitorChain::Answer& answer, bool serial)
{
    ReplyPlan plan;
    if (answer.monitor == nullptr)
        return plan;
    const MonitorSpec& state = answer.monitor->state();
    plan.delayMs = state.replyDelayMs;
    plan.send = true;
    switch (state.fault) {
    case ReplyFault::None:
        plan.bytes = answer.line + "\r\n";
        break;
    case ReplyFault::Silent:
        plan.send = false;
        break;
    case ReplyFault::Drop:
        plan.send = !serial;
        plan.closeAfter = true;
        break;
    case ReplyFault::Garbage:
        plan.bytes = std::string("\x01\x7f\xfe#\x02garbage\x00\x1b[", 15) + "\r\n";
        break;
    case ReplyFault::Endless:
        plan.bytes.assign(5000, 'A');
        break;
    case ReplyFault::WrongId:
        plan.bytes = withWrongId(answer) + "\r\n";
        break;
    case ReplyFault::CutLine:
        plan.bytes = answer.line.substr(0, (answer.line.size() + 1) / 2);
        plan.closeAfter = !serial;
        break;
    }
    return plan;
}

} // namespace lumivane::sim
