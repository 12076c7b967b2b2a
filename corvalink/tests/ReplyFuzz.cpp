// Fuzzes what the link does with the bytes a monitor sends: line framing, ID prefixes, statuses and the
// number readers. Nothing may crash or read out of bounds, whatever arrives.
#include "LineFramer.h"
#include "Reply.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    using namespace lumivane::link;
    const int id = data[0]; // the first byte picks the ID the reply is read for
    LineFramer framer;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;
    // Fed in chunks of varying size, as reads return them.
    for (size_t offset = 0, chunk = 1; offset < length; offset += chunk, chunk = chunk * 2 + 1) {
        framer.append(bytes + offset, std::min(chunk, length - offset));
        std::string line;
        LineFramer::Result result;
        while ((result = framer.next(line)) == LineFramer::Result::Line) {
            std::string_view reply = line;
            if (!isPlainText(reply) || !takeIdPrefix(reply, id))
                continue;
            int32_t first = 0, second = 0;
            volatile int32_t sink = settingStatus(reply) ^ queryStatus(reply) ^ readNumber(reply);
            if (readPair(reply, first, second))
                sink = first ^ second;
            (void)sink;
        }
        if (result == LineFramer::Result::Overlong)
            framer.clear();
    }
    return 0;
}
