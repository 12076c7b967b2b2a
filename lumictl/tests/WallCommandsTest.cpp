// lumictl wall: a wall made from registered monitors is written as the console's editor writes it, and
// sending it gives every emulated monitor the size and its own place.
#include "Emulator.h"
#include "Lumictl.h"
#include "TempFolder.h"
#include "tessera.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace lumivane;

namespace {

class WallCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        std::string text = "data-port 0\nsearch-port none\n";
        for (int i = 1; i <= 8; ++i)
            text += "lan l" + std::to_string(i) + " 127.0.0." + std::to_string(i + 1) + "\nmonitor m" +
                    std::to_string(i) + " model=QX-T988\n";
        std::string error;
        m_fleet = sim::Emulator::startText(text, &error);
        ASSERT_TRUE(m_fleet) << error;
        for (int i = 1; i <= 8; ++i) {
            const auto place = m_fleet->place("l" + std::to_string(i));
            ASSERT_EQ(0, run({"monitors", "add", "--name", "m" + std::to_string(i), "--lan",
                              place->address + ":" + std::to_string(place->dataPort), "--model", "QX-T988"}));
        }
    }
    void TearDown() override { TESSERA_Uninitialize(); }

    int run(const std::vector<std::string>& arguments)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int status = ctl::runLumictl(arguments, out, err);
        m_err = err.str();
        return status;
    }

    test::TempDataFolder m_data;
    std::unique_ptr<sim::Emulator> m_fleet;
    std::string m_err;
};

TEST_F(WallCommandsTest, AFourByTwoWallGivesEachMonitorItsPlace)
{
    const std::string file = m_data.file("lobby.esf");
    ASSERT_EQ(0, run({"wall", "make", file, "--grid", "4x2", "--bezel", "30,40", "m1", "m2", "m3", "m4", "m5", "m6",
                      "-", "m8"}))
        << m_err;
    const std::string written = test::readFile(file);
    EXPECT_EQ(0u, written.find("EnlargeSetting,1\nEMHV,42,Orientation,0,BEZH,30,BEZV,40\n")) << written;
    EXPECT_EQ(std::string::npos, written.find("Monitor,7,")); // the empty cell

    ASSERT_EQ(0, run({"wall", "send", file})) << m_err;
    for (int i : {1, 2, 3, 4, 5, 6, 8}) {
        const std::string monitor = "m" + std::to_string(i);
        EXPECT_EQ(42, m_fleet->value(monitor, "EMHV").value_or(-1)) << monitor;
        EXPECT_EQ(30, m_fleet->value(monitor, "BEZH").value_or(-1)) << monitor;
    }
    // Cell 5 is the second column of the second row: EPHV with (1 + 1) × 10 + (1 + 1).
    EXPECT_EQ(22, m_fleet->value("m6", "EPHV").value_or(-1));
    EXPECT_EQ(11, m_fleet->value("m1", "EPHV").value_or(-1));
    EXPECT_TRUE(m_fleet->commandsCarriedOut("m7").empty());

    // A grid beyond the size coding, or a monitor twice, writes nothing.
    EXPECT_EQ(2, run({"wall", "make", m_data.file("bad.esf"), "--grid", "10x2", "m1"}));
    EXPECT_EQ(2, run({"wall", "make", m_data.file("bad.esf"), "--grid", "2x2", "m1", "m1"}));
    EXPECT_FALSE(test::fileExists(m_data.file("bad.esf")));
}

} // namespace
