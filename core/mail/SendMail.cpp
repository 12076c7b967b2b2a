#include "SendMail.h"

#include "MailAddressList.h"
#include "SharedFile.h"
#include "Strings.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace lumivane {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kTestMailQuestionMessage = 182;
constexpr int kTestMailSubjectMessage = 271;
constexpr int kTestMailBodyMessage = 272;

MailResult failure(int message, std::string detail, int errorCode = 0)
{
    MailResult result;
    result.ok = false;
    result.message = message;
    result.errorCode = errorCode;
    result.text = message == kSendMailErrorCodeMessage ? formatMessage(message, errorCode) : messageText(message);
    result.detail = std::move(detail);
    return result;
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// Keeps SIGPIPE blocked for the calling thread, so that writing to a mail program that has gone away fails
// with EPIPE instead of ending the process. A SIGPIPE raised meanwhile is taken off again.
class SigpipeBlock
{
public:
    SigpipeBlock()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;
    ~SigpipeBlock()
    {
        const timespec noWait{};
        if (!m_wasPending)
            while (sigtimedwait(&m_pipe, nullptr, &noWait) == SIGPIPE) {
            }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }

private:
    sigset_t m_pipe;
    sigset_t m_old;
    bool m_wasPending = false;
};

// A pipe whose ends are above standard input, output and error (a daemon may run with those closed), so
// that moving the reading end onto the child's standard input never lands on itself.
bool createPipe(FileDescriptor& readEnd, FileDescriptor& writeEnd)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    for (int& end : ends)
        if (end <= STDERR_FILENO) {
            const int moved = ::fcntl(end, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
            ::close(end);
            end = moved;
        }
    readEnd.reset(ends[0]);
    writeEnd.reset(ends[1]);
    return ends[0] >= 0 && ends[1] >= 0;
}

// Starts "<program> -t -i" with `input` as its standard input, default SIGPIPE handling and no blocked
// signals, whatever the calling program uses. Returns 0 or the error number.
int spawnSendmail(const std::string& program, int input, pid_t& pid)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string headerRecipients = "-t";
    std::string dotIsText = "-i";
    std::string name = program;
    char* arguments[] = {name.data(), headerRecipients.data(), dotIsText.data(), nullptr};
    const int error = ::posix_spawnp(&pid, program.c_str(), &actions, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60000));
}

enum class Outcome
{
    Done,
    Broken,
    TimedOut
};

// The end of a wait: the time limit, or earlier when the caller abandons the mail.
struct Deadline
{
    Clock::time_point time;
    const std::atomic<bool>* abandon;

    bool reached() const { return Clock::now() >= time || (abandon && abandon->load()); }
    int pollMilliseconds() const { return std::min(millisecondsLeft(time), 50); } // wakes to see `abandon`
};

Outcome writeAll(int fd, std::string_view data, const Deadline& deadline, int& error)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written > 0) {
            data.remove_prefix(static_cast<size_t>(written));
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (deadline.reached())
                return Outcome::TimedOut;
            pollfd ready{fd, POLLOUT, 0};
            ::poll(&ready, 1, std::max(1, deadline.pollMilliseconds()));
        } else if (written < 0 && errno != EINTR) {
            error = errno;
            return Outcome::Broken;
        }
    }
    return Outcome::Done;
}

Outcome waitForExit(pid_t pid, const Deadline& deadline, int& status, int& error)
{
    milliseconds pause{1};
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return Outcome::Done;
        if (ended < 0 && errno != EINTR) {
            error = errno;
            return Outcome::Broken;
        }
        if (deadline.reached())
            return Outcome::TimedOut;
        std::this_thread::sleep_for(std::min<milliseconds>(pause, milliseconds(deadline.pollMilliseconds() + 1)));
        pause = std::min(pause * 2, milliseconds(50));
    }
}

void killAndReap(pid_t pid)
{
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

MailResult runSendmail(const std::string& program, const std::string& text, milliseconds timeout,
                       const std::atomic<bool>* abandon)
{
    FileDescriptor readEnd;
    FileDescriptor writeEnd;
    if (!createPipe(readEnd, writeEnd))
        return failure(kMailProgramMissingMessage, "cannot create a pipe: " + systemErrorText(errno));
    pid_t pid = 0;
    const int spawnError = spawnSendmail(program, readEnd.get(), pid);
    readEnd.reset();
    if (spawnError != 0)
        return failure(kMailProgramMissingMessage, program + ": " + systemErrorText(spawnError));

    const Deadline deadline{Clock::now() + timeout, abandon};
    const auto tooSlowText = [&] {
        if (abandon && abandon->load())
            return program + " was stopped: the program sending the mail is ending";
        return program + " did not finish within " +
               std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) + " s";
    };
    int writeError = 0;
    Outcome written;
    {
        SigpipeBlock noSigpipe;
        written = writeAll(writeEnd.get(), text, deadline, writeError);
    }
    writeEnd.reset(); // the end of the message
    if (written == Outcome::TimedOut) {
        killAndReap(pid);
        return failure(kSendMailBrokenMessage, tooSlowText());
    }

    int status = 0;
    int waitError = 0;
    const Outcome ended = waitForExit(pid, deadline, status, waitError);
    if (ended == Outcome::TimedOut) {
        killAndReap(pid);
        return failure(kSendMailBrokenMessage, tooSlowText());
    }
    if (ended == Outcome::Broken)
        return failure(kSendMailBrokenMessage, "cannot wait for " + program + ": " + systemErrorText(waitError));
    if (WIFSIGNALED(status))
        return failure(kSendMailBrokenMessage, program + " ended by signal " + std::to_string(WTERMSIG(status)));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return failure(kSendMailErrorCodeMessage, program + " failed", WEXITSTATUS(status));
    if (written == Outcome::Broken)
        return failure(kSendMailBrokenMessage,
                       program + " did not read the whole message: " + systemErrorText(writeError));
    return {};
}

} // namespace

std::string sendmailProgram()
{
    const char* configured = std::getenv(kSendmailVariable);
    return configured != nullptr && *configured != '\0' ? configured : kDefaultSendmail;
}

MailResult SendMail(const MailMessage& message, std::chrono::milliseconds timeout, const std::atomic<bool>* abandon)
{
    if (message.recipients.empty())
        return {};
    return runSendmail(sendmailProgram(), composeMessage(message), timeout, abandon);
}

MailResult SendMail(const std::string& subject, const std::string& body, const std::vector<std::string>& recipients)
{
    return SendMail(MailMessage{{}, subject, body, recipients});
}

std::string testMailQuestion(const std::string& address)
{
    return formatMessage(kTestMailQuestionMessage, address.c_str());
}

MailResult sendTestMail(const std::string& address)
{
    if (!ValidateAddress(address))
        return failure(kInvalidAddressMessage, "invalid address: " + address);
    MailResult result = SendMail(messageText(kTestMailSubjectMessage), messageText(kTestMailBodyMessage), {address});
    if (result.ok) {
        result.message = kTestMailSentMessage;
        result.text = messageText(kTestMailSentMessage);
    }
    return result;
}

} // namespace lumivane
