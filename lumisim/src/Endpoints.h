#pragma once

#include "EventLoop.h"
#include "LineSession.h"
#include "MonitorChain.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lumivane::sim {

// A LAN monitor's data port: a listening TCP socket on the monitor's own address. It serves one control
// connection at a time, greets it (READY, the log-in prompts, REFUSED) and answers the BUSY line to any
// second connection, unless the first one has gone already.
class LanEndpoint : public Watch
{
public:
    // Takes the listening socket.
    LanEndpoint(EventLoop& loop, int listenFd, ChainSpec& spec, MonitorChain& chain);
    ~LanEndpoint() override;

    void onEvents(uint32_t events) override;

    // Closes the control connection now, as a monitor that drops it.
    void dropConnection();
    bool hasConnection() const { return m_session && m_session->isOpen(); }

private:
    enum class Phase
    {
        Greeting,
        AwaitUser,
        AwaitPassword,
        Ready
    };

    void accept(int fd);
    void onLine(std::string_view line);
    void onLoginLine(std::string_view line);
    void endSession();

    EventLoop& m_loop;
    int m_listenFd;
    ChainSpec& m_spec;
    MonitorChain& m_chain;
    std::unique_ptr<LineSession> m_session;
    Phase m_phase = Phase::Greeting;
    std::string m_user;
};

// A serial daisy chain on a pseudo-terminal: the program's link opens the device path of the slave side.
// The emulator keeps a slave descriptor of its own, so that the master does not hang up between opens,
// and reads the line speed the link set from it.
class SerialEndpoint
{
public:
    static std::unique_ptr<SerialEndpoint> create(EventLoop& loop, const ChainSpec& spec, MonitorChain& chain,
                                                  std::string& error);
    ~SerialEndpoint();

    const std::string& devicePath() const { return m_devicePath; }

private:
    SerialEndpoint(EventLoop& loop, int master, int slave, std::string path, const ChainSpec& spec,
                   MonitorChain& chain);
    void onLine(std::string_view line);
    bool speedMatches() const;

    int m_master;
    int m_slave;
    std::string m_devicePath;
    const ChainSpec& m_spec;
    MonitorChain& m_chain;
    std::unique_ptr<LineSession> m_session;
};

// Answers "DISCOVER" CR LF on the search port of a LAN monitor's address with "HERE <data port>" CR LF.
class DiscoveryResponder : public Watch
{
public:
    DiscoveryResponder(EventLoop& loop, int fd, uint16_t dataPort);
    ~DiscoveryResponder() override;
    void onEvents(uint32_t events) override;

private:
    EventLoop& m_loop;
    int m_fd;
    uint16_t m_dataPort;
};

} // namespace lumivane::sim
