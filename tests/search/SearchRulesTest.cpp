#include "search/SearchRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace cadrels {
namespace {

CadrelRecord Record(std::vector<std::pair<std::wstring, std::wstring>> tabs)
{
    CadrelRecord record;
    for (auto& [title, folder] : tabs) {
        CadrelTab tab;
        tab.title = title;
        tab.folder = folder;
        record.tabs.push_back(tab);
    }
    return record;
}

Workspace Page(std::wstring name, std::vector<CadrelRecord> cadrels)
{
    Workspace page;
    page.name = std::move(name);
    page.cadrels = std::move(cadrels);
    return page;
}

std::vector<SearchEntry> Entries(const std::wstring& folder, std::vector<std::wstring> names)
{
    std::vector<SearchEntry> entries;
    for (const std::wstring& name : names) {
        entries.push_back(MakeSearchEntry(folder + L"\\" + name));
    }
    return entries;
}

std::vector<std::wstring> PathsOf(const std::vector<FileSearchResult>& results)
{
    std::vector<std::wstring> paths;
    for (const FileSearchResult& result : results) {
        paths.push_back(result.path);
    }
    return paths;
}

TEST(SearchRules, TheNameIsTheLastComponentWithTrailingSeparatorsIgnored)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\a\\report.txt", L"report.txt"}, {L"C:\\a\\b\\", L"b"},     {L"C:/a/b//", L"b"},
        {L"C:\\a/b\\c.d", L"c.d"},             {L"plain", L"plain"},       {L"C:\\", L"C:"},
        {L"\\\\server\\share\\x", L"x"},       {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SearchName(c.path), c.name) << c.path;
    }
}

TEST(SearchRules, CaseFoldsEachUnitOnItsOwn)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* folded;
    } cases[] = {
        {L"RAPPORT.TXT", L"rapport.txt"},
        {L"ÉtÉ À Noël ÇA", L"été à noël ça"},
        {L"ŁÓDŹ ŒUVRE ŸVES", L"łódź œuvre ÿves"},
        {L"ΑΘΗΝΑ Ώρα", L"αθηνα ώρα"},
        {L"МОСКВА ЁЛКА", L"москва ёлка"},
        {L"İSTANBUL", L"istanbul"},
        {L"×÷ß123-_", L"×÷ß123-_"},
        // Surrogates are left as they are: a unit is not a letter.
        {L"\U0001F600A", L"\U0001F600a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldCase(c.text), c.folded) << c.text;
    }
}

TEST(SearchRules, ThePlanFollowsPagesCadrelsAndTabsAndTheScopeMatchesNamesExactly)
{
    const std::vector<Workspace> pages = {
        Page(L"Travail", {Record({{L"Docs", L"C:\\d1"}, {L"Vide", L""}, {L"Autre", L"C:\\d2"}}),
                          Record({{L"Images", L"C:\\i"}})}),
        Page(L"Maison", {Record({{L"Docs", L"C:\\d3"}}), Record({}), Record({{L"docs", L"C:\\d4"}})}),
    };
    const std::vector<SearchFolder> all = SearchPlan(pages, L"");
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0].folder, L"C:\\d1");
    EXPECT_EQ(all[1].folder, L"C:\\d2");
    EXPECT_EQ(all[1].cadrelName, L"Docs") << "a cadrel's name is its first tab's title";
    EXPECT_EQ(all[2].folder, L"C:\\i");
    EXPECT_EQ(all[3].pageName, L"Maison");
    EXPECT_EQ(all[3].pageIndex, 1);
    EXPECT_EQ(all[4].folder, L"C:\\d4");

    // Two cadrels with the same first title are both searched; the case counts.
    const std::vector<SearchFolder> docs = SearchPlan(pages, L"Docs");
    std::vector<std::wstring> folders;
    for (const SearchFolder& folder : docs) {
        folders.push_back(folder.folder);
    }
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"C:\\d1", L"C:\\d2", L"C:\\d3"}));
    EXPECT_TRUE(SearchPlan(pages, L"Nothing").empty());
    EXPECT_TRUE(SearchPlan(pages, L"Vide").empty()) << "only the first tab names a cadrel";
}

