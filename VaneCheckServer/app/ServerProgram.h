#pragma once

#include "CMyLog.h"
#include "ServerCommandLine.h"
#include "SingleInstance.h"

#include <memory>
#include <optional>
#include <string>

namespace lumivane {

inline constexpr const char* kServerMutexName = "VaneCheckServer";
inline constexpr const char* kServerLogFileName = "PanelDeskServer.log";

// The start and the end of the server program, shared by every shell around the engine.
//
// start(): the server log "PanelDeskServer.log"; the single-instance mutex "Global\VaneCheckServer" (a
// second start posts message 1128 with its authority level to the running server and ends); the panel
// store, with its error boxes off; the trace line "---- Start Server ----".
// The destructor ends the program in order: the panel store, the mutex (and the message socket), the
// trace line "---- End Server ----".
class ServerProgram
{
public:
    explicit ServerProgram(const ServerCommandLine& commandLine);
    ServerProgram(const ServerProgram&) = delete;
    ServerProgram& operator=(const ServerProgram&) = delete;
    ~ServerProgram();

    enum class Start
    {
        Run,        // this is the server: go on
        HandedOver, // another server runs and was told to show its status window
        Failed,     // no mutex or no message socket, or a running server that does not answer; the reason
                    // is in the server log and on standard error
    };
    Start start();
    // The program's exit code when this start runs no server: 0 after a hand-over, 1 after a failure.
    static std::optional<int> exitCodeWithoutRun(Start start);

    CMyLog& serverLog() { return m_serverLog; }
    WindowMessageListener& listener() { return m_instance->listener(); }
    const ServerCommandLine& commandLine() const { return m_commandLine; }

private:
    void fail(const std::string& reason);

    ServerCommandLine m_commandLine;
    CMyLog m_serverLog;
    std::unique_ptr<SingleInstance> m_instance;
    bool m_storeOpen = false;
    bool m_running = false;
};

} // namespace lumivane
