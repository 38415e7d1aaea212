// The predefined cadrels replacing the active page at start-up, on real
// folders under a temporary container root.
#include "TestFiles.h"

#include "i18n/StringTable.h"
#include "policy/PolicyDocument.h"
#include "policy/PolicyMerge.h"

#include <knownfolders.h>

#include <gtest/gtest.h>

namespace cadrels {
namespace {

class PolicyMerge : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUiLanguage(0);
        folder_ = testing::MakeTempFolder(L"merge");
        context_.roots.root = folder_ + L"\\Cadrels";
        context_.roots.legacy = folder_ + L"\\legacy";
        context_.resolve = [this](const GUID& id) {
            return id == FOLDERID_Documents ? folder_ + L"\\Documents" : std::wstring();
        };
        context_.displayName = [](const std::wstring& folder) { return L"name of " + folder; };
        context_.snapshot = [this](const Settings& settings) {
            snapshots_.push_back(settings);
            return true;
        };
        context_.log = [this](const std::wstring& line) { log_.push_back(line); };
        monitors_ = {MonitorInfo{"second", L"\\\\.\\DISPLAY2", {}, {}, 96, false},
                     MonitorInfo{"main", L"\\\\.\\DISPLAY1", {}, {}, 96, true}};
        Workspace page;
        page.id = "{P}";
        settings_.workspaces.push_back(page);
    }
    void TearDown() override { testing::RemoveTree(folder_); }

    Workspace& Page() { return settings_.workspaces[0]; }

    bool Merge(std::string_view cadrels)
    {
        const PolicyDocument policy = ParsePolicy("{\"cadrels\":" + std::string(cadrels) + "}");
        return MergePredefinedCadrels(settings_, policy.Predefined(), monitors_, "key", context_);
    }

    std::wstring folder_;
    PolicyMergeContext context_;
    std::vector<MonitorInfo> monitors_;
    Settings settings_;
    std::vector<Settings> snapshots_;
    std::vector<std::wstring> log_;
};

TEST_F(PolicyMerge, TheUsersCadrelsMakeWayAfterASnapshot)
{
    for (int i = 0; i < 5; ++i) {
        CadrelRecord record;
        record.id = "{USER-" + std::to_string(i) + "}";
        record.tabs.push_back(CadrelTab{L"t", folder_ + L"\\mine"});
        Page().cadrels.push_back(record);
        Page().layouts["key"][record.id] = CadrelGeom{};
    }
    const Settings before = settings_;
    ASSERT_TRUE(Merge(R"([
        {"title":"Plans","folder":"{documents}\\Plans","x":0.5,"y":0.05,"w":0.3,"h":0.6,"opacity":40,
         "tint":"#102030","viewMode":"list","expandDir":"up","sortBy":"date","sortDesc":true,"pinned":true,
         "locked":true,"rolledUp":true},
        {"tabs":[{"folder":"C:\\Shared","emblem":"svg:star","hostedExe":"calc.exe"}]}
    ])"));

    ASSERT_EQ(snapshots_.size(), 1u);
    EXPECT_EQ(snapshots_[0], before) << "the snapshot holds the arrangement being replaced";

    ASSERT_EQ(Page().cadrels.size(), 2u);
    const CadrelRecord& plans = Page().cadrels[0];
    EXPECT_EQ(plans.id, "pol-0");
    ASSERT_EQ(plans.tabs.size(), 1u);
    EXPECT_EQ(plans.tabs[0].folder, folder_ + L"\\Documents\\Plans");
    EXPECT_EQ(plans.tabs[0].title, L"Plans");
    EXPECT_FALSE(plans.tabs[0].titleAuto);
    EXPECT_DOUBLE_EQ(plans.opacity, 0.4);
    EXPECT_EQ(plans.tint, 0x302010u);
    EXPECT_EQ(plans.viewMode, 1);
    EXPECT_EQ(plans.expandDir, 1);
    EXPECT_EQ(plans.sortBy, 2);
    EXPECT_TRUE(plans.sortDesc && plans.pinned && plans.locked);
    EXPECT_EQ(Page().layouts["key"]["pol-0"], (CadrelGeom{"main", 0.5, 0.05, 0.3, 0.6, true}));

    const CadrelRecord& shared = Page().cadrels[1];
    EXPECT_EQ(shared.id, "pol-1");
    EXPECT_EQ(shared.tabs.at(0).title, L"name of C:\\Shared");
    EXPECT_TRUE(shared.tabs[0].titleAuto);
    EXPECT_EQ(shared.tabs[0].emblem, L"svg:star");
    EXPECT_EQ(shared.tabs[0].hostedExe, L"calc.exe");
    EXPECT_EQ(shared.opacity, CadrelRecord{}.opacity) << "absent properties keep the record defaults";
    EXPECT_EQ(shared.sortBy, 0);
    EXPECT_EQ(Page().layouts["key"]["pol-1"], (CadrelGeom{"main", 0.1, 0.1, 0.25, 0.4, false}));

    // The next start finds only the policy's own cadrels: nothing to keep.
    ASSERT_TRUE(Merge(R"([{"folder":"C:\\Other"}])"));
    EXPECT_EQ(snapshots_.size(), 1u);
    ASSERT_EQ(Page().cadrels.size(), 1u);
    EXPECT_EQ(Page().cadrels[0].tabs[0].folder, L"C:\\Other");
}

