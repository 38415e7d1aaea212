// Snapshots of the whole arrangement: the automatic ones taken before an
// operation that removes something, the user's own, and restoring one.
#include "app/App.h"

#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "model/LayoutFile.h"
#include "model/Snapshots.h"
#include "sorting/RestoreReview.h"

namespace cadrels {
namespace {

constexpr int KeptAutomaticSnapshots = 10;

void AppendList(std::wstring& text, TextId heading, const std::vector<std::wstring>& items)
{
    if (items.empty()) {
        return;
    }
    text += L"\n\n";
    text += Tr(heading);
    for (const std::wstring& item : items) {
        text += L"\n    ";
        text += item;
    }
}

// No is the default: a restore the user did not read through must not
// start moving files.
bool AskRestoreReach(const RestoreReach& reach)
{
    std::wstring text = Tr(TextId::RestoreWouldDo);
    AppendList(text, TextId::RestoreWouldFileInto, reach.ruleFolders);
    AppendList(text, TextId::RestoreWouldWatch, reach.watchFolders);
    AppendList(text, TextId::RestoreWouldOpenNetwork, reach.networkPaths);
    text += L"\n\n";
    text += Tr(TextId::RestoreReachQuestion);
    return MessageBoxW(nullptr, text.c_str(), Tr(TextId::RestoreSnapshot),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

}  // namespace

void App::TakeAutoSnapshot(const std::wstring& name)
{
    Save();
    // A snapshot that cannot be written does not stop the operation it
    // protects: the user asked for that operation, the snapshot is a bonus.
    if (!WriteSnapshot(settings_, name, SnapshotTimeNow(), true)) {
        DebugLog(L"Instantane automatique non ecrit : %ls", name.c_str());
        return;
    }
    const int pruned = PruneSnapshots(KeptAutomaticSnapshots);
    DebugLog(L"Instantane automatique : %ls (%d fichier(s) ancien(s) supprime(s)).", name.c_str(), pruned);
}

void App::TakeSnapshot(const std::wstring& name)
{
    Save();
    if (WriteSnapshot(settings_, name, SnapshotTimeNow(), false)) {
        DebugLog(L"Instantane enregistre : %ls", name.c_str());
    } else {
        DebugLog(L"Instantane non ecrit : %ls", name.c_str());
    }
}

void App::TakeSnapshotBeforeClosingCadrel()
{
    TakeAutoSnapshot(Tr(TextId::CloseCadrel));
}

bool App::RestoreFrom(const std::wstring& path)
{
    if (operation_.Running()) {
        DebugLog(L"Restauration refusee : une operation est en cours.");
        return false;
    }
    // The file may come from another machine or a shared folder. Only the
    // arrangement is taken from it: nothing it names is deleted, moved or
    // started, and a document without a single page is no arrangement at all
    // (reading it would give an empty page in place of the user's).
    Settings restored;
    bool pagesFound = false;
    if (!LoadSettingsFile(path, restored, pagesFound) || !pagesFound) {
        DebugLog(L"Restauration impossible, rien n'a change : %ls", path.c_str());
        return false;
    }
    // Whether the container folders were claimed describes this machine's
    // folders, not the arrangement: an older or foreign file saying "not
    // yet" would have the next start mark the user's own folders in the
    // container root as containers.
    restored.containersClaimed = restored.containersClaimed || settings_.containersClaimed;
    // The rules and watched folders of a file from elsewhere would move the
    // user's files on their own, and its network paths would hand the user's
    // credentials to another machine as soon as a listing or an icon opens
    // them, so they wait for the user's word; declined, the arrangement
    // comes back without them. Nothing is opened before the answer.
    if (const RestoreReach reach = NewRestoreReach(settings_, restored); !reach.Empty()) {
        const Settings asked = settings_;
        DebugLog(L"Restauration : accord demande (%u dossier(s) de rangement, %u dossier(s) surveille(s), %u "
                 L"emplacement(s) reseau).",
                 static_cast<unsigned>(reach.ruleFolders.size()), static_cast<unsigned>(reach.watchFolders.size()),
                 static_cast<unsigned>(reach.networkPaths.size()));
        bool agreed = false;
        {
            const OperationState::Scope asking = operation_.Begin();
            agreed = AskRestoreReach(reach);
        }
        if (agreed) {
            DebugLog(L"Restauration : regles et dossiers surveilles acceptes.");
        } else {
            SetAsideNewReach(asked, restored);
            DebugLog(L"Restauration : regles nouvelles desactivees, dossiers nouveaux non surveilles.");
            for (const std::wstring& place : reach.networkPaths) {
                DebugLog(L"Restauration : emplacement reseau laisse de cote, non ouvert : %ls", place.c_str());
            }
        }
    }
    TakeAutoSnapshot(Tr(TextId::BeforeRestore));
    // The live cadrels are those of the arrangement being replaced: gone
    // before anything could copy their geometry into the restored pages.
    DestroyAllCadrels();
    settings_ = std::move(restored);
    // What the administrator forces stays forced whatever the file says.
    ApplyPolicyOverrides();
    // A restored sorting rule waits for the next change in a watched folder:
    // the restore itself moves no file.
    ReloadCadrels(false);
    // The restored folders are the ones to watch from now on.
    StopFolderWatcher();
    StartFolderWatcher();
    DebugLog(L"Instantane restaure : %ls", path.c_str());
    return true;
}

void App::OnPageRequest()
{
    const std::unique_ptr<PageRequest> request = pageRequests_.Take();
    if (!request || !PageActionAllowed(request->action, AreCadrelsLocked())) {
        return;
    }
    switch (request->action) {
    case PageAction::NewPage:
        NewPage(request->text);
        break;
    case PageAction::RenamePage:
        RenamePage(request->index, request->text);
        break;
    case PageAction::DeletePage:
        DeletePage(request->index);
        break;
    case PageAction::SwitchPage:
        SwitchPage(request->index);
        break;
    case PageAction::TakeSnapshot:
        TakeSnapshot(request->text);
        break;
    case PageAction::RestoreSnapshot:
        RestoreFrom(request->text);
        break;
    case PageAction::RestoreBackup:
        RestoreBackup(BackupEntryOf(request->text));
        break;
    }
}

}  // namespace cadrels
