#pragma once

#include "CommandSupport.h"
#include "FleetDescription.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lumivane::sim {

class EmulatedMonitor;
class EventLoop;
class LanEndpoint;
class MonitorChain;
class SerialEndpoint;
class DiscoveryResponder;

// Where a chain of the running fleet can be reached.
struct ChainPlace
{
    std::string name;
    bool lan = false;
    std::string address;   // LAN: the monitor's address
    uint16_t dataPort = 0; // LAN: the port it listens on
    std::string device;    // serial: the pseudo-terminal to open
    std::string portText;  // what the link opens: "LAN127.0.0.2:10008", or the device path
    std::vector<std::string> monitors;
};

// A fleet of emulated monitors served by one thread of this process: LAN monitors on their own loopback
// addresses, serial daisy chains on pseudo-terminals, and the discovery responder. Every method may be
// called from any thread while the fleet runs. Monitors and chains are named as in the fleet description.
class Emulator
{
public:
    // Starts the fleet; null (with the reason in `error`) when a port or device cannot be set up.
    static std::unique_ptr<Emulator> start(const FleetSpec& fleet, std::string* error = nullptr,
                                           CommandSupport support = modelCommandSupport());
    static std::unique_ptr<Emulator> startText(std::string_view fleetText, std::string* error = nullptr,
                                               CommandSupport support = modelCommandSupport());
    ~Emulator();
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // -- Where the fleet is
    std::vector<ChainPlace> places() const;
    std::optional<ChainPlace> place(std::string_view chain) const;
    std::string portText(std::string_view chain) const; // empty for an unknown chain
    int searchPort() const { return m_searchPort; }     // -1 without discovery
    // The LAN addresses as a value for LUMIVANE_LAN_SEARCH.
    std::string searchTargets() const;

    // -- Monitor behaviour (false for an unknown monitor)
    bool setPower(std::string_view monitor, bool on);
    bool setPowerUpTime(std::string_view monitor, int milliseconds);
    bool setReplyDelay(std::string_view monitor, int milliseconds);
    bool setReplyFault(std::string_view monitor, ReplyFault fault);
    bool setLocked(std::string_view monitor, bool locked);
    bool setWrongInterface(std::string_view monitor, bool wrong);
    bool setHardwareStatus(std::string_view monitor, uint16_t word);
    bool setTemperature(std::string_view monitor, std::string_view text);
    bool setSignal(std::string_view monitor, bool present);
    bool setMonitorId(std::string_view monitor, int id);
    // A chain whose monitors answer IDAS0001 with OK but keep their IDs (false for an unknown chain).
    bool setIdAssignmentIgnored(std::string_view chain, bool ignored);

    // -- Port behaviour (false for an unknown chain, or a serial one where LAN is needed)
    bool requireLogin(std::string_view chain, std::string_view user, std::string_view password);
    bool clearLogin(std::string_view chain);
    bool setRefused(std::string_view chain, bool refused);
    bool setSilentGreeting(std::string_view chain, bool silent);
    bool dropConnection(std::string_view chain);

    // -- What happened
    std::vector<std::string> receivedLines(std::string_view chain) const; // as received, prefix included
    std::vector<std::string> commandsCarriedOut(std::string_view monitor) const;
    std::optional<int> value(std::string_view monitor, std::string_view code) const;
    std::optional<MonitorSpec> monitorState(std::string_view monitor) const;

    // Carries out one control command line (see ControlCommands.h) and gives its answer.
    std::string control(std::string_view commandLine);

private:
    struct Chain;
    explicit Emulator(CommandSupport support);
    bool setUp(const FleetSpec& fleet, std::string& error);
    void run();
    // Runs `change` on the named monitor under the lock.
    bool withMonitor(std::string_view monitor, const std::function<void(EmulatedMonitor&)>& change);
    Chain* findChain(std::string_view chain) const;

    CommandSupport m_support;
    mutable std::mutex m_mutex;
    std::unique_ptr<EventLoop> m_loop;
    std::vector<std::unique_ptr<Chain>> m_chains;
    std::vector<std::unique_ptr<DiscoveryResponder>> m_responders;
    int m_searchPort = -1;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace lumivane::sim
