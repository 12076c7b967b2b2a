#include "Strings.h"
#include "TextEscape.h"

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

namespace {

TEST(TextEscape, ControlsAndDirectionOverridesAreShownNotObeyed)
{
    using lumivane::escapeForTerminal;
    EXPECT_EQ("Plain text, Ünïcode €", escapeForTerminal("Plain text, Ünïcode €"));
    EXPECT_EQ("\\u001b]0;owned\\u0007\\u000d\\u007f", escapeForTerminal("\x1b]0;owned\a\r\x7f"));
    EXPECT_EQ("\\u009b2J a\\u202eb\\u2066c\\u2069", escapeForTerminal("\xC2\x9B"
                                                                      "2J a\u202Eb\u2066c\u2069"));
    EXPECT_EQ("\\\\x41", escapeForTerminal("\\x41")) << "a backslash in the text cannot fake an escape";
    EXPECT_EQ("\\xff\\xc0\\xaf\\xed\\xa0\\x80", escapeForTerminal("\xFF\xC0\xAF\xED\xA0\x80"));

    using lumivane::validUtf8;
    EXPECT_EQ("ok € \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.", validUtf8("ok € \xFF\xE2\x82."));
    EXPECT_EQ("\xEF\xBF\xBD\xEF\xBF\xBD", validUtf8("\xC0\xAF")) << "overlong forms are not UTF-8";
}

} // namespace
