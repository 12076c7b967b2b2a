// The fleet description, one statement a line ('#' starts a comment):
//   data-port <port>                 data port of the LAN monitors (0: chosen, one for all)
//   search-port <port>|none          UDP port of the discovery responder (0: chosen)
//   lan <chain> <address>[:<port>] [user=<u> password=<p>] [refused] [silent-greeting]
//   chain <chain> [baud=<rate>]      a serial daisy chain on a pseudo-terminal
//   monitor <name> [key=value ...]   a monitor of the chain above (a LAN chain's first is the LAN monitor)
//   lan-range <name> <first address>-<last address> [key=value ...]
//                                    one LAN monitor on each address of the range, chain and monitor named
//                                    <name>-1, <name>-2, ..., all with the monitor keys given
// Monitor keys: model serial mac id power input board mdel hours temperature status signal powerup delay
// fault locked iferr lacks has.
#include "FleetDescription.h"

#include <arpa/inet.h>
#include <charconv>
#include <set>
#include <sstream>

namespace lumivane::sim {

namespace {

struct FaultName
{
    ReplyFault fault;
    const char* name;
};
constexpr FaultName kFaultNames[] = {
    {ReplyFault::None, "none"},       {ReplyFault::Silent, "silent"},   {ReplyFault::Drop, "drop"},
    {ReplyFault::Garbage, "garbage"}, {ReplyFault::Endless, "endless"}, {ReplyFault::WrongId, "wrongid"},
    {ReplyFault::CutLine, "cutline"},
};

std::vector<std::string> words(std::string_view line)
{
    std::vector<std::string> result;
    std::istringstream stream{std::string(line)};
    std::string word;
    while (stream >> word)
        result.push_back(word);
    return result;
}

bool readInt(std::string_view text, int low, int high, int& value)
{
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

bool readSwitch(std::string_view text, bool& value)
{
    if (text == "on" || text == "yes" || text == "1")
        return value = true, true;
    if (text == "off" || text == "no" || text == "0")
        return value = false, true;
    return false;
}

// "SLDS,BNSL": four-character command codes separated by commas.
bool readCodes(std::string_view text, std::vector<std::string>& codes)
{
    codes.clear();
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view code = text.substr(0, comma);
        if (code.size() != 4)
            return false;
        codes.emplace_back(code);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return !codes.empty();
}

bool isHex12(std::string_view text)
{
    return text.size() == 12 && text.find_first_not_of("0123456789ABCDEFabcdef") == std::string_view::npos;
}

// Applies one key=value of a monitor line; the error names what is wrong.
bool applyMonitorKey(MonitorSpec& monitor, std::string_view key, std::string_view value, std::string& error)
{
    bool ok = true;
    if (key == "model")
        monitor.model = value;
    else if (key == "serial")
        monitor.serial = value;
    else if (key == "mac" && isHex12(value))
        monitor.mac = value;
    else if (key == "id")
        ok = readInt(value, 0, 255, monitor.id);
    else if (key == "power")
        ok = readSwitch(value, monitor.power);
    else if (key == "input")
        ok = readInt(value, 0, 9999, monitor.input);
    else if (key == "board")
        ok = readSwitch(value, monitor.expansionBoard);
    else if (key == "mdel")
        ok = readInt(value, 0, 9999, monitor.mdel);
    else if (key == "hours")
        ok = readInt(value, 0, 999999, monitor.workHours);
    else if (key == "temperature")
        monitor.temperature = value;
    else if (key == "status" && value.size() <= 4) {
        unsigned word = 0;
        const auto [end, parseError] = std::from_chars(value.data(), value.data() + value.size(), word, 16);
        ok = parseError == std::errc() && end == value.data() + value.size();
        monitor.hardwareStatus = static_cast<uint16_t>(word);
    } else if (key == "signal")
        ok = readSwitch(value, monitor.signal);
    else if (key == "powerup")
        ok = readInt(value, 0, 3600000, monitor.powerUpMs);
    else if (key == "delay")
        ok = readInt(value, 0, 3600000, monitor.replyDelayMs);
    else if (key == "fault")
        ok = parseReplyFault(value, monitor.fault);
    else if (key == "locked")
        ok = readSwitch(value, monitor.locked);
    else if (key == "iferr")
        ok = readSwitch(value, monitor.wrongInterface);
    else if (key == "lacks")
        ok = readCodes(value, monitor.lacks);
    else if (key == "has")
        ok = readCodes(value, monitor.has);
    else
        ok = false;
    if (!ok)
        error = "bad monitor setting " + std::string(key) + "=" + std::string(value);
    return ok;
}

class FleetReader
{
public:
    static constexpr uint32_t kMaxRange = 4096;
    static constexpr size_t kMaxChains = 8192; // what one emulator process can serve

    explicit FleetReader(FleetSpec& fleet) : m_fleet(fleet) {}

    bool statement(const std::vector<std::string>& w, std::string& error)
    {
        const std::string& verb = w[0];
        if (verb == "data-port" && w.size() == 2)
            return readInt(w[1], 0, 65535, m_fleet.dataPort) || fail(error, "bad data port");
        if (verb == "search-port" && w.size() == 2)
            return (w[1] == "none" ? (m_fleet.searchPort = -1, true) : readInt(w[1], 0, 65535, m_fleet.searchPort)) ||
                   fail(error, "bad search port");
        if (verb == "lan" && w.size() >= 3)
            return lan(w, error);
        if (verb == "lan-range" && w.size() >= 3)
            return lanRange(w, error);
        if (verb == "chain" && w.size() >= 2)
            return chain(w, error);
        if (verb == "monitor" && w.size() >= 2)
            return monitor(w, error);
        return fail(error, "unknown statement '" + verb + "'");
    }

    bool finish(std::string& error)
    {
        for (const ChainSpec& chain : m_fleet.chains) {
            if (chain.monitors.empty())
                return fail(error, "chain '" + chain.name + "' has no monitor");
            if (chain.monitors.size() > 255)
                return fail(error, "chain '" + chain.name + "' has more monitors than IDs (255)");
        }
        return true;
    }

private:
    static bool fail(std::string& error, std::string text)
    {
        error = std::move(text);
        return false;
    }

    bool newChainName(const std::string& name, std::string& error)
    {
        return m_chainNames.insert(name).second || fail(error, "chain '" + name + "' named twice");
    }

    bool lan(const std::vector<std::string>& w, std::string& error)
    {
        ChainSpec chain;
        chain.kind = ChainSpec::Kind::Lan;
        chain.name = w[1];
        const size_t colon = w[2].find(':');
        chain.address = w[2].substr(0, colon);
        if (colon != std::string::npos && !readInt(std::string_view(w[2]).substr(colon + 1), 0, 65535, chain.dataPort))
            return fail(error, "bad data port in '" + w[2] + "'");
        for (size_t i = 3; i < w.size(); ++i) {
            const size_t equals = w[i].find('=');
            const std::string key = w[i].substr(0, equals);
            const std::string value = equals == std::string::npos ? std::string() : w[i].substr(equals + 1);
            if (key == "user" && equals != std::string::npos)
                chain.user = value, chain.loginRequired = true;
            else if (key == "password" && equals != std::string::npos)
                chain.password = value, chain.loginRequired = true;
            else if (w[i] == "refused")
                chain.refused = true;
            else if (w[i] == "silent-greeting")
                chain.silentGreeting = true;
            else
                return fail(error, "bad LAN setting '" + w[i] + "'");
        }
        if (!newChainName(chain.name, error))
            return false;
        m_fleet.chains.push_back(std::move(chain));
        return true;
    }

    // "127.0.1.1-127.0.1.100": both ends, in host order.
    static bool readAddressRange(const std::string& text, uint32_t& first, uint32_t& last)
    {
        const size_t dash = text.find('-');
        in_addr from{};
        in_addr to{};
        if (dash == std::string::npos || ::inet_pton(AF_INET, text.substr(0, dash).c_str(), &from) != 1 ||
            ::inet_pton(AF_INET, text.substr(dash + 1).c_str(), &to) != 1)
            return false;
        first = ntohl(from.s_addr);
        last = ntohl(to.s_addr);
        return first <= last && last - first < kMaxRange;
    }

    static std::string addressText(uint32_t address)
    {
        in_addr value{htonl(address)};
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &value, text, sizeof text);
        return text;
    }

    bool lanRange(const std::vector<std::string>& w, std::string& error)
    {
        uint32_t first = 0;
        uint32_t last = 0;
        if (!readAddressRange(w[2], first, last))
            return fail(error, "bad address range '" + w[2] + "' (first-last, at most " + std::to_string(kMaxRange) +
                                   " addresses)");
        if (m_fleet.chains.size() + (last - first + 1) > kMaxChains)
            return fail(error, "more than " + std::to_string(kMaxChains) + " chains in the fleet");
        MonitorSpec model;
        for (size_t i = 3; i < w.size(); ++i) {
            const size_t equals = w[i].find('=');
            if (equals == std::string::npos)
                return fail(error, "expected key=value, not '" + w[i] + "'");
            if (!applyMonitorKey(model, std::string_view(w[i]).substr(0, equals),
                                 std::string_view(w[i]).substr(equals + 1), error))
                return false;
        }
        for (uint32_t address = first;; ++address) {
            ChainSpec chain;
            chain.kind = ChainSpec::Kind::Lan;
            chain.name = w[1] + "-" + std::to_string(address - first + 1);
            chain.address = addressText(address);
            if (!newChainName(chain.name, error))
                return false;
            if (!m_monitorNames.insert(chain.name).second)
                return fail(error, "monitor '" + chain.name + "' named twice");
            MonitorSpec monitor = model;
            monitor.name = chain.name;
            chain.monitors.push_back(std::move(monitor));
            m_fleet.chains.push_back(std::move(chain));
            if (address == last)
                break;
        }
        return true;
    }

    bool chain(const std::vector<std::string>& w, std::string& error)
    {
        ChainSpec chain;
        chain.name = w[1];
        for (size_t i = 2; i < w.size(); ++i) {
            if (w[i].rfind("baud=", 0) != 0 || !readInt(std::string_view(w[i]).substr(5), 0, 115200, chain.baud))
                return fail(error, "bad chain setting '" + w[i] + "'");
        }
        if (!newChainName(chain.name, error))
            return false;
        m_fleet.chains.push_back(std::move(chain));
        return true;
    }

    bool monitor(const std::vector<std::string>& w, std::string& error)
    {
        if (m_fleet.chains.empty())
            return fail(error, "monitor '" + w[1] + "' before any 'lan' or 'chain'");
        if (!m_monitorNames.insert(w[1]).second)
            return fail(error, "monitor '" + w[1] + "' named twice");
        MonitorSpec monitor;
        monitor.name = w[1];
        for (size_t i = 2; i < w.size(); ++i) {
            const size_t equals = w[i].find('=');
            if (equals == std::string::npos)
                return fail(error, "expected key=value, not '" + w[i] + "'");
            if (!applyMonitorKey(monitor, std::string_view(w[i]).substr(0, equals),
                                 std::string_view(w[i]).substr(equals + 1), error))
                return false;
        }
        m_fleet.chains.back().monitors.push_back(std::move(monitor));
        return true;
    }

    FleetSpec& m_fleet;
    std::set<std::string> m_chainNames;
    std::set<std::string> m_monitorNames;
};

} // namespace

bool parseReplyFault(std::string_view text, ReplyFault& fault)
{
    for (const FaultName& entry : kFaultNames) {
        if (text == entry.name) {
            fault = entry.fault;
            return true;
        }
    }
    return false;
}

const char* replyFaultName(ReplyFault fault)
{
    for (const FaultName& entry : kFaultNames)
        if (entry.fault == fault)
            return entry.name;
    return "none";
}

bool parseFleet(std::string_view text, FleetSpec& fleet, std::string& error)
{
    fleet = FleetSpec{};
    FleetReader reader(fleet);
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        const std::vector<std::string> w = words(line);
        if (!w.empty() && !reader.statement(w, error)) {
            error = "line " + std::to_string(lineNumber) + ": " + error;
            return false;
        }
    }
    return reader.finish(error);
}

} // namespace lumivane::sim
