// lumictl settings: copying one emulated monitor's settings to another through a setting file.
#include "Emulator.h"
#include "Lumictl.h"
#include "TempFolder.h"
#include "tessera.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace lumivane;

namespace {

struct Outcome
{
    int status;
    std::string out;
    std::string err;
};

class SettingsCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "400", 1);
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n"
                                           "lan a 127.0.0.2\nmonitor source model=QX-T988\n"
                                           "lan b 127.0.0.3\nmonitor copy model=QX-T988 power=off\n",
                                           &error);
        ASSERT_TRUE(m_fleet) << error;
        for (const char* chain : {"a", "b"}) {
            const auto place = m_fleet->place(chain);
            const std::string lan = place->address + ":" + std::to_string(place->dataPort);
            ASSERT_EQ(0, lumictl({"monitors", "add", "--name", chain == std::string("a") ? "Source" : "Copy", "--lan",
                                  lan, "--model", "QX-T988"})
                             .status);
        }
    }
    void TearDown() override
    {
        ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
        TESSERA_Uninitialize();
    }

    Outcome lumictl(const std::vector<std::string>& arguments)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int status = ctl::runLumictl(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    std::string file() const { return m_data.file("Hall.msf"); }

    test::TempDataFolder m_data;
    std::unique_ptr<sim::Emulator> m_fleet;
};

TEST_F(SettingsCommandsTest, SavedSettingsLoadOntoAnotherMonitor)
{
    ASSERT_EQ(0, lumictl({"input", "AV Video (Composite)", "Source"}).status);
    for (const char* command : {"WIDE0003", "BMOD0002", "VLMP0020", "VOLM0025", "MUTE0001", "CMHR-005", "CMVY0007"})
        ASSERT_EQ(0, lumictl({"send", command, "Source"}).status) << command;

    const Outcome saved = lumictl({"settings", "save", "source", file()});
    ASSERT_EQ(0, saved.status) << saved.err;
    std::istringstream lines(test::readFile(file()));
    std::string line;
    std::vector<std::string> content;
    while (std::getline(lines, line))
        content.push_back(line);
    ASSERT_EQ(14u, content.size());
    EXPECT_EQ("QX-T988", content[1]);
    EXPECT_EQ("WIDE,3,BMOD,2,VLMP,20,VOLM,25,MUTE,1", content[3]);
    EXPECT_EQ("CMHR,-5,CMHG,0,CMHB,0,CMHC,0,CMHM,0,CMHY,0", content[6]);
    EXPECT_EQ("CMVR,0,CMVG,0,CMVB,0,CMVC,0,CMVM,0,CMVY,7", content[8]);

    const Outcome loaded = lumictl({"settings", "load", file(), "Copy"});
    ASSERT_EQ(0, loaded.status) << loaded.err;
    EXPECT_EQ("POWR0001", m_fleet->receivedLines("b").front());
    EXPECT_EQ(m_fleet->monitorState("source")->input, m_fleet->monitorState("copy")->input);
    for (const char* code : {"WIDE", "BMOD", "VLMP", "VOLM", "MUTE", "CMHR", "CMVY", "CMSG"})
        EXPECT_EQ(m_fleet->value("source", code).value_or(0), m_fleet->value("copy", code).value_or(-1)) << code;
    EXPECT_EQ("Copy: 25\n", lumictl({"query", "VOLM????", "Copy"}).out);
}

TEST_F(SettingsCommandsTest, RefusedFilesSendNothing)
{
    const std::string body = "POWR,1,INPS,1\nWIDE,2,BMOD,0,VLMP,10,VOLM,10,MUTE,0\n";
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"PanelDesk,1\nBrela\nPOWR,1,INPS,101\n", "You cannot load ZR-1190 setting into QX-Series."},
        {"PanelDesk,2\nQX-T988\n" + body, "This version doesn't support that setting file."},
        {"Panel,1\nQX-T988\n" + body, "This file may be broken."},
        {"PanelDesk,1\nQX-P551\n" + body,
         "The file's setting is for the model , QX-P551. Do you want to load compulsory?"},
    };
    for (const auto& [content, message] : refused) {
        test::writeFile(file(), content);
        const Outcome outcome = lumictl({"settings", "load", file(), "Copy"});
        EXPECT_EQ(2, outcome.status) << content;
        EXPECT_NE(std::string::npos, outcome.err.find(message)) << outcome.err;
    }
    EXPECT_EQ(2, lumictl({"settings", "load", m_data.file("missing.msf"), "Copy"}).status);
    EXPECT_TRUE(m_fleet->receivedLines("b").empty());

    // Another model name of the same family loads when the operator insists.
    const Outcome forced = lumictl({"settings", "load", file(), "Copy", "--force"});
    EXPECT_EQ(0, forced.status) << forced.err;
    EXPECT_EQ(10, m_fleet->value("copy", "VLMP"));
}

// A monitor that is on but shows an input the console has no index for still counts as on.
TEST_F(SettingsCommandsTest, AnUnknownInputKeepsThePowerOn)
{
    ASSERT_EQ(0, lumictl({"send", "INPS0099", "Source"}).status);
    ASSERT_EQ(0, lumictl({"settings", "save", "Source", file()}).status);
    EXPECT_EQ("PanelDesk,1\nQX-T988\nPOWR,1,INPS,0\n", test::readFile(file()).substr(0, 34));
    ASSERT_EQ(0, lumictl({"settings", "load", file(), "Copy"}).status);
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("b"));
}

TEST_F(SettingsCommandsTest, AFailedReceiveWritesNoFile)
{
    test::writeFile(file(), "kept");
    m_fleet->setLocked("source", true);
    const Outcome saved = lumictl({"settings", "save", "Source", file()});
    EXPECT_EQ(1, saved.status);
    EXPECT_EQ("kept", test::readFile(file()));
    EXPECT_EQ(0, lumictl({"settings", "--help"}).out.find("usage: lumictl settings save"));
}

} // namespace
