// Pages and snapshots end to end: the real program driven through its page
// requests, checked by its windows, its layout file and its snapshot files.
#include "CadrelsProcess.h"
#include "GeometryExpect.h"
#include "PointerInput.h"
#include "TestFiles.h"

#include "app/CopyData.h"
#include "app/PageRequest.h"
#include "base/AppMessages.h"
#include "cadrel/Cadrel.h"
#include "i18n/StringTable.h"
#include "model/FolderTree.h"
#include "model/LayoutFile.h"
#include "model/MonitorInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>

namespace cadrels::testing {
namespace {

constexpr wchar_t CadrelClass[] = L"Cadrels.Cadrel";

std::wstring TitleOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

POINT BarCentre(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, rect.top + 15};
}

CadrelRecord PinnedRecord(const std::string& id, const std::wstring& title, const std::wstring& folder)
{
    CadrelRecord record;
    record.id = id;
    record.pinned = true;
    CadrelTab tab;
    tab.title = title;
    tab.folder = folder;
    record.tabs.push_back(tab);
    return record;
}

class PagesAndSnapshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData_ = AppDataFolder();
        containers_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(RemoveTree(containers_));
        ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
        snapshots_ = appData_ + L"\\snapshots";
        monitors_ = EnumerateMonitors();
        ASSERT_FALSE(monitors_.empty());
        key_ = DisplayKey(monitors_);
        monitor_ = PrimaryMonitor(monitors_)->id;
        // Far from every cadrel, so nothing unfolds under the pointer.
        const RECT& work = PrimaryMonitor(monitors_)->workArea;
        SetCursorPos(work.right - 5, work.bottom - 5);
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        RemoveTree(appData_);
        RemoveTree(containers_);
        for (const std::wstring& path : cleanup_) {
            DeleteFileW(path.c_str());
            RemoveTree(path);
        }
    }

    // Whether a filing pass ran after the line containing `marker`, and what
    // it said.
    std::wstring PassAfter(std::wstring_view marker) const
    {
        std::wstring pass;
        WaitFor(
            [&] {
                bool seen = false;
                for (const std::wstring& line : app_.Lines()) {
                    seen = seen || line.find(marker) != std::wstring::npos;
                    if (seen && line.find(L"Passe de rangement :") != std::wstring::npos) {
                        pass = line;
                        return true;
                    }
                }
                return false;
            },
            10000);
        return pass;
    }

    Workspace Page(const std::string& id, const std::wstring& name,
                   const std::vector<std::pair<std::string, std::wstring>>& cadrels) const
    {
        Workspace page;
        page.id = id;
        page.name = name;
        double x = 0.05;
        for (const auto& [cadrelId, title] : cadrels) {
            page.cadrels.push_back(PinnedRecord(cadrelId, title, L"C:\\windows"));
            page.layouts[key_][cadrelId] = CadrelGeom{monitor_, x, 0.1, 0.25, 0.4, false};
            x += 0.45;
        }
        return page;
    }

    void Start(const Settings& settings)
    {
        ASSERT_TRUE(WriteBytes(appData_ + L"\\layout.json", SerializeSettings(settings)));
        ASSERT_TRUE(app_.Start());
        ASSERT_TRUE(app_.WaitUntilReady());
        window_ = app_.AppWindow();
        ASSERT_NE(window_, nullptr);
    }

    LRESULT Request(const PageRequest& request) const
    {
        const std::wstring payload = CopyDataPayload(PageRequestText(request));
        COPYDATASTRUCT data{CopyDataPageRequest, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                            const_cast<wchar_t*>(payload.data())};
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &result);
        return static_cast<LRESULT>(result);
    }

    // The titles of the cadrel windows on screen, sorted.
    std::vector<std::wstring> ShownTitles() const
    {
        std::vector<std::wstring> titles;
        for (HWND window : app_.TopLevelWindows(CadrelClass)) {
            if (IsWindowVisible(window)) {
                titles.push_back(TitleOf(window));
            }
        }
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    bool WaitForTitles(const std::vector<std::wstring>& titles) const
    {
        return WaitFor([&] { return ShownTitles() == titles; });
    }

    // The program may be replacing the file at that moment: read again a
    // little later before calling it unreadable.
    Settings Load(const std::wstring& path) const
    {
        Settings settings;
        bool pagesFound = false;
        const bool read = WaitFor([&] { return LoadSettingsFile(path, settings, pagesFound); }, 2000);
        EXPECT_TRUE(read) << path;
        return settings;
    }
    Settings Layout() const { return Load(appData_ + L"\\layout.json"); }

    FILETIME LayoutWriteTime() const
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW((appData_ + L"\\layout.json").c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }

    // Saves and waits until the file is written.
    Settings SavedLayout() const
    {
        const FILETIME before = LayoutWriteTime();
        PostMessageW(window_, WM_APP_SAVE_SOON, 0, 0);
        WaitFor([&] {
            const FILETIME now = LayoutWriteTime();
            return CompareFileTime(&now, &before) != 0;
        });
        Sleep(100);
        return Layout();
    }

    std::vector<std::wstring> SnapshotFiles(const std::wstring& pattern) const
    {
        std::vector<std::wstring> names = FileNamesMatching(snapshots_ + L"\\" + pattern);
        std::sort(names.begin(), names.end());
        return names;
    }

    // The one automatic snapshot of that name the program wrote.
    std::wstring AutoSnapshot(const std::wstring& name) const
    {
        const std::vector<std::wstring> found = SnapshotFiles(L"auto_" + name + L"_{*}.json");
        EXPECT_EQ(found.size(), 1u) << "auto_" << name;
        return found.empty() ? std::wstring() : snapshots_ + L"\\" + found.front();
    }

    void ExpectSamePages(const Settings& actual, const Settings& expected) const
    {
        ASSERT_EQ(actual.workspaces.size(), expected.workspaces.size());
        EXPECT_EQ(actual.activeWorkspace, expected.activeWorkspace);
        for (size_t p = 0; p < expected.workspaces.size(); ++p) {
            const Workspace& page = actual.workspaces[p];
            const Workspace& want = expected.workspaces[p];
            EXPECT_EQ(page.id, want.id);
            EXPECT_EQ(page.name, want.name);
            EXPECT_EQ(page.cadrels, want.cadrels) << "page " << p;
            for (const CadrelRecord& record : want.cadrels) {
                ExpectGeometryWithinAPixel(page.layouts.at(key_).at(record.id), want.layouts.at(key_).at(record.id),
                                           *PrimaryMonitor(monitors_));
            }
        }
    }

    std::wstring appData_;
    std::wstring containers_;
    std::wstring snapshots_;
    std::vector<MonitorInfo> monitors_;
    std::string key_;
    std::string monitor_;
    CadrelsProcess app_;
    HWND window_ = nullptr;
    std::vector<std::wstring> cleanup_;
};

