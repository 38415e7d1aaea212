// The item menu: the shell's own context menu of the clicked file with the
// program's entries on top.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "base/UniqueMemory.h"
#include "cadrel/ItemMenuModel.h"
#include "settings/DarkMenu.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace cadrels {
namespace {

// The shell's menu of one file, ready to be shown, or nothing.
struct ShellItemMenu {
    UniqueIdList absolute;
    Microsoft::WRL::ComPtr<IContextMenu> menu;
    UniqueMenu popup;
    HRESULT failure = S_OK;
    const wchar_t* failedStep = L"";
};

ShellItemMenu BuildShellItemMenu(HWND owner, const std::wstring& path)
{
    ShellItemMenu result;
    PIDLIST_ABSOLUTE absolute = nullptr;
    result.failure = SHParseDisplayName(path.c_str(), nullptr, &absolute, 0, nullptr);
    result.absolute.Reset(absolute);
    if (FAILED(result.failure)) {
        result.failedStep = L"SHParseDisplayName";
        return result;
    }
    Microsoft::WRL::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    result.failure = SHBindToParent(absolute, IID_PPV_ARGS(&parent), &child);
    if (FAILED(result.failure)) {
        result.failedStep = L"SHBindToParent";
        return result;
    }
    result.failure = parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr,
                                           reinterpret_cast<void**>(result.menu.GetAddressOf()));
    if (FAILED(result.failure)) {
        result.failedStep = L"GetUIObjectOf";
        result.menu.Reset();
        return result;
    }
    result.popup.Reset(CreatePopupMenu());
    if (!result.popup) {
        result.failure = HRESULT_FROM_WIN32(GetLastError());
        result.failedStep = L"CreatePopupMenu";
        result.menu.Reset();
        return result;
    }
    result.failure = result.menu->QueryContextMenu(result.popup.Get(), 0, 1, 0x7FFF, CMF_NORMAL);
    if (FAILED(result.failure)) {
        result.failedStep = L"QueryContextMenu";
        result.menu.Reset();
        result.popup.Reset();
    }
    return result;
}

bool CopyTextToClipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    bool done = false;
    if (memory) {
        if (void* locked = GlobalLock(memory.Get())) {
            std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(locked));
            GlobalUnlock(memory.Get());
            // The clipboard owns the memory once it accepted it.
            done = SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr;
            if (done) {
                memory.Release();
            }
        }
    }
    CloseClipboard();
    return done;
}

}  // namespace

