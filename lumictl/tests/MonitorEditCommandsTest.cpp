// "monitors info" and "monitors edit" end to end on an emulated fleet, in a data folder of their own.
#include "Emulator.h"
#include "Lumictl.h"
#include "PanelRegistry.h"
#include "TempFolder.h"
#include "WindowMessageListener.h"
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

class MonitorEditCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "400", 1);
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port none\n"
                                           "lan hall 127.0.0.2\nmonitor hall model=QX-T989B serial=H-42 "
                                           "mac=0010C9ABCDEF board=yes\n",
                                           &error);
        ASSERT_TRUE(m_fleet) << error;
        const auto place = m_fleet->place("hall");
        ASSERT_EQ(0, lumictl({"monitors", "add", "--name", "Hall", "--lan",
                              place->address + ":" + std::to_string(place->dataPort)})
                         .status);
        ASSERT_EQ(0, lumictl({"monitors", "add", "--name", "Studio", "--com", "2"}).status);
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

    std::vector<TESSERA_PANEL_DATA> panels() const { return PanelRegistry(m_data.path()).panels(); }
    std::string storeFile() const { return test::readFile(m_data.file("Panels.csv")); }

    test::TempDataFolder m_data;
    std::unique_ptr<sim::Emulator> m_fleet;
};

TEST_F(MonitorEditCommandsTest, InfoStoresWhatTheMonitorReportsAndTellsTheServer)
{
    WindowMessageListener server;
    std::string error;
    ASSERT_TRUE(server.listenAs(kServerWindowClass, error)) << error;
    const Outcome info = lumictl({"monitors", "info", "Hall"});
    EXPECT_EQ(0, info.status) << info.err;
    EXPECT_EQ("1\tHall\tQX-T989B\tH-42\t00-10-C9-AB-CD-EF\texpansion board\n", info.out);
    const auto stored = panels();
    EXPECT_STREQ("QX-T989B", stored[0].szModel);
    EXPECT_STREQ("H-42", stored[0].szSerialNo);
    EXPECT_STREQ("00-10-C9-AB-CD-EF", stored[0].szMACAddress);
    EXPECT_EQ(1, stored[0].nModelFlags & 1);
    std::vector<int> received;
    for (int i = 0; i < 40 && received.empty(); ++i)
        server.poll(std::chrono::milliseconds(50),
                    [&](const WindowMessage& message) { received.push_back(message.message); });
    EXPECT_EQ(std::vector<int>{1125}, received);

    // A monitor that does not answer keeps what it had.
    const std::string before = storeFile();
    ::setenv("LUMIVANE_COM2", "/nonexistent/tty", 1);
    const Outcome silent = lumictl({"monitors", "info", "Studio"});
    ::unsetenv("LUMIVANE_COM2");
    EXPECT_EQ(1, silent.status);
    EXPECT_EQ(before, storeFile());
}

TEST_F(MonitorEditCommandsTest, RefusedValuesLeaveTheStoreUntouched)
{
    const std::string before = storeFile();
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"monitors", "edit", "Hall", "--lan", "127.0.0.9:80"}, "Data Port is out of range."},
        {{"monitors", "edit", "Hall", "--name", "Hall|2"},
         "A monitor name cannot contain any of the following characters: \\ / : * ? \" < > |"},
        {{"monitors", "edit", "Hall", "--name", "studio"},
         "There is the same monitor name. Please enter another name."},
        {{"monitors", "edit", "Hall", "--name", ""}, "Please enter monitor name."},
        {{"monitors", "edit", "Studio", "--user", "u", "--password", "p"}, ""},
        {{"monitors", "edit", "Hall", "--user", "123456789", "--password", "p"}, ""},
        {{"monitors", "edit", "Hall", "--use", "no", "--monitoring", "yes"}, ""},
        {{"monitors", "edit", "Hall", "--baud", "19200"}, ""},
        {{"monitors", "edit", "Hall", "--id", "256"}, ""},
        {{"monitors", "edit", "Hall"}, ""},
    };
    for (const auto& [arguments, message] : refused) {
        const Outcome outcome = lumictl(arguments);
        EXPECT_EQ(2, outcome.status) << arguments.back();
        if (!message.empty()) {
            EXPECT_EQ("lumictl: " + message + "\n", outcome.err);
        }
    }
    EXPECT_EQ(before, storeFile());
}

TEST_F(MonitorEditCommandsTest, EditChangesOnlyWhatItNames)
{
    // An RS-232C monitor whose data port is out of range is stored with the default, as the form does.
    PanelRegistry registry(m_data.path());
    ASSERT_EQ(StoreChange::Done, registry.changeMonitor(2, [](TESSERA_PANEL_DATA& data) {
        data.nDataPort = 80;
        data.nStatusKey = 17;
        data.bSchedule = 1;
        data.nScheduleNo = 3;
    }));
    const Outcome edited = lumictl(
        {"monitors", "edit", "Studio", "--id", "4", "--baud", "38400", "--model", "ZR-1190", "--monitoring", "no"});
    EXPECT_EQ(0, edited.status) << edited.err;
    const TESSERA_PANEL_DATA studio = panels()[1];
    EXPECT_EQ(10008, studio.nDataPort);
    EXPECT_EQ(4, studio.nMonitorID);
    EXPECT_EQ(38400, studio.nBaudRate);
    EXPECT_STREQ("Brela", studio.szModel);
    EXPECT_EQ(0, studio.bMonitoring);
    EXPECT_EQ(1, studio.bUse);
    EXPECT_EQ(17, studio.nStatusKey);
    EXPECT_EQ(3, studio.nScheduleNo);
    EXPECT_STREQ("Studio", studio.szName);

    EXPECT_EQ(0,
              lumictl({"monitors", "edit", "1", "--name", "Main hall", "--user", "admin", "--password", "pw"}).status);
    EXPECT_STREQ("Main hall", panels()[0].szName);
    EXPECT_STREQ("admin", panels()[0].szUserName);
    EXPECT_EQ(0, lumictl({"monitors", "edit", "Main hall", "--password", "new"}).status);
    EXPECT_STREQ("admin", panels()[0].szUserName) << "a new password keeps the user name";
    EXPECT_EQ(0, lumictl({"monitors", "edit", "Main hall", "--clear-login"}).status);
    EXPECT_STREQ("", panels()[0].szUserName);
}

} // namespace
