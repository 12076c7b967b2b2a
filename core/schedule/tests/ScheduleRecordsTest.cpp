#include "ScheduleRecords.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

ST_SCHEDULE_ESPECIAL term(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay)
{
    return {1, 8, 0, 1, 20, 0, 0, fromYear, fromMonth, fromDay, toYear, toMonth, toDay};
}

TEST(ScheduleRecords, TimesOutOfRangeAreProblemsOnlyWhenTheyAreUsed)
{
    EXPECT_TRUE(isValidEntry(ST_SCHEDULE_EVERY{1, 23, 59, 1, 0, 0, 0, 127}));
    EXPECT_EQ("power-on time out of range", entryProblem(ST_SCHEDULE_EVERY{1, 24, 0, 0, 0, 0, 0, 127}));
    EXPECT_EQ("power-off time out of range", entryProblem(ST_SCHEDULE_EVERY{1, 7, 0, 1, 7, 60, 0, 127}));
    EXPECT_EQ("power-off time out of range", entryProblem(ST_SCHEDULE_EVERY{0, 0, 0, 1, -1, 0, 0, 127}));
    // A time whose flag is clear is never carried out, whatever its numbers.
    EXPECT_TRUE(isValidEntry(ST_SCHEDULE_EVERY{0, 99, 99, 0, -5, 0, 0, 127}));

    EXPECT_TRUE(isValidEntry(ST_MAIL_SCHEDULE{0, 0, 0}));
    EXPECT_FALSE(isValidEntry(ST_MAIL_SCHEDULE{23, 60, 127}));
    EXPECT_FALSE(isValidEntry(ST_MAIL_SCHEDULE{-1, 0, 127}));
}

TEST(ScheduleRecords, DatesMustExistInTheCalendar)
{
    EXPECT_TRUE(isValidEntry(term(2011, 12, 29, 2012, 1, 3)));
    EXPECT_TRUE(isValidEntry(term(2024, 2, 29, 2024, 2, 29)));
    EXPECT_TRUE(isValidEntry(term(2000, 2, 29, 2000, 2, 29)));
    EXPECT_EQ("first day is not a valid date", entryProblem(term(2023, 2, 29, 2023, 3, 1)));
    EXPECT_EQ("first day is not a valid date", entryProblem(term(1900, 2, 29, 1900, 3, 1)));
    EXPECT_EQ("first day is not a valid date", entryProblem(term(1899, 12, 31, 2000, 1, 1)));
    EXPECT_EQ("last day is not a valid date", entryProblem(term(2011, 4, 1, 2011, 4, 31)));
    EXPECT_EQ("last day is not a valid date", entryProblem(term(2011, 4, 1, 2011, 0, 1)));
    EXPECT_EQ("last day is not a valid date", entryProblem(term(2011, 4, 1, 10000, 1, 1)));
    EXPECT_EQ("first day is not a valid date", entryProblem(ST_SCHEDULE_ESPECIAL{}));
    // A term that ends before it starts is no error: it simply never applies.
    EXPECT_TRUE(isValidEntry(term(2012, 1, 3, 2011, 12, 29)));
}

TEST(ScheduleRecords, DisplayTexts)
{
    EXPECT_EQ("08:05", scheduleTimeText(1, 8, 5));
    EXPECT_EQ("-", scheduleTimeText(0, 8, 5));
    EXPECT_EQ("2012/01/03", scheduleDateText(2012, 1, 3));
    EXPECT_EQ("0000/00/00", scheduleDateText(0, 0, 0));
}

} // namespace
