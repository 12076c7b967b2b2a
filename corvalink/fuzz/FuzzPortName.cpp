// Any bytes as a port text, and as the section [ComPorts] of QVXCtrlEnv.ini (after the first NUL byte):
// names are read or refused within their ranges, and the INI reader does not crash.
#include "FuzzFiles.h"
#include "PortName.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lumivane::link;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const PortName name = parsePortName(input.substr(0, split));
    if (name.kind == PortName::Kind::Serial && (name.comNumber < 1 || name.comNumber > 256))
        std::abort();
    if (name.kind == PortName::Kind::Lan && name.dataPort == 0)
        std::abort();
    if (split != std::string_view::npos) {
        const std::string path = lumivane::fuzz::scratch().write("QVXCtrlEnv.ini", input.substr(split + 1));
        readIniValue(path, "ComPorts", "COM1");
    }
    return 0;
}
