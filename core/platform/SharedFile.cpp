#include "SharedFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(100);
constexpr int kRetryCount = 101;
constexpr size_t kWriteChunk = 1 << 16;

std::string sidecarPath(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".lock";
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Removes the temporaries ".<name>.XXXXXX" of `path` that an earlier writer left behind. Writers hold the
// file exclusively while they write (its sidecar lock, or a log's mutex), so any such file that exists
// when a writer starts belongs to one that died before its rename.
void removeStaleTemporaries(const std::string& folder, const std::string& name)
{
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return;
    const std::string prefix = "." + name + ".";
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view entryName(entry->d_name);
        if (entryName.size() == prefix.size() + 6 && entryName.substr(0, prefix.size()) == prefix)
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

} // namespace

std::string systemErrorText(int errorNumber)
{
    char buffer[256];
    // GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
    return text;
}

SidecarLock::SidecarLock(SidecarLock&& other) noexcept
    : m_fd(other.m_fd), m_unlockedRead(other.m_unlockedRead)
{
    other.m_fd = -1;
    other.m_unlockedRead = false;
}

SidecarLock& SidecarLock::operator=(SidecarLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_unlockedRead = other.m_unlockedRead;
        other.m_fd = -1;
        other.m_unlockedRead = false;
    }
    return *this;
}

SidecarLock::~SidecarLock()
{
    release();
}

bool SidecarLock::acquire(const std::string& path, FileAccess access, std::string& error)
{
    release();
    const std::string lockPath = sidecarPath(path);
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int openErrno = errno;
        const bool readOnlyFolder = openErrno == EACCES || openErrno == EROFS || openErrno == EPERM;
        if (access != FileAccess::ExclusiveWrite && readOnlyFolder) {
            m_unlockedRead = true;
            return true;
        }
        error = systemErrorText(openErrno);
        return false;
    }
    const int operation = (access == FileAccess::SharedRead ? LOCK_SH : LOCK_EX) | LOCK_NB;
    for (int attempt = 0;; ++attempt) {
        if (::flock(fd, operation) == 0) {
            m_fd = fd;
            return true;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || attempt == kRetryCount) {
            error = errno == EWOULDBLOCK ? kSharingViolationText : systemErrorText(errno);
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

void SidecarLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd); // closing the descriptor drops the flock
        m_fd = -1;
    }
    m_unlockedRead = false;
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

bool AtomicFileWriter::open(const std::string& path, std::string& error)
{
    discard();
    m_path = path;
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    removeStaleTemporaries(folderOf(path), name);
    m_tempPath = folderOf(path) + "/." + name + ".XXXXXX";
    m_fd = ::mkostemp(m_tempPath.data(), O_CLOEXEC);
    if (m_fd < 0) {
        error = systemErrorText(errno);
        return false;
    }
    // mkostemp creates 0600; a new version keeps the old file's mode, a new file gets what umask allows.
    struct stat existing{};
    mode_t mode;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(m_fd, mode);
    m_writeErrno = 0;
    m_buffer.clear();
    return true;
}

bool AtomicFileWriter::flushBuffer()
{
    if (m_writeErrno == 0 && !m_buffer.empty() && !writeAll(m_fd, m_buffer.data(), m_buffer.size()))
        m_writeErrno = errno;
    m_buffer.clear();
    return m_writeErrno == 0;
}

bool AtomicFileWriter::write(std::string_view data)
{
    if (m_fd < 0)
        return false;
    m_buffer.append(data);
    if (m_buffer.size() >= kWriteChunk)
        return flushBuffer();
    return m_writeErrno == 0;
}

bool AtomicFileWriter::commit(std::string& error, bool sync)
{
    if (m_fd < 0) {
        error = "file is not open";
        return false;
    }
    bool ok = flushBuffer();
    if (ok && sync && ::fsync(m_fd) != 0) {
        m_writeErrno = errno;
        ok = false;
    }
    if (::close(m_fd) != 0 && ok) {
        m_writeErrno = errno;
        ok = false;
    }
    m_fd = -1;
    if (ok && ::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        m_writeErrno = errno;
        ok = false;
    }
    if (!ok) {
        error = systemErrorText(m_writeErrno);
        ::unlink(m_tempPath.c_str());
        return false;
    }
    if (sync) {
        const int folder = ::open(folderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    return true;
}

void AtomicFileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_tempPath.c_str());
        m_fd = -1;
    }
    m_buffer.clear();
}

ReadResult readSharedFile(const std::string& path, FileAccess access, std::string& content, std::string& error)
{
    content.clear();
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return ReadResult::Missing;
    SidecarLock lock;
    if (!lock.acquire(path, access, error))
        return ReadResult::Failed;
    return readLockedFile(path, content, error);
}

ReadResult readLockedFile(const std::string& path, std::string& content, std::string& error)
{
    content.clear();
    struct stat info{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        error = systemErrorText(errno);
        return ReadResult::Failed;
    }
    // Read straight into the result; the size is a hint, the file may change length meanwhile.
    size_t size = ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
    content.resize(size + 1);
    size_t used = 0;
    for (;;) {
        if (used == content.size())
            content.resize(content.size() * 2 + 4096);
        const ssize_t got = ::read(fd, content.data() + used, content.size() - used);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = systemErrorText(errno);
            ::close(fd);
            content.clear();
            return ReadResult::Failed;
        }
        used += static_cast<size_t>(got);
    }
    content.resize(used);
    ::close(fd);
    return ReadResult::Ok;
}

bool writeSharedFile(const std::string& path, std::string_view content, std::string& error, bool sync)
{
    SidecarLock lock;
    if (!lock.acquire(path, FileAccess::ExclusiveWrite, error))
        return false;
    AtomicFileWriter writer;
    if (!writer.open(path, error))
        return false;
    writer.write(content);
    return writer.commit(error, sync);
}

} // namespace lumivane
