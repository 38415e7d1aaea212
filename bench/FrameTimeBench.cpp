// Frame time of a full redraw of a 400 x 600 window holding 200 rounded
// rectangles and 200 short texts, through the presenter active on this
// machine: once at a fixed size, once with a size change every 10 frames
// (each change makes a new surface or layered buffer). A shorter breakdown
// follows: an empty frame, the rectangles alone, the texts alone.
#include "base/WindowProc.h"
#include "gfx/D2DColor.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/WindowGraphics.h"

#include "BenchClock.h"

#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

using bench::Percentile;

constexpr int Items = 200;
constexpr int Columns = 8;
constexpr int Frames = 500;
constexpr int BreakdownFrames = 100;
constexpr int WarmUpFrames = 20;

struct Parts {
    bool rectangles = true;
    bool texts = true;
};

class BenchContent final : public FrameContent {
public:
    Parts parts;

    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override
    {
        const Color colours[] = {RGB(40, 110, 220), RGB(214, 64, 48), RGB(60, 170, 90), RGB(230, 180, 40)};
        for (int i = 0; i < 4; ++i) {
            const HRESULT hr = context.CreateSolidColorBrush(ToColorF(colours[i], 0.55f + 0.1f * i),
                                                             fills_[i].ReleaseAndGetAddressOf());
            if (FAILED(hr)) {
                return hr;
            }
        }
        const HRESULT hr = context.CreateSolidColorBrush(ToColorF(RGB(255, 255, 255), 0.95f),
                                                         text_.ReleaseAndGetAddressOf());
        if (FAILED(hr)) {
            return hr;
        }
        return device.CreateTextFormat(11.0f, DWRITE_FONT_WEIGHT_NORMAL, format_.ReleaseAndGetAddressOf());
    }

    void ReleaseDeviceResources() override
    {
        for (auto& fill : fills_) {
            fill.Reset();
        }
        text_.Reset();
        format_.Reset();
    }

    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override
    {
        const float cellWidth = size.width / Columns;
        const float cellHeight = size.height / (Items / Columns);
        for (int i = 0; i < Items; ++i) {
            const float x = (i % Columns) * cellWidth;
            const float y = (i / Columns) * cellHeight;
            const D2D1_RECT_F cell = D2D1::RectF(x + 2, y + 2, x + cellWidth - 2, y + cellHeight - 2);
            if (parts.rectangles) {
                context.FillRoundedRectangle(D2D1::RoundedRect(cell, 6, 6), fills_[i % 4].Get());
            }
            if (!parts.texts) {
                continue;
            }
            const std::wstring label = L"Item " + std::to_wstring(i + 1);
            context.DrawTextW(label.c_str(), static_cast<UINT32>(label.size()), format_.Get(),
                              D2D1::RectF(cell.left + 4, cell.top + 2, cell.right - 2, cell.bottom), text_.Get(),
                              D2D1_DRAW_TEXT_OPTIONS_CLIP);
        }
    }

private:
    ComPtr<ID2D1SolidColorBrush> fills_[4];
    ComPtr<ID2D1SolidColorBrush> text_;
    ComPtr<IDWriteTextFormat> format_;
};

struct BenchWindow {
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_PAINT) {
            ValidateRect(window, nullptr);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

struct Figures {
    double median = 0;
    double p95 = 0;
    int failed = 0;
};

Figures Run(WindowGraphics& graphics, HWND window, int frames, bool resizeEvery10)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    Figures figures;
    for (int frame = -WarmUpFrames; frame < frames; ++frame) {
        if (resizeEvery10 && frame >= 0 && frame % 10 == 0) {
            const int grow = (frame / 10) % 2 == 0 ? 10 : 0;
            SetWindowPos(window, nullptr, 0, 0, 400 + grow, 600 + grow, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Pump();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const FrameResult result = graphics.Draw();
        QueryPerformanceCounter(&end);
        if (result != FrameResult::Drawn) {
            ++figures.failed;
        }
        if (frame >= 0) {
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
        }
    }
    SetWindowPos(window, nullptr, 0, 0, 400, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    figures.median = Percentile(times, 0.5);
    figures.p95 = Percentile(times, 0.95);
    return figures;
}

int Main()
{
    GraphicsDevice device;
    device.Create();

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ForwardingWndProc<BenchWindow>;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Cadrels.Bench";
    RegisterClassExW(&windowClass);
    BenchWindow owner;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | device.WindowExStyle(), windowClass.lpszClassName, L"",
                                  WS_POPUP, 100, 100, 400, 600, nullptr, nullptr, windowClass.hInstance, &owner);
    if (window == nullptr) {
        std::printf("window creation failed\n");
        return 1;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);

    BenchContent content;
    WindowGraphics graphics(device, content, nullptr);
    graphics.Attach(window);

    const Figures steady = Run(graphics, window, Frames, false);
    const Figures resizing = Run(graphics, window, Frames, true);
    content.parts = {false, false};
    const Figures empty = Run(graphics, window, BreakdownFrames, false);
    content.parts = {true, false};
    const Figures rectangles = Run(graphics, window, BreakdownFrames, false);
    content.parts = {false, true};
    const Figures texts = Run(graphics, window, BreakdownFrames, false);
    graphics.Release();
    DestroyWindow(window);

    std::printf("presenter: %s\n", device.Presenter() == PresenterKind::Composition ? "DirectComposition"
                                                                                     : "UpdateLayeredWindow");
    std::printf("font family: %ls\n", device.UiFontFamily().c_str());
    std::printf("400x600, %d rounded rectangles + %d texts, %d frames each\n", Items, Items, Frames);
    std::printf("fixed size:              median %.3f ms, p95 %.3f ms, frames not drawn %d\n", steady.median,
                steady.p95, steady.failed);
    std::printf("size change every 10:    median %.3f ms, p95 %.3f ms, frames not drawn %d\n", resizing.median,
                resizing.p95, resizing.failed);
    std::printf("breakdown, %d frames each, fixed size:\n", BreakdownFrames);
    std::printf("  empty frame (clear, present):   median %.3f ms, p95 %.3f ms\n", empty.median, empty.p95);
    std::printf("  rounded rectangles only:        median %.3f ms, p95 %.3f ms\n", rectangles.median, rectangles.p95);
    std::printf("  texts only:                     median %.3f ms, p95 %.3f ms\n", texts.median, texts.p95);
    return steady.failed + resizing.failed + empty.failed + rectangles.failed + texts.failed == 0 ? 0 : 2;
}

}  // namespace
}  // namespace cadrels

int main()
{
    try {
        return cadrels::Main();
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        return 1;
    }
}
