// The real program started under an administrator's policy: what it writes
// into layout.json, which snapshot it leaves, and which policy it refuses.
// Dragging a locked cadrel's title bar waits for the cadrel windows; here the
// arrangement the windows would be built from is checked.
#include "CadrelsProcess.h"
#include "GeometryExpect.h"
#include "TestFiles.h"

#include "app/CopyData.h"
#include "model/FolderTree.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <aclapi.h>
#include <knownfolders.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <memory>

namespace cadrels::testing {
namespace {

constexpr char PolicyText[] = R"({
  "forceTheme": "SOMBRE",
  "forceOpacity": 40,
  "lockCadrels": true,
  "brandName": "Acme Bureau",
  "cadrels": [
    {"title": "Plans", "folder": "{documents}", "x": 0.05, "y": 0.1, "w": 0.3, "h": 0.5},
    {"tabs": [{"title": "Perso", "personal": true}], "x": 0.6, "y": 0.2, "w": 0.25, "h": 0.4, "opacity": 90}
  ]
})";

class PolicyStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData_ = AppDataFolder();
        root_ = ContainerRootFolder();
        policyFolder_ = KnownFolderPath(FOLDERID_ProgramData) + L"\\Cadrels";
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(RemoveTree(root_));
        ASSERT_TRUE(RemoveTree(policyFolder_));
        layout_ = appData_ + L"\\layout.json";
    }
    void TearDown() override
    {
        if (process_ && process_->Running()) {
            process_->Quit();
        }
        process_.reset();
        RemoveTree(policyFolder_);
        RemoveTree(appData_);
        RemoveTree(root_);
    }

    void RunOnce()
    {
        process_ = std::make_unique<CadrelsProcess>();
        ASSERT_TRUE(process_->Start());
        ASSERT_TRUE(process_->WaitUntilReady());
        ASSERT_EQ(process_->Quit(), std::optional<DWORD>(0));
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
    std::wstring policyFolder_;
    std::wstring layout_;
    std::unique_ptr<CadrelsProcess> process_;
};

