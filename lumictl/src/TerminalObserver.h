#pragma once

#include "RunObserver.h"

#include <atomic>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace lumivane::ctl {

// How lumictl answers the communication error box: --on-error abort|skip-command|skip-monitor|retry:N.
struct ErrorPolicy {
    ErrorChoice choice = ErrorChoice::SkipMonitor;
    int retries = 0; // retry:N: retries before falling back to skipping the monitor

    // Throws UsageError for anything else.
    static ErrorPolicy parse(const std::string& text);
};

// A run observer for a terminal: progress on standard error when it is a terminal, every error box's
// text on standard error, and the box answered by the policy. A button the box has disabled is never
// chosen: the policy falls back to the next harder answer (skip command, skip monitor, abort), except
// that skipping a monitor stays possible while the command has further monitors. retry:N retries each
// failure N times.
class TerminalObserver : public RunObserver
{
public:
    TerminalObserver(ErrorPolicy policy, std::ostream& err, bool showProgress);

    void onProgress(RunProgress what, int value) override;
    ErrorChoice askOnError(const ErrorBox& box) override;

    bool aborted() const { return m_aborted.load(); }
    void setTotals(int monitors, int items)
    {
        m_monitors = monitors;
        m_items = items;
    }

private:
    ErrorPolicy m_policy;
    std::ostream& m_err;
    bool m_showProgress;
    // Per run: several runs may report at once (--parallel), each from its own worker thread.
    struct RunState
    {
        int retriesLeft = 0;
        int command = -1; // the last command step reported
    };
    RunState& runState(); // with m_mutex held

    std::atomic<bool> m_aborted{false};
    int m_monitors = 0;
    int m_items = 0;
    int m_monitor = 0;
    std::map<std::thread::id, RunState> m_runs;
    std::mutex m_mutex;
};

} // namespace lumivane::ctl
