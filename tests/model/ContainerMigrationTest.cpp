#include "ContainerTree.h"

#include "base/UniqueHandle.h"
#include "model/ContainerMigration.h"
#include "model/FolderTree.h"
#include "model/LayoutFile.h"
#include "model/SettingsJson.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

CadrelRecord Cadrel(std::string id, std::vector<std::pair<std::wstring, std::wstring>> titledFolders)
{
    CadrelRecord record;
    record.id = std::move(id);
    for (auto& [title, folder] : titledFolders) {
        record.tabs.push_back(CadrelTab{title, folder});
    }
    return record;
}

class Migration : public ContainerTree {
protected:
    void SetUp() override
    {
        ContainerTree::SetUp();
        context_.roots = roots_;
        context_.snapshotsFolder = base_ + L"\\appdata\\Cadrels\\snapshots";
        context_.save = [this](const Settings& s) {
            ++saves_;
            return layout_.Save(s);
        };
        context_.log = [this](const std::wstring& line) { lines_.push_back(line); };
    }

    std::vector<std::wstring> Snapshots() const { return FileNamesMatching(context_.snapshotsFolder + L"\\*.json"); }

    std::wstring Legacy(const std::wstring& name, const std::string& content = "kept")
    {
        const std::wstring folder = Folder(roots_.legacy + L"\\" + name, true);
        EXPECT_TRUE(WriteBytes(folder + L"\\item.txt", content));
        return folder;
    }

    MigrationContext context_;
    LayoutFile layout_{L""};
    int saves_ = 0;
    std::vector<std::wstring> lines_;
};

