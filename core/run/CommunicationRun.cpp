#include "CommunicationRun.h"

#include "CommandAvailability.h"
#include "CommandExecution.h"
#include "CommandText.h"
#include "EndpointWorkQueue.h"
#include "ModelLookup.h"
#include "Settings.h"
#include "corvalink.h"

#include <chrono>
#include <cstring>
#include <mutex>

namespace lumivane {
namespace {

// Held by a worker for the whole of its run, so that runs never overlap.
std::mutex& runExclusion()
{
    static std::mutex exclusion;
    return exclusion;
}

void closeLink(LinkHandle& link)
{
    if (link)
        LinkClose(link);
    link = nullptr;
}

} // namespace

CommunicationRun::CommunicationRun(RunRequest request, RunObserver& observer)
    : m_request(request), m_observer(observer)
{
}

CommunicationRun::~CommunicationRun()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CommunicationRun::start()
{
    m_worker = std::thread([this] { runHere(); });
}

int CommunicationRun::runHere()
{
    if (!m_namesSet)
        m_names = CommandNames::loadBesideProgram();
    std::unique_lock<std::mutex> exclusive(runExclusion(), std::defer_lock);
    if (!m_request.shareOfLargerRun)
        exclusive.lock();
    m_exitCode = work();
    m_finished = true;
    return m_exitCode;
}

int CommunicationRun::wait()
{
    if (m_worker.joinable())
        m_worker.join();
    return m_exitCode;
}

int CommunicationRun::work()
{
    if (processSettings().environment.debug != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        progress(RunProgress::Finished, 0);
        return 0;
    }
    const auto& monitors = m_request.monitors;
    const bool several = monitors.size() > 1 || m_request.shareOfLargerRun;
    bool anyFailed = false;
    for (size_t i = 0; i < monitors.size(); ++i) {
        progress(RunProgress::MonitorStep, static_cast<int>(i));
        LinkHandle link = nullptr;
        const OpenOutcome opened = openMonitorLink(*monitors[i], several, m_observer, m_cancel, m_request.waitValue, link);
        if (opened == OpenOutcome::AbortRun) {
            progress(RunProgress::Ended, 0);
            return 1;
        }
        if (opened == OpenOutcome::SkipMonitor) {
            anyFailed = true;
            progress(RunProgress::CommandStep, static_cast<int>(m_request.items.size()));
            continue;
        }
        bool failed = false;
        const bool goOn = runMonitor(i, link, failed);
        closeLink(link);
        anyFailed = anyFailed || failed;
        if (!goOn) {
            progress(RunProgress::Ended, 0);
            return 1;
        }
        progress(RunProgress::CommandStep, static_cast<int>(m_request.items.size()));
    }
    progress(RunProgress::MonitorStep, static_cast<int>(monitors.size()));
    progress(RunProgress::Finished, 0);
    return anyFailed ? 1 : 0;
}

bool CommunicationRun::runMonitor(size_t position, LinkHandle& link, bool& failed)
{
    const TESSERA_PANEL_DATA& monitor = *m_request.monitors[position];
    const bool several = m_request.monitors.size() > 1 || m_request.shareOfLargerRun;
    for (size_t j = 0; j < m_request.items.size();) {
        progress(RunProgress::CommandStep, static_cast<int>(j));
        std::string reportText;
        const int32_t status = runItem(m_request.items[j], monitor, position, link, reportText);
        if (status == 0) {
            ++j;
            continue;
        }
        closeLink(link);
        if (m_cancel.isSet())
            return false;
        const ErrorBox box{commandFailureText(monitor, status, reportText, m_names), true, several};
        const ErrorChoice choice = m_observer.askOnError(box);
        if (choice == ErrorChoice::Abort)
            return false;
        if (choice != ErrorChoice::RetryCommand)
            failed = true;
        if (choice == ErrorChoice::SkipMonitor)
            return true;
        const OpenOutcome reopened =
            openMonitorLink(monitor, several, m_observer, m_cancel, m_request.waitValue, link);
        if (reopened == OpenOutcome::AbortRun)
            return false;
        if (reopened == OpenOutcome::SkipMonitor) {
            failed = true;
            return true;
        }
        if (choice == ErrorChoice::SkipCommand)
            ++j;
    }
    return true;
}

int32_t CommunicationRun::runItem(CommandItem& item, const TESSERA_PANEL_DATA& monitor, size_t position,
                                  LinkHandle link, std::string& reportText)
{
    reportText = item.text;
    if (m_cancel.isSet())
        return LINK_CANCELLED;
    if (item.kind == CommandItemKind::Custom) {
        if (item.routine == nullptr)
            return 0;
        char report[kCommandTextSize];
        std::memcpy(report, item.text, sizeof report);
        report[sizeof report - 1] = '\0';
        const int32_t status = item.routine(report, link, monitor.szModel, monitor.nModelFlags, item.data);
        reportText = report;
        return status;
    }
    const ModelCode model = modelFromName(monitor.szModel, monitor.nModelFlags);
    if (!isCommandAvailable(model, item.text, std::span<char>(item.text, sizeof item.text)))
        return 0;
    const int32_t status = executeCommandItem(link, item, static_cast<int>(position));
    reportText = item.text;
    if (item.kind == CommandItemKind::SendPerMonitor)
        reportText = formatCommand(item.text, item.reportValue).value_or(item.text);
    return status;
}

bool runCommandList(std::span<CommandItem> items, std::span<const TESSERA_PANEL_DATA* const> monitors,
                    RunObserver& observer, int waitValue)
{
    if (monitors.empty())
        return false;
    CommunicationRun run(RunRequest{items, monitors, waitValue}, observer);
    run.start();
    return run.wait() == 0;
}

std::vector<bool> runEachMonitor(std::vector<std::vector<CommandItem>>& items,
                                 std::span<const TESSERA_PANEL_DATA* const> monitors, RunObserver& observer,
                                 int parallel, const std::function<bool()>& stopStarting, int waitValue)
{
    std::vector<char> succeeded(monitors.size(), 0);
    // Read once: each run reading the file itself would make the runs wait for each other's hold on it.
    const CommandNames names = CommandNames::loadBesideProgram();
    {
        EndpointWorkQueue queue(parallel);
        std::vector<EndpointWorkQueue::Entry> jobs;
        for (size_t i = 0; i < monitors.size() && i < items.size(); ++i) {
            jobs.push_back({monitorPortText(*monitors[i]), [&, i] {
                                if (stopStarting())
                                    return;
                                RunRequest request{items[i], monitors.subspan(i, 1), waitValue, true};
                                CommunicationRun run(request, observer);
                                run.setCommandNames(names);
                                succeeded[i] = run.runHere() == 0;
                            }});
        }
        queue.add(std::move(jobs), false);
        queue.runToEnd();
    }
    return {succeeded.begin(), succeeded.end()};
}

bool runCommandTexts(const std::vector<std::string>& texts, std::span<const TESSERA_PANEL_DATA* const> monitors,
                     RunObserver& observer, int waitValue)
{
    if (texts.empty() || monitors.empty())
        return false;
    std::vector<CommandItem> items(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        const size_t length = std::min<size_t>(texts[i].size(), kCommandTextSize - 1);
        std::memcpy(items[i].text, texts[i].data(), length);
        items[i].text[length] = '\0';
    }
    return runCommandList(items, monitors, observer, waitValue);
}

} // namespace lumivane
