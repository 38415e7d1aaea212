#include "app/ThemeWatcher.h"

#include "base/UniqueHandle.h"

#include <gtest/gtest.h>

#include <memory>

namespace cadrels {
namespace {

DWORD WINAPI DestroyWatcher(void* watcher)
{
    delete static_cast<ThemeWatcher*>(watcher);
    return 0;
}

// A start that fails after the watcher began unwinds without signalling
// its stop event: the destruction must still end.
TEST(ThemeWatcher, ADestructionWithoutTheStopSignalEnds)
{
    UniqueHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(stop);
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    auto* watcher = new ThemeWatcher;
    watcher->Start(window, stop.Get());
    ASSERT_TRUE(watcher->Running());

    UniqueHandle destroying(CreateThread(nullptr, 0, DestroyWatcher, watcher, 0, nullptr));
    ASSERT_TRUE(destroying);
    const DWORD waited = WaitForSingleObject(destroying.Get(), 5000);
    if (waited != WAIT_OBJECT_0) {
        SetEvent(stop.Get());  // lets the hung destruction finish, so the test process can end
        WaitForSingleObject(destroying.Get(), INFINITE);
    }
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the destructor waited for a stop signal nobody sent";
    DestroyWindow(window);
}

}  // namespace
}  // namespace cadrels
