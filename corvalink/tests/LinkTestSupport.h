#pragma once

#include "Emulator.h"
#include "corvalink.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace lumivane::link::test {

enum class Wire
{
    Tcp,
    Pty
};

inline const char* wireName(const testing::TestParamInfo<Wire>& info)
{
    return info.param == Wire::Tcp ? "Tcp" : "Pty";
}

// The COM number the tests map to the emulator's pseudo-terminal through $LUMIVANE_COM<n>.
inline constexpr int kTestComPort = 7;

// A fleet of one chain named "main" on loopback TCP (127.0.0.2, port chosen by the system) or on a
// pseudo-terminal reached as COM7, followed by `monitors` (fleet-file monitor lines).
inline std::unique_ptr<sim::Emulator> startChain(Wire wire, const std::string& monitors,
                                                 const std::string& lanOptions = "")
{
    const std::string head = wire == Wire::Tcp ? "lan main 127.0.0.2 " + lanOptions + "\n" : "chain main\n";
    std::string error;
    auto emulator = sim::Emulator::startText("data-port 0\nsearch-port none\n" + head + monitors, &error);
    EXPECT_TRUE(emulator) << error;
    return emulator;
}

// The port text that reaches chain "main".
inline std::string portOf(const sim::Emulator& emulator, Wire wire)
{
    if (wire == Wire::Tcp)
        return emulator.portText("main");
    ::setenv(("LUMIVANE_COM" + std::to_string(kTestComPort)).c_str(), emulator.portText("main").c_str(), 1);
    return "COM" + std::to_string(kTestComPort);
}

// Closes the handle when the test ends.
struct HandleCloser
{
    void operator()(LINK_OBJECT* h) const { LinkClose(h); }
};
using Handle = std::unique_ptr<LINK_OBJECT, HandleCloser>;

inline Handle open(const std::string& port, int id = 0, int baudCode = 4, int wait = 0)
{
    return Handle(LinkOpen(port.c_str(), LINK_FLAGS(id, 0, wait, baudCode)));
}

// Link time-outs short enough for tests that wait for one.
class ShortTimeouts
{
public:
    explicit ShortTimeouts(int milliseconds = 300)
    {
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", std::to_string(milliseconds).c_str(), 1);
    }
    ~ShortTimeouts() { ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS"); }
};

inline long long millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

} // namespace lumivane::link::test
