// Monitor setting files: both layouts byte for byte, the header checks and the rules that stop reading.
#include "SettingFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumivane;

namespace {

constexpr InputModeIndex kAvVideo = 9;
constexpr int kLanguage = 7;

MONITOR_SETTING defaultsFor(ModelCode model, InputModeIndex input)
{
    MONITOR_SETTING setting;
    resetToDefaults(setting, model, input, kLanguage);
    return setting;
}

bool sameRecord(const MONITOR_SETTING& a, const MONITOR_SETTING& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const std::string kHeader = "PanelDesk,1\nQX-T988\n";

class SettingFileTest : public ::testing::Test
{
protected:
    std::string path(const std::string& name = "MonitorSetting.msf") const { return m_folder.file(name); }

    // Reads `content` as a file into `setting`; the header status.
    SettingFileStatus load(const std::string& content, MONITOR_SETTING& setting, int* linesRead = nullptr)
    {
        test::writeFile(path("in.msf"), content);
        SettingFileReader reader;
        const SettingFileStatus status = reader.open(path("in.msf"));
        if (status == SettingFileStatus::Ok) {
            const int lines = reader.readBody(setting);
            if (linesRead)
                *linesRead = lines;
        }
        return status;
    }

    test::TempFolder m_folder;
};

TEST_F(SettingFileTest, MainLayoutIsWrittenByteForByteAndReadBack)
{
    MONITOR_SETTING saved = defaultsFor(ModelCode(), kAvVideo); // a model not known: classes A and C
    saved.power = 1;
    saved.cms[CmsHue].colour[0] = -5;
    saved.option.AS[13] = 9;
    ASSERT_EQ(SettingFileStatus::Ok, writeSettingFile(path(), "QX-T988", saved));
    EXPECT_EQ(kHeader + "POWR,1,INPS,9\n"
                        "WIDE,1,BMOD,0,VLMP,31,VOLM,15,MUTE,0\n"
                        "CONT,0,BLVL,0,TINT,30,COLR,30,SHRP,12,GAMM,1,CTMP,13,CRTR,256,CRTG,256,CRTB,256,FLES,0,"
                        "TDNR,1,MPNR,0,YCSP,1,OFSR,0,OFSG,0,OFSB,0\n"
                        "AUTR,0,AUBS,0,AUBL,0\n"
                        "CMHR,-5,CMHG,0,CMHB,0,CMHC,0,CMHM,0,CMHY,0\n"
                        "CMSR,0,CMSG,0,CMSB,0,CMSC,0,CMSM,0,CMSY,0\n"
                        "CMVR,0,CMVG,0,CMVB,0,CMVC,0,CMVM,0,CMVY,0\n"
                        "SCSV,0,MTIM,0,MINT,10,STDR,0,LANG,7,PFIL,0,PWOD,0,STBM,0,HDAW,1,MONO,0,HDRA,0,HPCT,1,"
                        "HPCH,1,DCOT,0,SPSL,0,ATOF,0,FNCM,0\n"
                        "OPTS,0,OPSD,0,OPDD,0,OPSL,30,OPDL,31\n"
                        "QSPC,0,QSAV,1,CSYS,0,AOUT,0,AADJ,1,PMNG,1,HMDA,0,SCAN,0,OFTM,0,PMAV,0,DBSP,0,AIVP,1,"
                        "Z2SP,0,FCTL,0,GMDP,1\n"
                        "ALCK,0,LOSD,0,OFLD,0,SALT,0,TALT,2,PBTN,0,PCIP,0\n"
                        "AS01,1,AS02,1,AS03,0,AS04,1,AS05,1,AS06,2,AS07,0,AS08,3,AS09,3,AS10,3,AS11,3,AS12,0,"
                        "AS13,0,AS14,9\n",
              test::readFile(path()));

    // Saving the same record again gives the same file.
    const std::string first = test::readFile(path());
    ASSERT_EQ(SettingFileStatus::Ok, writeSettingFile(path(), "QX-T988", saved));
    EXPECT_EQ(first, test::readFile(path()));

    MONITOR_SETTING loaded = defaultsFor(ModelCode(), kNoInput);
    loaded.cms[CmsValue].colour[5] = 44; // overwritten by the file
    SettingFileReader reader;
    ASSERT_EQ(SettingFileStatus::Ok, reader.open(path()));
    EXPECT_EQ("QX-T988", reader.modelName());
    EXPECT_EQ(12, reader.readBody(loaded));
    markAllReceived(saved);
    saved.zrControl.received = 0; // not part of this layout
    EXPECT_TRUE(sameRecord(saved, loaded));
}

TEST_F(SettingFileTest, ZrLayoutHasOneBlockLine)
{
    MONITOR_SETTING saved = defaultsFor(ModelCode(), 103);
    saved.power = 1;
    saved.zrControl.WIDE = 9;
    ASSERT_EQ(SettingFileStatus::Ok, writeSettingFile(path(), "Brela", saved));
    EXPECT_EQ("PanelDesk,1\nBrela\nPOWR,1,INPS,103\nWIDE,9,AVMD,7,VOLM,20,MUTE,2,ACSU,2\n", test::readFile(path()));

    // Written on another system, with CR LF line ends.
    MONITOR_SETTING loaded = defaultsFor(ModelCode(), kNoInput);
    ASSERT_EQ(SettingFileStatus::Ok,
              load("PanelDesk,1\r\nBrela\r\nPOWR,1,INPS,105\r\nWIDE,2,AVMD,3,VOLM,41,MUTE,1,ACSU,1\r\n", loaded));
    EXPECT_EQ(105, loaded.input);
    const ZrControlBlock& zr = loaded.zrControl;
    EXPECT_EQ((std::vector<int32_t>{2, 3, 41, 1, 1, 1}),
              (std::vector<int32_t>{zr.WIDE, zr.AVMD, zr.VOLM, zr.MUTE, zr.ACSU, zr.received}));
    EXPECT_EQ(0, loaded.control.received); // the main blocks are untouched

    // A series input in a ZR-1190 file is none: the input is cleared and nothing more is read.
    MONITOR_SETTING cleared = defaultsFor(ModelCode(), 101);
    ASSERT_EQ(SettingFileStatus::Ok, load("PanelDesk,1\nBrela\nPOWR,1,INPS,3\nWIDE,2\n", cleared));
    EXPECT_EQ(kNoInput, cleared.input);
    EXPECT_EQ(4, cleared.zrControl.WIDE);
}

TEST_F(SettingFileTest, HeaderChecksRefuseBeforeAnythingIsRead)
{
    SettingFileReader reader;
    EXPECT_EQ(SettingFileStatus::CannotOpen, reader.open(path("missing.msf")));
    EXPECT_EQ("Cannot open file.\r\n" + path("missing.msf"),
              settingFileMessage(SettingFileStatus::CannotOpen, path("missing.msf")));
    const std::vector<std::pair<std::string, SettingFileStatus>> files = {
        {"", SettingFileStatus::Broken},
        {"PanelDesk,1\n", SettingFileStatus::Broken},
        {"PanelDesks,1\nQX-T988\n", SettingFileStatus::Broken},
        {"EnlargeSetting,1\nQX-T988\n", SettingFileStatus::Broken},
        {"PanelDesk,2\nQX-T988\nPOWR,1,INPS,3\n", SettingFileStatus::UnsupportedVersion},
        {"PanelDesk\nQX-T988\n", SettingFileStatus::UnsupportedVersion},
    };
    for (const auto& [content, expected] : files) {
        MONITOR_SETTING setting = defaultsFor(ModelCode(), 3);
        const MONITOR_SETTING before = setting;
        EXPECT_EQ(expected, load(content, setting)) << content;
        EXPECT_TRUE(sameRecord(before, setting)) << content;
    }
    EXPECT_EQ("This version doesn't support that setting file.",
              settingFileMessage(SettingFileStatus::UnsupportedVersion, ""));
}

TEST_F(SettingFileTest, FamiliesDoNotMixAndAnotherModelNeedsConsent)
{
    test::writeFile(path(), kHeader);
    {
        SettingFileReader series; // holds the file until it goes
        ASSERT_EQ(SettingFileStatus::Ok, series.open(path()));
        EXPECT_EQ(SettingFileStatus::SeriesIntoZr, series.checkFamily("Brela"));
        EXPECT_EQ(SettingFileStatus::Ok, series.checkFamily("QX-P551"));
        EXPECT_FALSE(series.needsConsent("qx-t988"));
        EXPECT_TRUE(series.needsConsent("QX-P551"));
        EXPECT_TRUE(series.needsConsent("QX-T98"));
        EXPECT_EQ("You cannot load QX-Series setting into ZR-1190.",
                  settingFileMessage(SettingFileStatus::SeriesIntoZr, ""));
    }

    test::writeFile(path(), "PanelDesk,1\nBrela\n");
    SettingFileReader zr;
    ASSERT_EQ(SettingFileStatus::Ok, zr.open(path()));
    EXPECT_EQ(SettingFileStatus::ZrIntoSeries, zr.checkFamily("QX-T988"));
    EXPECT_EQ("You cannot load ZR-1190 setting into QX-Series.",
              settingFileMessage(SettingFileStatus::ZrIntoSeries, ""));
    EXPECT_EQ("The file's setting is for the model , Brela.\r\nDo you want to load compulsory?",
              loadCompulsoryQuestion(zr.modelName()));
}

TEST_F(SettingFileTest, ReadingStopsAtPowerOffAtNoInputAndAtTheFirstMissingLine)
{
    const MONITOR_SETTING start = defaultsFor(ModelCode(), 3);
    int lines = -1;

    MONITOR_SETTING headerOnly = start;
    ASSERT_EQ(SettingFileStatus::Ok, load(kHeader, headerOnly, &lines));
    EXPECT_EQ(0, lines);
    EXPECT_TRUE(sameRecord(start, headerOnly));

    MONITOR_SETTING off = start;
    off.power = 1;
    ASSERT_EQ(SettingFileStatus::Ok, load(kHeader + "POWR,0,INPS,5\nWIDE,2,BMOD,1,VLMP,3,VOLM,4,MUTE,1\n", off));
    EXPECT_EQ(0, off.power);
    EXPECT_EQ(3, off.input);
    EXPECT_EQ(1, off.control.WIDE);
    EXPECT_EQ(0, off.control.received);

    for (const char* input : {"0", "101", "-2", ""}) {
        MONITOR_SETTING none = start;
        ASSERT_EQ(SettingFileStatus::Ok,
                  load(kHeader + "POWR,1,INPS," + input + "\nWIDE,2,BMOD,1,VLMP,3,VOLM,4,MUTE,1\n", none));
        EXPECT_EQ(1, none.power);
        EXPECT_EQ(kNoInput, none.input) << input;
        EXPECT_EQ(1, none.control.WIDE) << input;
    }

    // Missing fields read as 0 and still mark the block; the first missing line ends reading.
    MONITOR_SETTING shortFile = start;
    ASSERT_EQ(SettingFileStatus::Ok, load(kHeader + "POWR,1,INPS,4\nWIDE,2\nCONT,17\n", shortFile, &lines));
    EXPECT_EQ(3, lines);
    EXPECT_EQ(4, shortFile.input);
    const ControlBlock& c = shortFile.control;
    EXPECT_EQ((std::vector<int32_t>{2, 0, 0, 0, 0, 1}),
              (std::vector<int32_t>{c.WIDE, c.BMOD, c.VLMP, c.VOLM, c.MUTE, c.received}));
    EXPECT_EQ(17, shortFile.picture.CONT);
    EXPECT_EQ(0, shortFile.picture.TINT);
    EXPECT_EQ(1, shortFile.picture.received);
    EXPECT_EQ(0, shortFile.audio.received);
    EXPECT_EQ(start.setup.MINT, shortFile.setup.MINT);
}

TEST(MonitorSettingDefaults, DependOnModelAndInput)
{
    auto vlmp = [](ModelCode model) {
        MONITOR_SETTING setting;
        resetToDefaults(setting, model, 1, 14);
        return setting.control.VLMP;
    };
    EXPECT_EQ(25, vlmp(ModelCode::of(7, 3)));
    EXPECT_EQ(23, vlmp(ModelCode::of(7, 4)));
    EXPECT_EQ(25, vlmp(ModelCode::of(7, 7)));
    EXPECT_EQ(31, vlmp(ModelCode::of(7, 5)));
    EXPECT_EQ(31, vlmp(ModelCode::of(3, 3)));

    MONITOR_SETTING setting;
    setting.power = 1;
    setting.control.received = 1;
    resetToDefaults(setting, ModelCode::of(1, 0), 1, 5); // a PC input on a model of neither class A nor C
    EXPECT_EQ(1, setting.power);
    EXPECT_EQ(1, setting.input);
    EXPECT_EQ(0, setting.control.received);
    EXPECT_EQ(30, setting.picture.CONT);
    EXPECT_EQ(10, setting.picture.SHRP);
    EXPECT_EQ(128, setting.picture.CRTB);
    EXPECT_EQ(14, setting.setup.LANG);
    EXPECT_EQ(1, setting.setup.STBM);
    resetToDefaults(setting, ModelCode::of(7, 5), kAvVideo, 5);
    EXPECT_EQ(0, setting.picture.CONT);
    EXPECT_EQ(5, setting.setup.LANG);
    EXPECT_EQ(0, setting.setup.STBM);
    const ZrControlBlock& zr = setting.zrControl;
    EXPECT_EQ((std::vector<int32_t>{7, 20, 4, 2, 2}),
              (std::vector<int32_t>{zr.AVMD, zr.VOLM, zr.WIDE, zr.MUTE, zr.ACSU}));
}

} // namespace
