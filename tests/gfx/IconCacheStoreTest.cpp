#include "gfx/IconCacheStore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace cadrels {
namespace {

using Bitmap = std::shared_ptr<int>;
using Store = IconCacheStore<Bitmap>;

Bitmap MakeBitmap(int tag)
{
    return std::make_shared<int>(tag);
}

TEST(IconCacheStore, AsksOnceUntilAnsweredAndShowsAnotherSizeMeanwhile)
{
    Store store(512);
    const std::wstring path = L"C:\\Pictures\\beach.jpg";

    const Store::Answer first = store.Get(path, 44);
    EXPECT_TRUE(first.request);
    EXPECT_FALSE(first.bitmap);
    EXPECT_FALSE(store.Get(path, 44).request) << "a second ask before the answer queues nothing";
    EXPECT_EQ(store.PendingCount(), 1u);

    store.Abandon(first.key);
    EXPECT_TRUE(store.Get(path, 44).request) << "an answer lost on the way is asked for again";
    EXPECT_FALSE(store.Get(path, 44).request);

    const Bitmap small = MakeBitmap(44);
    store.Store(first.key, small);
    EXPECT_EQ(store.PendingCount(), 0u);
    EXPECT_EQ(store.Get(path, 44).bitmap, small);

    const Store::Answer larger = store.Get(path, 72);
    EXPECT_TRUE(larger.request);
    EXPECT_EQ(larger.bitmap, small) << "the 44-pixel bitmap stands in while 72 loads";

    const Bitmap big = MakeBitmap(72);
    store.Store(larger.key, big);
    EXPECT_EQ(store.Get(path, 72).bitmap, big);
    EXPECT_EQ(store.Get(path, 44).bitmap, small);
}

TEST(IconCacheStore, AnEmptyAnswerIsRememberedAndFallsBackToThePathsLatest)
{
    Store store(512);
    const std::wstring path = L"C:\\Docs\\report.pdf";
    store.Store(store.Get(path, 20).key, MakeBitmap(20));

    const Store::Answer answer = store.Get(path, 44);
    store.Store(answer.key, nullptr);
    const Store::Answer again = store.Get(path, 44);
    EXPECT_FALSE(again.request) << "a failed key is not asked for again";
    ASSERT_TRUE(again.bitmap);
    EXPECT_EQ(*again.bitmap, 20);
}

TEST(IconCacheStore, PathsHoldingAtGetTheirOwnFallback)
{
    // With the key cut at the first "@", this bitmap would be filed under
    // "C:\me" and never be found for its own path.
    Store store(512);
    const std::wstring path = L"C:\\me@work\\photo@2x.png";
    store.Store(store.Get(path, 44).key, MakeBitmap(7));
    const Store::Answer answer = store.Get(path, 72);
    ASSERT_TRUE(answer.bitmap);
    EXPECT_EQ(*answer.bitmap, 7);
    EXPECT_FALSE(store.Get(L"C:\\me", 72).bitmap);
}

TEST(IconCacheStore, The513thKeyEvictsTheLeastRecentlyUsed)
{
    Store store(512);
    for (int i = 0; i < 512; ++i) {
        const std::wstring path = L"C:\\f" + std::to_wstring(i);
        store.Store(store.Get(path, 44).key, MakeBitmap(i));
    }
    ASSERT_EQ(store.EntryCount(), 512u);
    // f0 is the oldest; using it again makes f1 the least recent.
    EXPECT_TRUE(store.Get(L"C:\\f0", 44).bitmap);
    store.Store(store.Get(L"C:\\f512", 44).key, MakeBitmap(512));

    EXPECT_EQ(store.EntryCount(), 512u);
    EXPECT_TRUE(store.Holds(L"C:\\f0@44"));
    EXPECT_FALSE(store.Holds(L"C:\\f1@44"));
    EXPECT_TRUE(store.Holds(L"C:\\f512@44"));
    // Its bitmap is still the path's fallback: asking again shows it while
    // the key is fetched anew.
    const Store::Answer evicted = store.Get(L"C:\\f1", 44);
    EXPECT_TRUE(evicted.request);
    EXPECT_TRUE(evicted.bitmap);
}

// Several tall cadrels can show more icons than the capacity: what the
// frames drew a moment ago stays, or every frame would ask for it again.
TEST(IconCacheStore, KeysDrawnAMomentAgoAreNeverEvictedAndOlderOnesAre)
{
    Store store(8, 2000);
    const auto path = [](int i) { return L"C:\\v" + std::to_wstring(i); };
    for (int i = 0; i < 12; ++i) {
        store.Store(store.Get(path(i), 48, 1000).key, MakeBitmap(i), 1000 + static_cast<std::uint64_t>(i));
    }
    EXPECT_EQ(store.EntryCount(), 12u) << "all twelve were drawn within the last moments";
    for (int i = 0; i < 12; ++i) {
        const Store::Answer again = store.Get(path(i), 48, 1500);
        EXPECT_FALSE(again.request) << i << " was asked for again";
        EXPECT_TRUE(again.bitmap) << i;
    }

    // Later only four are still drawn; the next answer trims to the
    // capacity, taking the ones no frame drew since.
    for (int i = 0; i < 4; ++i) {
        store.Get(path(i), 48, 5000);
    }
    store.Store(store.Get(path(12), 48, 5000).key, MakeBitmap(12), 5000);
    EXPECT_EQ(store.EntryCount(), 8u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(store.Holds(MakeIconKey(path(i), 48))) << i;
    }
    EXPECT_TRUE(store.Holds(MakeIconKey(path(12), 48)));
    EXPECT_FALSE(store.Holds(MakeIconKey(path(4), 48))) << "the least recent of the undrawn went first";
}

TEST(IconCacheStore, FallbacksAreTrimmedToHalfWhenTheyExceedTheCapacity)
{
    Store store(8);
    for (int i = 0; i < 40; ++i) {
        const std::wstring path = L"C:\\p" + std::to_wstring(i);
        store.Store(store.Get(path, 44).key, MakeBitmap(i));
        EXPECT_LE(store.FallbackCount(), 9u);
        EXPECT_LE(store.EntryCount(), 8u);
    }
    // The newest path always keeps its fallback.
    EXPECT_TRUE(store.Get(L"C:\\p39", 72).bitmap);
}

TEST(IconCacheStore, DroppingBitmapsKeepsPendingKeys)
{
    Store store(512);
    store.Store(store.Get(L"C:\\a", 44).key, MakeBitmap(1));
    const Store::Answer waiting = store.Get(L"C:\\b", 44);
    store.DropBitmaps();
    EXPECT_EQ(store.EntryCount(), 0u);
    EXPECT_EQ(store.FallbackCount(), 0u);
    EXPECT_TRUE(store.IsPending(waiting.key));
    EXPECT_FALSE(store.Get(L"C:\\b", 44).request) << "the answer on its way is not asked for twice";
    EXPECT_TRUE(store.Get(L"C:\\a", 44).request) << "a dropped bitmap is fetched again";
}

}  // namespace
}  // namespace cadrels