TEST_F(PolicyStartup, PredefinedCadrelsReplaceThePageWithTheForcedLookAtEveryStart)
{
    ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(layout_, R"({"containersClaimed":1,"theme":2,"workspaces":[{"id":"{P}","cadrels":[
        {"id":"{MINE-1}","tabs":[{"title":"a","folder":"C:\\users"}]},
        {"id":"{MINE-2}","tabs":[{"title":"b","folder":"C:\\users"}]}]}]})"));
    ASSERT_TRUE(CreateDirectoryW(policyFolder_.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(policyFolder_ + L"\\policy.json", PolicyText));

    RunOnce();
    EXPECT_EQ(process_->CountLines(L"Politique chargee : " + policyFolder_ + L"\\policy.json (2 cadrel(s)"), 1u);
    const Settings first = Load();
    EXPECT_EQ(first.theme, 1) << "forced and stored";
    ASSERT_EQ(first.workspaces.size(), 1u);
    const Workspace& page = first.workspaces[0];
    ASSERT_EQ(page.cadrels.size(), 2u);
    EXPECT_EQ(page.cadrels[0].id, "pol-0");
    EXPECT_EQ(page.cadrels[1].id, "pol-1");
    EXPECT_DOUBLE_EQ(page.cadrels[0].opacity, 0.4);
    EXPECT_DOUBLE_EQ(page.cadrels[1].opacity, 0.4) << "the forced opacity wins over the cadrel's own";
    EXPECT_EQ(page.cadrels[0].tabs.at(0).folder, KnownFolderPath(FOLDERID_Documents));
    const std::wstring perso = page.cadrels[1].tabs.at(0).folder;
    EXPECT_EQ(perso, root_ + L"\\Perso");

    const std::vector<MonitorInfo> monitors = EnumerateMonitors();
    const MonitorInfo& primary = *PrimaryMonitor(monitors);
    const auto& geometries = page.layouts.at(DisplayKey(monitors));
    // Saved from the live windows: whole pixels.
    ExpectGeometryWithinAPixel(geometries.at("pol-0"), CadrelGeom{primary.id, 0.05, 0.1, 0.3, 0.5, false}, primary);
    ExpectGeometryWithinAPixel(geometries.at("pol-1"), CadrelGeom{primary.id, 0.6, 0.2, 0.25, 0.4, false}, primary);

    const std::vector<std::wstring> snapshots = FileNamesMatching(appData_ + L"\\snapshots\\auto_*.json");
    ASSERT_EQ(snapshots.size(), 1u) << "the user's two cadrels were kept in a snapshot";
    EXPECT_EQ(snapshots[0].rfind(L"auto_Avant la disposition de l'administrateur_{", 0), 0u);
    const std::string snapshot = ReadBytes(appData_ + L"\\snapshots\\" + snapshots[0]);
    EXPECT_NE(snapshot.find("{MINE-1}"), std::string::npos);
    EXPECT_NE(snapshot.find("{MINE-2}"), std::string::npos);

    // The user's files in the personal tab stay in view start after start.
    ASSERT_TRUE(WriteBytes(perso + L"\\notes.txt", "mes notes"));
    RunOnce();
    EXPECT_EQ(Load().workspaces.at(0).cadrels.at(1).tabs.at(0).folder, perso) << "start 2";

    // Another process asks what the locked menus do not offer: only the
    // snapshot, which changes nothing, is carried out.
    process_ = std::make_unique<CadrelsProcess>();
    ASSERT_TRUE(process_->Start());
    ASSERT_TRUE(process_->WaitUntilReady());
    const auto request = [&](const std::wstring& text) {
        const std::wstring payload = text + L'\0';
        COPYDATASTRUCT data{CopyDataPageRequest, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(payload.data())};
        DWORD_PTR result = 0;
        SendMessageTimeoutW(process_->AppWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000,
                            &result);
        return result;
    };
    EXPECT_EQ(request(L"new\tIntruse"), 0u);
    EXPECT_EQ(request(L"switch\t1"), 0u);
    EXPECT_EQ(request(L"delete\t0"), 0u);
    EXPECT_EQ(request(L"snapshot\tA garder"), 1u);
    EXPECT_TRUE(process_->WaitForLine(L"Demande de page refusee : les cadrels sont verrouilles.", 2000));
    ASSERT_EQ(process_->Quit(), std::optional<DWORD>(0));
    EXPECT_EQ(process_->CountLines(L"Demande de page refusee"), 3u);
    const Settings later = Load();
    ASSERT_EQ(later.workspaces.size(), 1u) << "no page was added or deleted";
    EXPECT_EQ(later.workspaces.at(0).cadrels.at(1).tabs.at(0).folder, perso) << "start 3";
    EXPECT_EQ(FileNamesMatching(appData_ + L"\\snapshots\\snap_A garder_*.json").size(), 1u);
    EXPECT_EQ(ReadBytes(perso + L"\\notes.txt"), "mes notes");
    EXPECT_FALSE(FolderExists(perso + L" (2)"));
    EXPECT_EQ(FileNamesMatching(appData_ + L"\\snapshots\\auto_*.json").size(), 1u)
        << "no snapshot once only the policy's cadrels remain";
}

TEST_F(PolicyStartup, APolicyEveryoneMayRewriteIsRefused)
{
    ASSERT_TRUE(CreateDirectoryW(policyFolder_.c_str(), nullptr));
    const std::wstring policy = policyFolder_ + L"\\policy.json";
    ASSERT_TRUE(WriteBytes(policy, PolicyText));
    ASSERT_TRUE(testing::MakeWritableByEveryone(policy));

    RunOnce();
    EXPECT_EQ(process_->CountLines(L"Politique refusee (" + policy + L") : le fichier est modifiable par S-1-1-0."), 1u);
    EXPECT_EQ(process_->CountLines(L"Politique chargee"), 0u);
    const Settings settings = Load();
    EXPECT_EQ(settings.theme, 0);
    for (const CadrelRecord& record : settings.workspaces.at(0).cadrels) {
        EXPECT_NE(record.id.rfind("pol-", 0), 0u);
    }
}

// Someone who may read the policy holds it open without sharing for the
// whole start: Cadrels does not run as if there were no policy.
TEST_F(PolicyStartup, APolicyHeldOpenThroughoutStartsLocked)
{
    ASSERT_TRUE(CreateDirectoryW(policyFolder_.c_str(), nullptr));
    const std::wstring policy = policyFolder_ + L"\\policy.json";
    ASSERT_TRUE(WriteBytes(policy, PolicyText));
    HANDLE held = CreateFileW(policy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    const ULONGLONG started = GetTickCount64();
    RunOnce();
    CloseHandle(held);
    EXPECT_GE(GetTickCount64() - started, 2000u) << "it waited for the file before giving up";
    EXPECT_EQ(process_->CountLines(L"Politique illisible (" + policy +
                                   L") : ouverture impossible (erreur 32) ; cadrels et reglages verrouilles."),
              1u);
    EXPECT_EQ(process_->CountLines(L"Politique chargee"), 0u);
}

}  // namespace
}  // namespace cadrels::testing
