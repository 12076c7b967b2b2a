// "Get Monitor's Information" as a run item against the emulator.
#include "MonitorInformation.h"
#include "CommunicationRun.h"
#include "Emulator.h"
#include "PanelRegistry.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>

using namespace lumivane;

namespace {

class MonitorInformationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "500", 1);
    }
    void TearDown() override
    {
        ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
        ::unsetenv("LUMIVANE_COM1");
        TESSERA_Uninitialize();
    }

    // Runs the information item on `information.monitor` alone; the run's result.
    bool readInformation(MonitorInformation& information)
    {
        std::vector<CommandItem> items{monitorInformationItem(&information)};
        const TESSERA_PANEL_DATA registered = information.monitor;
        const TESSERA_PANEL_DATA* monitors[] = {&registered};
        RunObserver observer; // aborts on an error
        return runCommandList(items, monitors, observer);
    }

    static TESSERA_PANEL_DATA lanMonitor(const sim::ChainPlace& place)
    {
        TESSERA_PANEL_DATA data = PanelRegistry::newMonitorDefaults();
        data.nInterface = 1;
        in_addr address{};
        ::inet_pton(AF_INET, place.address.c_str(), &address);
        data.dwIPAddress = ntohl(address.s_addr);
        data.nDataPort = place.dataPort;
        return data;
    }
};

TEST_F(MonitorInformationTest, LanMonitorsReportSerialMacAndBoard)
{
    std::string error;
    auto fleet = sim::Emulator::startText(
        "data-port 0\nsearch-port none\n"
        "lan a 127.0.0.2\nmonitor a model=QX-T989B serial=B-1 mac=0010C9000002 board=yes mdel=4\n"
        "lan b 127.0.0.3\nmonitor b model=QX-T988 serial=C-7 board=no lacks=MACA\n",
        &error);
    ASSERT_TRUE(fleet) << error;

    MonitorInformation first;
    first.monitor = lanMonitor(*fleet->place("a"));
    ASSERT_TRUE(readInformation(first));
    EXPECT_STREQ("QX-T989B", first.monitor.szModel);
    EXPECT_STREQ("B-1", first.monitor.szSerialNo);
    EXPECT_STREQ("00-10-C9-00-00-02", first.monitor.szMACAddress);
    EXPECT_EQ(1, first.monitor.nModelFlags);
    EXPECT_EQ(4, first.monitor.nMdelValue);

    // A monitor without MAC query still reports the rest; a board reported missing clears bit 0 only.
    MonitorInformation second;
    second.monitor = lanMonitor(*fleet->place("b"));
    std::strcpy(second.monitor.szMACAddress, "00-10-C9-00-00-99");
    second.monitor.nModelFlags = 3;
    ASSERT_TRUE(readInformation(second));
    EXPECT_STREQ("C-7", second.monitor.szSerialNo);
    EXPECT_STREQ("00-10-C9-00-00-99", second.monitor.szMACAddress);
    EXPECT_EQ(2, second.monitor.nModelFlags);
}

TEST_F(MonitorInformationTest, ZrModelGetsPowerOnCommandAndNothingMore)
{
    std::string error;
    auto fleet =
        sim::Emulator::startText("data-port 0\nsearch-port none\nchain c\nmonitor zr model=Brela serial=Z-1\n", &error);
    ASSERT_TRUE(fleet) << error;
    ::setenv("LUMIVANE_COM1", fleet->place("c")->device.c_str(), 1);
    MonitorInformation information;
    information.monitor = PanelRegistry::newMonitorDefaults();
    std::strcpy(information.monitor.szModel, "QX-T988");
    std::strcpy(information.monitor.szSerialNo, "OLD");
    ASSERT_TRUE(readInformation(information));
    EXPECT_STREQ("Brela", information.monitor.szModel);
    EXPECT_STREQ("OLD", information.monitor.szSerialNo);
    EXPECT_EQ((std::vector<std::string>{"INF1????", "RSPW0001"}), fleet->receivedLines("c"));
}

} // namespace
