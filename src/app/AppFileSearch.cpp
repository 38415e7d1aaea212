// The file search as the application sees it: made on first use, toggled by
// the shortcut, the cadrel menu and --search, and answering what the search
// asks about pages and cadrels.
#include "app/App.h"

#include "app/PageRequest.h"
#include "base/DebugLog.h"

namespace cadrels {

void App::ToggleFileSearch(HWND cadrelWindow)
{
    if (!fileSearch_) {
        FileSearchHost& host = *this;
        auto search = std::make_unique<FileSearch>(host, graphics_, window_);
        if (!search->Create(instance_)) {
            return;
        }
        fileSearch_ = std::move(search);
    }
    if (fileSearch_->Visible()) {
        fileSearch_->Hide();
    } else {
        fileSearch_->Show(cadrelWindow);
    }
}

const std::vector<Workspace>& App::SearchPages() const
{
    return settings_.workspaces;
}

std::optional<std::wstring> App::LiveCadrelName(HWND window) const
{
    const Cadrel* cadrel = cadrels_.Find(window);
    if (cadrel == nullptr) {
        cadrel = cadrels_.Find(GetAncestor(window, GA_ROOT));
    }
    const int active = settings_.activeWorkspace;
    if (cadrel == nullptr || active < 0 || active >= static_cast<int>(settings_.workspaces.size())) {
        return std::nullopt;
    }
    for (const CadrelRecord& record : settings_.workspaces[static_cast<size_t>(active)].cadrels) {
        if (record.id == cadrel->Id()) {
            return CadrelName(record);
        }
    }
    return std::nullopt;
}

void App::SwitchToPage(int index)
{
    if (!PageActionAllowed(PageAction::SwitchPage, AreCadrelsLocked())) {
        DebugLog(L"Recherche de fichiers : changement de page refuse par la strategie.");
        return;
    }
    SwitchPage(index);
}

IconCache* App::SearchIcons()
{
    return iconCache_.get();
}

}  // namespace cadrels
