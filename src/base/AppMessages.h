// The application window's messages and timers. The values are fixed: other
// processes and every window of the program post them.
#pragma once

#include <windows.h>

namespace cadrels {

inline constexpr wchar_t AppWindowClass[] = L"Cadrels.App";
inline constexpr wchar_t AppWindowTitle[] = L"Cadrels";
inline constexpr wchar_t SingleInstanceMutexName[] =
    L"Local\\Cadrels.SingleInstance.{B7B6F1C2-0E2A-4C2E-9E1D-CADRL0000001}";

}  // namespace cadrels

inline constexpr UINT WM_APP_TRAYICON = WM_APP + 1;
inline constexpr UINT WM_APP_ICON_READY = WM_APP + 2;
inline constexpr UINT WM_APP_ICONS_REFRESH = WM_APP + 3;
inline constexpr UINT WM_APP_DEVICE_LOST = WM_APP + 4;
inline constexpr UINT WM_APP_CLOSE_CADREL = WM_APP + 5;
inline constexpr UINT WM_APP_SAVE_SOON = WM_APP + 6;
inline constexpr UINT WM_APP_DISPLAY_CHANGED = WM_APP + 7;
inline constexpr UINT WM_APP_SAVE_NOW = WM_APP + 8;
inline constexpr UINT WM_APP_DESKTOP_DBLCLICK = WM_APP + 10;
// Its wParam: a double-click at the screen point in lParam (from the mouse
// hook), or the desktop icon view's answer, lParam icons selected.
inline constexpr WPARAM DesktopDoubleClickAt = 0;
inline constexpr WPARAM DesktopIconsSelected = 1;
inline constexpr UINT WM_APP_CADREL_OPACITY_CHANGED = WM_APP + 11;
inline constexpr UINT WM_APP_CADREL_TABS_CHANGED = WM_APP + 12;
inline constexpr UINT WM_APP_ADD_TAB_PRESET = WM_APP + 13;
inline constexpr UINT WM_APP_TAB_TORN_OFF = WM_APP + 14;
inline constexpr UINT WM_APP_CADREL_PINNED_CHANGED = WM_APP + 15;
inline constexpr UINT WM_APP_CADREL_CHANGED = WM_APP + 16;
inline constexpr UINT WM_APP_SET_LANGUAGE = WM_APP + 17;
inline constexpr UINT WM_APP_NEW_CADREL_PRESET = WM_APP + 18;
inline constexpr UINT WM_APP_SORT_SOON = WM_APP + 19;
inline constexpr UINT WM_APP_SHOW_MENU = WM_APP + 20;
inline constexpr UINT WM_APP_SET_THEME = WM_APP + 21;
inline constexpr UINT WM_APP_SHOW_SETTINGS = WM_APP + 22;
inline constexpr UINT WM_APP_UNDO = WM_APP + 23;
inline constexpr UINT WM_APP_REDO = WM_APP + 24;
inline constexpr UINT WM_APP_MOVES_DONE = WM_APP + 25;
inline constexpr UINT WM_APP_CADREL_DRAGGING = WM_APP + 26;
inline constexpr UINT WM_APP_CADREL_DROPPED = WM_APP + 27;
inline constexpr UINT WM_APP_WELCOME = WM_APP + 28;
inline constexpr UINT WM_APP_DOCK_CHANGED = WM_APP + 29;
inline constexpr UINT WM_APP_TOGGLE_LAUNCHPAD = WM_APP + 30;
inline constexpr UINT WM_APP_UPDATE_STATUS = WM_APP + 31;
inline constexpr UINT WM_APP_QUICK_LOOK = WM_APP + 34;
inline constexpr UINT WM_APP_SEND_TO_LIST = WM_APP + 35;
inline constexpr UINT WM_APP_SYSTEM_THEME_CHANGED = WM_APP + 36;
inline constexpr UINT WM_APP_NEW_SHAPE_PRESET = WM_APP + 37;
inline constexpr UINT WM_APP_HOST_RETRY = WM_APP + 38;
// "--backup" ("Back up now"); a finished local backup or backup-folder task;
// a finished cloud upload. The results wait in the application's mailboxes.
inline constexpr UINT WM_APP_BACKUP_NOW = WM_APP + 39;
inline constexpr UINT WM_APP_BACKUP_DONE = WM_APP + 40;
inline constexpr UINT WM_APP_CLOUD_BACKUP_DONE = WM_APP + 41;
inline constexpr UINT WM_APP_PAGE_REQUEST = WM_APP + 45;
inline constexpr UINT WM_APP_HOST_REQUEST = WM_APP + 46;
// A filing pass ended on its worker; the outcome is in the application's mailbox.
inline constexpr UINT WM_APP_FILING_DONE = WM_APP + 47;
inline constexpr UINT WM_APP_FILE_SEARCH = WM_APP + 50;

namespace cadrels {

// Timers of the application window.
enum AppTimer : UINT_PTR {
    TimerDeviceRetry = 1,
    TimerDisplayReconfigure = 2,
    TimerSort = 3,
    TimerSendToBatch = 4,
    TimerUpdateCheck = 5,
    TimerHostTracking = 7,
    TimerHostReanchor = 9,
    TimerQuitAfterInstall = 10,
    // The hosting safety net: window-event hooks may not fire (or miss events).
    TimerHostWatch = 11,
    // A layout save that failed (the file held open, a full disk) is tried
    // again without waiting for the next change.
    TimerSaveRetry = 12,
};

// Hotkey ids 100..109, in the order of the hotkey actions.
inline constexpr int HotkeyIdFirst = 100;
inline constexpr int HotkeyIdLast = 109;

}  // namespace cadrels
