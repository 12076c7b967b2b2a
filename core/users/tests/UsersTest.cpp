// Roles, the Normal Operator's mask, the password file and the log-in rule.
#include "Authority.h"
#include "PasswordFile.h"
#include "ProfileFile.h"
#include "SecondAccount.h"
#include "Settings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumivane;

namespace {

TEST(Authority, CustomizingKeepsHiddenBitsButClearsControlPagesWithoutControl)
{
    using namespace customizeBits;
    const uint16_t before = kControl | kPicture | kMonitorSetting | kEnlarge | kSchedule;
    EXPECT_EQ(kControl | kPicture | kMonitorSetting | kEnlarge | kMonitorControl,
              customizeMaskFromDialog(before, true, false, true));
    EXPECT_EQ(kEnlarge | kSchedule, customizeMaskFromDialog(before, false, true, false));
    EXPECT_EQ(0x8000 | kPipPbyP, customizeMaskFromDialog(0x8000 | kPipPbyP | kAudio, false, false, false));
}

TEST(Authority, LayoutByRole)
{
    const FunctionAccess admin = functionAccessFor(Authority::Administrator, 0, false);
    EXPECT_FALSE(admin.restrictedLayout);
    EXPECT_TRUE(admin.passwordSetting && admin.mailMonitoringSetting && admin.schedule && admin.monitorControl);
    EXPECT_EQ(0xFFFF, admin.operationMask);

    const FunctionAccess restricted = functionAccessFor(Authority::RestrictedOperator, 0xFFFF, false);
    EXPECT_TRUE(restricted.restrictedLayout);
    EXPECT_FALSE(restricted.inputSelection);
    EXPECT_TRUE(functionAccessFor(Authority::RestrictedOperator, 0, true).inputSelection);

    const FunctionAccess normalWithoutMask = functionAccessFor(Authority::NormalOperator, 0, false);
    EXPECT_TRUE(normalWithoutMask.restrictedLayout);
    EXPECT_TRUE(normalWithoutMask.inputSelection); // always, whatever InputModeAvailable says

    const FunctionAccess normal = functionAccessFor(Authority::NormalOperator, customizeBits::kSchedule, false);
    EXPECT_FALSE(normal.restrictedLayout);
    EXPECT_FALSE(normal.passwordSetting || normal.mailMonitoringSetting || normal.monitorControl);
    EXPECT_TRUE(normal.schedule);
    EXPECT_EQ(customizeBits::kSchedule, normal.operationMask);
}

TEST(Authority, NoRoleGrantsNothing)
{
    for (const Authority nobody : {Authority::None, static_cast<Authority>(4), static_cast<Authority>(-1)}) {
        const FunctionAccess access = functionAccessFor(nobody, customizeBits::kAll, true);
        EXPECT_TRUE(access.restrictedLayout);
        EXPECT_FALSE(access.inputSelection || access.monitorControl || access.schedule ||
                     access.mailMonitoringSetting || access.passwordSetting);
        EXPECT_EQ(0, access.operationMask);
    }
}

// A password file that is there but cannot be read must never count as "no passwords": that would let
// anybody in as Administrator.
TEST(PasswordFile, AFileThatCannotBeReadRefusesTheLogIn)
{
    test::TempDataFolder folder;
    ASSERT_EQ(0, ::mkdir(folder.file("QVCtrlPwf").c_str(), 0700)); // a folder in its place
    std::string error;
    EXPECT_FALSE(readPasswordFile(passwordFilePath(), &error).has_value());
    EXPECT_NE(std::string::npos, error.find("QVCtrlPwf")) << error;
    ::rmdir(folder.file("QVCtrlPwf").c_str());

    const test::SecondAccount operatorAccount(test::SecondAccount::Member);
    if (!operatorAccount.available())
        GTEST_SKIP() << operatorAccount.skipReason();
    ASSERT_TRUE(savePasswords(passwordFilePath(), Passwords{{"secret", "", ""}}));
    ::chmod(folder.file("QVCtrlPwf").c_str(), 0600); // root's own, as a broken installation may leave it
    ::chmod(folder.path().c_str(), 0777);
    ::chmod(folder.file(".QVCtrlPwf.lock").c_str(), 0666);
    EXPECT_EQ(0, operatorAccount.run([] {
        const std::optional<Passwords> read = readPasswordFile(passwordFilePath());
        if (read.has_value())
            return LoginRule(*read).loginWithoutAsking() ? 1 : 2;
        return 0;
    }));
}

TEST(PasswordFile, ThreeScrambledLines)
{
    test::TempDataFolder folder;
    Passwords passwords;
    passwords.byRole[0] = "x";
    passwords.byRole[2] = "r\xc3\xa9stricted";
    ASSERT_TRUE(savePasswords(passwordFilePath(), passwords));
    const std::string content = test::readFile(folder.file("QVCtrlPwf"));
    EXPECT_EQ(2u, content.find('\n')); // one character: two letters
    EXPECT_EQ(3, std::count(content.begin(), content.end(), '\n'));
    EXPECT_EQ(std::string::npos, content.find("stricted"));
    EXPECT_EQ(passwords.byRole, readPasswordFile(passwordFilePath()).value().byRole);

    ASSERT_TRUE(savePasswords(passwordFilePath(), Passwords{}));
    EXPECT_EQ("\n\n\n", test::readFile(folder.file("QVCtrlPwf")));
}

TEST(PasswordFile, MissingOrBrokenLinesAreEmptyPasswords)
{
    test::TempDataFolder folder;
    EXPECT_TRUE(readPasswordFile(passwordFilePath()).value().allEmpty());
    test::writeFile(folder.file("QVCtrlPwf"), "abc\r\n" + Passwords{{"", "n", ""}}.format().substr(1, 3));
    const Passwords read = readPasswordFile(passwordFilePath()).value();
    EXPECT_EQ("", read.byRole[0]);  // odd length
    EXPECT_EQ("n", read.byRole[1]); // CR LF accepted, last line without line end
    EXPECT_EQ("", read.byRole[2]);
}

TEST(LoginRule, FreshInstallationIsAdministratorWithoutAQuestion)
{
    test::TempDataFolder folder;
    const LoginRule rule(readPasswordFile(passwordFilePath()).value());
    EXPECT_TRUE(rule.loginWithoutAsking());
    rememberAuthority(Authority::Administrator);
    EXPECT_EQ(1, ProfileFile::load(folder.file("QVXCtrl.ini")).readInt("Config", "Authority", 0));
}

TEST(LoginRule, ComparesExactlyPerRole)
{
    const LoginRule rule(Passwords{{"Admin", "", ""}});
    EXPECT_FALSE(rule.loginWithoutAsking());
    EXPECT_EQ(Authority::Administrator, rule.check(Authority::Administrator, "Admin"));
    EXPECT_EQ(Authority::None, rule.check(Authority::Administrator, "admin"));
    EXPECT_EQ(Authority::None, rule.check(Authority::Administrator, ""));
    EXPECT_EQ(Authority::NormalOperator, rule.check(Authority::NormalOperator, ""));
    EXPECT_EQ(Authority::RestrictedOperator, rule.check(Authority::RestrictedOperator, ""));
    EXPECT_EQ(Authority::None, rule.check(Authority::RestrictedOperator, "Admin"));
    EXPECT_EQ(Authority::None, rule.check(static_cast<Authority>(4), ""));
}

} // namespace
