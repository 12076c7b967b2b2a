#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// Files that the console and the server share are guarded by a sidecar lock file ".<name>.lock" beside
// them. A held lock is what another platform calls a sharing violation: it is retried every 100 ms, up to
// 101 times (about ten seconds), before the open fails.
enum class FileAccess
{
    SharedRead,     // other readers, no writer
    ExclusiveRead,  // nobody else
    ExclusiveWrite, // nobody else; the file is replaced whole on commit
};

// The text a failed open reports when the file stayed held by another process.
inline constexpr const char* kSharingViolationText =
    "The process cannot access the file because it is being used by another process.";

// Holds the sidecar lock of one file; released on destruction.
class SidecarLock
{
public:
    SidecarLock() = default;
    SidecarLock(SidecarLock&& other) noexcept;
    SidecarLock& operator=(SidecarLock&& other) noexcept;
    SidecarLock(const SidecarLock&) = delete;
    SidecarLock& operator=(const SidecarLock&) = delete;
    ~SidecarLock();

    // Takes the lock for `path`, retrying while another process holds it. On failure returns false and sets
    // `error` to the cause. A read lock in a folder where the sidecar cannot be created (read-only
    // installation folder) is granted without a lock file: nobody can write there either.
    bool acquire(const std::string& path, FileAccess access, std::string& error);
    void release();
    bool held() const { return m_fd >= 0 || m_unlockedRead; }

private:
    int m_fd = -1;
    bool m_unlockedRead = false;
};

// Writes a new version of a file next to it and renames it over the old one on commit, so that a crash,
// a full disk or a failed write never leaves a half-written file behind and no reader sees one. The
// caller holds the file exclusively; opening removes temporaries that a writer which died left behind.
class AtomicFileWriter
{
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter(); // discards an uncommitted file

    bool open(const std::string& path, std::string& error);
    bool write(std::string_view data);
    // Flushes, optionally syncs to disk, and renames over the target. Returns false and keeps the old
    // file when anything failed since open.
    bool commit(std::string& error, bool sync = true);
    void discard();
    bool isOpen() const { return m_fd >= 0; }

private:
    bool flushBuffer();

    int m_folder = -1;
    int m_fd = -1;
    std::string m_path;
    std::string m_name;
    std::string m_tempName;
    std::string m_buffer;
    int m_writeErrno = 0;
};

// Failed: the file could not be opened (or is no regular file, or is too large); ReadError: reading it
// failed after it was opened.
enum class ReadResult
{
    Ok,
    Missing,
    Failed,
    ReadError
};

// The largest shared file that is read; anything larger is refused rather than loaded.
inline constexpr size_t kMaxSharedFileSize = size_t(64) << 20;

// Reads the whole file under the sidecar lock of `access`. Missing: no file at the path (error empty).
ReadResult readSharedFile(const std::string& path, FileAccess access, std::string& content, std::string& error);

// Reads the whole file when the caller already holds its sidecar lock (or needs none). The one way every
// program reads a file it shares with others: it is opened without following a link and without waiting
// on a device or a pipe, and must be a regular file of at most kMaxSharedFileSize bytes. `error` names the
// file.
ReadResult readLockedFile(const std::string& path, std::string& content, std::string& error);

// Opens `path` close-on-exec and without following a link at its end or inside the data folder (see
// openFolder). With O_CREAT a file that this call creates gets mode 0660, set on its descriptor. -1 with
// errno set on failure.
int openFileNoFollow(const std::string& path, int flags);

// Removes the file at `path` (a link itself, never what it points to), reaching its folder as
// openFileNoFollow does. False with errno set on failure.
bool removeFileNoFollow(const std::string& path);

// "<what went wrong> - <path>" for an errno of an open or a read.
std::string fileErrorText(int errorNumber, const std::string& path);

// Replaces the whole file under its exclusive sidecar lock through an AtomicFileWriter.
bool writeSharedFile(const std::string& path, std::string_view content, std::string& error, bool sync = true);

// The text of an errno value, as the operating system describes it.
std::string systemErrorText(int errorNumber);

} // namespace lumivane
