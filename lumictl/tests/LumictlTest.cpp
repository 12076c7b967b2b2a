// lumictl end to end on an emulated fleet, in a data folder of its own.
#include "Emulator.h"
#include "Lumictl.h"
#include "PanelRegistry.h"
#include "TempFolder.h"
#include "TerminalObserver.h"
#include "WindowMessageListener.h"
#include "tessera.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

using namespace lumivane;

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class LumictlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TESSERA_Initialize();
        TESSERA_ShowErrorMessage(0);
        ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "400", 1);
        std::string error;
        m_fleet = sim::Emulator::startText("data-port 0\nsearch-port 0\n"
                                           "lan hall 127.0.0.2\nmonitor hall model=QX-T988\n"
                                           "lan lobby 127.0.0.3\nmonitor lobby model=QX-T988\n",
                                           &error);
        ASSERT_TRUE(m_fleet) << error;
    }
    void TearDown() override
    {
        ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
        ::unsetenv("LUMIVANE_LAN_SEARCH");
        TESSERA_Uninitialize();
    }

    Outcome lumictl(const std::vector<std::string>& arguments)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int status = ctl::runLumictl(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    std::string lanOf(const std::string& chain)
    {
        const auto place = m_fleet->place(chain);
        return place->address + ":" + std::to_string(place->dataPort);
    }

    void registerFleet()
    {
        ASSERT_EQ(0, lumictl({"monitors", "add", "--name", "Hall", "--lan", lanOf("hall"), "--model", "QX-T988"}).status);
        ASSERT_EQ(0, lumictl({"monitors", "add", "--lan", lanOf("lobby")}).status);
    }

    std::string storeFile() { return test::readFile(m_data.file("Panels.csv")); }

    test::TempDataFolder m_data;
    std::unique_ptr<sim::Emulator> m_fleet;
};

TEST_F(LumictlTest, RegistersAndListsMonitors)
{
    registerFleet();
    const Outcome list = lumictl({"monitors", "list"});
    EXPECT_EQ(0, list.status);
    EXPECT_NE(std::string::npos, list.out.find("1\tHall\t(Root)\tLAN " + lanOf("hall") + "\tQX-T988"));
    EXPECT_NE(std::string::npos, list.out.find("2\t[002]\t(Root)\tLAN " + lanOf("lobby")));
    const Outcome json = lumictl({"--json", "monitors", "list"}); // options before the subcommand
    EXPECT_NE(std::string::npos, json.out.find("\"name\": \"Hall\""));
    EXPECT_NE(std::string::npos, json.out.find("\"interface\": \"LAN\""));

    EXPECT_EQ(0, lumictl({"monitors", "add", "--com", "3", "--baud", "19200", "--id", "2", "--name", "Studio"}).status);
    const auto panels = PanelRegistry(m_data.path()).panels();
    ASSERT_EQ(3u, panels.size());
    EXPECT_EQ(0, panels[2].nInterface);
    EXPECT_EQ(3, panels[2].nComPort);
    EXPECT_EQ(19200, panels[2].nBaudRate);
    EXPECT_EQ(2, panels[2].nMonitorID);

    EXPECT_EQ(0, lumictl({"monitors", "remove", "studio", "2"}).status);
    EXPECT_EQ(1u, PanelRegistry(m_data.path()).panels().size());
}

TEST_F(LumictlTest, BadInputChangesNothing)
{
    registerFleet();
    const std::string before = storeFile();
    const std::vector<std::vector<std::string>> bad = {
        {"monitors", "add", "--lan", "10.0.0"},
        {"monitors", "add", "--lan", "10.0.0.300"},
        {"monitors", "add", "--lan", "10.0.0.1:80"},
        {"monitors", "add", "--lan", "10.0.0.1", "--name", "a|b"},
        {"monitors", "add", "--lan", "10.0.0.1", "--name", "HALL"},
        {"monitors", "add", "--lan", "10.0.0.1", "--group", "nowhere"},
        {"monitors", "add", "--com", "300"},
        {"monitors", "add", "--com", "1", "--baud", "4800"},
        {"monitors", "add", "--com", "1", "--user", "u"},
        {"monitors", "add", "--lan", "10.0.0.1", "--model", "XX-1"},
        {"monitors", "remove", "Hall", "ghost"},
        {"power", "on", "ghost"},
        {"power", "sideways", "--all"},
        {"send", "POWR????", "--all"},
        {"send", "powr0001", "--all"},
        {"query", "POWR0001", "--all"},
        {"power", "on", "--all", "--on-error", "maybe"},
        {"power", "on", "--bogus"},
        {"frobnicate"},
    };
    for (const auto& arguments : bad) {
        const Outcome outcome = lumictl(arguments);
        EXPECT_EQ(2, outcome.status) << arguments[0] << " " << arguments[1];
        EXPECT_EQ(0u, outcome.err.rfind("lumictl: ", 0)) << outcome.err;
        EXPECT_EQ(1, std::count(outcome.err.begin(), outcome.err.end(), '\n')) << outcome.err;
    }
    EXPECT_EQ("Data Port is out of range. (1025 to 65535: '80')\n",
              lumictl({"monitors", "add", "--lan", "10.0.0.1:80"}).err.substr(9));
    EXPECT_EQ(before, storeFile());
    EXPECT_TRUE(m_fleet->receivedLines("hall").empty());
}

