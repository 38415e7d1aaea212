#include "fileops/ShellMoveEngine.h"

#include "base/Failure.h"
#include "fileops/MoveRecorder.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

namespace cadrels {

using Microsoft::WRL::ComPtr;

std::unique_ptr<ShellMoveEngine> ShellMoveEngine::Create(const MoveOptions& options, HRESULT& failure)
{
    ComPtr<IFileOperation> operation;
    failure = CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation));
    if (FAILED(failure)) {
        return nullptr;
    }
    DWORD flags = FOF_SILENT | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    if (options.renameOnCollision) {
        flags |= FOF_RENAMEONCOLLISION;
    }
    if (options.allowUndo) {
        flags |= FOF_ALLOWUNDO;
    }
    // An operation that cannot take its flags would prompt, or replace files
    // on collision: it is no engine at all.
    failure = operation->SetOperationFlags(flags);
    if (FAILED(failure)) {
        return nullptr;
    }
    return std::unique_ptr<ShellMoveEngine>(new ShellMoveEngine(std::move(operation), options.copy));
}

IShellItem* ShellMoveEngine::FolderItem(const std::wstring& folder)
{
    auto found = folders_.find(folder);
    if (found == folders_.end()) {
        ComPtr<IShellItem> item;
        if (FAILED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&item)))) {
            return nullptr;
        }
        found = folders_.emplace(folder, std::move(item)).first;
    }
    return found->second.Get();
}

bool ShellMoveEngine::Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name)
{
    IShellItem* const folderItem = FolderItem(folder);
    if (folderItem == nullptr) {
        return false;
    }
    ComPtr<IShellItem> sourceItem;
    if (FAILED(SHCreateItemFromParsingName(source.c_str(), nullptr, IID_PPV_ARGS(&sourceItem)))) {
        return false;
    }
    const wchar_t* const newName = name.empty() ? nullptr : name.c_str();
    const HRESULT queued = copy_ ? operation_->CopyItem(sourceItem.Get(), folderItem, newName, nullptr)
                                 : operation_->MoveItem(sourceItem.Get(), folderItem, newName, nullptr);
    if (FAILED(queued)) {
        return false;
    }
    ++queued_;
    return true;
}

HRESULT ShellMoveEngine::Perform()
{
    if (queued_ == 0) {
        return S_OK;
    }
    std::vector<MovePair> recorded;
    MoveRecorder recorder(&recorded);
    DWORD cookie = 0;
    // Without the recorder nobody would know what moved: better not to move.
    CADRELS_RETURN_IF_FAILED(operation_->Advise(&recorder, &cookie));
    HRESULT hr = operation_->PerformOperations();
    operation_->Unadvise(cookie);
    BOOL aborted = FALSE;
    if (SUCCEEDED(hr) && SUCCEEDED(operation_->GetAnyOperationsAborted(&aborted)) && aborted) {
        hr = HRESULT_FROM_WIN32(ERROR_CANCELLED);
    }
    // The sink also hears about items the user or the engine skipped with a
    // success code; only what is really on disk becomes a move.
    for (MovePair& move : recorded) {
        if (TransferVisibleOnDisk(move, copy_)) {
            moved_.push_back(std::move(move));
        }
    }
    return hr;
}

}  // namespace cadrels
