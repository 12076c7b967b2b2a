// The command availability table, group by group, over a spread of models: every named family, every
// kind-7 variant with and without expansion board, unknown and newer kinds.
#include "CommandAvailability.h"
#include "CommandText.h"
#include "ModelClasses.h"
#include "traitbook.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace lumivane {
namespace {

std::string describe(ModelCode model)
{
    return "kind " + std::to_string(model.kind()) + " variant " + std::to_string(model.variant()) +
           (model.lacksExpansionBoard() ? " without board" : "");
}

// Models of kinds 1-8 and 100 with a few variants, kind 7 variants 1-18 with and without expansion
// board, and kinds outside the named families (9, 42, 150). Kind 0 and kind 8 have their own tests.
std::vector<ModelCode> sampleModels()
{
    std::vector<ModelCode> models;
    for (int kind : {1, 2, 3, 4, 5, 6, 100, 9, 42, 150}) {
        for (int variant : {1, 2, 3}) {
            models.push_back(ModelCode::of(kind, variant));
        }
    }
    for (int variant = 1; variant <= 18; ++variant) {
        models.push_back(ModelCode::of(7, variant));
        models.push_back(ModelCode::of(7, variant, true));
    }
    return models;
}

ModelCode codeOf(const char* name)
{
    uint32_t code = 0;
    EXPECT_NE(TraitLookup(name, &code), 0) << name;
    return ModelCode(code);
}

using Expectation = std::function<bool(ModelCode model, int parameter)>;

// Checks every code with the parameters given against the expectation on every sample model.
void expectGroup(const std::vector<std::string>& codes, const std::vector<std::string>& parameters,
                 const Expectation& expected)
{
    for (const std::string& code : codes) {
        for (const std::string& parameter : parameters) {
            const std::string command = code + parameter;
            const int value = parameter == "????" ? 0 : std::stoi(parameter);
            for (ModelCode model : sampleModels()) {
                EXPECT_EQ(isCommandAvailable(model, command), expected(model, value))
                    << command << " for " << describe(model);
            }
        }
    }
}

void expectGroup(const std::vector<std::string>& codes, const std::function<bool(ModelCode)>& expected)
{
    expectGroup(codes, {"0000", "????", "0001"}, [&](ModelCode model, int) { return expected(model); });
}

bool isKind7With(ModelCode model, std::initializer_list<int> variants)
{
    return model.kind() == 7 && std::find(variants.begin(), variants.end(), model.variant()) != variants.end();
}

bool lacksBoard(ModelCode model)
{
    return model.kind() == 7 && model.lacksExpansionBoard();
}

const std::vector<std::string> kKind8Codes = {"POWR", "INPS", "ASNC", "STDR", "WIDE", "VOLM", "MUTE", "INF1",
                                              "SRNO", "VLMP", "RSET", "ALCK", "DSTA", "ERRT", "STCA", "CKSM",
                                              "EDWP", "FMAG", "FMVR", "UTIM", "IFSN", "FRST", "BLTM", "PLTM"};

TEST(CommandAvailabilityTest, UnknownModelAcceptsEverything)
{
    const ModelCode unknown;
    for (const char* command : {"POWR0001", "MONO????", "BMOD0004", "GAMM0009", "SLDS0001", "STDR0001", "CSYS????",
                                "ZZZZ0000", "", "PO", "ASHP0005"}) {
        EXPECT_TRUE(isCommandAvailable(unknown, command)) << command;
    }
    // Kind 0 ignores the variant and board bits a caller may have left in the code.
    EXPECT_TRUE(isCommandAvailable(ModelCode(0x01FF), "HMDA0000"));
    char item[kCommandTextSize] = "RSET0000";
    EXPECT_TRUE(isCommandAvailable(unknown, item, item));
    EXPECT_STREQ(item, "RSET0000") << "an unknown model is not sent the variant reset";
}

TEST(CommandAvailabilityTest, Kind8AcceptsOnlyItsListAndSomeBacklightModes)
{
    for (ModelCode model : {ModelCode::of(8, 1), ModelCode::of(8, 3), codeOf("QX-E49")}) {
        for (const std::string& code : kKind8Codes) {
            EXPECT_TRUE(isCommandAvailable(model, code + "0000")) << code;
            EXPECT_TRUE(isCommandAvailable(model, code + "????")) << code;
        }
        EXPECT_TRUE(isCommandAvailable(model, "BMOD0002"));
        EXPECT_TRUE(isCommandAvailable(model, "BMOD????"));
        EXPECT_FALSE(isCommandAvailable(model, "BMOD0001"));
        EXPECT_FALSE(isCommandAvailable(model, "BMOD0004"));
        for (const char* command : {"CONT0000", "CONT0050", "CONT????", "DVSL0001", "SLDS0000", "TXDP1:\"\",2:\"\"",
                                    "PXSL0001", "CTMP0001", "GAMM0000", "ZZZZ0000", "POW", "powr0001"}) {
            EXPECT_FALSE(isCommandAvailable(model, command)) << command;
        }
        char item[kCommandTextSize] = "RSET0000";
        EXPECT_TRUE(isCommandAvailable(model, item, item));
        EXPECT_STREQ(item, "RSET0000");
    }
}

TEST(CommandAvailabilityTest, ClassRows)
{
    expectGroup({"FLES", "TDNR", "MPNR", "YCSP", "DATE", "AADJ", "PMNG", "EPSH", "EPSV", "MWBL", "MWPP", "MPSZ", "HWCK",
                 "DVSL", "BNSL"},
                isClassA);
    expectGroup({"HSIZ", "VSIZ", "HRES", "VRES", "CMHR", "CMHG", "CMHB", "CMHY", "CMHC",
                 "CMHM", "CMSR", "CMSG", "CMSB", "CMSY", "CMSC", "CMSM", "CMVR", "CMVG",
                 "CMVB", "CMVY", "CMVC", "CMVM", "CRST", "HDAW", "SALT", "HWST", "HDSL"},
                isClassB);
    expectGroup({"PMAV", "BOMD", "AIVP", "Z2SP", "HDRA", "HPCH", "DCOT", "PBTN", "PCIP"}, isClassC);
    expectGroup({"OFSR", "OFSG", "OFSB", "ATOF"}, isClassD);
    expectGroup({"IDDP", "OPTS", "OPSD", "OPDD", "OPSL", "OPDL", "CPMD", "FCTL", "ENLG", "BZCO", "BZCT",
                 "BZCB", "BZCR", "BZCL", "BPER", "CKDB", "DPIF", "EXCP", "IRMD", "TRID", "TXDP", "UGRW",
                 "UGGW", "UGBW", "UGRR", "UGGR", "UGBR", "RUGR", "UGSV", "PATC", "BCLM", "BCLB", "BCLR"},
                isClassE);
    expectGroup({"DTFT", "TMFT", "ALTG", "BTSC", "LODI", "PWSV", "ANGA", "ANOF", "PTDF", "PTDR",
                 "PTDG", "PTDB", "PHDR", "ADVR", "PDVR", "PDSR", "PBRR", "AHDR", "ASC2", "ASV2"},
                isClassF);
}

TEST(CommandAvailabilityTest, ClassCRowsWithExceptions)
{
    expectGroup({"MONO"}, [](ModelCode model) { return isClassC(model) && !isKind7With(model, {6}); });
    expectGroup({"SPSL"},
                [](ModelCode model) { return isClassC(model) && !isKind7With(model, {6}) && !lacksBoard(model); });
    expectGroup({"HPCT"}, [](ModelCode model) { return isClassC(model) && !lacksBoard(model); });
    expectGroup({"ASDP", "ASAP", "ASCP", "ASDA", "ASCA", "ASSA", "ASVA"},
                [](ModelCode model) { return isClassC(model) && !lacksBoard(model); });
    expectGroup({"ASHP", "ASHA"}, {"0000", "0001", "0002", "0005", "????"},
                [](ModelCode model, int p) { return isClassC(model) && (!lacksBoard(model) || p < 2); });

    // As the operation window sees it: mono audio on the two neighbouring professional variants.
    EXPECT_FALSE(isCommandAvailable(ModelCode::of(7, 6), "MONO????"));
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(7, 5), "MONO????"));
}