TEST_F(PagesAndSnapshots, MergeDeletionAndRestoreEachLeaveASnapshotOfTheArrangementBefore)
{
    Settings settings;
    settings.workspaces = {Page("{P0}", L"Zero", {{"{Z}", L"Zed"}}), Page("{P1}", L"Un", {{"{U}", L"Uno"}}),
                           Page("{P2}", L"Deux", {{"{A}", L"Alpha"}, {"{B}", L"Beta"}})};
    settings.activeWorkspace = 2;
    // Ten older automatic snapshots, a manual one and a temporary file left
    // by an interrupted write. The oldest automatic one was renamed last, so
    // its file is the most recently written.
    ASSERT_TRUE(CreateDirectoryW(snapshots_.c_str(), nullptr));
    std::vector<std::wstring> older;
    for (int minute = 0; minute < 10; ++minute) {
        char text[256];
        std::snprintf(text, sizeof text,
                      R"({"workspaces":[{"id":"{OLD}"}],"name":"Ancien %d","created":"2020-01-01 00:%02d","auto":1})",
                      minute, minute);
        older.push_back(snapshots_ + L"\\auto_Ancien " + std::to_wstring(minute) + L".json");
        ASSERT_TRUE(WriteBytes(older.back(), text));
    }
    Sleep(50);
    ASSERT_TRUE(WriteBytes(older[0], R"({"workspaces":[{"id":"{OLD}"}],"name":"Renomme","created":"2020-01-01 00:00","auto":1})"));
    ASSERT_TRUE(WriteBytes(snapshots_ + L"\\snap_manuel.json",
                           R"({"workspaces":[{"id":"{OLD}"}],"created":"2019-01-01 00:00","auto":0})"));
    ASSERT_TRUE(WriteBytes(snapshots_ + L"\\layout-copy.json.tmp", "{"));
    Start(settings);
    ASSERT_TRUE(WaitForTitles({L"Alpha", L"Beta"}));

    // Switching to the page shown does nothing: no save, no rebuild. The
    // refused deletion behind it marks when the switch has been handled.
    const FILETIME written = LayoutWriteTime();
    const size_t builds = app_.CountLines(L"Cadrels de la page construites");
    EXPECT_EQ(Request({PageAction::SwitchPage, 2, L""}), TRUE);
    EXPECT_EQ(Request({PageAction::DeletePage, 7, L""}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Suppression de la page 7 refusee.", 5000));
    const FILETIME after = LayoutWriteTime();
    EXPECT_EQ(CompareFileTime(&after, &written), 0) << "nothing was saved";
    EXPECT_EQ(app_.CountLines(L"Cadrels de la page construites"), builds);
    EXPECT_EQ(app_.CountLines(L"Page affichee"), 0u);

    // A merge.
    const Settings beforeMerge = SavedLayout();
    HWND alpha = nullptr;
    HWND beta = nullptr;
    for (HWND window : app_.TopLevelWindows(CadrelClass)) {
        (TitleOf(window) == L"Alpha" ? alpha : beta) = window;
    }
    ASSERT_TRUE(alpha && beta);
    PostMessageW(window_, WM_APP_CADREL_DROPPED, reinterpret_cast<WPARAM>(alpha), PackScreenPoint(BarCentre(beta)));
    ASSERT_TRUE(app_.WaitForLine(L"Cadrels fusionnees.", 5000));
    ASSERT_TRUE(WaitForTitles({L"Alpha"})) << "one cadrel showing the tab moved in";
    const std::wstring mergeSnapshot = AutoSnapshot(L"Fusion de cadrels");
    EXPECT_EQ(Load(mergeSnapshot).workspaces, beforeMerge.workspaces);
    EXPECT_FALSE(FileExists(older[0])) << "the renamed one is still the oldest";
    EXPECT_TRUE(FileExists(older[1]));
    EXPECT_FALSE(FileExists(snapshots_ + L"\\layout-copy.json.tmp"));
    EXPECT_EQ(SavedLayout().workspaces.at(2).cadrels.size(), 1u);

    // Deleting the active last page of three shows the new last page.
    const Settings beforeDeletion = SavedLayout();
    EXPECT_EQ(Request({PageAction::DeletePage, 2, L""}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Page supprimee : 2, page affichee : 1.", 5000));
    EXPECT_TRUE(WaitForTitles({L"Uno"}));
    const Settings deleted = Layout();
    ASSERT_EQ(deleted.workspaces.size(), 2u);
    EXPECT_EQ(deleted.activeWorkspace, 1);
    EXPECT_EQ(deleted.workspaces[1].id, "{P1}");
    const std::wstring deletionSnapshot = AutoSnapshot(L"Supprimer la page");
    const Settings beforeDeletionSnapshot = Load(deletionSnapshot);
    EXPECT_EQ(beforeDeletionSnapshot.workspaces, beforeDeletion.workspaces);
    EXPECT_EQ(beforeDeletionSnapshot.activeWorkspace, 2);

    // A file without a page is no arrangement: restoring it changes nothing.
    const std::wstring settingsOnly = snapshots_ + L"\\snap_sans pages.json";
    ASSERT_TRUE(WriteBytes(settingsOnly, R"({"theme":2,"name":"sans pages","created":"2024-01-01 10:00","auto":0})"));
    const Settings beforeRefusal = SavedLayout();
    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, settingsOnly}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Restauration impossible, rien n'a change : " + settingsOnly, 5000));
    EXPECT_EQ(Layout(), beforeRefusal);
    EXPECT_TRUE(SnapshotFiles(L"auto_Avant restauration_*.json").empty());
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"Uno"});

    // Restoring the deletion's snapshot brings the deleted page back, shown.
    const Settings beforeRestore = SavedLayout();
    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, deletionSnapshot}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure : " + deletionSnapshot, 5000));
    EXPECT_TRUE(WaitForTitles({L"Alpha"})) << "the windows follow the restored page";
    ExpectSamePages(SavedLayout(), beforeDeletionSnapshot);
    const Settings beforeRestoreSnapshot = Load(AutoSnapshot(L"Avant restauration"));
    EXPECT_EQ(beforeRestoreSnapshot.workspaces, beforeRestore.workspaces);
    EXPECT_EQ(beforeRestoreSnapshot.activeWorkspace, 1);
    EXPECT_EQ(Load(deletionSnapshot), beforeDeletionSnapshot) << "restoring never changes the snapshot";

    // And the snapshot taken before the restore undoes it.
    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, snapshots_ + L"\\" +
                                                           SnapshotFiles(L"auto_Avant restauration_*.json").at(0)}),
              TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure", 5000, 2));
    EXPECT_TRUE(WaitForTitles({L"Uno"}));
    ExpectSamePages(SavedLayout(), beforeRestoreSnapshot);

    // Four taken here: the four oldest seeded ones made room; the manual one stays.
    const std::vector<std::wstring> autos = SnapshotFiles(L"auto_*.json");
    EXPECT_EQ(autos.size(), 10u);
    for (int minute = 0; minute < 10; ++minute) {
        EXPECT_EQ(FileExists(older[static_cast<size_t>(minute)]), minute >= 4) << minute;
    }
    EXPECT_TRUE(FileExists(snapshots_ + L"\\snap_manuel.json"));
    for (const std::wstring& name : autos) {
        std::printf("automatic snapshot: %ls\n", name.c_str());
    }
}

