#include "MailAddressList.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

TEST(MailAddressList, ReadsEveryLineAndFiltersByKind)
{
    test::TempDataFolder data;
    test::writeFile(data.file("EMailAddress.csv"), "report@example.com,1\r\n"
                                                   "both@example.com,3\n"
                                                   "\n"
                                                   "errors@example.com,2,ignored\n"
                                                   "nokinds@example.com\n"
                                                   "text@example.com,x\n"
                                                   ",3\n"
                                                   "broken,2\n");
    const std::vector<MailAddress> list = loadAddressList();
    ASSERT_EQ(7u, list.size());
    EXPECT_EQ((MailAddress{"report@example.com", 1}), list[0]);
    EXPECT_EQ((MailAddress{"nokinds@example.com", 0}), list[3]);
    EXPECT_EQ((MailAddress{"text@example.com", 0}), list[4]);
    EXPECT_EQ((MailAddress{"", 3}), list[5]);

    EXPECT_EQ((std::vector<std::string>{"report@example.com", "both@example.com"}), LoadAddresses(kPeriodicalMailBit));
    // Addresses no mail program could deliver to are never handed on.
    EXPECT_EQ((std::vector<std::string>{"both@example.com", "errors@example.com"}), LoadAddresses(kErrorMailBit));
}

TEST(MailAddressList, OnlyReportAddressesGiveNoErrorRecipients)
{
    test::TempDataFolder data;
    EXPECT_TRUE(LoadAddresses(kErrorMailBit).empty()); // no file at all
    test::writeFile(data.file("EMailAddress.csv"), "a@example.com,1\nb@example.com,1\n");
    EXPECT_TRUE(LoadAddresses(kErrorMailBit).empty());
    EXPECT_EQ(2u, LoadAddresses(kPeriodicalMailBit).size());
}

TEST(MailAddressList, SavesTheWholeListAndReadsItBack)
{
    test::TempDataFolder data;
    test::writeFile(data.file("EMailAddress.csv"), "old@example.com,3\n");
    for (const std::string& forged :
         {std::string("x@y\nevil@z"), std::string("x@y\r,3"), std::string("x@y,3"), std::string("x@y\0z", 5)}) {
        const MailResult refused = SaveAddresses({{"ops@example.com", 3}, {forged, 1}});
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(274, refused.message);
        EXPECT_EQ("old@example.com,3\n", test::readFile(data.file("EMailAddress.csv")));
    }
    const std::vector<MailAddress> list{{"ops@example.com", 3}, {"night@example.com", 2}};
    ASSERT_TRUE(SaveAddresses(list));
    EXPECT_EQ("ops@example.com,3\nnight@example.com,2\n", test::readFile(data.file("EMailAddress.csv")));
    const std::vector<MailAddress> read = loadAddressList();
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ(list[0], read[0]);
    EXPECT_EQ(list[1], read[1]);
}

TEST(MailAddressList, AFailedSaveReportsMessage206)
{
    test::TempFolder folder;
    test::writeFile(folder.file("plain-file"), "");
    test::ScopedEnvironment data("LUMIVANE_DATA_DIR", folder.file("plain-file"));
    const MailResult result = SaveAddresses({{"ops@example.com", 3}});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(206, result.message);
    EXPECT_TRUE(result.stopIcon);
    EXPECT_EQ("Cannot create mail address file.", result.text);
}

TEST(MailAddressList, ValidateAddressWantsOneInnerAtSign)
{
    EXPECT_TRUE(ValidateAddress("a@b"));
    EXPECT_TRUE(ValidateAddress("first.last@example.com"));
    EXPECT_TRUE(ValidateAddress(" spaces are @ not checked "));
    EXPECT_FALSE(ValidateAddress("@example.com"));
    EXPECT_FALSE(ValidateAddress("ops@"));
    EXPECT_FALSE(ValidateAddress("a@b@c"));
    EXPECT_FALSE(ValidateAddress("example.com"));
    EXPECT_FALSE(ValidateAddress(""));
    EXPECT_FALSE(ValidateAddress("@"));
    // A comma or a line break would not survive the address file.
    EXPECT_FALSE(ValidateAddress("a,b@example.com"));
    EXPECT_FALSE(ValidateAddress("a@example.com\nb"));
}

} // namespace
