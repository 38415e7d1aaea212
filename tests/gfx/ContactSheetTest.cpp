// All 168 built-in icons drawn by the program's emblem code in a window of
// their own, through the same presenter every window uses, and saved as a
// picture for a person to look at (build/icon-contact-sheet.png).
#include "GfxTestSupport.h"
#include "IconTestSupport.h"

#include "base/AppMessages.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "base/WindowProc.h"
#include "gfx/BuiltinIconTable.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/SvgEmblems.h"
#include "gfx/WindowGraphics.h"

#include <gtest/gtest.h>
#include <objbase.h>

namespace cadrels::testing {
namespace {

constexpr int Columns = 14;
constexpr int Cell = 56;
constexpr int Inset = 4;

class ContactSheetWindow final : private FrameContent {
public:
    ContactSheetWindow(GraphicsDevice& device, HWND app, IconCache& icons)
        : device_(device), graphics_(device, *this, app), icons_(icons)
    {
    }
    ~ContactSheetWindow()
    {
        graphics_.Release();
        window_.Reset();
    }

    bool Create(const RECT& bounds)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ForwardingWndProc<ContactSheetWindow>;
        windowClass.lpszClassName = L"Cadrels.Test.ContactSheet";
        RegisterClassExW(&windowClass);
        HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | device_.WindowExStyle(), windowClass.lpszClassName, L"",
                                      WS_POPUP, bounds.left, bounds.top, bounds.right - bounds.left,
                                      bounds.bottom - bounds.top, nullptr, nullptr, nullptr, this);
        if (window == nullptr) {
            return false;
        }
        window_.Reset(window);
        graphics_.Attach(window);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        return true;
    }
    FrameResult Redraw() { return graphics_.Draw(); }
    int Drawn() const { return drawn_; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            Redraw();
            return 0;
        }
        case WM_NCDESTROY:
            graphics_.Release();
            graphics_.Attach(nullptr);
            window_.Release();
            break;
        default:
            break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

private:
    HRESULT CreateDeviceResources(GraphicsDevice&, ID2D1DeviceContext& context) override
    {
        svgs_.Clear();
        return context.CreateSolidColorBrush(D2D1::ColorF(0.93f, 0.94f, 0.95f), background_.ReleaseAndGetAddressOf());
    }
    void ReleaseDeviceResources() override
    {
        background_.Reset();
        svgs_.Clear();
    }
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override
    {
        context.FillRectangle(D2D1::RectF(0, 0, size.width, size.height), background_.Get());
        const EmblemSources sources{device_, graphics_.SvgContext(), svgs_, icons_};
        int index = 0;
        drawn_ = 0;
        for (const BuiltinIcon& row : BuiltinIconTable()) {
            const float left = static_cast<float>((index % Columns) * Cell + Inset);
            const float top = static_cast<float>((index / Columns) * Cell + Inset);
            if (DrawEmblem(context, D2D1::RectF(left, top, left + Cell - 2 * Inset, top + Cell - 2 * Inset), row.key,
                           sources)) {
                ++drawn_;
            }
            ++index;
        }
    }

    GraphicsDevice& device_;
    WindowGraphics graphics_;
    IconCache& icons_;
    SvgEmblemCache svgs_;
    UniqueWindow window_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> background_;
    int drawn_ = 0;
};

TEST(ContactSheet, AllBuiltinIconsDrawnByTheProgram)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        GraphicsDevice device;
        device.Create();
        FakeAppWindow app;
        Mailbox<IconResult> results;
        IconCache icons(device, app.Handle(), WM_APP_ICON_READY, results);
        const int rows = static_cast<int>((BuiltinIconCount + Columns - 1) / Columns);
        const RECT bounds{20, 20, 20 + Columns * Cell, 20 + rows * Cell};
        ContactSheetWindow sheet(device, app.Handle(), icons);
        ASSERT_TRUE(sheet.Create(bounds));
        ASSERT_EQ(sheet.Redraw(), FrameResult::Drawn);
        EXPECT_EQ(sheet.Drawn(), 168) << "every built-in key resolves to a drawable emblem";
        PumpMessages(300);
        sheet.Redraw();
        PumpMessages(200);

        const ScreenShot shot = ScreenShot::Take(bounds);
        EXPECT_TRUE(shot.SavePng(OutputFolder() + L"\\icon-contact-sheet.png"));
        // The trash tile (fifth cell) is grey; the first folder of the third
        // row is blue: spot checks that the sheet is not blank.
        const Rgb trash = shot.At(4 * Cell + Cell / 2, Cell / 2 - 14);
        EXPECT_TRUE(Near(trash, {160, 166, 174}, 40)) << ToText(trash);
        const Rgb background = shot.At(1, 1);
        EXPECT_TRUE(Near(background, {237, 240, 242}, 8)) << ToText(background);
    }
    CoUninitialize();
}

}  // namespace
}  // namespace cadrels::testing
