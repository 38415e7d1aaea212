#include "gfx/GraphicsDevice.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace cadrels {
namespace {

constexpr HRESULT Unsupported = static_cast<HRESULT>(0x887A0004);  // DXGI_ERROR_UNSUPPORTED

// A device not created yet, with faults that tests arm before Create.
class Device : public ::testing::Test {
protected:
    void SetUp() override { device.SetFaultInjector(&faults); }

    testing::LogCapture log;
    FaultInjector faults;
    GraphicsDevice device;
};

TEST_F(Device, CreateMakesEveryMemberAndCountsTheGeneration)
{
    EXPECT_EQ(device.Generation(), 0u);
    device.Create();
    EXPECT_EQ(device.Generation(), 1u);
    EXPECT_NE(device.D2DFactory(), nullptr);
    EXPECT_NE(device.DWrite(), nullptr);
    EXPECT_NE(device.D3DDevice(), nullptr);
    EXPECT_NE(device.D3DContext(), nullptr);
    EXPECT_NE(device.D2DContext(), nullptr);
    EXPECT_FALSE(device.UiFontFamily().empty());

    ASSERT_EQ(device.Recreate(), S_OK);
    EXPECT_EQ(device.Generation(), 2u);
    EXPECT_NE(device.D2DContext(), nullptr);
}

TEST_F(Device, HardwareFailureFallsBackToWarpAndLogsOncePerCreation)
{
    faults.FailAlways(GfxCall::HardwareDevice, Unsupported);

    device.Create();
    EXPECT_NE(device.D2DContext(), nullptr) << "WARP gives a working device";
    EXPECT_EQ(faults.Calls(GfxCall::WarpDevice), 1);
    const auto lines = log.Matching(L"repli WARP");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"D3D11 materiel indisponible (0x887A0004) -> repli WARP");

    ASSERT_EQ(device.Recreate(), S_OK);
    EXPECT_EQ(log.Count(L"repli WARP"), 2u);
    EXPECT_EQ(faults.Calls(GfxCall::HardwareDevice), 2) << "each recreation tries hardware first";

    faults.ClearAll();
    ASSERT_EQ(device.Recreate(), S_OK);
    EXPECT_EQ(log.Count(L"repli WARP"), 2u) << "no fallback once hardware works again";
    EXPECT_EQ(faults.Calls(GfxCall::WarpDevice), 2);
    EXPECT_EQ(device.Generation(), 3u);
}

TEST_F(Device, CreateThrowsTheStartupTextWhenNeitherDeviceCanBeMade)
{
    faults.FailAlways(GfxCall::HardwareDevice, Unsupported);
    faults.FailAlways(GfxCall::WarpDevice, E_OUTOFMEMORY);
    try {
        device.Create();
        ADD_FAILURE() << "Create returned";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "CreateDevice() a echoue (HRESULT 0x8007000E)");
    }
    EXPECT_EQ(device.Generation(), 0u);
    EXPECT_EQ(device.D2DContext(), nullptr);
}

TEST_F(Device, FailedRecreationLeavesNoHalfDeviceAndKeepsTheGeneration)
{
    device.Create();

    faults.FailAlways(GfxCall::HardwareDevice, Unsupported);
    faults.FailAlways(GfxCall::WarpDevice, Unsupported);
    EXPECT_EQ(device.Recreate(), Unsupported);
    EXPECT_EQ(log.Count(L"Recreation du device. Raison de retrait : 0x"), 1u);
    EXPECT_EQ(device.Generation(), 1u);
    EXPECT_EQ(device.D3DDevice(), nullptr);
    EXPECT_EQ(device.D2DContext(), nullptr);
    EXPECT_EQ(device.Composition(), nullptr);

    EXPECT_EQ(device.Recreate(), Unsupported);
    EXPECT_EQ(log.Count(L"Recreation du device"), 1u) << "nothing to report about a device that does not exist";

    faults.ClearAll();
    EXPECT_EQ(device.Recreate(), S_OK);
    EXPECT_EQ(device.Generation(), 2u);
}

TEST_F(Device, WithoutCompositionWindowsAreLayeredAndTheChoiceIsLoggedOnce)
{
    faults.FailAlways(GfxCall::CompositionDevice, E_NOTIMPL);
    device.Create();
    EXPECT_EQ(device.Presenter(), PresenterKind::Layered);
    EXPECT_EQ(device.Composition(), nullptr);
    EXPECT_EQ(device.WindowExStyle(), static_cast<DWORD>(WS_EX_LAYERED));
    const auto lines = log.Matching(L"Presentation des fenetres");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"Presentation des fenetres : UpdateLayeredWindow (DirectComposition indisponible, 0x80004001)");

    ASSERT_EQ(device.Recreate(), S_OK);
    EXPECT_EQ(log.Count(L"Presentation des fenetres"), 1u) << "an unchanged choice is not logged again";
}

TEST_F(Device, LostCompositionDeviceFailsTheCreation)
{
    device.Create();
    faults.FailNext(GfxCall::CompositionDevice, static_cast<HRESULT>(0x887A0005));
    EXPECT_EQ(device.Recreate(), static_cast<HRESULT>(0x887A0005));
    EXPECT_EQ(device.Generation(), 1u);
    EXPECT_EQ(device.D2DContext(), nullptr);
}

}  // namespace
}  // namespace cadrels
