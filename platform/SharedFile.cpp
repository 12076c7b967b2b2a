#include "SharedFile.h"

#include "DataFolder.h"
#include "UniqueFd.h"

#include <algorithm>
#include <cstdint>
#include <sys/random.h>

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

// Removes the temporaries ".<name>.XXXXXX" of `name` that an earlier writer left behind in `folder`.
// Writers hold the file exclusively while they write (its sidecar lock, or a log's mutex), so any such file
// that exists when a writer starts belongs to one that died before its rename.
void removeStaleTemporaries(int folder, const std::string& name)
{
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* directory = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!directory) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const std::string prefix = "." + name + ".";
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view entryName(entry->d_name);
        if (entryName.size() == prefix.size() + 6 && entryName.substr(0, prefix.size()) == prefix)
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(directory);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates ".<name>.XXXXXX" in `folder` with a fresh random suffix, 0600, never through a link.
int createTemporary(int folder, const std::string& name, std::string& tempName)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t random = 0;
        if (::getrandom(&random, sizeof random, 0) != sizeof random)
            random = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) + attempt;
        tempName = "." + name + ".";
        for (int i = 0; i < 6; ++i, random /= sizeof kLetters - 1)
            tempName += kLetters[random % (sizeof kLetters - 1)];
        const int fd = ::openat(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

std::string systemErrorText(int errorNumber)
{
    char buffer[256];
    // GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
    return text;
}

SidecarLock::SidecarLock(SidecarLock&& other) noexcept : m_fd(other.m_fd), m_unlockedRead(other.m_unlockedRead)
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

int openFileNoFollow(const std::string& path, int flags)
{
    const UniqueFd folder(openFolder(folderOf(path)));
    if (folder.get() < 0)
        return -1;
    const std::string name = nameOf(path);
    flags |= O_NOFOLLOW | O_CLOEXEC;
    if (!(flags & O_CREAT))
        return ::openat(folder.get(), name.c_str(), flags);
    // Without O_CREAT first, so that only a file this call creates gets its mode set.
    for (;;) {
        const int fd = ::openat(folder.get(), name.c_str(), flags & ~(O_CREAT | O_EXCL));
        if (fd >= 0 || errno != ENOENT)
            return fd;
        const int created = ::openat(folder.get(), name.c_str(), flags | O_EXCL, 0600);
        if (created >= 0) {
            ::fchmod(created, 0660);
            return created;
        }
        if (errno != EEXIST)
            return -1;
    }
}

bool removeFileNoFollow(const std::string& path)
{
    const UniqueFd folder(openFolder(folderOf(path)));
    return folder.get() >= 0 && ::unlinkat(folder.get(), nameOf(path).c_str(), 0) == 0;
}

std::string fileErrorText(int errorNumber, const std::string& path)
{
    if (errorNumber == ELOOP)
        return "A symbolic link, which is not followed - " + path;
    return systemErrorText(errorNumber) + " - " + path;
}

bool SidecarLock::acquire(const std::string& path, FileAccess access, std::string& error)
{
    release();
    const std::string lockPath = sidecarPath(path);
    // Read-only: flock needs no write access, and an operator may lock a sidecar that another one created.
    const int fd = openFileNoFollow(lockPath, O_RDONLY | O_CREAT | O_NONBLOCK);
    if (fd < 0) {
        const int openErrno = errno;
        const bool readOnlyFolder = openErrno == EACCES || openErrno == EROFS || openErrno == EPERM;
        if (access != FileAccess::ExclusiveWrite && readOnlyFolder) {
            m_unlockedRead = true;
            return true;
        }
        error = fileErrorText(openErrno, lockPath);
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
    m_name = nameOf(path);
    m_folder = openFolder(folderOf(path));
    if (m_folder < 0) {
        error = fileErrorText(errno, folderOf(path));
        return false;
    }
    removeStaleTemporaries(m_folder, m_name);
    m_fd = createTemporary(m_folder, m_name, m_tempName);
    if (m_fd < 0) {
        error = fileErrorText(errno, path);
        discard();
        return false;
    }
    // A new version keeps the old file's permissions; a new file is 0660 (the folder's modes and default
    // ACL decide who gets in). Set on the descriptor, never through the process umask.
    struct stat existing
    {
    };
    const bool replacing =
        ::fstatat(m_folder, m_name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(existing.st_mode);
    ::fchmod(m_fd, replacing ? existing.st_mode & 0777 : 0660);
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
    if (ok && ::renameat(m_folder, m_tempName.c_str(), m_folder, m_name.c_str()) != 0) {
        m_writeErrno = errno;
        ok = false;
    }
    if (!ok) {
        error = fileErrorText(m_writeErrno, m_path);
        discard();
        return false;
    }
    if (sync)
        ::fsync(m_folder);
    discard();
    return true;
}

void AtomicFileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlinkat(m_folder, m_tempName.c_str(), 0);
        m_fd = -1;
    }
    if (m_folder >= 0) {
        ::close(m_folder);
        m_folder = -1;
    }
    m_buffer.clear();
}

ReadResult readSharedFile(const std::string& path, FileAccess access, std::string& content, std::string& error)
{
    content.clear();
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT)
        return ReadResult::Missing;
    SidecarLock lock;
    if (!lock.acquire(path, access, error))
        return ReadResult::Failed;
    return readLockedFile(path, content, error);
}

ReadResult readLockedFile(const std::string& path, std::string& content, std::string& error)
{
    content.clear();
    // Non-blocking, so that a pipe or a device in the file's place cannot hold the reader.
    const UniqueFd fd(openFileNoFollow(path, O_RDONLY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        error = fileErrorText(errno, path);
        return ReadResult::Failed;
    }
    struct stat info
    {
    };
    if (::fstat(fd.get(), &info) != 0) {
        error = fileErrorText(errno, path);
        return ReadResult::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "Not a regular file - " + path;
        return ReadResult::Failed;
    }
    if (static_cast<uint64_t>(info.st_size) > kMaxSharedFileSize) {
        error = "The file is larger than 64 MiB - " + path;
        return ReadResult::Failed;
    }
    // Read straight into the result; the size is a hint, the file may change length meanwhile.
    content.resize(static_cast<size_t>(info.st_size) + 1);
    size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > kMaxSharedFileSize) {
                content.clear();
                error = "The file is larger than 64 MiB - " + path;
                return ReadResult::ReadError;
            }
            content.resize(std::min(content.size() * 2 + 4096, kMaxSharedFileSize + 1));
        }
        const ssize_t got = ::read(fd.get(), content.data() + used, content.size() - used);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = fileErrorText(errno, path);
            content.clear();
            return ReadResult::ReadError;
        }
        used += static_cast<size_t>(got);
    }
    content.resize(used);
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
