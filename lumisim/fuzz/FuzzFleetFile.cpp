// Any bytes as an emulator fleet file: it is read or refused with a reason, never crashes.
#include "FleetDescription.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lumivane::sim::FleetSpec fleet;
    std::string error;
    if (!lumivane::sim::parseFleet(std::string_view(reinterpret_cast<const char*>(data), size), fleet, error) &&
        error.empty())
        std::abort();
    return 0;
}
