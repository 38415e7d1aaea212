#include "fileops/MoveEngine.h"

#include "base/DebugLog.h"
#include "fileops/NativeMoveEngine.h"
#include "fileops/ShellMoveEngine.h"
#include "model/FileSystemNames.h"
#include "model/PathText.h"

#include <atomic>

namespace cadrels {
namespace {

std::atomic<bool> engineChoiceLogged{false};
std::atomic<bool> partialShellLogged{false};

// The shell's engine for as long as it takes what is queued. A shell may
// implement only part of IFileOperation (Wine's moves but does not copy):
// when it refuses the batch's first item as not implemented, our own engine
// takes the whole batch instead. A path the shell cannot take because of its
// length hands the whole batch, whatever was queued before, to our own
// engine, which takes paths of any length; nothing has moved before Perform.
class ShellFirstEngine final : public MoveEngine {
public:
    ShellFirstEngine(std::unique_ptr<ShellMoveEngine> shell, const MoveOptions& options)
        : shell_(std::move(shell)), options_(options)
    {
    }

    bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) override
    {
        if (own_) {
            return own_->Queue(source, folder, name);
        }
        const bool shellHadItems = shell_->HandedToShell() > 0;
        if (shell_->Queue(source, folder, name)) {
            asked_.push_back(Request{source, folder, name});
            return true;
        }
        const HRESULT failure = shell_->QueueFailure();
        const bool tooLong = failure == HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        if (!tooLong && (shellHadItems || failure != E_NOTIMPL)) {
            return false;
        }
        if (tooLong) {
            DebugLog(L"Chemin de plus de %d caracteres : moteur MoveFileExW pour ce lot.", MAX_PATH - 1);
        } else if (!partialShellLogged.exchange(true)) {
            DebugLog(L"IFileOperation ne sait pas %ls (E_NOTIMPL) : moteur MoveFileExW pour ce lot.",
                     options_.copy ? L"copier" : L"deplacer");
        }
        // Items queued before are asked again, so that the batch reports
        // them as before.
        own_ = std::make_unique<NativeMoveEngine>(options_);
        for (const Request& earlier : asked_) {
            own_->Queue(earlier.source, earlier.folder, earlier.name);
        }
        shell_.reset();
        return own_->Queue(source, folder, name);
    }
    HRESULT Perform() override { return Active().Perform(); }
    const std::vector<MovePair>& Moved() const override { return Active().Moved(); }
    const wchar_t* Name() const override { return Active().Name(); }

private:
    MoveEngine& Active() const { return own_ ? static_cast<MoveEngine&>(*own_) : *shell_; }

    struct Request {
        std::wstring source;
        std::wstring folder;
        std::wstring name;
    };

    std::unique_ptr<ShellMoveEngine> shell_;
    std::unique_ptr<NativeMoveEngine> own_;
    MoveOptions options_;
    // Everything the shell accepted into this batch so far.
    std::vector<Request> asked_;
};

}  // namespace

std::unique_ptr<MoveEngine> PreferShellEngine(std::unique_ptr<ShellMoveEngine> shell, const MoveOptions& options)
{
    return std::make_unique<ShellFirstEngine>(std::move(shell), options);
}

std::unique_ptr<MoveEngine> CreateMoveEngine(const MoveOptions& options)
{
    HRESULT failure = S_OK;
    std::unique_ptr<ShellMoveEngine> shell = ShellMoveEngine::Create(options, failure);
    if (shell) {
        if (!engineChoiceLogged.exchange(true)) {
            DebugLog(L"Deplacements de fichiers : IFileOperation.");
        }
        return PreferShellEngine(std::move(shell), options);
    }
    if (!engineChoiceLogged.exchange(true)) {
        DebugLog(L"Deplacements de fichiers : IFileOperation indisponible (HRESULT 0x%08X), moteur MoveFileExW.",
                 static_cast<unsigned>(failure));
    }
    return std::make_unique<NativeMoveEngine>(options);
}

bool MoveVisibleOnDisk(const MovePair& move)
{
    if (GetFileAttributesW(move.to.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    return SameFileSystemName(move.from, move.to) ||
           GetFileAttributesW(move.from.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool TransferVisibleOnDisk(const MovePair& transfer, bool copy)
{
    if (copy) {
        return GetFileAttributesW(transfer.to.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    return MoveVisibleOnDisk(transfer);
}

}  // namespace cadrels
