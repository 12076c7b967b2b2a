#pragma once

#include "Clock.h"
#include "EngineHost.h"
#include "ServerEngine.h"
#include "WindowMessage.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>

namespace lumivane {

class ServerProgram;

// lumiwatch without windows (a PC without a desktop, or a service): a poll loop that drives the engine with
// the 1-second timer (which notices a setting of the system clock), the 10-second timer, the window messages
// of the console and of a second server start, and the end of each worker run. There is no status window:
// a request to show it is written to the server log.
class HeadlessShell : public EngineHost
{
public:
    HeadlessShell(ServerProgram& program, Clock& clock);
    HeadlessShell(const HeadlessShell&) = delete;
    HeadlessShell& operator=(const HeadlessShell&) = delete;
    ~HeadlessShell() override;

    // Runs until stop() is called; then ends the engine (the worker is cancelled and joined). Returns the
    // program's exit code.
    int run();
    // Ends run(); callable from any thread.
    void stop();

    ServerEngine& engine() { return m_engine; }

    // The tick period: 10 s, or $LUMIVANE_TICK_MS for tests and demonstrations.
    static std::chrono::milliseconds tickPeriod();

    // EngineHost
    void openStatusWindow(int authority) override;
    void restartTickTimer() override;
    void postRunFinished(int errorCount) override;

private:
    using SteadyTime = std::chrono::steady_clock::time_point;
    void handleMessages(std::deque<WindowMessage>& messages);
    void handleFinishedRuns();
    void onSecondTimer();

    ServerProgram& m_program;
    ServerEngine m_engine;
    ClockJumpDetector m_clockJumps;
    std::chrono::milliseconds m_tickPeriod;
    SteadyTime m_nextSecond;
    SteadyTime m_nextTick;
    bool m_restartTick = false;
    std::atomic<bool> m_stop{false};
    std::mutex m_finishedLock;
    std::deque<int> m_finishedRuns;
};

// The whole headless program: start-up, the loop until SIGTERM or SIGINT, the end in order.
int runHeadless(const struct ServerCommandLine& commandLine);

} // namespace lumivane
