// What a start does with the cadrels and their folders: the first run, a later
// start with an empty page, and containers left in their former place.
#include "CadrelsProcess.h"
#include "GeometryExpect.h"
#include "TestFiles.h"

#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <knownfolders.h>

#include "model/FolderTree.h"

#include <gtest/gtest.h>

#include <memory>

namespace cadrels::testing {
namespace {

class ContainerStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData_ = AppDataFolder();
        root_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(RemoveTree(root_));
        layout_ = appData_ + L"\\layout.json";
        monitors_ = EnumerateMonitors();
        ASSERT_FALSE(monitors_.empty());
    }
    void TearDown() override
    {
        if (process_ && process_->Running()) {
            process_->Quit();
        }
        process_.reset();
        RemoveTree(appData_);
        RemoveTree(root_);
    }

    // Each start is a new process to observe.
    void RunOnce()
    {
        process_ = std::make_unique<CadrelsProcess>();
        ASSERT_TRUE(process_->Start());
        ASSERT_TRUE(process_->WaitUntilReady());
        ASSERT_EQ(process_->Quit(), std::optional<DWORD>(0));
    }

    void WriteLayout(const std::string& text)
    {
        ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(layout_, text));
    }

    Settings Load() const
    {
        Settings settings;
        bool pages = false;
        EXPECT_TRUE(LoadSettingsFile(layout_, settings, pages));
        return settings;
    }

    std::wstring appData_;
    std::wstring root_;
    std::wstring layout_;
    std::vector<MonitorInfo> monitors_;
    std::unique_ptr<CadrelsProcess> process_;
};

TEST_F(ContainerStartup, AFirstRunLaysOutDesktopDownloadsAndDocumentsOnce)
{
    RunOnce();
    const Settings first = Load();
    ASSERT_EQ(first.workspaces.size(), 1u);
    const Workspace& page = first.workspaces[0];
    ASSERT_EQ(page.cadrels.size(), 3u);
    const GUID* folders[] = {&FOLDERID_Desktop, &FOLDERID_Downloads, &FOLDERID_Documents};
    const double columns[] = {0.04, 0.36, 0.68};
    ASSERT_EQ(page.layouts.size(), 1u);
    const auto& [key, geometries] = *page.layouts.begin();
    EXPECT_EQ(key, DisplayKey(monitors_));
    for (size_t k = 0; k < 3; ++k) {
        ASSERT_EQ(page.cadrels[k].tabs.size(), 1u);
        EXPECT_EQ(page.cadrels[k].tabs[0].folder, KnownFolderPath(*folders[k]));
        // Saved from the live windows: the fractions of whole pixels, rolled
        // up because unpinned cadrels start rolled.
        const CadrelGeom& geometry = geometries.at(page.cadrels[k].id);
        const MonitorInfo& primary = *PrimaryMonitor(monitors_);
        ExpectGeometryWithinAPixel(geometry, CadrelGeom{primary.id, columns[k], 0.06, 0.28, 0.52, true}, primary);
        EXPECT_TRUE(geometry.rolled);
    }
    EXPECT_EQ(page.cadrels[0].tabs[0].title, L"Bureau");

    RunOnce();
    const Settings second = Load();
    EXPECT_EQ(second.workspaces, first.workspaces) << "a second start creates nothing";
    EXPECT_FALSE(FolderExists(root_)) << "no container was needed";
}

TEST_F(ContainerStartup, ALaterStartWithAnEmptyPageMakesOneEmptyCadrel)
{
    WriteLayout(R"({"containersClaimed":1,"workspaces":[{"id":"{P}","name":"Vide"}]})");
    RunOnce();
    const Workspace page = Load().workspaces.at(0);
    ASSERT_EQ(page.cadrels.size(), 1u);
    const CadrelTab& tab = page.cadrels[0].tabs.at(0);
    EXPECT_EQ(tab.title, L"Cadrel vide");
    EXPECT_EQ(tab.folder, root_ + L"\\Cadrel vide");
    EXPECT_TRUE(FileExists(tab.folder + L"\\.cadrel-container"));
    const MonitorInfo& primary = *PrimaryMonitor(monitors_);
    const double width = primary.workArea.right - primary.workArea.left;
    const double height = primary.workArea.bottom - primary.workArea.top;
    const CadrelGeom geometry = page.layouts.at(DisplayKey(monitors_)).at(page.cadrels[0].id);
    EXPECT_EQ(geometry.monitor, primary.id);
    // The file keeps ten significant digits.
    EXPECT_NEAR(geometry.x, 60 * primary.dpi / 96 / width, 1e-9) << "the first cascade position";
    EXPECT_NEAR(geometry.h, 460 * primary.dpi / 96 / height, 1e-9);
}

TEST_F(ContainerStartup, ContainersLeftInTheFormerFolderMoveIntoTheProfile)
{
    const std::wstring old = appData_ + L"\\containers\\old one";
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, old.c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(WriteBytes(old + L"\\.cadrel-container", ""));
    ASSERT_TRUE(WriteBytes(old + L"\\plan.txt", "plan"));
    const std::wstring unmarked = root_ + L"\\Before markers";
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, unmarked.c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(WriteBytes(layout_,
                           R"({"workspaces":[{"id":"{P}","cadrels":[{"id":"{C}","tabs":[{"title":"Projets","folder":")" +
                               JsonPathText(old) + R"("},{"title":"x","folder":")" + JsonPathText(unmarked) + R"("}]}]}]})"));
    RunOnce();

    const std::wstring moved = root_ + L"\\Projets";
    EXPECT_EQ(process_->CountLines(L"Conteneur migre: " + old + L" -> " + moved), 1u);
    EXPECT_EQ(ReadBytes(moved + L"\\plan.txt"), "plan");
    EXPECT_FALSE(FolderExists(old));
    const Settings settings = Load();
    EXPECT_EQ(settings.workspaces.at(0).cadrels.at(0).tabs.at(0).folder, moved);
    EXPECT_TRUE(settings.containersClaimed);
    EXPECT_TRUE(FileExists(unmarked + L"\\.cadrel-container")) << "claimed once";

    const std::vector<std::wstring> snapshots = FileNamesMatching(appData_ + L"\\snapshots\\auto_*.json");
    ASSERT_FALSE(snapshots.empty()) << "the safety snapshot";
    EXPECT_EQ(snapshots.front().rfind(L"auto_Avant déplacement des conteneurs_{", 0), 0u);
    EXPECT_NE(ReadBytes(appData_ + L"\\snapshots\\" + snapshots.front()).find("\"auto\": 1"), std::string::npos);
}

}  // namespace
}  // namespace cadrels::testing
