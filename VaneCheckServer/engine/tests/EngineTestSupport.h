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
#include <string>
#include <vector>

namespace lumivane::test {

// A clock that tests set and advance. Waits of the worker move it on at once; with `realDivisor` they also
// take that fraction of the time for real, for monitors whose emulated behaviour runs on real time.
class FakeClock : public Clock
{
public:
    explicit FakeClock(std::time_t start = 0) : m_now(start) {}

    std::time_t now() const override { return m_now; }
    bool sleepFor(std::chrono::milliseconds duration, const std::function<bool()>& cancelled) override;

    void set(std::time_t time) { m_now = time; }
    void advance(std::chrono::seconds seconds) { m_now += seconds.count(); }
    std::chrono::milliseconds slept() const { return std::chrono::milliseconds(m_slept.load()); }
    void setRealDivisor(int divisor) { m_realDivisor = divisor; }

private:
    std::atomic<std::time_t> m_now;
    std::atomic<int64_t> m_slept{0};
    std::atomic<int> m_realDivisor{0};
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
    void postManualProgress(int done) override { progress.push_back(done); }

    // Waits for the worker's message; the error count.
    int waitForRun();

    std::vector<std::pair<int, int>> posted;
    std::vector<std::pair<std::string, std::string>> errorList;
    int errorListShown = 0;
    int progressClosed = 0;
    std::vector<int> statusWindowOpened;
    std::vector<int> progress;

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::vector<int> m_runs;
};

} // namespace lumivane::test
