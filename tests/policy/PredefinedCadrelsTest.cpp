#include "policy/PolicyDocument.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

std::vector<PredefinedCadrel> Read(std::string_view cadrels)
{
    const PolicyDocument policy = ParsePolicy("{\"cadrels\":" + std::string(cadrels) + "}");
    EXPECT_TRUE(policy.InForce()) << cadrels;
    return policy.Predefined();
}

TEST(PredefinedCadrels, TabsWithAndWithoutTheTabsArray)
{
    const auto cadrels = Read(R"([
        {"title":"Projets","folder":"{documents}\\Projets","x":0.5},
        {"tabs":[{"title":"Perso","personal":true},{"title":"vide"},{"folder":"C:\\Data","emblem":"svg:star"},
                 {"hostedExe":"notepad.exe"},"not a tab"]},
        {"tabs":[{"title":"nothing to show"}]},
        {"title":"no folder"},
        7, "x", null,
        {"tabs":[]}
    ])");
    ASSERT_EQ(cadrels.size(), 2u) << "tab-less cadrels and non-objects are skipped";
    ASSERT_EQ(cadrels[0].tabs.size(), 1u);
    EXPECT_EQ(cadrels[0].tabs[0], (PredefinedTab{"Projets", "{documents}\\Projets", "", "", false}));
    EXPECT_EQ(cadrels[0].x, 0.5);
    ASSERT_EQ(cadrels[1].tabs.size(), 3u);
    EXPECT_TRUE(cadrels[1].tabs[0].personal);
    EXPECT_EQ(cadrels[1].tabs[1], (PredefinedTab{"", "C:\\Data", "svg:star", "", false}));
    EXPECT_EQ(cadrels[1].tabs[2].hostedExe, "notepad.exe");
    EXPECT_TRUE(Read(R"({"title":"x"})").empty()) << "not an array";
}

TEST(PredefinedCadrels, GeometryIsClampedAndDefaulted)
{
    const auto cadrels = Read(R"([
        {"folder":"a"},
        {"folder":"a","x":-1,"y":5,"w":0,"h":7},
        {"folder":"a","x":"0.5","y":null,"w":true,"h":0.3}
    ])");
    ASSERT_EQ(cadrels.size(), 3u);
    EXPECT_EQ((std::array{cadrels[0].x, cadrels[0].y, cadrels[0].w, cadrels[0].h}),
              (std::array{0.1, 0.1, 0.25, 0.4}));
    EXPECT_EQ((std::array{cadrels[1].x, cadrels[1].y, cadrels[1].w, cadrels[1].h}),
              (std::array{0.0, 0.98, 0.05, 1.0}));
    EXPECT_EQ((std::array{cadrels[2].x, cadrels[2].y, cadrels[2].w, cadrels[2].h}),
              (std::array{0.1, 0.1, 0.25, 0.3}));
}

TEST(PredefinedCadrels, WordOrNumberProperties)
{
    struct Case {
        const char* properties;
        std::optional<int> viewMode;
        int expandDir;
        std::optional<int> sortBy;
    };
    const Case cases[] = {
        {R"("viewMode":"Liste","expandDir":"HAUT","sortBy":"taille")", 1, 1, 3},
        {R"("viewMode":2,"expandDir":3.9,"sortBy":"2")", 2, 3, 2},
        {R"("viewMode":"icones","expandDir":"gauche","sortBy":"nom")", 0, 2, 0},
        {R"("viewMode":"tuiles","expandDir":"right","sortBy":1)", 2, 3, 1},
        {R"("viewMode":5,"expandDir":"down","sortBy":"colour")", std::nullopt, 0, std::nullopt},
        {R"("viewMode":true,"expandDir":-1,"sortBy":null)", std::nullopt, 0, std::nullopt},
        {R"("expandDir":1e40)", std::nullopt, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto cadrels = Read(std::string(R"([{"folder":"a",)") + c.properties + "}]");
        ASSERT_EQ(cadrels.size(), 1u);
        EXPECT_EQ(cadrels[0].viewMode, c.viewMode) << c.properties;
        EXPECT_EQ(cadrels[0].expandDir, c.expandDir) << c.properties;
        EXPECT_EQ(cadrels[0].sortBy, c.sortBy) << c.properties;
    }
}

TEST(PredefinedCadrels, ColoursOpacityAndFlags)
{
    const auto cadrels = Read(R"([
        {"folder":"a","opacity":5,"tint":"#112233","accent":"bad","sortDesc":1,"pinned":true,"locked":true,
         "rolledUp":"yes"},
        {"folder":"a","opacity":"80","tint":123},
        {"folder":"a","opacity":250.5}
    ])");
    ASSERT_EQ(cadrels.size(), 3u);
    EXPECT_EQ(cadrels[0].opacityPercent, 15.0);
    EXPECT_EQ(cadrels[0].tint, std::optional<Color>(0x332211u));
    EXPECT_EQ(cadrels[0].accent, std::nullopt);
    EXPECT_TRUE(cadrels[0].sortDesc && cadrels[0].pinned && cadrels[0].locked);
    EXPECT_FALSE(cadrels[0].rolledUp);
    EXPECT_EQ(cadrels[1].opacityPercent, std::nullopt);
    EXPECT_EQ(cadrels[1].tint, std::nullopt);
    EXPECT_EQ(cadrels[2].opacityPercent, 100.0);
}

}  // namespace
}  // namespace cadrels
