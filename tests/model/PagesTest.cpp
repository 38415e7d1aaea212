#include "model/Pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

namespace cadrels {
namespace {

Settings WithPages(int count, int active)
{
    Settings settings;
    for (int i = 0; i < count; ++i) {
        Workspace page;
        page.id = "{P" + std::to_string(i) + "}";
        page.cadrels.push_back(CadrelRecord{});
        page.cadrels.back().id = "{C" + std::to_string(i) + "}";
        page.layouts["key"][page.cadrels.back().id] = CadrelGeom{};
        settings.workspaces.push_back(page);
    }
    settings.activeWorkspace = active;
    return settings;
}

std::vector<std::string> PageIds(const Settings& settings)
{
    std::vector<std::string> ids;
    for (const Workspace& page : settings.workspaces) {
        ids.push_back(page.id);
    }
    return ids;
}

TEST(RemovePage, KeepsTheShownPageOrMovesToTheOneThatTookItsPlace)
{
    struct Case {
        int pages;
        int active;
        int removed;
        PageRemoval result;
        int activeAfter;
        std::vector<std::string> idsAfter;
    };
    const Case cases[] = {
        {3, 2, 2, PageRemoval::RemovedActive, 1, {"{P0}", "{P1}"}},  // the active last of three
        {3, 1, 1, PageRemoval::RemovedActive, 1, {"{P0}", "{P2}"}},  // its successor takes its place
        {3, 0, 0, PageRemoval::RemovedActive, 0, {"{P1}", "{P2}"}},
        {3, 2, 0, PageRemoval::RemovedOther, 1, {"{P1}", "{P2}"}},   // below the active one
        {3, 0, 2, PageRemoval::RemovedOther, 0, {"{P0}", "{P1}"}},   // above it
        {2, 1, 1, PageRemoval::RemovedActive, 0, {"{P0}"}},
        {1, 0, 0, PageRemoval::Refused, 0, {"{P0}"}},                 // the last page stays
        {3, 1, 3, PageRemoval::Refused, 1, {"{P0}", "{P1}", "{P2}"}},
        {3, 1, -1, PageRemoval::Refused, 1, {"{P0}", "{P1}", "{P2}"}},
    };
    for (const Case& c : cases) {
        Settings settings = WithPages(c.pages, c.active);
        EXPECT_EQ(RemovePage(settings, c.removed), c.result) << c.pages << " pages, remove " << c.removed;
        EXPECT_EQ(settings.activeWorkspace, c.activeAfter) << c.pages << " pages, remove " << c.removed;
        EXPECT_EQ(PageIds(settings), c.idsAfter);
    }
}

TEST(RemovePage, TakesTheRecordsAndGeometryWithThePageOnly)
{
    Settings settings = WithPages(3, 0);
    settings.theme = 2;
    settings.dock = {L"C:\\a.lnk"};
    Settings expected = settings;
    expected.workspaces.erase(expected.workspaces.begin() + 1);
    ASSERT_EQ(RemovePage(settings, 1), PageRemoval::RemovedOther);
    EXPECT_EQ(settings, expected);
}

// Pages showing folders through tabs that are not the first, on cadrels
// that are not the first, so that only a search of every tab finds them.
Settings WithFolders(const std::vector<std::vector<std::wstring>>& foldersPerPage, int active)
{
    Settings settings;
    for (const std::vector<std::wstring>& folders : foldersPerPage) {
        Workspace page;
        page.cadrels.resize(2);
        page.cadrels[0].tabs.push_back(CadrelTab{L"Hôte", L""});
        for (const std::wstring& folder : folders) {
            CadrelTab tab;
            tab.title = L"t";
            tab.folder = folder;
            page.cadrels[1].tabs.push_back(tab);
        }
        settings.workspaces.push_back(page);
    }
    settings.activeWorkspace = active;
    return settings;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

TEST(OtherPageShowsFolder, FindsAFolderOnAnyTabOfAnyPageButTheLiveOne)
{
    const Settings settings =
        WithFolders({{L"C:\\Inbox", L"C:\\Live"}, {L"C:\\Docs", L"C:\\Downloads"}, {L"D:\\Photos"}}, 0);
    struct Case {
        std::wstring folder;
        int livePage;
        bool shown;
    };
    const Case cases[] = {
        {L"C:\\Downloads", 0, true},   // second tab of the second cadrel on page 1
        {L"c:\\downloads", 0, true},   // spelled otherwise
        {L"D:\\Photos", 0, true},      // the last page
        {L"C:\\Live", 0, false},       // the live page answers for itself
        {L"C:\\Live", 1, true},        // once another page is live, its records count
        {L"C:\\Docs", 1, false},
        {L"C:\\Elsewhere", 0, false},
        {L"", 0, false},               // a host tab's empty folder names nothing
        {L"C:\\Inbox", -1, true},      // no live page: every page is searched
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OtherPageShowsFolder(settings, c.livePage, c.folder, SameIgnoringCase), c.shown)
            << std::string(c.folder.begin(), c.folder.end()) << " live " << c.livePage;
    }
}

}  // namespace
}  // namespace cadrels
