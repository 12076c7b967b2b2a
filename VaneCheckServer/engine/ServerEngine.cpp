#include "ServerEngine.h"

#include "CMyLog.h"
#include "Clock.h"
#include "DataFolder.h"
#include "ExternalCommand.h"
#include "Notices.h"
#include "ProfileFile.h"
#include "ServerTexts.h"
#include "TodayActions.h"
#include "WindowMessage.h"
#include "tessera.h"

#include <algorithm>
#include <set>
#include <utility>

namespace lumivane {
namespace {

constexpr int kTicksPerMinute = 6;
constexpr const char* kPanelFileName = "Panels.csv";
constexpr int kReportMailBit = 1;
constexpr int kErrorMailBit = 2;

// How long the main thread waits for the panel store's lock before it tries again at the next tick: the
// loop must stay free to end on a signal and to answer messages while another program holds the store.
constexpr int kStoreLockWaitMs = 2000;

// Holds the panel store's machine-wide lock, when it could be taken in time.
class StoreLockHold
{
public:
    StoreLockHold() : m_held(TESSERA_LockWithin(kStoreLockWaitMs) == 1) {}
    StoreLockHold(const StoreLockHold&) = delete;
    StoreLockHold& operator=(const StoreLockHold&) = delete;
    ~StoreLockHold() { TESSERA_Unlock(); }
    bool held() const { return m_held; }

private:
    bool m_held;
};

bool isTarget(const ServerPanel& panel, const ManualTargets& targets)
{
    const std::vector<int>& numbers = targets.byGroup ? targets.groupNumbers : targets.panelNumbers;
    const int key = targets.byGroup ? panel.data.nGroupNo : panel.data.nPanelNo;
    return std::find(numbers.begin(), numbers.end(), key) != numbers.end();
}

} // namespace

int TrayState::icon(bool blinkPhase) const
{
    bool monitoringBit = monitoring;
    bool scheduleBit = schedule;
    if (blinkPhase) {
        monitoringBit = monitoringBit && !pollRunning;
        scheduleBit = scheduleBit && !scheduleRunning;
    }
    if (monitoringBit && scheduleBit)
        return 528;
    if (monitoringBit)
        return 532;
    return scheduleBit ? 533 : 534;
}

ServerEngine::ServerEngine(EngineHost& host, const CMyLog& serverLog, Clock& clock)
    : m_host(host), m_serverLog(serverLog), m_clock(clock), m_outbox(serverLog), m_status(serverLog, clock)
{
}

ServerEngine::~ServerEngine()
{
    shutdown();
}

void ServerEngine::start()
{
    if (m_started)
        return;
    m_started = true;
    m_status.serverStarted();
    reloadPanelsNow(false);
    reloadSettingsNow();
    buildAndNote(true);
    m_host.postToStatusWindow(statusWindowMessages::kPanelsReloaded, 0);
    m_status.publish(*this, false);
}

void ServerEngine::shutdown()
{
    if (m_exiting)
        return;
    m_exiting = true;
    m_host.closeProgressDialog();
    {
        const std::lock_guard lock(m_workerLock);
        if (m_worker.joinable()) {
            m_cancel->set();
            m_manualCancel->set();
            m_worker.join();
        }
        m_queue.reset();
        m_context.reset();
        m_manualContext.reset();
    }
    m_workerPanels.clear();
    m_manualPanels.clear();
    {
        const std::lock_guard lock(m_panelLock);
        m_live.clear();
    }
    m_outbox.finish(MailOutbox::kExitGrace); // a stuck mail program does not hold the end up
}

// ---- settings, panels, schedules

void ServerEngine::ReloadSettings()
{
    {
        const std::lock_guard lock(m_workerLock);
        if (workerExists()) {
            m_settingsChanged = true;
            return;
        }
    }
    reloadSettingsNow();
}

void ServerEngine::reloadSettingsNow()
{
    const std::string path = operatorIniPath();
    if (!path.empty())
        m_settings.readFrom(ProfileFile::load(path));
    m_pollDue = m_settings.monitoring != 0;
    m_host.restartTickTimer();
    m_host.setInputPermission(m_settings.inputModeAvailable != 0);
}

void ServerEngine::ReloadPanels()
{
    {
        const std::lock_guard lock(m_workerLock);
        if (workerExists()) {
            m_panelsChanged = true;
            return;
        }
    }
    reloadPanelsNow(true);
}

void ServerEngine::reloadPanelsNow(bool rebuild)
{
    const std::string path = dataFilePath(kPanelFileName);
    {
        const StoreLockHold storeLock;
        if (!storeLock.held()) {
            if (!std::exchange(m_panelReloadWaiting, true))
                m_serverLog.Error("The panel store is locked by another program; the panel file is read again at "
                                  "the next tick.");
            return;
        }
        m_panelReloadWaiting = false;
        const std::lock_guard lock(m_panelLock);
        TESSERA_PANEL store = path.empty() ? nullptr : TESSERA_OpenPanel(path.c_str());
        if (store == nullptr) {
            const std::string reason = path.empty() ? "The data folder is unknown." : TESSERA_GetLastErrorMessage();
            if (!reason.empty()) {
                // A file that cannot be read keeps the monitors known so far.
                m_serverLog.Error("Cannot read the panel file: " + reason);
                return;
            }
            m_live.clear(); // no panel file: no monitors registered
        } else {
            std::vector<ServerPanel> old = std::move(m_live);
            m_live.clear();
            bool keysGiven = false;
            const int count = TESSERA_GetPanelCount(store);
            for (int i = 0; i < count; ++i) {
                TESSERA_PANEL_DATA record{};
                if (!TESSERA_GetPanelData(store, i, &record))
                    continue;
                // The key and the panel number together: a key read back from a file that could not be saved
                // may meanwhile belong to another monitor.
                const auto kept = std::find_if(old.begin(), old.end(), [&](const ServerPanel& panel) {
                    return record.nStatusKey != 0 && panel.data.nStatusKey == record.nStatusKey &&
                           panel.data.nPanelNo == record.nPanelNo;
                });
                ServerPanel panel;
                if (kept != old.end()) {
                    panel = std::move(*kept);
                    old.erase(kept);
                } else {
                    record.nStatusKey = m_nextStatusKey++;
                    TESSERA_SetPanelData(store, i, &record);
                    keysGiven = true;
                }
                panel.data = record;
                panel.log.setClock(&m_clock);
                panel.log.SetFile(CMyLog::monitorLogName(record.szName));
                m_live.push_back(std::move(panel));
            }
            if (keysGiven && !TESSERA_SavePanel(store, path.c_str()))
                m_serverLog.Error(std::string("Cannot save the panel file: ") + TESSERA_GetLastErrorMessage());
            TESSERA_ClosePanel(store);
        }
    }
    if (!rebuild)
        return;
    BuildToday(true);
    m_host.postToStatusWindow(statusWindowMessages::kPanelsReloaded, 0);
}

void ServerEngine::BuildToday(bool skipPast)
{
    std::set<int> used;
    {
        const std::lock_guard lock(m_panelLock);
        for (const ServerPanel& panel : m_live) {
            if (panel.data.bUse && panel.data.bSchedule)
                used.insert(panel.data.nScheduleNo);
        }
    }
    const ScheduleInUse inUse = [&used](int id) { return used.count(id) != 0; };
    const ScheduleData data = loadScheduleData(inUse);
    std::vector<std::string> problems;
    std::optional<ScheduleEvent> first;
    size_t actions = 0;
    {
        const std::lock_guard lock(m_scheduleLock);
        buildTodayActions(data, inUse, m_clock.now(), skipPast, m_plan, problems);
        first = m_plan.earliest(ScheduleEvent::kScheduleAction);
        for (const ScheduleEvent& event : m_plan.events())
            actions += event.kind == ScheduleEvent::kScheduleAction;
    }
    for (const std::string& problem : problems)
        m_serverLog.Error(problem);
    // The operator sees in the log that a changed schedule arrived, and when it acts next.
    if (first)
        m_serverLog.Trace(todaysScheduleText(actions, first->time));
}

void ServerEngine::buildAndNote(bool skipPast)
{
    BuildToday(skipPast);
    m_lastBuild = m_clock.now();
}

// ---- driving

void ServerEngine::onMessage(int message, int64_t wParam, int64_t /*lParam*/)
{
    if (m_exiting)
        return;
    switch (message) {
    case windowMessages::kSettingsChanged:
        ReloadSettings();
        break;
    case windowMessages::kPanelsChanged:
        ReloadPanels();
        break;
    case windowMessages::kSchedulesChanged: {
        {
            const std::lock_guard lock(m_workerLock);
            if (workerExists()) {
                m_schedulesChanged = true;
                break;
            }
        }
        buildAndNote(true);
        m_host.postToStatusWindow(statusWindowMessages::kStatusChanged, 0);
        break;
    }
    case windowMessages::kShowStatus:
        m_host.openStatusWindow(static_cast<int>(wParam));
        break;
    case serverMessagesInternal::kRunFinished:
        onRunFinished(static_cast<int>(wParam));
        break;
    default:
        break;
    }
}

void ServerEngine::onClockChanged()
{
    const std::lock_guard lock(m_workerLock);
    m_clockChanged = true;
}

void ServerEngine::onTick()
{
    if (m_exiting || !m_started)
        return;
    if (m_settings.monitoring)
        ++m_tickCount;

    const std::lock_guard workerLock(m_workerLock);
    const bool running = workerExists();
    if (!running) {
        if (m_panelReloadWaiting)
            reloadPanelsNow(true);
        if (m_clockChanged) {
            m_clockChanged = false;
            buildAndNote(true);
        }
    }
    const std::time_t now = m_clock.now();
    bool scheduleDue = false;
    bool mailDue = false;
    {
        const std::lock_guard lock(m_scheduleLock);
        // Out of the day's list at once: a rebuild of the list cannot drop them before they ran.
        for (const ScheduleEvent& action : m_plan.takeDue(ScheduleEvent::kScheduleAction, now))
            m_dueActions.push_back(action);
        scheduleDue = !m_dueActions.empty();
        if (!running) {
            if (const auto mail = m_plan.earliest(ScheduleEvent::kReportMail); mail && mail->time < now) {
                mailDue = true;
                m_plan.remove(mail->sequence);
            }
        }
    }
    if (running) {
        dispatchDueActions();
        return;
    }
    if (!scheduleDue && !mailDue) {
        // A new day: every action of today, so that one at 00:00 is not lost.
        if (localDateOf(now) != localDateOf(m_lastBuild))
            buildAndNote(false);
        if (m_schedulesChanged) {
            m_schedulesChanged = false;
            buildAndNote(true);
        }
    }
    if (mailDue)
        m_mailDue = true;
    if (m_tickCount >= std::max(1, m_settings.interval) * kTicksPerMinute) {
        m_pollDue = true;
        m_tickCount = 0;
    }
    if (!(m_pollDue || scheduleDue || m_mailDue))
        return;
    copyLiveListForWorker();
    if (m_workerPanels.empty()) {
        m_mailDue = false; // its time is used up: no later run may mail it
        const std::lock_guard lock(m_scheduleLock);
        m_dueActions.clear(); // no monitor to carry them out
        return;
    }
    startWorker();
}

void ServerEngine::copyLiveListForWorker()
{
    const std::lock_guard lock(m_panelLock);
    m_workerPanels.clear();
    m_workerPanels.reserve(m_live.size());
    for (const ServerPanel& panel : m_live)
        m_workerPanels.push_back(panel.workerCopy());
}

// Called with the worker lock held.
void ServerEngine::startWorker()
{
    m_cancel = std::make_unique<CancelFlag>();
    m_manualCancel = std::make_unique<CancelFlag>();
    m_runErrors = 0;
    m_queue = std::make_unique<EndpointWorkQueue>(m_settings.parallel);
    const int powerWait = std::max(0, m_settings.zrPowerWait);
    m_context = std::make_unique<WorkContext>(WorkContext{*m_cancel, m_clock, powerWait, m_queue.get()});
    m_manualContext = std::make_unique<WorkContext>(WorkContext{*m_manualCancel, m_clock, powerWait, m_queue.get()});
    const bool manual = m_manualRequested.exchange(false);
    dispatchDueActions();
    // A command from the status window polls nothing: a due poll waits for the next run.
    if (!manual && (m_pollDue.exchange(false) || m_mailDue))
        queuePoll();
    if (manual)
        queueManualCommand();
    m_host.postToStatusWindow(statusWindowMessages::kRunState, 0);
    m_status.runStarted();
    m_status.publish(*this, true);
    m_worker = std::thread([this] { workerMain(); });
}

void ServerEngine::dispatchDueActions()
{
    if (!m_queue)
        return;
    // A command from the status window works on copies of its targets only: the actions get copies of the
    // whole list beside them. Nothing of the run reads this list before its end but the jobs given here.
    if (m_workerPanels.empty() && hasDueActions())
        copyLiveListForWorker();
    const std::lock_guard lock(m_scheduleLock);
    while (!m_dueActions.empty()) {
        const ScheduleEvent action = m_dueActions.front();
        const MonitorCommand command{true, action.powerOn == 1, action.powerOn == 1, action.inputId};
        std::vector<EndpointWorkQueue::Entry> jobs;
        for (ServerPanel& panel : m_workerPanels) {
            if (!panel.hasSchedule(action.scheduleId))
                continue;
            jobs.push_back({panel.endpoint(), [this, &panel, command] {
                                countErrorOf(panel, [&] {
                                    if (m_context->cancel.isSet())
                                        return;
                                    const bool sent = SendCommand(panel, command, *m_context);
                                    m_status.countScheduleAction(sent);
                                    if (sent)
                                        CheckMonitor(panel, *m_context);
                                });
                                --m_actionJobs;
                            }});
        }
        const int count = static_cast<int>(jobs.size());
        m_actionJobs += count;
        if (count > 0 && !m_queue->add(std::move(jobs), true)) {
            m_actionJobs -= count;
            return; // the run is ending: the next one takes them
        }
        m_dueActions.erase(m_dueActions.begin());
    }
}

void ServerEngine::queuePoll()
{
    std::vector<EndpointWorkQueue::Entry> jobs;
    for (ServerPanel& panel : m_workerPanels) {
        if (!panel.isMonitoringTarget())
            continue;
        // A monitor that a due action handled in this run is checked already.
        jobs.push_back({panel.endpoint(), [this, &panel] {
                            countErrorOf(panel, [&] {
                                if (!m_context->cancel.isSet() && !panel.handled)
                                    CheckMonitor(panel, *m_context);
                            });
                            --m_pollJobs;
                        }});
    }
    m_pollJobs += static_cast<int>(jobs.size());
    m_queue->add(std::move(jobs), false);
}

void ServerEngine::queueManualCommand()
{
    m_manualDone = 0;
    std::vector<EndpointWorkQueue::Entry> jobs;
    for (ServerPanel& panel : m_manualPanels) {
        jobs.push_back({panel.endpoint(), [this, &panel] {
                            if (!m_manualContext->cancel.isSet()) {
                                countErrorOf(panel, [&] {
                                    if (!m_manualCommand.power ||
                                        SendCommand(panel, {true, m_manualCommand.on, false, 0}, *m_manualContext))
                                        CheckMonitor(panel, *m_manualContext);
                                });
                                const std::lock_guard lock(m_progressLock); // the count goes up in order
                                m_host.postManualProgress(++m_manualDone);
                            }
                            --m_pollJobs;
                        }});
    }
    m_pollJobs += static_cast<int>(jobs.size());
    m_queue->add(std::move(jobs), false);
}

// ---- the worker

void ServerEngine::workerMain()
{
    m_queue->runToEnd();
    m_host.postRunFinished(m_runErrors);
}

void ServerEngine::countErrorOf(const ServerPanel& panel, const std::function<void()>& work)
{
    // Monitors, not failures: the flags stay set for the run, so one that several actions of the run
    // failed on counts once.
    const auto inError = [&panel] { return panel.commandError || panel.newError; };
    const bool before = inError();
    work();
    if (!before && inError())
        ++m_runErrors;
}

// ---- the end of a run

void ServerEngine::onRunFinished(int errorCount)
{
    if (m_exiting)
        return;
    FinishRun(errorCount);
}

void ServerEngine::FinishRun(int errorCount)
{
    m_host.closeProgressDialog();
    {
        const std::lock_guard lock(m_workerLock);
        if (!m_worker.joinable())
            return; // no run of ours: a stray message
        m_worker.join();
    }
    m_queue.reset();
    m_context.reset();
    m_manualContext.reset();

    struct Notice
    {
        const ServerPanel* panel;
        bool toErrorList;
    };
    std::vector<Notice> notices;
    bool anyHandled = false;
    const bool mailDue = m_mailDue;
    const bool messageBox = m_settings.messageBox != 0;
    ReportBuilder report;
    {
        const std::lock_guard lock(m_panelLock);
        for (const ServerPanel& copy : m_workerPanels) {
            if (!copy.handled)
                continue;
            anyHandled = true;
            if (mailDue && copy.isMonitoringTarget())
                report.add(copy);
            mergeIntoLive(copy);
            if (copy.commandError || copy.newError)
                notices.push_back({&copy, messageBox});
        }
        for (const ServerPanel& copy : m_manualPanels) {
            if (!copy.handled)
                continue;
            anyHandled = true;
            mergeIntoLive(copy);
            const bool listed = copy.commandError || (copy.newError && messageBox);
            if (copy.newError)
                notices.push_back({&copy, listed});
            else if (listed)
                m_host.addErrorListEntry(copy.data.szName, copy.state.statusText);
        }
    }
    for (const Notice& notice : notices)
        reportNewError(*notice.panel, notice.toErrorList);
    if (mailDue) {
        m_mailDue = false;
        m_outbox.post(kReportMailBit, ReportBuilder::subject(), report.body());
    }
    const bool manualRan = !m_manualPanels.empty();
    m_status.runEnded(m_workerPanels, m_manualPanels);
    m_workerPanels.clear();
    m_manualPanels.clear();

    if (anyHandled)
        m_host.postToStatusWindow(statusWindowMessages::kStatusChanged, 0);
    bool settingsChanged = false;
    bool panelsChanged = false;
    {
        const std::lock_guard lock(m_workerLock);
        settingsChanged = std::exchange(m_settingsChanged, false);
        panelsChanged = std::exchange(m_panelsChanged, false);
    }
    if (settingsChanged)
        reloadSettingsNow();
    if (panelsChanged)
        reloadPanelsNow(true);
    m_host.postToStatusWindow(statusWindowMessages::kRunState, 1);
    m_status.publish(*this, false);
    // Last, as it may wait in a modal dialog while timers and messages go on.
    if ((errorCount > 0 && messageBox) || manualRan)
        m_host.showErrorList();
}

void ServerEngine::reportNewError(const ServerPanel& panel, bool toErrorList)
{
    if (toErrorList)
        m_host.addErrorListEntry(panel.data.szName, panel.state.statusText);
    m_outbox.post(kErrorMailBit, errorNoticeSubject(panel), errorNoticeBody(panel));
    if (m_settings.execCommand)
        runExternalCommand(panel);
}

void ServerEngine::mergeIntoLive(const ServerPanel& copy)
{
    const auto live = std::find_if(m_live.begin(), m_live.end(),
                                   [&](const ServerPanel& panel) { return panel.data.nPanelNo == copy.data.nPanelNo; });
    if (live != m_live.end())
        live->takeResults(copy);
}

void ServerEngine::runExternalCommand(const ServerPanel& panel)
{
    std::string error;
    if (!startExternalCommand(m_settings.execCommandName, panel.data.szName, error))
        m_serverLog.Error("Cannot start the command for " + std::string(panel.data.szName) + ": " + error);
}

// ---- the status window

ManualStart ServerEngine::startManualCommand(const ManualTargets& targets, ManualCommand command)
{
    if (m_exiting)
        return ManualStart::Busy;
    const std::lock_guard workerLock(m_workerLock);
    if (workerExists())
        return ManualStart::Busy;
    {
        const std::lock_guard lock(m_panelLock);
        m_manualPanels.clear();
        for (const ServerPanel& panel : m_live) {
            if (panel.data.bUse && isTarget(panel, targets))
                m_manualPanels.push_back(panel.workerCopy());
        }
    }
    if (m_manualPanels.empty())
        return ManualStart::NoTargets;
    m_manualCommand = command;
    m_manualRequested = true;
    m_workerPanels.clear();
    startWorker();
    return ManualStart::Started;
}

void ServerEngine::cancelRun()
{
    const std::lock_guard lock(m_workerLock);
    if (m_manualCancel)
        m_manualCancel->set();
}

bool ServerEngine::isRunning() const
{
    const std::lock_guard lock(m_workerLock);
    return m_worker.joinable();
}

std::vector<ServerPanel> ServerEngine::livePanels() const
{
    const std::lock_guard lock(m_panelLock);
    return m_live;
}

std::optional<ScheduleEvent> ServerEngine::nextScheduledAction(int scheduleId) const
{
    const std::lock_guard lock(m_scheduleLock);
    return m_plan.nextFor(scheduleId);
}

std::vector<ScheduleEvent> ServerEngine::todaysActions() const
{
    const std::lock_guard lock(m_scheduleLock);
    return m_plan.events();
}

OperatorSettings ServerEngine::settings() const
{
    return m_settings;
}

TrayState ServerEngine::trayState() const
{
    TrayState state;
    state.pollRunning = m_pollJobs > 0;
    state.scheduleRunning = m_actionJobs > 0;
    state.monitoring = m_settings.monitoring != 0 || state.pollRunning;
    if (state.scheduleRunning) {
        state.schedule = true;
    } else {
        const std::lock_guard lock(m_scheduleLock);
        state.schedule = m_plan.hasScheduleAction() || !m_dueActions.empty();
    }
    return state;
}

} // namespace lumivane
