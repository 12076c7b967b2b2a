#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace lumivane {

// A machine-wide mutex by name ("Global\VaneCheckServer"): an flock on "<runtime folder>/<name>.lock",
// with "\" written as "_". Recursive within one thread, exclusive between threads and processes. A
// process that dies holding it releases it (the kernel drops the flock), so an abandoned mutex is
// simply acquired by the next waiter.
class NamedMutex
{
public:
    explicit NamedMutex(std::string name);
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;
    ~NamedMutex();

    // Waits without limit (no timeout) or up to `timeout`. False when the time ran out (lastError() empty)
    // or the lock file cannot be opened (lastError() says why).
    bool lock(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    bool tryLock() { return lock(std::chrono::milliseconds(0)); }
    void unlock(); // ignored unless the calling thread holds the mutex

    const std::string& name() const { return m_name; }
    const std::string& lastError() const { return m_lastError; }

    // The file that carries the lock of `name`; empty when the runtime folder is unknown.
    static std::string lockFilePath(const std::string& name);

private:
    bool openLockFile();
    bool lockFile(std::chrono::steady_clock::time_point deadline, bool limited);

    std::string m_name;
    std::string m_lastError;
    std::recursive_timed_mutex m_threadLock;
    int m_fd = -1;
    int m_depth = 0;                        // guarded by m_threadLock
    std::atomic<std::thread::id> m_owner{}; // lets unlock() ignore a thread that does not hold it
};

} // namespace lumivane
