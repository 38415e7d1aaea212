#include "online/DownloadProgress.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(DownloadProgress, ContentLengthIsSixtyFourBitsAndZeroMeansUnknown)
{
    EXPECT_EQ(ParseContentLength(L"1234"), 1234u);
    EXPECT_EQ(ParseContentLength(L" 5000000000 "), 5000000000ull);
    EXPECT_EQ(ParseContentLength(L"18446744073709551615"), 18446744073709551615ull);
    EXPECT_FALSE(ParseContentLength(L"18446744073709551616"));
    EXPECT_FALSE(ParseContentLength(L"0"));
    EXPECT_FALSE(ParseContentLength(L""));
    EXPECT_FALSE(ParseContentLength(L"-5"));
    EXPECT_FALSE(ParseContentLength(L"12abc"));
}

TEST(DownloadProgress, PercentIsClampedAndNeverDividesByZero)
{
    struct Case {
        std::uint64_t received;
        std::optional<std::uint64_t> length;
        int percent;
    };
    const Case cases[] = {
        {0, std::nullopt, -1},
        {500, std::nullopt, -1},
        {500, 0, -1},
        {0, 1000, 0},
        {999, 1000, 99},
        {1000, 1000, 100},
        {5000, 1000, 100},
        {2500000000ull, 5000000000ull, 50},
        {18446744073709551614ull, 18446744073709551615ull, 99},
        {18446744073709551615ull, 18446744073709551615ull, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressPercent(c.received, c.length), c.percent) << c.received;
    }
}

}  // namespace
}  // namespace cadrels
