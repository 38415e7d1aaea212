#include "model/Theme.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(Theme, EffectiveDarkFollowsModeThenSystem)
{
    struct Case {
        int mode;
        std::optional<DWORD> system;
        bool dark;
    };
    const Case cases[] = {
        {1, 1, true},  {1, std::nullopt, true}, {2, 0, false}, {2, std::nullopt, false},
        {0, 0, true},  {0, 1, false},           {0, std::nullopt, true},
        {7, 1, false}, {-1, 0, true},           {0, 5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EffectiveDarkTheme(c.mode, c.system), c.dark) << "mode " << c.mode;
    }
}

TEST(Theme, ApplyThemeSwitchesPaletteAndBrushes)
{
    ApplyTheme(2);
    EXPECT_FALSE(IsDarkTheme());
    EXPECT_EQ(CurrentPalette().windowBackground, RGB(246, 246, 248));
    LOGBRUSH brush{};
    ASSERT_NE(WindowBackgroundBrush(), nullptr);
    ASSERT_EQ(GetObjectW(WindowBackgroundBrush(), sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, RGB(246, 246, 248));
    ASSERT_EQ(GetObjectW(BorderBrush(), sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, RGB(202, 202, 210));

    ApplyTheme(1);
    EXPECT_TRUE(IsDarkTheme());
    ASSERT_EQ(GetObjectW(InputBackgroundBrush(), sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, RGB(46, 46, 56));
    EXPECT_EQ(CurrentPalette().menuSecondaryText, RGB(120, 120, 132));
}

TEST(Theme, SystemModeIsDarkWithoutTheRegistryValue)
{
    // The test prefix has no Personalize key, as Wine never creates it.
    if (ReadAppsUseLightTheme().has_value()) {
        GTEST_SKIP() << "this machine has AppsUseLightTheme";
    }
    ApplyTheme(0);
    EXPECT_TRUE(IsDarkTheme());
}

TEST(Theme, UserColorsOverrideThePaletteOnlyWhenNotZero)
{
    ApplyTheme(1);
    SetAccent(0);
    SetCadrelBackground(0);
    EXPECT_EQ(AccentColor(), RGB(96, 168, 255));
    EXPECT_EQ(CadrelBackgroundColor(), RGB(18, 18, 23));
    SetAccent(RGB(200, 10, 20));
    SetCadrelBackground(RGB(1, 2, 3));
    EXPECT_EQ(AccentColor(), RGB(200, 10, 20));
    EXPECT_EQ(CadrelBackgroundColor(), RGB(1, 2, 3));
    ApplyTheme(2);
    EXPECT_EQ(AccentColor(), RGB(200, 10, 20)) << "a chosen colour survives a theme change";
    SetAccent(0);
    EXPECT_EQ(AccentColor(), RGB(0, 120, 215));
    SetCadrelBackground(0);
    EXPECT_EQ(CadrelBackgroundColor(), RGB(236, 236, 240));
}

}  // namespace
}  // namespace cadrels
