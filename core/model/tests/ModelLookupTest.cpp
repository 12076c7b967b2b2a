// modelFromName: the model database first, then the aliases of "ModelName.txt", and the board bit.
#include "ModelLookup.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace lumivane {
namespace {

class ModelLookupTest : public ::testing::Test
{
protected:
    void writeAliases(const std::string& content) { test::writeFile(m_folder.file(kModelNameFile), content); }
    ModelCode lookUp(std::string_view name, int32_t flags = 1) { return modelFromName(name, flags, m_folder.path()); }

    test::TempFolder m_folder;
};

TEST_F(ModelLookupTest, KnownNamesComeFromTheDatabaseWithTheBoardBitForKind7)
{
    EXPECT_EQ(lookUp("QX-T988", 1), ModelCode::of(7, 11));
    EXPECT_EQ(lookUp("QX-T988", 0), ModelCode::of(7, 11, true));
    EXPECT_EQ(lookUp("QX-T988", 2), ModelCode::of(7, 11, true)) << "only bit 0 is the board";
    EXPECT_EQ(lookUp("QX-T988", 3), ModelCode::of(7, 11));
    EXPECT_EQ(lookUp("QX-S46", 0), ModelCode::of(5, 2)) << "no board bit outside kind 7";
    EXPECT_EQ(lookUp("Brela", 0).kind(), 6);
}

TEST_F(ModelLookupTest, UnknownOrEmptyNamesGiveKindZero)
{
    EXPECT_EQ(lookUp(""), ModelCode());
    EXPECT_EQ(lookUp("QX-NOPE"), ModelCode()) << "no alias file";
    writeAliases(",QX-T988\nQX-NOPE2,QX-GONE\n");
    EXPECT_EQ(lookUp(""), ModelCode()) << "an empty alias never matches";
    EXPECT_EQ(lookUp("QX-NOPE2"), ModelCode()) << "the alias names a model the database does not know";
}

TEST_F(ModelLookupTest, AliasesAreExactTheFirstMatchWinsAndKind7IsRebuilt)
{
    writeAliases("ZR-1190,Brela\r\n"
                 " Wall 55 , QX-T990 \n"
                 "Twin,QX-A32\n"
                 "Twin,QX-B42\n"
                 "QX-T988,QX-A32\n"
                 "no comma here\n"
                 "Extra,QX-E43,ignored\n");
    EXPECT_EQ(lookUp("ZR-1190").kind(), 6) << "CR LF line end";
    EXPECT_EQ(lookUp("zr-1190"), ModelCode()) << "case-sensitive";
    EXPECT_EQ(lookUp("Wall 55", 0), ModelCode::of(7, 16, true));
    EXPECT_EQ(lookUp("Twin").kind(), 1);
    EXPECT_EQ(lookUp("QX-T988").kind(), 7) << "a known name is never looked up as an alias";
    EXPECT_EQ(lookUp("no comma here"), ModelCode());
    EXPECT_EQ(lookUp("Extra").kind(), 8);
}

TEST_F(ModelLookupTest, TheAliasFileIsReadOncePerProcess)
{
    writeAliases("Wall 55,QX-T990\n");
    EXPECT_EQ(lookUp("Wall 55").kind(), 7);
    ASSERT_EQ(0, std::remove(m_folder.file(kModelNameFile).c_str()));
    EXPECT_EQ(lookUp("Wall 55").kind(), 7) << "the aliases were read again";
    EXPECT_EQ(lookUp("Hall 70"), ModelCode());
}

TEST_F(ModelLookupTest, ReadAliasesKeepsFileOrderAndSkipsBadLines)
{
    writeAliases("B,QX-B42\n\n,QX-A32\nA,QX-A32\nbroken\n");
    const std::vector<ModelAlias> aliases = readModelAliases(m_folder.path());
    ASSERT_EQ(aliases.size(), 2u);
    EXPECT_EQ(aliases[0].alias, "B");
    EXPECT_EQ(aliases[1].alias, "A");
    EXPECT_EQ(aliases[1].modelName, "QX-A32");
    EXPECT_TRUE(readModelAliases(m_folder.file("missing")).empty());
}

TEST(ModelLookupProgramFolderTest, TheShippedAliasesSitBesideThePrograms)
{
    EXPECT_EQ(modelFromName("ZR-1190", 0).kind(), 6);
    EXPECT_EQ(modelFromName("QX-T988E", 0), ModelCode::of(7, 11, true));
}

TEST(ModelNameTest, FamilyNames)
{
    EXPECT_TRUE(isZrModelName("Brela"));
    EXPECT_FALSE(isZrModelName("ZR-1190"));
    EXPECT_FALSE(isZrModelName("brela"));
    EXPECT_TRUE(isT988ModelName("QX-T988"));
    EXPECT_TRUE(isT988ModelName("QX-T989B"));
    EXPECT_FALSE(isT988ModelName("QX-T989"));
    EXPECT_FALSE(isT988ModelName("QX-T988E"));
}

} // namespace
} // namespace lumivane
