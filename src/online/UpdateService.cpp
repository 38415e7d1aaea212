#include "online/UpdateService.h"

#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "model/AtomicFile.h"
#include "online/SignatureText.h"
#include "online/UpdateManifest.h"

#include <objbase.h>
#include <shellapi.h>

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace cadrels {

struct UpdateShared {
    UpdateShared(UpdateConfig c) : config(std::move(c)) {}

    const UpdateConfig config;
    mutable std::mutex mutex;
    UpdateStatusRecord status;
    bool closed = false;
};

namespace {

struct CheckOutcome {
    bool failed = false;
    TextId failedText = TextId::CheckFailed;
    bool available = false;
    UpdateManifest manifest;
};

// Steps 2 to 4 of a check: the manifest, its signature, the comparison.
CheckOutcome RunCheck(const UpdateConfig& config)
{
    CheckOutcome outcome;
    std::string body;
    if (!ServiceRequestTo(config.service, L"GET", config.manifestPath, {}, body)) {
        DebugLog(L"Verification des mises a jour : service injoignable.");
        outcome.failed = true;
        return outcome;
    }
    // The signature covers the exact bytes received; nothing of an unsigned
    // manifest is believed, not even that there is no update.
    // The service does not say why a signature is missing (the status code is
    // not examined), so anything that is not a signature's text, a 404 page
    // included, counts as no signature.
    std::string signatureText;
    std::optional<ManifestSignatureBytes> signature;
    if (ServiceRequestTo(config.service, L"GET", config.signaturePath, {}, signatureText)) {
        signature = DecodeSignatureText(signatureText);
    }
    if (!signature) {
        DebugLog(L"Verification des mises a jour : manifeste non signe, ignore.");
        outcome.failed = true;
        outcome.failedText = TextId::UpdateInfoNotSigned;
        return outcome;
    }
    if (!VerifyManifestSignature(body, *signature, config.publicKey)) {
        DebugLog(L"Verification des mises a jour : signature du manifeste invalide, ignore.");
        outcome.failed = true;
        outcome.failedText = TextId::UpdateInfoBadSignature;
        return outcome;
    }
    switch (ReadUpdateManifest(body, outcome.manifest)) {
    case ManifestReading::Unusable:
        DebugLog(L"Verification des mises a jour : manifeste illisible.");
        outcome.failed = true;
        break;
    case ManifestReading::NoVersion:
        break;
    case ManifestReading::Complete:
        outcome.available = IsNewerVersion(outcome.manifest.parsed, config.running);
        DebugLog(L"Verification des mises a jour : version publiee %s, %s.",
                 Utf8ToWide(VersionText(outcome.manifest.parsed)).c_str(),
                 outcome.available ? L"plus recente" : L"pas plus recente");
        break;
    }
    return outcome;
}

void StoreCheck(UpdateStatusRecord& status, const CheckOutcome& outcome)
{
    status.checkFailed = outcome.failed;
    status.checkFailedText = outcome.failed ? Tr(outcome.failedText) : L"";
    status.checkDone = !outcome.failed;
    status.updateAvailable = outcome.available;
    status.newVersion = Utf8ToWide(outcome.manifest.version);
    status.url = Utf8ToWide(outcome.manifest.url);
    status.notes = Utf8ToWide(outcome.manifest.notes);
    status.sha256 = outcome.manifest.sha256;
    status.mandatory = outcome.manifest.mandatory;
}

void CheckThread(std::shared_ptr<UpdateShared> shared, HWND window, UINT message)
{
    const CheckOutcome outcome = RunCheck(shared->config);
    std::lock_guard lock(shared->mutex);
    if (shared->closed) {
        return;
    }
    StoreCheck(shared->status, outcome);
    shared->status.checking = false;
    PostMessageW(window, message, 0, 0);
}

std::wstring WithBackslash(std::wstring path)
{
    if (!path.empty() && path.back() != L'\\') {
        path += L'\\';
    }
    return path;
}

// A folder nobody could have prepared in advance: 64 random bits in its name,
// and CreateDirectoryW fails rather than reuse an existing one.
std::wstring CreateFreshFolder(const std::wstring& configuredRoot)
{
    std::wstring root = configuredRoot;
    if (root.empty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        if (length == 0 || length > MAX_PATH) {
            return {};
        }
        root.assign(temp, length);
    }
    std::uint8_t random[8] = {};
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        return {};
    }
    const std::wstring folder = WithBackslash(root) + L"Cadrels-update-" + Utf8ToWide(HexLower(random, 8));
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        DebugLog(L"Dossier temporaire de mise a jour impossible (erreur %lu).", GetLastError());
        return {};
    }
    return folder;
}

