// Which container folders closing a cadrel may touch. A folder can also be
// shown by a tab of another cadrel, on this page or another (after a merge
// and a snapshot restore, or because the user chose the same folder); moving
// or recycling it would empty that tab too.
#pragma once

#include "model/Records.h"

#include "fileops/UndoEntry.h"

#include <functional>
#include <string>
#include <vector>

namespace cadrels {

// The folders of `folders` that a tab of any page refers to, other than the
// tabs of the closing cadrel itself (`closingId` on page `activePage`): the
// same folder, or one inside it. Paths compare ignoring ASCII case and a
// trailing separator.
std::vector<std::wstring> FoldersReferencedElsewhere(const Settings& settings, int activePage,
                                                     const std::string& closingId,
                                                     const std::vector<std::wstring>& folders);

// The folders of `folders` that one of `tabs` still shows, in their order.
std::vector<std::wstring> FoldersStillShown(const std::vector<std::wstring>& folders,
                                            const std::vector<CadrelTab>& tabs);

// Whether `path` is `folder` or lies inside it.
bool IsSameOrInside(const std::wstring& path, const std::wstring& folder);

// The files a close could not move, one a line for the message that tells
// the user: at most `shown` of them, then "… (+n)" for the rest, so that a
// folder of thousands does not make a prompt taller than the screen.
std::wstring StayedFilesLines(const std::vector<std::wstring>& paths, size_t shown);

// The container folders (directly under `containerRoot`) an undo of `moves`
// would put files back into although no cadrel shows them any more, in the
// order first met. After a cadrel was closed with its files moved to the
// Desktop, the undo would make its container again without the marker and
// fill a folder nobody sees: to the user the files would vanish.
std::vector<std::wstring> ContainersNoCadrelShows(const std::vector<MovePair>& moves,
                                                  const std::wstring& containerRoot,
                                                  const std::function<bool(const std::wstring&)>& shown);

}  // namespace cadrels
