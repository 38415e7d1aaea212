// Removing a page from the arrangement and where the shown page goes then.
#pragma once

#include "model/Records.h"

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

}  // namespace cadrels
