// The results that mean the GPU device (or the Direct2D target built on it) is
// gone: everything built on it must be made again. Any other failure of a
// drawing call only costs the current frame.
#pragma once

#include <windows.h>

#include <array>

namespace cadrels {

inline constexpr std::array<HRESULT, 5> DeviceLostCodes = {
    static_cast<HRESULT>(0x887A0005),  // DXGI_ERROR_DEVICE_REMOVED
    static_cast<HRESULT>(0x887A0006),  // DXGI_ERROR_DEVICE_HUNG
    static_cast<HRESULT>(0x887A0007),  // DXGI_ERROR_DEVICE_RESET
    static_cast<HRESULT>(0x887A0020),  // DXGI_ERROR_DRIVER_INTERNAL_ERROR
    static_cast<HRESULT>(0x8899000C),  // D2DERR_RECREATE_TARGET
};

constexpr bool IsDeviceLost(HRESULT hr)
{
    for (const HRESULT code : DeviceLostCodes) {
        if (hr == code) {
            return true;
        }
    }
    return false;
}

}  // namespace cadrels
