// What a cadrel costs, measured as ratios in one run on the same files:
// (a) a live cadrel created on a folder of 10,000 files and 20 subfolders
//     holding 30,000 more, listed, sorted, laid out and drawn once, against
//     a bare FindFirstFileExW enumeration of the same folder (and of the same
//     tree, since the listing also counts the subfolders' sizes);
// (b) the frame a hover change redraws, on a 400 x 600 cadrel showing 200
//     items in the grid view, against the empty frame of the same window,
//     with the share spent on the item labels;
// (c) a cadrel of 500 pictures and 500 other files with the real icon
//     cache: the time until every visible icon is drawn, the main thread's
//     longest blocked interval meanwhile, and the private bytes before and
//     after scrolling through all of them.
#include "base/AppMessages.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "base/WindowProc.h"
#include "cadrel/Cadrel.h"
#include "cadrel/FolderLister.h"
#include "cadrel/FolderListing.h"
#include "gfx/GraphicsDevice.h"

#include "TestFiles.h"

#include "BenchClock.h"

#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using bench::Now;
using bench::Percentile;
using testing::Bitmap24;
using testing::WriteBytes;

bool MakeFile(const std::wstring& path)
{
    return WriteBytes(path, "bench");
}

constexpr int TopFiles = 10000;
constexpr int Subfolders = 20;
constexpr int FilesPerSubfolder = 1500;
constexpr int HoverItems = 200;
constexpr int Frames = 300;
constexpr int Rounds = 5;

std::wstring MakeFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Fills the folder unless an earlier run left it complete.
bool FillFolder(const std::wstring& folder, int files, const wchar_t* prefix)
{
    if (GetFileAttributesW((folder + L"\\" + prefix + std::to_wstring(files - 1) + L".txt").c_str()) !=
        INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    for (int i = 0; i < files; ++i) {
        if (!MakeFile(folder + L"\\" + prefix + std::to_wstring(i) + L".txt")) {
            return false;
        }
    }
    return true;
}

size_t Enumerate(const std::wstring& folder, bool recursive)
{
    WIN32_FIND_DATAW data{};
    UniqueFind find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return 0;
    }
    size_t count = 0;
    do {
        if (data.cFileName[0] == L'.' && (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && !data.cFileName[2]))) {
            continue;
        }
        ++count;
        if (recursive && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            count += Enumerate(folder + L"\\" + data.cFileName, true);
        }
    } while (FindNextFileW(find.Get(), &data));
    return count;
}

struct Host {
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

CadrelRecord RecordFor(const std::wstring& folder)
{
    CadrelRecord record;
    record.id = "bench";
    record.pinned = true;
    record.tabs.push_back(CadrelTab{L"Bench", folder});
    return record;
}

// What the measured cadrels ask of an application: nothing is locked,
// hosted or dropped, and icons come from the given cache or none.
class BenchCadrelHost final : public CadrelHost {
public:
    explicit BenchCadrelHost(IconCache* icons) : icons_(icons) {}