void Cadrel::ShowItemMenu(int index, POINT screen)
{
    HWND window = window_.Get();
    if (window == nullptr || !content_.Contains(index)) {
        return;
    }
    const CadrelItem& item = content_.Items()[static_cast<size_t>(index)];
    const std::wstring path = item.path;
    const bool pinned = item.pinned;
    const std::vector<std::wstring> targets = ItemMenuTargets(content_.SelectedPaths(), path);
    const std::vector<ItemMenuEntry> entries = ItemMenuEntries(static_cast<int>(targets.size()), pinned);

    ShellItemMenu shell = BuildShellItemMenu(window, path);
    int chosen = 0;
    {
        std::optional<OperationState::Scope> running;
        running.emplace(host_.BeginOperation());
        menuOpen_ = true;
        if (shell.menu) {
            for (size_t i = 0; i < entries.size(); ++i) {
                InsertMenuW(shell.popup.Get(), static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                            static_cast<UINT_PTR>(entries[i].id), entries[i].label.c_str());
            }
            InsertMenuW(shell.popup.Get(), static_cast<UINT>(entries.size()), MF_BYPOSITION | MF_SEPARATOR, 0,
                        nullptr);
            shellMenu_.Hold(*shell.menu.Get());
            DebugLog(L"Menu de l'element %ls ouvert : menu du shell, %d entrees, %u cible(s).", path.c_str(),
                     GetMenuItemCount(shell.popup.Get()), static_cast<unsigned>(targets.size()));
            SetForegroundWindow(window);
            chosen = static_cast<int>(TrackPopupMenu(shell.popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                     screen.y, 0, window, nullptr));
            // The menu closes properly only once the window got a message.
            PostMessageW(window, WM_NULL, 0, 0);
            shellMenu_.Drop();
        } else {
            // Without the shell's menu the program's own entries still serve.
            DebugLog(L"Menu de l'element %ls : menu du shell indisponible (%ls, HRESULT 0x%08X), entrees de "
                     L"Cadrels seules, %u cible(s).",
                     path.c_str(), shell.failedStep, static_cast<unsigned>(shell.failure),
                     static_cast<unsigned>(targets.size()));
            std::vector<DarkMenuItem> items;
            for (const ItemMenuEntry& entry : entries) {
                DarkMenuItem menuItem;
                menuItem.label = entry.label;
                menuItem.id = entry.id;
                items.push_back(std::move(menuItem));
            }
            chosen = ShowDarkMenu(window, items, screen.x, screen.y, static_cast<int>(dpi_));
        }
        menuOpen_ = false;
    }
    if (!window_) {
        return;
    }
    DebugLog(L"Menu de l'element : choix 0x%X.", static_cast<unsigned>(chosen));
    if (chosen != 0) {
        if (chosen >= ItemCmdOpenLocation && chosen <= ItemCmdQuickLook) {
            RunItemCommand(chosen, path, targets, screen);
        } else if (shell.menu) {
            // The shell may ask for a confirmation in a loop of its own.
            const OperationState::Scope invoking = host_.BeginOperation();
            CMINVOKECOMMANDINFOEX invoke{};
            invoke.cbSize = sizeof invoke;
            invoke.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
            invoke.hwnd = window;
            invoke.lpVerb = MAKEINTRESOURCEA(chosen - 1);
            invoke.lpVerbW = MAKEINTRESOURCEW(chosen - 1);
            invoke.nShow = SW_SHOWNORMAL;
            invoke.ptInvoke = screen;
            const HRESULT invoked = shell.menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke));
            DebugLog(L"Commande du shell %d sur %ls : HRESULT 0x%08X.", chosen - 1, path.c_str(),
                     static_cast<unsigned>(invoked));
            if (window_) {
                Refresh();
            }
        }
    }
    if (window_) {
        AutoRollUpCheck();
    }
}

void Cadrel::RunItemCommand(int id, const std::wstring& path, const std::vector<std::wstring>& targets,
                            POINT screen)
{
    (void)screen;
    HWND window = window_.Get();
    const auto indexOf = [&]() -> int { return content_.IndexOfPath(path); };
    switch (id) {
    case ItemCmdOpenLocation: {
        PIDLIST_ABSOLUTE absolute = nullptr;
        if (SUCCEEDED(SHParseDisplayName(path.c_str(), nullptr, &absolute, 0, nullptr))) {
            const UniqueIdList owned(absolute);
            const HRESULT opened = SHOpenFolderAndSelectItems(absolute, 0, nullptr, 0);
            DebugLog(L"Ouverture de l'emplacement de %ls : HRESULT 0x%08X.", path.c_str(),
                     static_cast<unsigned>(opened));
        }
        break;
    }
    case ItemCmdCopyPath:
        // Only the clicked item's path, even with several targets.
        if (CopyTextToClipboard(window, path)) {
            DebugLog(L"Chemin copie : %ls", path.c_str());
        } else {
            DebugLog(L"Copie du chemin de %ls impossible (presse-papiers).", path.c_str());
        }
        break;
    case ItemCmdRename:
        if (const int index = indexOf(); index >= 0) {
            BeginItemRename(index);
        }
        break;
    case ItemCmdOpen:
        OpenPaths(targets);
        break;
    case ItemCmdPin:
        if (activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size())) {
            TogglePinnedName(tabs_[static_cast<size_t>(activeTab_)].pinned, std::wstring(LastPathComponent(path)));
            content_.Repin(PinnedNames(), properties_.sortBy, properties_.sortDesc);
            OnItemsOrdered();
            Draw();
            Notify(WM_APP_CADREL_TABS_CHANGED, true);
        }
        break;
    case ItemCmdQuickLook:
        PostMessageW(appWindow_, WM_APP_QUICK_LOOK, reinterpret_cast<WPARAM>(window), indexOf());
        break;
    default:
        break;
    }
}

}  // namespace cadrels
