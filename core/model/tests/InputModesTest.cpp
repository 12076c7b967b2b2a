// The input-mode table, the inputs each model offers and the input numbers both ways, for every model of
// the database, with and without expansion board, and for a model not known.
#include "InputModes.h"

#include "ModelClasses.h"
#include "traitbook.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumivane {
namespace {

using Inputs = std::vector<InputModeIndex>;

ModelCode codeOf(const char* name, bool withBoard = true)
{
    uint32_t code = 0;
    EXPECT_NE(TraitLookup(name, &code), 0) << name;
    const ModelCode found(code);
    return found.kind() == 7 ? ModelCode::of(7, found.variant(), !withBoard) : found;
}

// Every model of the database (kind-7 models twice, with and without board) and a model not known.
std::vector<ModelCode> everyModel()
{
    std::vector<ModelCode> models{ModelCode()};
    for (int32_t i = 0; TraitModelName(i) != nullptr; ++i) {
        models.push_back(codeOf(TraitModelName(i)));
        if (models.back().kind() == 7) {
            models.push_back(codeOf(TraitModelName(i), false));
        }
    }
    return models;
}

TEST(InputModesTest, NamesAndTerminals)
{
    EXPECT_EQ(inputModeName(0), "---");
    EXPECT_EQ(inputModeName(1), "PC DVI");
    EXPECT_EQ(inputModeName(10), "AV Video/S-Video");
    EXPECT_EQ(inputModeName(13), "AV Video (D-SUB)");
    EXPECT_EQ(inputModeName(101), "INPUT1");
    EXPECT_EQ(inputModeName(107), "INPUT7");
    for (InputModeIndex other : {-1, 14, 99, 100, 108, 1000}) {
        EXPECT_EQ(inputModeName(other), "") << other;
    }
    EXPECT_EQ(inputTerminal(0), std::nullopt);
    EXPECT_EQ(inputTerminal(2), 4);
    EXPECT_EQ(inputTerminal(12), kTerminalDsubComponent);
    EXPECT_EQ(inputTerminal(13), kTerminalDsubVideo);
    EXPECT_EQ(inputTerminal(101), std::nullopt);
    EXPECT_EQ(inputTerminalForKind3(8), 260);
    EXPECT_EQ(inputTerminalForKind3(9), 260);
    EXPECT_EQ(inputTerminalForKind3(2), std::nullopt);
    EXPECT_EQ(inputTerminalForKind3(7), 257);
}

TEST(InputModesTest, SelectableInputsPerKind)
{
    EXPECT_EQ(selectableInputs(ModelCode()), (Inputs{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(selectableInputs(codeOf("Brela")), (Inputs{101, 102, 103, 104, 105, 106, 107}));
    EXPECT_EQ(selectableInputs(codeOf("QX-A32")), (Inputs{1, 3, 8, 9}));
    EXPECT_EQ(selectableInputs(codeOf("QX-P50")), (Inputs{1, 3, 4, 7, 10})) << "plasma: the combined input";
    EXPECT_EQ(selectableInputs(codeOf("QX-E43")), (Inputs{2, 3, 9, 11}));
    EXPECT_EQ(selectableInputs(codeOf("QX-T402")), (Inputs{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(selectableInputs(codeOf("QX-T988")), (Inputs{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13}));
    EXPECT_EQ(selectableInputs(codeOf("QX-T988", false)), selectableInputs(codeOf("QX-T988")));
    EXPECT_EQ(selectableInputs(codeOf("QX-T823")), (Inputs{1, 2, 3, 4, 5, 6, 7, 8, 9, 11})) << "variant 15";
    EXPECT_TRUE(selectableInputs(ModelCode::of(9, 1)).empty()) << "a kind the database does not know";
}

TEST(InputModesTest, EverySelectableInputMapsToANumberAndBack)
{
    for (ModelCode model : everyModel()) {
        for (InputModeIndex index : selectableInputs(model)) {
            int32_t slot = -1;
            const int32_t number = inputNumberFromIndex(model, index, &slot);
            ASSERT_GT(number, 0) << "kind " << model.kind() << " v" << model.variant() << " index " << index;
            EXPECT_EQ(slot, index == 12 ? 1 : index == 13 ? 2 : 0);
            EXPECT_EQ(inputIndexFromNumber(model, number, slot), index)
                << "kind " << model.kind() << " v" << model.variant() << " number " << number;
        }
    }
}

TEST(InputModesTest, Kind6NumbersAreTheIndexMinus100)
{
    const ModelCode zr = codeOf("Brela");
    for (InputModeIndex index = 101; index <= 107; ++index) {
        EXPECT_EQ(inputNumberFromIndex(zr, index), index - 100);
    }
    EXPECT_EQ(inputNumberFromIndex(zr, 3), 0) << "series inputs do not apply";
    EXPECT_EQ(inputNumberFromIndex(zr, 108), 0);
    EXPECT_EQ(inputIndexFromNumber(zr, 0), 0);
    EXPECT_EQ(inputIndexFromNumber(zr, 8), 0);
    EXPECT_EQ(inputNumberFromIndex(codeOf("QX-T988"), 101), 0) << "ZR inputs on a series model";
}

TEST(InputModesTest, Kind3UsesItsOwnColumnAndFallsBack)
{
    const ModelCode plasma = codeOf("QX-P61");
    const int32_t combined = inputNumberFromIndex(plasma, 10);
    ASSERT_GT(combined, 0);
    EXPECT_EQ(inputNumberFromIndex(plasma, 8), combined);
    EXPECT_EQ(inputNumberFromIndex(plasma, 9), combined);
    EXPECT_EQ(inputIndexFromNumber(plasma, combined), 10);
    int32_t slot = -1;
    EXPECT_EQ(inputNumberFromIndex(plasma, 2, &slot), 0) << "no HDMI in either column for this model";
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(inputNumberFromIndex(plasma, 12), 0);
}

TEST(InputModesTest, DsubSlotsReadBackByTheMonitorsSlot)
{
    const ModelCode model = codeOf("QX-T463");
    const int32_t dsub = inputNumberFromIndex(model, 3);
    ASSERT_GT(dsub, 0);
    EXPECT_EQ(inputNumberFromIndex(model, 12), dsub);
    EXPECT_EQ(inputNumberFromIndex(model, 13), dsub);
    EXPECT_EQ(inputIndexFromNumber(model, dsub, 0), 3);
    EXPECT_EQ(inputIndexFromNumber(model, dsub, 1), 12);
    EXPECT_EQ(inputIndexFromNumber(model, dsub, 2), 13);
    EXPECT_EQ(inputIndexFromNumber(model, dsub, 7), 3) << "an odd slot reads as the connector itself";
    // Where the database has no slot modes the slot is ignored.
    const ModelCode older = codeOf("QX-T402");
    EXPECT_EQ(inputIndexFromNumber(older, inputNumberFromIndex(older, 3), 1), 3);
    EXPECT_EQ(inputNumberFromIndex(older, 12), 0);
}

TEST(InputModesTest, UnknownNumbersAndIndexes)
{
    const ModelCode model = codeOf("QX-T988");
    for (int32_t number : {0, -1, 99, 100000}) {
        EXPECT_EQ(inputIndexFromNumber(model, number), 0) << number;
    }
    for (InputModeIndex index : {0, -1, 14, 100}) {
        int32_t slot = -1;
        EXPECT_EQ(inputNumberFromIndex(model, index, &slot), 0) << index;
        EXPECT_EQ(slot, 0);
    }
    EXPECT_EQ(inputNumberFromIndex(model, 10), 0) << "the plasma's combined input on another model";
}

TEST(InputModesTest, PcInputsAndIndexTests)
{
    Inputs pc;
    for (InputModeIndex index = -1; index <= 108; ++index) {
        if (isPcInput(index)) {
            pc.push_back(index);
        }
    }
    EXPECT_EQ(pc, (Inputs{1, 2, 3, 4}));

    EXPECT_TRUE(isZrInputIndex(101));
    EXPECT_FALSE(isZrInputIndex(100));
    Inputs composite;
    Inputs analog;
    for (InputModeIndex index = 0; index <= 13; ++index) {
        if (isCompositeVideoIndex(index)) {
            composite.push_back(index);
        }
        if (isAnalogVideoIndex(index)) {
            analog.push_back(index);
        }
    }
    EXPECT_EQ(composite, (Inputs{9, 10, 13}));
    EXPECT_EQ(analog, (Inputs{8, 9, 10, 13}));
}

} // namespace
} // namespace lumivane