TEST_F(PolicyMerge, NothingToMergeLeavesThePageAlone)
{
    CadrelRecord record;
    record.id = "{MINE}";
    Page().cadrels.push_back(record);
    EXPECT_FALSE(Merge("[]"));
    EXPECT_FALSE(Merge(R"([{"title":"no folder"}])"));
    EXPECT_EQ(Page().cadrels.size(), 1u);
    EXPECT_TRUE(snapshots_.empty());
}

TEST_F(PolicyMerge, PersonalTabsKeepTheirContainerFromStartToStart)
{
    const char* policy = R"([{"tabs":[{"folder":"C:\\Shared"},{"title":"Perso","personal":true},
                                      {"personal":true}]}])";
    ASSERT_TRUE(Merge(policy));
    const std::wstring perso = Page().cadrels.at(0).tabs.at(1).folder;
    const std::wstring untitled = Page().cadrels[0].tabs.at(2).folder;
    EXPECT_EQ(perso, context_.roots.root + L"\\Perso");
    EXPECT_EQ(untitled, context_.roots.root + L"\\Cadrel vide");
    EXPECT_EQ(Page().cadrels[0].tabs[2].title, L"Cadrel vide");
    ASSERT_TRUE(testing::WriteBytes(perso + L"\\notes.txt", "mes notes"));

    for (int start = 2; start <= 3; ++start) {
        ASSERT_TRUE(Merge(policy));
        EXPECT_EQ(Page().cadrels.at(0).tabs.at(1).folder, perso) << "start " << start;
        EXPECT_EQ(Page().cadrels[0].tabs.at(2).folder, untitled) << "start " << start;
    }
    EXPECT_EQ(testing::ReadBytes(perso + L"\\notes.txt"), "mes notes");
    EXPECT_FALSE(testing::FolderExists(perso + L" (2)"));

    // A container the user deleted comes back where it was.
    ASSERT_TRUE(testing::RemoveTree(untitled));
    ASSERT_TRUE(Merge(policy));
    EXPECT_EQ(Page().cadrels[0].tabs.at(2).folder, untitled);
    EXPECT_TRUE(testing::FileExists(untitled + L"\\.cadrel-container"));

    // A tab that pointed to an ordinary folder is never taken as a container.
    Page().cadrels[0].tabs[1].folder = folder_ + L"\\Documents";
    ASSERT_TRUE(Merge(policy));
    EXPECT_EQ(Page().cadrels[0].tabs.at(1).folder, perso + L" (2)");
}

TEST_F(PolicyMerge, APersonalTabWithoutContainerIsDropped)
{
    context_.roots.root.clear();
    ASSERT_TRUE(Merge(R"([{"tabs":[{"personal":true}]},{"tabs":[{"personal":true},{"folder":"C:\\Kept"}]}])"));
    ASSERT_EQ(Page().cadrels.size(), 1u) << "a cadrel left without tabs is dropped";
    EXPECT_EQ(Page().cadrels[0].id, "pol-1");
    ASSERT_EQ(Page().cadrels[0].tabs.size(), 1u);
    EXPECT_EQ(Page().cadrels[0].tabs[0].folder, L"C:\\Kept");
    EXPECT_EQ(log_.size(), 2u);
}

}  // namespace
}  // namespace cadrels
