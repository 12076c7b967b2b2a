// The external command: split like a shell without expansion, the monitor's name inside its argument.
#include "ExternalCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <thread>

using namespace lumivane;
using namespace lumivane::test;

namespace {

using Words = std::vector<std::string>;

TEST(ExternalCommandTest, SplitsWordsWithShellQuotingAndNoExpansion)
{
    EXPECT_EQ(splitCommandWords("  /bin/notify   -t\tmonitor  "), (Words{"/bin/notify", "-t", "monitor"}));
    EXPECT_EQ(splitCommandWords("a \"b c\" 'd e' f\\ g"), (Words{"a", "b c", "d e", "f g"}));
    EXPECT_EQ(splitCommandWords("x\"y\"'z' \"\" ''"), (Words{"xyz", "", ""}));
    EXPECT_EQ(splitCommandWords("\"a \\\"q\\\" \\$HOME \\n\" '$HOME `id`'"),
              (Words{"a \"q\" $HOME \\n", "$HOME `id`"}));
    EXPECT_EQ(splitCommandWords("$(rm -rf /) ; `id` | x"), (Words{"$(rm", "-rf", "/)", ";", "`id`", "|", "x"}));
    EXPECT_EQ(splitCommandWords("\"unclosed quote"), (Words{"unclosed quote"}));
    EXPECT_TRUE(splitCommandWords("   ").empty());
}

TEST(ExternalCommandTest, TheMonitorNameStaysInsideEachArgumentThatNamesIt)
{
    const Words arguments = externalCommandArguments("alert \"Monitor %n failed\" --name=%n %n%n", "[001] a b;$(id)");
    EXPECT_EQ(arguments, (Words{"alert", "Monitor [001] a b;$(id) failed", "--name=[001] a b;$(id)",
                                "[001] a b;$(id)[001] a b;$(id)"}));
    // A name that itself holds "%n" is put in once, not again.
    EXPECT_EQ(externalCommandArguments("x %n", "%n%n"), (Words{"x", "%n%n"}));
}

TEST(ExternalCommandTest, FindsProgramsInThePathOnly)
{
    EXPECT_EQ(findProgram("sh").empty(), false);
    EXPECT_EQ(findProgram("/bin/sh"), "/bin/sh");
    EXPECT_TRUE(findProgram("no-such-program-lumivane").empty());
    EXPECT_TRUE(findProgram("/no/such/program").empty());
    EXPECT_TRUE(findProgram("").empty());
}

TEST(ExternalCommandTest, StartsTheProgramWithoutAShell)
{
    TempFolder folder;
    const std::string script = folder.file("record.sh");
    writeFile(script,
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$1.part\"\nmv \"$1.part\" \"$1.out\"\n");
    ::chmod(script.c_str(), 0700);
    const std::string name = "[002] x; touch " + folder.file("pwned") + " #";

    std::string error;
    ASSERT_TRUE(startExternalCommand(script + " " + folder.file("args") + " %n", name, error)) << error;
    const std::string out = folder.file("args.out");
    for (int wait = 0; wait < 500 && !fileExists(out); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readFile(out), folder.file("args") + "\n" + name + "\n");
    EXPECT_FALSE(fileExists(folder.file("pwned")));
}

TEST(ExternalCommandTest, AMissingProgramOrEmptyLineIsReported)
{
    std::string error;
    EXPECT_FALSE(startExternalCommand("", "m", error));
    EXPECT_FALSE(startExternalCommand("no-such-program-lumivane %n", "m", error));
    EXPECT_NE(error.find("no-such-program-lumivane"), std::string::npos);
}

} // namespace
