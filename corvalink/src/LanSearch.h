#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lumivane::link {

struct LanAnswer
{
    uint32_t address; // host order
    uint32_t dataPort;
};

// The targets of a LAN search written as comma-separated IPv4 addresses and ranges "A-B" (A up to B,
// both included); anything else is skipped. At most `limit` targets are taken.
std::vector<uint32_t> parseSearchTargets(std::string_view text, size_t limit);

// The targets when $LUMIVANE_LAN_SEARCH is not set: the limited broadcast and every interface's
// broadcast address.
std::vector<uint32_t> broadcastTargets();

// Reads "HERE <data port>" CR LF; false for anything else.
bool parseHereAnswer(std::string_view datagram, uint32_t& dataPort);

// Sends "DISCOVER" CR LF to `port` on every target and gathers the answers for `listenMs` after the last
// probe, each answering address once, in the order they came, at most kMaxLanDevices. Only answers from
// the port searched count, and only from an address probed, or for a broadcast search from an address
// on the network of one of this machine's interfaces: anyone else's datagram is not a device.
std::vector<LanAnswer> searchLan(const std::vector<uint32_t>& targets, uint16_t port, bool broadcast, int listenMs);

} // namespace lumivane::link
