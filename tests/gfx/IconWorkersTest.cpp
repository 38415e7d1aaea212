#include "GfxTestSupport.h"
#include "IconTestSupport.h"

#include "base/AppMessages.h"
#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/IconExtraction.h"
#include "gfx/IconKey.h"
#include "gfx/IconWorkers.h"
#include "gfx/SvgEmblems.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

namespace cadrels::testing {
namespace {

class ComScope {
public:
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

TEST(IconWorkers, StopWithRequestsInFlightJoinsAndNothingArrivesAfterwards)
{
    CountingWindow receiver(WM_APP_ICON_READY);
    Mailbox<IconResult> outbox;
    std::atomic<int> extracted{0};
    IconWorkers workers(receiver.Handle(), WM_APP_ICON_READY, outbox,
                        [&](IWICImagingFactory*, const IconRequest&, IconResult& result) {
                            Sleep(40);
                            result.width = result.height = 1;
                            result.pixels.assign(4, 255);
                            ++extracted;
                        });
    workers.Start();
    for (int i = 0; i < 200; ++i) {
        workers.Enqueue(L"k" + std::to_wstring(i), L"C:\\f" + std::to_wstring(i), 44);
    }
    while (extracted.load() < 4) {
        Sleep(5);
    }
    workers.Stop();
    EXPECT_EQ(workers.Queued(), 0u);
    EXPECT_LT(extracted.load(), 40) << "queued requests are dropped, not worked off";

    size_t delivered = outbox.TakeAll().size();
    PumpMessages(300);
    EXPECT_TRUE(outbox.Empty()) << "no result reaches the mailbox once Stop returned";
    EXPECT_LE(static_cast<size_t>(receiver.Count()), delivered);
    EXPECT_LE(delivered, static_cast<size_t>(extracted.load()));

    workers.Enqueue(L"late", L"C:\\late", 44);
    EXPECT_EQ(workers.Queued(), 0u) << "a stopped pool takes no requests";
    workers.Stop();
}

// A thumbnail handler that never returns must not keep the program from
// exiting: Stop waits a moment, then lets the stuck thread finish alone, and
// what it finishes later never reaches the mailbox.
TEST(IconWorkers, StoppingLetsGoOfAnExtractionThatHangs)
{
    CountingWindow receiver(WM_APP_ICON_READY);
    Mailbox<IconResult> outbox;
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release.Valid());
    const HANDLE releaseEvent = release.Get();
    auto inside = std::make_shared<std::atomic<int>>(0);
    auto workers = std::make_unique<IconWorkers>(
        receiver.Handle(), WM_APP_ICON_READY, outbox,
        [releaseEvent, inside](IWICImagingFactory*, const IconRequest&, IconResult& result) {
            ++*inside;
            WaitForSingleObject(releaseEvent, 30000);
            result.width = result.height = 1;
            result.pixels.assign(4, 255);
            --*inside;
        },
        1);
    workers->Start();
    workers->Enqueue(L"stuck", L"C:\\stuck.jpg", 256);
    const ULONGLONG giveUp = GetTickCount64() + 5000;
    while (inside->load() == 0 && GetTickCount64() < giveUp) {
        Sleep(5);
    }
    ASSERT_EQ(inside->load(), 1);

    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        workers->Stop(200);
        workers.reset();
        stopped = true;
    });
    const ULONGLONG stopGiveUp = GetTickCount64() + 10000;
    while (!stopped && GetTickCount64() < stopGiveUp) {
        Sleep(10);
    }
    EXPECT_TRUE(stopped) << "Stop waited for the extraction that hangs";
    EXPECT_EQ(inside->load(), 1) << "the extraction was still hanging when Stop returned";

    SetEvent(releaseEvent);
    stopper.join();
    const ULONGLONG endGiveUp = GetTickCount64() + 5000;
    while (inside->load() != 0 && GetTickCount64() < endGiveUp) {
        Sleep(5);
    }
    PumpMessages(200);
    EXPECT_TRUE(outbox.Empty()) << "a result finished after the stop was posted";
    EXPECT_EQ(receiver.Count(), 0);
}

