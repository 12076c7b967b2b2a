// The exported operations: lookups, lists, input-number mapping in both directions, terminal answers and
// their behaviour with bad arguments.
#include "traitbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

uint32_t codeOf(const char* name)
{
    uint32_t code = 0;
    EXPECT_NE(TraitLookup(name, &code), 0) << name;
    return code;
}

std::vector<int32_t> terminalsOf(uint32_t code)
{
    std::vector<int32_t> terminals(size_t(TraitList(TRAIT_LIST_INPUT_TERMINALS, nullptr, 0, code)));
    TraitList(TRAIT_LIST_INPUT_TERMINALS, terminals.data(), int32_t(terminals.size()), code);
    return terminals;
}

std::vector<std::string> allModelNames()
{
    std::vector<std::string> names;
    for (int32_t i = 0; TraitModelName(i) != nullptr; ++i) {
        names.emplace_back(TraitModelName(i));
    }
    return names;
}

TEST(TraitLookupTest, KnownNamesGiveKindAndVariant)
{
    EXPECT_EQ(codeOf("QX-T988"), 7u << 16 | 11);
    EXPECT_EQ(codeOf("QX-T989B") >> 16, 7u);
    EXPECT_EQ(codeOf("Brela") >> 16, 6u);
    EXPECT_EQ(codeOf("QX-E43") >> 16, 8u);
    EXPECT_EQ(codeOf("QX-VP4") >> 16, 100u);
}

TEST(TraitLookupTest, UnknownNamesFailAndLeaveTheCode)
{
    uint32_t code = 0xDEADBEEF;
    EXPECT_EQ(TraitLookup("qx-t988", &code), 0) << "names are case-sensitive";
    EXPECT_EQ(TraitLookup("QX-T988 ", &code), 0);
    EXPECT_EQ(TraitLookup("", &code), 0);
    EXPECT_EQ(TraitLookup("ZR-1190", &code), 0) << "the shown name is an alias, not a model name";
    EXPECT_EQ(code, 0xDEADBEEF);
    EXPECT_EQ(TraitLookup(nullptr, &code), 0);
    EXPECT_EQ(TraitLookup("QX-T988", nullptr), 0);
}

TEST(TraitModelNameTest, EnumeratesEveryModelOnceWithDistinctCodes)
{
    std::vector<uint32_t> codes;
    for (const std::string& name : allModelNames()) {
        uint32_t code = codeOf(name.c_str());
        EXPECT_EQ(std::count(codes.begin(), codes.end(), code), 0) << name << " shares its code";
        codes.push_back(code);
    }
    EXPECT_GE(codes.size(), 30u);
    EXPECT_EQ(TraitModelName(-1), nullptr);
    EXPECT_EQ(TraitModelName(int32_t(codes.size())), nullptr);
}

TEST(TraitListTest, CountWithoutBufferAndCapacityIsHonoured)
{
    const uint32_t code = codeOf("QX-T988");
    const int32_t count = TraitList(TRAIT_LIST_INPUT_TERMINALS, nullptr, 0, code);
    ASSERT_GE(count, 4);
    std::vector<int32_t> buffer(size_t(count) + 2, -7);
    EXPECT_EQ(TraitList(TRAIT_LIST_INPUT_TERMINALS, buffer.data(), 2, code), count);
    EXPECT_NE(buffer[0], -7);
    EXPECT_NE(buffer[1], -7);
    for (size_t i = 2; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], -7) << "written past the capacity at " << i;
    }
    EXPECT_EQ(TraitList(TRAIT_LIST_INPUT_TERMINALS, buffer.data(), -5, code), count);

    // Component is reached directly and through the D-SUB slot, and listed once.
    std::vector<int32_t> terminals = terminalsOf(code);
    EXPECT_EQ(std::count(terminals.begin(), terminals.end(), TRAIT_TERMINAL_COMPONENT), 1);
}

