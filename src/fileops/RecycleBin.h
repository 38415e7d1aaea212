// Sending a folder to the Recycle Bin through the shell's file operation,
// and what the bin can say about itself. Nothing here deletes for good
// without the system asking the user first.
#pragma once

#include <optional>
#include <string>

namespace cadrels {

// Whether the Recycle Bin of the folder's volume can take it: a local fixed
// drive whose bin is not switched off and whose configured capacity (in
// megabytes, when the user set one) holds the folder. Elsewhere the shell
// would delete for good.
bool RecycleBinCanTake(const std::wstring& folder);

enum class RecycleResult {
    Recycled,
    // The operation ran and the folder is still there, or the user declined
    // deleting it for good.
    Refused,
    // The shell's file operation cannot be used here; nothing was touched.
    Unavailable,
};

// The shell's file operation recycles and, with FOF_WANTNUKEWARNING, asks
// the user before anything would be deleted for good; saying no there
// aborts the operation. Recycled only when the folder is gone from disk.
RecycleResult RecycleWithFileOperation(const std::wstring& folder);

// How many items the Recycle Bin of the folder's drive holds; nothing when
// the shell cannot say.
std::optional<long long> RecycledItemCount(const std::wstring& folder);

}  // namespace cadrels
