// The panel store through its C API, as the console and the server use it.
#include "TempFolder.h"
#include "TesseraTestSupport.h"

#include <vector>

using lumivane::test::readFile;
using lumivane::test::TempDataFolder;
using lumivane::test::writeFile;

namespace {

std::string lastError()
{
    return TESSERA_GetLastErrorMessage();
}

TEST_F(TesseraTest, EmptyListSavesAnEmptyFileAndRemembersItsPath)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    ASSERT_NE(nullptr, panels);
    EXPECT_EQ(0, TESSERA_GetPanelCount(panels));
    EXPECT_EQ(0, TESSERA_SavePanel(panels, nullptr));
    EXPECT_EQ("Invalid panel path (= NULL).", lastError());
    EXPECT_TESSERA_OK(TESSERA_SavePanel(panels, path.c_str()));
    EXPECT_EQ("", readFile(path));
    TESSERA_PANEL_DATA panel = makePanel(1, "[001]");
    EXPECT_TESSERA_OK(TESSERA_InsertPanelData(panels, -1, &panel));
    EXPECT_TESSERA_OK(TESSERA_SavePanel(panels, nullptr)); // the remembered path
    EXPECT_TESSERA_OK(TESSERA_ClosePanel(panels));
    TESSERA_PANEL reopened = TESSERA_OpenPanel(path.c_str());
    ASSERT_NE(nullptr, reopened);
    EXPECT_EQ(1, TESSERA_GetPanelCount(reopened));
    TESSERA_ClosePanel(reopened);
}

TEST_F(TesseraTest, OpeningMissingOrUnnamedFiles)
{
    TempDataFolder folder;
    EXPECT_EQ(nullptr, TESSERA_OpenPanel(folder.file("Panels.csv").c_str()));
    EXPECT_EQ("", lastError());
    EXPECT_EQ(nullptr, TESSERA_OpenGroup(folder.file("Groups.csv").c_str()));
    EXPECT_EQ("", lastError());
    EXPECT_EQ(nullptr, TESSERA_OpenPanel(""));
    EXPECT_EQ("Panel file is unknown.", lastError());
    EXPECT_EQ(nullptr, TESSERA_OpenGroup(""));
    EXPECT_EQ("Group file is unknown.", lastError());
    // A folder where a file is expected cannot be read: no handle, and a reason.
    EXPECT_EQ(nullptr, TESSERA_OpenPanel(folder.path().c_str()));
    EXPECT_NE("", lastError());
}

TEST_F(TesseraTest, ClosedAndForeignHandlesAreRefused)
{
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    TESSERA_GROUP groups = TESSERA_OpenGroup(nullptr);
    ASSERT_TESSERA_OK(TESSERA_ClosePanel(panels));
    ASSERT_TESSERA_OK(TESSERA_CloseGroup(groups));

    TESSERA_PANEL_DATA panel{};
    EXPECT_EQ(0, TESSERA_GetPanelData(panels, 0, &panel));
    EXPECT_EQ("Invalid panel handle.", lastError());
    EXPECT_EQ(-1, TESSERA_FindPanelData(panels, 1, nullptr));
    EXPECT_EQ("Invalid panel handle.", lastError());
    EXPECT_EQ(0, TESSERA_ClosePanel(panels));
    EXPECT_EQ("Invalid panel handle.", lastError());
    EXPECT_EQ(0, TESSERA_GetGroupCount(groups));
    EXPECT_EQ("Invalid group handle.", lastError());
    EXPECT_EQ(0, TESSERA_CloseGroup(groups));
    EXPECT_EQ("TESSERA_CloseGroup::Invalid group handle.", lastError());

    // A panel handle is not a group handle, even while it is open.
    TESSERA_PANEL open = TESSERA_OpenPanel(nullptr);
    EXPECT_EQ(0, TESSERA_GetGroupCount(reinterpret_cast<TESSERA_GROUP>(open)));
    EXPECT_EQ("Invalid group handle.", lastError());
    // Initialising again destroys what was open.
    TESSERA_Initialize();
    EXPECT_EQ(0, TESSERA_GetPanelCount(open));
    EXPECT_EQ("Invalid panel handle.", lastError());
}