TEST(CommandAvailabilityTest, KindAndVariantRows)
{
    expectGroup({"SLDS"},
                [](ModelCode model) { return model.kind() == 7 && model.variant() >= 9 && model.variant() != 15; });
    expectGroup({"STBM"}, [](ModelCode model) { return model.kind() == 5 || model.kind() == 7; });
    expectGroup({"PFIL", "QSPC", "QSAV"}, [](ModelCode model) {
        if (model.kind() == 3 || model.kind() == 7) {
            return false;
        }
        return !(model.kind() == 5 && model.variant() == 3);
    });
    expectGroup({"HMDA"}, [](ModelCode model) { return model.kind() == 5; });
    expectGroup({"SCAN", "TALT"},
                [](ModelCode model) { return model.kind() == 3 ? model.variant() != 1 : isClassB(model); });
    expectGroup({"OFTM"}, [](ModelCode model) { return model.kind() == 3 || model.kind() == 6; });
    expectGroup({"DBSP"}, [](ModelCode model) { return isKind7With(model, {1, 5}); });
    expectGroup({"FNCM"}, [](ModelCode model) { return isKind7With(model, {6}); });
    expectGroup({"GMDP"}, [](ModelCode model) { return isKind7With(model, {5}); });
}

TEST(CommandAvailabilityTest, ModelDatabaseRows)
{
    // Orientation needs a choice of two; the colour system and motion rows follow the model's features.
    EXPECT_FALSE(isCommandAvailable(codeOf("QX-A32"), "STDR0000")) << "no orientation list";
    EXPECT_FALSE(isCommandAvailable(codeOf("QX-A46"), "STDR0000")) << "landscape only";
    EXPECT_TRUE(isCommandAvailable(codeOf("QX-B47"), "STDR0001"));
    EXPECT_TRUE(isCommandAvailable(codeOf("QX-T655"), "STDR0003"));
    EXPECT_TRUE(isCommandAvailable(codeOf("QX-T464"), "CSYS????"));
    EXPECT_FALSE(isCommandAvailable(codeOf("QX-T465"), "CSYS????"));
    EXPECT_TRUE(isCommandAvailable(codeOf("QX-P50"), "SCSV0001"));
    EXPECT_TRUE(isCommandAvailable(codeOf("QX-P50"), "MINT0005"));
    EXPECT_FALSE(isCommandAvailable(codeOf("QX-A40"), "MTIM0001"));
    // The board bit does not hide a kind-7 model from the database.
    EXPECT_TRUE(isCommandAvailable(ModelCode(codeOf("QX-T554").value() | ModelCode::kNoExpansionBoardBit), "SCSV????"));
    // A kind the database does not know has no list and no features.
    EXPECT_FALSE(isCommandAvailable(ModelCode::of(42, 1), "STDR0001"));
    EXPECT_FALSE(isCommandAvailable(ModelCode::of(42, 1), "CSYS0001"));
    // Kind 8 takes STDR by its own list, whatever the database says.
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(8, 9), "STDR0001"));
}

