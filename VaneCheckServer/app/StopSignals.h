#pragma once

#include <functional>
#include <thread>

namespace lumivane {

// SIGTERM and SIGINT end the server in order; they are taken by a thread of their own with sigwait, so that
// nothing runs inside a signal handler. `onStop` is called on that thread.
class StopSignals
{
public:
    // Must be called before any other thread starts: threads inherit the blocked set.
    static void block();

    explicit StopSignals(std::function<void()> onStop);
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    ~StopSignals();

private:
    std::thread m_thread;
};

} // namespace lumivane
