// The second back end, for systems whose shell cannot create IFileOperation
// (Wine answers E_NOTIMPL to all of it, and its SHFileOperationW reports
// success for missing sources and overwrites on collision). Plain MoveFileExW,
// names of our own on collision, nothing ever replaced, every result checked
// on disk before it is reported.
#pragma once

#include "fileops/MoveEngine.h"

namespace cadrels {

// Points where the tests stand in for another program: between the look
// for a free name and the call that moves, and just after it.
struct NativeMoveSeams {
    std::function<void(const std::wstring& target)> beforeTransfer;
    std::function<void(const std::wstring& target)> afterTransfer;
};

class NativeMoveEngine final : public MoveEngine {
public:
    explicit NativeMoveEngine(const MoveOptions& options, NativeMoveSeams seams = {})
        : options_(options), seams_(std::move(seams))
    {
    }

    bool Queue(const std::wstring& source, const std::wstring& folder, const std::wstring& name) override;
    HRESULT Perform() override;
    const std::vector<MovePair>& Moved() const override { return moved_; }
    const wchar_t* Name() const override { return L"MoveFileExW"; }

private:
    struct Request {
        std::wstring source;
        std::wstring folder;
        std::wstring name;
    };

    // S_OK with `target` set when the item moved (or was copied); S_FALSE
    // when a move finds it already where it should go.
    HRESULT MoveOne(const Request& request, std::wstring& target) const;

    void AtSeam(const std::function<void(const std::wstring&)>& seam, const std::wstring& target) const
    {
        if (seam) {
            seam(target);
        }
    }

    MoveOptions options_;
    NativeMoveSeams seams_;
    std::vector<Request> queue_;
    std::vector<MovePair> moved_;
};

// Where the tests stand in for a failing disk or another program during a
// folder copy: an error in place of the next listing step of a source
// folder (ERROR_SUCCESS: none), and a call once the copy is whole, before
// anything of the source is deleted.
struct FolderCopySeams {
    std::function<DWORD(const std::wstring& folder)> listingError;
    std::function<void()> beforeSourceDeleted;
};

// Copies the tree `source` to `target`, which must not exist; a copy that
// fails part-way, or whose listing of the source was cut short, is removed
// again.
HRESULT CopyFolder(const std::wstring& source, const std::wstring& target, const FolderCopySeams& seams = {});

// Moves a folder where a rename cannot (another volume): copies the tree to
// `target`, which must not exist, flushes the copies, and then deletes from
// the source exactly the entries it copied that still match their copy
// (size and last-write time). A copy that fails is removed again and the
// source stays whole. S_OK when the copy is complete and the source gone;
// ERROR_DIR_NOT_EMPTY when the copy is whole but something stayed in the
// source (saved or changed there meanwhile, or not deletable).
HRESULT MoveFolderByCopy(const std::wstring& source, const std::wstring& target,
                         const FolderCopySeams& seams = {});

}  // namespace cadrels
