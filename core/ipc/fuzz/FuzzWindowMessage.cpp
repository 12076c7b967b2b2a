// Any bytes as the line of a window message: parsing must refuse or give a message that formats back to
// the same line, and the refusal text must stay printable.
#include "TextEscape.h"
#include "WindowMessage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (const auto message = lumivane::parseWindowMessage(line)) {
        const std::string again = lumivane::formatWindowMessage(*message);
        if (lumivane::parseWindowMessage(std::string_view(again).substr(0, again.size() - 1)) != message)
            std::abort();
    }
    for (const unsigned char c : lumivane::escapeForTerminal(line))
        if (c < 0x20 || c == 0x7F)
            std::abort();
    return 0;
}
