#include "LanSearch.h"

#include "LinkLimits.h"
#include "PortName.h"
#include "Wait.h"

#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumivane::link {

namespace {
std::string_view trimmedBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The addresses whose answers count.
class SearchScope
{
public:
    SearchScope(std::vector<uint32_t> targets, bool broadcast) : m_addresses(std::move(targets))
    {
        std::sort(m_addresses.begin(), m_addresses.end());
        if (broadcast)
            m_networks = localNetworks();
    }
    bool contains(uint32_t address) const
    {
        return std::binary_search(m_addresses.begin(), m_addresses.end(), address) ||
               std::any_of(m_networks.begin(), m_networks.end(),
                           [address](const Network& network) { return (address & network.mask) == network.address; });
    }

private:
    struct Network
    {
        uint32_t address;
        uint32_t mask;
    };

    static std::vector<Network> localNetworks()
    {
        std::vector<Network> networks;
        ifaddrs* interfaces = nullptr;
        if (::getifaddrs(&interfaces) != 0)
            return networks;
        for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
            if (entry->ifa_addr == nullptr || entry->ifa_netmask == nullptr || entry->ifa_addr->sa_family != AF_INET ||
                (entry->ifa_flags & IFF_BROADCAST) == 0)
                continue;
            const auto value = [](const sockaddr* address) {
                return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
            };
            const uint32_t mask = value(entry->ifa_netmask);
            networks.push_back({value(entry->ifa_addr) & mask, mask});
        }
        ::freeifaddrs(interfaces);
        return networks;
    }

    std::vector<uint32_t> m_addresses; // sorted
    std::vector<Network> m_networks;
};

class UdpSocket
{
public:
    explicit UdpSocket(bool broadcast) : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
    {
        const int on = 1;
        if (m_fd >= 0 && broadcast)
            ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        // Room for the answers of many devices arriving at once (the system may grant less).
        const int buffer = 1 << 20;
        if (m_fd >= 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    }
    ~UdpSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};
} // namespace

std::vector<uint32_t> parseSearchTargets(std::string_view text, size_t limit)
{
    std::vector<uint32_t> targets;
    while (!text.empty() && targets.size() < limit) {
        const size_t comma = text.find(',');
        const std::string_view item = trimmedBlanks(text.substr(0, comma));
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        const size_t dash = item.find('-');
        uint32_t first = 0;
        uint32_t last = 0;
        if (!parseIpv4(trimmedBlanks(item.substr(0, dash)), first))
            continue;
        last = first;
        if (dash != std::string_view::npos && !parseIpv4(trimmedBlanks(item.substr(dash + 1)), last))
            continue;
        for (uint64_t address = first; address <= last && targets.size() < limit; ++address)
            targets.push_back(static_cast<uint32_t>(address));
    }
    return targets;
}

std::vector<uint32_t> broadcastTargets()
{
    std::vector<uint32_t> targets{INADDR_BROADCAST};
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return targets;
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_BROADCAST) == 0 || entry->ifa_broadaddr == nullptr)
            continue;
        const uint32_t address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_broadaddr)->sin_addr.s_addr);
        if (std::find(targets.begin(), targets.end(), address) == targets.end())
            targets.push_back(address);
    }
    ::freeifaddrs(interfaces);
    return targets;
}

bool parseHereAnswer(std::string_view datagram, uint32_t& dataPort)
{
    constexpr std::string_view head = "HERE ";
    if (datagram.size() < head.size() + 3 || datagram.substr(0, head.size()) != head ||
        datagram.substr(datagram.size() - 2) != "\r\n")
        return false;
    const std::string_view digits = datagram.substr(head.size(), datagram.size() - head.size() - 2);
    if (digits.empty() || digits.size() > 5)
        return false;
    uint32_t port = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535)
        return false;
    dataPort = port;
    return true;
}

std::vector<LanAnswer> searchLan(const std::vector<uint32_t>& targets, uint16_t port, bool broadcast, int listenMs)
{
    std::vector<LanAnswer> answers;
    UdpSocket socket(broadcast);
    if (socket.fd() < 0)
        return answers;
    const SearchScope scope(targets, broadcast);

    auto collect = [&] {
        char datagram[512];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t size;
        // Bounded, so that a flood of datagrams cannot hold the search past its deadline.
        for (int taken = 0; taken < 1024 && (size = ::recvfrom(socket.fd(), datagram, sizeof datagram, 0,
                                                               reinterpret_cast<sockaddr*>(&from), &length)) >= 0;
             ++taken) {
            uint32_t dataPort = 0;
            const uint32_t address = ntohl(from.sin_addr.s_addr);
            const bool counts = from.sin_family == AF_INET && ntohs(from.sin_port) == port &&
                                answers.size() < kMaxLanDevices && scope.contains(address);
            const bool known = std::any_of(answers.begin(), answers.end(),
                                           [&](const LanAnswer& answer) { return answer.address == address; });
            if (counts && !known && parseHereAnswer(std::string_view(datagram, static_cast<size_t>(size)), dataPort))
                answers.push_back({address, dataPort});
            length = sizeof from;
        }
    };

    static constexpr char probe[] = "DISCOVER\r\n";
    for (const uint32_t target : targets) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(target);
        // A full send buffer only loses this probe; answers already waiting are taken in between.
        ::sendto(socket.fd(), probe, sizeof probe - 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        collect();
    }
    const Deadline deadline(listenMs);
    while (waitFor(socket.fd(), false, deadline, nullptr) == WaitResult::Ready)
        collect();
    return answers;
}

} // namespace lumivane::link
