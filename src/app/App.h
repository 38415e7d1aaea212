// The single application object: owns the arrangement, the message-only
// application window and everything that lives for the whole process.
#pragma once

#include "app/BroadcastWindow.h"
#include "app/CommandLine.h"
#include "app/SendToBatch.h"
#include "app/ThemeWatcher.h"
#include "app/TrayIcon.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "cadrel/Cadrel.h"
#include "gfx/DeviceRecovery.h"
#include "gfx/GraphicsDevice.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace cadrels {

class App {
public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The process-wide instance while Run executes, else null.
    static App* Current();

    // Returns the exit code: the WM_QUIT code, or 0 when another instance runs.
    int Run(HINSTANCE instance);

    bool EnsureSingleInstance();
    void Initialize();
    void Save();

    void SwitchPage(int index);
    void ReloadCadrels();
    void SetTheme(int mode);
    void SetLanguage(int index);
    void ShowWelcome();
    void SortNow();

    // Cadrels of the active page (AppCadrels.cpp, AppCadrelCreation.cpp).
    bool CreateCadrelFromRecord(const CadrelRecord& record, const CadrelGeom& geometry, bool rollUnpinned);
    void NewEmptyCadrel();
    void NewFolderCadrel(int kind);
    void CreateCadrelForFolder(const std::wstring& title, const std::wstring& folder, bool atCursor);
    void NewShapePreset(int shape);
    void AddTabPreset(HWND cadrelWindow, int kind);
    void OnTabTornOff(std::unique_ptr<TornTab> tab);
    void MergeCadrels(Cadrel* source, Cadrel* target);
    Cadrel* CadrelTitleBarAt(POINT screenPoint, HWND excluded) const;
    void SyncRecordFromCadrel(HWND cadrelWindow);
    void SyncTabsFromCadrel(HWND cadrelWindow);
    void TakeAutoSnapshot(const std::wstring& name);
    // Whether the administration policy locks the cadrels (no moving,
    // resizing, creating, merging or closing). The one place that asks.
    bool CadrelsLocked() const { return cadrelsLocked_; }

    void QueueSendToPath(const std::wstring& path);
    void OnSendToList(const std::wstring& listPath);
    void HandleSentPaths(std::vector<std::wstring> paths, POINT cursor);

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CreateAppWindow();
    void StartThemeWatcher();
    void PostStartupRequests();
    void RunMessageLoop(MSG& message);
    void Shutdown();
    void KillApplicationTimers();

    // Message handlers.
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnTimer(UINT_PTR id);
    void OnTrayIcon(UINT mouseMessage);
    void OnHotkey(int id);
    void OnSaveSoon();
    void OnSortSoon();
    void OnDisplayChanged();
    void OnDisplayReconfigureTimer();
    void OnSortTimer();
    void OnSendToBatchTimer();
    void OnSettingChange(const wchar_t* area);
    void OnSystemThemeChanged();
    void OnTaskbarCreated();

    void OnCloseCadrel(HWND cadrelWindow);
    void OnCadrelDragging(HWND cadrelWindow, LPARAM packedPoint);
    void OnCadrelDropped(HWND cadrelWindow, LPARAM packedPoint);
    void OnIconsRefresh();

    Workspace& ActivePage();
    Cadrel* FindCadrel(HWND cadrelWindow) const;
    CadrelRecord* FindRecord(const std::string& id);
    void BuildPageCadrels(bool rollUnpinned);
    void DestroyAllCadrels();
    void CopyCadrelGeometry();
    void PlaceCadrelsForDisplay();
    void RethemeCadrels();
    void RebuildCadrelGraphics();
    std::vector<RECT> OtherCadrelRects(const Cadrel* self) const;
    std::wstring PickFolder();

    void ShowTrayMenu();
    std::wstring BrandName() const;

    HINSTANCE instance_ = nullptr;
    GraphicsDevice graphics_;
    DeviceRecovery deviceRecovery_;
    HWND window_ = nullptr;
    BroadcastWindow broadcasts_;
    TrayIcon tray_;
    UniqueHandle singleInstanceMutex_;
    CommandLineOptions options_;
    SendToBatch sendToBatch_;

    Settings settings_;
    std::vector<MonitorInfo> monitors_;
    std::string displayKey_;

    // One queued save, one queued sort, one queued icon refresh at a time.
    bool savePending_ = false;
    bool sortPending_ = false;
    bool iconsRefreshPending_ = false;
    bool reconfigPending_ = false;
    bool busy_ = false;
    bool hidden_ = false;
    bool shuttingDown_ = false;
    bool firstRun_ = false;
    bool welcomeOpen_ = false;
    DWORD sortSuppressedUntil_ = 0;

    UniqueHandle stopEvent_;
    ThemeWatcher themeWatcher_;
    // New cadrels placed by the cascade so far; each placement steps on.
    unsigned cascadeCount_ = 0;

    // The live cadrels of the active page, in creation order.
    std::vector<std::unique_ptr<Cadrel>> cadrels_;
    // The cadrel showing the "about to merge" highlight, or none.
    HWND mergeHighlight_ = nullptr;
    bool cadrelsLocked_ = false;
    // Tabs torn off a cadrel, waiting for WM_APP_TAB_TORN_OFF.
    Mailbox<TornTab> tornTabs_;
};

}  // namespace cadrels