TEST(TraitListTest, OrientationsAndUnknownCategoriesOrModels)
{
    int32_t orientations[4] = {-1, -1, -1, -1};
    EXPECT_EQ(TraitList(TRAIT_LIST_ORIENTATIONS, orientations, 4, codeOf("QX-T655")), 4);
    EXPECT_EQ(orientations[1], 1);
    EXPECT_EQ(TraitList(TRAIT_LIST_ORIENTATIONS, nullptr, 0, codeOf("QX-A32")), 0);
    EXPECT_EQ(TraitList(3, nullptr, 0, codeOf("QX-T988")), 0);
    EXPECT_EQ(TraitList(TRAIT_LIST_INPUT_TERMINALS, nullptr, 0, 9u << 16 | 1), 0) << "no kind-9 model";
}

TEST(TraitInputNumberTest, DsubSlotModesShareTheDsubNumber)
{
    const uint32_t code = codeOf("QX-T989B");
    int32_t dsub[2] = {TRAIT_TERMINAL_DSUB, 0};
    int32_t component[2] = {TRAIT_TERMINAL_COMPONENT, 1};
    int32_t video[2] = {TRAIT_TERMINAL_VIDEO, 2};
    ASSERT_NE(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, dsub, code), 0);
    ASSERT_NE(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, component, code), 0);
    ASSERT_NE(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, video, code), 0);
    EXPECT_EQ(component[0], dsub[0]);
    EXPECT_EQ(video[0], dsub[0]);

    // The monitor's slot picks the mode; a slot the connector does not have reads as the connector.
    int32_t back[2] = {dsub[0], 1};
    ASSERT_NE(TraitFromInputNumber(TRAIT_LIST_INPUT_TERMINALS, back, code), 0);
    EXPECT_EQ(back[0], TRAIT_TERMINAL_COMPONENT);
    EXPECT_EQ(back[1], 1);
    int32_t odd[2] = {dsub[0], 9};
    ASSERT_NE(TraitFromInputNumber(TRAIT_LIST_INPUT_TERMINALS, odd, code), 0);
    EXPECT_EQ(odd[0], TRAIT_TERMINAL_DSUB);
    EXPECT_EQ(odd[1], 0);

    // A model without the slot modes has no number for them.
    int32_t none[2] = {TRAIT_TERMINAL_COMPONENT, 1};
    EXPECT_EQ(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, none, codeOf("QX-T823")), 0);
    EXPECT_EQ(none[0], TRAIT_TERMINAL_COMPONENT);
}

TEST(TraitInputNumberTest, FailuresLeaveThePairAlone)
{
    const uint32_t code = codeOf("QX-A32");
    int32_t pair[2] = {TRAIT_TERMINAL_HDMI, 0};
    EXPECT_EQ(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, code), 0);
    EXPECT_EQ(pair[0], TRAIT_TERMINAL_HDMI);
    pair[0] = 99;
    pair[1] = 3;
    EXPECT_EQ(TraitFromInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, code), 0);
    EXPECT_EQ(pair[0], 99);
    EXPECT_EQ(pair[1], 3);
    pair[0] = TRAIT_TERMINAL_DVI;
    pair[1] = 0;
    EXPECT_EQ(TraitToInputNumber(TRAIT_LIST_ORIENTATIONS, pair, code), 0) << "only category 2 maps inputs";
    EXPECT_EQ(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, nullptr, code), 0);
    EXPECT_EQ(TraitFromInputNumber(TRAIT_LIST_INPUT_TERMINALS, nullptr, code), 0);
}

TEST(TraitCodeTest, FlagBitsAreIgnoredAndKindZeroIsTheGenericScheme)
{
    const uint32_t code = codeOf("QX-T464");
    EXPECT_EQ(terminalsOf(code | 0x100), terminalsOf(code)) << "bit 8 (no expansion board) is the caller's";
    EXPECT_EQ(TraitFeature("colorsys", code | 0xFF00), TraitFeature("colorsys", code));

    // An unknown model still gets the series' usual numbering, but no features.
    int32_t pair[2] = {TRAIT_TERMINAL_HDMI, 0};
    ASSERT_NE(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, 0), 0);
    EXPECT_EQ(pair[0], 4);
    EXPECT_EQ(TraitFeature("colorsys", 0), 0);
    EXPECT_EQ(TraitFeature("motion", 0), 0);
}

