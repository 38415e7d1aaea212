#include "cadrel/CadrelFooter.h"

#include <gtest/gtest.h>

#include <limits>

namespace cadrels {
namespace {

constexpr int French = 0;
constexpr int English = 1;
constexpr int German = 2;

TEST(FooterText, FrenchCountsZeroAsSingularAndTheOthersAsPlural)
{
    EXPECT_EQ(FooterWordId(0, French), TextId::ItemSingular);
    EXPECT_EQ(FooterWordId(1, French), TextId::ItemSingular);
    EXPECT_EQ(FooterWordId(2, French), TextId::ItemPlural);
    EXPECT_EQ(FooterWordId(0, English), TextId::ItemPlural);
    EXPECT_EQ(FooterWordId(1, English), TextId::ItemSingular);
    EXPECT_EQ(FooterWordId(2, English), TextId::ItemPlural);
    EXPECT_EQ(FooterWordId(0, German), TextId::ItemPlural);
}

TEST(FooterText, TheSizeFollowsOnlyWhenThereIsOne)
{
    EXPECT_EQ(ComposeFooterText(0, L"élément", L""), L"0 élément");
    EXPECT_EQ(ComposeFooterText(1, L"item", L""), L"1 item");
    EXPECT_EQ(ComposeFooterText(12, L"éléments", L"3,4 Ko"), L"12 éléments   \u00B7   3,4 Ko");
}

TEST(FooterText, TheTotalSizeSaturates)
{
    std::vector<CadrelItem> items(3);
    items[0].size = 10;
    items[1].size = 32;
    EXPECT_EQ(TotalItemSize(items), 42u);
    items[2].size = std::numeric_limits<std::uint64_t>::max() - 20;
    EXPECT_EQ(TotalItemSize(items), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(TotalItemSize({}), 0u);
}

}  // namespace
}  // namespace cadrels
