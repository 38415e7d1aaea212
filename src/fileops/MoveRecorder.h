// The shell's file operation reports each finished move to a progress sink;
// this one keeps the moves that succeeded, so an undo entry names exactly the
// files that moved and where they went.
#pragma once

#include "base/ComObject.h"
#include "fileops/UndoEntry.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

namespace cadrels {

// The item's SIGDN_FILESYSPATH name; empty for a null item or one that has none.
std::wstring FileSystemPath(IShellItem* item);

// A heap object that lives as long as anyone holds it. The shell may keep
// its reference past Unadvise (Wine's Advise never hands out the cookie
// that Unadvise needs, and releases the sink only with the operation), so
// nothing of the recorder may live in a caller's frame.
class MoveRecorder final : public ComObject<IFileOperationProgressSink> {
public:
    // Answers each PreMoveItem (and PreCopyItem): a failure stops the item
    // before the shell touches it. Empty: every item goes.
    using ItemCheck = std::function<HRESULT(IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName)>;

    static Microsoft::WRL::ComPtr<MoveRecorder> Create(ItemCheck check = {});

    // Appends (from, to) unless `hr` failed or either path is unknown. `to` is
    // the new item's path, else `destinationFolder` + "\" + `newName` (or the
    // source's own name when `newName` is empty).
    void Record(HRESULT hr, IShellItem* item, IShellItem* newItem, IShellItem* destinationFolder,
                LPCWSTR newName);

    const std::vector<MovePair>& Recorded() const { return moves_; }

    // IFileOperationProgressSink. Nothing here may throw into the shell.
    IFACEMETHODIMP StartOperations() override { return S_OK; }
    IFACEMETHODIMP FinishOperations(HRESULT) override { return S_OK; }
    IFACEMETHODIMP PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    IFACEMETHODIMP PostRenameItem(DWORD, IShellItem* item, LPCWSTR, HRESULT hr, IShellItem* newItem) override;
    IFACEMETHODIMP PreMoveItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName) override;
    IFACEMETHODIMP PostMoveItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                HRESULT hr, IShellItem* newItem) override;
    IFACEMETHODIMP PreCopyItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName) override;
    // A copying operation reports its copies the same way: (source, copy).
    IFACEMETHODIMP PostCopyItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                HRESULT hr, IShellItem* newItem) override;
    IFACEMETHODIMP PreDeleteItem(DWORD, IShellItem*) override { return S_OK; }
    IFACEMETHODIMP PostDeleteItem(DWORD, IShellItem*, HRESULT, IShellItem*) override { return S_OK; }
    IFACEMETHODIMP PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    IFACEMETHODIMP PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT, IShellItem*) override
    {
        return S_OK;
    }
    IFACEMETHODIMP UpdateProgress(UINT, UINT) override { return S_OK; }
    IFACEMETHODIMP ResetTimer() override { return S_OK; }
    IFACEMETHODIMP PauseTimer() override { return S_OK; }
    IFACEMETHODIMP ResumeTimer() override { return S_OK; }

private:
    explicit MoveRecorder(ItemCheck check) : check_(std::move(check)) {}
    ~MoveRecorder() override = default;
    HRESULT Check(IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName) noexcept;
    void RecordSafely(HRESULT hr, IShellItem* item, IShellItem* newItem, IShellItem* destinationFolder,
                      LPCWSTR newName) noexcept;

    ItemCheck check_;
    std::vector<MovePair> moves_;
};

}  // namespace cadrels
