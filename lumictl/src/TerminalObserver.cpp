#include "TerminalObserver.h"

#include "CommandLine.h"

#include <algorithm>


namespace lumivane::ctl {
namespace {

// The box's text with its CR LF line ends as plain lines.
std::string plainLines(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

} // namespace

ErrorPolicy ErrorPolicy::parse(const std::string& text)
{
    if (text == "abort")
        return {ErrorChoice::Abort, 0};
    if (text == "skip-command")
        return {ErrorChoice::SkipCommand, 0};
    if (text == "skip-monitor")
        return {ErrorChoice::SkipMonitor, 0};
    if (text.rfind("retry:", 0) == 0)
        return {ErrorChoice::RetryCommand, parseNumber(text.substr(6), 1, 1000, "the number of retries")};
    throw UsageError{"--on-error must be abort, skip-command, skip-monitor or retry:N, not '" + text + "'"};
}

TerminalObserver::TerminalObserver(ErrorPolicy policy, std::ostream& err, bool showProgress)
    : m_policy(policy), m_err(err), m_showProgress(showProgress)
{
}

TerminalObserver::RunState& TerminalObserver::runState()
{
    const auto [found, added] = m_runs.try_emplace(std::this_thread::get_id());
    if (added)
        found->second.retriesLeft = m_policy.retries;
    return found->second;
}

void TerminalObserver::onProgress(RunProgress what, int value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (what == RunProgress::MonitorStep)
        m_monitor = value;
    // Each failure has its own retries: moving on to another command, monitor or run starts afresh.
    RunState& run = runState();
    if (what != RunProgress::CommandStep || value != run.command)
        run.retriesLeft = m_policy.retries;
    if (what == RunProgress::CommandStep)
        run.command = value;
    if (what == RunProgress::OuterRange)
        m_monitors = value;
    if (!m_showProgress)
        return;
    if (what == RunProgress::Finished || what == RunProgress::Ended) {
        m_err << "\r\033[K" << std::flush;
        return;
    }
    m_err << "\r\033[Kmonitor " << std::min(m_monitor + 1, std::max(m_monitors, 1)) << "/" << m_monitors;
    if (what == RunProgress::CommandStep && m_items > 0)
        m_err << ", command " << std::min(value + 1, m_items) << "/" << m_items;
    m_err << std::flush;
}

ErrorChoice TerminalObserver::askOnError(const ErrorBox& box)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_showProgress)
        m_err << "\r\033[K";
    m_err << plainLines(box.text) << "\n";
    ErrorChoice choice = m_policy.choice;
    if (choice == ErrorChoice::RetryCommand) {
        if (RunState& run = runState(); run.retriesLeft > 0) {
            --run.retriesLeft;
            m_err << "(retrying)\n";
            return ErrorChoice::RetryCommand;
        }
        choice = ErrorChoice::SkipMonitor;
    }
    if (choice == ErrorChoice::SkipCommand && !box.skipCommandEnabled)
        choice = ErrorChoice::SkipMonitor;
    // A command that runs its monitors one at a time shows boxes of one-monitor runs; skipping the
    // monitor still goes on with the next one there.
    if (choice == ErrorChoice::SkipMonitor && !box.skipMonitorEnabled && m_monitors <= 1)
        choice = ErrorChoice::Abort;
    if (choice == ErrorChoice::Abort)
        m_aborted = true;
    return choice;
}

} // namespace lumivane::ctl
