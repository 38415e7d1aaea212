// Type families, month folders, which entries a pass may move, and the texts
// the menus show for rules.
#include "sorting/FileClasses.h"
#include "sorting/RuleTexts.h"
#include "sorting/SendToDestinations.h"
#include "sorting/UndoneFiles.h"

#include "i18n/StringTable.h"

#include "FakeFileFacts.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

using testing::FakeFileFacts;

// 100-ns units since 1601 for a UTC date and time.
std::uint64_t FileTimeOf(int year, int month, int day, int hour, int minute)
{
    // Days from civil (the inverse of what the code under test does).
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days1970 = static_cast<long long>(era) * 146097 + doe - 719468;
    const long long seconds = (days1970 + 134774) * 86400LL + hour * 3600LL + minute * 60LL;
    return static_cast<std::uint64_t>(seconds) * 10000000ULL;
}

TEST(TypeFamily, TableAndShortcuts)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\c\\photo.JPG", L"Images"},
        {L"C:\\c\\notes.txt", L"Documents"},
        {L"C:\\c\\setup.exe", L"Ex\u00e9cutables"},
        {L"C:\\c\\lien.lnk", L""},
        {L"C:\\c\\site.URL", L""},
        {L"C:\\c\\film.webm", L"Vid\u00e9os"},
        {L"C:\\c\\deck.key", L"Pr\u00e9sentations"},
        {L"C:\\c\\t.numbers", L"Tableurs"},
        {L"C:\\c\\a.pdf", L"PDF"},
        {L"C:\\c\\b.opus", L"Audio"},
        {L"C:\\c\\c.cab", L"Archives"},
        {L"C:\\c\\Makefile", L"Autres"},
        {L"C:\\c.d\\Makefile", L"Autres"},
        {L"C:\\c\\report.", L"Autres"},
        {L"C:\\c\\.txt", L"Documents"},
        {L"C:\\c\\x.jpeg2", L"Autres"},
    };
    FakeFileFacts facts;
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyBucket(c.path, ClassifyByType, facts), c.expected) << c.path;
    }
    EXPECT_TRUE(facts.statCalls.empty()) << "the type needs no attribute read";
    EXPECT_EQ(ClassifyBucket(L"C:\\c\\a.pdf", ClassifyNone, facts), L"");
    EXPECT_EQ(ClassifyBucket(L"C:\\c\\a.pdf", 3, facts), L"");
}

TEST(MonthFolder, UtcCalendarMonth)
{
    EXPECT_EQ(MonthFolder(FileTimeOf(2024, 3, 31, 22, 30)), L"2024-03");
    EXPECT_EQ(MonthFolder(FileTimeOf(2024, 4, 1, 0, 0)), L"2024-04");
    EXPECT_EQ(MonthFolder(FileTimeOf(2024, 2, 29, 23, 59)), L"2024-02");
    EXPECT_EQ(MonthFolder(FileTimeOf(2000, 12, 31, 23, 59)), L"2000-12");
    EXPECT_EQ(MonthFolder(FileTimeOf(2100, 3, 1, 0, 0)), L"2100-03");
    EXPECT_EQ(MonthFolder(0), L"1601-01");
    EXPECT_EQ(MonthFolder(FileTimeOf(1969, 12, 31, 12, 0)), L"1969-12");

    FakeFileFacts facts;
    facts.AddFile(L"C:\\c\\a.pdf", 1, FileTimeOf(2023, 11, 5, 8, 0));
    EXPECT_EQ(ClassifyBucket(L"C:\\c\\a.pdf", ClassifyByMonth, facts), L"2023-11");
    EXPECT_EQ(ClassifyBucket(L"C:\\c\\gone.pdf", ClassifyByMonth, facts), L"") << "unreadable: it stays";
}

TEST(MovableEntry, HiddenSystemFoldersLinksAndMarkersStay)
{
    EXPECT_TRUE(IsMovableEntry(L"a.txt", 0x20));
    EXPECT_TRUE(IsMovableEntry(L"a.txt", 0x80));
    EXPECT_FALSE(IsMovableEntry(L"a.txt", EntryHidden | 0x20));
    EXPECT_FALSE(IsMovableEntry(L"a.txt", EntrySystem));
    EXPECT_FALSE(IsMovableEntry(L"sub", EntryDirectory));
    EXPECT_FALSE(IsMovableEntry(L"link.txt", EntryReparsePoint));
    EXPECT_FALSE(IsMovableEntry(L"Desktop.INI", 0x20));
    EXPECT_FALSE(IsMovableEntry(L".cadrel-container", 0x20)) << "even when it lost its hidden attribute";
    EXPECT_FALSE(IsMovableEntry(L".CADREL-CONTAINER", 0));
    EXPECT_TRUE(IsMovableEntry(L"desktop.ini.txt", 0));
    EXPECT_FALSE(IsMovableEntry(L"", 0));
}

TEST(ParentFolder, LastComponentAndSeparatorsGo)
{
    EXPECT_EQ(ParentFolderOf(L"C:\\a\\b\\c.txt"), L"C:\\a\\b");
    EXPECT_EQ(ParentFolderOf(L"C:\\a\\b\\"), L"C:\\a");
    EXPECT_EQ(ParentFolderOf(L"C:\\a\\\\b"), L"C:\\a");
    EXPECT_EQ(ParentFolderOf(L"C:\\x.txt"), L"C:\\");
    EXPECT_EQ(ParentFolderOf(L"x.txt"), L"");
    EXPECT_EQ(ParentFolderOf(L""), L"");
}

