#include "CMailScheduleList.h"
#include "ChildWithFileLimit.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

TEST(CMailScheduleList, LivesInTheDataFolderAndReadsBackWhatItWrote)
{
    test::TempDataFolder data;
    CMailScheduleList list;
    EXPECT_FALSE(list.Load());
    EXPECT_EQ(0, list.count());
    list.Add(0, 0, kEveryDayMask);
    list.Add(8, 30, 62);
    list.Add(17, 45, 0);
    ASSERT_TRUE(list.Replace(2, 18, 15, 64));
    EXPECT_FALSE(list.Replace(3, 1, 1, 1));
    ASSERT_TRUE(list.Delete(0));
    EXPECT_FALSE(list.Delete(-1));
    ASSERT_TRUE(list.Save());
    EXPECT_EQ("8,30,62\n18,15,64\n", test::readFile(data.file("MailSchedule.csv")));
    EXPECT_FALSE(test::fileExists(data.file("Schedule/MailSchedule.csv")));

    CMailScheduleList reader;
    ASSERT_TRUE(reader.Load());
    ASSERT_EQ(2, reader.count());
    EXPECT_EQ((ST_MAIL_SCHEDULE{8, 30, 62}), *reader.at(0));
    EXPECT_EQ((ST_MAIL_SCHEDULE{18, 15, 64}), *reader.at(1));
    EXPECT_EQ(nullptr, reader.at(2));
}

TEST(CMailScheduleList, MissingFieldsReadAsZero)
{
    test::TempDataFolder data;
    test::writeFile(data.file("MailSchedule.csv"), "7\r\n9,x,3,4\n\n,15\n25,61,-1\n");
    CMailScheduleList list;
    ASSERT_TRUE(list.Load());
    ASSERT_EQ(4, list.count());
    EXPECT_EQ((ST_MAIL_SCHEDULE{7, 0, 0}), *list.at(0));
    EXPECT_EQ((ST_MAIL_SCHEDULE{9, 0, 3}), *list.at(1));
    EXPECT_EQ((ST_MAIL_SCHEDULE{0, 15, 0}), *list.at(2));
    EXPECT_EQ((ST_MAIL_SCHEDULE{25, 61, -1}), *list.at(3));
    EXPECT_FALSE(isValidEntry(*list.at(3)));
}

TEST(CMailScheduleList, AFailedSaveKeepsTheOldFile)
{
    test::TempDataFolder data;
    CMailScheduleList list;
    list.Add(6, 0, 2);
    ASSERT_TRUE(list.Save());
    list.Add(12, 0, 4);
    const int status = test::runWithFileSizeLimit(4, [&] {
        const ScheduleSaveResult result = list.Save();
        return !result.ok && result.message == 168 && result.stopIcon ? 0 : 1;
    });
    EXPECT_EQ(0, status);
    EXPECT_EQ("6,0,2\n", test::readFile(data.file("MailSchedule.csv")));
}

} // namespace
