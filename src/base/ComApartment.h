// A single-threaded COM apartment for the worker thread that makes it, as
// the shell's calls and the imaging codecs want; a successful
// CoInitializeEx is balanced when the object goes.
#pragma once

#include <objbase.h>

namespace cadrels {

class ComApartment {
public:
    ComApartment()
        : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
    }
    ~ComApartment()
    {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

}  // namespace cadrels
