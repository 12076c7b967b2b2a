// INI files with the classic profile semantics, and the settings read from them.
#include "ProfileFile.h"
#include "Settings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

TEST(ProfileFile, ReadsIgnoringCaseAndTrimming)
{
    const ProfileFile file("top=ignored\n"
                           "[Check]\n"
                           "  Interval  =  30  \r\n"
                           "; Monitoring=5\n"
                           "Quoted=\"  spaced  \"\n"
                           "Single='x'\n"
                           "Mismatched=\"x'\n"
                           "Empty=\n"
                           "Interval=99\n"
                           "[ check ]\n"
                           "Monitoring=1\n");
    EXPECT_EQ(30, file.readInt("CHECK", "interval", 60));
    EXPECT_EQ("  spaced  ", file.readString("check", "quoted", ""));
    EXPECT_EQ("x", file.readString("Check", "Single", ""));
    EXPECT_EQ("\"x'", file.readString("Check", "Mismatched", ""));
    EXPECT_EQ("", file.readString("Check", "Empty", "default")); // present but empty: not the default
    EXPECT_EQ(60, file.readInt("Check", "Empty", 60));
    EXPECT_EQ(1, file.readInt("Check", "Monitoring", 0)); // the comment does not count; the second section does
    EXPECT_EQ("default", file.readString("Check", "top", "default"));
    EXPECT_EQ(7, file.readInt("Missing", "Interval", 7));
}

TEST(ProfileFile, IntegersTakeTheLeadingDigits)
{
    EXPECT_EQ(42, ProfileFile::parseInteger("42A9"));
    EXPECT_EQ(0, ProfileFile::parseInteger("B42"));
    EXPECT_EQ(-1, ProfileFile::parseInteger("-1"));
    EXPECT_EQ(1, ProfileFile::parseInteger("+1"));
    EXPECT_EQ(0, ProfileFile::parseInteger("4294967296")); // modulo 2^32
    EXPECT_EQ(1, ProfileFile::parseInteger("4294967297"));
    EXPECT_EQ(-1, ProfileFile::parseInteger("-4294967297"));
}

TEST(ProfileFile, WritesKeepEveryOtherLine)
{
    ProfileFile file("; settings\r\n[Config]\r\nAuthority = 2 \r\n\r\n[Check]\r\nInterval=30\r\n");
    file.setValue("config", "AUTHORITY", "3");
    file.setValue("Config", "Customize", "16384");
    file.setValue("Mail", "Sent", "1");
    EXPECT_EQ("; settings\r\n[Config]\r\nAuthority=3\r\nCustomize=16384\r\n\r\n[Check]\r\nInterval=30\r\n"
              "[Mail]\r\nSent=1\r\n",
              file.content());

    ProfileFile noFinalLineEnd("[Check]\nInterval=30");
    noFinalLineEnd.setValue("Check", "Monitoring", "1");
    EXPECT_EQ("[Check]\nInterval=30\nMonitoring=1\n", noFinalLineEnd.content());

    ProfileFile empty;
    empty.setValue("Config", "Authority", "1");
    EXPECT_EQ("[Config]\nAuthority=1\n", empty.content());
}

TEST(ProfileFile, AValueCannotAddLinesAndReadsBackWhole)
{
    const std::string original = "[Config]\nAuthority=1\n[Mail]\nTo=a@b\n";
    ProfileFile file(original);
    for (const std::string& forged : {std::string("x\r\n[Config]\r\nAuthority=3"), std::string("x\nAuthority=3"),
                                      std::string("x\rAuthority=3"), std::string("x\0y", 3)})
        EXPECT_FALSE(file.setValue("Mail", "To", forged));
    EXPECT_FALSE(file.setValue("Mail", "To=x", "1"));
    EXPECT_FALSE(file.setValue("Mail", "", "1"));
    EXPECT_FALSE(file.setValue("Mail]\n[Config", "Authority", "3"));
    EXPECT_EQ(original, file.content());

    for (const std::string value : {"  padded  ", "\"quoted\"", "'single'", "a \"b\" c", ""}) {
        EXPECT_TRUE(file.setValue("Mail", "To", value));
        EXPECT_EQ(value, file.readString("Mail", "To", "?")) << file.content();
    }

    test::TempFolder folder;
    const std::string path = folder.file("QVXCtrl.ini");
    test::writeFile(path, original);
    std::string error;
    EXPECT_FALSE(ProfileFile::writeString(path, "Mail", "To", "x\n[Config]\nAuthority=3", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(original, test::readFile(path));
}

TEST(ProfileFile, WritesGoThroughTheFile)
{
    test::TempFolder folder;
    const std::string path = folder.file("QVXCtrl.ini");
    EXPECT_TRUE(ProfileFile::writeInt(path, "Check", "Interval", 120));
    EXPECT_TRUE(ProfileFile::writeInt(path, "Check", "Monitoring", -1));
    EXPECT_EQ("[Check]\nInterval=120\nMonitoring=-1\n", test::readFile(path));
    EXPECT_EQ(120, ProfileFile::load(path).readInt("Check", "Interval", 0));
    EXPECT_EQ("", ProfileFile::load(folder.file("missing.ini")).content());
}

TEST(Settings, DefaultsWithoutFiles)
{
    EnvironmentSettings environment;
    environment.readFrom(ProfileFile());
    EXPECT_EQ(14, environment.language);
    EXPECT_EQ(15, environment.zrPowerWait);
    EXPECT_EQ(5, environment.monitorSettingRow);
    EXPECT_EQ(5, environment.monitorSettingColumn);
    EXPECT_EQ(0, environment.debug);
    OperatorSettings operatorSettings;
    operatorSettings.readFrom(ProfileFile());
    EXPECT_EQ(1, operatorSettings.authority);
    EXPECT_EQ(60, operatorSettings.interval);
    EXPECT_EQ("", operatorSettings.execCommandName);
}

TEST(Settings, AReloadReadsMissingKeysAsTheirDefaults)
{
    OperatorSettings settings;
    settings.readFrom(ProfileFile("[Check]\nInterval=15\nExecCommandName=notify %n\n[Environment]\nZRPowerWait=3\n"));
    EXPECT_EQ(15, settings.interval);
    EXPECT_EQ(3, settings.zrPowerWait);
    settings.readFrom(ProfileFile("[Check]\nMonitoring=1\nExecCommandName=" + std::string(600, 'c') + "\n"));
    EXPECT_EQ(60, settings.interval);
    EXPECT_EQ(15, settings.zrPowerWait);
    EXPECT_EQ(1, settings.monitoring);
    EXPECT_EQ(519u, settings.execCommandName.size());
    settings.readFrom(ProfileFile("[Check]\nMonitoring=1\n"));
    EXPECT_EQ("", settings.execCommandName);
}

TEST(Settings, OperatorSettingsAreWrittenToTheDataFolder)
{
    test::TempDataFolder folder;
    EXPECT_TRUE(writeOperatorSetting("Config", "Authority", 3));
    loadProcessSettings();
    EXPECT_EQ(3, processSettings().operatorSettings.authority);
    EXPECT_EQ("[Config]\nAuthority=3\n", test::readFile(folder.file("QVXCtrl.ini")));
}

} // namespace
