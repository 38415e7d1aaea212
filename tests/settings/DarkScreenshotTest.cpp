// What the user sees: screenshots of a menu with a submenu open and of the
// prompts, in the dark and the light palette, checked at chosen pixels and
// saved beside the test program for a person to look at.
#include "DesktopDriver.h"
#include "MenuItems.h"
#include "ScreenImage.h"

#include "model/Theme.h"
#include "settings/DarkMenu.h"
#include "settings/DarkPrompt.h"
#include "settings/DarkStyle.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace cadrels::testing {
namespace {

constexpr wchar_t MenuClass[] = L"Cadrels.DarkMenu";
constexpr wchar_t PromptClass[] = L"Cadrels.DarkPrompt";

struct Theme {
    int mode;
    const wchar_t* name;
};
constexpr Theme Themes[] = {{1, L"dark"}, {2, L"light"}};

void PrintTo(const Theme& theme, std::ostream* out)
{
    *out << (theme.mode == 1 ? "dark" : "light");
}

// Colours compared as COLORREF values, printed as r,g,b on failure.
std::string Rgb(COLORREF colour)
{
    if (colour == CLR_INVALID) {
        return "invalid";
    }
    return std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
           std::to_string(GetBValue(colour));
}
#define EXPECT_COLOR(actual, expected, what) EXPECT_EQ(Rgb(actual), Rgb(expected)) << (what)

// Entry centres at 96 DPI below the window's top: 21, 51, 81, the separator
// at 100, then 120 and 150.
std::vector<DarkMenuItem> ShowcaseItems()
{
    DarkMenuItem pinned = Entry(L"Épingler", 2);
    pinned.checked = true;
    DarkMenuItem grid = Entry(L"Vue en grille", 3);
    grid.radio = true;
    DarkMenuItem paste = Entry(L"Coller", 4);
    paste.enabled = false;
    DarkMenuItem colour = Entry(L"Couleur & opacité", 22);
    colour.checked = true;
    DarkMenuItem more = Entry(L"Plus", 5);
    more.children = {Entry(L"Renommer", 21), colour, Entry(L"Supprimer la cadrel", 23)};
    return {Entry(L"Ouvrir", 1), pinned, grid, DarkMenuItem::Separator(), paste, more};
}

std::wstring ShotPath(const wchar_t* what, const Theme& theme)
{
    return std::wstring(what) + L"-" + theme.name + L".bmp";
}

RECT Union(const RECT& a, const RECT& b)
{
    RECT both{};
    UnionRect(&both, &a, &b);
    InflateRect(&both, 8, 8);
    return both;
}

class DarkScreenshot : public ::testing::TestWithParam<Theme> {
protected:
    void SetUp() override
    {
        ApplyTheme(GetParam().mode);
        SetAccent(0);
    }
};

TEST_P(DarkScreenshot, MenuWithOpenSubmenuUsesThePalette)
{
    const Palette& palette = CurrentPalette();
    const Color accent = AccentColor();
    ScreenImage shot;
    RECT root{};
    RECT sub{};
    ScriptThread script(MenuClass, [&](HWND rootWindow) {
        root = WindowRect(rootWindow);
        PostMouse(rootWindow, WM_MOUSEMOVE, {root.left + 60, root.top + 150});
        const HWND subWindow = WaitForNewWindow(MenuClass, {rootWindow}, 2000);
        ASSERT_NE(subWindow, nullptr);
        sub = WindowRect(subWindow);
        PostMouse(rootWindow, WM_MOUSEMOVE, {sub.left + 60, sub.top + 21});
        Sleep(500);
        ASSERT_TRUE(shot.Capture());
        PostKey(rootWindow, VK_ESCAPE);
        PostKey(rootWindow, VK_ESCAPE);
    });
    EXPECT_EQ(ShowDarkMenu(nullptr, ShowcaseItems(), 120, 110, 96), 0);
    EXPECT_FALSE(script.Finish());
    EXPECT_TRUE(shot.SaveBmp(ShotPath(L"menu", GetParam()), Union(root, sub)));

    const int middle = (root.left + root.right) / 2;
    EXPECT_COLOR(shot.Pixel(middle, root.top + 3), palette.windowBackground, "root background");
    EXPECT_COLOR(shot.Pixel(middle, root.top), palette.border, "root frame");
    EXPECT_COLOR(shot.Pixel(root.left + 8, root.top + 21), palette.windowBackground, "an entry that is not hot");
    EXPECT_COLOR(shot.Pixel(root.left + 8, root.top + 150), palette.buttonFill, "the hot entry whose submenu is open");
    EXPECT_COLOR(shot.Pixel(middle, root.top + 100), palette.secondaryFill, "separator");
    EXPECT_COLOR(shot.Pixel(root.left + 13, root.top + 51 + 3), accent, "tick");
    EXPECT_COLOR(shot.Pixel(root.left + 14, root.top + 81), accent, "radio dot");
    EXPECT_COLOR(shot.Pixel(root.right - 22, root.top + 150), palette.text, "submenu arrow");
    EXPECT_COLOR(shot.Pixel((sub.left + sub.right) / 2, sub.top + 3), palette.windowBackground, "submenu background");
    EXPECT_COLOR(shot.Pixel(sub.left + 8, sub.top + 21), palette.buttonFill, "hot submenu entry");
    EXPECT_COLOR(shot.Pixel(sub.left + 8, sub.top + 51), palette.windowBackground, "other submenu entry");
}

TEST_P(DarkScreenshot, ChoicePromptShowsTheAccentButtonAndTheFocus)
{
    const Palette& palette = CurrentPalette();
    const Color accent = AccentColor();
    ScreenImage first;
    ScreenImage tabbed;
    RECT prompt{};
    RECT buttons[2]{};
    ScriptThread script(PromptClass, [&](HWND window) {
        prompt = WindowRect(window);
        buttons[0] = WindowRect(GetDlgItem(window, 100));
        buttons[1] = WindowRect(GetDlgItem(window, 101));
        Sleep(500);
        ASSERT_TRUE(first.Capture());
        PostKey(window, VK_TAB);
        Sleep(500);
        ASSERT_TRUE(tabbed.Capture());
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(ShowChoicePrompt(nullptr, L"Cette cadrel contient 12 éléments. Que voulez-vous en faire ?",
                               {L"Fermer et garder les fichiers", L"Masquer", L"Annuler"}, 96),
              -1);
    EXPECT_FALSE(script.Finish());
    EXPECT_TRUE(first.SaveBmp(ShotPath(L"prompt", GetParam()), Union(prompt, prompt)));

    const auto leftOf = [](const RECT& r) { return POINT{r.left + 8, (r.top + r.bottom) / 2}; };
    const auto topOf = [](const RECT& r) { return POINT{(r.left + r.right) / 2, r.top}; };
    EXPECT_COLOR(first.Pixel(prompt.left + 4, prompt.top + 4), palette.windowBackground, "prompt background");
    EXPECT_COLOR(first.Pixel(leftOf(buttons[0])), ColorAdjust(accent, 18), "focused primary button");
    EXPECT_COLOR(first.Pixel(topOf(buttons[0])), ColorAdjust(accent, 18), "primary frame");
    EXPECT_COLOR(first.Pixel(leftOf(buttons[1])), palette.buttonFill, "other button");
    EXPECT_COLOR(first.Pixel(topOf(buttons[1])), palette.border, "other button frame");
    EXPECT_COLOR(first.Pixel(buttons[1].left, buttons[1].top), palette.windowBackground, "rounded corner");

    EXPECT_COLOR(tabbed.Pixel(leftOf(buttons[0])), accent, "primary button without focus");
    EXPECT_COLOR(tabbed.Pixel(leftOf(buttons[1])), ColorAdjust(palette.buttonFill, 26), "focused other button");
    EXPECT_COLOR(tabbed.Pixel(topOf(buttons[1])), accent, "focused frame");
}

TEST_P(DarkScreenshot, TextPromptUsesTheInputColours)
{
    const Palette& palette = CurrentPalette();
    ScreenImage shot;
    RECT prompt{};
    RECT edit{};
    ScriptThread script(PromptClass, [&](HWND window) {
        prompt = WindowRect(window);
        edit = WindowRect(FindWindowExW(window, nullptr, L"Edit", nullptr));
        Sleep(500);
        ASSERT_TRUE(shot.Capture());
        PostKey(window, VK_ESCAPE);
    });
    std::wstring text = L"Projets";
    EXPECT_FALSE(ShowTextPrompt(nullptr, L"Nom de la cadrel :", text, 96));
    EXPECT_FALSE(script.Finish());
    EXPECT_TRUE(shot.SaveBmp(ShotPath(L"text-prompt", GetParam()), Union(prompt, prompt)));

    EXPECT_COLOR(shot.Pixel(prompt.left + 4, prompt.top + 4), palette.windowBackground, "prompt background");
    EXPECT_COLOR(shot.Pixel(edit.right - 10, (edit.top + edit.bottom) / 2), palette.inputBackground, "edit field");
}

INSTANTIATE_TEST_SUITE_P(Themes, DarkScreenshot, ::testing::ValuesIn(Themes),
                         [](const ::testing::TestParamInfo<Theme>& info) { return info.param.mode == 1 ? "Dark" : "Light"; });

}  // namespace
}  // namespace cadrels::testing