TEST_F(TesseraTest, PanelRecordsByIndexAndNumber)
{
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    TESSERA_PANEL_DATA first = makePanel(5, "[005] first");
    TESSERA_PANEL_DATA twin = makePanel(5, "[005] twin");
    TESSERA_PANEL_DATA front = makePanel(2, "[002] front");
    EXPECT_TESSERA_OK(TESSERA_InsertPanelData(panels, -1, &first));
    EXPECT_TESSERA_OK(TESSERA_InsertPanelData(panels, -1, &twin));
    EXPECT_TESSERA_OK(TESSERA_InsertPanelData(panels, 0, &front));
    ASSERT_EQ(3, TESSERA_GetPanelCount(panels));

    TESSERA_PANEL_DATA found{};
    EXPECT_EQ(1, TESSERA_FindPanelData(panels, 5, &found));
    EXPECT_STREQ("[005] first", found.szName);
    EXPECT_EQ(-1, TESSERA_FindPanelData(panels, 9, nullptr));
    EXPECT_EQ("", lastError());

    TESSERA_PANEL_DATA renamed = makePanel(7, "[007] renamed");
    EXPECT_TESSERA_OK(TESSERA_SetPanelData(panels, 2, &renamed));
    EXPECT_EQ(2, TESSERA_FindPanelData(panels, 7, nullptr));
    EXPECT_EQ(0, TESSERA_SetPanelData(panels, 3, &renamed));
    EXPECT_EQ("Invalid panel number.", lastError());
    EXPECT_EQ(0, TESSERA_GetPanelData(panels, -1, &found));
    EXPECT_EQ("Invalid panel number.", lastError());

    EXPECT_TESSERA_OK(TESSERA_DeletePanelData(panels, 0));
    EXPECT_EQ(2, TESSERA_GetPanelCount(panels));
    EXPECT_EQ(0, TESSERA_DeletePanelData(panels, 2));
    EXPECT_TESSERA_OK(TESSERA_DeletePanelData(panels, -1));
    EXPECT_EQ(0, TESSERA_GetPanelCount(panels));
    EXPECT_TESSERA_OK(TESSERA_DeletePanelData(panels, -1)); // already empty
    TESSERA_ClosePanel(panels);
}

TEST_F(TesseraTest, CopiesCutOverlongTextsWithoutSplittingCharacters)
{
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    TESSERA_PANEL_DATA panel = makePanel(1, "");
    // No terminating NUL in the caller's field: 19 bytes of "a" then a two-byte character across the end.
    std::memset(panel.szUserName, 'a', sizeof panel.szUserName);
    panel.szUserName[18] = '\xc3';
    panel.szUserName[19] = '\xa9';
    EXPECT_TESSERA_OK(TESSERA_InsertPanelData(panels, -1, &panel));
    TESSERA_PANEL_DATA stored{};
    EXPECT_TESSERA_OK(TESSERA_GetPanelData(panels, 0, &stored));
    EXPECT_EQ(std::string(18, 'a'), stored.szUserName);
    TESSERA_ClosePanel(panels);
}

TEST_F(TesseraTest, GroupNumbersAreNeverReused)
{
    TempDataFolder folder;
    const std::string path = folder.file("Groups.csv");
    TESSERA_GROUP groups = TESSERA_OpenGroup(nullptr);
    TESSERA_GROUP_DATA group = makeGroup("A", 0);
    EXPECT_TESSERA_OK(TESSERA_InsertGroupData(groups, -1, &group));
    EXPECT_EQ(1, group.nGroupNo);
    EXPECT_TESSERA_OK(TESSERA_InsertGroupData(groups, -1, &group));
    EXPECT_EQ(2, group.nGroupNo);
    EXPECT_TESSERA_OK(TESSERA_DeleteGroupData(groups, 1));
    EXPECT_TESSERA_OK(TESSERA_SaveGroup(groups, path.c_str()));
    TESSERA_CloseGroup(groups);

    EXPECT_EQ("2\r\n1,A,0\r\n", readFile(path));
    groups = TESSERA_OpenGroup(path.c_str());
    ASSERT_NE(nullptr, groups);
    EXPECT_TESSERA_OK(TESSERA_InsertGroupData(groups, -1, &group));
    EXPECT_EQ(3, group.nGroupNo);
    EXPECT_TESSERA_OK(TESSERA_DeleteGroupData(groups, -1));
    EXPECT_TESSERA_OK(TESSERA_InsertGroupData(groups, -1, &group));
    EXPECT_EQ(4, group.nGroupNo);
    TESSERA_CloseGroup(groups);

    writeFile(path, "7");
    groups = TESSERA_OpenGroup(path.c_str());
    EXPECT_EQ(0, TESSERA_GetGroupCount(groups));
    EXPECT_TESSERA_OK(TESSERA_InsertGroupData(groups, -1, &group));
    EXPECT_EQ(8, group.nGroupNo);
    TESSERA_CloseGroup(groups);
}

