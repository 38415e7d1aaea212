// What a frame of the dock costs, on a dock of 20 items whose shell icons
// came through the real icon cache: the frame at rest, the frame with the
// icons magnified under the pointer (label shown), and one animation tick
// (the scales eased once, then the frame), beside the empty frame (clear and
// present) of a window of the same size through the same presenter; and
// the once-a-second full-screen poll.
#include "base/AppMessages.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "base/WindowProc.h"
#include "dock/Dock.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/WindowGraphics.h"

#include "BenchClock.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using bench::Now;
using bench::Percentile;

constexpr int Items = 20;
constexpr int Frames = 300;
constexpr int WarmUpFrames = 20;

struct Figures {
    double median = 0;
    double p95 = 0;
    int notDrawn = 0;
};

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

void PumpFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// `prepare` runs before each frame, outside the timing.
template <typename Frame, typename Prepare>
Figures Measure(Frame frame, Prepare prepare)
{
    std::vector<double> times;
    Figures figures;
    for (int i = -WarmUpFrames; i < Frames; ++i) {
        Pump();
        prepare();
        const double start = Now();
        const FrameResult result = frame();
        const double end = Now();
        if (result != FrameResult::Drawn) {
            ++figures.notDrawn;
        }
        if (i >= 0) {
            times.push_back(end - start);
        }
    }
    figures.median = Percentile(times, 0.5);
    figures.p95 = Percentile(times, 0.95);
    return figures;
}

template <typename Frame>
Figures Measure(Frame frame)
{
    return Measure(frame, [] {});
}

class EmptyContent final : public FrameContent {
public:
    HRESULT CreateDeviceResources(GraphicsDevice&, ID2D1DeviceContext&) override { return S_OK; }
    void ReleaseDeviceResources() override {}
    void DrawFrame(ID2D1DeviceContext&, D2D1_SIZE_F) override {}
};

struct EmptyWindow {
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_PAINT) {
            ValidateWithoutPainting(window);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

// The application's side: icon answers from the mailbox and one dock frame
// per burst; the dock's own requests (save, launcher...) are dropped.
struct Host {
    IconCache* cache = nullptr;
    Mailbox<IconResult>* results = nullptr;
    Dock* dock = nullptr;
    int answers = 0;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP_ICON_READY) {
            bool any = false;
            while (std::unique_ptr<IconResult> result = results->Take()) {
                cache->OnIconReady(*result);
                ++answers;
                any = true;
            }
            if (any && dock != nullptr) {
                dock->Render();
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

bool MakeFile(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), "dock", 4, &written, nullptr) != FALSE;
}

// Twenty items of different kinds, so that the icons differ.
std::vector<std::wstring> MakeItems()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"cadrels-bench-dock";
    CreateDirectoryW(folder.c_str(), nullptr);
    const wchar_t* extensions[] = {L".txt", L".csv", L".pdf", L".zip", L".ini", L".log", L".bat", L".html"};
    std::vector<std::wstring> items;
    for (int i = 0; i < Items; ++i) {
        std::wstring path = folder + L"\\item" + std::to_wstring(i);
        if (i % 5 == 4) {
            CreateDirectoryW(path.c_str(), nullptr);
        } else {
            path += extensions[i % 8];
            if (!MakeFile(path)) {
                return {};
            }
        }
        items.push_back(path);
    }
    return items;
}