TEST(CommandAvailabilityTest, ParameterRows)
{
    expectGroup({"PXSL"}, {"0000", "0006", "0007", "0012", "-005", "????"},
                [](ModelCode model, int p) { return p < 7 || isClassB(model); });
    expectGroup({"ALCK"}, {"0000", "0001", "0002", "0003", "????"},
                [](ModelCode model, int p) { return !(model.kind() == 3 && model.variant() == 1 && p >= 2); });
    expectGroup({"BMOD"}, {"0000", "0001", "0002", "0004", "0005", "????"}, [](ModelCode model, int p) {
        if (p == 1) {
            return model.kind() == 3;
        }
        if (p == 4) {
            return isClassF(model) && !isClassG(model) && !isKind7With(model, {15});
        }
        return true;
    });
    expectGroup({"CTMP"}, {"0000", "0015", "0016", "0098", "0099", "0100", "-005", "????"},
                [](ModelCode model, int p) { return p == 99 || p <= 15 || isClassC(model); });
    expectGroup({"GAMM"}, {"0000", "0003", "0004", "0005", "0006", "0009", "????"}, [](ModelCode model, int p) {
        if (p <= 3) {
            return true;
        }
        return p <= 5 ? isClassC(model) : isKind7With(model, {6});
    });
    expectGroup({"AOUT"}, {"0000", "0001", "0002", "0003", "????"},
                [](ModelCode model, int p) { return p < 2 ? isClassA(model) : isClassD(model); });
}

