// The bytes of "Panels.csv" and "Groups.csv": what is written, and how odd lines read back.
#include "StoreFiles.h"
#include "TempFolder.h"
#include "TesseraTestSupport.h"
#include "TextScramble.h"

using lumivane::test::readFile;
using lumivane::test::TempDataFolder;
using lumivane::test::writeFile;
using namespace lumivane::tessera;

namespace {

TEST(StoreFileFormat, PanelLineHasTwentyTwoFieldsInFileOrder)
{
    TESSERA_PANEL_DATA panel = makePanel(3, "X,Y\\Z");
    std::strcpy(panel.szModel, "QX-T988");
    panel.nGroupNo = 2;
    panel.nMdelValue = 1;
    panel.nMonitorID = 4;
    panel.bSchedule = 1;
    panel.nScheduleNo = 6;
    panel.nInterface = 1;
    std::strcpy(panel.szMACAddress, "00112233AABB");
    std::strcpy(panel.szSerialNo, "S1");
    panel.bMonitoring = 0;
    panel.nStatusKey = 8;
    panel.nModelFlags = 3;
    EXPECT_EQ("3,2,X\\,Y\\\\Z,,QX-T988,1,1,9600,4,true,true,6,1,-1062693374,10008,00112233AABB,S1,false,,,8,3\r\n",
              formatPanelFile({panel}));
}

TEST(StoreFileFormat, TextFieldsRoundTrip)
{
    TESSERA_PANEL_DATA panel = makePanel(1, "line\r\nbreak");
    std::strcpy(panel.szReserved, "back\\slash, comma\\");
    std::strcpy(panel.szUserName, "us,er\\");
    std::strcpy(panel.szPassword, "p\xc3\xa4ss");
    const auto read = parsePanelFile(formatPanelFile({panel}));
    ASSERT_EQ(1u, read.size());
    EXPECT_STREQ("line  break", read[0].szName);
    EXPECT_STREQ("back\\slash, comma\\", read[0].szReserved);
    EXPECT_STREQ("us,er\\", read[0].szUserName);
    EXPECT_STREQ("p\xc3\xa4ss", read[0].szPassword);
    EXPECT_EQ(panel.dwIPAddress, read[0].dwIPAddress);
}

TEST(StoreFileFormat, ScrambledFields)
{
    EXPECT_EQ(6u, lumivane::scrambleText("abc").size());
    EXPECT_EQ("", lumivane::scrambleText(""));
    EXPECT_EQ("abc", lumivane::unscrambleText(lumivane::scrambleText("abc")));
    EXPECT_EQ("", lumivane::unscrambleText("abc"));  // odd length
    EXPECT_EQ("", lumivane::unscrambleText("zb"));   // first letter out of a..p
    EXPECT_EQ("", lumivane::unscrambleText("aa"));   // second letter out of b..q
    // The table walk wraps after 256 bytes with a carry; long texts must still come back.
    std::string longText;
    for (int i = 0; i < 700; ++i)
        longText += static_cast<char>(i * 7);
    EXPECT_EQ(longText, lumivane::unscrambleText(lumivane::scrambleText(longText)));
    // The same byte at different positions scrambles differently.
    const std::string same = lumivane::scrambleText("aaaa");
    EXPECT_NE(same.substr(0, 2), same.substr(2, 2));
}

TEST(StoreFileFormat, OddPanelLinesReadAsThePartsTheyHave)
{
    const std::string garbled = lumivane::scrambleText("pw").substr(1); // odd length: empty
    const auto panels = parsePanelFile(
        "1,0,short\r\n"
        "\r\n"
        "  12abc,x,n,,m,,,,,TRUE,1,,,,,,,True,," + garbled + ",21\n"
        "5,0,a\\b\\,c,,,,,,,,,,,4294967295,,,,,,,,");
    ASSERT_EQ(4u, panels.size());
    EXPECT_EQ(1, panels[0].nPanelNo);
    EXPECT_STREQ("short", panels[0].szName);
    EXPECT_EQ(0, panels[0].bUse);
    EXPECT_EQ(0, panels[1].nPanelNo); // the empty line is a record too
    EXPECT_EQ(12, panels[2].nPanelNo);
    EXPECT_EQ(0, panels[2].nGroupNo);
    EXPECT_EQ(1, panels[2].bUse);
    EXPECT_EQ(0, panels[2].bSchedule); // "1" is not true
    EXPECT_EQ(1, panels[2].bMonitoring);
    EXPECT_STREQ("", panels[2].szPassword);
    EXPECT_EQ(21, panels[2].nStatusKey);
    EXPECT_EQ(0, panels[2].nModelFlags); // line ends after field 21
    EXPECT_STREQ("a\\b,c", panels[3].szName);
    EXPECT_EQ(0xFFFFFFFFu, panels[3].dwIPAddress);
}

TEST(StoreFileFormat, OverlongTextIsCutToTheFieldOnARead)
{
    std::string name(300, 'n');
    name.replace(256, 2, "\xc3\xa4"); // a two-byte character across the 257-byte limit
    const auto panels = parsePanelFile("1,0," + name + ",,QX-" + std::string(80, 'M'));
    ASSERT_EQ(1u, panels.size());
    EXPECT_EQ(std::string(256, 'n'), panels[0].szName);
    EXPECT_EQ(49u, std::strlen(panels[0].szModel));
}

TEST(StoreFileFormat, GroupFile)
{
    EXPECT_EQ(0, parseGroupFile("").lastGroupNo);
    const GroupList list = parseGroupFile("9,ignored\r\n3,Floor\\, 1,0\r\n4,Wing\n");
    EXPECT_EQ(9, list.lastGroupNo);
    ASSERT_EQ(2u, list.groups.size());
    EXPECT_STREQ("Floor, 1", list.groups[0].szName);
    EXPECT_EQ(0, list.groups[1].nParentNo);
    EXPECT_EQ("9\r\n3,Floor\\, 1,0\r\n4,Wing,0\r\n", formatGroupFile(list));
}

TEST_F(TesseraTest, TwentyOneFieldLineIsSavedWithTwentyTwo)
{
    TempDataFolder folder;
    const std::string path = folder.file("Panels.csv");
    writeFile(path, "1,0,[001],,,1,1,9600,0,true,false,0,0,0,10008,,,true,,,0\r\n");
    TESSERA_PANEL panels = TESSERA_OpenPanel(path.c_str());
    ASSERT_NE(nullptr, panels);
    TESSERA_PANEL_DATA panel{};
    EXPECT_TESSERA_OK(TESSERA_GetPanelData(panels, 0, &panel));
    EXPECT_EQ(0, panel.nModelFlags);
    EXPECT_TESSERA_OK(TESSERA_SavePanel(panels, nullptr));
    EXPECT_EQ("1,0,[001],,,1,1,9600,0,true,false,0,0,0,10008,,,true,,,0,0\r\n", readFile(path));
    TESSERA_ClosePanel(panels);
}

} // namespace
