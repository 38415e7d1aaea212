// Between the system's RECT and the program's PixelRect, which the pure
// geometry code uses so that it needs no Windows headers.
#pragma once

#include "base/PixelGeometry.h"

#include <windows.h>

namespace cadrels {

inline PixelRect ToPixelRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

inline RECT ToRect(const PixelRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace cadrels