TEST(IconWorkers, PicturesGetRealThumbnailsAndOtherFilesAnIcon)
{
    ComScope com;
    const auto wic = MakeWicFactory();
    ASSERT_TRUE(wic);
    const std::wstring folder = TempFolder();
    Image picture;
    picture.width = 300;
    picture.height = 200;
    picture.pixels.resize(300 * 200 * 4);
    for (size_t i = 0; i < picture.pixels.size(); i += 4) {
        picture.pixels[i] = 200;      // blue
        picture.pixels[i + 1] = 40;
        picture.pixels[i + 2] = 10;
        picture.pixels[i + 3] = 255;
    }
    const std::wstring picturePath = folder + L"\\holiday@2x.png";
    ASSERT_TRUE(SavePng(*wic.Get(), picturePath, picture));
    const std::wstring textPath = folder + L"\\notes.txt";
    std::ofstream(textPath.c_str()) << "hello";

    CountingWindow receiver(WM_APP_ICON_READY);
    Mailbox<IconResult> outbox;
    IconWorkers workers(receiver.Handle(), WM_APP_ICON_READY, outbox);
    workers.Start();
    workers.Enqueue(L"picture", picturePath, 72);
    workers.Enqueue(L"text", textPath, 44);
    workers.Enqueue(L"missing", folder + L"\\nothing-here.bin", 44);
    std::vector<std::unique_ptr<IconResult>> results;
    for (int waited = 0; waited < 10000 && results.size() < 3; waited += 20) {
        PumpMessages(20);
        while (auto result = outbox.Take()) {
            results.push_back(std::move(result));
        }
    }
    workers.Stop();
    ASSERT_EQ(results.size(), 3u) << "every request is answered, images or not";
    for (const auto& result : results) {
        if (result->key == L"picture") {
            // Not the shell's 1 by 1 stand-in: the picture, scaled to fit 72.
            EXPECT_EQ(result->width, 72u);
            EXPECT_EQ(result->height, 48u);
            ASSERT_TRUE(result->HasImage());
            EXPECT_EQ(result->pixels[0], 200);
            EXPECT_EQ(result->pixels[3], 255);
        } else if (result->key == L"text") {
            EXPECT_TRUE(result->HasImage()) << "a document gets the shell's icon for its type";
            EXPECT_GT(result->width, 1u);
        }
    }
    DeleteFileW(picturePath.c_str());
    DeleteFileW(textPath.c_str());
    RemoveDirectoryW(folder.c_str());
}

// A 32-bit top-down DIB whose every pixel is `pixel`, as GDI and the shell
// hand bitmaps out, converted as the icon workers convert them.
bool ConvertFilledBitmap(int side, std::uint32_t pixel, IconResult& result)
{
    ComScope com;
    const auto wic = MakeWicFactory();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!wic || !bitmap) {
        return false;
    }
    std::fill_n(static_cast<std::uint32_t*>(bits), side * side, pixel);
    return ConvertBitmap(*wic.Get(), bitmap.Get(), result);
}

TEST(IconExtraction, ABitmapWithoutAlphaIsNotInvisible)
{
    IconResult result;
    ASSERT_TRUE(ConvertFilledBitmap(16, 0x00336699, result));  // alpha byte 0, as GDI leaves it
    ASSERT_TRUE(result.HasImage());
    EXPECT_EQ(result.pixels[3], 255);
    EXPECT_EQ(result.pixels[0], 0x99);
    EXPECT_EQ(result.pixels[2], 0x33);
}

// The shell hands out its icons and thumbnails premultiplied; taking them
// as straight alpha would premultiply them twice and darken every soft edge.
TEST(IconExtraction, AShellBitmapKeepsItsPremultipliedEdges)
{
    IconResult result;
    ASSERT_TRUE(ConvertFilledBitmap(4, 0x80808080, result));  // white at half coverage, premultiplied
    ASSERT_TRUE(result.HasImage());
    EXPECT_EQ(result.pixels[3], 0x80);
    EXPECT_EQ(result.pixels[0], 0x80) << "premultiplied a second time, the edge turns grey";
    EXPECT_EQ(result.pixels[2], 0x80);
}

