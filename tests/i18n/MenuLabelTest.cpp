// Translated texts in the real menu font: every menu label fits, and the
// scripts that need other fonts than Latin ones show glyphs, not boxes.
#include "DesktopDriver.h"
#include "ScreenImage.h"

#include "i18n/LanguageTexts.h"
#include "i18n/StringTable.h"
#include "settings/DarkMenu.h"
#include "settings/DarkStyle.h"
#include "settings/UiFontSet.h"
#include "base/UniqueHandle.h"

#include "LanguageScope.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwctype>

namespace cadrels {
namespace {

using i18n::LanguageCount;
using namespace cadrels::testing;

constexpr int MaxMenuLabelWidth = 420;

// The ids that appear as menu entries: the cadrel menu and its submenus, the
// item menu, the tray, the dock and the send-to destinations.
std::vector<int> MenuLabelIds()
{
    std::vector<int> ids;
    auto range = [&](int first, int last) {
        for (int id = first; id <= last; ++id) {
            if (!i18n::IsRetiredId(id)) {
                ids.push_back(id);
            }
        }
    };
    range(0, 24);
    range(26, 40);
    range(105, 133);
    range(189, 194);
    range(199, 201);
    range(206, 207);
    range(211, 219);
    range(380, 390);
    range(450, 477);
    return ids;
}

// Menu texts of the table as the program shows them (counts filled in).
std::vector<std::wstring> MenuLabels(int language)
{
    LanguageScope scope(language);
    std::vector<std::wstring> labels;
    for (int id : MenuLabelIds()) {
        labels.push_back(TrFormat(static_cast<TextId>(id), 999));
    }
    labels.push_back(std::wstring(Tr(TextId::OlderThan)) + TrFormat(TextId::AgeDaysSuffix, 365));
    labels.push_back(LanguageName(language));
    return labels;
}

// Entries composed of two texts: undo and redo with what they would do.
std::vector<std::wstring> ComposedLabels(int language)
{
    LanguageScope scope(language);
    return {std::wstring(Tr(TextId::UndoLastAction)) + L" — " + TrFormat(TextId::UndoAutoSort, 12),
            std::wstring(Tr(TextId::RedoAction)) + L" — " + TrFormat(TextId::UndoDragDrop, 12)};
}

TEST(MenuLabels, EveryMenuLabelFitsInTheMenuAt96Dpi)
{
    for (int language = 0; language < LanguageCount; ++language) {
        int widest = 0;
        std::wstring widestLabel;
        for (const std::wstring& label : MenuLabels(language)) {
            const int width = MeasureMenuLabel(label, 96);
            EXPECT_LE(width, MaxMenuLabelWidth) << LanguageCode(language) << ": " << ::testing::PrintToString(label);
            if (width > widest) {
                widest = width;
                widestLabel = label;
            }
        }
        int widestComposed = 0;
        for (const std::wstring& label : ComposedLabels(language)) {
            widestComposed = std::max(widestComposed, MeasureMenuLabel(label, 96));
        }
        // Composed entries may pass the limit where the French texts are
        // themselves long; they are reported, not held to it.
        std::wprintf(L"widest menu label, %hs: %d px (undo/redo entry: %d px)\n", LanguageCode(language), widest,
                     widestComposed);
    }
}

// A character drawn alone in the menu font, as pixels.
std::vector<std::uint32_t> Render(HDC dc, const std::wstring& text)
{
    constexpr int Side = 48;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Side;
    info.bmiHeader.biHeight = -Side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectedObject selected(dc, bitmap.Get());
    RECT area{0, 0, Side, Side};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_SINGLELINE | DT_NOPREFIX | DT_CENTER);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return std::vector<std::uint32_t>(pixels, pixels + Side * Side);
}

TEST(MenuLabels, EveryMenuLabelOfEveryLanguageHasAllItsGlyphs)
{
    UiFontSet fonts(96);
    for (int language = 0; language < LanguageCount; ++language) {
        for (const std::wstring& label : MenuLabels(language)) {
            EXPECT_EQ(fonts.Undrawable(label), 0u) << LanguageCode(language) << ": " << ::testing::PrintToString(label);
        }
    }
}

TEST(MenuLabels, TheGlyphCheckSeesWhatIsDrawn)
{
    // Guards the check above: what it calls missing draws like a character
    // that exists nowhere, and what it calls present does not.
    UiFontSet fonts(96);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const std::wstring nowhere(1, static_cast<wchar_t>(0x0378));  // unassigned
    SelectObject(dc.Get(), fonts.Base());
    const std::vector<std::uint32_t> box = Render(dc.Get(), nowhere);
    LanguageScope japanese(LanguageIndexFromCode("ja"));
    const std::wstring kanji(1, Tr(TextId::NewCadrel)[0]);  // 新
    ASSERT_GT(MissingGlyphs(dc.Get(), fonts.Base(), kanji), 0u) << "the base font is Latin only here";
    EXPECT_EQ(Render(dc.Get(), kanji), box) << "a missing glyph draws as a box";
    SelectObject(dc.Get(), fonts.For(kanji));
    EXPECT_EQ(MissingGlyphs(dc.Get(), fonts.For(kanji), kanji), 0u);
    EXPECT_NE(Render(dc.Get(), kanji), box) << "the fallback font draws the character";
}

TEST(MenuLabels, ScreenshotOfAMenuInFourScripts)
{
    std::vector<DarkMenuItem> items;
    for (const char* code : {"ja", "hi", "th", "ru"}) {
        LanguageScope scope(LanguageIndexFromCode(code));
        for (int id : {0, 11, 20, 133}) {
            DarkMenuItem item;
            item.label = Tr(static_cast<TextId>(id));
            item.id = static_cast<int>(items.size()) + 1;
            item.checked = id == 11;
            items.push_back(item);
        }
        items.push_back(DarkMenuItem::Separator());
    }
    items.pop_back();
    ScreenImage shot;
    RECT menu{};
    ScriptThread script(L"Cadrels.DarkMenu", [&](HWND window) {
        menu = WindowRect(window);
        PostMouse(window, WM_MOUSEMOVE, {menu.left + 60, menu.top + 20});
        Sleep(400);
        ASSERT_TRUE(shot.Capture());
        PostKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(ShowDarkMenu(nullptr, items, 40, 40, 96), 0);
    EXPECT_FALSE(script.Finish());
    InflateRect(&menu, 4, 4);
    EXPECT_TRUE(shot.SaveBmp(L"menu-scripts.bmp", menu));
    EXPECT_GT(menu.bottom - menu.top, 16 * 30) << "sixteen entries and three separators";
}

}  // namespace
}  // namespace cadrels