TEST(CommandAvailabilityTest, ParameterIsReadLikeAtoi)
{
    const ModelCode plasma = ModelCode::of(3, 2);
    EXPECT_TRUE(isCommandAvailable(plasma, "BMOD0001"));
    EXPECT_TRUE(isCommandAvailable(plasma, "BMOD 001"));
    EXPECT_FALSE(isCommandAvailable(ModelCode::of(2, 1), "BMOD+001"));
    EXPECT_FALSE(isCommandAvailable(ModelCode::of(2, 1), "BMOD1x")) << "x ends the number: still 1";
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(2, 1), "BMOD????")) << "no digits read as 0";
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(2, 1), "BMOD"));
    EXPECT_FALSE(isCommandAvailable(ModelCode::of(2, 1), "CTMP0016"));
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(2, 1), "CTMP-016")) << "minus sixteen is at most 15";
}

TEST(CommandAvailabilityTest, ResetIsRewrittenForTheModelsThatResetWithOne)
{
    auto resetText = [](ModelCode model) {
        char item[kCommandTextSize] = "RSET0000";
        EXPECT_TRUE(isCommandAvailable(model, item, item)) << describe(model);
        return std::string(item);
    };
    EXPECT_EQ(resetText(ModelCode::of(5, 1)), "RSET0001");
    EXPECT_EQ(resetText(ModelCode::of(7, 6)), "RSET0001");
    EXPECT_EQ(resetText(ModelCode::of(42, 1)), "RSET0001");
    EXPECT_EQ(resetText(ModelCode::of(7, 6, true)), "RSET0000") << "kind 7 without expansion board";
    for (int kind : {1, 2, 3, 4, 6, 100}) {
        EXPECT_EQ(resetText(ModelCode::of(kind, 1)), "RSET0000") << kind;
    }

    // Without item text nothing is written; a buffer too small for the reset is left alone.
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(5, 1), "RSET0000"));
    char tiny[4] = {'R', 'S', 'E', 'T'};
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(5, 1), "RSET0000", tiny));
    EXPECT_EQ(std::memcmp(tiny, "RSET", 4), 0);
    // Only a reset is rewritten.
    char volume[kCommandTextSize] = "VOLM0010";
    EXPECT_TRUE(isCommandAvailable(ModelCode::of(5, 1), volume, volume));
    EXPECT_STREQ(volume, "VOLM0010");
}

TEST(CommandAvailabilityTest, UnknownCodesAreSentToEveryModelButKind8)
{
    for (ModelCode model : sampleModels()) {
        for (const char* command : {"POWR0001", "INPS0005", "ZZZZ????", "PO", "", "mono0000"}) {
            EXPECT_TRUE(isCommandAvailable(model, command)) << command << " for " << describe(model);
        }
    }
}

} // namespace
} // namespace lumivane
