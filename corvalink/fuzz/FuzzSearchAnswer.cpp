// Any bytes as a LAN search answer datagram and as the search target list: nothing may crash, an answer
// taken names a usable data port, and the target list stays within its limit.
#include "LanSearch.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lumivane::link;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uint32_t port = 0;
    if (parseHereAnswer(text, port) && (port == 0 || port > 65535))
        std::abort();
    if (parseSearchTargets(text, 300).size() > 300)
        std::abort();
    return 0;
}
