// Model classes and model tests over every named family, every kind-7 variant and kinds outside the
// named families.
#include "ModelClasses.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivane {
namespace {

// Expected classes A to G as seven 'y'/'n' letters.
std::string classesOf(ModelCode model)
{
    std::string letters;
    for (bool member : {isClassA(model), isClassB(model), isClassC(model), isClassD(model), isClassE(model),
                        isClassF(model), isClassG(model)}) {
        letters += member ? 'y' : 'n';
    }
    return letters;
}

TEST(ModelClassesTest, NamedFamiliesAndOtherKinds)
{
    struct Case
    {
        int kind;
        const char* classes; // A B C D E F G
    };
    const Case cases[] = {
        {1, "nnnnnnn"},  {2, "nnnnnnn"},   {3, "nnnnnnn"},     {4, "ynnnnnn"}, {5, "yynnnnn"},
        {6, "nnnnnnn"},  {8, "nnnnnyn"},   {100, "nnnnnnn"},   {0, "yyyyyyn"}, {9, "yyyyyyn"},
        {99, "yyyyyyn"}, {101, "yyyyyyn"}, {65535, "yyyyyyn"},
    };
    for (const Case& c : cases) {
        for (int variant : {0, 1, 6, 11, 255}) {
            EXPECT_EQ(classesOf(ModelCode::of(c.kind, variant)), c.classes) << "kind " << c.kind << " v" << variant;
        }
    }
}

TEST(ModelClassesTest, Kind7ByVariant)
{
    const char* expected[] = {
        // A B C D E F G     variant
        "yyynnnn", // 1
        "yyynnnn", // 2
        "yyynnnn", // 3
        "yyynnnn", // 4
        "yyyynnn", // 5
        "yyyyynn", // 6
        "yyynnnn", // 7
        "yyyynnn", // 8
        "yyyyyyn", // 9
        "yyyyyyn", // 10
        "yyyyyyy", // 11
        "yyyyyyy", // 12
        "yyyyyyn", // 13
        "yyyyyyn", // 14
        "yyyyyyn", // 15
        "yyyyyyy", // 16
        "yyyyyyn", // 17
        "yyyyyyn", // 18
    };
    for (int variant = 1; variant <= 18; ++variant) {
        for (bool withoutBoard : {false, true}) {
            EXPECT_EQ(classesOf(ModelCode::of(7, variant, withoutBoard)), expected[variant - 1])
                << "variant " << variant;
        }
    }
}

TEST(ModelCodeTest, FieldsAndBoardBit)
{
    const ModelCode code(0x0007010B);
    EXPECT_EQ(code.kind(), 7);
    EXPECT_EQ(code.variant(), 11);
    EXPECT_TRUE(code.lacksExpansionBoard());
    EXPECT_EQ(ModelCode::of(7, 11, true), code);
    EXPECT_EQ(ModelCode::of(100, 2).value(), 0x00640002u);
    EXPECT_EQ(ModelCode::of(7, 0x1FF).variant(), 0xFF) << "the variant cannot spill into the board bit";
    EXPECT_FALSE(ModelCode::of(7, 0x1FF).lacksExpansionBoard());
}

TEST(ModelTestsTest, KindTests)
{
    EXPECT_TRUE(hasExpansionBoard(ModelCode::of(7, 3)));
    EXPECT_FALSE(hasExpansionBoard(ModelCode::of(7, 3, true)));
    EXPECT_FALSE(hasExpansionBoard(ModelCode::of(5, 3))) << "only kind 7 has the board";
    EXPECT_TRUE(isKind7Variant6(ModelCode::of(7, 6, true)));
    EXPECT_FALSE(isKind7Variant6(ModelCode::of(6, 6)));
    EXPECT_FALSE(isNotKind100(ModelCode::of(100, 1)));
    EXPECT_TRUE(isNotKind100(ModelCode()));

    bool inRange = false;
    EXPECT_FALSE(isKnownModel(ModelCode(), &inRange));
    EXPECT_FALSE(inRange);
    EXPECT_FALSE(isKnownModel(ModelCode::of(100, 1), &inRange));
    EXPECT_FALSE(inRange);
    for (int kind : {1, 2, 9}) {
        EXPECT_TRUE(isKnownModel(ModelCode::of(kind, 1), &inRange));
        EXPECT_FALSE(inRange) << kind;
    }
    for (int kind = 3; kind <= 8; ++kind) {
        EXPECT_TRUE(isKnownModel(ModelCode::of(kind, 1), &inRange));
        EXPECT_TRUE(inRange) << kind;
    }
    EXPECT_TRUE(isKnownModel(ModelCode::of(4, 1)));
}

TEST(ModelTestsTest, DsubAvModesOnKind7From9Except15)
{
    for (int variant = 1; variant <= 18; ++variant) {
        const bool expected = variant >= 9 && variant != 15;
        EXPECT_EQ(hasDsubAvModes(ModelCode::of(7, variant)), expected) << variant;
        EXPECT_EQ(hasDsubAvModes(ModelCode::of(7, variant, true)), expected) << variant;
    }
    for (int kind : {0, 1, 5, 6, 8, 9, 100}) {
        EXPECT_FALSE(hasDsubAvModes(ModelCode::of(kind, 11))) << kind;
    }
}

TEST(ModelTestsTest, InputPairs)
{
    const ModelCode plasma = ModelCode::of(3, 2);
    EXPECT_TRUE(supportsInputPair(plasma, 1, 4));
    EXPECT_TRUE(supportsInputPair(plasma, 4, 4));
    EXPECT_FALSE(supportsInputPair(plasma, 1, 5));
    EXPECT_FALSE(supportsInputPair(plasma, 5, 5)) << "kind 3 has no same-input exception";
    for (ModelCode model : {ModelCode::of(6, 1), ModelCode::of(8, 1), ModelCode::of(7, 5), ModelCode::of(7, 8)}) {
        EXPECT_FALSE(supportsInputPair(model, 2, 2)) << model.kind() << "/" << model.variant();
    }
    // Otherwise the same input always pairs, different inputs on class B.
    EXPECT_TRUE(supportsInputPair(ModelCode::of(1, 1), 3, 3));
    EXPECT_FALSE(supportsInputPair(ModelCode::of(1, 1), 3, 4));
    EXPECT_FALSE(supportsInputPair(ModelCode::of(4, 1), 3, 4));
    EXPECT_TRUE(supportsInputPair(ModelCode::of(5, 1), 3, 4));
    EXPECT_TRUE(supportsInputPair(ModelCode::of(7, 6), 3, 4));
    EXPECT_TRUE(supportsInputPair(ModelCode(), 1, 13));
}

} // namespace
} // namespace lumivane