    bool PolicyLocksCadrels() const override { return false; }
    bool PolicyLocksZoom() const override { return false; }
    int DropIntoFolder(const Cadrel&, const std::vector<std::wstring>&, bool, const std::wstring&) override
    {
        return 0;
    }
    OperationState::Scope BeginOperation() override { return operation_.Begin(); }
    bool OperationRunning() const override { return operation_.Running(); }
    void TabTornOff(std::unique_ptr<TornTab>) override {}
    std::vector<RECT> NeighbourRects(const Cadrel&) const override { return {}; }
    HostedAppsStore* HostedApps() override { return nullptr; }
    std::vector<HWND> HostedEverywhere() const override { return {}; }
    CadrelMenuFacts FactsForMenus() const override { return {}; }
    bool HostedElsewhere(HWND) const override { return false; }
    void HostInActiveTab(Cadrel&, HWND) override {}
    void ReleaseFromActiveTab(Cadrel&) override {}
    void ArrangeCadrelNow(HWND) override {}
    void RecordMoves(UndoEntry) override {}
    IconCache* IconsForCadrels() override { return icons_; }

private:
    IconCache* icons_;
    OperationState operation_;
};

// Creates the cadrel and waits for its first frame: the listing, the sort,
// the layout and the drawing all happen before FinishBuilding returns.
std::unique_ptr<Cadrel> OpenCadrel(GraphicsDevice& device, HWND owner, CadrelHost& host, const std::wstring& folder)
{
    auto cadrel = std::make_unique<Cadrel>(device, owner, host);
    const CadrelRecord record = RecordFor(folder);
    std::vector<LiveTab> tabs(1);
    static_cast<CadrelTab&>(tabs[0]) = record.tabs[0];
    if (!cadrel->Create(GetModuleHandleW(nullptr), record, std::move(tabs), 0, 50, 50, 400, 600)) {
        return nullptr;
    }
    cadrel->FinishBuilding();
    // The listing runs on a worker: the cadrel is open once its names are on
    // screen. The subfolder sizes follow later and are measured apart.
    const double giveUp = Now() + 60000;
    while ((!cadrel->Content().Listed() || cadrel->Content().ListingWaiting()) && Now() < giveUp) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
    return cadrel;
}

double MedianFrame(Cadrel& cadrel)
{
    std::vector<double> times;
    for (int i = -20; i < Frames; ++i) {
        Pump();
        const double start = Now();
        cadrel.Draw();
        const double end = Now();
        if (i >= 0) {
            times.push_back(end - start);
        }
    }
    return Percentile(times, 0.5);
}

// The labels alone: the visible items' names laid out once and drawn with
// the grid label format, as the cadrel does each frame.
double MedianLabelTime(GraphicsDevice& device, const Cadrel& cadrel)
{
    Microsoft::WRL::ComPtr<IDWriteTextFormat> format;
    device.CreateTextFormat(11.0f, DWRITE_FONT_WEIGHT_NORMAL, format.GetAddressOf());
    format->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    format->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);
    std::vector<Microsoft::WRL::ComPtr<IDWriteTextLayout>> layouts;
    std::vector<D2D1_POINT_2F> origins;
    const LayoutRect content = cadrel.HitMap().ContentRect();
    for (int i = 0; i < static_cast<int>(cadrel.Items().size()); ++i) {
        const LayoutRect cell = cadrel.HitMap().ItemRect(i);
        if (cell.top > content.bottom) {
            break;
        }
        Microsoft::WRL::ComPtr<IDWriteTextLayout> layout;
        const std::wstring& name = cadrel.Items()[static_cast<size_t>(i)].name;
        device.DWrite()->CreateTextLayout(name.c_str(), static_cast<UINT32>(name.size()), format.Get(),
                                          cell.right - cell.left - 4, 36, layout.GetAddressOf());
        layouts.push_back(layout);
        origins.push_back(D2D1::Point2F(cell.left + 2, cell.top + 48));
    }
    Microsoft::WRL::ComPtr<ID2D1Bitmap1> target;
    const D2D1_BITMAP_PROPERTIES1 properties = D2D1::BitmapProperties1(
        D2D1_BITMAP_OPTIONS_TARGET, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
    ID2D1DeviceContext* context = device.D2DContext();
    if (context == nullptr ||
        FAILED(context->CreateBitmap(D2D1::SizeU(400, 600), nullptr, 0, &properties, target.GetAddressOf()))) {
        return 0;
    }
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> brush;
    context->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 0.92f), brush.GetAddressOf());
    Microsoft::WRL::ComPtr<ID2D1Image> previous;
    context->GetTarget(previous.GetAddressOf());
    context->SetTarget(target.Get());
    std::vector<double> times;
    for (int i = -20; i < Frames; ++i) {
        const double start = Now();
        context->BeginDraw();
        for (size_t k = 0; k < layouts.size(); ++k) {
            context->DrawTextLayout(origins[k], layouts[k].Get(), brush.Get(), D2D1_DRAW_TEXT_OPTIONS_CLIP);
        }
        context->EndDraw();
        const double end = Now();
        if (i >= 0) {
            times.push_back(end - start);
        }
    }
    context->SetTarget(previous.Get());
    return Percentile(times, 0.5);
}

