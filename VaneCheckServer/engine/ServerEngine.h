#pragma once

#include "DayPlan.h"
#include "EndpointWorkQueue.h"
#include "EngineHost.h"
#include "MailOutbox.h"
#include "MonitorLink.h"
#include "MonitorWork.h"
#include "ServerPanel.h"
#include "Settings.h"
#include "StatusPublisher.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace lumivane {

class Clock;
class CMyLog;

// What a command from the status window asks for.
struct ManualCommand
{
    bool power = false; // neither power command: check the monitors
    bool on = false;
};

// Which monitors a command from the status window works on: the selected ones by panel number, or (the
// "Get latest status" button) those of the given groups.
struct ManualTargets
{
    std::vector<int> panelNumbers;
    std::vector<int> groupNumbers;
    bool byGroup = false;
};

enum class ManualStart
{
    Started,  // the worker runs; show the progress dialog
    Busy,     // another run is in progress: message 557, nothing is queued
    NoTargets // no target monitor is in use
};

// The tray icon's two bits and the icon they give (Part of the frame's state shown every second).
struct TrayState
{
    bool monitoring = false; // monitoring on, or a status poll running
    bool schedule = false;   // schedule actions running, or a power action still pending today
    bool pollRunning = false;
    bool scheduleRunning = false;

    // 528 both, 532 monitoring only, 533 schedule only, 534 none; in the blink phase the running part is off.
    int icon(bool blinkPhase) const;
};

// The monitoring server's engine: settings, the live list of monitors, the day's actions and the run that
// does all communication with the monitors. It is driven from outside (the timers and messages of a window
// shell or of the headless loop) and talks back through its EngineHost. It shows nothing itself.
//
// A run works on copies of the monitors: up to `Parallel` monitors at once, those sharing an endpoint one
// after another in list order (EndpointWorkQueue). The tick goes on during a run: schedule actions that fall
// due are handed to the running run at once, ahead of its polls; everything else waits for the run's end.
//
// Threads: every public function is for the main thread; the run's threads work only on copies of the
// monitors, each monitor's copy by one job at a time. Locks are taken in the order worker lock, panel lock,
// schedule lock.
class ServerEngine
{
public:
    ServerEngine(EngineHost& host, const CMyLog& serverLog, Clock& clock);
    ServerEngine(const ServerEngine&) = delete;
    ServerEngine& operator=(const ServerEngine&) = delete;
    ~ServerEngine(); // shutdown()

    // Frame creation: reloads the panels, reads the settings, builds today's actions with past ones skipped.
    void start();
    // Exit: cancels and joins the worker, frees the copies and the lists, sends the mails still queued.
    void shutdown();

    // Timer 2, every 10 s.
    void onTick();
    // A window message: 1124 settings, 1125 panels, 1126 schedules changed, 1128 show the status window.
    void onMessage(int message, int64_t wParam, int64_t lParam);
    // Message 1524: the worker ended with `errorCount` monitors in error.
    void onRunFinished(int errorCount);
    // The system clock was set.
    void onClockChanged();

    void ReloadSettings();
    void ReloadPanels();
    // Rebuilds the day's actions; does not note the build time (the callers that must, do).
    void BuildToday(bool skipPast);

    // -- For the status window
    ManualStart startManualCommand(const ManualTargets& targets, ManualCommand command);
    // Cancel in the progress dialog: the command stops between monitors (schedule actions that joined its run
    // go on).
    void cancelRun();
    bool isRunning() const;
    std::vector<ServerPanel> livePanels() const;
    std::optional<ScheduleEvent> nextScheduledAction(int scheduleId) const;
    std::vector<ScheduleEvent> todaysActions() const;
    OperatorSettings settings() const;
    TrayState trayState() const;

    // Waits until the mails of finished runs were handed to the mail program (tests, exit).
    void waitForMail() { m_outbox.waitUntilIdle(); }

private:
    bool workerExists() const { return m_worker.joinable(); }
    void reloadSettingsNow();
    // Reads the panel file; with `rebuild` today's actions are built anew and the status window told.
    void reloadPanelsNow(bool rebuild);
    void buildAndNote(bool skipPast);
    void startWorker();
    void copyLiveListForWorker();

    // The run: jobs are queued on the main thread (with the worker lock held), the worker thread runs them.
    void workerMain();
    // Hands the due actions to the running run, each as one job per monitor that has its schedule. Those
    // the run can no longer take stay for the next run.
    void dispatchDueActions();
    void queuePoll();
    void queueManualCommand();
    // Runs a job's work on a monitor and counts the monitor when the work put it in error.
    void countErrorOf(const ServerPanel& panel, const std::function<void()>& work);
    bool hasDueActions() const
    {
        const std::lock_guard lock(m_scheduleLock);
        return !m_dueActions.empty();
    }

    // FinishRun on the main thread.
    void FinishRun(int errorCount);
    void reportNewError(const ServerPanel& panel, bool toErrorList);
    void mergeIntoLive(const ServerPanel& copy);
    void runExternalCommand(const ServerPanel& panel);

    EngineHost& m_host;
    const CMyLog& m_serverLog;
    Clock& m_clock;
    MailOutbox m_outbox;
    StatusPublisher m_status;

    // Worker lock: the worker thread and the deferred requests.
    mutable std::mutex m_workerLock;
    std::thread m_worker;
    bool m_settingsChanged = false;
    bool m_panelsChanged = false;
    bool m_panelReloadWaiting = false; // the store's lock was not to be had: read the panels at the next tick
    bool m_schedulesChanged = false;
    bool m_clockChanged = false;

    // Panel lock: the live list.
    mutable std::mutex m_panelLock;
    std::vector<ServerPanel> m_live;
    int m_nextStatusKey = 1;

    // Schedule lock: the day's actions, and those due and not yet handed to a run (kept over rebuilds).
    mutable std::mutex m_scheduleLock;
    DayPlan m_plan;
    std::vector<ScheduleEvent> m_dueActions;

    // Main thread only.
    OperatorSettings m_settings;
    std::time_t m_lastBuild = 0;
    int m_tickCount = 0;
    bool m_exiting = false;
    bool m_started = false;

    // Handed to the worker when it starts and taken back when it has ended.
    std::vector<ServerPanel> m_workerPanels;
    std::vector<ServerPanel> m_manualPanels;
    ManualCommand m_manualCommand;
    std::unique_ptr<CancelFlag> m_cancel;       // the whole run: exit
    std::unique_ptr<CancelFlag> m_manualCancel; // a command from the status window: its Cancel, and exit
    std::unique_ptr<EndpointWorkQueue> m_queue;
    std::unique_ptr<WorkContext> m_context;       // schedule actions and polls
    std::unique_ptr<WorkContext> m_manualContext; // a command from the status window
    std::mutex m_progressLock; // the progress of a command from the status window, counted by its jobs
    int m_manualDone = 0;

    std::atomic<bool> m_pollDue{false};
    std::atomic<bool> m_mailDue{false};
    std::atomic<bool> m_manualRequested{false};
    std::atomic<int> m_actionJobs{0}; // schedule actions queued or running, per monitor
    std::atomic<int> m_pollJobs{0};   // checks and commands from the status window queued or running
    std::atomic<int> m_runErrors{0};  // monitors in error in this run
};

} // namespace lumivane
