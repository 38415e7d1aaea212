// Owners for memory blocks the system allocates for the caller, in the
// style of UniqueHandle.h: one traits type per way of freeing them.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <type_traits>

namespace cadrels {

// A block COM or the shell allocated (a path, an item ID list).
template <typename T>
struct CoTaskMemTraits {
    using Type = T*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type p) noexcept { ::CoTaskMemFree(p); }
};

// A block allocated with LocalAlloc (an argument vector, a SID string, a
// security descriptor).
template <typename T>
struct LocalMemTraits {
    using Type = T*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type p) noexcept { ::LocalFree(p); }
};

template <typename T>
using UniqueCoTaskMem = UniqueResource<CoTaskMemTraits<T>>;
template <typename T>
using UniqueLocalMem = UniqueResource<LocalMemTraits<T>>;

// An absolute item ID list the shell parsed for the caller.
using UniqueIdList = UniqueCoTaskMem<std::remove_pointer_t<PIDLIST_ABSOLUTE>>;

}  // namespace cadrels
