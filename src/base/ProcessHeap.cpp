#include "base/ProcessHeap.h"

#include <windows.h>

#include <malloc.h>

namespace cadrels {

void UseLowFragmentationHeap()
{
    ULONG lowFragmentation = 2;
    // A failure leaves the heap as it was, which is fine.
    HeapSetInformation(reinterpret_cast<HANDLE>(_get_heap_handle()), HeapCompatibilityInformation, &lowFragmentation,
                       sizeof lowFragmentation);
}

}  // namespace cadrels
