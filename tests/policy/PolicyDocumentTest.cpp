// The questions the program asks the policy, answered from the parsed file.
#include "policy/PolicyDocument.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

PolicyDocument Policy(std::string_view text)
{
    PolicyDocument policy = ParsePolicy(text);
    EXPECT_TRUE(policy.InForce()) << text;
    return policy;
}

TEST(PolicyDocument, OnlyAnObjectRootIsAPolicy)
{
    EXPECT_TRUE(ParsePolicy("\xEF\xBB\xBF{\"lockQuit\":true}").IsQuitLocked()) << "a byte-order mark is dropped";
    EXPECT_TRUE(ParsePolicy("{}").InForce());
    for (std::string_view text : {"", "\xEF\xBB\xBF", "\xEF\xBB", "[{\"lockQuit\":true}]", "\"x\"", "null", "3",
                                  "{\"lockQuit\":true", "\xEF\xBB\xBF\xEF\xBB\xBF{}"}) {
        const PolicyDocument policy = ParsePolicy(text);
        EXPECT_FALSE(policy.InForce()) << text;
        EXPECT_FALSE(policy.IsQuitLocked());
        EXPECT_EQ(policy.BrandName(), "Cadrels");
        EXPECT_TRUE(policy.Predefined().empty());
    }
}

TEST(PolicyDocument, ForcedValuesAndWrongTypes)
{
    const PolicyDocument policy = Policy(R"({"forceTheme":"SOMBRE","forceViewMode":"Liste","forceOpacity":5,
        "forceZoom":250,"forceGrid":-4,"forceLanguage":"PT-br","forceAccent":"#102030","brandName":"Acme"})");
    EXPECT_EQ(policy.Theme(), 1);
    EXPECT_EQ(policy.ViewMode(), 1);
    EXPECT_EQ(policy.ForcedOpacity(), 0.15);
    EXPECT_EQ(policy.ForcedZoom(), 2.0);
    EXPECT_EQ(policy.Int("forceGrid", 0, 256), 0);
    EXPECT_EQ(policy.LanguageCode(), "pt-br");
    EXPECT_EQ(policy.Colour("forceAccent"), std::optional<Color>(0x302010u));
    EXPECT_EQ(policy.BrandName(), "Acme");

    const PolicyDocument wrong = Policy(R"({"forceTheme":"purple","forceViewMode":1,"forceOpacity":"50",
        "forceZoom":null,"forceLanguage":7,"brandName":false,"lockCadrels":"yes","lockQuit":1})");
    EXPECT_EQ(wrong.Theme(), -1);
    EXPECT_EQ(wrong.ViewMode(), -1) << "a number is not a word for the forced view";
    EXPECT_EQ(wrong.ForcedOpacity(), std::nullopt);
    EXPECT_EQ(wrong.ForcedZoom(), std::nullopt);
    EXPECT_EQ(wrong.LanguageCode(), "");
    EXPECT_EQ(wrong.BrandName(), "Cadrels");
    EXPECT_FALSE(wrong.AreCadrelsLocked()) << "a string reads as false";
    EXPECT_TRUE(wrong.IsQuitLocked());
}

TEST(PolicyDocument, SectionsHiddenAndLockedThroughBothMechanisms)
{
    const PolicyDocument keys = Policy(R"({"support":false,"updates":0,"lockTheme":true})");
    EXPECT_TRUE(keys.IsSectionHidden(SectionSupport));
    EXPECT_TRUE(keys.IsSectionHidden(SectionUpdates));
    EXPECT_TRUE(keys.IsSectionLocked(SectionAppearance));
    EXPECT_FALSE(keys.IsSectionHidden(SectionAppearance));
    EXPECT_FALSE(keys.IsSectionLocked(SectionSupport));
    EXPECT_TRUE(keys.IsSectionHiddenOrLocked(SectionAppearance));

    const PolicyDocument shown = Policy(R"({"support":true,"updates":"no","lockTheme":false})");
    EXPECT_FALSE(shown.IsSectionHidden(SectionSupport));
    EXPECT_TRUE(shown.IsSectionHidden(SectionUpdates)) << "a string reads as false";
    EXPECT_FALSE(shown.IsSectionLocked(SectionAppearance));

    const PolicyDocument lists = Policy(R"({"hide":["Support","MAJ",3,"nothing"],"lock":["couleurs","Raccourcis"],
        "support":true})");
    EXPECT_TRUE(lists.IsSectionHidden(SectionSupport)) << "the list hides it even when the key shows it";
    EXPECT_TRUE(lists.IsSectionHidden(SectionUpdates));
    EXPECT_TRUE(lists.IsSectionLocked(SectionAppearance));
    EXPECT_TRUE(lists.IsSectionLocked(SectionHotkeys));
    EXPECT_FALSE(lists.IsSectionHidden(SectionPages));
    EXPECT_FALSE(lists.IsSectionLocked(SectionSupport));
    EXPECT_FALSE(Policy(R"({"hide":"support"})").IsSectionHidden(SectionSupport)) << "not an array";
}

TEST(PolicyDocument, SettingsLockNeedsAPassword)
{
    EXPECT_FALSE(Policy(R"({"lockSettings":true})").AreSettingsLocked());
    EXPECT_FALSE(Policy(R"({"lockSettings":true,"adminPasswordSha256":""})").AreSettingsLocked());
    EXPECT_FALSE(Policy(R"({"lockSettings":false,"adminPasswordSha256":"ab"})").AreSettingsLocked());
    EXPECT_TRUE(Policy(R"({"lockSettings":1,"adminPasswordSha256":"ab"})").AreSettingsLocked());
}

TEST(PolicyDocument, DigestsMatchOnlyWhenEqual)
{
    const std::string digest = "967520ae23e8ee14888bae72809031b98398ae4a636773e18fff917d77679334";
    EXPECT_TRUE(DigestsMatch(digest, digest));
    std::string last = digest;
    last.back() = '5';
    EXPECT_FALSE(DigestsMatch(digest, last));
    std::string first = digest;
    first.front() = '8';
    EXPECT_FALSE(DigestsMatch(digest, first));
    EXPECT_FALSE(DigestsMatch(digest, digest.substr(0, 63)));
    EXPECT_FALSE(DigestsMatch("", "a"));
    EXPECT_TRUE(DigestsMatch("", ""));
}

}  // namespace
}  // namespace cadrels
