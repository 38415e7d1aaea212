#include "model/ContainerMigration.h"

#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "i18n/WideFormat.h"
#include "model/FolderMover.h"
#include "model/FolderTree.h"
#include "model/LayoutFile.h"
#include "model/PathText.h"
#include "model/Snapshots.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <vector>

namespace cadrels {
namespace {

template <typename Visit>
void ForEachTab(Settings& settings, Visit visit)
{
    for (Workspace& page : settings.workspaces) {
        for (CadrelRecord& cadrel : page.cadrels) {
            for (CadrelTab& tab : cadrel.tabs) {
                visit(cadrel, tab);
            }
        }
    }
}

// Folders already moved in this run, by their old path (ASCII case ignored):
// a second tab on the same container follows it instead of failing to move a
// folder that is no longer there.
class MovedFolders {
public:
    void Add(const std::wstring& from, const std::wstring& to) { moves_.emplace_back(from, to); }
    const std::wstring* Find(const std::wstring& from) const
    {
        for (const auto& [old, moved] : moves_) {
            if (EqualsIgnoringAsciiCase(old, from)) {
                return &moved;
            }
        }
        return nullptr;
    }
    bool Empty() const { return moves_.empty(); }

private:
    std::vector<std::pair<std::wstring, std::wstring>> moves_;
};

}  // namespace

bool ClaimContainers(Settings& settings, const ContainerRoots& roots)
{
    if (settings.containersClaimed) {
        return false;
    }
    ForEachTab(settings, [&roots](const CadrelRecord&, const CadrelTab& tab) {
        if (IsInsideContainerRoot(tab.folder, roots) && IsDirectory(tab.folder) && !HasContainerMarker(tab.folder)) {
            WriteContainerMarker(tab.folder);
        }
    });
    settings.containersClaimed = true;
    return true;
}

MigrationContext ProcessMigrationContext()
{
    MigrationContext context;
    context.roots = ProcessContainerRoots();
    context.snapshotsFolder = SnapshotsFolderPath();
    context.save = SaveLayout;
    context.log = [](const std::wstring& line) { DebugLog(L"%ls", line.c_str()); };
    return context;
}

bool MigrateContainers(Settings& settings)
{
    return MigrateContainers(settings, ProcessMigrationContext());
}

bool MigrateContainers(Settings& settings, const MigrationContext& context)
{
    const std::wstring& legacy = context.roots.legacy;
    // Only a folder that carries the marker is moved: a folder without one is
    // not ours to rename, even in our former folder. ClaimContainers marks the
    // tab folders found there once, and the next start moves them.
    bool anyToMove = false;
    ForEachTab(settings, [&](const CadrelRecord&, const CadrelTab& tab) {
        anyToMove = anyToMove || (IsStrictlyInside(tab.folder, legacy) && HasContainerMarker(tab.folder));
    });
    if (legacy.empty() || !anyToMove) {
        return false;
    }
    if (!CreateFolderTree(context.roots.root)) {
        return false;
    }
    if (WriteSnapshotInFolder(context.snapshotsFolder, settings, Tr(TextId::BeforeMovingContainers),
                              SnapshotTimeNow(), true)
            .empty()) {
        context.log(L"Migration ANNULEE : instantane de securite non ecrit (disque/verrou).");
        return false;
    }

    std::vector<std::wstring> reserved;
    MovedFolders moved;
    const auto persist = [&](const std::wstring& newPath) {
        if (!context.save(settings)) {
            context.log(FormatWide(L"Migration: persistance layout.json ECHOUEE apres deplacement vers %ls "
                                   L"(disque/verrou) ; re-persistance a la sortie.",
                                   newPath.c_str()));
        }
    };
    ForEachTab(settings, [&](const CadrelRecord& cadrel, CadrelTab& tab) {
        if (!IsStrictlyInside(tab.folder, legacy)) {
            return;
        }
        if (const std::wstring* already = moved.Find(tab.folder)) {
            tab.folder = *already;
            persist(tab.folder);
            return;
        }
        if (!HasContainerMarker(tab.folder)) {
            return;
        }
        const std::wstring old = tab.folder;
        const std::wstring target =
            UniqueContainerPath(context.roots.root, ContainerFolderName(tab.title, cadrel.id), reserved);
        if (!MoveFolderThroughMover(old, target)) {
            const DWORD error = GetLastError();
            context.log(FormatWide(L"Migration conteneur ECHOUEE (ancien chemin conserve): %ls -> orphelin possible: "
                                   L"%ls (err %lu)",
                                   old.c_str(), target.c_str(), error));
            return;
        }
        context.log(FormatWide(L"Conteneur migre: %ls -> %ls", old.c_str(), target.c_str()));
        tab.folder = target;
        reserved.push_back(target);
        moved.Add(old, target);
        persist(target);
    });
    return !moved.Empty();
}

}  // namespace cadrels
