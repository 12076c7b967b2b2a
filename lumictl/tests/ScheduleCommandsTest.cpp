// lumictl schedules, mail and monitoring: the files they write are the ones the server reads, and a
// refused change leaves every file as it was.
#include "Lumictl.h"
#include "PanelRegistry.h"
#include "TempFolder.h"
#include "tessera.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace lumivane;

namespace {

class ScheduleCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        ASSERT_EQ(0, run({"monitors", "add", "--name", "Hall", "--lan", "127.0.0.2", "--model", "QX-T988"}));
        ASSERT_EQ(0, run({"monitors", "add", "--name", "Foyer", "--lan", "127.0.0.3", "--model", "Brela"}));
    }
    void TearDown() override { TESSERA_Uninitialize(); }

    int run(const std::vector<std::string>& arguments)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int status = ctl::runLumictl(arguments, out, err);
        m_out = out.str();
        m_err = err.str();
        return status;
    }
    std::string file(const std::string& name) { return test::readFile(m_data.file(name)); }
    int scheduleOf(const std::string& monitor)
    {
        for (const TESSERA_PANEL_DATA& panel : PanelRegistry(m_data.path()).panels())
            if (panel.szName == monitor)
                return panel.bSchedule ? panel.nScheduleNo : 0;
        return -1;
    }

    test::TempDataFolder m_data;
    std::string m_out;
    std::string m_err;
};

TEST_F(ScheduleCommandsTest, SchedulesAreWrittenInTheServersFormatAndDeletingOneUnassignsItsMonitors)
{
    ASSERT_EQ(0, run({"schedules", "add", "Lobby & Hall"}));
    EXPECT_EQ("1\n", m_out);
    ASSERT_EQ(0, run({"schedules", "weekly", "lobby & hall", "--days", "mon-fri", "--on", "08:30", "--off", "19:00",
                      "--input", "3"}));
    ASSERT_EQ(0, run({"schedules", "weekly", "1", "--days", "fri-sun", "--off", "23:55"}));
    ASSERT_EQ(0, run({"schedules", "date", "1", "--from", "2011-12-29", "--to", "2012-01-03"}));
    EXPECT_EQ("1\n1,Lobby & Hall\n", file("Schedule/ScheduleList.scl"));
    const std::string entries = "0,08:30,19:00,3,62\n0,,23:55,0,97\n1,,,0,2011/12/29,2012/01/03\n";
    EXPECT_EQ(entries, file("Schedule/Schedule1.scf"));

    // Refused: a main-series schedule for a ZR-1190, minutes off the list, an unknown day, days the wrong
    // way round. Nothing changes.
    EXPECT_EQ(2, run({"schedules", "assign", "1", "Foyer"}));
    EXPECT_EQ("lumictl: You cannot select QX-Series input mode for the monitor of ZR-1190.\n", m_err);
    EXPECT_EQ(2, run({"schedules", "weekly", "1", "--days", "mon", "--on", "08:02"}));
    EXPECT_EQ(2, run({"schedules", "weekly", "1", "--days", "mon,funday", "--on", "08:00"}));
    EXPECT_EQ(2, run({"schedules", "date", "1", "--from", "2012-01-03", "--to", "2011-12-29"}));
    EXPECT_EQ(2, run({"schedules", "weekly", "1", "--days", "mon", "--on", "08:00", "--input", "101"}));
    EXPECT_EQ(entries, file("Schedule/Schedule1.scf"));
    EXPECT_EQ(0, scheduleOf("Foyer"));

    ASSERT_EQ(0, run({"schedules", "assign", "1", "Hall"}));
    EXPECT_EQ(1, scheduleOf("Hall"));
    ASSERT_EQ(0, run({"schedules", "remove-entry", "1", "weekly", "2"}));
    ASSERT_EQ(0, run({"schedules", "show", "1", "--json"}));
    EXPECT_NE(m_out.find("\"weekly\": [{\"entry\": 1, \"days\": \"mon,tue,wed,thu,fri\", \"on\": \"08:30\""),
              std::string::npos)
        << m_out;
    EXPECT_EQ(m_out.find("23:55"), std::string::npos);

    ASSERT_EQ(0, run({"schedules", "delete", "Lobby & Hall"}));
    EXPECT_EQ(0, scheduleOf("Hall"));
    EXPECT_EQ("1\n", file("Schedule/ScheduleList.scl"));
    EXPECT_EQ(2, run({"schedules", "show", "1"}));
}

TEST_F(ScheduleCommandsTest, MailAndMonitoringSettingsAreWrittenAsTheServerReadsThem)
{
    ASSERT_EQ(0, run({"mail", "add", "ops@example.com", "--errors"}));
    ASSERT_EQ(0, run({"mail", "add", "boss@example.com", "--reports", "--errors"}));
    EXPECT_EQ(2, run({"mail", "add", "OPS@example.com"})); // the same address, case ignored
    EXPECT_EQ(2, run({"mail", "add", "no-at-sign"}));
    ASSERT_EQ(0, run({"mail", "remove", "ops@example.com"}));
    EXPECT_EQ("boss@example.com,3\n", file("EMailAddress.csv"));

    ASSERT_EQ(0, run({"mail", "reports", "add", "00:00"}));
    ASSERT_EQ(0, run({"mail", "reports", "add", "17:45", "--days", "mon-fri"}));
    EXPECT_EQ(2, run({"mail", "reports", "add", "17:40"}));
    EXPECT_EQ("0,0,127\n17,45,62\n", file("MailSchedule.csv"));
    ASSERT_EQ(0, run({"mail", "reports", "remove", "1"}));
    EXPECT_EQ("17,45,62\n", file("MailSchedule.csv"));

    ASSERT_EQ(0, run({"monitoring", "set", "--enabled", "yes", "--interval", "2h", "--attach-log", "yes"}));
    EXPECT_EQ(2, run({"monitoring", "set", "--enabled", "yes", "--interval", "45m"}));
    ASSERT_EQ(0, run({"monitoring", "show"}));
    EXPECT_EQ("enabled\tyes\ninterval\t2 hours\nmessage-box\tno\nattach-log\tyes\n", m_out);
}

} // namespace
