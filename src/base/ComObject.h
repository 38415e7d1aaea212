// The IUnknown of a COM object of our own that answers one interface: a
// reference count changed with interlocked operations, 1 at creation, and
// the object deleted when it reaches 0. Drop targets and drop sources are
// handed to OLE this way.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

namespace cadrels {

template <typename Interface>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~ComObject() = default;

private:
    LONG references_ = 1;
};

// Hands a new object's one reference to `owner` without adding another.
// MinGW-w64's ComPtr::Attach adds a reference (the SDK's does not), so an
// object attached there would never be deleted.
template <typename T, typename Object>
void AdoptComObject(Microsoft::WRL::ComPtr<T>& owner, Object* object)
{
    T* const adopted = object;
    owner.Reset();
    *owner.GetAddressOf() = adopted;
}

}  // namespace cadrels
