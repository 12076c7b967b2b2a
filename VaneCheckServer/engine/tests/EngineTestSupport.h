#pragma once

#include "Clock.h"
#include "Emulator.h"
#include "EngineHost.h"
#include "PanelRegistry.h"
#include "ServerPanel.h"
#include "TempFolder.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lumivane::test {

// A clock that tests set and advance. Time passes during the worker's waits: by default a wait moves the
// clock on at once, to the end of the wait (waits that run at the same time end together, they do not add
// up); with `realDivisor` it also takes that fraction of the time for real, for monitors whose emulated
// behaviour runs on real time. A driven clock instead holds each wait until the test has advanced the clock
// past its end, so that a test can tick through a run that goes on meanwhile.
class FakeClock : public Clock
{
public:
    explicit FakeClock(std::time_t start = 0) : m_nowMs(int64_t(start) * 1000) {}

    std::time_t now() const override { return static_cast<std::time_t>(m_nowMs / 1000); }
    bool sleepFor(std::chrono::milliseconds duration, const std::function<bool()>& cancelled) override;

    void set(std::time_t time);
    void advance(std::chrono::milliseconds duration);
    std::chrono::milliseconds slept() const { return std::chrono::milliseconds(m_slept.load()); }
    void setRealDivisor(int divisor) { m_realDivisor = divisor; }
    void setDriven(bool driven) { m_driven = driven; }
    // Waits going on now (driven clock).
    int sleepers() const { return m_sleepers; }

private:
    void moveTo(int64_t ms);

    std::atomic<int64_t> m_nowMs;
    std::atomic<int64_t> m_slept{0};
    std::atomic<int> m_realDivisor{0};
    std::atomic<bool> m_driven{false};
    std::atomic<int> m_sleepers{0};
    std::mutex m_mutex;
    std::condition_variable m_moved;
};

// Local time of a day (the tests run in UTC).
std::time_t localTime(int year, int month, int day, int hour, int minute, int second = 0);
// "2024/03/04 08:00:10".
std::string logTime(std::time_t time);
// Puts the process in UTC so that local days are fixed, whatever the machine's zone.
void useUtc();

// A monitor record for an emulated LAN monitor.
TESSERA_PANEL_DATA lanMonitor(const sim::Emulator& fleet, const std::string& chain, const std::string& model);
// A ServerPanel of that record with its log in the data folder.
ServerPanel serverPanel(const TESSERA_PANEL_DATA& data);

// How often `line` was received by the chain.
int countReceived(const sim::Emulator& fleet, const std::string& chain, const std::string& line);
// The lines of a file.
std::vector<std::string> readLines(const std::string& path);

// Mails handed to a fake sendmail program: each one a file in a folder.
class MailCatcher
{
public:
    MailCatcher();
    std::vector<std::string> mails() const; // whole messages, oldest first
    std::vector<std::string> mailsWithSubject(const std::string& subject) const;

private:
    TempFolder m_folder;
    std::string m_script;
    ScopedEnvironment m_program;
};

// Records what the engine asks of its host; the end of a run is waited for with waitForRun().
class RecordingHost : public EngineHost
{
public:
    void postToStatusWindow(int message, int wParam) override;
    void addErrorListEntry(const std::string& monitorName, const std::string& text) override;
    void showErrorList() override { ++errorListShown; }
    void closeProgressDialog() override { ++progressClosed; }
    void openStatusWindow(int authority) override { statusWindowOpened.push_back(authority); }
    void postRunFinished(int errorCount) override;
    void postManualProgress(int done) override;

    // Waits for the worker's message; the error count.
    int waitForRun();
    // The error count of a run that has ended, if one has; does not wait.
    std::optional<int> endedRun();
    // Waits up to `limit` until a command from the status window has done `done` monitors.
    bool waitForProgress(int done, std::chrono::milliseconds limit);

    std::vector<std::pair<int, int>> posted;
    std::vector<std::pair<std::string, std::string>> errorList;
    int errorListShown = 0;
    int progressClosed = 0;
    std::vector<int> statusWindowOpened;
    std::vector<int> progress; // read it once the run has ended

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::vector<int> m_runs;
};

} // namespace lumivane::test
