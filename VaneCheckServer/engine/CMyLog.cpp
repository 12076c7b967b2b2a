#include "CMyLog.h"

#include "Clock.h"
#include "DataFolder.h"
#include "NamedMutex.h"
#include "SharedFile.h"
#include "Utf8.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr const char* kLogFolder = "Log";

std::string timeText(std::time_t time)
{
    const std::tm local = localTimeOf(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

// "<data folder>/Log", created when missing; empty when it is unknown or cannot be created.
std::string logFolder()
{
    const std::string data = dataFolder(true);
    if (data.empty())
        return {};
    // With the data folder's group and mode; a link in its place is refused.
    std::string error;
    return ensureSubfolder(data, kLogFolder, error) ? data + "/" + kLogFolder : std::string();
}

// Holds the log's machine-wide mutex for one write or trim. The work goes on when the wait ran out.
class LogMutexHold
{
public:
    explicit LogMutexHold(const std::string& name) : m_mutex(name)
    {
        m_held = m_mutex.lock(std::chrono::milliseconds(CMyLog::kMutexWaitMs));
    }
    LogMutexHold(const LogMutexHold&) = delete;
    LogMutexHold& operator=(const LogMutexHold&) = delete;
    ~LogMutexHold()
    {
        if (m_held)
            m_mutex.unlock();
    }

private:
    NamedMutex m_mutex;
    bool m_held = false;
};

bool writeWhole(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

} // namespace

CMyLog::CMyLog(const Clock* clock) : m_clock(clock) {}

void CMyLog::SetFile(std::string_view fileName)
{
    if (fileName.empty() || fileName.find('/') != std::string_view::npos || fileName == "." || fileName == "..")
        return;
    const std::string folder = logFolder();
    if (folder.empty())
        return;
    std::string path = folder + "/" + std::string(fileName);
    if (path.size() >= kMaxPath)
        return;
    m_path = std::move(path);
    m_mutexName = makeGlobalName("MyLog_" + std::string(fileName));
}

void CMyLog::Error(std::string_view text) const
{
    write("ERROR", text);
}

void CMyLog::Trace(std::string_view text) const
{
    write("Trace", text);
}

std::string CMyLog::monitorLogName(std::string_view monitorName)
{
    std::string_view kept = monitorName;
    if (kept.size() > kMonitorNameBytes) {
        // Keep the character that holds the 64th byte whole, as a double-byte code page did.
        size_t end = cutUtf8(kept, kMonitorNameBytes).size();
        if (end < kMonitorNameBytes) {
            end = kMonitorNameBytes;
            while (end < kept.size() && (static_cast<unsigned char>(kept[end]) & 0xC0) == 0x80)
                ++end;
        }
        kept = kept.substr(0, end);
    }
    return std::string(kept) + ".log";
}

void CMyLog::write(std::string_view kind, std::string_view text) const
{
    if (m_path.empty())
        return;
    const Clock& clock = m_clock ? *m_clock : systemClock();
    std::string line = timeText(clock.now());
    line.append(": ").append(kind).append(": ").append(text).append("\n");

    // One hold of the mutex for the trim and the line, so that no other writer comes between.
    const LogMutexHold hold(m_mutexName);
    int fd = openForAppend();
    if (fd < 0)
        return;
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && static_cast<size_t>(info.st_size) >= kMaxSize) {
        ::close(fd);
        trimFile(m_path, kMaxSize, kKeepSize);
        if ((fd = openForAppend()) < 0)
            return;
    }
    writeWhole(fd, line);
    ::close(fd);
}

int CMyLog::openForAppend() const
{
    // Non-blocking and regular files only, so that a pipe or a device in its place cannot hold the writer.
    const int fd = openFileNoFollow(m_path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK);
    struct stat info
    {
    };
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool CMyLog::trimFile(const std::string& path, size_t maxSize, size_t keepSize)
{
    const int fd = openFileNoFollow(path, O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) < maxSize) {
        ::close(fd);
        return false;
    }
    const size_t size = static_cast<size_t>(info.st_size);
    const size_t from = size > keepSize ? size - keepSize : 0;
    // One byte more than kept, to see whether the kept part starts at a line.
    const size_t readFrom = from > 0 ? from - 1 : 0;
    std::string tail(size - readFrom, '\0');
    size_t got = 0;
    while (got < tail.size()) {
        const ssize_t count = ::pread(fd, tail.data() + got, tail.size() - got, static_cast<off_t>(readFrom + got));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        got += static_cast<size_t>(count);
    }
    ::close(fd);
    if (got != tail.size())
        return false;

    std::string_view kept(tail);
    if (from > 0) {
        const bool atLine = kept.front() == '\n';
        kept.remove_prefix(1);
        if (!atLine) {
            const size_t lineEnd = kept.find('\n');
            kept.remove_prefix(lineEnd == std::string_view::npos ? kept.size() : lineEnd + 1);
        }
    }
    AtomicFileWriter writer;
    std::string error;
    if (!writer.open(path, error) || !writer.write(kept))
        return false;
    if (!kept.empty() && kept.back() != '\n')
        writer.write("\n");
    return writer.commit(error, false);
}

} // namespace lumivane
