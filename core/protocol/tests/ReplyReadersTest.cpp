// Reading ID lists and MAC addresses out of replies.
#include "ReplyReaders.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace lumivane {
namespace {

std::vector<int> readAll(std::string_view text)
{
    std::vector<int> numbers;
    size_t position = 0;
    while (std::optional<int> number = readListNumber(text, position)) {
        numbers.push_back(*number);
        if (numbers.size() > text.size()) {
            ADD_FAILURE() << "the reader does not advance";
            break;
        }
    }
    EXPECT_EQ(position, text.size());
    return numbers;
}

TEST(ReplyReadersTest, NumberListWalksCommaSeparatedIds)
{
    EXPECT_EQ(readAll("1,2,3"), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(readAll("0,0,0"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(readAll(" 12, 5 ,255"), (std::vector<int>{12, 5, 255}));
    EXPECT_EQ(readAll("7"), (std::vector<int>{7}));
    EXPECT_EQ(readAll("1,2,"), (std::vector<int>{1, 2}));
    EXPECT_TRUE(readAll("").empty());
    EXPECT_TRUE(readAll(",,,").empty());
    EXPECT_TRUE(readAll("ERR").empty());
    // Skipping to the first digit passes over empty fields and text.
    EXPECT_EQ(readAll("1,,x,4"), (std::vector<int>{1, 4}));
    EXPECT_EQ(readAll("#3a,4"), (std::vector<int>{3, 4}));
}

TEST(ReplyReadersTest, NumberListEdges)
{
    EXPECT_EQ(readAll("99999999999,1"), (std::vector<int>{INT_MAX, 1})) << "clamped, not overflowed";
    size_t position = 100;
    EXPECT_FALSE(readListNumber("1,2", position).has_value()) << "a position past the end reads nothing";
    position = 0;
    EXPECT_EQ(readListNumber("12,3", position), 12);
    EXPECT_EQ(position, 3u) << "past the comma";
    EXPECT_EQ(readListNumber("12,3", position), 3);
    EXPECT_EQ(position, 4u);
}

TEST(ReplyReadersTest, MacAddressInSixGroups)
{
    EXPECT_EQ(formatMacAddress("0012AB34CD56"), "00-12-AB-34-CD-56");
    EXPECT_EQ(formatMacAddress("0012AB34CD56FF"), "00-12-AB-34-CD-56") << "only the first twelve characters";
    EXPECT_EQ(formatMacAddress("0012AB34CD5"), "");
    EXPECT_EQ(formatMacAddress(""), "");
}

} // namespace
} // namespace lumivane
