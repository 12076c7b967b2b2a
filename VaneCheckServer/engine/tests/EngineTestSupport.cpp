#include "EngineTestSupport.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace lumivane::test {

bool FakeClock::sleepFor(std::chrono::milliseconds duration, const std::function<bool()>& cancelled)
{
    const auto isCancelled = [&] { return cancelled && cancelled(); };
    if (isCancelled())
        return false;
    const int64_t end = m_nowMs + duration.count();
    m_slept += duration.count();
    if (m_driven) {
        ++m_sleepers;
        std::unique_lock lock(m_mutex);
        while (m_nowMs < end && !isCancelled())
            m_moved.wait_for(lock, std::chrono::milliseconds(5));
        --m_sleepers;
        return !isCancelled();
    }
    if (const int divisor = m_realDivisor; divisor > 0) {
        const auto realEnd = std::chrono::steady_clock::now() + duration / divisor;
        while (std::chrono::steady_clock::now() < realEnd) {
            if (isCancelled())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    moveTo(end);
    return !isCancelled();
}

void FakeClock::set(std::time_t time)
{
    {
        const std::lock_guard lock(m_mutex);
        m_nowMs = int64_t(time) * 1000;
    }
    m_moved.notify_all();
}

void FakeClock::advance(std::chrono::milliseconds duration)
{
    {
        const std::lock_guard lock(m_mutex);
        m_nowMs += duration.count();
    }
    m_moved.notify_all();
}

void FakeClock::moveTo(int64_t ms)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_nowMs < ms)
            m_nowMs = ms;
    }
    m_moved.notify_all();
}

void useUtc()
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
}

std::time_t localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::string logTime(std::time_t time)
{
    const std::tm local = localTimeOf(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

TESSERA_PANEL_DATA lanMonitor(const sim::Emulator& fleet, const std::string& chain, const std::string& model)
{
    const auto place = fleet.place(chain);
    TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
    data.nInterface = 1;
    in_addr address{};
    ::inet_pton(AF_INET, place ? place->address.c_str() : "127.0.0.1", &address);
    data.dwIPAddress = ntohl(address.s_addr);
    data.nDataPort = place ? place->dataPort : 1;
    std::strncpy(data.szModel, model.c_str(), sizeof data.szModel - 1);
    std::strncpy(data.szName, chain.c_str(), sizeof data.szName - 1);
    return data;
}

ServerPanel serverPanel(const TESSERA_PANEL_DATA& data)
{
    ServerPanel panel;
    panel.data = data;
    panel.log.SetFile(CMyLog::monitorLogName(data.szName));
    return panel;
}

int countReceived(const sim::Emulator& fleet, const std::string& chain, const std::string& line)
{
    const std::vector<std::string> lines = fleet.receivedLines(chain);
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> readLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

MailCatcher::MailCatcher() : m_script(m_folder.file("sendmail")), m_program("LUMIVANE_SENDMAIL", m_script)
{
    ::mkdir(m_folder.file("mails").c_str(), 0700);
    writeFile(m_script, "#!/bin/sh\n"
                        "n=0\n"
                        "while [ -e \"" +
                            m_folder.file("mails") +
                            "/$n.eml\" ]; do n=$((n+1)); done\n"
                            "cat > \"" +
                            m_folder.file("mails") +
                            "/$n.eml.part\"\n"
                            "mv \"" +
                            m_folder.file("mails") + "/$n.eml.part\" \"" + m_folder.file("mails") + "/$n.eml\"\n");
    ::chmod(m_script.c_str(), 0700);
}

std::vector<std::string> MailCatcher::mails() const
{
    std::vector<std::string> mails;
    for (int n = 0;; ++n) {
        const std::string path = m_folder.file("mails") + "/" + std::to_string(n) + ".eml";
        if (!fileExists(path))
            break;
        mails.push_back(readFile(path));
    }
    return mails;
}

std::vector<std::string> MailCatcher::mailsWithSubject(const std::string& subject) const
{
    std::vector<std::string> found;
    for (const std::string& mail : mails()) {
        if (mail.find("Subject: " + subject + "\r\n") != std::string::npos)
            found.push_back(mail);
    }
    return found;
}

void RecordingHost::postToStatusWindow(int message, int wParam)
{
    posted.emplace_back(message, wParam);
}

void RecordingHost::addErrorListEntry(const std::string& monitorName, const std::string& text)
{
    errorList.emplace_back(monitorName, text);
}

void RecordingHost::postRunFinished(int errorCount)
{
    {
        const std::lock_guard lock(m_mutex);
        m_runs.push_back(errorCount);
    }
    m_finished.notify_all();
}

int RecordingHost::waitForRun()
{
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [this] { return !m_runs.empty(); });
    const int errors = m_runs.front();
    m_runs.erase(m_runs.begin());
    return errors;
}

void RecordingHost::postManualProgress(int done)
{
    {
        const std::lock_guard lock(m_mutex);
        progress.push_back(done);
    }
    m_finished.notify_all();
}

bool RecordingHost::waitForProgress(int done, std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_finished.wait_for(lock, limit, [&] { return !progress.empty() && progress.back() >= done; });
}

std::optional<int> RecordingHost::endedRun()
{
    const std::lock_guard lock(m_mutex);
    if (m_runs.empty())
        return std::nullopt;
    const int errors = m_runs.front();
    m_runs.erase(m_runs.begin());
    return errors;
}

} // namespace lumivane::test
