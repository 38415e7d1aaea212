#include "fileops/ShellMoveEngine.h"

#include "base/DebugLog.h"
#include "base/Failure.h"
#include "base/UniqueHandle.h"
#include "fileops/CollisionName.h"
#include "fileops/MoveRecorder.h"
#include "model/FileSystemNames.h"
#include "model/PathText.h"

#include <shellapi.h>
#include <shlobj.h>

#include <utility>

namespace cadrels {
namespace {

using Microsoft::WRL::ComPtr;

// Far more than any folder holds; the search must end even when every name
// is taken.
constexpr int MaxCollisionNumber = 10000;

std::wstring LowerCase(std::wstring text)
{
    for (wchar_t& c : text) {
        c = AsciiLower(c);
    }
    return text;
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The last look before the shell touches an item: its name was free when
// it was queued, and if something has taken it since, the item does not go
// (a shell that replaces on collision would destroy what is there).
HRESULT RefuseTakenTarget(bool copy, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName)
{
    const std::wstring from = FileSystemPath(item);
    const std::wstring folder = FileSystemPath(destinationFolder);
    if (from.empty() || folder.empty()) {
        return S_OK;
    }
    const std::wstring name =
        newName != nullptr && *newName != L'\0' ? std::wstring(newName) : std::wstring(LastPathComponent(from));
    const std::wstring target = ChildPath(folder, name);
    if (PathExists(target) && (copy || !SameFileSystemName(target, from))) {
        DebugLog(L"Deplacement arrete : %ls existe deja.", target.c_str());
        return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    }
    return S_OK;
}

// Whether another program has the file open without sharing delete access,
// which a move needs (a rename, or the delete after a copy to another volume).
bool HeldWithoutMoveSharing(const std::wstring& path)
{
    const UniqueFile probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

std::unique_ptr<ShellMoveEngine> ShellMoveEngine::Create(const MoveOptions& options, HRESULT& failure)
{
    ComPtr<IFileOperation> operation;
    failure = CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation));
    if (FAILED(failure)) {
        return nullptr;
    }
    return Create(std::move(operation), options, failure);
}

std::unique_ptr<ShellMoveEngine> ShellMoveEngine::Create(ComPtr<IFileOperation> operation,
                                                         const MoveOptions& options, HRESULT& failure)
{
    if (!operation) {
        failure = E_POINTER;
        return nullptr;
    }
    // Every item goes under a name that was free at the last look, but
    // another program can take it before the shell gets there. Without
    // FOF_RENAMEONCOLLISION the shell would then ask Replace or Skip (and
    // with FOF_NOCONFIRMATION replace silently); with it the item takes a
    // new name, which the recorder reports. So it is set even when no
    // renaming was asked for: a taken name is refused before the shell
    // moves anything, and the shell never replaces.
    DWORD flags = FOF_SILENT | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_RENAMEONCOLLISION;
    if (options.allowUndo) {
        flags |= FOF_ALLOWUNDO;
    }
    // An operation that cannot take its flags would prompt: it is no engine
    // at all.
    failure = operation->SetOperationFlags(flags);
    if (FAILED(failure)) {
        return nullptr;
    }
    return std::unique_ptr<ShellMoveEngine>(new ShellMoveEngine(std::move(operation), options));
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

std::wstring ShellMoveEngine::ChooseName(const std::wstring& source, const std::wstring& folder,
                                         const std::wstring& name, bool isFolder) const
{
    for (int number = 1; number <= MaxCollisionNumber; ++number) {
        std::wstring candidate = number == 1 ? name : CollisionName(name, number, isFolder);
        const std::wstring target = ChildPath(folder, candidate);
        // A move onto its own name (a rename that changes letter case only)
        // is no collision; a copy onto its source is.
        const bool sameItem = !options_.copy && SameFileSystemName(target, source);
        if (sameItem || (!PathExists(target) && claimed_.count(LowerCase(target)) == 0)) {
            return candidate;
        }
        if (!options_.renameOnCollision) {
            return {};
        }
    }
    return {};
}

bool ShellMoveEngine::Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name)
{
    const DWORD attributes = source.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || folder.empty()) {
        return false;
    }
    const std::wstring leaf = name.empty() ? std::wstring(LastPathComponent(source)) : name;
    if (leaf.empty()) {
        return false;
    }
    if (source.size() >= MAX_PATH || ChildPath(folder, leaf).size() >= MAX_PATH) {
        return RefuseLongPath();
    }
    IShellItem* const folderItem = FolderItem(folder);
    if (folderItem == nullptr) {
        return false;
    }
    ComPtr<IShellItem> sourceItem;
    if (FAILED(SHCreateItemFromParsingName(source.c_str(), nullptr, IID_PPV_ARGS(&sourceItem)))) {
        return false;
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A folder cannot go inside itself. The shell would refuse too, but a
    // move that fails inside the shell is not harmless everywhere: Wine 10's
    // IFileOperation dereferences a null item when MoveFileExW fails.
    if (isFolder && (EqualsIgnoringAsciiCase(folder, source) ||
                     (folder.size() > source.size() && StartsWithIgnoringAsciiCase(folder, source) &&
                      IsPathSeparator(folder[source.size()])))) {
        if (SUCCEEDED(refusal_)) {
            refusal_ = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
        }
        return true;
    }
    // A file another program holds without letting it be moved cannot go;
    // the item stays and the batch reports it, as our own engine does. The
    // shell is not asked to try: Wine 10's IFileOperation dereferences a null
    // item when the move fails (see above), and ends the program.
    if (!isFolder && !options_.copy && HeldWithoutMoveSharing(source)) {
        if (SUCCEEDED(refusal_)) {
            refusal_ = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
        }
        return true;
    }
    const std::wstring chosen = ChooseName(source, folder, leaf, isFolder);
    if (chosen.empty()) {
        // Taken and no renaming asked for: the item stays, and the batch
        // reports it, as our own engine does.
        if (SUCCEEDED(refusal_)) {
            refusal_ = HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
        }
        return true;
    }
    const std::wstring target = ChildPath(folder, chosen);
    if (!options_.copy && target == source) {
        return true;  // already where it should go
    }
    if (target.size() >= MAX_PATH) {
        return RefuseLongPath();
    }
    const HRESULT queued = options_.copy
                               ? operation_->CopyItem(sourceItem.Get(), folderItem, chosen.c_str(), nullptr)
                               : operation_->MoveItem(sourceItem.Get(), folderItem, chosen.c_str(), nullptr);
    if (FAILED(queued)) {
        queueFailure_ = queued;
        return false;
    }
    claimed_.insert(LowerCase(target));
    requested_[LowerCase(source)] = target;
    ++handedToShell_;
    return true;
}

// The shell's file operation, like Explorer, stops at MAX_PATH whatever the
// manifest says: such an item is refused before the shell is given it, so
// that the caller can hand the batch to an engine that takes it.
bool ShellMoveEngine::RefuseLongPath()
{
    queueFailure_ = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return false;
}

HRESULT ShellMoveEngine::Perform()
{
    const HRESULT refusal = std::exchange(refusal_, S_OK);
    claimed_.clear();
    if (std::exchange(handedToShell_, 0) == 0) {
        return refusal;
    }
    const bool copy = options_.copy;
    const ComPtr<MoveRecorder> recorder =
        MoveRecorder::Create([copy](IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName) {
            return RefuseTakenTarget(copy, item, destinationFolder, newName);
        });
    if (!recorder) {
        return E_OUTOFMEMORY;
    }
    DWORD cookie = 0;
    // Without the recorder nobody would know what moved: better not to move.
    CADRELS_RETURN_IF_FAILED(operation_->Advise(recorder.Get(), &cookie));
    HRESULT hr = operation_->PerformOperations();
    operation_->Unadvise(cookie);
    BOOL aborted = FALSE;
    if (SUCCEEDED(hr) && SUCCEEDED(operation_->GetAnyOperationsAborted(&aborted)) && aborted) {
        hr = HRESULT_FROM_WIN32(ERROR_CANCELLED);
    }
    // The sink also hears about items the user or the engine skipped with a
    // success code; only what is really on disk becomes a move.
    for (MovePair move : recorder->Recorded()) {
        // A shell may name the new item as the disk's lookup found it (Wine
        // gives "a.txt" for a rename to "A.txt"); the file system ignores
        // case, and the spelling asked for is the one the item has.
        const auto asked = requested_.find(LowerCase(move.from));
        if (asked != requested_.end() && SameFileSystemName(asked->second, move.to)) {
            move.to = asked->second;
        }
        if (TransferVisibleOnDisk(move, copy)) {
            moved_.push_back(std::move(move));
        }
    }
    requested_.clear();
    return SUCCEEDED(hr) && FAILED(refusal) ? refusal : hr;
}

}  // namespace cadrels