// The application's side of the icon cache: answers taken from the mailbox
// and one redraw per burst, as the program does.
struct IconHost {
    IconCache* cache = nullptr;
    Mailbox<IconResult>* results = nullptr;
    Cadrel* cadrel = nullptr;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP_ICON_READY) {
            bool any = false;
            while (std::unique_ptr<IconResult> result = results->Take()) {
                cache->OnIconReady(*result);
                any = true;
            }
            if (any && cadrel != nullptr) {
                cadrel->Draw();
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

std::size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine reports no private usage; the commit charge is the same figure
    // where both exist.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

struct IconFigures {
    double untilAllDrawn = -1;  // ms, -1 when they never all arrived
    double longestDispatch = 0;
    double longestGet = 0;
};

// Pumps the messages until every visible item has its bitmap, timing each
// message and each cache lookup.
IconFigures WaitForVisibleIcons(Cadrel& cadrel, IconCache& icons, double start, double timeoutMs)
{
    IconFigures figures;
    const int size = static_cast<int>(ComputeContentMetrics(CadrelView{400, 600}).icon);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            const double before = Now();
            DispatchMessageW(&message);
            figures.longestDispatch = std::max(figures.longestDispatch, Now() - before);
        }
        const LayoutRect content = cadrel.HitMap().ContentRect();
        bool all = true;
        for (int i = 0; i < static_cast<int>(cadrel.Items().size()); ++i) {
            const LayoutRect cell = cadrel.HitMap().ItemRect(i);
            if (cell.bottom < content.top) {
                continue;
            }
            if (cell.top > content.bottom) {
                break;
            }
            const double before = Now();
            const bool ready = icons.Get(cadrel.Items()[static_cast<size_t>(i)].path, size) != nullptr;
            figures.longestGet = std::max(figures.longestGet, Now() - before);
            all = all && ready;
        }
        if (all) {
            cadrel.Draw();
            figures.untilAllDrawn = Now() - start;
            return figures;
        }
        if (Now() - start > timeoutMs) {
            return figures;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

int Main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring big = MakeFolder(L"cadrels-bench-big");
    const std::wstring hover = MakeFolder(L"cadrels-bench-hover");
    const std::wstring empty = MakeFolder(L"cadrels-bench-empty");
    std::printf("preparing %d files and %d subfolders of %d files...\n", TopFiles, Subfolders, FilesPerSubfolder);
    bool ready = FillFolder(big, TopFiles, L"file") && FillFolder(hover, HoverItems, L"item");
    for (int i = 0; ready && i < Subfolders; ++i) {
        const std::wstring sub = big + L"\\sub" + std::to_wstring(i);
        CreateDirectoryW(sub.c_str(), nullptr);
        ready = FillFolder(sub, FilesPerSubfolder, L"inner");
    }
    if (!ready) {
        std::printf("could not prepare the folders\n");
        return 1;
    }

    GraphicsDevice device;
    device.Create();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Cadrels.BenchOwner";
    RegisterClassExW(&windowClass);
    HWND owner = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);

    BenchCadrelHost plainHost(nullptr);

    // (a) Alternate the two sides so the file system's caches serve both alike.
    std::vector<double> bare, bareTree, listed, opened, sized;
    size_t items = 0;
    for (int round = 0; round < Rounds; ++round) {
        double start = Now();
        const size_t entries = Enumerate(big, false);
        bare.push_back(Now() - start);
        start = Now();
        const size_t tree = Enumerate(big, true);
        bareTree.push_back(Now() - start);
        start = Now();
        const FolderListing listing = ListEntries(big, nullptr);
        listed.push_back(Now() - start);
        start = Now();
        const FolderListing sizes = ListFolderSizes(listing.items, FolderSizeBudget);
        sized.push_back(Now() - start);
        start = Now();
        std::unique_ptr<Cadrel> cadrel = OpenCadrel(device, owner, plainHost, big);
        opened.push_back(Now() - start);
        if (!cadrel) {
            std::printf("cadrel creation failed\n");
            return 1;
        }
        items = cadrel->Items().size();
        cadrel->Destroy();
        Pump();
        if (round == 0) {
            std::printf("entries: %zu in the folder, %zu in the tree; the cadrel shows %zu items\n", entries, tree,
                        items);
        }
    }
    const double bareMs = Percentile(bare, 0.5);
    const double treeMs = Percentile(bareTree, 0.5);
    const double openMs = Percentile(opened, 0.5);
    std::printf("(a) bare enumeration of the folder:    median %.1f ms\n", bareMs);
    std::printf("    bare enumeration of the tree:      median %.1f ms\n", treeMs);
    std::printf("    listing alone (names, pins, sort):   median %.1f ms\n", Percentile(listed, 0.5));
    std::printf("    subfolder sizes walked afterwards:   median %.1f ms (on the worker, after the names)\n",
                Percentile(sized, 0.5));
    std::printf("    cadrel listed, sorted, laid out and drawn once (names on screen): median %.1f ms\n", openMs);
    std::printf("    ratio to the folder: %.2fx, to the tree: %.2fx (target: at most 3x)\n", openMs / bareMs,
                openMs / treeMs);

    // (b) A hover change redraws the whole cadrel.
    std::unique_ptr<Cadrel> full = OpenCadrel(device, owner, plainHost, hover);
    std::unique_ptr<Cadrel> bare200 = OpenCadrel(device, owner, plainHost, empty);
    if (!full || !bare200) {
        std::printf("cadrel creation failed\n");
        return 1;
    }
    const double frame = MedianFrame(*full);
    const double emptyFrame = MedianFrame(*bare200);
    const double labels = MedianLabelTime(device, *full);
    std::printf("(b) 400x600 grid view, %zu items: hover-change frame median %.3f ms\n", full->Items().size(), frame);
    std::printf("    empty frame of the same window: median %.3f ms; ratio %.2fx\n", emptyFrame, frame / emptyFrame);
    std::printf("    the visible labels drawn alone: median %.3f ms (%.0f%% of the frame)\n", labels,
                frame > 0 ? 100.0 * labels / frame : 0.0);
    full->Destroy();
    bare200->Destroy();

    // (c) Icons and thumbnails from the real cache.
    const std::wstring mixed = MakeFolder(L"cadrels-bench-icons");
    for (int i = 0; i < 500; ++i) {
        const std::wstring index = std::to_wstring(1000 + i);
        if (GetFileAttributesW((mixed + L"\\picture" + index + L".bmp").c_str()) == INVALID_FILE_ATTRIBUTES &&
            (!WriteBytes(mixed + L"\\picture" + index + L".bmp", Bitmap24(64, [i](int pixel) {
                 return RGB(i * 5, i * 11 + pixel / 64, i * 37);
             })) ||
             !MakeFile(mixed + L"\\document" + index + L".txt"))) {
            std::printf("could not prepare the pictures\n");
            return 1;
        }
    }
    IconHost host;
    Mailbox<IconResult> results;
    windowClass.lpfnWndProc = ForwardingWndProc<IconHost>;
    windowClass.lpszClassName = L"Cadrels.BenchIconHost";
    RegisterClassExW(&windowClass);
    HWND receiver = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, &host);
    IconCache icons(device, receiver, WM_APP_ICON_READY, results);
    icons.Start();
    host.cache = &icons;
    host.results = &results;
    const std::size_t before = PrivateBytes();
    double start = Now();
    BenchCadrelHost iconsHost(&icons);
    std::unique_ptr<Cadrel> pictures = OpenCadrel(device, owner, iconsHost, mixed);
    host.cadrel = pictures.get();
    const IconFigures first = WaitForVisibleIcons(*pictures, icons, start, 60000);
    std::printf("(c) %zu items (500 pictures, 500 documents), 400x600 grid view\n", pictures->Items().size());
    std::printf("    every visible icon drawn after %.0f ms; longest message %.1f ms, longest cache lookup %.3f ms\n",
                first.untilAllDrawn, first.longestDispatch, first.longestGet);
    const std::size_t withCadrel = PrivateBytes();
    int steps = 0;
    double longestDispatch = first.longestDispatch;
    double longestGet = first.longestGet;
    while (pictures->ScrollOffset() < pictures->HitMap().MaxScroll() && steps < 400) {
        SendMessageW(pictures->Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA * 3)), 0);
        const IconFigures step = WaitForVisibleIcons(*pictures, icons, Now(), 10000);
        longestDispatch = std::max(longestDispatch, step.longestDispatch);
        longestGet = std::max(longestGet, step.longestGet);
        ++steps;
    }
    const std::size_t after = PrivateBytes();
    std::printf("    scrolled through in %d steps; longest message %.1f ms, longest cache lookup %.3f ms\n", steps,
                longestDispatch, longestGet);
    std::printf("    private bytes: %.1f MiB before, %.1f MiB with the cadrel open, %.1f MiB after scrolling "
                "(cache holds %zu bitmaps)\n",
                before / 1048576.0, withCadrel / 1048576.0, after / 1048576.0, icons.Store().EntryCount());
    pictures->Destroy();
    icons.Stop();
    DestroyWindow(receiver);
    DestroyWindow(owner);
    CoUninitialize();
    return 0;
}

}  // namespace
}  // namespace cadrels

int main()
{
    try {
        return cadrels::Main();
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
}
