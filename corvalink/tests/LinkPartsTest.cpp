// The link's parts that need no monitor: line framing, reply reading, port names, search targets.
#include "LanSearch.h"
#include "LineFramer.h"
#include "Link.h"
#include "PortName.h"
#include "Reply.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace lumivane::link {
namespace {

TEST(LineFramer, CutsLinesAtCrLfAcrossChunks)
{
    LineFramer framer;
    std::string line;
    framer.append("12", 2);
    EXPECT_EQ(framer.next(line), LineFramer::Result::NeedMore);
    framer.append("3\r", 2);
    EXPECT_EQ(framer.next(line), LineFramer::Result::NeedMore);
    framer.append("\nOK\r\n\r\n", 7);
    ASSERT_EQ(framer.next(line), LineFramer::Result::Line);
    EXPECT_EQ(line, "123");
    ASSERT_EQ(framer.next(line), LineFramer::Result::Line);
    EXPECT_EQ(line, "OK");
    ASSERT_EQ(framer.next(line), LineFramer::Result::Line);
    EXPECT_EQ(line, "");
    EXPECT_EQ(framer.next(line), LineFramer::Result::NeedMore);
}

TEST(LineFramer, AcceptsTheLongestLineAndRejectsOneByteMore)
{
    const std::string longest(4095, 'x');
    LineFramer framer;
    std::string line;
    framer.append(longest.data(), longest.size());
    framer.append("\r", 1);
    EXPECT_EQ(framer.next(line), LineFramer::Result::NeedMore) << "its LF may still come";
    framer.append("\n", 1);
    ASSERT_EQ(framer.next(line), LineFramer::Result::Line);
    EXPECT_EQ(line.size(), 4095u);

    const std::string tooLong(4096, 'x');
    framer.append(tooLong.data(), tooLong.size());
    EXPECT_EQ(framer.next(line), LineFramer::Result::Overlong) << "known before the line end arrives";
    LineFramer ended;
    ended.append(tooLong.data(), tooLong.size());
    ended.append("\r\n", 2);
    EXPECT_EQ(ended.next(line), LineFramer::Result::Overlong);
}

TEST(Reply, StatusesOfSettingsAndQueries)
{
    struct Case
    {
        const char* line;
        int32_t setting;
        int32_t query;
    };
    for (const Case& c : {Case{"OK", 0, 1}, Case{"ERR", 9, 9}, Case{"LOCKED", 10, 10}, Case{"IFERR", 14, 14},
                          Case{"1", 1, 0}, Case{"", 1, 0}, Case{"ok", 1, 0}, Case{"OK ", 1, 0}}) {
        EXPECT_EQ(settingStatus(c.line), c.setting) << '"' << c.line << '"';
        EXPECT_EQ(queryStatus(c.line), c.query) << '"' << c.line << '"';
    }
}

TEST(Reply, NumbersReadLikeAtoiWithoutOverflow)
{
    EXPECT_EQ(readNumber("  15"), 15);
    EXPECT_EQ(readNumber("-5"), -5);
    EXPECT_EQ(readNumber("+7x"), 7);
    EXPECT_EQ(readNumber("0010"), 10);
    EXPECT_EQ(readNumber("QX-T988"), 0);
    EXPECT_EQ(readNumber(""), 0);
    EXPECT_EQ(readNumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(readNumber("-99999999999999999999"), -2147483647 - 1);
    int32_t a = 0, b = 0;
    ASSERT_TRUE(readPair("1920,1080", a, b));
    EXPECT_EQ(a, 1920);
    EXPECT_EQ(b, 1080);
    ASSERT_TRUE(readPair(" -3, 4", a, b));
    EXPECT_EQ(a, -3);
    EXPECT_EQ(b, 4);
    EXPECT_FALSE(readPair("1920x1080", a, b));
}

TEST(Reply, IdPrefixMustNameTheAddressedMonitor)
{
    std::string_view line = "#003OK";
    EXPECT_TRUE(takeIdPrefix(line, 3));
    EXPECT_EQ(line, "OK");
    line = "#004OK";
    EXPECT_FALSE(takeIdPrefix(line, 3));
    line = "OK";
    EXPECT_FALSE(takeIdPrefix(line, 3)) << "a prefixed command needs a prefixed reply";
    line = "#003OK";
    EXPECT_FALSE(takeIdPrefix(line, 0)) << "an unprefixed command needs an unprefixed reply";
    line = "#ABC";
    EXPECT_TRUE(takeIdPrefix(line, 0));
    EXPECT_EQ(idPrefix(7), "#007");
    EXPECT_EQ(idPrefix(255), "#255");
    EXPECT_EQ(idPrefix(0), "");
}

TEST(Reply, OnlyPlainSingleLineTextIsSent)
{
    EXPECT_TRUE(isSendableCommand("POWR0001"));
    EXPECT_TRUE(isSendableCommand("TXDP1:\"[001] Hall\",2:\"\""));
    EXPECT_FALSE(isSendableCommand(""));
    EXPECT_FALSE(isSendableCommand("POWR0001\r"));
    EXPECT_FALSE(isSendableCommand("POWR\n0001"));
    EXPECT_FALSE(isSendableCommand(std::string(4096, 'A')));
    EXPECT_FALSE(isPlainText(std::string("A\0B", 3)));
    EXPECT_TRUE(isPlainText("Température"));
}

TEST(PortName, ReadsComAndLanTexts)
{
    PortName com = parsePortName("COM12");
    EXPECT_EQ(com.kind, PortName::Kind::Serial);
    EXPECT_EQ(com.comNumber, 12);
    PortName lan = parsePortName("LAN192.168.0.10:10010");
    EXPECT_EQ(lan.kind, PortName::Kind::Lan);
    EXPECT_EQ(lan.address, 0xC0A8000Au);
    EXPECT_EQ(lan.dataPort, 10010);
    EXPECT_EQ(parsePortName("LAN10.0.0.1").dataPort, 10008);
    for (const char* bad : {"COM0", "COM257", "COM", "COM1x", "LAN1.2.3:5", "LAN256.0.0.1:1", "LAN1.2.3.4:0",
                            "LAN1.2.3.4:65536", "LAN1.2.3.4.5:1", "LAN 1.2.3.4", "LAN1..2.3", ""})
        EXPECT_EQ(parsePortName(bad).kind, PortName::Kind::Invalid) << bad;
}

TEST(PortName, ComPortsMapThroughEnvironmentThenIni)
{
    ::unsetenv("LUMIVANE_COM3");
    EXPECT_EQ(serialDeviceFor(3), "/dev/ttyS2");
    ::setenv("LUMIVANE_COM3", "/dev/pts/42", 1);
    EXPECT_EQ(serialDeviceFor(3), "/dev/pts/42");
    ::unsetenv("LUMIVANE_COM3");

    char path[] = "/tmp/corvalink-ini-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    std::ofstream(path) << "[Other]\nCOM3=/dev/wrong\n[ comports ]\n com3 = /dev/serial/by-id/usb-1 \nCOM4=\n";
    EXPECT_EQ(readIniValue(path, "ComPorts", "COM3"), "/dev/serial/by-id/usb-1");
    EXPECT_EQ(readIniValue(path, "ComPorts", "COM4"), "");
    EXPECT_EQ(readIniValue(path, "Other", "COM3"), "/dev/wrong");
    EXPECT_EQ(readIniValue("/nonexistent.ini", "ComPorts", "COM3"), "");
    ::unlink(path);
}

TEST(LanSearchTargets, AddressesAndRanges)
{
    EXPECT_EQ(parseSearchTargets("127.0.0.2-127.0.0.4, 10.0.0.1", 100),
              (std::vector<uint32_t>{0x7F000002, 0x7F000003, 0x7F000004, 0x0A000001}));
    EXPECT_EQ(parseSearchTargets("127.0.0.9-127.0.0.2,x,1.2.3,127.0.0.1", 100), std::vector<uint32_t>{0x7F000001});
    EXPECT_EQ(parseSearchTargets("0.0.0.0-255.255.255.255", 5).size(), 5u);
    EXPECT_TRUE(parseSearchTargets("", 5).empty());
    uint32_t port = 0;
    EXPECT_TRUE(parseHereAnswer("HERE 10008\r\n", port));
    EXPECT_EQ(port, 10008u);
    for (const char* bad : {"HERE 10008", "HERE \r\n", "HERE 0\r\n", "HERE 70000\r\n", "HERE 1x\r\n", "THERE 1\r\n"})
        EXPECT_FALSE(parseHereAnswer(bad, port)) << bad;
}

TEST(LinkTimeouts, WaitValueAndEnvironment)
{
    ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
    EXPECT_EQ(timeoutsFor(0).connectMs, 2000);
    EXPECT_EQ(timeoutsFor(0).replyMs, 5000);
    EXPECT_EQ(timeoutsFor(3u << 16).replyMs, 3000);
    EXPECT_EQ(timeoutsFor(3u << 16).connectMs, 2000);
    ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "250", 1);
    EXPECT_EQ(timeoutsFor(3u << 16).replyMs, 250);
    EXPECT_EQ(timeoutsFor(0).connectMs, 250);
    ::setenv("LUMIVANE_LINK_TIMEOUT_MS", "junk", 1);
    EXPECT_EQ(timeoutsFor(0).replyMs, 5000);
    ::unsetenv("LUMIVANE_LINK_TIMEOUT_MS");
}

} // namespace
} // namespace lumivane::link
