#pragma once

#include "EnlargeLayout.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// The checks group mode makes before it sends a group: that the group's monitors show the same kind of
// input, and, monitor by monitor, that each one is on, has a signal and shows one window.

// How the checks reach a monitor.
class WallCheckLink
{
public:
    virtual ~WallCheckLink() = default;
    // The monitor's answer to the query of `code` ("POWR" asks "POWR????"); none when the query failed.
    virtual std::optional<int32_t> query(const WallMonitor& monitor, std::string_view code) = 0;
    // Sends a setting command; false when it failed.
    virtual bool send(const WallMonitor& monitor, const std::string& command) = 0;
};

enum class CheckAnswer
{
    Yes,
    No,
    Cancel,
};

// A message put to the operator: its number and the names that fill its "%s" (each the first five
// characters of a monitor's name, which carry its panel number).
struct CheckQuestion
{
    enum Buttons
    {
        Ok,
        YesNo,
        YesNoCancel,
    };

    int message = 0;
    std::vector<std::string> names;
    Buttons buttons = Ok;
    bool errorIcon = false;
};

using CheckPrompt = std::function<CheckAnswer(const CheckQuestion&)>;

// The first five characters of a monitor's name, as the messages show it.
std::string shortMonitorName(const std::string& name);

// Whether a group may be sent: all monitors on one input where they are of the group-mode family, and
// none on an AV input otherwise.
bool groupInputCheck(const std::vector<WallMonitor>& group, WallCheckLink& link, const CheckPrompt& ask);

enum class CheckOutcome
{
    Proceed,
    Skip,  // this monitor is not sent, the group goes on
    Abort, // the rest of the group is not sent
};

// Checks one monitor of a group before it is sent; `next` is the monitor that would follow, if any.
// May switch off a second window ("MWIN0000") when the operator agrees.
CheckOutcome monitorCheck(const WallMonitor& monitor, const WallMonitor* next, WallCheckLink& link,
                          const CheckPrompt& ask);

} // namespace lumivane
