// Terminal-select and D-SUB slot commands per input, on models with and without select commands, with
// and without expansion board.
#include "TerminalCommands.h"

#include "traitbook.h"

#include <gtest/gtest.h>

namespace lumivane {
namespace {

ModelCode codeOf(const char* name, bool withBoard = true)
{
    uint32_t code = 0;
    EXPECT_NE(TraitLookup(name, &code), 0) << name;
    const ModelCode found(code);
    return found.kind() == 7 ? ModelCode::of(7, found.variant(), !withBoard) : found;
}

// "terminal|slot", or "none" when there is nothing to send.
std::string commands(ModelCode model, InputModeIndex index)
{
    const std::optional<TerminalCommands> found = terminalCommandsFor(model, index);
    return found ? found->terminalCommand + "|" + found->slotCommand : "none";
}

TEST(TerminalCommandsTest, DsubAvModelWithBoard)
{
    const ModelCode model = codeOf("QX-T988");
    EXPECT_EQ(commands(model, 1), "DVSL0001|");
    EXPECT_EQ(commands(model, 5), "DVSL0002|");
    EXPECT_EQ(commands(model, 2), "HDSL0001|");
    EXPECT_EQ(commands(model, 6), "HDSL0002|");
    EXPECT_EQ(commands(model, 3), "|SLDS0000") << "the D-SUB connector back to PC";
    EXPECT_EQ(commands(model, 4), "BNSL0001|SLDS0000") << "RGB on BNC frees the D-SUB slot";
    EXPECT_EQ(commands(model, 7), "BNSL0002|");
    EXPECT_EQ(commands(model, 9), "|SLDS0000");
    EXPECT_EQ(commands(model, 12), "BNSL0002|SLDS0001");
    EXPECT_EQ(commands(model, 13), "|SLDS0002");
    EXPECT_EQ(commands(model, 8), "none");
    EXPECT_EQ(commands(model, 11), "none");
}

TEST(TerminalCommandsTest, Kind7WithoutBoardSelectsDsubComponentBySlotAlone)
{
    const ModelCode model = codeOf("QX-T988", false);
    EXPECT_EQ(commands(model, 12), "|SLDS0001");
    EXPECT_EQ(commands(model, 13), "|SLDS0002");
    EXPECT_EQ(commands(model, 4), "BNSL0001|SLDS0000") << "only the slot-1 case drops BNSL";
    EXPECT_EQ(commands(model, 7), "BNSL0002|");
    // Other kinds have no board to lack.
    EXPECT_EQ(commands(codeOf("QX-S46"), 12), "BNSL0002|SLDS0001");
}

TEST(TerminalCommandsTest, ModelsWithoutSelectCommands)
{
    const ModelCode entry = codeOf("QX-A32");
    EXPECT_EQ(commands(entry, 1), "none");
    EXPECT_EQ(commands(entry, 3), "|SLDS0000");
    EXPECT_EQ(commands(entry, 9), "|SLDS0000");
    EXPECT_EQ(commands(entry, 8), "none");

    // The plasma's combined input is terminal 260, which has no slot.
    const ModelCode plasma = codeOf("QX-P50");
    EXPECT_EQ(commands(plasma, 9), "none");
    EXPECT_EQ(commands(plasma, 3), "|SLDS0000");
    EXPECT_EQ(commands(plasma, 2), "none");
}

TEST(TerminalCommandsTest, IndexesWithoutTerminalFail)
{
    for (ModelCode model : {ModelCode(), codeOf("QX-T988"), codeOf("Brela")}) {
        for (InputModeIndex index : {0, -1, 14, 100, 101, 107}) {
            EXPECT_EQ(commands(model, index), "none") << index;
        }
    }
    // A model not known gets the usual answers of the series.
    EXPECT_EQ(commands(ModelCode(), 1), "DVSL0001|");
    EXPECT_EQ(commands(ModelCode(), 13), "|SLDS0002");
}

} // namespace
} // namespace lumivane
