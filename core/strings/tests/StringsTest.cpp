#include "Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, TableIsOrderedAndFound)
{
    EXPECT_TRUE(lumivane::messageTableIsSorted());
    EXPECT_STREQ("Cannot create schedule file.", lumivane::messageText(168));
    EXPECT_STREQ("", lumivane::messageText(99999));
    EXPECT_EQ("Found 3 monitor(s).", lumivane::formatMessage(159, 3));
    EXPECT_EQ("Send mail error. (Error code = -2)", lumivane::formatMessage(257, -2));
}

} // namespace