TEST_F(LumictlTest, PowerQueryAndInput)
{
    registerFleet();
    m_fleet->setPower("hall", false);
    const Outcome on = lumictl({"power", "on", "--all"});
    EXPECT_EQ(0, on.status) << on.err;
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("hall"));
    EXPECT_EQ((std::vector<std::string>{"POWR0001"}), m_fleet->receivedLines("lobby"));

    const Outcome query = lumictl({"query", "POWR????", "Hall", "2"});
    EXPECT_EQ(0, query.status);
    EXPECT_EQ("Hall: 1\n[002]: 1\n", query.out);

    EXPECT_EQ(0, lumictl({"input", "pc hdmi", "1"}).status);
    EXPECT_EQ("INPS", m_fleet->receivedLines("hall").back().substr(0, 4));
    EXPECT_EQ(0, lumictl({"send", "VOLM0020", "hall"}).status);
    EXPECT_EQ(20, m_fleet->value("hall", "VOLM"));
}

TEST_F(LumictlTest, QueryRepliesCannotDriveTheTerminal)
{
    registerFleet();
    // A monitor (or whatever answers on its address) replies with control sequence introducers, a raw
    // 8-bit one and a UTF-8 one (the link already refuses C0 controls), and a right-to-left override.
    m_fleet->setTemperature("hall", "41\x9B"
                                    "2J\xC2\x9B"
                                    "1m\u202E"
                                    "C");
    const Outcome query = lumictl({"query", "ERRT????", "Hall"});
    EXPECT_EQ(0, query.status) << query.err;
    EXPECT_EQ("Hall: 41\\x9b2J\\u009b1m\\u202eC\n", query.out);
}

TEST_F(LumictlTest, FailuresFollowTheErrorPolicy)
{
    registerFleet();
    m_fleet->setLocked("hall", true);
    const Outcome skipped = lumictl({"power", "off", "--all"});
    EXPECT_EQ(1, skipped.status);
    EXPECT_NE(std::string::npos, skipped.err.find("Monitor Name : Hall\nCommand : POWR0000\n"));
    EXPECT_NE(std::string::npos, skipped.err.find("The monitor's control is locked."));
    EXPECT_EQ((std::vector<std::string>{"POWR0000"}), m_fleet->receivedLines("lobby")); // skip-monitor went on

    const Outcome aborted = lumictl({"power", "on", "--all", "--on-error", "abort", "--parallel", "1"});
    EXPECT_EQ(1, aborted.status);
    EXPECT_EQ(1u, m_fleet->receivedLines("lobby").size()); // nothing more reached the second monitor

    const Outcome retried = lumictl({"power", "on", "hall", "--on-error", "retry:2"});
    EXPECT_EQ(1, retried.status);
    EXPECT_EQ(2, std::count(retried.err.begin(), retried.err.end(), '(')); // "(retrying)" twice
}

TEST_F(LumictlTest, ParallelRunsWorkEachAddressInOrderPrintInTargetOrderAndStartNothingAfterAnAbort)
{
    std::string error;
    const std::string fleet = "data-port 0\nsearch-port none\n"
                              "lan row 127.0.0.4\nmonitor r1 id=1\nmonitor r2 id=2 locked=on\nmonitor r3 id=3\n"
                              "lan solo 127.0.0.5\nmonitor solo\n";
    m_fleet = sim::Emulator::startText(fleet, &error);
    ASSERT_TRUE(m_fleet) << error;
    // The monitor of its own address first, so that it has started before anything can abort.
    ASSERT_EQ(0, lumictl({"monitors", "add", "--name", "solo", "--lan", lanOf("solo")}).status);
    for (const std::string id : {"1", "2", "3"})
        ASSERT_EQ(0, lumictl({"monitors", "add", "--name", "r" + id, "--lan", lanOf("row"), "--id", id}).status);

    const Outcome skipped = lumictl({"query", "POWR????", "--all", "--parallel", "8"});
    EXPECT_EQ(1, skipped.status) << skipped.err;
    EXPECT_EQ("solo: 1\nr1: 1\nr3: 1\n", skipped.out) << skipped.err; // one address never serves two at once

    const size_t before = m_fleet->receivedLines("row").size();
    const Outcome aborted = lumictl({"query", "POWR????", "--all", "--parallel", "8", "--on-error", "abort"});
    EXPECT_EQ(1, aborted.status);
    EXPECT_EQ("solo: 1\nr1: 1\n", aborted.out) << aborted.err;
    const std::vector<std::string> lines = m_fleet->receivedLines("row");
    EXPECT_EQ((std::vector<std::string>{"#001POWR????", "#002POWR????"}),
              std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end()));
}

