// Enlarge setting files: the version and size coding written, files of both versions read back, and the
// files that must leave the layout alone.
#include "EnlargeFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using namespace lumivane;

namespace {

class EnlargeFileTest : public ::testing::Test
{
protected:
    std::string write(const std::string& content)
    {
        const std::string path = m_folder.file("wall.esf");
        std::ofstream(path) << content;
        return path;
    }

    std::string contentOf(const std::string& path)
    {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The tree: monitors 7, 8 and 9.
    WallMonitorLookup tree()
    {
        return [](int32_t panelNo) -> std::optional<WallMonitor> {
            if (panelNo < 7 || panelNo > 9)
                return std::nullopt;
            return WallMonitor{panelNo, "monitor " + std::to_string(panelNo), ModelCode::of(7, 6)};
        };
    }

    test::TempFolder m_folder;
};

} // namespace

TEST_F(EnlargeFileTest, WideLayoutIsSavedAsVersionTwoAndReadBackWhole)
{
    EnlargeLayout layout;
    layout.recreate(6, 2, WallOrientation::Portrait);
    layout.setBezels(30, 70);
    layout.select(11);
    layout.assign(WallMonitor{8, "monitor 8", ModelCode::of(7, 9)});
    layout.cell(11).shiftH = -3;
    layout.cell(11).group.EGRP = 4;
    const std::string path = m_folder.file("wall.esf");
    ASSERT_EQ(writeEnlargeFile(path, layout), EnlargeFileStatus::Ok);
    const std::string text = contentOf(path);
    EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1) + 1),
              "EnlargeSetting,2\nEMHV,602,Orientation,1,BEZH,30,BEZV,70,MLEN,0\n");

    EnlargeLayout loaded;
    ASSERT_EQ(readEnlargeFile(path, tree(), loaded).status, EnlargeFileStatus::Ok);
    EXPECT_EQ(loaded.columns(), 6);
    EXPECT_EQ(loaded.rows(), 2);
    EXPECT_TRUE(loaded.isPortrait());
    EXPECT_EQ(loaded.bezelV(), 70);
    EXPECT_EQ(loaded.cellOf(8), 11);
    EXPECT_EQ(loaded.cell(11).shiftH, -3);
    EXPECT_EQ(loaded.cell(11).group.EGRP, 4);
    EXPECT_EQ(loaded.cell(11).group.POSV, 5);
    EXPECT_FALSE(loaded.changed());
}

TEST_F(EnlargeFileTest, VersionOneReadsTheSizeAsTensAndPassesOverUnknownMonitors)
{
    // Keys are not checked after the first; unknown monitors, cells outside the grid and a second line
    // for a taken cell are passed over.
    const std::string path = write("EnlargeSetting,1\n"
                                   "EMHV,32,Orientation,0,BEZH,20,BEZV,10\n"
                                   "Monitor,7,EPOS,0,EPSH,1,EPSV,2\n"
                                   "Monitor,40,EPOS,1,EPSH,0,EPSV,0\n"
                                   "X,9,Y,6,EPSH,0,EPSV,-4\n"
                                   "Monitor,8,EPOS,6,EPSH,0,EPSV,0\n"
                                   "Monitor,8,EPOS,0,EPSH,0,EPSV,0\n");
    EnlargeLayout layout;
    const EnlargeFileReading reading = readEnlargeFile(path, tree(), layout);
    ASSERT_EQ(reading.status, EnlargeFileStatus::Ok);
    EXPECT_EQ(layout.columns(), 3);
    EXPECT_EQ(layout.rows(), 2);
    EXPECT_EQ(layout.bezelH(), 20);
    EXPECT_EQ(layout.cellOf(7), 0);
    EXPECT_EQ(layout.cell(0).shiftV, 2);
    EXPECT_EQ(layout.cellOf(9), std::nullopt) << "cell 6 lies outside a 3 x 2 grid";
    EXPECT_FALSE(layout.cell(1).holdsMonitor());
    EXPECT_EQ(layout.cellOf(8), std::nullopt);
    EXPECT_EQ(reading.passedOver, 4);
    EXPECT_EQ(enlargeFileVersion(layout), 1);
}

TEST_F(EnlargeFileTest, BadFilesLeaveTheLayoutAsItWas)
{
    const std::map<std::string, EnlargeFileStatus> files = {
        {"MultiSetting,1\nEMHV,22,Orientation,0,BEZH,50,BEZV,50\n", EnlargeFileStatus::Broken},
        {"EnlargeSetting,1\n", EnlargeFileStatus::Broken},
        {"EnlargeSetting,1\nEMHV,30,Orientation,0,BEZH,50,BEZV,50\n", EnlargeFileStatus::Broken},
        {"EnlargeSetting,3\nEMHV,22,Orientation,0,BEZH,50,BEZV,50\n", EnlargeFileStatus::UnsupportedVersion},
    };
    for (const auto& [content, status] : files) {
        EnlargeLayout layout;
        layout.recreate(4, 3, WallOrientation::Landscape);
        layout.assign(WallMonitor{7, "monitor 7", ModelCode::of(7, 9)});
        EXPECT_EQ(readEnlargeFile(write(content), tree(), layout).status, status) << content;
        EXPECT_EQ(layout.columns(), 4) << content;
        EXPECT_EQ(layout.cellOf(7), 0) << content;
    }
    EnlargeLayout layout;
    EXPECT_EQ(readEnlargeFile(m_folder.file("missing.esf"), tree(), layout).status, EnlargeFileStatus::CannotOpen);
    EXPECT_EQ(writeEnlargeFile(m_folder.file("no/such/folder.esf"), layout), EnlargeFileStatus::CannotOpen);
}
