#include "ContainerTree.h"

#include "i18n/StringTable.h"
#include "model/DefaultCadrels.h"

#include <knownfolders.h>

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

std::vector<MonitorInfo> TwoMonitors()
{
    MonitorInfo side;
    side.id = "SIDE";
    side.workArea = {-1280, 0, 0, 1024};
    MonitorInfo main;
    main.id = "MAIN";
    main.workArea = {0, 0, 1920, 1040};
    main.primary = true;
    return {side, main};
}

std::wstring WithoutDownloads(const GUID& id)
{
    if (id == FOLDERID_Desktop) return L"C:\\Desk";
    if (id == FOLDERID_Documents) return L"C:\\Docs";
    return {};
}

class DefaultCadrels : public ContainerTree {
protected:
    void SetUp() override
    {
        ContainerTree::SetUp();
        SetUiLanguage(0);
    }
};

TEST_F(DefaultCadrels, AFirstRunLaysTheThreeFoldersSideBySideOnThePrimaryMonitor)
{
    Workspace page;
    EXPECT_EQ(CreateDefaultCadrels(page, TwoMonitors(), "key"), 3);
    ASSERT_EQ(page.cadrels.size(), 3u);
    const std::wstring titles[] = {L"Bureau", L"Téléchargements", L"Documents"};
    const GUID* folders[] = {&FOLDERID_Desktop, &FOLDERID_Downloads, &FOLDERID_Documents};
    const double columns[] = {0.04, 0.36, 0.68};
    for (size_t k = 0; k < 3; ++k) {
        const CadrelRecord& cadrel = page.cadrels[k];
        EXPECT_EQ(cadrel.id.size(), 38u);
        ASSERT_EQ(cadrel.tabs.size(), 1u);
        EXPECT_EQ(cadrel.tabs[0].title, titles[k]);
        EXPECT_EQ(cadrel.tabs[0].folder, KnownFolderPath(*folders[k]));
        EXPECT_EQ(page.layouts.at("key").at(cadrel.id), (CadrelGeom{"MAIN", columns[k], 0.06, 0.28, 0.52, false}));
    }
    EXPECT_NE(page.cadrels[0].id, page.cadrels[1].id);
}

TEST_F(DefaultCadrels, AFolderThatDoesNotResolveLeavesNoGap)
{
    Workspace page;
    EXPECT_EQ(CreateDefaultCadrels(page, {}, "default", WithoutDownloads), 2);
    ASSERT_EQ(page.cadrels.size(), 2u);
    EXPECT_EQ(page.cadrels[1].tabs[0].title, L"Documents");
    EXPECT_EQ(page.cadrels[1].tabs[0].folder, L"C:\\Docs");
    EXPECT_EQ(page.layouts.at("default").at(page.cadrels[0].id), (CadrelGeom{"", 0.04, 0.06, 0.28, 0.52, false}));
    EXPECT_EQ(page.layouts.at("default").at(page.cadrels[1].id).x, 0.36);
}

TEST_F(DefaultCadrels, TheEmptyCadrelGetsANewContainerOrElseTheDesktop)
{
    Workspace page;
    const CadrelGeom geometry{"MAIN", 0.2, 0.3, 0.4, 0.5, false};
    const std::string first = AddEmptyCadrel(page, "key", geometry, roots_, WithoutDownloads);
    AddEmptyCadrel(page, "key", geometry, roots_, WithoutDownloads);
    ASSERT_EQ(page.cadrels.size(), 2u);
    EXPECT_EQ(page.cadrels[0].id, first);
    EXPECT_EQ(page.cadrels[0].tabs.at(0).title, L"Cadrel vide");
    EXPECT_EQ(page.cadrels[0].tabs.at(0).folder, roots_.root + L"\\Cadrel vide");
    EXPECT_EQ(page.cadrels[1].tabs.at(0).folder, roots_.root + L"\\Cadrel vide (2)");
    EXPECT_TRUE(IsContainer(page.cadrels[1].tabs[0].folder, roots_));
    EXPECT_EQ(page.layouts.at("key").at(first), geometry);

    RemoveTree(roots_.root);
    ASSERT_TRUE(WriteBytes(roots_.root, "no root can be made"));
    AddEmptyCadrel(page, "key", geometry, roots_, WithoutDownloads);
    EXPECT_EQ(page.cadrels.at(2).tabs.at(0).folder, L"C:\\Desk");
}

}  // namespace
}  // namespace cadrels::testing
