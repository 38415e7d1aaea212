// The update service: the check for a newer version, the signed manifest it
// reads, the download, verification and launch of the installer, and the
// status the settings window and the application window read.
#pragma once

#include "online/ManifestSignature.h"
#include "online/ServiceRequest.h"
#include "online/UpdateDownload.h"
#include "online/UpdateVersion.h"

#include <windows.h>

#include <memory>
#include <string>

namespace cadrels {

struct UpdateStatusRecord {
    bool checking = false;
    bool checkDone = false;
    bool updateAvailable = false;
    bool checkFailed = false;
    // Why the last check failed: string 225, or the text saying the manifest
    // was unsigned or badly signed and therefore ignored.
    std::wstring checkFailedText;
    std::wstring currentVersion;
    std::wstring newVersion;
    std::wstring url;
    std::wstring notes;
    std::string sha256;
    bool mandatory = false;
    bool downloading = false;
    bool launched = false;
    bool installFailed = false;
    std::wstring stateText;
    int progress = -1;
};

struct UpdateConfig {
    ServiceEndpoint service;
    std::wstring manifestPath = L"/update";
    std::wstring signaturePath = L"/update.sig";
    EcdsaP256PublicKey publicKey;
    Version running;
    std::wstring runningText;
    DownloadLimits download;
    // Where the fresh installer folder is made; empty for the user's
    // temporary folder.
    std::wstring temporaryRoot;
    std::wstring installerParameters =
        L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS /RESTARTAPPLICATIONS";
};

// The service origin, the release key and the running version.
UpdateConfig DefaultUpdateConfig();

struct UpdateShared;

// One status and the detached threads that write it. The threads share the
// status with the service through a reference count, so a thread that ends
// after the service was closed (the process is quitting) still finds it, sees
// the service closed, and drops its result instead of posting.
class UpdateService {
public:
    explicit UpdateService(UpdateConfig config);
    ~UpdateService();
    UpdateService(const UpdateService&) = delete;
    UpdateService& operator=(const UpdateService&) = delete;

    // False when a check is already running (or the service is closed).
    bool StartCheck(HWND window, UINT message);
    // False when a download runs, the installer was launched, or the status
    // does not offer a signed, newer update with an address.
    bool StartInstall(HWND window, UINT message);
    UpdateStatusRecord Status() const;
    // From now on the threads neither write the status nor post; an installer
    // not yet launched is not launched.
    void Close();

private:
    std::shared_ptr<UpdateShared> shared_;
};

// The process-wide service over DefaultUpdateConfig().
bool StartUpdateCheck(HWND window, UINT message);
bool StartUpdateInstall(HWND window, UINT message);
UpdateStatusRecord UpdateStatus();
UpdateStatusRecord DownloadStatus();
void CloseUpdateService();

}  // namespace cadrels
