// The search for monitors against emulated fleets, and the registry it adds them to.
#include "Emulator.h"
#include "MonitorSearch.h"
#include "PanelRegistry.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumivane;

namespace {

class RecordingObserver : public RunObserver
{
public:
    void onProgress(RunProgress what, int value) override { progress.emplace_back(what, value); }
    std::vector<std::pair<RunProgress, int>> progress;
};

std::vector<std::string> namesOf(const std::vector<TESSERA_PANEL_DATA>& panels)
{
    std::vector<std::string> names;
    for (const TESSERA_PANEL_DATA& panel : panels)
        names.emplace_back(panel.szName);
    return names;
}

class SearchTest : public ::testing::Test
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
        ::unsetenv("LUMIVANE_LAN_SEARCH");
        ::unsetenv("LUMIVANE_COM1");
        TESSERA_Uninitialize();
    }

    test::TempDataFolder m_folder;
    PanelRegistry m_registry{m_folder.path()};
    RecordingObserver m_observer;
};

TEST_F(SearchTest, LanMonitorsAreAddedInAddressOrder)
{
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port 0\n"
                                          "lan b 127.0.0.3\nmonitor b model=QX-T989B serial=B-1 mac=0010C9000003 board=1\n"
                                          "lan a 127.0.0.2\nmonitor a model=QX-T988 serial=A-1 mac=0010C9000002\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    ::setenv("LUMIVANE_LAN_SEARCH", fleet->searchTargets().c_str(), 1);
    SearchRequest request;
    request.ports = searchPortsFor(0);
    request.searchPort = fleet->searchPort();
    const SearchResult result = searchMonitors(request, m_registry, m_observer);
    EXPECT_EQ(2, result.added);
    EXPECT_FALSE(result.someUnusable);
    const auto panels = m_registry.panels();
    ASSERT_EQ(2u, panels.size());
    EXPECT_EQ((std::vector<std::string>{"[001] 127.0.0.2", "[002] 127.0.0.3"}), namesOf(panels));
    EXPECT_STREQ("QX-T988", panels[0].szModel);
    EXPECT_STREQ("A-1", panels[0].szSerialNo);
    EXPECT_STREQ("00-10-C9-00-00-02", panels[0].szMACAddress);
    EXPECT_EQ(1, panels[0].nInterface);
    EXPECT_EQ(fleet->place("a")->dataPort, panels[0].nDataPort);
    EXPECT_EQ(1, panels[1].nModelFlags & 1); // expansion board reported
    EXPECT_EQ((std::pair{RunProgress::OuterRange, 3}), m_observer.progress.front()) << "two devices and the LAN entry";
    EXPECT_EQ(RunProgress::Finished, m_observer.progress.back().first);
}

TEST_F(SearchTest, DaisyChainGetsIdsAssigned)
{
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nchain c\n"
                                          "monitor m1 model=QX-T988\nmonitor m2 model=QX-T988\nmonitor m3 model=QX-T988\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    ::setenv("LUMIVANE_COM1", fleet->place("c")->device.c_str(), 1);
    const int group = m_registry.addGroup("Studio", 0)->nGroupNo;
    SearchRequest request;
    request.ports = searchPortsFor(1);
    request.daisyChain = true;
    request.targetGroup = group;
    const SearchResult result = searchMonitors(request, m_registry, m_observer);
    EXPECT_EQ(3, result.added);
    const auto panels = m_registry.panels();
    EXPECT_EQ((std::vector<std::string>{"[001] COM1 ID1", "[002] COM1 ID2", "[003] COM1 ID3"}), namesOf(panels));
    for (const TESSERA_PANEL_DATA& panel : panels) {
        EXPECT_EQ(group, panel.nGroupNo);
        EXPECT_EQ(0, panel.nInterface);
    }
    EXPECT_EQ(3, panels[2].nMonitorID);
}

TEST_F(SearchTest, ChainThatKeepsRepeatingAnIdIsNotRegistered)
{
    // Three monitors that all answer to ID 1 and ignore the new IDs they are given: one monitor could
    // answer for every entry, and each entry would be registered as a monitor of its own.
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nchain c\n"
                                          "monitor m1 id=1\nmonitor m2 id=1\nmonitor m3 id=1\n",
                                          &error);
    ASSERT_TRUE(fleet) << error;
    ASSERT_TRUE(fleet->setIdAssignmentIgnored("c", true));
    ::setenv("LUMIVANE_COM1", fleet->place("c")->device.c_str(), 1);
    SearchRequest request;
    request.ports = searchPortsFor(1);
    request.daisyChain = true;
    EXPECT_EQ(0, searchMonitors(request, m_registry, m_observer).added);
    EXPECT_TRUE(m_registry.panels().empty());
    EXPECT_EQ("IDLS????", fleet->receivedLines("c").back()) << "nothing is asked of the chain after its list";
}