TEST_F(PagesAndSnapshots, PagesAreMadeRenamedAndSwitchedAndARestoreBringsBackEveryPreference)
{
    Settings settings;
    settings.workspaces = {Page("{P0}", L"Seule", {{"{S}", L"Solo"}})};
    Start(settings);
    ASSERT_TRUE(WaitForTitles({L"Solo"}));

    EXPECT_EQ(Request({PageAction::DeletePage, 0, L""}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Suppression de la page 0 refusee.", 5000)) << "the last page stays";
    EXPECT_TRUE(SnapshotFiles(L"*.json").empty());

    EXPECT_EQ(Request({PageAction::NewPage, -1, L"Projets"}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Page ajoutee : 1.", 5000));
    EXPECT_TRUE(WaitForTitles({L"Cadrel vide"}));
    EXPECT_EQ(Request({PageAction::RenamePage, 1, L"Travail"}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Page renommee : 1.", 5000));
    Settings pages = Layout();
    ASSERT_EQ(pages.workspaces.size(), 2u);
    EXPECT_EQ(pages.activeWorkspace, 1);
    const Workspace& made = pages.workspaces[1];
    EXPECT_EQ(made.name, L"Travail");
    EXPECT_EQ(made.id.size(), 38u);
    ASSERT_EQ(made.cadrels.size(), 1u);
    ASSERT_EQ(made.cadrels[0].tabs.size(), 1u);
    EXPECT_EQ(made.cadrels[0].tabs[0].title, L"Cadrel vide");
    EXPECT_EQ(made.cadrels[0].tabs[0].folder.rfind(containers_ + L"\\", 0), 0u) << made.cadrels[0].tabs[0].folder;
    EXPECT_TRUE(FolderExists(made.cadrels[0].tabs[0].folder));
    EXPECT_EQ(made.layouts.at(key_).count(made.cadrels[0].id), 1u);

    EXPECT_EQ(Request({PageAction::SwitchPage, 0, L""}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Page affichee : 0.", 5000));
    EXPECT_TRUE(WaitForTitles({L"Solo"}));

    EXPECT_EQ(Request({PageAction::TakeSnapshot, -1, L"Avant: test?"}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Instantane enregistre : Avant: test?", 5000));
    const std::vector<std::wstring> manual = SnapshotFiles(L"snap_*.json");
    ASSERT_EQ(manual.size(), 1u);
    EXPECT_EQ(manual[0].rfind(L"snap_Avant_ test__{", 0), 0u) << manual[0];
    EXPECT_EQ(Load(snapshots_ + L"\\" + manual[0]).workspaces, Layout().workspaces);

    // A snapshot from elsewhere, with other preferences, in the older
    // single-page form.
    const std::wstring foreign = MakeTempFolder(L"foreign-snapshot") + L"\\partage.json";
    const int english = LanguageIndexFromCode("en");
    ASSERT_GT(english, 0);
    char text[2048];
    std::snprintf(text, sizeof text,
                  R"({"language":%d,"theme":2,"dock":["C:\\windows\\notepad.exe"],"hotkeys":[{"a":3,"m":6,"v":72}],)"
                  R"("watchFolders":["C:\\windows"],"backupEnabled":1,"backupFolder":"C:\\sauvegardes","backupFreq":2,"backupKeep":4,)"
                  R"("cadrels":[{"id":"{F}","tabs":[{"title":"Venue d'ailleurs","folder":"C:\\windows"}],"pinned":1}],)"
                  R"("name":"Partage","created":"2020-01-01 00:00","auto":0})",
                  english);
    ASSERT_TRUE(WriteBytes(foreign, text));
    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, foreign}), TRUE);
    // Its watched folder is new here: the restore asks first.
    const HWND question = app_.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(MessageBoxText(question).find(L"C:\\windows"), std::wstring::npos) << MessageBoxText(question);
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure : " + foreign, 5000));
    EXPECT_TRUE(WaitForTitles({L"Venue d'ailleurs"}));
    Settings expected;
    bool pagesFound = false;
    ASSERT_TRUE(LoadSettingsFile(foreign, expected, pagesFound));
    const Settings restored = SavedLayout();
    EXPECT_EQ(restored.language, english);
    EXPECT_EQ(restored.theme, 2);
    EXPECT_EQ(restored.dock, std::vector<std::wstring>{L"C:\\windows\\notepad.exe"});
    EXPECT_EQ(restored.hotkeys, expected.hotkeys);
    EXPECT_FALSE(restored.hotkeys.empty());
    EXPECT_TRUE(restored.backupEnabled);
    EXPECT_EQ(restored.backupFolder, L"C:\\sauvegardes");
    EXPECT_EQ(restored.backupFreq, 2);
    EXPECT_EQ(restored.backupKeep, 4);
    EXPECT_FALSE(expected.containersClaimed);
    EXPECT_TRUE(restored.containersClaimed) << "this machine's containers stay claimed";
    EXPECT_EQ(app_.CountLines(L"Surveillance de 2 dossier(s) pour le rangement."), 1u)
        << "the Desktop and the restored folder are watched";
    ASSERT_EQ(restored.workspaces.size(), 1u);
    EXPECT_EQ(restored.workspaces[0].cadrels, expected.workspaces.at(0).cadrels);
    EXPECT_EQ(Load(AutoSnapshot(L"Avant restauration")).workspaces.size(), 2u);
    RemoveTree(foreign.substr(0, foreign.rfind(L'\\')));
}

TEST_F(PagesAndSnapshots, RestoredRulesAndWatchedFoldersFileNothingUntilTheUserAgrees)
{
    const std::wstring root = MakeTempFolder(L"restore-reach");
    ASSERT_FALSE(root.empty());
    cleanup_.push_back(root);
    const std::wstring target = root + L"\\cible";
    const std::wstring watched = root + L"\\surveille";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(watched.c_str(), nullptr));
    const std::wstring desktop = KnownFolderPath(FOLDERID_Desktop);
    ASSERT_FALSE(desktop.empty());
    const std::wstring onDesktop = desktop + L"\\offert.txt";
    const std::wstring inWatched = watched + L"\\depose.txt";
    cleanup_.push_back(onDesktop);

    Settings settings;
    settings.workspaces = {Page("{P0}", L"Seule", {{"{S}", L"Solo"}})};
    Start(settings);
    ASSERT_TRUE(WaitForTitles({L"Solo"}));

    // A snapshot made elsewhere: a cadrel on another folder that takes every
    // .txt, and a folder to watch.
    Settings offered = settings;
    CadrelRecord filing = PinnedRecord("{R}", L"Rangement", target);
    filing.rule.enabled = true;
    filing.rule.exts = L"txt";
    offered.workspaces[0].cadrels.push_back(filing);
    offered.workspaces[0].layouts[key_]["{R}"] = CadrelGeom{monitor_, 0.5, 0.1, 0.25, 0.4, false};
    offered.watchFolders = {watched};
    const std::wstring snapshot = root + L"\\offert.json";
    ASSERT_TRUE(WriteBytes(snapshot, SerializeSettings(offered)));
    ASSERT_TRUE(WriteBytes(inWatched, "w"));

    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, snapshot}), TRUE);
    HWND question = app_.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    const std::wstring said = MessageBoxText(question);
    EXPECT_NE(said.find(Tr(TextId::RestoreWouldFileInto)), std::wstring::npos) << said;
    EXPECT_NE(said.find(target), std::wstring::npos) << said;
    EXPECT_NE(said.find(Tr(TextId::RestoreWouldWatch)), std::wstring::npos) << said;
    EXPECT_NE(said.find(watched), std::wstring::npos) << said;
    // Nothing is restored while the question is open, and nothing files.
    ASSERT_TRUE(WriteBytes(onDesktop, "d"));
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"Solo"});
    EXPECT_EQ(app_.CountLines(L"Instantane restaure"), 0u);

    ASSERT_TRUE(AnswerMessageBox(question, IDNO));
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure : " + snapshot, 5000));
    EXPECT_TRUE(WaitForTitles({L"Rangement", L"Solo"})) << "the arrangement itself is restored";
    const std::wstring declinedPass = PassAfter(L"Instantane restaure : " + snapshot);
    EXPECT_EQ(declinedPass, L"Passe de rangement : 0 fichier(s) range(s).");
    EXPECT_TRUE(FileExists(onDesktop));
    EXPECT_TRUE(FileExists(inWatched));
    EXPECT_FALSE(FileExists(target + L"\\offert.txt"));
    // Declined holds through a save: the rule is there, turned off; the
    // watched folder is left out.
    const Settings declined = SavedLayout();
    ASSERT_EQ(declined.workspaces.size(), 1u);
    ASSERT_EQ(declined.workspaces[0].cadrels.size(), 2u);
    EXPECT_FALSE(declined.workspaces[0].cadrels[1].rule.enabled);
    EXPECT_EQ(declined.workspaces[0].cadrels[1].rule.exts, L"txt");
    EXPECT_TRUE(declined.watchFolders.empty());

    // The same snapshot again, and this time the user agrees.
    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, snapshot}), TRUE);
    question = app_.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure : " + snapshot, 5000, 2));
    // The restore itself moves nothing; the next pass files the Desktop and
    // the watched folder. (Asked for here as the watcher asks: under Wine a
    // watcher started again on the same folders misses later changes.)
    PostMessageW(window_, WM_APP_SORT_SOON, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return FileExists(target + L"\\offert.txt"); }, 10000)) << "filed as before";
    EXPECT_FALSE(FileExists(onDesktop));
    EXPECT_TRUE(WaitFor([&] { return FileExists(target + L"\\depose.txt"); }, 10000)) << "the folder is watched";
    const Settings agreed = SavedLayout();
    ASSERT_EQ(agreed.workspaces[0].cadrels.size(), 2u);
    EXPECT_TRUE(agreed.workspaces[0].cadrels[1].rule.enabled);
    EXPECT_EQ(agreed.watchFolders, std::vector<std::wstring>{watched});

    // Restoring what is already in use asks nothing.
    const size_t asked = app_.CountLines(L"Restauration : accord demande");
    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, snapshot}), TRUE);
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure : " + snapshot, 5000, 3));
    EXPECT_EQ(app_.CountLines(L"Restauration : accord demande"), asked);
}

