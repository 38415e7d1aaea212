// The first back end: the shell's IFileOperation, so that the shell's own
// rules for names, collisions, long paths and Explorer's undo apply.
#pragma once

#include "fileops/MoveEngine.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <map>

namespace cadrels {

class ShellMoveEngine final : public MoveEngine {
public:
    // Null when the operation cannot be created or refuses the flags; the
    // reason is left in `failure`.
    static std::unique_ptr<ShellMoveEngine> Create(const MoveOptions& options, HRESULT& failure);

    bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) override;
    HRESULT Perform() override;
    const std::vector<MovePair>& Moved() const override { return moved_; }
    const wchar_t* Name() const override { return L"IFileOperation"; }

private:
    ShellMoveEngine(Microsoft::WRL::ComPtr<IFileOperation> operation, bool copy)
        : operation_(std::move(operation)), copy_(copy)
    {
    }
    IShellItem* FolderItem(const std::wstring& folder);

    Microsoft::WRL::ComPtr<IFileOperation> operation_;
    std::map<std::wstring, Microsoft::WRL::ComPtr<IShellItem>> folders_;
    std::vector<MovePair> moved_;
    size_t queued_ = 0;
    bool copy_ = false;
};

}  // namespace cadrels