TEST(TraitTerminalTest, PcTerminalsHaveNamesAndVideoTerminalsCountAsVideo)
{
    for (int32_t terminal : {TRAIT_TERMINAL_DVI, TRAIT_TERMINAL_DSUB, TRAIT_TERMINAL_RGB_5BNC, TRAIT_TERMINAL_HDMI}) {
        EXPECT_NE(TraitTerminalName(terminal), nullptr) << terminal;
        EXPECT_EQ(TraitTerminalIsVideo(terminal), 0) << terminal;
    }
    for (int32_t terminal : {TRAIT_TERMINAL_VIDEO, TRAIT_TERMINAL_COMPONENT, TRAIT_TERMINAL_VIDEO_SVIDEO,
                             TRAIT_TERMINAL_SVIDEO, TRAIT_TERMINAL_USB}) {
        EXPECT_EQ(TraitTerminalName(terminal), nullptr) << terminal;
        EXPECT_NE(TraitTerminalIsVideo(terminal), 0) << terminal;
    }
    // Digital AV inputs report a resolution like PC inputs, but are video.
    EXPECT_NE(TraitTerminalName(TRAIT_TERMINAL_AV_HDMI), nullptr);
    EXPECT_NE(TraitTerminalIsVideo(TRAIT_TERMINAL_AV_HDMI), 0);
    for (int32_t unknown : {-1, 1, 5, 258, 265, 266, 100000}) {
        EXPECT_EQ(TraitTerminalName(unknown), nullptr) << unknown;
        EXPECT_EQ(TraitTerminalIsVideo(unknown), 0) << unknown;
    }
}

TEST(TraitFeatureTest, FeaturesDifferBetweenModelsAndUnknownNamesAreAbsent)
{
    EXPECT_NE(TraitFeature("motion", codeOf("QX-P50")), 0);
    EXPECT_EQ(TraitFeature("motion", codeOf("QX-A32")), 0);
    EXPECT_NE(TraitFeature("colorsys", codeOf("QX-A32")), 0);
    EXPECT_EQ(TraitFeature("colorsys", codeOf("QX-E43")), 0);
    EXPECT_EQ(TraitFeature("Motion", codeOf("QX-P50")), 0);
    EXPECT_EQ(TraitFeature("", codeOf("QX-P50")), 0);
    EXPECT_EQ(TraitFeature(nullptr, codeOf("QX-P50")), 0);
    EXPECT_EQ(TraitFeature("motion", 9u << 16), 0);
}

TEST(TraitTerminalSelectTest, SharedConnectorsAnswerTheirSelectCommand)
{
    const uint32_t code = codeOf("QX-T988");
    int32_t number = -1;
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_AV_DVI, &number, code), TRAIT_SELECT_DVSL);
    EXPECT_EQ(number, 2);
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_HDMI, &number, code), TRAIT_SELECT_HDSL);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_RGB_5BNC, &number, code), TRAIT_SELECT_BNSL);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_COMPONENT, &number, code), TRAIT_SELECT_BNSL);
    EXPECT_EQ(number, 2);

    number = -1;
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_DSUB, &number, code), TRAIT_SELECT_NONE);
    EXPECT_EQ(number, -1) << "no select command leaves the number alone";
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_DVI, nullptr, code), TRAIT_SELECT_DVSL);
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_DVI, &number, codeOf("QX-A32")), TRAIT_SELECT_NONE);
    EXPECT_EQ(TraitTerminalSelect(TRAIT_TERMINAL_USB, &number, code), TRAIT_SELECT_NONE);
}

} // namespace