void RemoveInstaller(const std::wstring& file, const std::wstring& folder)
{
    if (!file.empty()) {
        DeleteFileW(file.c_str());
    }
    if (!folder.empty()) {
        RemoveDirectoryW(folder.c_str());
    }
}

class InstallRun {
public:
    InstallRun(std::shared_ptr<UpdateShared> shared, HWND window, UINT message, UpdateStatusRecord copy)
        : shared_(std::move(shared)), window_(window), message_(message), copy_(std::move(copy))
    {
    }

    void Run()
    {
        const CheckOutcome recheck = RunCheck(shared_->config);
        if (!recheck.failed && recheck.available && !recheck.manifest.url.empty()) {
            std::lock_guard lock(shared_->mutex);
            if (shared_->closed) {
                return;
            }
            StoreCheck(shared_->status, recheck);
            copy_ = shared_->status;
        }
        if (!DigestTextUsable(copy_.sha256)) {
            Fail(TextId::FingerprintUnavailable);
            return;
        }
        folder_ = CreateFreshFolder(shared_->config.temporaryRoot);
        if (folder_.empty()) {
            Fail(TextId::DownloadFailed);
            return;
        }
        file_ = folder_ + L'\\' + InstallerFileName(ParseVersion(WideToUtf8(copy_.newVersion)));

        std::string bytes;
        Sha256Digest digest{};
        const auto progress = [this](int percent) {
            std::lock_guard lock(shared_->mutex);
            if (!shared_->closed) {
                shared_->status.progress = percent;
            }
        };
        if (!DownloadWithDigest(copy_.url, shared_->config.download, progress, bytes, digest)) {
            Fail(TextId::DownloadFailed);
            return;
        }
        SetState(TextId::VerifyingIntegrity);
        if (!DigestMatches(copy_.sha256, digest)) {
            DebugLog(L"Mise a jour refusee : empreinte differente.");
            Fail(TextId::FileTampered);
            return;
        }
        if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z') {
            DebugLog(L"Mise a jour refusee : pas un executable.");
            Fail(TextId::NotAnInstaller);
            return;
        }
        // Only verified bytes ever reach the disk.
        if (!WriteFileAtomically(file_, bytes)) {
            Fail(TextId::DownloadFailed);
            return;
        }
        Launch();
    }

