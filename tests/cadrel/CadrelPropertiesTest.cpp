#include "cadrel/CadrelProperties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace cadrels {
namespace {

TEST(CadrelProperties, ListedValuesStayAndOthersFallBackToTheFirst)
{
    struct Case {
        const char* what;
        int (*valid)(int);
        int last;
    };
    const Case cases[] = {
        {"classify mode", ValidClassifyMode, 2},
        {"unfold direction", ValidUnfoldDirection, 3},
        {"sort key", ValidSortKey, 3},
        {"view mode", ValidViewMode, 2},
    };
    for (const Case& c : cases) {
        for (int value = 0; value <= c.last; ++value) {
            EXPECT_EQ(c.valid(value), value) << c.what;
        }
        for (const int value : {-1, c.last + 1, 99, std::numeric_limits<int>::min()}) {
            EXPECT_EQ(c.valid(value), 0) << c.what << " " << value;
        }
    }
}

TEST(CadrelProperties, OpacityAndZoomAreKeptInTheirRanges)
{
    EXPECT_DOUBLE_EQ(ClampOpacity(0.62), 0.62);
    EXPECT_DOUBLE_EQ(ClampOpacity(0.0), MinCadrelOpacity);
    EXPECT_DOUBLE_EQ(ClampOpacity(-3.0), MinCadrelOpacity);
    EXPECT_DOUBLE_EQ(ClampOpacity(1.5), MaxCadrelOpacity);

    EXPECT_FLOAT_EQ(ClampZoom(1.3f), 1.3f);
    EXPECT_FLOAT_EQ(ClampZoom(0.1f), MinCadrelZoom);
    EXPECT_FLOAT_EQ(ClampZoom(9.0f), MaxCadrelZoom);
    EXPECT_FLOAT_EQ(ClampZoom(std::numeric_limits<float>::infinity()), MaxCadrelZoom);
    EXPECT_FLOAT_EQ(ClampZoom(std::nanf("")), 1.0f);
}

// A cadrel built from a record shows and saves back what its setters would
// have made of each field.
TEST(CadrelProperties, ValidPropertiesMendsEveryFieldAndKeepsTheRest)
{
    CadrelProperties odd;
    odd.opacity = 7.0;
    odd.tint = 0x123456;
    odd.caccent = 0x654321;
    odd.pinned = true;
    odd.locked = true;
    odd.classifyMode = 5;
    odd.expandDir = -2;
    odd.sortBy = 4;
    odd.sortDesc = true;
    odd.viewMode = 3;
    odd.density = {std::nanf(""), 0.2f, 1.7f};
    odd.rule.enabled = true;

    const CadrelProperties valid = ValidProperties(odd);
    EXPECT_DOUBLE_EQ(valid.opacity, MaxCadrelOpacity);
    EXPECT_EQ(valid.classifyMode, 0);
    EXPECT_EQ(valid.expandDir, 0);
    EXPECT_EQ(valid.sortBy, 0);
    EXPECT_EQ(valid.viewMode, 0);
    EXPECT_FLOAT_EQ(valid.density[0], 1.0f);
    EXPECT_FLOAT_EQ(valid.density[1], MinCadrelZoom);
    EXPECT_FLOAT_EQ(valid.density[2], 1.7f);
    EXPECT_EQ(valid.tint, odd.tint);
    EXPECT_EQ(valid.caccent, odd.caccent);
    EXPECT_TRUE(valid.pinned);
    EXPECT_TRUE(valid.locked);
    EXPECT_TRUE(valid.sortDesc);
    EXPECT_EQ(valid.rule, odd.rule);

    // Valid properties come back unchanged.
    EXPECT_EQ(ValidProperties(valid), valid);
    EXPECT_EQ(ValidProperties(CadrelProperties{}), CadrelProperties{});
}

}  // namespace
}  // namespace cadrels
