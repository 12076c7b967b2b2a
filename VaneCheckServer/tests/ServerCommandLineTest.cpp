// The server's command line as the console and a second start give it.
#include "ServerCommandLine.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

ServerCommandLine parse(std::vector<std::string> arguments)
{
    return ServerCommandLine::parse(arguments);
}

TEST(ServerCommandLineTest, ShowTakesTheNextPlainParameterAsTheAuthority)
{
    EXPECT_TRUE(parse({"/show", "2"}).show);
    EXPECT_EQ(parse({"/show", "2"}).showAuthority, 2);
    EXPECT_EQ(parse({"-SHOW", "3"}).showAuthority, 3);
    EXPECT_EQ(parse({"--show", "2"}).showAuthority, 2);
    EXPECT_EQ(parse({"/Show", "1", "3"}).showAuthority, 1);
    EXPECT_FALSE(parse({}).show);
}

TEST(ServerCommandLineTest, WithoutANumberTheOperatorMustLogIn)
{
    const ServerCommandLine alone = parse({"/show"});
    EXPECT_TRUE(alone.show);
    EXPECT_EQ(alone.showAuthority, 0);
    EXPECT_EQ(parse({"/show", "0"}).showAuthority, 0);
    EXPECT_EQ(parse({"/show", "two"}).showAuthority, 0);
    EXPECT_EQ(parse({"/show", "/x", "2"}).showAuthority, 0);
}

TEST(ServerCommandLineTest, APlainParameterCountsOnlyAfterTheSwitch)
{
    const ServerCommandLine before = parse({"2", "/show"});
    EXPECT_TRUE(before.show);
    EXPECT_EQ(before.showAuthority, 0);
    EXPECT_FALSE(parse({"2"}).show);
    EXPECT_FALSE(parse({"/shows", "2"}).show);
    EXPECT_FALSE(parse({"show", "2"}).show);
}

TEST(ServerCommandLineTest, HeadlessIsAnOptionOfItsOwn)
{
    const ServerCommandLine line = parse({"--headless", "/show", "2"});
    EXPECT_TRUE(line.headless);
    EXPECT_TRUE(line.show);
    EXPECT_EQ(line.showAuthority, 2);
    EXPECT_FALSE(parse({"/show", "--headless"}).show && parse({"/show", "--headless"}).showAuthority != 0);
    EXPECT_TRUE(parse({"/show", "--headless"}).headless);
}

// An operator who asks for the usage must not start a second server by doing so.
TEST(ServerCommandLineTest, HelpStartsNothing)
{
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--headless", "-h"}).help);
    EXPECT_FALSE(parse({"--headless"}).help);
    EXPECT_FALSE(parse({"/show", "2"}).help);
}

} // namespace