TEST_F(LumictlTest, QueryGoesOnPastAFailingMonitorAndNamesWhatTheModelLacks)
{
    registerFleet();
    m_fleet->setLocked("hall", true);
    const Outcome skipped = lumictl({"query", "POWR????", "--all"});
    EXPECT_EQ(1, skipped.status);
    EXPECT_EQ("[002]: 1\n", skipped.out) << "skip-monitor goes on with the next monitor";
    EXPECT_EQ(1u, m_fleet->receivedLines("lobby").size());

    m_fleet->setLocked("hall", false);
    ASSERT_EQ(0,
              lumictl({"monitors", "add", "--lan", lanOf("lobby"), "--name", "Economy", "--model", "QX-E43"}).status);
    const Outcome lacking = lumictl({"query", "MWIN????", "Hall", "Economy"});
    EXPECT_EQ(1, lacking.status);
    EXPECT_EQ("Hall: 0\n", lacking.out);
    EXPECT_EQ("Economy: not supported by QX-E43\n", lacking.err);
    EXPECT_EQ(1u, m_fleet->receivedLines("lobby").size()) << "nothing was asked of the economy model";
    const Outcome notSent = lumictl({"send", "MWIN0001", "Economy", "Hall"});
    EXPECT_EQ(1, notSent.status);
    EXPECT_EQ("Economy: not supported by QX-E43\n", notSent.err);
    EXPECT_EQ(1, m_fleet->value("hall", "MWIN")) << "the monitors that take it still get it";

    // An input the monitor has not is refused before anything is sent.
    const size_t sentToHall = m_fleet->receivedLines("hall").size();
    const Outcome noSuchInput = lumictl({"input", "INPUT3", "Hall"});
    EXPECT_EQ(2, noSuchInput.status);
    EXPECT_EQ(1, std::count(noSuchInput.err.begin(), noSuchInput.err.end(), '\n')) << noSuchInput.err;
    EXPECT_EQ(sentToHall, m_fleet->receivedLines("hall").size());
}

TEST(TerminalObserverTest, EveryFailureGetsTheRetriesOfRetryN)
{
    std::ostringstream err;
    ctl::TerminalObserver observer(ctl::ErrorPolicy::parse("retry:1"), err, false);
    observer.setTotals(2, 2);
    const ErrorBox box{"failed", true, true};
    observer.onProgress(RunProgress::MonitorStep, 0);
    observer.onProgress(RunProgress::CommandStep, 0);
    EXPECT_EQ(ErrorChoice::RetryCommand, observer.askOnError(box));
    observer.onProgress(RunProgress::CommandStep, 0); // the retry succeeds
    observer.onProgress(RunProgress::CommandStep, 1);
    EXPECT_EQ(ErrorChoice::RetryCommand, observer.askOnError(box)) << "a new failure, a new retry";
    observer.onProgress(RunProgress::CommandStep, 1);
    EXPECT_EQ(ErrorChoice::SkipMonitor, observer.askOnError(box));
    observer.onProgress(RunProgress::MonitorStep, 1);
    observer.onProgress(RunProgress::CommandStep, 0);
    EXPECT_EQ(ErrorChoice::RetryCommand, observer.askOnError(box));
}

TEST_F(LumictlTest, GroupsAndGroupTargets)
{
    registerFleet();
    EXPECT_EQ("1\tFloor\n", lumictl({"groups", "add", "Floor"}).out);
    EXPECT_EQ(0, lumictl({"groups", "add", "Wing", "--parent", "floor"}).status);
    EXPECT_EQ(2, lumictl({"groups", "add", "Deep", "--parent", "Wing"}).status); // two levels at most
    EXPECT_EQ(0, lumictl({"monitors", "add", "--lan", lanOf("lobby"), "--name", "Wing screen", "--group", "Wing"}).status);
    EXPECT_EQ(0, lumictl({"power", "off", "--group", "Floor"}).status); // sub-groups included
    EXPECT_EQ((std::vector<std::string>{"POWR0000"}), m_fleet->receivedLines("lobby"));
    EXPECT_TRUE(m_fleet->receivedLines("hall").empty());
    EXPECT_EQ(0, lumictl({"groups", "remove", "Floor"}).status);
    EXPECT_EQ("", lumictl({"groups", "list"}).out);
    EXPECT_EQ(2u, PanelRegistry(m_data.path()).panels().size());
}

