// Export and import of the monitor export file (.mrf) against real store files in a temporary folder.
#include "MonitorAccountFile.h"
#include "MonitorImport.h"
#include "PanelRegistry.h"
#include "Strings.h"
#include "TempFolder.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumivane;
using test::readFile;
using test::writeFile;

namespace {

TESSERA_PANEL_DATA monitor(int number, int group, const std::string& name)
{
    TESSERA_PANEL_DATA panel = PanelRegistry::newMonitorDefaults();
    panel.nPanelNo = number;
    panel.nGroupNo = group;
    copyToField(panel.szName, sizeof panel.szName, name);
    return panel;
}

class MonitorFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
    }
    void TearDown() override { TESSERA_Uninitialize(); }

    void writeStore(const std::vector<TESSERA_PANEL_DATA>& panels,
                    const std::vector<std::pair<std::string, int>>& groups) // numbered 1, 2, ... in order
    {
        TESSERA_PANEL panelList = TESSERA_OpenPanel(nullptr);
        for (const TESSERA_PANEL_DATA& panel : panels)
            TESSERA_InsertPanelData(panelList, -1, &panel);
        ASSERT_EQ(1, TESSERA_SavePanel(panelList, m_registry.panelsPath().c_str()));
        TESSERA_ClosePanel(panelList);
        TESSERA_GROUP groupList = TESSERA_OpenGroup(nullptr);
        for (const auto& [name, parent] : groups) {
            TESSERA_GROUP_DATA group{};
            copyToField(group.szName, sizeof group.szName, name);
            group.nParentNo = parent;
            TESSERA_InsertGroupData(groupList, -1, &group);
        }
        ASSERT_EQ(1, TESSERA_SaveGroup(groupList, m_registry.groupsPath().c_str()));
        TESSERA_CloseGroup(groupList);
    }

    std::vector<MonitorFileEntry> everything() const
    {
        return registeredInTreeOrder(m_registry.panels(), m_registry.groups());
    }

    test::TempDataFolder m_folder;
    PanelRegistry m_registry{m_folder.path()};
    std::string m_mrf = m_folder.file("Fleet.mrf");
};

// A store numbered in the tree's order, as an import numbers it: exporting everything and importing it
// again with "replace" must give back both files unchanged, odd texts and every field included.
TEST_F(MonitorFileTest, ExportThenReplacingImportGivesBackBothFiles)
{
    TESSERA_PANEL_DATA lan = monitor(3, 3, "[003] yard");
    lan.nInterface = 1;
    lan.dwIPAddress = 0xC0A89602;
    lan.nDataPort = 10010;
    copyToField(lan.szUserName, sizeof lan.szUserName, "admin");
    copyToField(lan.szPassword, sizeof lan.szPassword, "pa,ss\\");
    copyToField(lan.szReserved, sizeof lan.szReserved, "kept\\as,is");
    copyToField(lan.szModel, sizeof lan.szModel, "QX-P42");
    copyToField(lan.szMACAddress, sizeof lan.szMACAddress, "00-10-C9-00-00-03");
    lan.bSchedule = 1;
    lan.nScheduleNo = 4;
    lan.bMonitoring = 0;
    lan.nStatusKey = 77;
    lan.nModelFlags = 3;
    TESSERA_PANEL_DATA unused = monitor(4, 0, "[004] root");
    unused.bUse = 0;
    unused.nComPort = 12;
    unused.nBaudRate = 38400;
    unused.nMonitorID = 9;
    writeStore({monitor(1, 2, "[001] east, upper"), monitor(2, 1, "[002] hall"), lan, unused},
               {{"Hall", 0}, {"Upper, east", 1}, {"Yard", 0}});
    const std::string panels = readFile(m_registry.panelsPath());
    const std::string groups = readFile(m_registry.groupsPath());

    std::string message;
    ASSERT_TRUE(writeMonitorFile(m_mrf, everything(), message)) << message;
    const std::string exported = readFile(m_mrf);
    EXPECT_EQ(0u, exported.find("MonitorAccountSetting,1\r\nGroup,1,0,Hall,,,1,1,9600,0,true,false,0,0,"));
    EXPECT_NE(std::string::npos, exported.find("\r\nMonitor,1,2,[001] east\\, upper,"));

    const ImportResult result = importMonitorFile(m_mrf, ImportMode::Replace, m_registry);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(3, result.groups);
    EXPECT_EQ(4, result.monitors);
    EXPECT_EQ(panels, readFile(m_registry.panelsPath()));
    EXPECT_EQ(groups, readFile(m_registry.groupsPath()));
    EXPECT_EQ(panels, readFile(m_folder.file("Panels.bak")));
    EXPECT_EQ(groups, readFile(m_folder.file("Groups.bak")));
}

