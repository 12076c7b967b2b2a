#pragma once

#include "ServerPanel.h"
#include "ServerStatus.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace lumivane {

class Clock;
class ServerEngine;

// What the last run did, for the metrics.
struct RunFigures
{
    bool anyRun = false;          // a run has ended since the server started
    double durationSeconds = 0;   // of the last run
    int monitorsChecked = 0;      // monitors the last run handled
    int monitorsInError = 0;      // of those, the ones left with a nonzero status
    uint64_t actionsExecuted = 0; // schedule actions carried out on a monitor since the start
    uint64_t actionsFailed = 0;   // of those, the ones whose command failed
};

// Writes the server's state for scripts and monitoring systems: "Status/status.json" at the start and
// around every run, and, when `MetricsFile` of section `Check` names a file, the Prometheus text format
// there after every run. Both files are replaced atomically, so a reader never sees half of one.
//
// Threads: countScheduleAction() is called by the run's threads; everything else on the main thread.
class StatusPublisher
{
public:
    StatusPublisher(const CMyLog& serverLog, Clock& clock) : m_serverLog(serverLog), m_clock(clock) {}

    void serverStarted();
    void runStarted();
    // A schedule action was carried out on one monitor; `succeeded` is false when its command failed.
    void countScheduleAction(bool succeeded);
    // The copies of the run that ended: what it checked and what it left in error.
    void runEnded(const std::vector<ServerPanel>& copies, const std::vector<ServerPanel>& manualCopies);

    // Writes the state of the engine's live list; with `running` a run is going on. The metrics are written
    // only when a run ended since the last call (and at the start).
    void publish(const ServerEngine& engine, bool running);

    // The state of the live monitors for the status file, as the status window shows it.
    ServerStatus snapshot(const ServerEngine& engine, bool running) const;
    RunFigures figures() const;

private:
    void writeFile(const std::string& what, const std::string& path, const std::string& content);
    void noteProblem(const std::string& what, const std::string& error);

    const CMyLog& m_serverLog;
    Clock& m_clock;
    std::time_t m_serverStarted = 0;
    std::time_t m_lastRunEnd = 0;
    std::chrono::steady_clock::time_point m_runStart;
    RunFigures m_figures;
    bool m_metricsDue = true;
    std::atomic<uint64_t> m_actionsExecuted{0};
    std::atomic<uint64_t> m_actionsFailed{0};
    std::map<std::string, std::string> m_problems; // per file, the error last logged
};

// The Prometheus text exposition format of the state and the figures.
std::string prometheusText(const ServerStatus& status, const RunFigures& figures);

} // namespace lumivane