TEST_F(SearchTest, ZrMonitorIsPreparedForPowerOnAndAddedWithoutId)
{
    std::string error;
    auto fleet = sim::Emulator::startText("data-port 0\nsearch-port none\nchain c\nmonitor zr model=Brela id=4\n", &error);
    ASSERT_TRUE(fleet) << error;
    ::setenv("LUMIVANE_COM1", fleet->place("c")->device.c_str(), 1);
    SearchRequest request;
    request.ports = {1};
    request.daisyChain = true;
    EXPECT_EQ(1, searchMonitors(request, m_registry, m_observer).added);
    const auto panels = m_registry.panels();
    ASSERT_EQ(1u, panels.size());
    EXPECT_STREQ("[001] COM1", panels[0].szName);
    EXPECT_STREQ("Brela", panels[0].szModel);
    EXPECT_EQ(0, panels[0].nMonitorID);
    const auto lines = fleet->receivedLines("c");
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "RSPW0001"));
}

TEST_F(SearchTest, NothingAnsweringAddsNothing)
{
    ::setenv("LUMIVANE_COM1", "/nonexistent/tty", 1);
    SearchRequest request;
    request.ports = {1};
    EXPECT_EQ(0, searchMonitors(request, m_registry, m_observer).added);
    EXPECT_TRUE(m_registry.panels().empty());
    EXPECT_EQ(257u, searchPortsFor(-1).size());
}

TEST_F(SearchTest, RegistryNumbersNamesAndRemovesWithGroups)
{
    const auto first = m_registry.addMonitor(PanelRegistry::newMonitorDefaults(), 0);
    ASSERT_TRUE(first);
    EXPECT_STREQ("[001]", first->szName);
    EXPECT_EQ(10008, first->nDataPort);
    const auto floor = m_registry.addGroup("Floor", 0);
    const auto wing = m_registry.addGroup("Wing", floor->nGroupNo);
    m_registry.addMonitor(PanelRegistry::newMonitorDefaults(), floor->nGroupNo, "Lobby");
    m_registry.addMonitor(PanelRegistry::newMonitorDefaults(), wing->nGroupNo, "Wing screen");
    EXPECT_EQ((std::vector<std::string>{"[001]", "Lobby", "Wing screen"}), namesOf(m_registry.panels()));

    EXPECT_TRUE(m_registry.removeGroup(floor->nGroupNo));
    EXPECT_TRUE(m_registry.groups().empty());
    EXPECT_EQ((std::vector<std::string>{"[001]"}), namesOf(m_registry.panels()));
    EXPECT_FALSE(m_registry.removeGroup(floor->nGroupNo));
    EXPECT_EQ("This group does not exist. This group might be deleted already.", m_registry.lastError());

    // Numbers follow the largest one left, whatever was removed before.
    m_registry.addMonitor(PanelRegistry::newMonitorDefaults(), 0);
    EXPECT_TRUE(m_registry.removeMonitors({1}));
    const auto next = m_registry.addMonitor(PanelRegistry::newMonitorDefaults(), 0);
    EXPECT_EQ(3, next->nPanelNo); // 2 is the largest left
}

TEST(MonitorNames, Validation)
{
    TESSERA_PANEL_DATA monitor = PanelRegistry::newMonitorDefaults();
    monitor.nPanelNo = 7;
    TESSERA_PANEL_DATA other = monitor;
    other.nPanelNo = 8;
    std::strcpy(other.szName, "Hall");
    const std::vector<TESSERA_PANEL_DATA> others{other};
    EXPECT_EQ(0, validateMonitorName("[007] Lobby", monitor, others));
    EXPECT_EQ(147, validateMonitorName("", monitor, others));
    EXPECT_EQ(169, validateMonitorName("a|b", monitor, others));
    EXPECT_EQ(169, validateMonitorName("a\\b", monitor, others));
    EXPECT_EQ(170, validateMonitorName("HALL", monitor, others));
    std::strcpy(monitor.szModel, "QX-T655"); // kind 7 variant 6 keeps its number in the name
    EXPECT_EQ(454, validateMonitorName("Lobby", monitor, others));
    EXPECT_EQ(0, validateMonitorName("[007]Lobby", monitor, others));
}

} // namespace