TEST(RuleTexts, PresetsAndSummaries)
{
    SetUiLanguage(0);
    EXPECT_EQ(PresetIndexForExts(L""), 0);
    for (int i = 1; i < CustomExtensionPreset; ++i) {
        EXPECT_EQ(PresetIndexForExts(ExtensionPresets()[static_cast<size_t>(i)].exts), i);
    }
    EXPECT_EQ(PresetIndexForExts(L"png jpg"), CustomExtensionPreset);
    EXPECT_EQ(PresetIndexForExts(L"mp3 wav flac aac ogg m4a wma "), CustomExtensionPreset) << "exact text only";
    EXPECT_EQ(std::wstring(Tr(ExtensionPresets()[1].labelId)), L"Images");

    struct Case {
        RuleCondition condition;
        std::wstring expected;
    };
    const Case cases[] = {
        {{0, 0, L"pdf", 0}, L"pdf"},
        {{1, 1, L"", 0}, L"\u2026"},
        {{2, 1, L"", 5}, L"\u2264 5 Mo"},
        {{2, 0, L"", 12}, L"\u2265 12 Mo"},
        {{3, 0, L"", 30}, L"30 j"},
        {{4, 0, L"", 2}, L"Dossier"},
        {{4, 0, L"", 3}, L"URL"},
        {{4, 0, L"", 1}, L".exe"},
        {{4, 0, L"", 0}, L".exe"},
        {{7, 0, L"x", 1}, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConditionSummary(c.condition), c.expected) << c.condition.k;
    }
    SetUiLanguage(1);
    EXPECT_EQ(ConditionSummary(RuleCondition{4, 0, L"", 2}), L"Folder");
    SetUiLanguage(0);
}

Workspace Page(std::wstring name, std::vector<std::vector<CadrelTab>> cadrels)
{
    Workspace page;
    page.name = std::move(name);
    for (std::vector<CadrelTab>& tabs : cadrels) {
        CadrelRecord record;
        record.tabs = std::move(tabs);
        page.cadrels.push_back(std::move(record));
    }
    return page;
}

CadrelTab Tab(std::wstring title, std::wstring folder)
{
    CadrelTab tab;
    tab.title = std::move(title);
    tab.folder = std::move(folder);
    return tab;
}

TEST(SendToDestinations, EveryTabOfEveryPageWithPageNamesWhenSeveral)
{
    const Workspace work = Page(L"Travail", {{Tab(L"Factures", L"C:\\f"), Tab(L"Vide", L"")}, {Tab(L"", L"C:\\n")}});
    const Workspace home = Page(L"Maison", {{Tab(L"Photos", L"C:\\p")}});
    const Workspace unnamed = Page(L"", {{Tab(L"Jeux", L"C:\\j")}});

    std::vector<SendToDestination> one = SendToDestinations({work}, L"Cadrel");
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0].label, L"Factures");
    EXPECT_EQ(one[0].folder, L"C:\\f");
    EXPECT_EQ(one[1].label, L"Cadrel");
    EXPECT_EQ(one[1].folder, L"C:\\n");

    std::vector<SendToDestination> three = SendToDestinations({work, home, unnamed}, L"Cadrel");
    ASSERT_EQ(three.size(), 4u);
    EXPECT_EQ(three[0].label, L"Travail \u2014 Factures");
    EXPECT_EQ(three[1].label, L"Travail \u2014 Cadrel");
    EXPECT_EQ(three[2].label, L"Maison \u2014 Photos");
    EXPECT_EQ(three[3].label, L"Jeux") << "a page without a name adds nothing";
    EXPECT_TRUE(SendToDestinations({}, L"Cadrel").empty());
}

}  // namespace
}  // namespace cadrels

namespace cadrels {
namespace {

TEST(UndoneFiles, HeldBackUntilTheFileChangesOrIsForgotten)
{
    UndoneFiles undone;
    undone.Remember(L"C:\\Users\\Bureau\\Rapport.txt", 100);
    undone.Remember(L"C:\\Users\\Bureau\\b.txt", 7);
    undone.Remember(L"", 1);
    EXPECT_EQ(undone.Size(), 2u);
    EXPECT_TRUE(undone.HoldsBack(L"c:\\users\\bureau\\rapport.TXT", 100)) << "paths compare ignoring case";
    EXPECT_TRUE(undone.HoldsBack(L"C:\\Users\\Bureau\\Rapport.txt", 100)) << "and it stays held";
    EXPECT_FALSE(undone.HoldsBack(L"C:\\Users\\Bureau\\other.txt", 100));
    EXPECT_FALSE(undone.HoldsBack(L"C:\\Users\\Bureau\\Rapport.txt", 101)) << "changed since the undo";
    EXPECT_FALSE(undone.HoldsBack(L"C:\\Users\\Bureau\\Rapport.txt", 100)) << "and then forgotten for good";
    undone.Forget(L"C:\\USERS\\Bureau\\B.txt");
    EXPECT_FALSE(undone.HoldsBack(L"C:\\Users\\Bureau\\b.txt", 7));
    EXPECT_EQ(undone.Size(), 0u);
}

}  // namespace
}  // namespace cadrels
