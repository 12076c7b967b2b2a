// Any bytes as the external command line and the monitor name (split at the first NUL byte): splitting
// must not crash, and the name never adds or removes an argument.
#include "ExternalCommand.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view line = input.substr(0, split);
    const std::string_view name = split == std::string_view::npos ? "" : input.substr(split + 1);
    const auto plain = lumivane::externalCommandArguments(line, "x");
    const auto named = lumivane::externalCommandArguments(line, name);
    if (plain.size() != named.size())
        std::abort();
    return 0;
}
