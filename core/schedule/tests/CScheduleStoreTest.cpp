#include "CScheduleStore.h"
#include "ChildWithFileLimit.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumivane;

namespace {

class ScheduleStoreTest : public ::testing::Test
{
protected:
    std::string scheduleFile(const std::string& name) const { return m_data.path() + "/Schedule/" + name; }
    void writeSchedule(const std::string& name, const std::string& content) const
    {
        ::mkdir((m_data.path() + "/Schedule").c_str(), 0777);
        test::writeFile(scheduleFile(name), content);
    }

    test::TempDataFolder m_data;
};

ST_SCHEDULE_EVERY weekdaysWithInput()
{
    return {1, 8, 30, 1, 19, 0, 3, 62};
}

ST_SCHEDULE_ESPECIAL holidayWithoutAction()
{
    return {0, 0, 0, 0, 0, 0, 0, 2011, 12, 29, 2012, 1, 3};
}

TEST_F(ScheduleStoreTest, ListFileSkipsBrokenLinesAndKeepsCountingFromItsFirstLine)
{
    writeSchedule("ScheduleList.scl", "7\n3,Office\n0,Broken\n");
    CScheduleStore store;
    ASSERT_TRUE(store.LoadList());
    ASSERT_EQ(1, store.listCount());
    EXPECT_EQ(3, store.listAt(0)->id);
    EXPECT_EQ("Office", store.listAt(0)->name);
    EXPECT_EQ(7, store.nextId());

    ASSERT_TRUE(store.AddSchedule("Lobby"));
    EXPECT_EQ(8, store.listAt(1)->id);
    EXPECT_EQ("8\n3,Office\n8,Lobby\n", test::readFile(scheduleFile("ScheduleList.scl")));
    EXPECT_EQ("Lobby", store.FindName(8).value_or("?"));
    EXPECT_FALSE(store.FindName(0).has_value());
    EXPECT_FALSE(store.FindName(7).has_value());
}

TEST_F(ScheduleStoreTest, IdentifiersAreNeverHandedOutTwice)
{
    CScheduleStore store;
    EXPECT_FALSE(store.LoadList()); // no file yet
    ASSERT_TRUE(store.AddSchedule("A"));
    ASSERT_TRUE(store.AddSchedule("B"));
    ASSERT_EQ(2, store.SelectSchedule(1));
    ASSERT_TRUE(store.AddEvery(weekdaysWithInput()));
    ASSERT_TRUE(test::fileExists(scheduleFile("Schedule2.scf")));

    // Deleting the newest schedule neither lowers the counter nor leaves its entries behind.
    ASSERT_TRUE(store.DeleteSchedule(1));
    EXPECT_FALSE(test::fileExists(scheduleFile("Schedule2.scf")));
    EXPECT_EQ(0, store.currentId());
    EXPECT_EQ(0, store.everyCount());
    ASSERT_TRUE(store.DeleteSchedule(0));
    EXPECT_EQ("2\n", test::readFile(scheduleFile("ScheduleList.scl")));

    CScheduleStore reader;
    ASSERT_TRUE(reader.LoadList());
    EXPECT_EQ(0, reader.listCount());
    ASSERT_TRUE(reader.AddSchedule("C"));
    EXPECT_EQ(3, reader.listAt(0)->id);
    EXPECT_FALSE(test::fileExists(scheduleFile("Schedule3.scf"))); // nothing inherited from a deleted one
}

TEST_F(ScheduleStoreTest, ListedIdentifiersRaiseAStaleCounter)
{
    // A counter behind the listed identifiers (a hand-edited or damaged file), duplicates and identifiers
    // below 1 must not lead to two schedules sharing one entry file.
    writeSchedule("ScheduleList.scl", "2\n5,Hall\n-4,Negative\n5,Again\nx,Text\n\n9,Garage,extra\n");
    CScheduleStore store;
    ASSERT_TRUE(store.LoadList());
    ASSERT_EQ(2, store.listCount());
    EXPECT_EQ("Hall", store.listAt(0)->name);
    EXPECT_EQ(9, store.listAt(1)->id);
    EXPECT_EQ("Garage", store.listAt(1)->name);
    EXPECT_EQ(9, store.nextId());
    ASSERT_TRUE(store.AddSchedule("New"));
    EXPECT_EQ(10, store.listAt(2)->id);
}

TEST_F(ScheduleStoreTest, NamesThatWouldNotReadBackAreRefusedAndCommasInTheFileCutTheName)
{
    CScheduleStore store;
    ASSERT_TRUE(store.AddSchedule("North ground floor"));
    for (const std::string& name : {std::string("North, ground floor"), std::string("Two\nlines"),
                                    std::string("Fake\r\n9,Other"), std::string("N\0l", 3)}) {
        const ScheduleSaveResult result = store.AddSchedule(name);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(0, result.message);
    }
    ASSERT_TRUE(store.AddSchedule(""));
    EXPECT_EQ(2, store.listCount());
    EXPECT_EQ("2\n1,North ground floor\n2,\n", test::readFile(scheduleFile("ScheduleList.scl")));

    test::writeFile(scheduleFile("ScheduleList.scl"), "1\n1,North, ground floor\n");
    CScheduleStore reader;
    ASSERT_TRUE(reader.LoadList());
    ASSERT_EQ(1, reader.listCount());
    EXPECT_EQ("North", reader.listAt(0)->name);
}

TEST_F(ScheduleStoreTest, EntriesAreWrittenInTheFileFormatAndReadBack)
{
    CScheduleStore store;
    ASSERT_TRUE(store.AddSchedule("Office"));
    ASSERT_EQ(1, store.SelectSchedule(0));
    ASSERT_TRUE(store.AddEspecial(holidayWithoutAction()));
    ASSERT_TRUE(store.AddEvery(weekdaysWithInput()));
    const ST_SCHEDULE_EVERY offOnly{0, 0, 0, 1, 22, 0, 0, kEveryDayMask};
    ASSERT_TRUE(store.AddEvery(offOnly));
    const ST_SCHEDULE_ESPECIAL singleDay{1, 7, 5, 0, 0, 0, 101, 2024, 2, 29, 2024, 2, 29};
    ASSERT_TRUE(store.AddEspecial(singleDay));
    // Weekly entries come first, whatever the order of adding.
    EXPECT_EQ("0,08:30,19:00,3,62\n"
              "0,,22:00,0,127\n"
              "1,,,0,2011/12/29,2012/01/03\n"
              "1,07:05,,101,2024/02/29,2024/02/29\n",
              test::readFile(scheduleFile("Schedule1.scf")));

    CScheduleStore reader;
    ASSERT_TRUE(reader.LoadList());
    ASSERT_EQ(1, reader.SelectSchedule(0));
    ASSERT_EQ(2, reader.everyCount());
    ASSERT_EQ(2, reader.especialCount());
    EXPECT_EQ(weekdaysWithInput(), *reader.everyAt(0));
    EXPECT_EQ(offOnly, *reader.everyAt(1));
    EXPECT_EQ(holidayWithoutAction(), *reader.especialAt(0));
    EXPECT_EQ(singleDay, *reader.especialAt(1));
}

TEST_F(ScheduleStoreTest, EditingInPlaceAndDeletingEntriesAreSaved)
{
    CScheduleStore store;
    ASSERT_TRUE(store.AddSchedule("Office"));
    ASSERT_EQ(1, store.SelectSchedule(0));
    ASSERT_TRUE(store.AddEvery(weekdaysWithInput()));
    ASSERT_TRUE(store.AddEvery({1, 6, 0, 0, 0, 0, 0, 1}));
    ASSERT_TRUE(store.AddEspecial(holidayWithoutAction()));

    store.everyAt(1)->dayMask = 65;
    ASSERT_TRUE(store.SaveEntries());
    ASSERT_TRUE(store.DeleteEvery(0));
    EXPECT_FALSE(store.DeleteEvery(5));
    EXPECT_FALSE(store.DeleteEspecial(-1));
    EXPECT_EQ(0, store.DeleteEspecial(-1).message); // nothing to tell the operator
    EXPECT_EQ("0,06:00,,0,65\n1,,,0,2011/12/29,2012/01/03\n", test::readFile(scheduleFile("Schedule1.scf")));
    ASSERT_TRUE(store.DeleteEspecial(0));
    EXPECT_EQ("0,06:00,,0,65\n", test::readFile(scheduleFile("Schedule1.scf")));
    EXPECT_EQ(nullptr, store.everyAt(1));
    EXPECT_EQ(nullptr, store.especialAt(0));
}

TEST_F(ScheduleStoreTest, SelectingOutsideTheListChangesNothing)
{
    CScheduleStore store;
    ASSERT_TRUE(store.AddSchedule("A"));
    ASSERT_EQ(1, store.SelectSchedule(0));
    ASSERT_TRUE(store.AddEvery(weekdaysWithInput()));
    EXPECT_EQ(0, store.SelectSchedule(1));
    EXPECT_EQ(0, store.SelectSchedule(-1));
    EXPECT_EQ(1, store.currentId());
    EXPECT_EQ(1, store.everyCount());
    EXPECT_FALSE(store.DeleteSchedule(3));
    EXPECT_EQ(1, store.listCount());
}

TEST_F(ScheduleStoreTest, WithoutASelectedScheduleNoEntryFileIsWritten)
{
    CScheduleStore store;
    EXPECT_FALSE(store.LoadEntries());
    EXPECT_TRUE(store.AddEvery(weekdaysWithInput()));
    EXPECT_EQ(1, store.everyCount());
    EXPECT_FALSE(test::fileExists(scheduleFile("Schedule0.scf")));
}

TEST_F(ScheduleStoreTest, MalformedEntryLinesReadAsZerosWithoutStoppingTheReader)
{
    writeSchedule("ScheduleList.scl", "1\n1,Odd\n");
    writeSchedule("Schedule1.scf", "x,8:5:9,off,abc\r\n"
                                   "\n"
                                   "1,25:00,:,7,2011-12-29,2012/13/01\r\n"
                                   "0\n"
                                   "2,,,,//,0/0/0/0\n"
                                   "\x01\xff,,,,,,,,,,,,,,,,,");
    CScheduleStore store;
    ASSERT_TRUE(store.LoadList());
    ASSERT_EQ(1, store.SelectSchedule(0));
    ASSERT_EQ(3, store.everyCount());
    ASSERT_EQ(2, store.especialCount());

    EXPECT_EQ((ST_SCHEDULE_EVERY{1, 8, 5, 0, 0, 0, 0, 0}), *store.everyAt(0));
    EXPECT_EQ(ST_SCHEDULE_EVERY{}, *store.everyAt(1));
    EXPECT_EQ(ST_SCHEDULE_EVERY{}, *store.everyAt(2));
    EXPECT_TRUE(isValidEntry(*store.everyAt(0)));

    const ST_SCHEDULE_ESPECIAL& badTimeAndDates = *store.especialAt(0);
    EXPECT_EQ((ST_SCHEDULE_ESPECIAL{1, 25, 0, 1, 0, 0, 7, 0, 0, 0, 2012, 13, 1}), badTimeAndDates);
    EXPECT_EQ("power-on time out of range", entryProblem(badTimeAndDates));
    EXPECT_EQ((ST_SCHEDULE_ESPECIAL{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), *store.especialAt(1));
    EXPECT_EQ("first day is not a valid date", entryProblem(*store.especialAt(1)));
}

TEST_F(ScheduleStoreTest, MissingFilesReadAsEmpty)
{
    CScheduleStore store;
    EXPECT_FALSE(store.LoadList());
    EXPECT_EQ(0, store.listCount());
    EXPECT_EQ(0, store.nextId());
    writeSchedule("ScheduleList.scl", "4\n4,Ghost\n");
    ASSERT_TRUE(store.LoadList());
    EXPECT_EQ(4, store.SelectSchedule(0));
    EXPECT_EQ(0, store.everyCount());
    EXPECT_EQ(0, store.especialCount());
}

TEST_F(ScheduleStoreTest, FailedWritesKeepTheFilesAndTheChangeInMemory)
{
    CScheduleStore store;
    ASSERT_TRUE(store.AddSchedule("Office"));
    ASSERT_EQ(1, store.SelectSchedule(0));
    ASSERT_TRUE(store.AddEvery(weekdaysWithInput()));
    const std::string oldList = test::readFile(scheduleFile("ScheduleList.scl"));
    const std::string oldEntries = test::readFile(scheduleFile("Schedule1.scf"));

    const int listStatus = test::runWithFileSizeLimit(4, [&] {
        const ScheduleSaveResult result = store.AddSchedule("A name longer than the limit");
        const bool asExpected = !result.ok && result.message == 168 && result.stopIcon &&
                                result.text() == "Cannot create schedule file." && store.listCount() == 2;
        return asExpected ? 0 : 1;
    });
    EXPECT_EQ(0, listStatus);
    const int entryStatus = test::runWithFileSizeLimit(4, [&] {
        const ScheduleSaveResult result = store.AddEvery({0, 0, 0, 1, 22, 0, 0, 127});
        const bool asExpected = !result.ok && result.message == 168 && !result.stopIcon && store.everyCount() == 2;
        return asExpected ? 0 : 1;
    });
    EXPECT_EQ(0, entryStatus);
    EXPECT_EQ(oldList, test::readFile(scheduleFile("ScheduleList.scl")));
    EXPECT_EQ(oldEntries, test::readFile(scheduleFile("Schedule1.scf")));
}

TEST(ScheduleStore, AnUnusableDataFolderIsAFailedWrite)
{
    test::TempFolder folder;
    test::writeFile(folder.file("plain-file"), "");
    test::ScopedEnvironment data("LUMIVANE_DATA_DIR", folder.file("plain-file"));
    CScheduleStore store;
    EXPECT_FALSE(store.LoadList());
    const ScheduleSaveResult result = store.AddSchedule("A");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(168, result.message);
    EXPECT_FALSE(result.detail.empty());
    EXPECT_EQ(1, store.listCount());
}

} // namespace
