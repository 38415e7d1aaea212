// The shell's file operation reports each finished move to a progress sink;
// this one keeps the moves that succeeded, so an undo entry names exactly the
// files that moved and where they went.
#pragma once

#include "fileops/UndoEntry.h"

#include <shobjidl.h>

#include <atomic>
#include <vector>

namespace cadrels {

// Lives in the caller's frame for one PerformOperations: the reference count
// is kept for COM's sake and never deletes the object.
class MoveRecorder final : public IFileOperationProgressSink {
public:
    explicit MoveRecorder(std::vector<MovePair>* moves) : moves_(moves) {}
    MoveRecorder(const MoveRecorder&) = delete;
    MoveRecorder& operator=(const MoveRecorder&) = delete;
    virtual ~MoveRecorder() = default;

    // Appends (from, to) unless `hr` failed or either path is unknown. `to` is
    // the new item's path, else `destinationFolder` + "\" + `newName` (or the
    // source's own name when `newName` is empty).
    void Record(HRESULT hr, IShellItem* item, IShellItem* newItem, IShellItem* destinationFolder,
                LPCWSTR newName);

    ULONG References() const { return references_.load(); }

    // IUnknown
    IFACEMETHODIMP QueryInterface(REFIID riid, void** object) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    // IFileOperationProgressSink
    IFACEMETHODIMP StartOperations() override { return S_OK; }
    IFACEMETHODIMP FinishOperations(HRESULT) override { return S_OK; }
    IFACEMETHODIMP PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    IFACEMETHODIMP PostRenameItem(DWORD, IShellItem* item, LPCWSTR, HRESULT hr, IShellItem* newItem) override;
    IFACEMETHODIMP PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
    IFACEMETHODIMP PostMoveItem(DWORD, IShellItem* item, IShellItem* destinationFolder, LPCWSTR newName,
                                HRESULT hr, IShellItem* newItem) override;
    IFACEMETHODIMP PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
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
    std::atomic<ULONG> references_{1};
    std::vector<MovePair>* moves_;
};

}  // namespace cadrels
