// Deadlines in the tests are written for a quiet machine; on a loaded one
// (both cores busy, as under ctest -j2 beside a build) the program under
// test can take several times as long to get there. Every positive wait
// goes through this, so a deadline is a ceiling no healthy run comes near.
#pragma once

#include <windows.h>

namespace cadrels::testing {

inline DWORD Patient(DWORD timeoutMs)
{
    constexpr DWORD Factor = 3;
    return timeoutMs > MAXDWORD / Factor ? MAXDWORD : timeoutMs * Factor;
}

}  // namespace cadrels::testing