TEST_F(TesseraTest, TheLastGroupNumberIsNeverPassed)
{
    TempDataFolder folder;
    const std::string path = folder.file("Groups.csv");
    writeFile(path, "2147483647\r\n");
    TESSERA_GROUP groups = TESSERA_OpenGroup(path.c_str());
    ASSERT_NE(nullptr, groups);
    TESSERA_GROUP_DATA group = makeGroup("A", 0);
    EXPECT_EQ(0, TESSERA_InsertGroupData(groups, -1, &group));
    EXPECT_NE("", lastError());
    EXPECT_EQ(0, TESSERA_GetGroupCount(groups));
    TESSERA_CloseGroup(groups);
}

TEST_F(TesseraTest, InitializeAndUninitializeStartWithoutAnError)
{
    EXPECT_EQ(0, TESSERA_ClosePanel(nullptr));
    EXPECT_NE("", lastError());
    TESSERA_Initialize();
    EXPECT_EQ("", lastError());
    EXPECT_EQ(0, TESSERA_ClosePanel(nullptr));
    TESSERA_Uninitialize();
    EXPECT_EQ("", lastError());
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
}

TEST_F(TesseraTest, OpenFailuresKeepTheWholeCauseWithItsPath)
{
    TempDataFolder folder;
    // A path of about 700 characters whose folder is missing: the save cannot open its file.
    std::string missing = folder.path();
    for (int i = 0; i < 3; ++i)
        missing += "/" + std::string(200, 'a' + i);
    const std::string path = missing + "/Panels.csv";
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    EXPECT_EQ(0, TESSERA_SavePanel(panels, path.c_str()));
    EXPECT_NE(std::string::npos, lastError().find(missing)) << lastError();
    TESSERA_ClosePanel(panels);
}

TEST_F(TesseraTest, SetGroupDataKeepsTheNumberAndRefusesItselfAsParent)
{
    TESSERA_GROUP groups = TESSERA_OpenGroup(nullptr);
    TESSERA_GROUP_DATA a = makeGroup("A", 0);
    TESSERA_GROUP_DATA b = makeGroup("B", 0);
    TESSERA_InsertGroupData(groups, -1, &a);
    TESSERA_InsertGroupData(groups, -1, &b);

    TESSERA_GROUP_DATA change = makeGroup("B moved", a.nGroupNo);
    change.nGroupNo = 99;
    EXPECT_TESSERA_OK(TESSERA_SetGroupData(groups, 1, &change));
    TESSERA_GROUP_DATA stored{};
    TESSERA_GetGroupData(groups, 1, &stored);
    EXPECT_EQ(b.nGroupNo, stored.nGroupNo);
    EXPECT_STREQ("B moved", stored.szName);
    EXPECT_EQ(a.nGroupNo, stored.nParentNo);

    TESSERA_GROUP_DATA self = makeGroup("self", b.nGroupNo);
    EXPECT_EQ(0, TESSERA_SetGroupData(groups, 1, &self));
    EXPECT_EQ("TESSERA_SetGroupData::Invalid parent group number.", lastError());
    TESSERA_GetGroupData(groups, 1, &stored);
    EXPECT_STREQ("B moved", stored.szName);
    EXPECT_EQ(0, TESSERA_SetGroupData(groups, 2, &self));
    EXPECT_EQ("TESSERA_SetGroupData::Invalid group number.", lastError());
    EXPECT_EQ(0, TESSERA_GetGroupData(groups, 2, &stored));
    EXPECT_EQ("TESSERA_GetGroupData::Invalid group number.", lastError());
    EXPECT_EQ(0, TESSERA_DeleteGroupData(groups, 5));
    EXPECT_EQ("TESSERA_DeleteGroupData::Invalid group number.", lastError());
    TESSERA_CloseGroup(groups);
}

// Walks the hierarchy depth first the way the console's tree does and lists "name@depth".
void walk(TESSERA_GROUP groups, int index, int depth, std::vector<std::string>& out)
{
    for (; index != -1; index = TESSERA_GetNextSiblingGroupNumber(groups, index)) {
        TESSERA_GROUP_DATA group{};
        TESSERA_GetGroupData(groups, index, &group);
        out.push_back(std::string(group.szName) + "@" + std::to_string(depth));
        walk(groups, TESSERA_GetChildGroupNumber(groups, index), depth + 1, out);
    }
}

