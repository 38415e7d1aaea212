// A created graphics device with a fault injector, a stand-in application
// window and a log capture: what every drawing-window test starts from.
#pragma once

#include "GfxTestSupport.h"
#include "LogCapture.h"
#include "gfx/FaultInjector.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/PanelWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace cadrels::testing {

class PanelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        device.SetFaultInjector(&faults);
        device.Create();
    }

    static PanelLook SampleLook()
    {
        PanelLook look;
        look.title = L"Cadrels";
        look.body = L"Deja vu, \u00e9t\u00e9, \u041f\u0440\u0438\u0432\u0435\u0442";
        return look;
    }

    std::unique_ptr<PanelWindow> MakePanel(const RECT& bounds = {40, 40, 280, 200}, PanelLook look = SampleLook())
    {
        auto panel = std::make_unique<PanelWindow>(device, app.Handle(), std::move(look));
        EXPECT_TRUE(panel->Create(GetModuleHandleW(nullptr), bounds));
        return panel;
    }

    LogCapture log;
    FaultInjector faults;
    GraphicsDevice device;
    FakeAppWindow app;
};

}  // namespace cadrels::testing
