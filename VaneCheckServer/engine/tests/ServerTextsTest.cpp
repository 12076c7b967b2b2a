// Status words, their texts and the messages of failed communication.
#include "ServerTexts.h"
#include "ModelLookup.h"
#include "ServerPanel.h"
#include "corvalink.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

const ModelCode kOlder = ModelCode::of(4, 1);  // a mid-series model
const ModelCode kNewer = ModelCode::of(7, 11); // a professional T model
const ModelCode kUnknown;                      // not in the model database: counts as newer

TEST(StatusWordTest, ReadsFourHexDigitsAfterLeadingSpaces)
{
    EXPECT_EQ(readStatusWord("0010"), 0x0010);
    EXPECT_EQ(readStatusWord(" 0010"), 0x0010);
    EXPECT_EQ(readStatusWord("   aBcD"), 0xABCD);
    EXPECT_EQ(readStatusWord("0000"), 0);
    EXPECT_FALSE(readStatusWord("00g0"));
    EXPECT_FALSE(readStatusWord("  12"));
    EXPECT_FALSE(readStatusWord(""));
    EXPECT_FALSE(readStatusWord("    "));
    EXPECT_FALSE(readStatusWord("\t0010"));
    EXPECT_FALSE(readStatusWord("-001"));
}

TEST(StatusWordTest, OlderAndNewerModelsReadTheBitsDifferently)
{
    EXPECT_FALSE(isNewerStatusModel(kOlder));
    EXPECT_FALSE(isNewerStatusModel(ModelCode::of(8, 1)));
    EXPECT_FALSE(isNewerStatusModel(ModelCode::of(100, 1)));
    EXPECT_TRUE(isNewerStatusModel(kNewer));
    EXPECT_TRUE(isNewerStatusModel(kUnknown));

    EXPECT_EQ(statusText(0x0010, false, "0010"), "Detected backlight error. (Status = 0010)");
    EXPECT_EQ(statusText(0x0010, true, "0010"), "Detected abnormal Voltage. (Status = 0010)");
    EXPECT_EQ(statusMessage(0x0020, true), 534);
    EXPECT_EQ(statusMessage(0x0020, false), 532);
    EXPECT_EQ(statusMessage(0x0080, false), 567);
    EXPECT_EQ(statusMessage(0x0000, false), 535);
}

TEST(StatusWordTest, TheFirstMatchingTestNamesTheStatus)
{
    // Voltage wins over everything after it; the temperature sensor over the temperature.
    EXPECT_EQ(statusMessage(0x8001, false), 532);
    EXPECT_EQ(statusMessage(0xC000, false), 572);
    EXPECT_EQ(statusMessage(0x8000, true), 533);
    EXPECT_EQ(statusMessage(0x3000, true), 598);
    EXPECT_EQ(statusMessage(0x1000, true), 600);
    EXPECT_EQ(shortStatusMessage(0x4000, false), 577);
    EXPECT_EQ(shortStatusMessage(0x0100, true), 576);
}

TEST(StatusWordTest, ShortTextsNameErrorsAndOtherwiseThePower)
{
    EXPECT_EQ(shortStatusText(kConnectionErrorFlags, kNewer, 1), "Connection Error");
    EXPECT_EQ(shortStatusText(0x8000, kNewer, 1), "Abnormal Temperature");
    EXPECT_EQ(shortStatusText(0x0010, kOlder, 1), "Backlight Error");
    EXPECT_EQ(shortStatusText(0, kNewer, 1), "Power On");
    EXPECT_EQ(shortStatusText(0, kNewer, 2), "Signal waiting");
    EXPECT_EQ(shortStatusText(0, kNewer, 0), "Power Off");
}

TEST(ServerTextsTest, ZrInputsAreNumberedAndUnknownOnesHaveNoName)
{
    EXPECT_EQ(serverInputName(101), "INPUT1");
    EXPECT_EQ(serverInputName(107), "INPUT7");
    EXPECT_EQ(serverInputName(14), "");
    EXPECT_EQ(serverInputName(108), "");
}

TEST(ServerTextsTest, CommunicationErrorsNameTheAddressOrThePort)
{
    TESSERA_PANEL_DATA lan{};
    lan.nInterface = 1;
    lan.dwIPAddress = (192u << 24) | (168u << 16) | (1u << 8) | 20u;
    lan.nDataPort = 10008;
    TESSERA_PANEL_DATA serial{};
    serial.nComPort = 3;

    EXPECT_EQ(openFailureMessage(lan), "Lumivane or another module may be accessing 192.168.1.20.");
    EXPECT_EQ(openFailureMessage(serial), "Lumivane or another module may use COM3 Port.");
    EXPECT_EQ(
        communicationErrorText(lan, LINK_TIMEOUT).rfind("Timeout! Please check IP address 192.168.1.20 is set", 0), 0u);
    EXPECT_NE(communicationErrorText(lan, LINK_TIMEOUT).find("data port is 10008"), std::string::npos);
    EXPECT_EQ(communicationErrorText(serial, LINK_TIMEOUT)
                  .rfind("Timeout! Please check whether RS-232C cable is connected to COM3", 0),
              0u);
    EXPECT_EQ(
        communicationErrorText(lan, LINK_PORT_BUSY),
        "Another application may be accessing. Otherwise IP address (192.168.1.20) or data port (10008) may be wrong.");
    EXPECT_EQ(communicationErrorText(serial, LINK_WRONG_INTERFACE),
              "The monitor's interface is not RS-232C. Please switch to use RS-232C.");
    EXPECT_EQ(communicationErrorText(lan, LINK_ERROR).rfind("Error detected. Please check IP address 192.168.1.20", 0),
              0u);
    EXPECT_EQ(communicationErrorText(serial, 42)
                  .rfind("Error detected. Please check whether RS-232C cable is connected to COM3", 0),
              0u);
}

} // namespace
