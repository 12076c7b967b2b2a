// Command texts as they go to the monitors.
#include "CommandText.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumivane {
namespace {

TEST(CommandTextTest, SettingsCarryFourCharactersWithTheMinusSignFirst)
{
    EXPECT_EQ(settingCommand("POWR", 1), "POWR0001");
    EXPECT_EQ(settingCommand("VOLM", 0), "VOLM0000");
    EXPECT_EQ(settingCommand("VOLM", 9999), "VOLM9999");
    EXPECT_EQ(settingCommand("BRLV", -5), "BRLV-005");
    EXPECT_EQ(settingCommand("BRLV", -999), "BRLV-999");
    // Out of the four-character range the value is still sent whole, never cut to a wrong value.
    EXPECT_EQ(settingCommand("EPOS", 12345), "EPOS12345");
    EXPECT_EQ(settingCommand("EPOS", INT_MIN), "EPOS-2147483648");
}

TEST(CommandTextTest, QueriesDateAndTextDisplay)
{
    EXPECT_EQ(queryCommand("INF1"), "INF1????");

    std::tm time = {};
    time.tm_year = 2007 - 1900;
    time.tm_mon = 0;
    time.tm_mday = 9;
    time.tm_hour = 8;
    time.tm_min = 5;
    EXPECT_EQ(dateCommand(time), "DATE0701090805");
    time.tm_year = 2100 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 31;
    time.tm_hour = 23;
    time.tm_min = 59;
    EXPECT_EQ(dateCommand(time), "DATE0012312359");

    EXPECT_EQ(textDisplayCommand("[001]", ""), "TXDP1:\"[001]\",2:\"\"");
    EXPECT_EQ(textDisplayCommand("a\"b", "c\rd\n"), "TXDP1:\"ab\",2:\"cd\"") << "quotes and line ends are dropped";
    EXPECT_EQ(textDisplayCommand("Größe", "x"), "TXDP1:\"Größe\",2:\"x\"") << "UTF-8 passes unchanged";
}

TEST(CommandTextTest, FormatFillsOneIntegerConversion)
{
    EXPECT_EQ(formatCommand("EPOS%04d", 7), "EPOS0007");
    EXPECT_EQ(formatCommand("BEZH%04d", -5), "BEZH-005");
    EXPECT_EQ(formatCommand("EPSH%d", 12), "EPSH12");
    EXPECT_EQ(formatCommand("EPSH%3d", 5), "EPSH  5");
    EXPECT_EQ(formatCommand("ABCD%04d%%", 5), "ABCD0005%");
    EXPECT_EQ(formatCommand("%04dABCD", 5), "0005ABCD");
}

TEST(CommandTextTest, FormatRefusesAnythingButOneIntegerConversion)
{
    for (const char* format :
         {"EPOS", "EPOS%s", "EPOS%n", "EPOS%x", "EPOS%04d%04d", "EPOS%", "EPOS%04", "EPOS%999d", "EPOS%ld", "%p"}) {
        EXPECT_FALSE(formatCommand(format, 1).has_value()) << format;
    }
}

TEST(CommandTextTest, CodeAndParameter)
{
    EXPECT_EQ(commandCode("POWR0001"), "POWR");
    EXPECT_EQ(commandCode("PO"), "PO");
    EXPECT_EQ(commandParameter("POWR0001"), 1);
    EXPECT_EQ(commandParameter("VOLM-005"), -5);
    EXPECT_EQ(commandParameter("POWR????"), 0);
    EXPECT_EQ(commandParameter("HWST0000"), 0);
    EXPECT_EQ(commandParameter("DATE9912312359"), INT_MAX) << "clamped, not overflowed";
    EXPECT_EQ(commandParameter("XXXX-99999999999"), INT_MIN);
    EXPECT_EQ(commandParameter("GAMM  12abc"), 12);
    EXPECT_EQ(commandParameter("GAMM"), 0);
    EXPECT_EQ(commandParameter(""), 0);
    EXPECT_EQ(commandParameter("TXDP1:\"x\",2:\"\""), 1);
}

} // namespace
} // namespace lumivane
