#pragma once

namespace cadrels {

// Puts the C runtime's heap on the low-fragmentation allocator. The program
// keeps many small, long-lived allocations (every text of the arrangement);
// Windows 10 enables that allocator by itself as a heap gets busy, so asking
// early costs nothing there and helps where it is not automatic.
void UseLowFragmentationHeap();

}  // namespace cadrels
