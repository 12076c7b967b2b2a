#pragma once

#include "WindowMessage.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace lumivane {

// The receiving end of window messages: a Unix socket that accepts connections without blocking and hands
// every complete line on as a message. Lines that are not messages are dropped. A sender that stalls, sends
// too much or opens too many connections is cut off, so that no local program can tie the listener up.
class WindowMessageListener
{
public:
    using Handler = std::function<void(const WindowMessage&)>;

    WindowMessageListener();
    WindowMessageListener(const WindowMessageListener&) = delete;
    WindowMessageListener& operator=(const WindowMessageListener&) = delete;
    ~WindowMessageListener(); // stops the thread, closes and removes the socket file

    // Listens at `socketPath`. The caller holds the program's instance lock, so a socket file that is
    // there was left by a dead instance and is removed first.
    bool listen(const std::string& socketPath, std::string& error);
    bool listenAs(std::string_view className, std::string& error);

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
    static constexpr size_t kMaxLineBytes = 64;
    static constexpr std::chrono::milliseconds kStallLimit{2000};

private:
    struct Connection
    {
        int fd;
        std::string pending;
        std::chrono::steady_clock::time_point opened;
    };

    void acceptConnections();
    // False when the connection is finished (closed by the sender, broken, or misbehaving).
    bool readConnection(Connection& connection, const Handler& handler);
    // Reads connection `index`; a finished one is closed and removed (false).
    bool serviceConnection(size_t index, const Handler& handler);
    void dropStalledConnections();
    void closeConnections();

    std::string m_path;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::vector<Connection> m_connections;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
};

} // namespace lumivane
