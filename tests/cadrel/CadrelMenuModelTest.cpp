#include "cadrel/CadrelMenuModel.h"

#include "LanguageScope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace cadrels {
namespace {

using testing::LanguageScope;

// Every id the menu offers, submenus included.
void CollectIds(const std::vector<DarkMenuItem>& items, std::set<int>& ids)
{
    for (const DarkMenuItem& item : items) {
        if (item.id != 0) {
            ids.insert(item.id);
        }
        CollectIds(item.children, ids);
    }
}

std::set<int> Ids(const std::vector<DarkMenuItem>& items)
{
    std::set<int> ids;
    CollectIds(items, ids);
    return ids;
}

const DarkMenuItem* Find(const std::vector<DarkMenuItem>& items, const std::wstring& label)
{
    for (const DarkMenuItem& item : items) {
        if (item.label == label) {
            return &item;
        }
        if (const DarkMenuItem* inner = Find(item.children, label)) {
            return inner;
        }
    }
    return nullptr;
}

const DarkMenuItem* FindId(const std::vector<DarkMenuItem>& items, int id)
{
    for (const DarkMenuItem& item : items) {
        if (item.id == id) {
            return &item;
        }
        if (const DarkMenuItem* inner = FindId(item.children, id)) {
            return inner;
        }
    }
    return nullptr;
}

TEST(CadrelMenuModel, FullMenuOffersEveryEntryInOrder)
{
    const LanguageScope french(0);
    CadrelMenuState state;
    state.tabCount = 2;
    state.hasEmblem = true;
    CadrelMenuFacts facts;
    facts.activeTabHosts = true;
    facts.canRehost = true;
    const std::vector<DarkMenuItem> menu = BuildCadrelMenu(state, facts);
    std::vector<std::wstring> top;
    for (const DarkMenuItem& item : menu) {
        top.push_back(item.separator ? L"-" : item.label);
    }
    const std::vector<std::wstring> expected = {
        L"Rien à annuler", L"Rien à rétablir", L"-", L"Nouvelle cadrel", L"Nouvel onglet", L"Libérer la fenêtre",
        L"Héberger une application", L"Ré-héberger la dernière fenêtre", L"-", L"Rechercher un fichier...", L"-",
        L"Renommer l'onglet…", L"Fermer l'onglet", L"-", L"Verrouiller (ne pas déplacer)",
        L"Épingler (garder ouverte)", L"Sens de dépliage", L"Classement auto", L"Opacité", L"Affichage",
        L"Icône de l'onglet…", L"Retirer l'icône", L"Trier par", L"Langue", L"Thème", L"Règle de tri",
        L"Rafraîchir", L"-", L"Configurer Cadrels", L"Fermer cette cadrel", L"Quitter"};
    EXPECT_EQ(top, expected);
    // Undo and redo are disabled while there is nothing to undo or redo.
    EXPECT_FALSE(menu[0].enabled);
    EXPECT_FALSE(menu[1].enabled);

    const DarkMenuItem* shapes = Find(menu, L"Nouvelle forme...");
    ASSERT_NE(shapes, nullptr);
    ASSERT_EQ(shapes->children.size(), 6u);
    EXPECT_EQ(shapes->children[0].id, 56);
    EXPECT_EQ(shapes->children[5].id, 61);
    EXPECT_EQ(shapes->children[3].label, L"Triangle");
    EXPECT_EQ(Find(menu, L"Langue")->children.size(), 19u);
}

TEST(CadrelMenuModel, LockedCadrelsOfferOnlyWhatThePolicyLeaves)
{
    CadrelMenuState state;
    state.tabCount = 3;
    state.hasEmblem = true;
    CadrelMenuFacts facts;
    facts.cadrelsLocked = true;
    facts.activeTabHosts = true;
    facts.canRehost = true;
    const std::set<int> ids = Ids(BuildCadrelMenu(state, facts));
    for (int forbidden : {1, 3, 5, 6, 7, 8, 10, 11, 20, 24, 25, 27, 28, 51, 52, 56, 62, 65, 240, 241, 280}) {
        EXPECT_EQ(ids.count(forbidden), 0u) << forbidden;
    }
    for (int offered : {200, 201, 30, 70, 210, 120, 300, 130, 90, 2, 9, 4}) {
        EXPECT_EQ(ids.count(offered), 1u) << offered;
    }

    facts.quitLocked = true;
    facts.appearanceHidden = true;
    facts.sortingHidden = true;
    facts.languageHidden = true;
    const std::set<int> bare = Ids(BuildCadrelMenu(state, facts));
    EXPECT_EQ(bare, (std::set<int>{200, 201, 30, 2, 9})) << "no appearance, sorting, language or quit";
}

TEST(CadrelMenuModel, UndoAndRedoAreOfferedOnlyWhileTheCadrelsAreNotLocked)
{
    CadrelMenuFacts facts;
    facts.canUndo = true;
    facts.canRedo = true;
    for (bool locked : {false, true}) {
        facts.cadrelsLocked = locked;
        const std::vector<DarkMenuItem> menu = BuildCadrelMenu(CadrelMenuState{}, facts);
        ASSERT_NE(FindId(menu, CadrelCmdUndo), nullptr);
        ASSERT_NE(FindId(menu, CadrelCmdRedo), nullptr);
        EXPECT_EQ(FindId(menu, CadrelCmdUndo)->enabled, !locked) << "locked: " << locked;
        EXPECT_EQ(FindId(menu, CadrelCmdRedo)->enabled, !locked) << "locked: " << locked;
    }
}

TEST(CadrelMenuModel, ForcedSettingsHideTheirSubmenus)
{
    struct Case {
        bool CadrelMenuFacts::*flag;
        int hiddenId;
    };
    const Case cases[] = {
        {&CadrelMenuFacts::opacityForced, 70},
        {&CadrelMenuFacts::viewForced, 210},
        {&CadrelMenuFacts::themeForced, 130},
        {&CadrelMenuFacts::languageForced, 300},
    };
    for (const Case& c : cases) {
        CadrelMenuFacts facts;
        facts.*(c.flag) = true;
        const std::set<int> ids = Ids(BuildCadrelMenu(CadrelMenuState{}, facts));
        EXPECT_EQ(ids.count(c.hiddenId), 0u) << c.hiddenId;
        EXPECT_EQ(ids.count(200), 1u);
    }
}

TEST(CadrelMenuModel, OneTabAndNoEmblemLeaveOutCloseTabAndRemoveIcon)
{
    CadrelMenuState state;
    state.tabCount = 1;
    state.hasEmblem = false;
    const std::set<int> ids = Ids(BuildCadrelMenu(state, CadrelMenuFacts{}));
    EXPECT_EQ(ids.count(25), 0u);
    EXPECT_EQ(ids.count(241), 0u);
    EXPECT_EQ(ids.count(240), 1u);
    EXPECT_EQ(ids.count(27), 0u) << "nothing hosted";
    EXPECT_EQ(ids.count(28), 0u) << "nothing to host again";
}

TEST(CadrelMenuModel, OpacityMarks)
{
    struct Case {
        double opacity;
        std::set<int> marked;
    };
    const Case cases[] = {
        {0.62, {60}}, {0.55, {}}, {0.15, {15}}, {1.0, {100}}, {0.18, {15, 20}}, {0.965, {100}}, {0.3, {30}},
    };
    for (const Case& c : cases) {
        std::set<int> marked;
        for (int percent : OpacityPercents) {
            if (OpacityEntryMarked(percent, c.opacity)) {
                marked.insert(percent);
            }
        }
        EXPECT_EQ(marked, c.marked) << c.opacity;
    }
    const LanguageScope french(0);
    CadrelMenuState state;
    state.opacity = 0.62;
    const std::vector<DarkMenuItem> menu = BuildCadrelMenu(state, CadrelMenuFacts{});
    const DarkMenuItem* sixty = FindId(menu, 75);
    ASSERT_NE(sixty, nullptr);
    EXPECT_EQ(sixty->label, L"60 %");
    EXPECT_TRUE(sixty->radio);
    EXPECT_EQ(FindId(menu, 79)->label, L"100 % (opaque)");
}

TEST(CadrelMenuModel, MarksFollowTheCadrelState)
{
    CadrelMenuState state;
    state.locked = true;
    state.pinned = false;
    state.unfoldDirection = 3;
    state.classifyMode = 0;
    state.viewMode = 2;
    state.sortBy = 1;
    state.sortDescending = true;
    state.rule.enabled = true;
    state.rule.name = L"facture*";
    state.rule.olderDays = 12;
    state.rule.link = 3;
    CadrelMenuFacts facts;
    facts.theme = 2;
    facts.language = 1;
    const std::vector<DarkMenuItem> menu = BuildCadrelMenu(state, facts);
    EXPECT_TRUE(FindId(menu, 6)->checked);
    EXPECT_FALSE(FindId(menu, 5)->checked);
    EXPECT_TRUE(FindId(menu, 11)->radio) << "unfold to the right";
    EXPECT_FALSE(FindId(menu, 7)->radio);
    EXPECT_TRUE(FindId(menu, 62)->radio);
    EXPECT_FALSE(FindId(menu, 65)->enabled) << "nothing to arrange without a mode";
    EXPECT_TRUE(FindId(menu, 212)->radio);
    EXPECT_TRUE(FindId(menu, 121)->radio);
    EXPECT_TRUE(FindId(menu, 124)->checked);
    EXPECT_TRUE(FindId(menu, 132)->radio);
    EXPECT_TRUE(FindId(menu, 301)->radio);
    EXPECT_TRUE(FindId(menu, 90)->checked);
    EXPECT_TRUE(FindId(menu, 100)->radio) << "an empty extension list is the first preset";
    EXPECT_TRUE(FindId(menu, 113)->radio);
    EXPECT_TRUE(FindId(menu, 92)->checked);
    EXPECT_NE(FindId(menu, 92)->label.find(L"(facture*)"), std::wstring::npos);
    EXPECT_TRUE(FindId(menu, 93)->checked);
    EXPECT_NE(FindId(menu, 93)->label.find(L"12"), std::wstring::npos);

    state.classifyMode = 2;
    const std::vector<DarkMenuItem> arranging = BuildCadrelMenu(state, facts);
    EXPECT_TRUE(FindId(arranging, 65)->enabled);
    EXPECT_TRUE(FindId(arranging, 64)->radio);
}

TEST(CadrelMenuModel, UndoTextsCarryTheShortcuts)
{
    CadrelMenuFacts facts;
    facts.undoText = L"Annuler le dernier rangement — 3 fichiers";
    facts.canUndo = true;
    facts.undoHotkey = L"Ctrl+Alt+Z";
    facts.searchHotkey = L"Ctrl+Alt+F";
    const std::vector<DarkMenuItem> menu = BuildCadrelMenu(CadrelMenuState{}, facts);
    EXPECT_EQ(menu[0].label, L"Annuler le dernier rangement — 3 fichiers   Ctrl+Alt+Z");
    EXPECT_TRUE(menu[0].enabled);
    EXPECT_EQ(FindId(menu, 30)->label, L"Rechercher un fichier... (Ctrl+Alt+F)");
}

TEST(CadrelMenuModel, HostTitlesAreCutAfter48Characters)
{
    const std::wstring exact(48, L'a');
    const std::wstring longer = std::wstring(48, L'b') + L"c";
    EXPECT_EQ(HostMenuTitle(exact), exact);
    EXPECT_EQ(HostMenuTitle(longer), std::wstring(47, L'b') + L"…");
    EXPECT_EQ(HostMenuTitle(longer).size(), 48u);
    EXPECT_EQ(HostMenuTitle(L""), L"");
}

TEST(CadrelMenuModel, HostCandidatesStopAtFortyAndLeaveOutHostedWindows)
{
    std::vector<HostWindowFacts> windows;
    for (int i = 0; i < 50; ++i) {
        HostWindowFacts window;
        window.window = static_cast<std::uintptr_t>(i + 1);
        window.title = L"Fenetre " + std::to_wstring(i);
        window.candidate = i != 3;         // a tool window
        window.hostedElsewhere = i == 5;  // shown by another cadrel
        if (i == 7) {
            window.title.clear();  // untitled
        }
        windows.push_back(window);
    }
    const std::vector<HostWindowFacts> offered = HostCandidates(windows);
    // 40 collected among the titled ordinary windows (0..41 without 3 and 7),
    // then the hosted one left out.
    ASSERT_EQ(offered.size(), 39u);
    EXPECT_EQ(offered.front().window, 1u);
    EXPECT_EQ(offered.back().window, 42u);
    EXPECT_TRUE(std::none_of(offered.begin(), offered.end(), [](const auto& w) { return w.window == 6; }));

    CadrelMenuState state;
    for (const HostWindowFacts& window : offered) {
        state.hostTitles.push_back(HostMenuTitle(window.title));
    }
    const std::vector<DarkMenuItem> menu = BuildCadrelMenu(state, CadrelMenuFacts{});
    EXPECT_EQ(FindId(menu, 280)->label, L"Fenetre 0");
    EXPECT_NE(FindId(menu, 280 + 38), nullptr);

    const std::vector<DarkMenuItem> none = BuildCadrelMenu(CadrelMenuState{}, CadrelMenuFacts{});
    const DarkMenuItem* empty = Find(none, L"(aucune fenêtre ouverte)");
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->enabled);
    EXPECT_EQ(empty->id, 0);
}

TEST(CadrelMenuModel, DaysFromText)
{
    struct Case {
        const wchar_t* text;
        int days;
    };
    const Case cases[] = {
        {L"30", 30}, {L"  7 jours", 7}, {L"", 0}, {L"abc", 0}, {L"-5", 0}, {L"+4", 4}, {L"12abc3", 12},
        {L"99999999999999999999", 100000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysFromText(c.text), c.days) << c.text;
    }
}

}  // namespace
}  // namespace cadrels
