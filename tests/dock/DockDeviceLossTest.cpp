// The dock losing its graphics device in the middle of a frame: it tells the
// application once, draws nothing on the dead device, and after the
// application's recreation rebuilds its objects and draws again, on screen.
#include "GfxTestSupport.h"
#include "LogCapture.h"

#include "dock/Dock.h"
#include "gfx/DeviceRecovery.h"
#include "gfx/FaultInjector.h"
#include "gfx/GraphicsDevice.h"
#include "model/Theme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr HRESULT DeviceRemoved = static_cast<HRESULT>(0x887A0005);
constexpr HRESULT RecreateTarget = static_cast<HRESULT>(0x8899000C);
// An accent nothing else on the desktop has: the drop outline drawn in it
// tells a new frame from the last one left on screen.
constexpr Color Magenta = RGB(230, 0, 200);

int CountMagenta(const RECT& area)
{
    const ScreenShot shot = ScreenShot::Take(area);
    int count = 0;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            count += Near(shot.At(x, y), Rgb{230, 0, 200}, 60) ? 1 : 0;
        }
    }
    return count;
}

RECT Bounds(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
}

class DockDeviceLoss : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(2, 2);
        SetAccent(Magenta);
        device.SetFaultInjector(&faults);
        device.Create();
    }
    void TearDown() override { SetAccent(0); }

    LogCapture log;
    FaultInjector faults;
    GraphicsDevice device;
    FakeAppWindow app;
};

TEST_F(DockDeviceLoss, ReportsOnceWaitsAndDrawsAgainAfterTheRecreation)
{
    Dock dock(device, nullptr, app.Handle());
    ASSERT_TRUE(dock.Create(GetModuleHandleW(nullptr), {}, {}));
    PumpMessages(300);
    ASSERT_EQ(dock.Render(), FrameResult::Drawn);
    EXPECT_EQ(CountMagenta(Bounds(dock.Window())), 0) << "no outline before a drag comes over";

    // The frame that would show the outline loses the device.
    faults.FailNext(GfxCall::EndDraw, DeviceRemoved);
    dock.SetDropHover(true);
    EXPECT_EQ(app.TakeDeviceLost(), std::vector<WPARAM>{device.Generation()});
    EXPECT_EQ(log.Count(L"Perte de device detectee (0x887A0005)"), 1u);

    // Until the application has a new device the dock does not draw, and
    // the pointer moving over it (an animation every 15 ms) reports nothing
    // more.
    EXPECT_EQ(dock.Render(), FrameResult::Skipped);
    const RECT bounds = Bounds(dock.Window());
    SendMessageW(dock.Window(), WM_MOUSEMOVE, 0, MAKELPARAM((bounds.right - bounds.left) / 2, 100));
    PumpMessages(300);
    EXPECT_TRUE(app.TakeDeviceLost().empty());
    EXPECT_EQ(CountMagenta(bounds), 0) << "the last frame stays until the rebuild";

    const size_t samplesBefore = log.Count(L"Dock : fond");
    std::vector<FrameResult> rebuilt;
    DeviceRecovery recovery(device, {nullptr, [&] { rebuilt.push_back(dock.RebuildGraphics()); }});
    recovery.OnDeviceLost(1);
    ASSERT_EQ(device.Generation(), 2u);
    ASSERT_EQ(rebuilt, std::vector<FrameResult>{FrameResult::Drawn});
    EXPECT_EQ(log.Count(L"Dock : fond"), samplesBefore + 1) << "a new backdrop sample after the rebuild";
    EXPECT_GT(CountMagenta(bounds), 400) << "the frame drawn on the new device shows the outline";

    // Everything the dock draws (built-in slot icons included) belongs to
    // the new device: later frames draw and report nothing.
    dock.SetDropHover(false);
    EXPECT_EQ(dock.Render(), FrameResult::Drawn);
    EXPECT_EQ(CountMagenta(bounds), 0);
    EXPECT_TRUE(app.TakeDeviceLost().empty());
}

TEST_F(DockDeviceLoss, ALossWhileRebuildingIsReportedForTheNewDeviceAndAStaleDockRebuildsOnItsOwn)
{
    Dock dock(device, nullptr, app.Handle());
    ASSERT_TRUE(dock.Create(GetModuleHandleW(nullptr), {L"C:\\windows\\notepad.exe"}, {}));
    PumpMessages(200);

    faults.FailNext(GfxCall::Present, RecreateTarget);
    EXPECT_EQ(dock.Render(), FrameResult::DeviceLost);
    ASSERT_EQ(app.TakeDeviceLost(), std::vector<WPARAM>{1});

    // The new device fails again while the dock builds its objects on it.
    ASSERT_EQ(device.Recreate(), S_OK);
    faults.FailNext(GfxCall::BuildWindow, DeviceRemoved);
    EXPECT_EQ(dock.RebuildGraphics(), FrameResult::DeviceLost);
    EXPECT_EQ(app.TakeDeviceLost(), std::vector<WPARAM>{2}) << "the latch of the old device does not hide it";
    EXPECT_EQ(dock.Render(), FrameResult::Skipped);

    // A recreation the dock was not told about (another window's report):
    // its next frame notices the new generation and rebuilds by itself.
    ASSERT_EQ(device.Recreate(), S_OK);
    EXPECT_EQ(dock.Render(), FrameResult::Drawn);
    EXPECT_EQ(dock.Render(), FrameResult::Drawn);
    EXPECT_TRUE(app.TakeDeviceLost().empty());
}

}  // namespace
}  // namespace cadrels::testing
