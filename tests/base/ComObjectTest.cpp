// Our own COM objects: one reference at birth, deleted at the last release,
// and handed to a ComPtr without a second reference (MinGW-w64's
// ComPtr::Attach would add one, and the object would never go).
#include "base/ComObject.h"

#include <gtest/gtest.h>
#include <oleidl.h>

namespace cadrels {
namespace {

class CountedSource final : public ComObject<IDropSource> {
public:
    explicit CountedSource(int& alive) : alive_(alive) { ++alive_; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return S_OK; }

protected:
    ~CountedSource() override { --alive_; }

private:
    int& alive_;
};

TEST(ComObject, AnAdoptedObjectGoesWithItsLastHolder)
{
    int alive = 0;
    Microsoft::WRL::ComPtr<IDropSource> owner;
    AdoptComObject(owner, new CountedSource(alive));
    ASSERT_EQ(alive, 1);
    {
        Microsoft::WRL::ComPtr<IUnknown> other;
        ASSERT_EQ(owner.As(&other), S_OK);
        owner.Reset();
        EXPECT_EQ(alive, 1) << "another holder keeps it";
    }
    EXPECT_EQ(alive, 0) << "the last release deletes it";

    AdoptComObject(owner, new CountedSource(alive));
    AdoptComObject(owner, new CountedSource(alive));
    EXPECT_EQ(alive, 1) << "adopting a new object releases the one held";
    owner.Reset();
    EXPECT_EQ(alive, 0);
}

}  // namespace
}  // namespace cadrels