TEST_F(MonitorFileTest, ExportSelectionsCarryTheAncestorGroups)
{
    writeStore({monitor(1, 2, "[001] deep"), monitor(2, 1, "[002] top"), monitor(3, 3, "[003] other"),
                monitor(4, 0, "[004] root")},
               {{"Hall", 0}, {"Upper", 1}, {"Yard", 0}});
    auto numbers = [](const std::vector<MonitorFileEntry>& entries) {
        std::string text;
        for (const MonitorFileEntry& entry : entries)
            text += (entry.isGroup() ? "G" : "M") + std::to_string(entry.number()) + " ";
        return text;
    };
    EXPECT_EQ("G1 G2 M1 M2 G3 M3 M4 ", numbers(everything()));
    EXPECT_EQ("G1 G2 M1 ", numbers(selectMonitor(everything(), 1)));
    EXPECT_EQ("M4 ", numbers(selectMonitor(everything(), 4)));
    EXPECT_EQ("G1 G2 M1 M2 ", numbers(selectGroup(everything(), 1)));
    EXPECT_EQ("G1 G2 M1 ", numbers(selectGroup(everything(), 2)));
    EXPECT_EQ("", numbers(selectGroup(everything(), 9)));
}

// Adding: numbering goes on after the registered monitors and groups; names follow their new number;
// "[nnn] DUMMY" stays out; an "Enlarge Group" gives its monitors to its parent.
TEST_F(MonitorFileTest, AddingRenumbersRenamesAndFolds)
{
    writeStore({monitor(11, 1, "[011] old")}, {{"Old", 0}});
    writeFile(m_mrf, "MonitorAccountSetting,1\r\n"
                     "Group,5,0,Hall\r\n"
                     "Group,6,5,Enlarge Group 1\r\n"
                     "Monitor,7,6,[007] DUMMY\r\n"
                     "Monitor,7,6,[007]Hall\r\n"
                     "Monitor,3,5,Hall\r\n"
                     "Remark,whatever\r\n"
                     "Monitor,4,9,[004] " + std::string(300, 'x') + "\r\n");
    const ImportResult result = importMonitorFile(m_mrf, ImportMode::Add, m_registry);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(1, result.groups);
    EXPECT_EQ(3, result.monitors);

    const auto groups = m_registry.groups();
    ASSERT_EQ(2u, groups.size());
    EXPECT_STREQ("Hall", groups[1].szName);
    EXPECT_EQ(2, groups[1].nGroupNo);
    const auto panels = m_registry.panels();
    ASSERT_EQ(4u, panels.size());
    EXPECT_STREQ("[011] old", panels[0].szName);
    EXPECT_STREQ("[012]Hall", panels[1].szName);
    EXPECT_EQ(2, panels[1].nGroupNo);
    EXPECT_STREQ("[013]Hall", panels[2].szName);
    EXPECT_EQ(2, panels[2].nGroupNo);
    EXPECT_EQ(255u, std::strlen(panels[3].szName));
    EXPECT_EQ(0, panels[3].nGroupNo) << "a group the file does not hold is the root";
    EXPECT_EQ("2", readFile(m_registry.groupsPath()).substr(0, 1));
}

TEST_F(MonitorFileTest, FilesThatAreNoExportChangeNothing)
{
    writeStore({monitor(1, 0, "[001] kept")}, {});
    const std::string panels = readFile(m_registry.panelsPath());
    const std::pair<std::string, int> cases[] = {
        {"Group,1,0,Hall\r\nMonitorAccountSetting,1\r\n", 200},
        {"", 200},
        {"MonitorAccountSetting,0\r\nMonitor,1,0,[001] x\r\n", 201},
    };
    for (const auto& [content, message] : cases) {
        writeFile(m_mrf, content);
        const ImportResult result = importMonitorFile(m_mrf, ImportMode::Replace, m_registry);
        EXPECT_TRUE(!result.ok && result.fileRefused) << content;
        EXPECT_EQ(messageText(message), result.message) << content;
    }
    const ImportResult missing = importMonitorFile(m_folder.file("none.mrf"), ImportMode::Replace, m_registry);
    EXPECT_EQ(formatMessage(199, m_folder.file("none.mrf").c_str()), missing.message);
    EXPECT_EQ(panels, readFile(m_registry.panelsPath()));
    EXPECT_FALSE(test::fileExists(m_folder.file("Panels.bak")));
}

// The disk fills up after "Panels.csv" was written and before "Groups.csv" is: both stay as they were.
TEST_F(MonitorFileTest, AnImportThatFailsHalfwayLeavesTheOldFiles)
{
    writeStore({monitor(1, 0, "[001] kept")}, {{"Kept", 0}});
    const std::string panels = readFile(m_registry.panelsPath());
    const std::string groups = readFile(m_registry.groupsPath());
    std::string mrf = "MonitorAccountSetting,1\r\nMonitor,1,0,[001] new\r\n";
    for (int i = 0; i < 40; ++i)
        mrf += "Group," + std::to_string(i + 1) + ",0," + std::string(200, 'g') + "\r\n";
    writeFile(m_mrf, mrf);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files beyond 4 KiB cannot be written: the new panel file fits, the new group file does not.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const ImportResult result = importMonitorFile(m_mrf, ImportMode::Replace, m_registry);
        ::_exit(result.ok ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(3, WEXITSTATUS(status));
    EXPECT_EQ(panels, readFile(m_registry.panelsPath()));
    EXPECT_EQ(groups, readFile(m_registry.groupsPath()));
}

} // namespace