TEST_F(PagesAndSnapshots, RestoredNetworkPlacesStayUnopenedWhenTheUserDeclines)
{
    Settings settings;
    settings.workspaces = {Page("{P0}", L"Seule", {{"{S}", L"Solo"}})};
    Start(settings);
    ASSERT_TRUE(WaitForTitles({L"Solo"}));

    // A tab on a share, an emblem and a dock icon from another machine.
    const std::wstring share = L"\\\\cadrels-test-host\\partage\\dossier";
    const std::wstring emblem = L"//cadrels-test-host/icones/etoile.svg";
    const std::wstring icon = L"\\\\?\\UNC\\cadrels-test-host\\icones\\bloc.ico";
    Settings offered = settings;
    offered.workspaces[0].cadrels[0].tabs[0].emblem = emblem;
    offered.workspaces[0].cadrels.push_back(PinnedRecord("{N}", L"Reseau", share));
    offered.workspaces[0].layouts[key_]["{N}"] = CadrelGeom{monitor_, 0.5, 0.1, 0.25, 0.4, false};
    offered.dock = {L"C:\\windows\\notepad.exe"};
    offered.dockIcons = {{L"C:\\windows\\notepad.exe", icon}};
    const std::wstring folder = MakeTempFolder(L"restore-network");
    cleanup_.push_back(folder);
    const std::wstring snapshot = folder + L"\\reseau.json";
    ASSERT_TRUE(WriteBytes(snapshot, SerializeSettings(offered)));

    EXPECT_EQ(Request({PageAction::RestoreSnapshot, -1, snapshot}), TRUE);
    const HWND question = app_.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    const std::wstring said = MessageBoxText(question);
    EXPECT_NE(said.find(Tr(TextId::RestoreWouldOpenNetwork)), std::wstring::npos) << said;
    for (const std::wstring& place : {share, emblem, icon}) {
        EXPECT_NE(said.find(place), std::wstring::npos) << place;
    }
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));
    ASSERT_TRUE(app_.WaitForLine(L"Instantane restaure : " + snapshot, 5000));
    for (const std::wstring& place : {share, emblem, icon}) {
        EXPECT_EQ(app_.CountLines(L"Restauration : emplacement reseau laisse de cote, non ouvert : " + place), 1u)
            << place;
    }
    EXPECT_EQ(app_.CountLines(L"Cadrel {N}"), 0u) << "the share was never listed";
    EXPECT_TRUE(WaitForTitles({L"Solo"}));
    const Settings declined = SavedLayout();
    ASSERT_EQ(declined.workspaces.size(), 1u);
    ASSERT_EQ(declined.workspaces[0].cadrels.size(), 1u);
    EXPECT_TRUE(declined.workspaces[0].cadrels[0].tabs.at(0).emblem.empty());
    EXPECT_EQ(declined.dock, offered.dock) << "the local dock item stays";
    EXPECT_TRUE(declined.dockIcons.empty());
}

}  // namespace
}  // namespace cadrels::testing
