// Any bytes as "Groups.csv": the reader must not crash, and once saved, what it read must read back and
// save to the very same bytes.
#include "StoreFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lumivane::tessera;
    const std::string saved = formatGroupFile(parseGroupFile(std::string_view(reinterpret_cast<const char*>(data), size)));
    if (formatGroupFile(parseGroupFile(saved)) != saved)
        std::abort();
    return 0;
}
