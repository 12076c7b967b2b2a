#include "ServerProgram.h"

#include "WindowMessage.h"
#include "tessera.h"

#include <cstdio>

namespace lumivane {

ServerProgram::ServerProgram(const ServerCommandLine& commandLine) : m_commandLine(commandLine) {}

ServerProgram::Start ServerProgram::start()
{
    m_serverLog.SetFile(kServerLogFileName);
    m_instance = std::make_unique<SingleInstance>(kServerMutexName, kServerWindowClass);
    m_instance->listener().setRefusalLog([this](const std::string& text) { m_serverLog.Error(text); });
    std::string error;
    switch (m_instance->start(error)) {
    case SingleInstance::Start::AlreadyRunning:
        if (m_instance->postToRunning({windowMessages::kShowStatus, m_commandLine.showAuthority, 0}) ==
            PostResult::Delivered)
            return Start::HandedOver;
        // Another instance holds the mutex but does not answer: a failure, so that a service manager sees it.
        fail("Another server is running but cannot be reached.");
        return Start::Failed;
    case SingleInstance::Start::Failed:
        fail("Cannot start the server: " + error);
        return Start::Failed;
    case SingleInstance::Start::First:
        break;
    }
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    m_storeOpen = true;
    m_running = true;
    m_serverLog.Trace("---- Start Server ----");
    return Start::Run;
}

void ServerProgram::fail(const std::string& reason)
{
    m_serverLog.Error(reason);
    std::fprintf(stderr, "lumiwatch: %s\n", reason.c_str());
}

ServerProgram::~ServerProgram()
{
    if (m_storeOpen)
        TESSERA_Uninitialize();
    m_instance.reset();
    if (m_running)
        m_serverLog.Trace("---- End Server ----");
}

std::optional<int> ServerProgram::exitCodeWithoutRun(Start start)
{
    switch (start) {
    case Start::HandedOver:
        return 0;
    case Start::Failed:
        return 1;
    case Start::Run:
        break;
    }
    return std::nullopt;
}

} // namespace lumivane
