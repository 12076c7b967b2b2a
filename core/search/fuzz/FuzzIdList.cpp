// Any bytes as the answer to IDLS????: the list reader must always make progress and stay in the text,
// and whatever it reads is judged without crashing.
#include "MonitorSearch.h"
#include "ReplyReaders.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<int> ids;
    for (size_t position = 0; position < text.size();) {
        const size_t before = position;
        const std::optional<int> id = lumivane::readListNumber(text, position);
        if (position <= before || position > text.size() || (id && *id < 0))
            std::abort();
        if (id)
            ids.push_back(*id);
    }
    volatile bool sink = lumivane::isChainIdList(ids);
    (void)sink;
    return 0;
}
