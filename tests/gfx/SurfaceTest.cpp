#include "PanelFixture.h"

namespace cadrels {
namespace {

using Surface = testing::PanelFixture;

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST_F(Surface, AWindowWiderThanTheLimitGetsAClampedSurface)
{
    auto panel = MakePanel({0, 0, 240, 60});
    // WM_SIZE draws the frame for the new size.
    SetWindowPos(panel->Window(), nullptr, 0, 0, 20000, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(panel->Redraw(), FrameResult::Drawn);
    const auto extent = panel->Graphics().Extent();
    ASSERT_TRUE(extent.has_value());
    EXPECT_EQ(extent->width, 16384u);
    EXPECT_EQ(extent->height, 60u);
    // A composition surface smaller than its window leaves the rest
    // transparent; a layered window takes the size of its buffer.
    const LONG expectedWidth = device.Presenter() == PresenterKind::Composition ? 20000 : 16384;
    EXPECT_EQ(ClientSize(panel->Window()).cx, expectedWidth);
}

TEST_F(Surface, IsMadeAgainOnlyWhenTheClientSizeChanges)
{
    auto panel = MakePanel({40, 40, 280, 200});
    ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    const int made = faults.Calls(GfxCall::BuildWindow);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    }
    EXPECT_EQ(faults.Calls(GfxCall::BuildWindow), made) << "no surface per frame";

    SetWindowPos(panel->Window(), nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(faults.Calls(GfxCall::BuildWindow), made) << "moving keeps the surface";

    SetWindowPos(panel->Window(), nullptr, 0, 0, 300, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(faults.Calls(GfxCall::BuildWindow), made + 1);
    ASSERT_TRUE(panel->Graphics().Extent().has_value());
    EXPECT_EQ(*panel->Graphics().Extent(), (SurfaceExtent{300, 180}));
}

TEST_F(Surface, AnEmptyClientAreaSkipsTheFrame)
{
    auto panel = MakePanel({40, 40, 280, 200});
    SetWindowPos(panel->Window(), nullptr, 0, 0, 240, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(ClientSize(panel->Window()).cy, 0);
    EXPECT_EQ(panel->Redraw(), FrameResult::Skipped);
    SetWindowPos(panel->Window(), nullptr, 0, 0, 240, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(panel->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(*panel->Graphics().Extent(), (SurfaceExtent{240, 90}));
}

TEST_F(Surface, TheWindowUsesThePresenterTheDeviceChose)
{
    auto panel = MakePanel();
    ASSERT_EQ(panel->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(panel->Graphics().ActivePresenter(), device.Presenter());
    const LONG_PTR style = GetWindowLongPtrW(panel->Window(), GWL_EXSTYLE);
    if (device.Presenter() == PresenterKind::Layered) {
        EXPECT_NE(style & WS_EX_LAYERED, 0);
    } else {
        EXPECT_NE(style & WS_EX_NOREDIRECTIONBITMAP, 0);
    }
}

TEST_F(Surface, ARefusedCompositionTargetFallsBackToALayeredWindow)
{
    if (device.Presenter() != PresenterKind::Composition) {
        GTEST_SKIP() << "no composition device here: every window is layered already";
    }
    faults.FailNext(GfxCall::CompositionTarget, E_ACCESSDENIED);
    auto panel = MakePanel();
    EXPECT_EQ(panel->Redraw(), FrameResult::Drawn);
    EXPECT_EQ(panel->Graphics().ActivePresenter(), PresenterKind::Layered);
    EXPECT_EQ(log.Count(L"Cible de composition refusee (0x80070005)"), 1u);
}

}  // namespace
}  // namespace cadrels
