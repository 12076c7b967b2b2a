#include "HeadlessShell.h"

#include "ServerProgram.h"
#include "StopSignals.h"

#include <cstdlib>
#include <thread>

namespace lumivane {
namespace {

constexpr auto kSecond = std::chrono::milliseconds(1000);
constexpr auto kDefaultTick = std::chrono::milliseconds(10000);

// Moves a timer on by whole periods, or to one period from now when it fell behind by more than one.
void advance(std::chrono::steady_clock::time_point& next, std::chrono::milliseconds period,
             std::chrono::steady_clock::time_point now)
{
    next += period;
    if (next <= now)
        next = now + period;
}

} // namespace

HeadlessShell::HeadlessShell(ServerProgram& program, Clock& clock)
    : m_program(program), m_engine(*this, program.serverLog(), clock), m_tickPeriod(tickPeriod())
{
}

HeadlessShell::~HeadlessShell() = default;

std::chrono::milliseconds HeadlessShell::tickPeriod()
{
    if (const char* text = std::getenv("LUMIVANE_TICK_MS")) {
        const long ms = std::strtol(text, nullptr, 10);
        if (ms > 0 && ms <= 3600 * 1000)
            return std::chrono::milliseconds(ms);
    }
    return kDefaultTick;
}

int HeadlessShell::run()
{
    const auto now = std::chrono::steady_clock::now();
    m_nextSecond = now + kSecond;
    m_nextTick = now + m_tickPeriod;
    m_clockJumps.check();
    m_engine.start();
    if (m_program.commandLine().show)
        openStatusWindow(m_program.commandLine().showAuthority);

    std::deque<WindowMessage> messages;
    while (!m_stop) {
        // Rounded up, so that the loop does not wake just before a timer and spin until it is due.
        const auto waitUntil = std::min(m_nextSecond, m_nextTick);
        const auto wait =
            std::max(std::chrono::ceil<std::chrono::milliseconds>(waitUntil - std::chrono::steady_clock::now()),
                     std::chrono::milliseconds(0));
        if (!m_program.listener().poll(wait, [&messages](const WindowMessage& m) { messages.push_back(m); }) &&
            !m_program.listener().isListening())
            std::this_thread::sleep_for(wait);
        if (m_stop)
            break;
        handleMessages(messages);
        handleFinishedRuns();

        const auto current = std::chrono::steady_clock::now();
        if (current >= m_nextSecond) {
            advance(m_nextSecond, kSecond, current);
            onSecondTimer();
        }
        if (m_restartTick) {
            m_restartTick = false;
            m_nextTick = current + m_tickPeriod;
        }
        if (current >= m_nextTick) {
            advance(m_nextTick, m_tickPeriod, current);
            m_engine.onTick();
        }
    }
    m_engine.shutdown();
    return 0;
}

void HeadlessShell::stop()
{
    m_stop = true;
    m_program.listener().wake();
}

void HeadlessShell::handleMessages(std::deque<WindowMessage>& messages)
{
    while (!messages.empty()) {
        const WindowMessage message = messages.front();
        messages.pop_front();
        m_engine.onMessage(message.message, message.wParam, message.lParam);
    }
}

void HeadlessShell::handleFinishedRuns()
{
    for (;;) {
        int errorCount = 0;
        {
            const std::lock_guard lock(m_finishedLock);
            if (m_finishedRuns.empty())
                return;
            errorCount = m_finishedRuns.front();
            m_finishedRuns.pop_front();
        }
        m_engine.onRunFinished(errorCount);
    }
}

void HeadlessShell::onSecondTimer()
{
    if (m_clockJumps.check()) {
        m_program.serverLog().Trace("The system clock was changed.");
        m_engine.onClockChanged();
    }
}

void HeadlessShell::openStatusWindow(int authority)
{
    m_program.serverLog().Trace("Show State requested (authority " + std::to_string(authority) +
                                "); there is no status window without a desktop.");
}

void HeadlessShell::restartTickTimer()
{
    m_restartTick = true;
}

void HeadlessShell::postRunFinished(int errorCount)
{
    {
        const std::lock_guard lock(m_finishedLock);
        m_finishedRuns.push_back(errorCount);
    }
    m_program.listener().wake();
}

int runHeadless(const ServerCommandLine& commandLine)
{
    StopSignals::block();
    ServerProgram program(commandLine);
    if (const std::optional<int> exitCode = ServerProgram::exitCodeWithoutRun(program.start()))
        return *exitCode;
    int result = 0;
    {
        HeadlessShell shell(program, systemClock());
        const StopSignals signals([&shell] { shell.stop(); });
        result = shell.run();
    }
    return result;
}

} // namespace lumivane
