// Mutated policy files: whatever the bytes, reading and questioning the
// policy must end without a crash or an exception, and what it answers must
// stay inside the documented ranges.
#include "JsonMutator.h"
#include "PropertySeeds.h"

#include "policy/PolicyDocument.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {


TEST(PolicyRobustness, MutatedPoliciesAreReadSafely)
{
    const std::vector<std::string> seeds = {
        R"({"forceTheme":"sombre","forceOpacity":40,"forceZoom":150,"forceGrid":12,"forceViewMode":"tiles",
            "lockCadrels":true,"lockQuit":1,"hide":["support","maj"],"lock":["theme"],"brandName":"Acme",
            "lockSettings":true,"adminPasswordSha256":"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
            "forceAccent":"#102030","support":false})",
        R"({"cadrels":[{"title":"Projets","folder":"{documents}\\P","x":0.5,"y":0.2,"w":0.3,"h":0.5,"opacity":80,
            "tint":"#ffeedd","viewMode":"liste","expandDir":2,"sortBy":"taille","sortDesc":1,"locked":true},
            {"tabs":[{"title":"Perso","personal":true},{"folder":"C:\\D","emblem":"svg:x","hostedExe":"a.exe"}]}]})",
        "\xEF\xBB\xBF{\"forceLanguage\":\"PT-br\",\"updates\":0,\"supportUrl\":\"https://x\"}",
    };
    for (const std::uint32_t seed : testing::PropertySeeds({20240613})) {
        testing::AnnounceSeed(seed);
        testing::JsonMutator mutator(seed);
        constexpr int Inputs = 30000;
        int inForce = 0;
        int withCadrels = 0;
        for (int i = 0; i < Inputs; ++i) {
            const std::string input = mutator.Mutate(seeds[static_cast<size_t>(i) % seeds.size()]);
            PolicyDocument policy;
            ASSERT_NO_THROW(policy = ParsePolicy(input));
            if (!policy.InForce()) {
                continue;
            }
            ++inForce;
            EXPECT_GE(policy.Theme(), -1);
            EXPECT_LE(policy.Theme(), 2);
            EXPECT_LE(policy.ViewMode(), 2);
            if (const auto opacity = policy.ForcedOpacity()) {
                EXPECT_TRUE(*opacity >= 0.15 && *opacity <= 1.0) << input;
            }
            if (const auto zoom = policy.ForcedZoom()) {
                EXPECT_TRUE(*zoom >= 0.6 && *zoom <= 2.0) << input;
            }
            const int grid = policy.Int("forceGrid", 0, 256);
            EXPECT_TRUE(grid == -1 || (grid >= 0 && grid <= 256));
            for (int section = 0; section < 16; ++section) {
                policy.IsSectionHiddenOrLocked(section);
            }
            EXPECT_FALSE(policy.BrandName().empty());
            withCadrels += policy.Predefined().empty() ? 0 : 1;
            for (const PredefinedCadrel& cadrel : policy.Predefined()) {
                EXPECT_FALSE(cadrel.tabs.empty());
                EXPECT_TRUE(cadrel.x >= 0 && cadrel.x <= 0.98 && cadrel.y >= 0 && cadrel.y <= 0.98) << input;
                EXPECT_TRUE(cadrel.w >= 0.05 && cadrel.w <= 1 && cadrel.h >= 0.05 && cadrel.h <= 1) << input;
                EXPECT_TRUE(cadrel.expandDir >= 0 && cadrel.expandDir <= 3);
                if (cadrel.opacityPercent) {
                    EXPECT_TRUE(*cadrel.opacityPercent >= 15 && *cadrel.opacityPercent <= 100) << input;
                }
            }
        }
        // The mutations must exercise both sides of the parser to mean anything.
        EXPECT_GT(inForce, Inputs / 100);
        EXPECT_LT(inForce, Inputs - Inputs / 10);
        EXPECT_GT(withCadrels, 0);
    }
}

}  // namespace
}  // namespace cadrels
