#pragma once

#include <string>

namespace lumivane {

// What the progress messages of a run say (the word of the progress message).
enum class RunProgress {
    Ended = 0,         // cancelled or aborted: the progress window closes with result 2
    MonitorStep = 1,   // value: monitors done so far
    CommandStep = 2,   // value: items done so far for the current monitor
    Finished = 3,      // the window closes with result 1
    OuterRange = 4,    // value: the new number of outer steps (search only)
};

// The buttons of the communication error box, with the result each gives.
enum class ErrorChoice { RetryCommand = 0, SkipCommand = 1, SkipMonitor = 2, Abort = 3 };

// The communication error box as the worker asks it.
struct ErrorBox {
    std::string text;               // read-only text of the box
    bool skipCommandEnabled = false; // command failures only
    bool skipMonitorEnabled = false; // runs over several monitors only
};

inline constexpr const char* kErrorBoxTitle = "Communication Error";

// Where a run reports to: the console's progress window and error box, lumictl's terminal, a test's
// script. Called from the worker thread.
class RunObserver
{
public:
    virtual ~RunObserver() = default;
    // Must not block: the console posts it to its window.
    virtual void onProgress(RunProgress /*what*/, int /*value*/) {}
    // Blocks the worker until the operator has chosen. The default aborts.
    virtual ErrorChoice askOnError(const ErrorBox& /*box*/) { return ErrorChoice::Abort; }
};

} // namespace lumivane
