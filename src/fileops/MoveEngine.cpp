#include "fileops/MoveEngine.h"

#include "base/DebugLog.h"
#include "fileops/NativeMoveEngine.h"
#include "fileops/ShellMoveEngine.h"
#include "model/PathText.h"

#include <atomic>

namespace cadrels {
namespace {

std::atomic<bool> engineChoiceLogged{false};

}  // namespace

std::unique_ptr<MoveEngine> CreateMoveEngine(const MoveOptions& options)
{
    HRESULT failure = S_OK;
    std::unique_ptr<MoveEngine> engine = ShellMoveEngine::Create(options, failure);
    if (engine) {
        if (!engineChoiceLogged.exchange(true)) {
            DebugLog(L"Deplacements de fichiers : IFileOperation.");
        }
        return engine;
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
    return EqualsIgnoringAsciiCase(move.from, move.to) ||
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
