#include "PanelFixture.h"

#include "gfx/DeviceLost.h"
#include "gfx/DeviceRecovery.h"

#include <string>
#include <vector>

namespace cadrels {
namespace {

using DeviceLoss = testing::PanelFixture;

constexpr HRESULT DeviceRemoved = static_cast<HRESULT>(0x887A0005);
constexpr HRESULT RecreateTarget = static_cast<HRESULT>(0x8899000C);

struct Point {
    GfxCall call;
    const char* name;
};

// Every call of a frame that can fail, and how to get to it.
constexpr Point FramePoints[] = {
    {GfxCall::BuildWindow, "build"},
    {GfxCall::BeginFrame, "begin"},
    {GfxCall::EndDraw, "end draw"},
    {GfxCall::Present, "present"},
};

// The next frame passes through `call`: a build happens only for objects that are gone.
FrameResult FailNextFrame(PanelWindow& panel, FaultInjector& faults, GfxCall call, HRESULT hr)
{
    if (call == GfxCall::BuildWindow) {
        panel.Graphics().Release();
    }
    faults.FailNext(call, hr);
    return panel.Redraw();
}

std::wstring Hex(HRESULT hr)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%08X", static_cast<unsigned>(hr));
    return text;
}

TEST_F(DeviceLoss, EachLostCodeIsReportedOnceUntilTheWindowRebuilds)
{
    auto panel = MakePanel();
    ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    for (const HRESULT code : DeviceLostCodes) {
        for (const Point& point : FramePoints) {
            SCOPED_TRACE(::testing::Message() << point.name << " fails with " << std::hex << code);
            ASSERT_EQ(panel->RebuildGraphics(), FrameResult::Drawn);
            log.Clear();

            EXPECT_EQ(FailNextFrame(*panel, faults, point.call, code), FrameResult::DeviceLost);
            EXPECT_EQ(app.TakeDeviceLost(), std::vector<WPARAM>{device.Generation()});
            EXPECT_TRUE(panel->Graphics().DeviceLostLatched());
            EXPECT_EQ(log.Count(L"Perte de device detectee (" + Hex(code) + L") -> notification a App"), 1u);

            EXPECT_EQ(FailNextFrame(*panel, faults, point.call, code), FrameResult::DeviceLost);
            EXPECT_TRUE(app.TakeDeviceLost().empty()) << "the latch holds back a second report";
            EXPECT_EQ(log.Count(L"Perte de device"), 1u);
        }
    }
}

TEST_F(DeviceLoss, OtherFailuresOnlyDropTheFrame)
{
    const HRESULT others[] = {
        E_FAIL,
        E_OUTOFMEMORY,
        E_INVALIDARG,
        static_cast<HRESULT>(0x887A0001),  // DXGI_ERROR_INVALID_CALL
        static_cast<HRESULT>(0x887A000A),  // DXGI_ERROR_WAS_STILL_DRAWING
        static_cast<HRESULT>(0x88990001),  // D2DERR_WRONG_STATE
        static_cast<HRESULT>(0x8899000D),  // one past D2DERR_RECREATE_TARGET
    };
    auto panel = MakePanel();
    for (const HRESULT code : others) {
        for (const Point& point : FramePoints) {
            SCOPED_TRACE(::testing::Message() << point.name << " fails with " << std::hex << code);
            EXPECT_EQ(FailNextFrame(*panel, faults, point.call, code), FrameResult::Dropped);
            EXPECT_TRUE(app.TakeDeviceLost().empty());
            EXPECT_FALSE(panel->Graphics().DeviceLostLatched());
            EXPECT_EQ(panel->Redraw(), FrameResult::Drawn) << "the next frame draws normally";
            EXPECT_TRUE(panel->Graphics().Built());
        }
    }
    EXPECT_EQ(log.Count(L"Perte de device"), 0u);
}

TEST_F(DeviceLoss, ThreeWindowsLosingTheDeviceInOneFrameCauseOneRecreation)
{
    std::vector<std::unique_ptr<PanelWindow>> panels;
    for (int i = 0; i < 3; ++i) {
        panels.push_back(MakePanel({40 + 260 * i, 40, 280 + 260 * i, 200}));
    }
    int rebuilds = 0;
    std::vector<UINT> timers;
    DeviceRecovery recovery(device, {[&](UINT delay) { timers.push_back(delay); },
                                     [&] {
                                         ++rebuilds;
                                         for (auto& panel : panels) {
                                             EXPECT_EQ(panel->RebuildGraphics(), FrameResult::Drawn);
                                         }
                                     }});

    faults.FailNext(GfxCall::EndDraw, DeviceRemoved, 3);
    for (auto& panel : panels) {
        EXPECT_EQ(panel->Redraw(), FrameResult::DeviceLost);
    }
    const std::vector<WPARAM> reports = app.TakeDeviceLost();
    ASSERT_EQ(reports.size(), 3u) << "one report per window";
    for (const WPARAM report : reports) {
        recovery.OnDeviceLost(static_cast<std::uint32_t>(report));
    }

    EXPECT_EQ(log.Count(L"Recreation du device. Raison de retrait"), 1u);
    EXPECT_EQ(log.Count(L"Device recree avec succes."), 1u);
    EXPECT_EQ(device.Generation(), 2u);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_TRUE(timers.empty());
    EXPECT_FALSE(recovery.RecreationPending());
    for (auto& panel : panels) {
        EXPECT_EQ(panel->Graphics().Generation(), 2u);
        EXPECT_FALSE(panel->Graphics().DeviceLostLatched());
        EXPECT_EQ(panel->Redraw(), FrameResult::Drawn);
    }
    EXPECT_TRUE(app.TakeDeviceLost().empty());
}

TEST_F(DeviceLoss, AWindowLeftStaleByARecreationRebuildsBeforeItDraws)
{
    auto rebuilt = MakePanel({40, 40, 280, 200});
    auto stale = MakePanel({300, 40, 540, 200});  // like the settings window: not in the rebuild list
    DeviceRecovery recovery(device, {nullptr, [&] { rebuilt->RebuildGraphics(); }});

    faults.FailNext(GfxCall::EndDraw, RecreateTarget);
    ASSERT_EQ(rebuilt->Redraw(), FrameResult::DeviceLost);
    for (const WPARAM report : app.TakeDeviceLost()) {
        recovery.OnDeviceLost(static_cast<std::uint32_t>(report));
    }
    ASSERT_EQ(device.Generation(), 2u);
    EXPECT_EQ(stale->Graphics().Generation(), 1u);

    const int buildsBefore = stale->ResourceBuilds();
    EXPECT_EQ(stale->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(stale->ResourceBuilds(), buildsBefore + 1) << "brushes and formats made again on the new device";
    EXPECT_EQ(stale->Graphics().Generation(), 2u);
    EXPECT_EQ(stale->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(stale->ResourceBuilds(), buildsBefore + 1) << "and only once";
}

TEST_F(DeviceLoss, ANewDeviceLostWhileRebuildingIsReportedAgain)
{
    auto panel = MakePanel();
    faults.FailNext(GfxCall::EndDraw, DeviceRemoved);
    ASSERT_EQ(panel->Redraw(), FrameResult::DeviceLost);
    ASSERT_EQ(app.TakeDeviceLost(), std::vector<WPARAM>{1});

    ASSERT_EQ(device.Recreate(), S_OK);
    faults.FailNext(GfxCall::BuildWindow, DeviceRemoved);
    EXPECT_EQ(panel->Redraw(), FrameResult::DeviceLost);
    EXPECT_EQ(app.TakeDeviceLost(), std::vector<WPARAM>{2}) << "the latch of the old device does not hide the new loss";
}

TEST_F(DeviceLoss, WindowsWaitWithoutDrawingWhileNoDeviceExists)
{
    auto panel = MakePanel();
    faults.FailAlways(GfxCall::HardwareDevice, DeviceRemoved);
    faults.FailAlways(GfxCall::WarpDevice, DeviceRemoved);
    std::vector<UINT> timers;
    DeviceRecovery recovery(device, {[&](UINT delay) { timers.push_back(delay); }, [&] { panel->RebuildGraphics(); }});
    recovery.OnDeviceLost(device.Generation());
    ASSERT_TRUE(recovery.RecreationPending());

    EXPECT_EQ(panel->Redraw(), FrameResult::Skipped);
    EXPECT_TRUE(app.TakeDeviceLost().empty());

    faults.ClearAll();
    recovery.OnRetryTimer();
    EXPECT_FALSE(recovery.RecreationPending());
    EXPECT_EQ(timers, std::vector<UINT>{250});
    EXPECT_EQ(panel->Redraw(), FrameResult::Drawn);
}

}  // namespace
}  // namespace cadrels
