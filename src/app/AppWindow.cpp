// The application window procedure: a table from message to handler.
#include "app/App.h"

#include "base/AppMessages.h"
#include "app/AppScheduling.h"
#include "app/CopyData.h"
#include "base/Activity.h"
#include "base/DebugLog.h"

namespace cadrels {

LRESULT App::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == reportActivityMessage_ && message != 0) {
        OnReportActivity();
        return 0;
    }
    switch (message) {
    case WM_COPYDATA:
        if (const LRESULT accepted = OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
            return accepted;
        }
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_HOTKEY:
        OnHotkey(static_cast<int>(wParam));
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<const wchar_t*>(lParam));
        return 0;
    case WM_APP_TRAYICON:
        OnTrayIcon(LOWORD(lParam));
        return 0;
    case WM_APP_DEVICE_LOST:
        // The preview closes on a device loss instead of waiting for the new device.
        if (quickLook_) {
            quickLook_->Close();
        }
        deviceRecovery_.OnDeviceLost(static_cast<std::uint32_t>(wParam));
        return 0;
    case WM_APP_ICON_READY:
        OnIconReady();
        return 0;
    case WM_APP_ICONS_REFRESH:
        OnIconsRefresh();
        return 0;
    case WM_APP_CLOSE_CADREL:
        OnCloseCadrel(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_APP_CADREL_OPACITY_CHANGED:
    case WM_APP_CADREL_PINNED_CHANGED:
    case WM_APP_CADREL_CHANGED:
        SyncRecordFromCadrel(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_APP_CADREL_TABS_CHANGED:
        SyncTabsFromCadrel(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_APP_ADD_TAB_PRESET:
        AddTabPreset(reinterpret_cast<HWND>(wParam), static_cast<int>(lParam));
        return 0;
    case WM_APP_TAB_TORN_OFF:
        // The tab travels in the mailbox; a stray message finds nothing there.
        OnTabTornOff(cadrels_.TornTabs().Take());
        return 0;
    case WM_APP_NEW_CADREL_PRESET:
        NewFolderCadrel(static_cast<int>(lParam));
        return 0;
    case WM_APP_CADREL_DRAGGING:
        OnCadrelDragging(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_APP_CADREL_DROPPED:
        OnCadrelDropped(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_APP_NEW_SHAPE_PRESET:
        NewShapePreset(static_cast<int>(lParam));
        return 0;
    case WM_APP_SAVE_SOON:
        schedule_.SaveSoon();
        return 0;
    case WM_APP_DISPLAY_CHANGED:
        schedule_.DisplayChanged();
        return 0;
    case WM_APP_SAVE_NOW:
        Save();
        return 0;
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    // At logoff or shutdown the process can end without WM_CLOSE: the last
    // save runs when the session asks, and again once it really ends.
    case WM_QUERYENDSESSION:
        Save();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) {
            Save();
        }
        return 0;
    case WM_APP_SET_LANGUAGE:
        SetLanguage(static_cast<int>(lParam));
        return 0;
    case WM_APP_SORT_SOON:
        schedule_.SortSoon(GetTickCount64());
        return 0;
    case WM_APP_SET_THEME:
        SetTheme(static_cast<int>(lParam));
        return 0;
    case WM_APP_WELCOME:
        ShowWelcome();
        return 0;
    case WM_APP_UNDO:
        Undo();
        return 0;
    case WM_APP_REDO:
        Redo();
        return 0;
    case WM_APP_MOVES_DONE:
        OnMovesDone();
        return 0;
    case WM_APP_SEND_TO_LIST:
        sendTo_.OnListMessage();
        return 0;
    case WM_APP_UPDATE_STATUS:
        OnUpdateStatus();
        return 0;
    case WM_APP_SYSTEM_THEME_CHANGED:
        OnSystemThemeChanged();
        return 0;
    case WM_APP_BACKUP_NOW:
        BackUpNow();
        return 0;
    case WM_APP_FILING_DONE:
        OnFilingDone();
        return 0;
    case WM_APP_BACKUP_DONE:
        OnBackupDone();
        return 0;
    case WM_APP_CLOUD_BACKUP_DONE:
        OnCloudBackupDone();
        return 0;
    case WM_APP_PAGE_REQUEST:
        OnPageRequest();
        return 0;
    case WM_APP_DOCK_CHANGED:
        OnDockChanged();
        return 0;
    case WM_APP_TOGGLE_LAUNCHPAD:
        OnToggleLaunchpad();
        return 0;
    case WM_APP_SHOW_SETTINGS:
        OnShowSettingsRequest();
        return 0;
    case WM_APP_HOST_RETRY:
        hosting_.RestartReanchor();
        hosting_.UpdateWatch();
        return 0;
    case WM_APP_HOST_REQUEST:
        hosting_.OnHostRequest();
        return 0;
    case WM_APP_FILE_SEARCH:
        DebugLog(L"Recherche de fichiers : pas encore disponible.");
        return 0;
    case WM_APP_DESKTOP_DBLCLICK:
        OnDesktopDoubleClick(wParam, lParam);
        return 0;
    case WM_APP_QUICK_LOOK:
        if (lParam == -1) {
            DebugLog(L"Apercu rapide demande par la touche Espace.");
        }
        ShowQuickLook(reinterpret_cast<HWND>(wParam), static_cast<int>(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT App::OnCopyData(const COPYDATASTRUCT* data)
{
    const std::optional<ForwardedPath> forwarded = ReadCopyData(data);
    if (!forwarded) {
        return FALSE;
    }
    if (forwarded->kind == CopyDataPageRequest) {
        // Carried out after the sender is released: a restore or a page
        // switch rebuilds every window, too long to keep another process waiting.
        std::optional<PageRequest> request = ParsePageRequest(forwarded->path);
        if (!request) {
            return FALSE;
        }
        if (!PageActionAllowed(request->action, AreCadrelsLocked())) {
            DebugLog(L"Demande de page refusee : les cadrels sont verrouilles.");
            return FALSE;
        }
        pageRequests_.Post(window_, WM_APP_PAGE_REQUEST, std::make_unique<PageRequest>(std::move(*request)));
        return TRUE;
    }
    if (forwarded->kind == CopyDataHostRequest) {
        std::optional<HostRequest> request = ParseHostRequest(forwarded->path);
        if (!request) {
            return FALSE;
        }
        hosting_.PostRequest(*request);
        return TRUE;
    }
    if (forwarded->kind == CopyDataSendToList) {
        sendTo_.PostList(forwarded->path);
    } else {
        sendTo_.QueuePath(forwarded->path);
    }
    return TRUE;
}

void App::OnReportActivity()
{
    const ActivityCounts counts = CurrentActivity();
    DebugLog(L"Activite : %llu messages, %llu retires, %llu minuteries",
             static_cast<unsigned long long>(counts.messages), static_cast<unsigned long long>(counts.retrieved),
             static_cast<unsigned long long>(counts.timers));
}

void App::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TimerDeviceRetry:
        KillTimer(window_, TimerDeviceRetry);
        deviceRecovery_.OnRetryTimer();
        break;
    case TimerDisplayReconfigure:
        OnDisplayReconfigureTimer();
        break;
    case TimerSort:
        schedule_.SortTimerFired();
        SortNow();
        break;
    case TimerSendToBatch:
        sendTo_.OnBatchTimer();
        break;
    case TimerUpdateCheck:
        OnUpdateCheckTimer();
        break;
    case TimerQuitAfterInstall:
        OnQuitAfterInstallTimer();
        break;
    case TimerHostTracking:
        hosting_.OnTrackingTimer();
        break;
    case TimerHostReanchor:
        hosting_.OnReanchorTimer();
        break;
    case TimerHostWatch:
        hosting_.OnWatchTimer();
        break;
    case TimerSaveRetry:
        KillTimer(window_, TimerSaveRetry);
        Save();
        break;
    default:
        break;
    }
}

void App::OnHotkey(int id)
{
    const int action = id - HotkeyIdFirst;
    if (!IsHotkeyAction(action)) {
        return;
    }
    DebugLog(L"Raccourci global : action %d.", action);
    const int pages = static_cast<int>(settings_.workspaces.size());
    switch (action) {
    case HotkeyUndo:
        Undo();
        break;
    case HotkeyRedo:
        Redo();
        break;
    case HotkeyFileSearch:
        DebugLog(L"Raccourci global : la recherche de fichiers n'est pas encore disponible.");
        break;
    case HotkeyToggleHidden:
        ToggleHidden();
        break;
    case HotkeyNewEmptyCadrel:
        NewEmptyCadrel();
        break;
    case HotkeyLauncher:
        DebugLog(L"Raccourci global : le Launchpad n'est pas encore disponible.");
        break;
    case HotkeySortNow:
        SortNow();
        break;
    case HotkeySettings:
        DebugLog(L"Raccourci global : la fenetre des reglages n'est pas encore disponible.");
        break;
    case HotkeyNextPage:
        if (pages > 0 && PageActionAllowed(PageAction::SwitchPage, AreCadrelsLocked())) {
            SwitchPage(WrappedPageIndex(settings_.activeWorkspace, pages, +1));
        }
        break;
    case HotkeyPreviousPage:
        if (pages > 0 && PageActionAllowed(PageAction::SwitchPage, AreCadrelsLocked())) {
            SwitchPage(WrappedPageIndex(settings_.activeWorkspace, pages, -1));
        }
        break;
    default:
        break;
    }
}

}  // namespace cadrels
