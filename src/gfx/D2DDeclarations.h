// Declarations from the Windows SDK that the MinGW-w64 headers lack, taken
// from the public documentation.
#pragma once

#include <guiddef.h>

namespace cadrels {

// ID2D1DeviceContext5 (d2d1_3.h): the device context that draws SVG documents.
// Only its identifier is needed to ask the shared context for it.
inline constexpr GUID IID_ID2D1DeviceContext5 = {
    0x7836d248, 0x68cc, 0x4df6, {0xb9, 0xe8, 0xde, 0x99, 0x1b, 0xf6, 0x2e, 0xb7}};

}  // namespace cadrels