TEST(IconCache, AnswersBecomeDeviceBitmapsAndGoWithTheDevice)
{
    GraphicsDevice device;
    device.Create();
    CountingWindow receiver(WM_APP_ICON_READY);
    Mailbox<IconResult> results;
    IconCache cache(device, receiver.Handle(), WM_APP_ICON_READY, results, 512,
                    [](IWICImagingFactory*, const IconRequest& request, IconResult& result) {
                        result.width = static_cast<std::uint32_t>(request.size);
                        result.height = static_cast<std::uint32_t>(request.size);
                        result.pixels.assign(size_t{result.width} * result.height * 4, 255);
                    });
    cache.Start();
    const std::wstring path = L"C:\\me@work\\a.png";
    EXPECT_EQ(cache.Get(path, 44), nullptr);
    EXPECT_EQ(cache.Get(path, 44), nullptr);
    for (int waited = 0; waited < 5000 && results.Empty(); waited += 10) {
        PumpMessages(10);
    }
    int answers = 0;
    while (auto result = results.Take()) {
        cache.OnIconReady(*result);
        ++answers;
    }
    EXPECT_EQ(answers, 1) << "two asks, one request";
    ID2D1Bitmap* bitmap = cache.Get(path, 44);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetPixelSize().width, static_cast<UINT32>(IconRequestSize(44)))
        << "44 pixels drawn ask for the next size step";
    EXPECT_EQ(cache.Get(path, 72), bitmap) << "the smaller bitmap stands in for 72";

    ASSERT_HRESULT_SUCCEEDED(device.Recreate());
    cache.DropDeviceBitmaps();
    EXPECT_EQ(cache.Store().EntryCount(), 0u);
    EXPECT_TRUE(cache.Store().IsPending(MakeIconKey(path, IconRequestSize(72))));
    cache.Stop();
}

// After a long freeze the receiver's queue is full and the post of a
// result fails; the result is dropped, and the icon must be asked for again
// rather than stay pending for ever. A destroyed window fails every post.
TEST(IconCache, AnIconWhoseResultCouldNotBePostedIsAskedForAgain)
{
    GraphicsDevice device;
    device.Create();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"Cadrels.Test.GoneReceiver";
    RegisterClassW(&windowClass);
    const HWND gone = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);

    Mailbox<IconResult> results;
    std::atomic<int> extracted{0};
    IconCache cache(device, gone, WM_APP_ICON_READY, results, 512,
                    [&](IWICImagingFactory*, const IconRequest&, IconResult& result) {
                        result.width = result.height = 1;
                        result.pixels.assign(4, 255);
                        ++extracted;
                    });
    cache.Start();
    const std::wstring path = L"C:\\lost\\a.png";
    for (int waited = 0; waited < 5000 && extracted.load() < 2; waited += 10) {
        cache.Get(path, 44);
        PumpMessages(10);
    }
    cache.Stop();
    EXPECT_GE(extracted.load(), 2) << "the lost result's key was asked for again";
    EXPECT_TRUE(results.Empty()) << "a result that could not be announced does not linger";
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Some systems leave PrivateUsage at 0; the commit charge is the same figure.
    return std::max(counters.PrivateUsage, counters.PagefileUsage);
}

