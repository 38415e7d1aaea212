#include "app/TrayIcon.h"
#include "app/TrayMenu.h"

#include "i18n/StringTable.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(TrayTooltip, UsesTheBrandUnlessItIsTheProductName)
{
    SetUiLanguage(0);
    EXPECT_EQ(TrayTooltip(L""), L"Cadrels — clic droit pour le menu");
    EXPECT_EQ(TrayTooltip(L"Cadrels"), L"Cadrels — clic droit pour le menu");
    EXPECT_EQ(TrayTooltip(L"Bureau Acme"), L"Bureau Acme");
    EXPECT_EQ(TrayTooltip(std::wstring(300, L'A')).size(), TrayTooltipMaxChars);
    SetUiLanguage(1);
    EXPECT_EQ(TrayTooltip(L""), L"Cadrels — right-click for menu");
    SetUiLanguage(0);
}

TEST(TrayMenu, UndoAndRedoAreDisabledWithNothingToDo)
{
    SetUiLanguage(0);
    const auto items = TrayMenuItems(std::nullopt, std::nullopt, false);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].id, TrayCommandUndo);
    EXPECT_EQ(items[0].label, L"Rien à annuler");
    EXPECT_FALSE(items[0].enabled);
    EXPECT_EQ(items[1].id, TrayCommandRedo);
    EXPECT_EQ(items[1].label, L"Rien à rétablir");
    EXPECT_FALSE(items[1].enabled);
    EXPECT_TRUE(items[2].separator);
    EXPECT_EQ(items[3].id, TrayCommandToggleHidden);
    EXPECT_EQ(items[3].label, L"Masquer les cadrels");
    EXPECT_EQ(items[4].id, TrayCommandSettings);
    EXPECT_EQ(items[4].label, L"Paramètres…");
    EXPECT_TRUE(items[4].enabled);
}

// The entry says what choosing it does, as the double-click and the
// shortcut toggle the same state.
TEST(TrayMenu, TheVisibilityEntryFollowsTheHiddenState)
{
    SetUiLanguage(0);
    EXPECT_EQ(TrayMenuItems(std::nullopt, std::nullopt, true)[3].label, L"Afficher les cadrels");
    SetUiLanguage(1);
    EXPECT_EQ(TrayMenuItems(std::nullopt, std::nullopt, false)[3].label, L"Hide cadrels");
    SetUiLanguage(0);
}

TEST(TrayMenu, UndoAndRedoNameWhatTheyWouldDo)
{
    SetUiLanguage(0);
    const auto items = TrayMenuItems(std::wstring(L"Rangement auto : 3 fichiers"), std::wstring(L"Fusion de cadrels"), false);
    EXPECT_EQ(items[0].label, L"Annuler le dernier rangement — Rangement auto : 3 fichiers");
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(items[1].label, L"Rétablir — Fusion de cadrels");
    EXPECT_TRUE(items[1].enabled);
}

}  // namespace
}  // namespace cadrels