TEST_F(LumictlTest, ExportAndImportMoveRegistrationsAndTellTheServer)
{
    registerFleet();
    ASSERT_EQ(0, lumictl({"groups", "add", "Floor"}).status);
    ASSERT_EQ(0, lumictl({"monitors", "add", "--com", "2", "--name", "Wing screen", "--group", "Floor"}).status);
    const std::string file = m_data.file("floor.mrf");
    const Outcome exported = lumictl({"monitors", "export", file, "--group", "Floor"});
    EXPECT_EQ("exported 1 group and 1 monitor\n", exported.out) << exported.err;

    WindowMessageListener server;
    std::string error;
    ASSERT_TRUE(server.listenAs(kServerWindowClass, error)) << error;
    const std::string before = storeFile();
    test::writeFile(m_data.file("broken.mrf"), "Group,1,0,Floor\r\n");
    const Outcome broken = lumictl({"monitors", "import", m_data.file("broken.mrf"), "--add"});
    EXPECT_EQ(2, broken.status);
    EXPECT_EQ("lumictl: This file may be broken.\n", broken.err);
    EXPECT_EQ(2, lumictl({"monitors", "import", file}).status) << "replace or add must be said";
    EXPECT_EQ(before, storeFile());

    const Outcome imported = lumictl({"monitors", "import", file, "--add"});
    EXPECT_EQ(0, imported.status) << imported.err;
    EXPECT_EQ("imported 1 group and 1 monitor\n", imported.out);
    const auto panels = PanelRegistry(m_data.path()).panels();
    ASSERT_EQ(4u, panels.size());
    EXPECT_STREQ("[004]Wing screen", panels[3].szName);
    EXPECT_EQ(2, panels[3].nGroupNo);
    std::vector<int> received;
    for (int i = 0; i < 40 && received.empty(); ++i)
        server.poll(std::chrono::milliseconds(50), [&](const WindowMessage& message) { received.push_back(message.message); });
    EXPECT_EQ(std::vector<int>{1125}, received);
}

TEST_F(LumictlTest, SearchAddsWhatAnswers)
{
    ::setenv("LUMIVANE_LAN_SEARCH", m_fleet->searchTargets().c_str(), 1);
    const Outcome found =
        lumictl({"search", "--lan", "--port", std::to_string(m_fleet->searchPort())});
    EXPECT_EQ(0, found.status) << found.err;
    EXPECT_EQ("Found 2 monitor(s).\n", found.out);
    const auto panels = PanelRegistry(m_data.path()).panels();
    ASSERT_EQ(2u, panels.size());
    EXPECT_STREQ("[001] 127.0.0.2", panels[0].szName);
}

TEST_F(LumictlTest, SearchWhoseStoreWriteFailsSaysSo)
{
    ::setenv("LUMIVANE_LAN_SEARCH", m_fleet->searchTargets().c_str(), 1);
    ASSERT_EQ(0, ::mkdir(m_data.file("Panels.csv").c_str(), 0755)); // no file can replace a folder
    const Outcome found = lumictl({"search", "--lan", "--port", std::to_string(m_fleet->searchPort())});
    EXPECT_EQ(1, found.status);
    EXPECT_EQ("", found.out);
    EXPECT_EQ(0u, found.err.rfind("lumictl: a found monitor could not be registered", 0)) << found.err;
}

TEST_F(LumictlTest, HelpOnEveryLevel)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--help"}, {"monitors", "--help"}, {"-h", "power"}, {"search", "--help"}, {"groups", "--help"}}) {
        const Outcome help = lumictl(arguments);
        EXPECT_EQ(0, help.status);
        EXPECT_EQ(0u, help.out.find("usage: lumictl"));
    }
    EXPECT_EQ(2, lumictl({}).status);
}

TEST_F(LumictlTest, TestMailGoesThroughSendmail)
{
    test::TempFolder tools;
    const std::string script = tools.file("sendmail");
    test::writeFile(script, "#!/bin/sh\ncat > " + tools.file("mail.txt") + "\n");
    ::chmod(script.c_str(), 0755);
    test::ScopedEnvironment sendmail("LUMIVANE_SENDMAIL", script);
    const Outcome sent = lumictl({"mail", "test", "ops@example.com"});
    EXPECT_EQ(0, sent.status) << sent.err;
    const std::string mail = test::readFile(tools.file("mail.txt"));
    EXPECT_NE(std::string::npos, mail.find("To: ops@example.com"));
    EXPECT_NE(std::string::npos, mail.find("Subject: Lumivane Test Mail"));
    EXPECT_EQ(2, lumictl({"mail", "test", "not an address"}).status);
}

} // namespace
