#include "Emulator.h"

#include "ControlCommands.h"
#include "Endpoints.h"
#include "EventLoop.h"
#include "MonitorChain.h"

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumivane::sim {

struct Emulator::Chain
{
    ChainSpec spec;
    std::unique_ptr<MonitorChain> monitors;
    std::unique_ptr<LanEndpoint> lan;
    std::unique_ptr<SerialEndpoint> serial;
    ChainPlace place;
    uint32_t address = 0; // LAN, host order
};

namespace {

// How often the shared-port search starts over when another program holds the port on a later address.
constexpr int kSharedPortAttempts = 50;

int boundSocket(uint32_t address, int type, uint16_t port)
{
    const int fd = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(address);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        (type == SOCK_STREAM && ::listen(fd, 64) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

uint16_t localPort(int fd)
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

// Binds every address on one port: `wanted`, or when 0 a port the system picks for the first address and
// that the others can take too.
bool bindShared(const std::vector<uint32_t>& addresses, int type, int wanted, std::vector<int>& fds, uint16_t& port)
{
    for (int attempt = 0; attempt < kSharedPortAttempts; ++attempt) {
        port = static_cast<uint16_t>(wanted);
        fds.clear();
        for (const uint32_t address : addresses) {
            const int fd = boundSocket(address, type, port);
            if (fd < 0)
                break;
            fds.push_back(fd);
            port = localPort(fd);
        }
        if (fds.size() == addresses.size())
            return true;
        for (const int fd : fds)
            ::close(fd);
        fds.clear();
        if (wanted != 0)
            return false;
    }
    return false;
}

void fillDefaults(MonitorSpec& monitor, int index)
{
    char text[16];
    if (monitor.serial.empty()) {
        std::snprintf(text, sizeof text, "%08d", 40000001 + index);
        monitor.serial = text;
    }
    if (monitor.mac.empty()) {
        std::snprintf(text, sizeof text, "0012AB%06X", static_cast<unsigned>(index + 1) & 0xFFFFFF);
        monitor.mac = text;
    }
}

} // namespace

Emulator::Emulator(CommandSupport support) : m_support(std::move(support)), m_loop(std::make_unique<EventLoop>()) {}

std::unique_ptr<Emulator> Emulator::start(const FleetSpec& fleet, std::string* error, CommandSupport support)
{
    std::unique_ptr<Emulator> emulator(new Emulator(std::move(support)));
    std::string reason;
    if (!emulator->m_loop->valid() || !emulator->setUp(fleet, reason)) {
        if (error != nullptr)
            *error = reason.empty() ? "cannot set up the event loop" : reason;
        return nullptr;
    }
    emulator->m_thread = std::thread([raw = emulator.get()] { raw->run(); });
    return emulator;
}

std::unique_ptr<Emulator> Emulator::startText(std::string_view fleetText, std::string* error, CommandSupport support)
{
    FleetSpec fleet;
    std::string reason;
    if (!parseFleet(fleetText, fleet, reason)) {
        if (error != nullptr)
            *error = reason;
        return nullptr;
    }
    return start(fleet, error, std::move(support));
}

bool Emulator::setUp(const FleetSpec& fleet, std::string& error)
{
    int monitorIndex = 0;
    std::vector<Chain*> sharedPortChains;
    std::vector<uint32_t> lanAddresses;
    for (const ChainSpec& spec : fleet.chains) {
        auto chain = std::make_unique<Chain>();
        chain->spec = spec;
        for (MonitorSpec& monitor : chain->spec.monitors)
            fillDefaults(monitor, monitorIndex++);
        chain->monitors = std::make_unique<MonitorChain>(chain->spec, m_support);
        chain->place.name = spec.name;
        chain->place.lan = spec.kind == ChainSpec::Kind::Lan;
        for (const MonitorSpec& monitor : spec.monitors)
            chain->place.monitors.push_back(monitor.name);
        if (chain->place.lan) {
            uint32_t address = 0;
            if (::inet_pton(AF_INET, spec.address.c_str(), &address) != 1) {
                error = "chain '" + spec.name + "': bad address '" + spec.address + "'";
                return false;
            }
            chain->address = ntohl(address);
            lanAddresses.push_back(chain->address);
            chain->place.address = spec.address;
            if (spec.dataPort < 0)
                sharedPortChains.push_back(chain.get());
        } else {
            chain->serial = SerialEndpoint::create(*m_loop, chain->spec, *chain->monitors, error);
            if (!chain->serial)
                return false;
            chain->place.device = chain->place.portText = chain->serial->devicePath();
        }
        m_chains.push_back(std::move(chain));
    }

    // LAN data ports: the fleet's port shared by the chains that name none, or each chain's own.
    std::vector<uint32_t> sharedAddresses;
    for (const Chain* chain : sharedPortChains)
        sharedAddresses.push_back(chain->address);
    std::vector<int> sharedFds;
    uint16_t sharedPort = 0;
    if (!sharedAddresses.empty() && !bindShared(sharedAddresses, SOCK_STREAM, fleet.dataPort, sharedFds, sharedPort)) {
        error = "cannot listen on data port " + std::to_string(fleet.dataPort) + " of every LAN address";
        return false;
    }
    size_t sharedIndex = 0;
    for (auto& chain : m_chains) {
        if (!chain->place.lan)
            continue;
        int fd = -1;
        if (chain->spec.dataPort < 0) {
            fd = sharedFds[sharedIndex++];
        } else {
            fd = boundSocket(chain->address, SOCK_STREAM, static_cast<uint16_t>(chain->spec.dataPort));
            if (fd < 0) {
                error = "cannot listen on " + chain->spec.address + ":" + std::to_string(chain->spec.dataPort);
                return false;
            }
        }
        chain->place.dataPort = localPort(fd);
        chain->place.portText = "LAN" + chain->place.address + ":" + std::to_string(chain->place.dataPort);
        chain->lan = std::make_unique<LanEndpoint>(*m_loop, fd, chain->spec, *chain->monitors);
    }

    // Discovery: one search port on every LAN address.
    if (fleet.searchPort >= 0 && !lanAddresses.empty()) {
        std::vector<int> udpFds;
        uint16_t port = 0;
        if (!bindShared(lanAddresses, SOCK_DGRAM, fleet.searchPort, udpFds, port)) {
            error = "cannot bind search port " + std::to_string(fleet.searchPort) + " on every LAN address";
            return false;
        }
        m_searchPort = port;
        size_t index = 0;
        for (auto& chain : m_chains)
            if (chain->place.lan)
                m_responders.push_back(
                    std::make_unique<DiscoveryResponder>(*m_loop, udpFds[index++], chain->place.dataPort));
    }
    return true;
}

Emulator::~Emulator()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_loop->wake();
    if (m_thread.joinable())
        m_thread.join();
    m_responders.clear();
    m_chains.clear();
    m_loop.reset();
}

void Emulator::run()
{
    constexpr int kMaxWaitMs = 500;
    while (true) {
        m_loop->wait(kMaxWaitMs);
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_loop->dispatch();
    }
}

// ---- Where the fleet is

std::vector<ChainPlace> Emulator::places() const
{
    std::vector<ChainPlace> result;
    for (const auto& chain : m_chains)
        result.push_back(chain->place);
    return result;
}

std::optional<ChainPlace> Emulator::place(std::string_view chain) const
{
    if (const Chain* found = findChain(chain))
        return found->place;
    return std::nullopt;
}

std::string Emulator::portText(std::string_view chain) const
{
    const Chain* found = findChain(chain);
    return found != nullptr ? found->place.portText : std::string();
}

std::string Emulator::searchTargets() const
{
    std::string targets;
    for (const auto& chain : m_chains) {
        if (!chain->place.lan)
            continue;
        if (!targets.empty())
            targets.push_back(',');
        targets += chain->place.address;
    }
    return targets;
}

Emulator::Chain* Emulator::findChain(std::string_view chain) const
{
    for (const auto& entry : m_chains)
        if (entry->spec.name == chain)
            return entry.get();
    return nullptr;
}

// ---- Monitor behaviour

bool Emulator::withMonitor(std::string_view monitor, const std::function<void(EmulatedMonitor&)>& change)
{
    std::lock_guard lock(m_mutex);
    for (const auto& chain : m_chains) {
        for (const auto& entry : chain->monitors->monitors()) {
            if (entry->state().name == monitor) {
                change(*entry);
                return true;
            }
        }
    }
    return false;
}

bool Emulator::setPower(std::string_view monitor, bool on)
{
    return withMonitor(monitor, [on](EmulatedMonitor& m) { m.setPower(on, SimClock::now()); });
}

bool Emulator::setPowerUpTime(std::string_view monitor, int milliseconds)
{
    return withMonitor(monitor, [milliseconds](EmulatedMonitor& m) { m.state().powerUpMs = milliseconds; });
}

bool Emulator::setReplyDelay(std::string_view monitor, int milliseconds)
{
    return withMonitor(monitor, [milliseconds](EmulatedMonitor& m) { m.state().replyDelayMs = milliseconds; });
}

bool Emulator::setReplyFault(std::string_view monitor, ReplyFault fault)
{
    return withMonitor(monitor, [fault](EmulatedMonitor& m) { m.state().fault = fault; });
}

bool Emulator::setLocked(std::string_view monitor, bool locked)
{
    return withMonitor(monitor, [locked](EmulatedMonitor& m) { m.state().locked = locked; });
}

bool Emulator::setWrongInterface(std::string_view monitor, bool wrong)
{
    return withMonitor(monitor, [wrong](EmulatedMonitor& m) { m.state().wrongInterface = wrong; });
}

bool Emulator::setHardwareStatus(std::string_view monitor, uint16_t word)
{
    return withMonitor(monitor, [word](EmulatedMonitor& m) { m.state().hardwareStatus = word; });
}

bool Emulator::setTemperature(std::string_view monitor, std::string_view text)
{
    return withMonitor(monitor, [text](EmulatedMonitor& m) { m.state().temperature = text; });
}

bool Emulator::setSignal(std::string_view monitor, bool present)
{
    return withMonitor(monitor, [present](EmulatedMonitor& m) { m.state().signal = present; });
}

bool Emulator::setMonitorId(std::string_view monitor, int id)
{
    if (id < 0 || id > 255)
        return false;
    return withMonitor(monitor, [id](EmulatedMonitor& m) { m.state().id = id; });
}

bool Emulator::setIdAssignmentIgnored(std::string_view chain, bool ignored)
{
    std::lock_guard lock(m_mutex);
    Chain* found = findChain(chain);
    if (found == nullptr)
        return false;
    found->monitors->setIdAssignmentIgnored(ignored);
    return true;
}

// ---- Port behaviour

bool Emulator::requireLogin(std::string_view chain, std::string_view user, std::string_view password)
{
    std::lock_guard lock(m_mutex);
    Chain* found = findChain(chain);
    if (found == nullptr || !found->lan)
        return false;
    found->spec.loginRequired = true;
    found->spec.user = user;
    found->spec.password = password;
    return true;
}

bool Emulator::clearLogin(std::string_view chain)
{
    std::lock_guard lock(m_mutex);
    Chain* found = findChain(chain);
    if (found == nullptr || !found->lan)
        return false;
    found->spec.loginRequired = false;
    return true;
}

bool Emulator::setRefused(std::string_view chain, bool refused)
{
    std::lock_guard lock(m_mutex);
    Chain* found = findChain(chain);
    if (found == nullptr || !found->lan)
        return false;
    found->spec.refused = refused;
    return true;
}

bool Emulator::setSilentGreeting(std::string_view chain, bool silent)
{
    std::lock_guard lock(m_mutex);
    Chain* found = findChain(chain);
    if (found == nullptr || !found->lan)
        return false;
    found->spec.silentGreeting = silent;
    return true;
}

bool Emulator::dropConnection(std::string_view chain)
{
    std::lock_guard lock(m_mutex);
    Chain* found = findChain(chain);
    if (found == nullptr || !found->lan)
        return false;
    found->lan->dropConnection();
    return true;
}

// ---- What happened

std::vector<std::string> Emulator::receivedLines(std::string_view chain) const
{
    std::lock_guard lock(m_mutex);
    const Chain* found = findChain(chain);
    return found != nullptr ? found->monitors->lines() : std::vector<std::string>{};
}

std::vector<std::string> Emulator::commandsCarriedOut(std::string_view monitor) const
{
    std::vector<std::string> commands;
    const_cast<Emulator*>(this)->withMonitor(monitor, [&](EmulatedMonitor& m) { commands = m.commands(); });
    return commands;
}

std::optional<int> Emulator::value(std::string_view monitor, std::string_view code) const
{
    std::optional<int> result;
    const_cast<Emulator*>(this)->withMonitor(monitor, [&](EmulatedMonitor& m) { result = m.value(code); });
    return result;
}

std::optional<MonitorSpec> Emulator::monitorState(std::string_view monitor) const
{
    std::optional<MonitorSpec> result;
    const_cast<Emulator*>(this)->withMonitor(monitor, [&](EmulatedMonitor& m) { result = m.state(); });
    return result;
}

std::string Emulator::control(std::string_view commandLine)
{
    return runControlCommand(*this, commandLine);
}

} // namespace lumivane::sim