TEST_F(Migration, MovesEveryTabOfEveryPageAndKeepsTheOneThatCannotMove)
{
    layout_ = LayoutFile(base_ + L"\\layout.json");
    const std::wstring work = Legacy(L"w1", "work");
    const std::wstring photos = Legacy(L"p1");
    const std::wstring notes = Legacy(L"n1", "notes");
    const std::wstring existing = Folder(roots_.root + L"\\Travail");
    ASSERT_TRUE(WriteBytes(existing + L"\\mine.txt", "the user's"));
    Settings settings;
    settings.workspaces.resize(2);
    settings.workspaces[0].cadrels.push_back(Cadrel("{C1}", {{L"Travail", work}, {L"Photos", photos}}));
    const std::wstring unmarked = Folder(roots_.legacy + L"\\unmarked");
    settings.workspaces[1].cadrels.push_back(
        Cadrel("{C2}", {{L"Notes", notes}, {L"Bureau", base_}, {L"Brouillon", unmarked}}));
    const Settings before = settings;

    UniqueFile holder(CreateFileW(photos.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_TRUE(MigrateContainers(settings, context_));
    holder.Reset();

    ASSERT_EQ(lines_.size(), 3u);
    EXPECT_EQ(lines_[0], L"Conteneur migre: " + work + L" -> " + roots_.root + L"\\Travail (2)");
    const std::wstring failed = L"Migration conteneur ECHOUEE (ancien chemin conserve): " + photos +
                                L" -> orphelin possible: " + roots_.root + L"\\Photos (err ";
    EXPECT_EQ(lines_[1].substr(0, failed.size()), failed);
    EXPECT_TRUE(lines_[1] == failed + L"32)" || lines_[1] == failed + L"5)") << lines_[1];
    EXPECT_EQ(lines_[2], L"Conteneur migre: " + notes + L" -> " + roots_.root + L"\\Notes");

    EXPECT_EQ(ReadBytes(roots_.root + L"\\Travail (2)\\item.txt"), "work");
    EXPECT_EQ(ReadBytes(roots_.root + L"\\Notes\\item.txt"), "notes");
    EXPECT_EQ(ReadBytes(existing + L"\\mine.txt"), "the user's");
    EXPECT_TRUE(FileExists(photos + L"\\item.txt"));
    EXPECT_FALSE(FolderExists(work));

    Settings onDisk;
    bool pages = false;
    ASSERT_TRUE(LoadSettingsFile(layout_.Path(), onDisk, pages));
    EXPECT_EQ(onDisk.workspaces[0].cadrels[0].tabs[0].folder, roots_.root + L"\\Travail (2)");
    EXPECT_EQ(onDisk.workspaces[0].cadrels[0].tabs[1].folder, photos);
    EXPECT_EQ(onDisk.workspaces[1].cadrels[0].tabs[0].folder, roots_.root + L"\\Notes");
    EXPECT_EQ(onDisk.workspaces[1].cadrels[0].tabs[1].folder, base_);
    EXPECT_EQ(onDisk.workspaces[1].cadrels[0].tabs[2].folder, unmarked) << "not ours to move without its marker";
    EXPECT_TRUE(FolderExists(unmarked));
    EXPECT_EQ(saves_, 2) << "saved after each move";

    const std::vector<std::wstring> snapshots = Snapshots();
    ASSERT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(snapshots[0].rfind(L"auto_Avant déplacement des conteneurs_{", 0), 0u) << snapshots[0];
    Settings snapshot;
    ASSERT_TRUE(LoadSettingsFile(context_.snapshotsFolder + L"\\" + snapshots[0], snapshot, pages));
    EXPECT_EQ(snapshot.workspaces[0].cadrels, before.workspaces[0].cadrels) << "taken before anything moved";
}

TEST_F(Migration, MovesNothingWithoutItsSafetySnapshot)
{
    const std::wstring work = Legacy(L"w1");
    ASSERT_TRUE(WriteBytes(context_.snapshotsFolder, "a file where the folder should be"));
    Settings settings;
    settings.workspaces.resize(1);
    settings.workspaces[0].cadrels.push_back(Cadrel("{C1}", {{L"Travail", work}}));
    EXPECT_FALSE(MigrateContainers(settings, context_));
    EXPECT_EQ(lines_, std::vector<std::wstring>{L"Migration ANNULEE : instantane de securite non ecrit (disque/verrou)."});
    EXPECT_EQ(settings.workspaces[0].cadrels[0].tabs[0].folder, work);
    EXPECT_TRUE(FileExists(work + L"\\item.txt"));
    EXPECT_EQ(saves_, 0);
}

TEST_F(Migration, ReportsASaveThatFailsAndKeepsTheNewPathInMemory)
{
    const std::wstring work = Legacy(L"w1");
    context_.save = [](const Settings&) { return false; };
    Settings settings;
    settings.workspaces.resize(1);
    settings.workspaces[0].cadrels.push_back(Cadrel("{C1}", {{L"Travail", work}, {L"Same folder", work}}));
    EXPECT_TRUE(MigrateContainers(settings, context_));
    const std::wstring target = roots_.root + L"\\Travail";
    ASSERT_GE(lines_.size(), 2u);
    EXPECT_EQ(lines_[1], L"Migration: persistance layout.json ECHOUEE apres deplacement vers " + target +
                             L" (disque/verrou) ; re-persistance a la sortie.");
    EXPECT_EQ(settings.workspaces[0].cadrels[0].tabs[0].folder, target);
    EXPECT_EQ(settings.workspaces[0].cadrels[0].tabs[1].folder, target) << "a second tab follows its moved folder";
}

TEST_F(Migration, LeavesAloneWhatIsNotAContainerOfTheFormerFolder)
{
    const std::wstring unmarked = Folder(roots_.legacy + L"\\unmarked");
    const std::wstring current = Container(L"Current");
    Settings settings;
    settings.workspaces.resize(1);
    settings.workspaces[0].cadrels.push_back(Cadrel(
        "{C1}", {{L"a", unmarked}, {L"b", current}, {L"c", roots_.legacy}, {L"d", roots_.legacy + L"\\..\\x"}}));
    const Settings before = settings;
    EXPECT_FALSE(MigrateContainers(settings, context_));
    EXPECT_EQ(settings, before);
    EXPECT_TRUE(lines_.empty());
    EXPECT_TRUE(Snapshots().empty()) << "no snapshot when there is nothing to move";
    EXPECT_TRUE(FolderExists(unmarked));
}

TEST_F(Migration, ClaimMarksExistingTabFoldersInsideTheRootsOnce)
{
    const std::wstring inRoot = Folder(roots_.root + L"\\Old");
    const std::wstring inLegacy = Folder(roots_.legacy + L"\\Older");
    const std::wstring outside = Folder(base_ + L"\\profile\\Documents");
    const std::wstring missing = roots_.root + L"\\Missing";
    Settings settings;
    settings.workspaces.resize(2);
    settings.workspaces[0].cadrels.push_back(Cadrel("{C1}", {{L"a", inRoot}, {L"b", outside}}));
    settings.workspaces[1].cadrels.push_back(Cadrel("{C2}", {{L"c", inLegacy}, {L"d", missing}, {L"e", roots_.root}}));
    EXPECT_TRUE(ClaimContainers(settings, roots_));
    EXPECT_TRUE(settings.containersClaimed);
    EXPECT_TRUE(Marked(inRoot));
    EXPECT_TRUE(Marked(inLegacy));
    EXPECT_FALSE(Marked(outside));
    EXPECT_FALSE(Marked(roots_.root));
    EXPECT_FALSE(FolderExists(missing));

    const std::wstring later = Folder(roots_.root + L"\\Later");
    settings.workspaces[0].cadrels[0].tabs[0].folder = later;
    EXPECT_FALSE(ClaimContainers(settings, roots_));
    EXPECT_FALSE(Marked(later));
}

}  // namespace
}  // namespace cadrels::testing
