#pragma once

#include <cstddef>

namespace lumivane::link {

// Longest reply line a monitor may send, CR LF not counted.
inline constexpr size_t kMaxReplyLine = 4095;

// Longest command text the link sends (prefix and CR not counted).
inline constexpr size_t kMaxCommandText = 4095;

// The data port of a LAN monitor when the port text names none.
inline constexpr int kDefaultDataPort = 10008;

// Most devices one LAN search reports; answers past this are ignored.
inline constexpr size_t kMaxLanDevices = 1024;

// How long LinkFindLan keeps listening after its last probe.
inline constexpr int kLanSearchListenMs = 1000;

} // namespace lumivane::link