TEST(SearchRules, ResultsKeepThePlanOrderStopAtTenAndCountAFolderTwiceWhenTwoTabsShowIt)
{
    std::map<std::wstring, std::vector<SearchEntry>> listed;
    listed[L"C:\\a"] = Entries(L"C:\\a", {L"Notes.txt", L"photo.JPG", L"notebook", L"x"});
    listed[L"C:\\b"] = Entries(L"C:\\b", {L"n1", L"n2", L"n3", L"n4", L"n5", L"n6", L"n7", L"n8"});
    const auto entriesOf = [&](const std::wstring& folder) -> const std::vector<SearchEntry>* {
        const auto found = listed.find(folder);
        return found == listed.end() ? nullptr : &found->second;
    };
    const std::vector<SearchFolder> plan = {
        {L"C:\\a", L"A", L"P1", 0},
        {L"C:\\a", L"A2", L"P1", 0},
        {L"C:\\b", L"B", L"P2", 1},
    };

    SearchOutcome outcome = CollectResults(plan, FoldCase(L"NOTE"), entriesOf);
    EXPECT_EQ(PathsOf(outcome.results), (std::vector<std::wstring>{L"C:\\a\\Notes.txt", L"C:\\a\\notebook",
                                                                    L"C:\\a\\Notes.txt", L"C:\\a\\notebook"}));
    EXPECT_EQ(outcome.results[0].name, L"Notes.txt");
    EXPECT_EQ(outcome.results[2].cadrelName, L"A2");
    EXPECT_TRUE(outcome.unlisted.empty());

    // Four from the two tabs of a, then six of the eight in b: the tenth
    // ends the search in the middle of a folder.
    outcome = CollectResults(plan, L"n", entriesOf);
    ASSERT_EQ(outcome.results.size(), MaxSearchResults);
    EXPECT_EQ(outcome.results[9].path, L"C:\\b\\n6");
    EXPECT_EQ(outcome.results[9].pageName, L"P2");
    EXPECT_EQ(outcome.results[9].pageIndex, 1);

    EXPECT_TRUE(CollectResults(plan, L"zzz", entriesOf).results.empty());
    EXPECT_TRUE(CollectResults(plan, L"", entriesOf).results.empty());
}

TEST(SearchRules, AFolderNotYetListedIsReportedAndTheOthersStillAnswer)
{
    const std::vector<SearchEntry> b = Entries(L"C:\\b", {L"nb"});
    const std::vector<SearchFolder> plan = {{L"C:\\a", L"A", L"P", 0}, {L"C:\\b", L"B", L"P", 0}};
    const SearchOutcome outcome =
        CollectResults(plan, L"n", [&](const std::wstring& folder) { return folder == L"C:\\b" ? &b : nullptr; });
    EXPECT_EQ(PathsOf(outcome.results), std::vector<std::wstring>{L"C:\\b\\nb"});
    EXPECT_EQ(outcome.unlisted, std::vector<std::wstring>{L"C:\\a"});
}

TEST(SearchRules, TheWindowIsTheBarAloneWithoutResultsAndGrowsByARowEach)
{
    struct Case {
        std::size_t count;
        float scale;
        int height;
    } cases[] = {
        {0, 1.0f, 60}, {1, 1.0f, 122}, {3, 1.0f, 222}, {10, 1.0f, 572}, {0, 1.5f, 90}, {10, 1.5f, 858}, {2, 2.0f, 344},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SearchWindowHeight(c.count, c.scale), c.height) << c.count << " at " << c.scale;
    }
}

TEST(SearchRules, TheSelectionFollowsItsPathAndStaysWithinTheRows)
{
    const std::vector<FileSearchResult> results = {{L"C:\\a"}, {L"C:\\b"}, {L"C:\\c"}};
    EXPECT_EQ(SelectionAfterResults(L"C:\\c", results), 2);
    EXPECT_EQ(SelectionAfterResults(L"C:\\gone", results), 0);
    EXPECT_EQ(SelectionAfterResults(L"", results), 0);

    EXPECT_EQ(MovedSelection(0, -1, 3), 0) << "Up on the first";
    EXPECT_EQ(MovedSelection(2, +1, 3), 2) << "Down on the last";
    EXPECT_EQ(MovedSelection(1, +1, 3), 2);
    EXPECT_EQ(MovedSelection(1, -1, 3), 0);
    EXPECT_EQ(MovedSelection(0, +1, 0), 0) << "no rows";
}

TEST(SearchRules, TheMatchedPartOfANameIsFoundWhateverItsCase)
{
    NameMatch match = FindNameMatch(L"Rapport ÉTÉ.txt", FoldCase(L"été"));
    EXPECT_EQ(match.start, 8u);
    EXPECT_EQ(match.length, 3u);
    match = FindNameMatch(L"abc", L"x");
    EXPECT_EQ(match.length, 0u);
}

TEST(SearchRules, TextFormatsTakeTheInterfaceLanguagesLocale)
{
    EXPECT_STREQ(InterfaceTextLocale(0), L"fr-fr");
    EXPECT_STREQ(InterfaceTextLocale(1), L"en-us");
    EXPECT_STREQ(InterfaceTextLocale(18), L"zh-tw");
    EXPECT_STREQ(InterfaceTextLocale(99), L"fr-fr");
}

TEST(SearchRules, TheBackdropIsADarkTintOfWhatLiesUnder)
{
    EXPECT_FLOAT_EQ(DarkBackdropChannel(0), 20.0f / 255.0f);
    EXPECT_FLOAT_EQ(DarkBackdropChannel(255), 71.0f / 255.0f);
}

}  // namespace
}  // namespace cadrels
