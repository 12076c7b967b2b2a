#pragma once

#include "WindowMessage.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace lumivane {

// The receiving end of window messages: a Unix socket that accepts connections without blocking and takes
// one line of at most kMaxLineBytes from each. Only the messages the program accepts from other programs
// are handed on; anything else is refused and reported with the sender's uid. Equal messages that arrive
// together are handed on once. A sender that stalls, sends too much or opens too many connections is cut
// off, so that no local program can tie the listener up.
class WindowMessageListener
{
public:
    using Handler = std::function<void(const WindowMessage&)>;
    using RefusalLog = std::function<void(const std::string&)>;

    WindowMessageListener();
    WindowMessageListener(const WindowMessageListener&) = delete;
    WindowMessageListener& operator=(const WindowMessageListener&) = delete;
    ~WindowMessageListener(); // stops the thread, closes and removes the socket file

    // Listens at `socketPath`. The caller holds the program's instance lock, so a socket file that is
    // there was left by a dead instance and is removed first.
    // Only the message numbers in `accepted` are handed on. The socket file appears with mode 0660.
    bool listen(const std::string& socketPath, std::vector<int> accepted, std::string& error);
    // Listens under a window class, accepting what messagesAcceptedBy(className) names.
    bool listenAs(std::string_view className, std::string& error);
    // Receives one line per refused connection: what was refused, why, and the sender's uid.
    void setRefusalLog(RefusalLog log) { m_refusalLog = std::move(log); }

    // Waits up to `timeout` (negative: without limit) for something to happen, then accepts and reads what
    // arrived and calls `handler` for each complete message. False when woken by wake() or not listening.
    bool poll(std::chrono::milliseconds timeout, const Handler& handler);
    // Makes a waiting poll() return; callable from any thread.
    void wake();

    // Runs poll() on a thread of its own; `handler` is called on that thread.
    bool start(Handler handler);
    void stop();

    void close();
    bool isListening() const { return m_listenFd >= 0; }
    const std::string& path() const { return m_path; }

    static constexpr size_t kMaxConnections = 16;
    static constexpr size_t kMaxLineBytes = 64; // line end included
    static constexpr std::chrono::milliseconds kStallLimit{2000};

private:
    struct Connection
    {
        int fd;
        uid_t uid;
        std::string pending;
        std::chrono::steady_clock::time_point opened;
    };

    bool bindWithMode(const std::string& socketPath, std::string& error);
    void acceptConnections();
    // False when the connection is finished: its line arrived, or it was closed, broken or misbehaved.
    bool readConnection(Connection& connection, std::vector<WindowMessage>& arrived);
    void takeLine(const Connection& connection, std::string_view line, std::vector<WindowMessage>& arrived);
    void refuse(const Connection& connection, std::string_view line, const std::string& reason);
    // Reads connection `index`; a finished one is closed and removed (false).
    bool serviceConnection(size_t index, std::vector<WindowMessage>& arrived);
    void dropStalledConnections();
    void closeConnections();

    std::vector<int> m_accepted;
    RefusalLog m_refusalLog;
    std::string m_path;
    dev_t m_socketDevice = 0;
    ino_t m_socketInode = 0;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::vector<Connection> m_connections;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
};

} // namespace lumivane
