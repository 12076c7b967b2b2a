// Any bytes as an INI file: reading must not crash, and a write must keep every other line, so that the
// value written is what reads back.
#include "ProfileFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using lumivane::ProfileFile;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view key = split == std::string_view::npos ? "Key" : input.substr(0, std::min<size_t>(split, 8));
    ProfileFile file{std::string(input)};
    file.readInt("Check", "Interval", 60);
    file.readString("Config", key, "fallback");
    // Keys a caller could never look up: blanks are trimmed away, "=" ends a key, "[" and ";" start other lines.
    if (key.find_first_of("=[];\r\n\t\v\f ") != std::string_view::npos || key.empty())
        return 0;
    file.setValue("Check", key, "4711");
    if (file.readInt("Check", key, 0) != 4711)
        std::abort();
    return 0;
}
