// executeCommandItem over a scripted link: the keys and texts it hands to the link, what it stores from
// replies, and what it leaves alone when the link fails.
#include "CommandExecution.h"

#include "corvalink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

// The scripted link: records each call and answers with the next status and values.
struct LINK_OBJECT
{
    std::vector<std::string> calls; // "key=value" for sets, "key" for queries
    int32_t status = LINK_OK;
    int32_t first = 0;
    int32_t second = 0;
    std::string reply;
};

extern "C" {

int32_t LinkSet(LINK_HANDLE h, const char* key, const char* value, int32_t, int32_t, int32_t)
{
    h->calls.push_back(std::string(key) + "=" + value);
    return h->status;
}

int32_t LinkGetNumber(LINK_HANDLE h, const char* key, int32_t* value, int32_t, int32_t, int32_t)
{
    h->calls.emplace_back(key);
    if (h->status == LINK_OK) {
        *value = h->first;
    }
    return h->status;
}

int32_t LinkGetPair(LINK_HANDLE h, const char* key, int32_t* first, int32_t* second, int32_t, int32_t, int32_t)
{
    h->calls.emplace_back(key);
    if (h->status == LINK_OK) {
        *first = h->first;
        *second = h->second;
    }
    return h->status;
}

int32_t LinkGetText(LINK_HANDLE h, const char* key, char* buffer, int32_t size)
{
    h->calls.emplace_back(key);
    if (h->status == LINK_OK) {
        std::snprintf(buffer, size_t(size), "%s", h->reply.c_str());
    }
    return h->status;
}

} // extern "C"

namespace lumivane {
namespace {

CommandItem item(CommandItemKind kind, const char* text, void* data = nullptr, int32_t textLimit = 0)
{
    CommandItem result{};
    result.kind = kind;
    std::snprintf(result.text, sizeof result.text, "%s", text);
    result.data = data;
    result.textLimit = textLimit;
    return result;
}

TEST(CommandExecutionTest, SettingsGoThroughTheCommandKeyAndReturnTheLinkStatus)
{
    LINK_OBJECT link;
    CommandItem power = item(CommandItemKind::SendText, "POWR0001");
    EXPECT_EQ(executeCommandItem(&link, power, 0), LINK_OK);
    link.status = LINK_MONITOR_ERROR;
    EXPECT_EQ(executeCommandItem(&link, power, 0), LINK_MONITOR_ERROR);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"command=POWR0001", "command=POWR0001"}));
}

TEST(CommandExecutionTest, NumberAndPairQueriesStoreOnlyOnSuccess)
{
    LINK_OBJECT link;
    link.first = 7;
    link.second = -3;
    int32_t number = 99;
    CommandItem input = item(CommandItemKind::ReadNumber, "INPS????", &number);
    EXPECT_EQ(executeCommandItem(&link, input, 0), LINK_OK);
    EXPECT_EQ(number, 7);
    int32_t pair[2] = {0, 0};
    CommandItem clock = item(CommandItemKind::ReadPair, "PXCK????", pair);
    EXPECT_EQ(executeCommandItem(&link, clock, 0), LINK_OK);
    EXPECT_EQ(pair[0], 7);
    EXPECT_EQ(pair[1], -3);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"command:INPS????", "command:PXCK????"}));

    link.status = LINK_TIMEOUT;
    link.first = 1;
    EXPECT_EQ(executeCommandItem(&link, input, 0), LINK_TIMEOUT);
    EXPECT_EQ(executeCommandItem(&link, clock, 0), LINK_TIMEOUT);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(pair[0], 7);

    // A query without storage is still sent; its value is dropped.
    link.status = LINK_OK;
    CommandItem bare = item(CommandItemKind::ReadNumber, "HWST0000");
    EXPECT_EQ(executeCommandItem(&link, bare, 0), LINK_OK);
    EXPECT_EQ(link.calls.back(), "command:HWST0000");
}

