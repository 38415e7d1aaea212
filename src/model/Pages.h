// Removing a page from the arrangement and where the shown page goes then,
// and which folders the pages not shown still display.
#pragma once

#include "model/Records.h"

#include <functional>
#include <string>

namespace cadrels {

enum class PageRemoval {
    Refused,        // the last page, or an index outside the pages
    RemovedOther,   // the shown page stays shown (its index may have moved down)
    RemovedActive,  // the shown page went; another one is shown now
};

// Removes the page with its records and geometry (container folders on disk
// are not touched) and keeps `activeWorkspace` on the same page, or on the
// page that took the removed one's place, or on the new last page.
PageRemoval RemovePage(Settings& settings, int index);

// Two spellings of one folder (the caller decides how paths compare).
using SameFolder = std::function<bool(const std::wstring&, const std::wstring&)>;

// Whether a tab of a page other than `livePage` shows `folder`. The live
// page is asked of its windows instead: its records are only as new as the
// last save. A folder a hidden page shows is still the user's cadrel, never a
// place to be emptied into this page's cadrels.
bool OtherPageShowsFolder(const Settings& settings, int livePage, const std::wstring& folder,
                          const SameFolder& sameFolder);

}  // namespace cadrels
