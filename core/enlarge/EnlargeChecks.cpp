#include "EnlargeChecks.h"

#include "CommandText.h"

#include <algorithm>

namespace lumivane {
namespace {

constexpr size_t kShortNameLength = 5;

// Power answers.
constexpr int32_t kStandby = 0;
constexpr int32_t kNoSignal = 2;

bool isAvInput(int32_t input)
{
    return input == 3 || input == 4 || input == 7 || input == 8 || input == 9;
}

CheckQuestion question(int message, const WallMonitor& monitor, const WallMonitor* next, CheckQuestion::Buttons buttons)
{
    CheckQuestion result;
    result.message = message;
    result.names.push_back(shortMonitorName(monitor.name));
    if (next)
        result.names.push_back(shortMonitorName(next->name));
    result.buttons = buttons;
    return result;
}

// With a next monitor the operator chooses: Yes skips this one, No aborts. Without, a notice and `alone`.
CheckOutcome skipOrAbort(const CheckPrompt& ask, const WallMonitor& monitor, const WallMonitor* next, int withNext,
                         int withoutNext, CheckOutcome alone)
{
    if (next)
        return ask(question(withNext, monitor, next, CheckQuestion::YesNo)) == CheckAnswer::Yes ? CheckOutcome::Skip
                                                                                                : CheckOutcome::Abort;
    ask(question(withoutNext, monitor, nullptr, CheckQuestion::Ok));
    return alone;
}

bool notice(const CheckPrompt& ask, int message)
{
    CheckQuestion q;
    q.message = message;
    q.errorIcon = true;
    ask(q);
    return false;
}

bool yesNo(const CheckPrompt& ask, int message)
{
    CheckQuestion q;
    q.message = message;
    q.buttons = CheckQuestion::YesNo;
    return ask(q) == CheckAnswer::Yes;
}

// Every monitor's input, or none when a query fails.
std::optional<std::vector<int32_t>> inputsOf(const std::vector<WallMonitor>& group, WallCheckLink& link)
{
    std::vector<int32_t> inputs;
    for (const WallMonitor& monitor : group) {
        const std::optional<int32_t> input = link.query(monitor, "INPS");
        if (!input)
            return std::nullopt;
        inputs.push_back(*input);
    }
    return inputs;
}

} // namespace

std::string shortMonitorName(const std::string& name)
{
    return name.substr(0, std::min(name.size(), kShortNameLength));
}

bool groupInputCheck(const std::vector<WallMonitor>& group, WallCheckLink& link, const CheckPrompt& ask)
{
    const auto ofFamily = [](const WallMonitor& m) { return offersGroupMode(m.model); };
    const size_t family = static_cast<size_t>(std::count_if(group.begin(), group.end(), ofFamily));
    if (!group.empty() && family == group.size()) {
        const std::optional<std::vector<int32_t>> inputs = inputsOf(group, link);
        if (!inputs)
            return notice(ask, 7663);
        const bool unified =
            std::all_of(inputs->begin(), inputs->end(), [&](int32_t i) { return i == inputs->front(); });
        return unified || yesNo(ask, 7656);
    }
    if (family > 0 && !yesNo(ask, 7661))
        return false;
    const std::optional<std::vector<int32_t>> inputs = inputsOf(group, link);
    if (!inputs)
        return notice(ask, 7667);
    CheckQuestion avInputs;
    avInputs.message = 7660;
    avInputs.errorIcon = true;
    for (size_t i = 0; i < group.size(); ++i)
        if (isAvInput((*inputs)[i]))
            avInputs.names.push_back(shortMonitorName(group[i].name));
    if (avInputs.names.empty())
        return true;
    ask(avInputs);
    return false;
}

CheckOutcome monitorCheck(const WallMonitor& monitor, const WallMonitor* next, WallCheckLink& link,
                          const CheckPrompt& ask)
{
    const std::optional<int32_t> power = link.query(monitor, "POWR");
    if (!power)
        return skipOrAbort(ask, monitor, next, 7666, 7673, CheckOutcome::Skip);
    if (*power == kNoSignal)
        return skipOrAbort(ask, monitor, next, 7659, 7670, CheckOutcome::Skip);
    if (*power == kStandby)
        return skipOrAbort(ask, monitor, next, 7658, 7669, CheckOutcome::Abort);

    const std::optional<int32_t> windows = link.query(monitor, "MWIN");
    if (!windows)
        return skipOrAbort(ask, monitor, next, 7664, 7671, CheckOutcome::Skip);
    if (*windows == 0)
        return CheckOutcome::Proceed;
    // A second window (PIP, PbyP) would be enlarged with the picture: offer to switch it off.
    const CheckAnswer answer = next ? ask(question(7657, monitor, next, CheckQuestion::YesNoCancel))
                                    : ask(question(7668, monitor, nullptr, CheckQuestion::YesNo));
    if (answer == CheckAnswer::Cancel && next)
        return CheckOutcome::Abort;
    if (answer != CheckAnswer::Yes)
        return CheckOutcome::Skip;
    return link.send(monitor, settingCommand("MWIN", 0)) ? CheckOutcome::Proceed : CheckOutcome::Skip;
}

} // namespace lumivane
