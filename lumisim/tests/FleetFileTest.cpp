#include "FleetDescription.h"

#include <gtest/gtest.h>

namespace lumivane::sim {
namespace {

TEST(FleetFile, ALanRangeMakesOneMonitorPerAddress)
{
    FleetSpec fleet;
    std::string error;
    ASSERT_TRUE(parseFleet("lan-range wall 127.0.1.254-127.0.2.1 model=QX-T989B powerup=8000\n", fleet, error))
        << error;
    ASSERT_EQ(fleet.chains.size(), 4u);
    const std::vector<std::string> addresses = {"127.0.1.254", "127.0.1.255", "127.0.2.0", "127.0.2.1"};
    for (size_t i = 0; i < fleet.chains.size(); ++i) {
        const ChainSpec& chain = fleet.chains[i];
        EXPECT_EQ(chain.kind, ChainSpec::Kind::Lan);
        EXPECT_EQ(chain.address, addresses[i]);
        EXPECT_EQ(chain.name, "wall-" + std::to_string(i + 1));
        ASSERT_EQ(chain.monitors.size(), 1u);
        EXPECT_EQ(chain.monitors[0].name, chain.name);
        EXPECT_EQ(chain.monitors[0].model, "QX-T989B");
        EXPECT_EQ(chain.monitors[0].powerUpMs, 8000);
    }
    EXPECT_FALSE(parseFleet("lan-range wall 127.0.1.9-127.0.1.1\n", fleet, error));
    EXPECT_FALSE(parseFleet("lan-range wall 127.0.0.1-127.1.0.0\n", fleet, error)); // too many
    EXPECT_FALSE(parseFleet("lan-range w 127.0.1.1-127.0.1.2 powerup=x\n", fleet, error));
    EXPECT_FALSE(parseFleet("lan w-2 127.0.0.2\nmonitor a\nlan-range w 127.0.1.1-127.0.1.2\n", fleet, error));
    EXPECT_NE(error.find("w-2"), std::string::npos) << error;
}

TEST(FleetFile, ReadsChainsMonitorsAndPorts)
{
    FleetSpec fleet;
    std::string error;
    ASSERT_TRUE(parseFleet("# demo\n"
                           "data-port 0\nsearch-port none\n"
                           "lan hall 127.0.0.2:10010 user=admin password=pw   # with log-in\n"
                           "monitor h1 model=QX-T988 serial=S1 mac=0012ab00ff01 id=1 power=off input=3 board=yes\n"
                           "monitor h2 status=8010 signal=off powerup=2000 delay=50 fault=wrongid locked=on\n"
                           "\n"
                           "chain com1 baud=19200\n"
                           "monitor c1 iferr=on temperature=38.5 hours=4000 mdel=0\n",
                           fleet, error))
        << error;
    EXPECT_EQ(fleet.dataPort, 0);
    EXPECT_EQ(fleet.searchPort, -1);
    ASSERT_EQ(fleet.chains.size(), 2u);
    const ChainSpec& hall = fleet.chains[0];
    EXPECT_EQ(hall.kind, ChainSpec::Kind::Lan);
    EXPECT_EQ(hall.address, "127.0.0.2");
    EXPECT_EQ(hall.dataPort, 10010);
    EXPECT_TRUE(hall.loginRequired);
    EXPECT_EQ(hall.user, "admin");
    EXPECT_EQ(hall.password, "pw");
    ASSERT_EQ(hall.monitors.size(), 2u);
    const MonitorSpec& h1 = hall.monitors[0];
    EXPECT_EQ(h1.serial, "S1");
    EXPECT_EQ(h1.mac, "0012ab00ff01");
    EXPECT_EQ(h1.id, 1);
    EXPECT_FALSE(h1.power);
    EXPECT_EQ(h1.input, 3);
    EXPECT_TRUE(h1.expansionBoard);
    const MonitorSpec& h2 = hall.monitors[1];
    EXPECT_EQ(h2.hardwareStatus, 0x8010);
    EXPECT_FALSE(h2.signal);
    EXPECT_EQ(h2.powerUpMs, 2000);
    EXPECT_EQ(h2.replyDelayMs, 50);
    EXPECT_EQ(h2.fault, ReplyFault::WrongId);
    EXPECT_TRUE(h2.locked);
    const ChainSpec& com = fleet.chains[1];
    EXPECT_EQ(com.kind, ChainSpec::Kind::Serial);
    EXPECT_EQ(com.baud, 19200);
    EXPECT_EQ(com.dataPort, -1);
    EXPECT_TRUE(com.monitors[0].wrongInterface);
    EXPECT_EQ(com.monitors[0].temperature, "38.5");
    EXPECT_EQ(com.monitors[0].workHours, 4000);
}

TEST(FleetFile, ErrorsNameTheLine)
{
    struct Case
    {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"monitor m1\n", "line 1: monitor 'm1' before any 'lan' or 'chain'"},
        {"chain a\nmonitor m\nmonitor m\n", "line 3: monitor 'm' named twice"},
        {"chain a\nmonitor m\nchain a\nmonitor n\n", "line 3: chain 'a' named twice"},
        {"chain a\nmonitor m id=256\n", "line 2: bad monitor setting id=256"},
        {"chain a\nmonitor m mac=12\n", "line 2: bad monitor setting mac=12"},
        {"chain a\nmonitor m colour=red\n", "line 2: bad monitor setting colour=red"},
        {"chain a\nmonitor m fault=sometimes\n", "line 2: bad monitor setting fault=sometimes"},
        {"chain a\nmonitor m power\n", "line 2: expected key=value, not 'power'"},
        {"lan a 127.0.0.2:99999\nmonitor m\n", "line 1: bad data port in '127.0.0.2:99999'"},
        {"lan a 127.0.0.2 secure\nmonitor m\n", "line 1: bad LAN setting 'secure'"},
        {"chain a speed=9600\n", "line 1: bad chain setting 'speed=9600'"},
        {"data-port -1\n", "line 1: bad data port"},
        {"launch\n", "line 1: unknown statement 'launch'"},
        {"chain a\nchain b\nmonitor m\n", "chain 'a' has no monitor"},
    };
    std::string crowded = "chain big\n";
    for (int i = 0; i < 256; ++i)
        crowded += "monitor m" + std::to_string(i) + "\n";
    FleetSpec fleet;
    std::string error;
    EXPECT_FALSE(parseFleet(crowded, fleet, error));
    EXPECT_EQ(error, "chain 'big' has more monitors than IDs (255)");
    for (const Case& c : cases) {
        FleetSpec fleet;
        std::string error;
        EXPECT_FALSE(parseFleet(c.text, fleet, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

} // namespace
} // namespace lumivane::sim
