// One monitor's answers, and the chain's routing, without any connection.
#include "EmulatedMonitor.h"
#include "MonitorChain.h"
#include "ReplyPlan.h"

#include <gtest/gtest.h>

namespace lumivane::sim {
namespace {

using namespace std::chrono_literals;

class Monitor : public testing::Test
{
protected:
    EmulatedMonitor make(MonitorSpec spec = {})
    {
        spec.name = "m";
        spec.serial = "SN1";
        spec.mac = "0012AB000001";
        return EmulatedMonitor(spec, m_support);
    }
    std::string ask(EmulatedMonitor& monitor, std::string_view command) { return monitor.carryOut(command, m_now); }

    CommandSupport m_support = everyCommandSupported();
    SimClock::time_point m_now = SimClock::now();
};

TEST_F(Monitor, KeepsWhatItIsSentAndChecksRanges)
{
    EmulatedMonitor monitor = make();
    EXPECT_EQ(ask(monitor, "VLMP0031"), "OK");
    EXPECT_EQ(ask(monitor, "VLMP0032"), "ERR");
    EXPECT_EQ(ask(monitor, "VLMP-001"), "ERR");
    EXPECT_EQ(ask(monitor, "VLMP????"), "31");
    EXPECT_EQ(ask(monitor, "CMHR-005"), "OK");
    EXPECT_EQ(ask(monitor, "CMHR????"), "-5");
    EXPECT_EQ(ask(monitor, "INPS0004"), "OK");
    EXPECT_EQ(ask(monitor, "INPS????"), "4");
    EXPECT_EQ(ask(monitor, "VLMP00x1"), "ERR");
    EXPECT_EQ(ask(monitor, "VLMP001"), "ERR");
    EXPECT_EQ(ask(monitor, "ZZZZ0001"), "ERR") << "unknown code";
    EXPECT_EQ(ask(monitor, "powr0001"), "ERR");
    EXPECT_EQ(ask(monitor, "RSET0000"), "OK");
    EXPECT_EQ(monitor.value("VLMP"), std::nullopt) << "a reset forgets the settings";
    EXPECT_EQ(monitor.commands().size(), 13u);
}

TEST_F(Monitor, AnswersItsIdentityAndStatus)
{
    MonitorSpec spec;
    spec.model = "QX-T989B";
    spec.hardwareStatus = 0x0010;
    spec.temperature = "41";
    spec.expansionBoard = true;
    EmulatedMonitor monitor = make(spec);
    EXPECT_EQ(ask(monitor, "INF1????"), "QX-T989B");
    EXPECT_EQ(ask(monitor, "SRNO????"), "SN1");
    EXPECT_EQ(ask(monitor, "MACA????"), "0012AB000001");
    EXPECT_EQ(ask(monitor, "OPTB????"), "1");
    EXPECT_EQ(ask(monitor, "HWCK0000"), "0010");
    EXPECT_EQ(ask(monitor, "HWST0000"), "0010");
    EXPECT_EQ(ask(monitor, "ERRT????"), "41");
    EXPECT_EQ(ask(monitor, "DSTA????"), "0");
    monitor.state().hardwareStatus = 0x4000;
    EXPECT_EQ(ask(monitor, "DSTA????"), "4");
    monitor.state().hardwareStatus = 0xC000;
    EXPECT_EQ(ask(monitor, "DSTA????"), "1");
    EXPECT_EQ(ask(monitor, "HWCK????"), "C000");
    EXPECT_EQ(ask(monitor, "PXCK????"), "1920,1080");
    EXPECT_EQ(ask(monitor, "RESO????"), "1920x1080");
    monitor.state().signal = false;
    EXPECT_EQ(ask(monitor, "PXCK????"), "ERR");
    EXPECT_EQ(ask(monitor, "RESO????"), "ERR");
    EXPECT_EQ(ask(monitor, "INF10001"), "ERR") << "identity cannot be set";
    EXPECT_EQ(ask(monitor, "RSPW????"), "ERR") << "set-only";
}

TEST_F(Monitor, StandByAndPowerUp)
{
    MonitorSpec spec;
    spec.power = false;
    spec.powerUpMs = 500;
    EmulatedMonitor monitor = make(spec);
    EXPECT_EQ(ask(monitor, "POWR????"), "0");
    EXPECT_EQ(ask(monitor, "INF1????"), "QX-T988") << "queries work in stand-by";
    EXPECT_EQ(ask(monitor, "VOLM0010"), "ERR") << "settings do not";
    EXPECT_EQ(ask(monitor, "POWR0001"), "OK");
    m_now += 499ms;
    EXPECT_EQ(ask(monitor, "POWR????"), "ERR");
    m_now += 1ms;
    EXPECT_EQ(ask(monitor, "POWR????"), "1");
    EXPECT_EQ(ask(monitor, "VOLM0010"), "OK");
    EXPECT_EQ(ask(monitor, "POWR0001"), "OK") << "already on: no new power-up";
    EXPECT_EQ(ask(monitor, "POWR????"), "1");
}

TEST_F(Monitor, LockAndInterfaceFaultsAnswerEverything)
{
    EmulatedMonitor monitor = make();
    monitor.state().locked = true;
    EXPECT_EQ(ask(monitor, "POWR????"), "LOCKED");
    EXPECT_EQ(ask(monitor, "VOLM0001"), "LOCKED");
    monitor.state().locked = false;
    monitor.state().wrongInterface = true;
    EXPECT_EQ(ask(monitor, "SRNO????"), "IFERR");
}

TEST_F(Monitor, UnsupportedCommandsGoThroughTheHook)
{
    std::vector<std::string> asked;
    m_support = [&](std::string_view model, bool board, std::string_view command) {
        asked.push_back(std::string(model) + (board ? "+" : "-") + std::string(command));
        return command.substr(0, 4) != "MONO";
    };
    EmulatedMonitor monitor = make();
    EXPECT_EQ(ask(monitor, "MONO????"), "ERR");
    EXPECT_EQ(ask(monitor, "MONO0001"), "ERR");
    EXPECT_EQ(ask(monitor, "VOLM0001"), "OK");
    EXPECT_EQ(asked, (std::vector<std::string>{"QX-T988-MONO????", "QX-T988-MONO0001", "QX-T988-VOLM0001"}));
}

#ifdef LUMISIM_WITH_AVAILABILITY
TEST_F(Monitor, ModelSupportFollowsTheAvailabilityTable)
{
    m_support = modelCommandSupport();
    MonitorSpec economy;
    economy.model = "QX-E43"; // kind 8: a short list of commands
    EmulatedMonitor e = make(economy);
    EXPECT_EQ(ask(e, "CONT0010"), "ERR");
    EXPECT_EQ(ask(e, "BMOD0004"), "ERR");
    EXPECT_EQ(ask(e, "BMOD0002"), "OK");
    EXPECT_EQ(ask(e, "VOLM0010"), "OK");
    MonitorSpec variant6;
    variant6.model = "QX-T655";
    EmulatedMonitor v6 = make(variant6);
    EXPECT_EQ(ask(v6, "MONO????"), "ERR");
    MonitorSpec unknown;
    unknown.model = "NO-SUCH-MODEL";
    EmulatedMonitor u = make(unknown);
    EXPECT_EQ(ask(u, "MONO????"), "0") << "unknown models support everything";
}
#endif

TEST(MonitorChain, RoutesByPrefixAndAnswersChainCommands)
{
    ChainSpec spec;
    for (const int id : {0, 5, 0}) {
        MonitorSpec monitor;
        monitor.name = "m" + std::to_string(spec.monitors.size());
        monitor.model = "M" + std::to_string(spec.monitors.size());
        monitor.id = id;
        spec.monitors.push_back(monitor);
    }
    const CommandSupport support = everyCommandSupported();
    MonitorChain chain(spec, support);
    const auto now = SimClock::now();
    EXPECT_EQ(chain.handleLine("INF1????", now).line, "M0") << "no prefix: the first monitor";
    EXPECT_EQ(chain.handleLine("#005INF1????", now).line, "#005M1");
    EXPECT_EQ(chain.handleLine("#007INF1????", now).monitor, nullptr) << "nobody has ID 7";
    EXPECT_EQ(chain.handleLine("IDLS????", now).line, "0,5,0");
    EXPECT_EQ(chain.handleLine("IDAS0002", now).line, "ERR");
    EXPECT_EQ(chain.handleLine("IDAS0001", now).line, "OK");
    EXPECT_EQ(chain.handleLine("IDLS????", now).line, "1,2,3");
    EXPECT_EQ(chain.handleLine("#003INF1????", now).line, "#003M2");
    EXPECT_EQ(chain.lines().size(), 8u);
    EXPECT_EQ(chain.lines()[1], "#005INF1????");
}

TEST(ReplyPlan, FaultsShapeTheBytes)
{
    MonitorSpec spec;
    const CommandSupport support = everyCommandSupported();
    EmulatedMonitor monitor(spec, support);
    const MonitorChain::Answer answer{&monitor, "#004QX-T988", 4};
    auto planFor = [&](ReplyFault fault, bool serial) {
        monitor.state().fault = fault;
        return planReply(answer, serial);
    };
    EXPECT_EQ(planFor(ReplyFault::None, false).bytes, "#004QX-T988\r\n");
    EXPECT_FALSE(planFor(ReplyFault::Silent, false).send);
    EXPECT_TRUE(planFor(ReplyFault::Drop, false).closeAfter);
    EXPECT_FALSE(planFor(ReplyFault::Drop, true).send) << "a serial line cannot hang up";
    EXPECT_EQ(planFor(ReplyFault::WrongId, false).bytes, "#005QX-T988\r\n");
    EXPECT_EQ(planFor(ReplyFault::CutLine, false).bytes, "#004QX");
    EXPECT_TRUE(planFor(ReplyFault::CutLine, false).closeAfter);
    const std::string endless = planFor(ReplyFault::Endless, false).bytes;
    EXPECT_GT(endless.size(), 4097u);
    EXPECT_EQ(endless.find('\r'), std::string::npos);
    const std::string garbage = planFor(ReplyFault::Garbage, false).bytes;
    EXPECT_NE(garbage.find('\0'), std::string::npos);
    monitor.state().fault = ReplyFault::None;
    monitor.state().replyDelayMs = 250;
    EXPECT_EQ(planReply(answer, false).delayMs, 250);
    EXPECT_FALSE(planReply(MonitorChain::Answer{}, false).send);
}

} // namespace
} // namespace lumivane::sim
