#pragma once

#include "CommandItem.h"
#include "InputModes.h"
#include "ModelCode.h"
#include "ServerPanel.h"

#include <chrono>
#include <cstdint>

namespace lumivane {

class CancelFlag;
class Clock;
class EndpointWorkQueue;

// What the work on one monitor reads besides the monitor's own copy. Nothing here belongs to another
// monitor, so several monitors may be worked on at the same time, each on its own copy.
struct WorkContext
{
    CancelFlag& cancel; // set by the main thread; the link reads it while it waits
    Clock& clock;
    int zrPowerWait = 15; // seconds between the power-state queries after a power-on
    // The queue the work runs in, if any: a wait then leaves the queue's place to other monitors.
    EndpointWorkQueue* queue = nullptr;

    // Waits on the clock; false when the run was cancelled meanwhile.
    bool wait(std::chrono::milliseconds duration) const;
};

// A command for one monitor: power on or off, and after a power-on an input change.
struct MonitorCommand
{
    bool power = false;
    bool powerOn = false;
    bool changeInput = false;
    InputModeIndex inputId = 0;
};

// Sends `command` to the monitor: power, then the input (ZR-1190: "IAVD" for inputs 101 to 107 only;
// other models: the multi-window and terminal checks, then "INPS" for inputs 1 to 99). True on success
// and when the run was cancelled (nothing is changed then). A failure is recorded in the copy
// (statusFlags kConnectionErrorFlags, the message in statusText and the log, handled and commandError
// set) and gives false.
bool SendCommand(ServerPanel& panel, const MonitorCommand& command, WorkContext& context);

// Checks the monitor's state: the short check for the ZR-1190, the full check for every other model.
// Sets handled, hasStatus, lastCheck and the status; newError when the status changed to a bad one. A
// cancelled check changes nothing.
void CheckMonitor(ServerPanel& panel, WorkContext& context);

} // namespace lumivane
