// Any bytes as the status file (group members can write the data folder): reading must not crash, and what
// was read must be written back as JSON that reads the same again.
#include "Json.h"
#include "ServerStatus.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<lumivane::JsonValue> document = lumivane::parseJson(input, error);
    if (!document)
        return 0;
    lumivane::statusFromJson(*document, error);
    const std::string written = lumivane::writeJson(*document, 2);
    const std::optional<lumivane::JsonValue> again = lumivane::parseJson(written, error);
    if (!again || lumivane::writeJson(*again, 2) != written)
        std::abort();
    return 0;
}
