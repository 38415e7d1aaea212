#include "gfx/DeviceRecovery.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels {
namespace {

constexpr HRESULT Unsupported = static_cast<HRESULT>(0x887A0004);

class Recovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        device.SetFaultInjector(&faults);
        device.Create();
    }

    void MakeCreationFail()
    {
        faults.FailAlways(GfxCall::HardwareDevice, Unsupported);
        faults.FailAlways(GfxCall::WarpDevice, Unsupported);
    }

    testing::LogCapture log;
    FaultInjector faults;
    GraphicsDevice device;
    std::vector<UINT> timers;
    int rebuilds = 0;
    DeviceRecovery recovery{device, {[this](UINT delay) { timers.push_back(delay); }, [this] { ++rebuilds; }}};
};

TEST_F(Recovery, FailingRecreationRetriesWithDoublingDelaysCappedAtFiveSeconds)
{
    MakeCreationFail();
    recovery.OnDeviceLost(1);
    for (int i = 0; i < 7; ++i) {
        recovery.OnDeviceLost(1);  // ignored: a recreation is pending
        recovery.OnRetryTimer();
    }
    const std::vector<UINT> expected = {250, 500, 1000, 2000, 4000, 5000, 5000, 5000};
    EXPECT_EQ(timers, expected);
    std::vector<std::wstring> expectedLines;
    for (const UINT delay : expected) {
        expectedLines.push_back(L"Echec de recreation du device (0x887A0004) ; nouvel essai dans " +
                                std::to_wstring(delay) + L" ms");
    }
    EXPECT_EQ(log.Matching(L"Echec de recreation"), expectedLines);
    EXPECT_EQ(faults.Calls(GfxCall::HardwareDevice), 1 + 8) << "one creation per retry, none per ignored report";
    EXPECT_TRUE(recovery.RecreationPending());
    EXPECT_EQ(rebuilds, 0);
    EXPECT_EQ(device.Generation(), 1u);
}

TEST_F(Recovery, SuccessRebuildsOnceAndStartsTheDelaysAgain)
{
    MakeCreationFail();
    recovery.OnDeviceLost(1);
    recovery.OnRetryTimer();
    recovery.OnRetryTimer();
    ASSERT_EQ(recovery.RetryDelayMs(), 2000u);

    faults.ClearAll();
    recovery.OnRetryTimer();
    EXPECT_FALSE(recovery.RecreationPending());
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(recovery.RetryDelayMs(), 250u);
    EXPECT_EQ(log.Count(L"Device recree avec succes."), 1u);
    EXPECT_EQ(device.Generation(), 2u);

    MakeCreationFail();
    timers.clear();
    recovery.OnDeviceLost(2);
    EXPECT_EQ(timers, std::vector<UINT>{250}) << "a new loss starts from the first delay";
}

TEST_F(Recovery, ReportsAboutAReplacedDeviceAreIgnored)
{
    recovery.OnDeviceLost(1);
    ASSERT_EQ(device.Generation(), 2u);
    recovery.OnDeviceLost(1);
    recovery.OnDeviceLost(1);
    EXPECT_EQ(device.Generation(), 2u);
    EXPECT_EQ(rebuilds, 1);

    recovery.OnDeviceLost(2);
    EXPECT_EQ(device.Generation(), 3u) << "a report about the current device is acted on";
    recovery.OnDeviceLost(0);
    EXPECT_EQ(device.Generation(), 4u) << "a report without a generation is acted on";
    EXPECT_EQ(log.Count(L"Recreation du device"), 3u);
}

}  // namespace
}  // namespace cadrels
