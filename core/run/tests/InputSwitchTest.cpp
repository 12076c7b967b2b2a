// The input switch against emulated monitors that state which terminal commands they take: every input
// of every kind of monitor must switch without a command the monitor refuses.
#include "InputSwitch.h"
#include "CommandAvailability.h"
#include "CommandText.h"
#include "Emulator.h"
#include "ModelLookup.h"
#include "corvalink.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lumivane;

namespace {

struct MonitorKind
{
    const char* model;
    bool board;
    const char* fleetKeys; // what the monitor really takes, stated apart from the availability table
    int windows;           // the multi-window mode it is in before the switch
};

TEST(InputSwitchTest, EveryInputOfEveryKindOfMonitorSwitchesWithoutARefusedCommand)
{
    ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "400", 1);
    const MonitorKind kinds[] = {
        {"QX-S40", false, "lacks=SLDS", 0},
        {"QX-S46", false, "lacks=SLDS", 1},
        {"QX-T402", true, "lacks=SLDS", 0},
        {"QX-T988", true, "has=SLDS,DVSL,BNSL,HDSL,MWIN", 3},
        {"QX-T988", false, "lacks=DVSL,BNSL", 3}, // no expansion board: no BNC or second DVI connector
        {"QX-E43", false, "lacks=SLDS,DVSL,BNSL,HDSL,MWIN", 0},
    };
    for (const MonitorKind& kind : kinds) {
        const ModelCode model = modelFromName(kind.model, kind.board ? 1 : 0);
        for (InputModeIndex index = 1; index <= kLastSeriesInput; ++index) {
            SCOPED_TRACE(std::string(kind.model) + " " + kind.fleetKeys + " input " + std::to_string(index));
            std::string error;
            const auto fleet = sim::Emulator::startText(
                std::string("data-port 0\nsearch-port none\nlan a 127.0.0.2\n") + "monitor a model=" + kind.model +
                    " board=" + (kind.board ? "yes " : "no ") + kind.fleetKeys,
                &error);
            ASSERT_TRUE(fleet) << error;
            LinkHandle link = LinkOpen(fleet->portText("a").c_str(), 0);
            ASSERT_NE(link, nullptr);
            if (kind.windows != 0) {
                ASSERT_EQ(0, LinkSet(link, "command", settingCommand("MWIN", kind.windows).c_str(), 0, 0, 0));
            }
            char report[kCommandTextSize] = {};
            const int32_t status = switchInput(link, kind.model, kind.board ? 1 : 0, index, report);
            LinkClose(link);
            EXPECT_EQ(0, status) << "refused: " << report;
            const int32_t number = seriesInputNumber(model, index);
            if (number != 0) {
                EXPECT_EQ(number, fleet->value("a", "INPS"));
            }
            if (kind.windows == 3) {
                EXPECT_EQ(0, fleet->value("a", "MWIN")) << "several windows are ended before the switch";
            }
        }
    }
    ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
}

} // namespace