private:
    void Launch()
    {
        // ShellExecute may hand the work to shell extensions that need COM.
        const ComApartment apartment;

        std::lock_guard lock(shared_->mutex);
        // Holding the lock, so the service cannot close between the test and
        // the launch: a quitting process must not start an installer.
        if (shared_->closed) {
            RemoveInstaller(file_, folder_);
            return;
        }
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", file_.c_str(), shared_->config.installerParameters.c_str(),
                          folder_.c_str(), SW_SHOWNORMAL));
        UpdateStatusRecord& status = shared_->status;
        if (result > 32) {
            DebugLog(L"Installeur de mise a jour lance.");
            status.downloading = false;
            status.launched = true;
            status.stateText = Tr(TextId::InstallStarted);
        } else {
            DebugLog(L"Installeur de mise a jour impossible a lancer (%d).", static_cast<int>(result));
            RemoveInstaller(file_, folder_);
            status.downloading = false;
            status.launched = false;
            status.installFailed = true;
            status.stateText = Tr(TextId::CouldNotStartInstaller);
        }
        PostMessageW(window_, message_, 0, 0);
    }

    void SetState(TextId text)
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->closed) {
            shared_->status.stateText = Tr(text);
        }
    }

    void Fail(TextId text)
    {
        RemoveInstaller(file_, folder_);
        std::lock_guard lock(shared_->mutex);
        if (shared_->closed) {
            return;
        }
        UpdateStatusRecord& status = shared_->status;
        status.downloading = false;
        status.launched = false;
        status.installFailed = true;
        status.stateText = Tr(text);
        PostMessageW(window_, message_, 0, 0);
    }

    std::shared_ptr<UpdateShared> shared_;
    HWND window_;
    UINT message_;
    UpdateStatusRecord copy_;
    std::wstring folder_;
    std::wstring file_;
};

}  // namespace

UpdateConfig DefaultUpdateConfig()
{
    UpdateConfig config;
    config.service = DefaultServiceEndpoint();
    config.publicKey = ReleasePublicKey();
    config.running = ParseVersion(RunningVersionText());
    config.runningText = Utf8ToWide(RunningVersionText());
    return config;
}

UpdateService::UpdateService(UpdateConfig config) : shared_(std::make_shared<UpdateShared>(std::move(config)))
{
    shared_->status.currentVersion = shared_->config.runningText;
}

UpdateService::~UpdateService()
{
    Close();
}

void UpdateService::Close()
{
    std::lock_guard lock(shared_->mutex);
    shared_->closed = true;
}

UpdateStatusRecord UpdateService::Status() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->status;
}

bool UpdateService::StartCheck(HWND window, UINT message)
{
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->closed || shared_->status.checking) {
            return false;
        }
        shared_->status.checking = true;
        shared_->status.checkFailed = false;
        shared_->status.currentVersion = shared_->config.runningText;
    }
    try {
        std::thread(CheckThread, shared_, window, message).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(shared_->mutex);
        shared_->status.checking = false;
        shared_->status.checkFailed = true;
        shared_->status.checkFailedText = Tr(TextId::CheckFailed);
        return false;
    }
    return true;
}

bool UpdateService::StartInstall(HWND window, UINT message)
{
    UpdateStatusRecord copy;
    {
        std::lock_guard lock(shared_->mutex);
        UpdateStatusRecord& status = shared_->status;
        if (shared_->closed || status.downloading || status.launched || !status.updateAvailable ||
            status.url.empty()) {
            return false;
        }
        status.downloading = true;
        status.installFailed = false;
        status.stateText = Tr(TextId::DownloadingUpdate);
        status.progress = -1;
        copy = status;
    }
    try {
        std::thread([run = std::make_shared<InstallRun>(shared_, window, message, std::move(copy))] {
            run->Run();
        }).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(shared_->mutex);
        shared_->status.downloading = false;
        shared_->status.installFailed = true;
        shared_->status.stateText = Tr(TextId::DownloadFailed);
        return false;
    }
    return true;
}

namespace {

UpdateService& ProcessUpdateService()
{
    static UpdateService service(DefaultUpdateConfig());
    return service;
}

}  // namespace

bool StartUpdateCheck(HWND window, UINT message)
{
    return ProcessUpdateService().StartCheck(window, message);
}

bool StartUpdateInstall(HWND window, UINT message)
{
    return ProcessUpdateService().StartInstall(window, message);
}

UpdateStatusRecord UpdateStatus()
{
    return ProcessUpdateService().Status();
}

UpdateStatusRecord DownloadStatus()
{
    return ProcessUpdateService().Status();
}

void CloseUpdateService()
{
    ProcessUpdateService().Close();
}

}  // namespace cadrels