TEST(CommandExecutionTest, TextQueriesAreCutToTheLimitWithoutSplittingCharacters)
{
    LINK_OBJECT link;
    link.reply = "QX-T988";
    char model[100];
    std::memset(model, 'x', sizeof model);
    CommandItem query = item(CommandItemKind::ReadText, "INF1????", model, 5);
    EXPECT_EQ(executeCommandItem(&link, query, 0), LINK_OK);
    EXPECT_STREQ(model, "QX-T");
    EXPECT_EQ(model[5], 'x') << "nothing written past the limit";

    link.reply = "ab\xC3\xA9";
    query.textLimit = 4;
    EXPECT_EQ(executeCommandItem(&link, query, 0), LINK_OK);
    EXPECT_STREQ(model, "ab") << "a two-byte character that does not fit is left out whole";

    link.status = LINK_LOCKED;
    link.reply = "changed";
    EXPECT_EQ(executeCommandItem(&link, query, 0), LINK_LOCKED);
    EXPECT_STREQ(model, "ab");

    link.status = LINK_OK;
    query.textLimit = 0;
    EXPECT_EQ(executeCommandItem(&link, query, 0), LINK_OK);
    EXPECT_STREQ(model, "ab") << "a zero limit stores nothing";
}

TEST(CommandExecutionTest, SetClockSendsAndKeepsTheDateCommandOfNow)
{
    LINK_OBJECT link;
    CommandItem clock = item(CommandItemKind::SetClock, "");
    auto dateNow = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local = {};
        localtime_r(&now, &local);
        return dateCommand(local);
    };
    const std::string before = dateNow();
    EXPECT_EQ(executeCommandItem(&link, clock, 0), LINK_OK);
    const std::string after = dateNow();
    EXPECT_TRUE(clock.text == before || clock.text == after) << clock.text;
    ASSERT_EQ(link.calls.size(), 1u);
    EXPECT_EQ(link.calls[0], std::string("command=") + clock.text);

    link.status = LINK_TIMEOUT;
    EXPECT_EQ(executeCommandItem(&link, clock, 0), LINK_TIMEOUT);
    EXPECT_EQ(std::strncmp(clock.text, "DATE", 4), 0) << "the report still shows the DATE command";
}

TEST(CommandExecutionTest, PerMonitorItemsFillTheFormatWithTheMonitorsValue)
{
    LINK_OBJECT link;
    int32_t positions[] = {3, -5, 12};
    CommandItem place = item(CommandItemKind::SendPerMonitor, "EPOS%04d", positions);
    EXPECT_EQ(executeCommandItem(&link, place, 0), LINK_OK);
    EXPECT_EQ(executeCommandItem(&link, place, 1), LINK_OK);
    EXPECT_EQ(executeCommandItem(&link, place, 2), LINK_OK);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"command=EPOS0003", "command=EPOS-005", "command=EPOS0012"}));
    EXPECT_STREQ(place.text, "EPOS%04d") << "the format stays for the next monitor";
}

TEST(CommandExecutionTest, MalformedPerMonitorItemsFailWithoutTouchingTheLink)
{
    LINK_OBJECT link;
    int32_t values[] = {1};
    CommandItem badFormat = item(CommandItemKind::SendPerMonitor, "EPOS%s", values);
    EXPECT_EQ(executeCommandItem(&link, badFormat, 0), LINK_ERROR);
    CommandItem noData = item(CommandItemKind::SendPerMonitor, "EPOS%04d");
    EXPECT_EQ(executeCommandItem(&link, noData, 0), LINK_ERROR);
    CommandItem negative = item(CommandItemKind::SendPerMonitor, "EPOS%04d", values);
    EXPECT_EQ(executeCommandItem(&link, negative, -1), LINK_ERROR);
    EXPECT_TRUE(link.calls.empty());
}

TEST(CommandExecutionTest, CustomAndUnknownKindsDoNothingAndSucceed)
{
    LINK_OBJECT link;
    link.status = LINK_ERROR;
    CommandItem custom = item(CommandItemKind::Custom, "POWR????");
    EXPECT_EQ(executeCommandItem(&link, custom, 0), LINK_OK);
    for (int32_t kind : {4, 6, 7, 10, -1}) {
        CommandItem other = item(static_cast<CommandItemKind>(kind), "POWR0001");
        EXPECT_EQ(executeCommandItem(&link, other, 0), LINK_OK) << kind;
    }
    EXPECT_TRUE(link.calls.empty());
}

TEST(CommandExecutionTest, AnUnterminatedTextIsCutAtTheItemsEnd)
{
    LINK_OBJECT link;
    CommandItem full = item(CommandItemKind::SendText, "");
    std::memset(full.text, 'A', sizeof full.text);
    EXPECT_EQ(executeCommandItem(&link, full, 0), LINK_OK);
    ASSERT_EQ(link.calls.size(), 1u);
    EXPECT_EQ(link.calls[0].size(), std::string("command=").size() + sizeof full.text - 1);
}

} // namespace
} // namespace lumivane