TEST_F(TesseraTest, NavigationWalksTheHierarchyByIndex)
{
    TESSERA_GROUP groups = TESSERA_OpenGroup(nullptr);
    EXPECT_EQ(-1, TESSERA_GetChildGroupNumber(groups, -1));
    EXPECT_EQ("", lastError());

    TESSERA_GROUP_DATA top1 = makeGroup("top1", 0);
    TESSERA_InsertGroupData(groups, -1, &top1);
    TESSERA_GROUP_DATA sub = makeGroup("sub", top1.nGroupNo);
    TESSERA_InsertGroupData(groups, -1, &sub);
    TESSERA_GROUP_DATA top2 = makeGroup("top2", 0);
    TESSERA_InsertGroupData(groups, -1, &top2);
    TESSERA_GROUP_DATA sub2 = makeGroup("sub2", top1.nGroupNo);
    TESSERA_InsertGroupData(groups, -1, &sub2);
    TESSERA_GROUP_DATA orphan = makeGroup("orphan", 77);
    TESSERA_InsertGroupData(groups, -1, &orphan);

    std::vector<std::string> seen;
    walk(groups, TESSERA_GetChildGroupNumber(groups, -1), 0, seen);
    EXPECT_EQ((std::vector<std::string>{"top1@0", "sub@1", "sub2@1", "top2@0"}), seen);

    EXPECT_EQ(0, TESSERA_GetParentGroupNumber(groups, 3));
    EXPECT_EQ(-1, TESSERA_GetParentGroupNumber(groups, 0)); // top level
    EXPECT_EQ(-1, TESSERA_GetParentGroupNumber(groups, 4)); // parent missing
    EXPECT_EQ(1, TESSERA_GetPrevSiblingGroupNumber(groups, 3));
    EXPECT_EQ(-1, TESSERA_GetPrevSiblingGroupNumber(groups, 1));

    EXPECT_EQ(-1, TESSERA_GetChildGroupNumber(groups, -2));
    EXPECT_EQ("TESSERA_GetChildGroupNumber::Invalid group number.", lastError());
    EXPECT_EQ(-1, TESSERA_GetParentGroupNumber(groups, 5));
    EXPECT_EQ("TESSERA_GetParentGroupNumber::Invalid group number.", lastError());
    EXPECT_EQ(-1, TESSERA_GetNextSiblingGroupNumber(groups, -1));
    EXPECT_EQ("TESSERA_GetNextSiblingGroupNumber::Invalid group number.", lastError());
    EXPECT_EQ(-1, TESSERA_GetPrevSiblingGroupNumber(groups, 9));
    EXPECT_EQ("TESSERA_GetPrevSiblingGroupNumber::Invalid group number.", lastError());
    TESSERA_CloseGroup(groups);
}

std::vector<std::string> g_messages;
void collectMessage(const char* caption, const char* text)
{
    g_messages.push_back(std::string(caption) + "|" + text);
}

TEST_F(TesseraTest, ErrorsReachTheMessageHandlerOnlyWhenShownAndNotEmpty)
{
    g_messages.clear();
    TESSERA_SetMessageHandler(collectMessage);
    TESSERA_ShowErrorMessage(1);
    TESSERA_PANEL panels = TESSERA_OpenPanel(nullptr);
    EXPECT_EQ(0, TESSERA_GetPanelCount(panels));              // success: clears the text, shows nothing
    EXPECT_EQ(-1, TESSERA_FindPanelData(panels, 3, nullptr)); // not found: no text, nothing shown
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(0, TESSERA_DeletePanelData(panels, 4));
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ("TESSERA Library|Invalid panel number.", g_messages[0]);
    TESSERA_ShowErrorMessage(0);
    EXPECT_EQ(0, TESSERA_DeletePanelData(panels, 4));
    EXPECT_EQ(1u, g_messages.size());
    // Reading the text and switching the boxes leave the text alone.
    EXPECT_EQ("Invalid panel number.", lastError());
    TESSERA_ClosePanel(panels);
}

TEST_F(TesseraTest, DeletingFiles)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    writeFile(path, "");
    EXPECT_NE(0, TESSERA_DeletePanel(path.c_str()));
    EXPECT_FALSE(lumivane::test::fileExists(path));
    EXPECT_EQ(0, TESSERA_DeletePanel(path.c_str()));
    EXPECT_EQ("Delete Panel:\n\nNo such file or directory\n" + path, lastError());
    EXPECT_EQ(0, TESSERA_DeleteGroup(path.c_str()));
    EXPECT_EQ(0u, lastError().rfind("Delete Group:\n\n", 0));
}

} // namespace