// 500 pictures and 500 other files asked for every frame, as a window
// showing them would: the main thread's frames stay short because Get never
// waits, every icon arrives, and memory stays within the cache's bounds.
TEST(IconCache, AThousandFilesLoadWithoutBlockingTheMainThread)
{
    ComScope com;
    const auto wic = MakeWicFactory();
    ASSERT_TRUE(wic);
    const std::wstring folder = TempFolder();
    std::vector<std::wstring> paths;
    Image picture;
    picture.width = 640;
    picture.height = 480;
    picture.pixels.assign(640 * 480 * 4, 255);
    for (int i = 0; i < 500; ++i) {
        picture.pixels[0] = static_cast<std::uint8_t>(i);
        paths.push_back(folder + L"\\picture" + std::to_wstring(i) + L".png");
        ASSERT_TRUE(SavePng(*wic.Get(), paths.back(), picture));
        paths.push_back(folder + L"\\file" + std::to_wstring(i) + L".txt");
        std::ofstream(paths.back().c_str()) << i;
    }

    GraphicsDevice device;
    device.Create();
    CountingWindow receiver(WM_APP_ICON_READY);
    Mailbox<IconResult> results;
    IconCache cache(device, receiver.Handle(), WM_APP_ICON_READY, results);
    cache.Start();
    const SIZE_T before = PrivateBytes();

    // A window shows a page of 100 items at a time (fewer than the cache's
    // 512 keys) and scrolls through the thousand, one page once every icon
    // of the page is drawn.
    using Clock = std::chrono::steady_clock;
    constexpr size_t Page = 100;
    const auto start = Clock::now();
    double longestFrameMs = 0.0;
    double firstPageMs = 0.0;
    size_t pagesDone = 0;
    for (size_t first = 0; first < paths.size() && Clock::now() - start < std::chrono::seconds(90); first += Page) {
        size_t shown = 0;
        while (shown < Page && Clock::now() - start < std::chrono::seconds(90)) {
            const auto frame = Clock::now();
            shown = 0;
            for (size_t i = first; i < first + Page; ++i) {
                shown += cache.Get(paths[i], 44) != nullptr;
            }
            while (auto result = results.Take()) {
                cache.OnIconReady(*result);
            }
            longestFrameMs =
                std::max(longestFrameMs, std::chrono::duration<double, std::milli>(Clock::now() - frame).count());
            if (shown < Page) {
                PumpMessages(16);
            }
        }
        pagesDone += shown == Page;
        if (first == 0) {
            firstPageMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    }
    const double totalMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const SIZE_T after = PrivateBytes();
    cache.Stop();
    std::printf("1000 files: first page of 100 icons in %.0f ms, all ten pages in %.0f ms, longest main-thread "
                "frame %.2f ms, private bytes %.1f MB before, %.1f MB after (%zu keys, %zu paths)\n",
                firstPageMs, totalMs, longestFrameMs, before / 1048576.0, after / 1048576.0,
                cache.Store().EntryCount(), cache.Store().FallbackCount());

    EXPECT_EQ(pagesDone, paths.size() / Page);
    EXPECT_LE(cache.Store().EntryCount(), 512u);
    EXPECT_LE(cache.Store().FallbackCount(), 513u);
    for (const std::wstring& path : paths) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

TEST(SvgEmblemSource, ReadsBuiltinsAndSvgFilesWithinTheSizeLimits)
{
    EXPECT_NE(ReadSvgEmblemSource(L"svg:trash").find("<svg"), std::string::npos);
    EXPECT_TRUE(ReadSvgEmblemSource(L"SVG:trash").empty());
    EXPECT_TRUE(ReadSvgEmblemSource(L"svg:nothing").empty());

    const std::wstring folder = TempFolder();
    const auto write = [&](const std::wstring& name, size_t size) {
        const std::wstring path = folder + L"\\" + name;
        std::string body = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\"><!--";
        body.resize(size > body.size() + 9 ? size - 9 : body.size(), 'x');
        body += "--></svg>";
        body.resize(size);
        std::ofstream(path.c_str(), std::ios::binary) << body;
        return path;
    };
    const std::wstring small = write(L"Logo.SVG", 2048);
    const std::wstring limit = write(L"limit.svg", 8 * 1024 * 1024);
    const std::wstring big = write(L"big.svg", 9 * 1024 * 1024);
    const std::wstring empty = write(L"empty.svg", 0);
    const std::wstring png = write(L"picture.png", 2048);

    EXPECT_EQ(ReadSvgEmblemSource(small).size(), 2048u) << "upper-case extension";
    EXPECT_EQ(ReadSvgEmblemSource(limit).size(), 8u * 1024 * 1024);
    EXPECT_TRUE(ReadSvgEmblemSource(big).empty());
    EXPECT_TRUE(ReadSvgEmblemSource(empty).empty());
    EXPECT_TRUE(ReadSvgEmblemSource(png).empty());
    EXPECT_TRUE(ReadSvgEmblemSource(folder + L"\\missing.svg").empty());
    for (const std::wstring& path : {small, limit, big, empty, png}) {
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace cadrels::testing
