// The model table as data: the line-up the availability rules and input tables rely on, ports that are
// consistent with each other, and the shipped "ModelName.txt".
#include "ModelTable.h"
#include "traitbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <utility>

namespace lumivane::traitbook {
namespace {

bool hasModel(int kind, int variant = -1)
{
    return std::ranges::any_of(
        models(), [&](const Model& model) { return model.kind == kind && (variant < 0 || model.variant == variant); });
}

TEST(ModelTableTest, LineUpCoversEveryKindAndVariantTheRulesTest)
{
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 100}) {
        EXPECT_TRUE(hasModel(kind)) << "kind " << kind;
    }
    for (int variant : {1, 3, 4, 5, 6, 7, 8, 9, 11, 12, 15, 16, 17}) {
        EXPECT_TRUE(hasModel(7, variant)) << "kind 7 variant " << variant;
    }
    EXPECT_TRUE(hasModel(3, 1) && hasModel(3, 2)) << "kind 3 with and without variant 1";
    EXPECT_TRUE(hasModel(5, 3) && hasModel(5, 1)) << "kind 5 with and without variant 3";
    const Model* zr = findModel("Brela");
    ASSERT_NE(zr, nullptr);
    EXPECT_EQ(zr->kind, 6);
    std::set<int32_t> zrInputs;
    for (const Port& port : zr->ports) {
        zrInputs.insert(port.inputNumber);
    }
    EXPECT_EQ(zrInputs, (std::set<int32_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_NE(findModel("QX-T988"), nullptr);
    EXPECT_NE(findModel("QX-T989B"), nullptr);
}

TEST(ModelTableTest, NamesAndCodesAreUnique)
{
    std::set<std::string> names;
    std::set<uint32_t> codes;
    for (const Model& model : models()) {
        EXPECT_TRUE(names.insert(model.name).second) << model.name;
        EXPECT_TRUE(codes.insert(model.code()).second) << model.name;
        EXPECT_NE(model.kind, 0) << model.name;
        EXPECT_EQ(findModel(model.code()), &model);
    }
}

TEST(ModelTableTest, PortsAreConsistent)
{
    auto check = [](const Model& model) {
        std::set<std::pair<int32_t, int32_t>> seen;
        std::set<int32_t> numbers;
        int32_t dsubNumber = -1;
        for (const Port& port : model.ports) {
            SCOPED_TRACE(std::string(model.name) + " terminal " + std::to_string(port.terminal));
            EXPECT_NE(findTerminal(port.terminal), nullptr);
            EXPECT_TRUE(seen.insert({port.terminal, port.slot}).second) << "terminal twice in one slot";
            EXPECT_GT(port.inputNumber, 0);
            if (port.slot == 0) {
                EXPECT_TRUE(numbers.insert(port.inputNumber).second) << "number shared by two terminals";
            }
            if (port.terminal == TRAIT_TERMINAL_DSUB && port.slot == 0) {
                dsubNumber = port.inputNumber;
            }
            // Slot modes are component in slot 1 and video in slot 2 of the D-SUB connector, listed after it.
            if (port.slot == 1) {
                EXPECT_EQ(port.terminal, TRAIT_TERMINAL_COMPONENT);
            }
            if (port.slot == 2) {
                EXPECT_EQ(port.terminal, TRAIT_TERMINAL_VIDEO);
            }
            if (port.slot != 0) {
                EXPECT_EQ(port.inputNumber, dsubNumber);
            }
            // Each select command belongs to its own connector.
            switch (port.select) {
            case TRAIT_SELECT_NONE:
                break;
            case TRAIT_SELECT_DVSL:
                EXPECT_TRUE(port.terminal == TRAIT_TERMINAL_DVI || port.terminal == TRAIT_TERMINAL_AV_DVI);
                break;
            case TRAIT_SELECT_HDSL:
                EXPECT_TRUE(port.terminal == TRAIT_TERMINAL_HDMI || port.terminal == TRAIT_TERMINAL_AV_HDMI);
                break;
            case TRAIT_SELECT_BNSL:
                EXPECT_TRUE(port.terminal == TRAIT_TERMINAL_RGB_5BNC || port.terminal == TRAIT_TERMINAL_COMPONENT);
                break;
            default:
                ADD_FAILURE() << "unknown select answer " << port.select;
            }
        }
    };
    for (const Model& model : models()) {
        check(model);
    }
    check(genericModel());
}

TEST(ModelTableTest, DsubSlotModesBelongToTheKind7VariantsThatHaveThem)
{
    for (const Model& model : models()) {
        const bool hasSlots = std::ranges::any_of(model.ports, [](const Port& port) { return port.slot != 0; });
        const bool expected = model.kind == 7 && model.variant >= 9 && model.variant != 15;
        EXPECT_EQ(hasSlots, expected) << model.name;
    }
}

TEST(ModelNameFileTest, EveryLineNamesAKnownModelAndAliasesAreUnique)
{
    std::ifstream file(MODEL_NAME_FILE);
    ASSERT_TRUE(file) << MODEL_NAME_FILE;
    std::set<std::string> aliases;
    std::set<std::string> namedModels;
    std::string line;
    while (std::getline(file, line)) {
        const size_t comma = line.find(',');
        ASSERT_NE(comma, std::string::npos) << line;
        const std::string alias = line.substr(0, comma);
        const std::string name = line.substr(comma + 1);
        EXPECT_TRUE(aliases.insert(alias).second) << "alias twice: " << alias;
        EXPECT_NE(findModel(name), nullptr) << line;
        namedModels.insert(name);
    }
    for (const Model& model : models()) {
        EXPECT_TRUE(namedModels.contains(model.name)) << model.name << " cannot be chosen";
    }
    EXPECT_TRUE(aliases.contains("ZR-1190"));
    EXPECT_FALSE(aliases.contains("Brela")) << "the ZR-1190 is offered under its shown name";
}

} // namespace
} // namespace lumivane::traitbook
