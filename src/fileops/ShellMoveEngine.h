// The first back end: the shell's IFileOperation, so that the shell's own
// rules for long paths, Explorer's undo and its notifications apply.
#pragma once

#include "fileops/MoveEngine.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <map>
#include <set>

namespace cadrels {

class ShellMoveEngine final : public MoveEngine {
public:
    // Null when the operation cannot be created or refuses the flags; the
    // reason is left in `failure`.
    static std::unique_ptr<ShellMoveEngine> Create(const MoveOptions& options, HRESULT& failure);
    // The same over an operation made by the caller.
    static std::unique_ptr<ShellMoveEngine> Create(Microsoft::WRL::ComPtr<IFileOperation> operation,
                                                   const MoveOptions& options, HRESULT& failure);

    // Every item is queued under a name chosen here: the source's (or the
    // given) name when it is free, else "name (2).ext" and so on with
    // renaming, else nothing and Perform() fails with ERROR_FILE_EXISTS.
    // Shells differ on collisions (Wine's replaces the file that is there
    // and merges folders, whatever the flags say); a free name leaves them
    // nothing to decide.
    bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) override;
    HRESULT Perform() override;
    const std::vector<MovePair>& Moved() const override { return moved_; }
    const wchar_t* Name() const override { return L"IFileOperation"; }

    // What the shell answered the last MoveItem or CopyItem it refused.
    // E_NOTIMPL: this shell cannot do that kind of transfer at all;
    // ERROR_FILENAME_EXCED_RANGE: a path too long for the shell.
    HRESULT QueueFailure() const { return queueFailure_; }
    // Items of the batch the shell itself was given (not refused here).
    size_t HandedToShell() const { return handedToShell_; }

private:
    ShellMoveEngine(Microsoft::WRL::ComPtr<IFileOperation> operation, const MoveOptions& options)
        : operation_(std::move(operation)), options_(options)
    {
    }
    IShellItem* FolderItem(const std::wstring& folder);
    bool RefuseLongPath();
    // The name the item takes in `folder`; empty when it cannot go there.
    std::wstring ChooseName(const std::wstring& source, const std::wstring& folder, const std::wstring& name,
                            bool isFolder) const;

    Microsoft::WRL::ComPtr<IFileOperation> operation_;
    MoveOptions options_;
    std::map<std::wstring, Microsoft::WRL::ComPtr<IShellItem>> folders_;
    // Targets of this batch, in lower case: two items bound for one name
    // must not both get it.
    std::set<std::wstring> claimed_;
    // The target asked for each source (by its lower-case path).
    std::map<std::wstring, std::wstring> requested_;
    std::vector<MovePair> moved_;
    // Items the shell itself was given.
    size_t handedToShell_ = 0;
    HRESULT refusal_ = S_OK;
    HRESULT queueFailure_ = S_OK;
};

}  // namespace cadrels
