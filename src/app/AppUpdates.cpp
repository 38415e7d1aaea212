// The application's side of the update service: the check at start-up and
// every 6 hours, and the save and quit once an installer was started or when
// an installer asks for it, so that it can replace the program.
#include "app/App.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "online/UpdateService.h"

namespace cadrels {
namespace {

constexpr UINT UpdateCheckPeriodMs = 6u * 60u * 60u * 1000u;
constexpr UINT QuitAfterInstallPollMs = 500;

}  // namespace

void App::StartUpdates()
{
    StartUpdateCheck(window_, WM_APP_UPDATE_STATUS);
    SetTimer(window_, TimerUpdateCheck, UpdateCheckPeriodMs, nullptr);
}

void App::OnUpdateCheckTimer()
{
    StartUpdateCheck(window_, WM_APP_UPDATE_STATUS);
}

void App::OnUpdateStatus()
{
    // The settings window's update page will be refreshed from here once
    // that window exists; the status itself is read on demand.
    const UpdateStatusRecord status = DownloadStatus();
    if (!status.launched || shuttingDown_) {
        return;
    }
    if (operation_.Running()) {
        DebugLog(L"Installeur lance : fermeture reportee (operation en cours).");
        SetTimer(window_, TimerQuitAfterInstall, QuitAfterInstallPollMs, nullptr);
        return;
    }
    DebugLog(L"Installeur lance : enregistrement et fermeture.");
    Save();
    PostQuitMessage(0);
}

void App::OnCloseRequest()
{
    if (shuttingDown_) {
        return;
    }
    // The default would destroy the window and leave the process running
    // without it; the installer waits for the process to end instead.
    if (operation_.Running()) {
        DebugLog(L"Fermeture demandee : reportee (operation en cours).");
        SetTimer(window_, TimerQuitAfterInstall, QuitAfterInstallPollMs, nullptr);
        return;
    }
    DebugLog(L"Fermeture demandee : enregistrement et fermeture.");
    Save();
    PostQuitMessage(0);
}

void App::OnQuitAfterInstallTimer()
{
    if (operation_.Running()) {
        return;
    }
    KillTimer(window_, TimerQuitAfterInstall);
    DebugLog(L"Fin d'operation : enregistrement et fermeture.");
    Save();
    PostQuitMessage(0);
}

}  // namespace cadrels
