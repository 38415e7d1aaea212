// The single application object: owns the arrangement, the message-only
// application window and everything that lives for the whole process.
#pragma once

#include "app/CommandLine.h"
#include "app/SendToBatch.h"
#include "app/UniqueHandle.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <windows.h>

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

    void QueueSendToPath(const std::wstring& path);
    void HandleSentPaths(std::vector<std::wstring> paths, POINT cursor);

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CreateAppWindow();
    void PostStartupRequests();
    void RunMessageLoop(MSG& message);
    void Shutdown();

    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnSendToBatchTimer();
    void OnSendToList(std::wstring* listPath);
    void OnTimer(UINT_PTR id);

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    UniqueHandle singleInstanceMutex_;
    CommandLineOptions options_;
    SendToBatch sendToBatch_;

    Settings settings_;
    std::vector<MonitorInfo> monitors_;
    std::string displayKey_;
    bool savePending_ = false;
    bool firstRun_ = false;
    // New cadrels placed by the cascade so far; each placement steps on.
    unsigned cascadeCount_ = 0;
};

}  // namespace cadrels