int Main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GraphicsDevice device;
    device.Create();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::vector<std::wstring> items = MakeItems();
    if (items.size() != Items) {
        std::printf("could not prepare the items\n");
        return 1;
    }

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ForwardingWndProc<Host>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Cadrels.BenchDockHost";
    RegisterClassExW(&windowClass);
    Host host;
    Mailbox<IconResult> results;
    HWND receiver = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                    &host);
    IconCache icons(device, receiver, WM_APP_ICON_READY, results);
    icons.Start();
    host.cache = &icons;
    host.results = &results;

    SetCursorPos(5, 5);
    auto dock = std::make_unique<Dock>(device, &icons, receiver);
    if (!dock->Create(instance, items, {})) {
        std::printf("dock creation failed\n");
        return 1;
    }
    host.dock = dock.get();
    // Every item's icon asked for and answered before anything is timed.
    const double iconsAsked = Now();
    while (host.answers < Items && Now() - iconsAsked < 20000) {
        PumpFor(50);
    }
    RECT bounds{};
    GetWindowRect(dock->Window(), &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;

    // The empty frame: a window of the same size and kind, cleared and presented.
    windowClass.lpfnWndProc = ForwardingWndProc<EmptyWindow>;
    windowClass.lpszClassName = L"Cadrels.BenchEmpty";
    RegisterClassExW(&windowClass);
    EmptyWindow emptyOwner;
    HWND emptyWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | device.WindowExStyle(),
                                       windowClass.lpszClassName, L"", WS_POPUP, bounds.left, 20, width, height,
                                       nullptr, nullptr, instance, &emptyOwner);
    ShowWindow(emptyWindow, SW_SHOWNOACTIVATE);
    EmptyContent empty;
    WindowGraphics emptyGraphics(device, empty, nullptr);
    emptyGraphics.Attach(emptyWindow);
    const Figures emptyFrame = Measure([&] { return emptyGraphics.Draw(); });
    emptyGraphics.Release();
    DestroyWindow(emptyWindow);

    const Figures rest = Measure([&] { return dock->Render(); });
    const float restWidth = dock->LastLayout().slots.at(14).Width();

    // The pointer on the middle item: the real cursor, so that the dock's
    // leave tracking sees it inside, and the animation run to its end.
    const DockRect middle = dock->LastLayout().slots.at(14);
    const POINT over{bounds.left + static_cast<LONG>(middle.CentreX()),
                     bounds.top + static_cast<LONG>((middle.top + middle.bottom) / 2)};
    SetCursorPos(over.x, over.y);
    SendMessageW(dock->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x - bounds.left, over.y - bounds.top));
    PumpFor(1500);
    const float magnifiedWidth = dock->LastLayout().slots.at(14).Width();
    const bool settled = !dock->Animating();
    const Figures magnified = Measure([&] { return dock->Render(); });

    // One animation tick, the timer's own work: the scales eased once and
    // the frame drawn. Before each, untimed, the pointer moves 30 px aside
    // so that the scales have somewhere to go.
    int step = 0;
    const Figures tick = Measure(
        [&] {
            SendMessageW(dock->Window(), WM_TIMER, Dock::AnimationTimer, 0);
            return FrameResult::Drawn;
        },
        [&] {
            const int x = over.x - bounds.left + ((step++ % 2) == 0 ? 15 : -15);
            SendMessageW(dock->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, over.y - bounds.top));
        });

    // The full-screen poll that runs once a second for as long as the dock
    // exists: what it costs each time it looks at the foreground window.
    const Figures poll = Measure([&] {
        SendMessageW(dock->Window(), WM_TIMER, Dock::FullScreenTimer, 0);
        return FrameResult::Drawn;
    });

    SetCursorPos(5, 5);
    std::printf("presenter: %s\n", device.Presenter() == PresenterKind::Composition ? "DirectComposition"
                                                                                     : "UpdateLayeredWindow");
    std::printf("dock of %d items, window %dx%d, %d icons answered by the cache, %d frames each\n", Items, width,
                height, host.answers, Frames);
    std::printf("empty frame of the same window:    median %.3f ms, p95 %.3f ms\n", emptyFrame.median,
                emptyFrame.p95);
    std::printf("dock at rest:                      median %.3f ms, p95 %.3f ms, not drawn %d\n", rest.median,
                rest.p95, rest.notDrawn);
    std::printf("dock magnified under the pointer:  median %.3f ms, p95 %.3f ms, not drawn %d "
                "(icon %.0f -> %.0f px, animation %s)\n",
                magnified.median, magnified.p95, magnified.notDrawn, restWidth, magnifiedWidth,
                settled ? "stopped by itself" : "still running");
    std::printf("animation tick (ease, frame):     median %.3f ms, p95 %.3f ms\n", tick.median, tick.p95);
    std::printf("magnified frame / empty frame: %.2fx\n",
                emptyFrame.median > 0 ? magnified.median / emptyFrame.median : 0.0);
    std::printf("full-screen poll (once a second while the dock exists): median %.3f ms, p95 %.3f ms\n", poll.median,
                poll.p95);

    host.dock = nullptr;
    dock.reset();
    icons.Stop();
    DestroyWindow(receiver);
    CoUninitialize();
    return rest.notDrawn + magnified.notDrawn + emptyFrame.notDrawn == 0 ? 0 : 2;
}

}  // namespace
}  // namespace cadrels

int main()
{
    try {
        return cadrels::Main();
    } catch (const std::exception& error) {
        std::printf("failed: %s\n", error.what());
        return 1;
    }
}
