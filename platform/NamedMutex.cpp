#include "NamedMutex.h"

#include "DataFolder.h"
#include "SharedFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace lumivane {
namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(10);
}

NamedMutex::NamedMutex(std::string name) : m_name(std::move(name)) {}

NamedMutex::~NamedMutex()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string NamedMutex::lockFilePath(const std::string& name)
{
    const std::string folder = runtimeFolder(true);
    if (folder.empty())
        return {};
    std::string fileName = name;
    std::replace(fileName.begin(), fileName.end(), '\\', '_');
    std::replace(fileName.begin(), fileName.end(), '/', '_');
    return folder + "/" + fileName + ".lock";
}

bool NamedMutex::openLockFile()
{
    if (m_fd >= 0)
        return true;
    const std::string path = lockFilePath(m_name);
    if (path.empty()) {
        m_lastError = "The folder of the lock files is unknown or cannot be created.";
        return false;
    }
    // Read-only: flock needs no write access, so an operator may lock a file that another one created.
    // Non-blocking, so that a pipe planted in its place cannot hold the opener.
    m_fd = openFileNoFollow(path, O_RDONLY | O_CREAT | O_NONBLOCK);
    if (m_fd < 0) {
        m_lastError = fileErrorText(errno, path);
        return false;
    }
    return true;
}

bool NamedMutex::lockFile(std::chrono::steady_clock::time_point deadline, bool limited)
{
    for (;;) {
        if (::flock(m_fd, limited ? LOCK_EX | LOCK_NB : LOCK_EX) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            m_lastError = systemErrorText(errno);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool NamedMutex::lock(std::optional<std::chrono::milliseconds> timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout.value_or(std::chrono::milliseconds(0));
    m_lastError.clear();
    if (timeout) {
        if (!m_threadLock.try_lock_until(deadline))
            return false;
    } else {
        m_threadLock.lock();
    }
    if (m_depth == 0 && !(openLockFile() && lockFile(deadline, timeout.has_value()))) {
        m_threadLock.unlock();
        return false;
    }
    ++m_depth;
    m_owner = std::this_thread::get_id();
    return true;
}

void NamedMutex::unlock()
{
    if (m_owner != std::this_thread::get_id())
        return;
    if (--m_depth == 0) {
        m_owner = std::thread::id();
        ::flock(m_fd, LOCK_UN);
    }
    m_threadLock.unlock();
}

} // namespace lumivane
