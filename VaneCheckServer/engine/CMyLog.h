#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumivane {

class Clock;

// One log file of the server in the folder "Log" of the data folder: the server's own
// ("PanelDeskServer.log") and one per monitor. Lines read "<local time>: ERROR: <text>" or
// "<local time>: Trace: <text>". Writers in every thread and process are kept apart by a machine-wide
// mutex named after the file, waited for at most ten seconds; the line is written either way. A file that
// reached kMaxSize is cut to about its last kKeepSize bytes, starting at a line, before the next line.
// A log without a file (empty path) writes nothing; a line that cannot be written is lost silently.
class CMyLog
{
public:
    static constexpr size_t kMaxSize = 524288;
    static constexpr size_t kKeepSize = 262144;
    static constexpr int kMutexWaitMs = 10000;
    static constexpr size_t kMonitorNameBytes = 64;

    // The clock gives the time of each line; the system clock when none is given.
    explicit CMyLog(const Clock* clock = nullptr);

    // Accepts only a bare file name (no folder part); anything else is ignored. Creates the "Log" folder
    // when missing; when it cannot be created the path stays as it was.
    void SetFile(std::string_view fileName);
    void Error(std::string_view text) const;
    void Trace(std::string_view text) const;

    const std::string& path() const { return m_path; }
    const std::string& mutexName() const { return m_mutexName; }
    void setClock(const Clock* clock) { m_clock = clock; }

    // The file name of a monitor's log: its name, cut after the character that reaches the 64th byte, and
    // ".log".
    static std::string monitorLogName(std::string_view monitorName);

    // Cuts the file at `path` when it holds `maxSize` bytes or more: keeps the lines that start within its
    // last `keepSize` bytes. Without the mutex; for the writer and its tests.
    static bool trimFile(const std::string& path, size_t maxSize, size_t keepSize);

private:
    void write(std::string_view kind, std::string_view text) const;
    int openForAppend() const;

    std::string m_path;
    std::string m_mutexName;
    const Clock* m_clock = nullptr;
};

} // namespace lumivane
