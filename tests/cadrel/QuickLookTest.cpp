// The quick-look preview on the real program: opened with Space over a
// cadrel's selection, stepped with the keys, closed by Escape, by a click
// elsewhere, by Enter (which opens the item) and by a device loss. What it
// shows is checked through its diagnostic lines and the screen's pixels.
#include "CadrelScenario.h"
#include "DesktopInput.h"
#include "KeyInput.h"
#include "ScreenImage.h"
#include "PreviewFiles.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "base/UniqueHandle.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/QuickLookRules.h"
#include "model/LayoutFile.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr COLORREF PhotoColour = RGB(200, 40, 40);
constexpr COLORREF SmallColour = RGB(40, 60, 210);
constexpr COLORREF PreviewBackground = RGB(22, 24, 28);

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A plain window of the test's own, for clicking "somewhere else"; SS_NOTIFY
// keeps a static control from being transparent to the pointer.
HWND MakeOtherWindow(const RECT& at)
{
    return CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"ailleurs", WS_POPUP | WS_VISIBLE | WS_BORDER | SS_NOTIFY,
                           at.left, at.top, at.right - at.left, at.bottom - at.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Waits like WaitFor while handling the messages of the test's own window.
bool WaitPumping(const std::function<bool()>& condition, DWORD timeoutMs = 5000)
{
    return WaitFor(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            return condition();
        },
        timeoutMs);
}

struct Decoded {
    int width = 0, height = 0, sourceWidth = 0, sourceHeight = 0;
};

class QuickLookScenario : public CadrelScenario {
protected:
    QuickLookScenario() : CadrelScenario(L"quicklook") {}

    // dossier, f1-petit.bmp, f2-binaire.txt, f3-photo.jpg, f4-note.txt,
    // f5-inconnu.cadrelstest, f6-disparu.cadrelstest: seven items in this order.
    void MakeItems()
    {
        items_ = root_ + L"\\items";
        CreateDirectoryW(items_.c_str(), nullptr);
        CreateDirectoryW((items_ + L"\\dossier").c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(items_ + L"\\f1-petit.bmp", Bitmap24(16, [](int) { return SmallColour; })));
        ASSERT_TRUE(WriteBytes(items_ + L"\\f2-binaire.txt", std::string("abc\0def", 7)));
        ASSERT_TRUE(WriteSolidJpeg(items_ + L"\\f3-photo.jpg", 4000, 3000, PhotoColour));
        ASSERT_TRUE(
            WriteBytes(items_ + L"\\f4-note.txt", "Premi\xC3\xA8re ligne du texte\r\nDeuxi\xC3\xA8me ligne\r\n"));
        // No program opens these: opening them fails at once, and silently.
        ASSERT_TRUE(WriteBytes(items_ + L"\\f5-inconnu.cadrelstest", "x"));
        ASSERT_TRUE(WriteBytes(items_ + L"\\f6-disparu.cadrelstest", "x"));
    }

    void StartOnItems(int language)
    {
        MakeItems();
        Workspace page;
        page.id = "{page}";
        page.name = L"Page";
        CadrelRecord& record = AddPinned(page, "cadrel-apercu", 0.05, 0.05, 0.30, 0.50, {CadrelTab{L"Apercu", items_}});
        record.viewMode = ViewIconGrid;
        Settings settings;
        settings.language = language;
        settings.workspaces = {page};
        CreateDirectoryW(appData_.c_str(), nullptr);
        ASSERT_TRUE(LayoutFile(appData_ + L"\\layout.json").Save(settings));
        ASSERT_TRUE(app_.Start());
        ASSERT_TRUE(app_.WaitUntilReady());
        ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-apercu : 7 elements listes.", 5000));
        cadrel_ = CadrelTitled(L"Apercu");
        ASSERT_NE(cadrel_, nullptr);
    }

    POINT Cell(int index) const { return ItemCentre(cadrel_, ViewIconGrid, index, count_); }

    HWND Preview() const
    {
        for (HWND window : app_.TopLevelWindows(L"Cadrels.Preview")) {
            if (IsWindowVisible(window)) {
                return window;
            }
        }
        return nullptr;
    }

    // The item shown at position `n` of 7, in the given mode, after `action`.
    bool Shows(const std::function<void()>& action, const std::wstring& name, int n, const wchar_t* mode) const
    {
        const std::wstring position = std::to_wstring(n) + L"/" + std::to_wstring(count_);
        const std::wstring line = L"Apercu rapide : " + name + L" (" + position + L") en mode " + mode;
        const size_t before = app_.CountLines(line);
        action();
        return app_.WaitForLine(line, 8000, before + 1);
    }

    size_t Showings(int n) const
    {
        return app_.CountLines(L"(" + std::to_wstring(n) + L"/" + std::to_wstring(count_) + L") en mode ");
    }

    static void Press(WORD key) { SendCombination({}, key); }

    // Selects the fourth and the sixth items and presses Space over them.
    bool OpenWithSpace()
    {
        const std::wstring opening =
            L"Apercu rapide ouvert sur " + items_ + L"\\f3-photo.jpg (4/" + std::to_wstring(count_) + L")";
        const size_t opened = app_.CountLines(opening);
        const std::wstring first = L"Cadrel cadrel-apercu : selection [3].";
        const std::wstring both = L"Cadrel cadrel-apercu : selection [3,5].";
        const size_t firsts = app_.CountLines(first);
        const size_t boths = app_.CountLines(both);
        // A click on the free space first: a click on a member of a
        // selection would keep all of it.
        Click(Cell(count_ + 1));
        Click(Cell(3));
        if (!app_.WaitForLine(first, 3000, firsts + 1)) {
            ADD_FAILURE() << "the fourth item alone selected";
            return false;
        }
        ModifiedClick(cadrel_, Cell(5), MK_CONTROL);
        if (!app_.WaitForLine(both, 3000, boths + 1)) {
            ADD_FAILURE() << "the fourth and the sixth selected";
            return false;
        }
        Press(VK_SPACE);
        const bool logged = app_.WaitForLine(opening, 5000, opened + 1);
        const bool shown = WaitFor([&] { return Preview() != nullptr; });
        EXPECT_TRUE(logged) << "the opening line";
        EXPECT_TRUE(shown) << "the preview window";
        return logged && shown;
    }

    bool Closes(const std::function<void()>& action) const
    {
        const size_t closed = app_.CountLines(L"Apercu rapide ferme.");
        action();
        return WaitPumping([&] { return app_.CountLines(L"Apercu rapide ferme.") > closed && Preview() == nullptr; });
    }

    // The last "decodee en" line for a picture.
    Decoded LastDecoded(const std::wstring& name) const
    {
        Decoded decoded;
        const std::wstring prefix = L"Apercu rapide : image " + name + L" decodee en ";
        for (const std::wstring& line : app_.Lines()) {
            if (line.rfind(prefix, 0) == 0) {
                swscanf(line.c_str() + prefix.size(), L"%dx%d (source %dx%d", &decoded.width, &decoded.height,
                        &decoded.sourceWidth, &decoded.sourceHeight);
            }
        }
        return decoded;
    }

    // The last details line for an item: type, size and date texts and the icon size.
    std::vector<std::wstring> LastDetails(const std::wstring& name) const
    {
        const std::wstring prefix = L"Apercu rapide : " + name + L" (";
        const std::wstring mode = L"en mode details : ";
        std::wstring found;
        for (const std::wstring& line : app_.Lines()) {
            const size_t at = line.find(mode);
            if (line.rfind(prefix, 0) == 0 && at != std::wstring::npos) {
                found = line.substr(at + mode.size());
            }
        }
        // type "T", taille "S", date "D", icone WxH.
        std::vector<std::wstring> fields;
        size_t at = 0;
        for (int i = 0; i < 3; ++i) {
            const size_t open = found.find(L'"', at);
            const size_t close = open == std::wstring::npos ? open : found.find(L'"', open + 1);
            if (close == std::wstring::npos) {
                return {};
            }
            fields.push_back(found.substr(open + 1, close - open - 1));
            at = close + 1;
        }
        const size_t icon = found.find(L"icone ", at);
        fields.push_back(icon == std::wstring::npos ? L"" : found.substr(icon + 6, found.size() - icon - 7));
        return fields;
    }

    // The preview's content box in screen pixels.
    PreviewRect ContentBox(HWND preview) const
    {
        const PixelRect window = RectOf(preview);
        const unsigned dpi = GetDpiForWindow(cadrel_) == 0 ? 96 : GetDpiForWindow(cadrel_);
        PreviewRect box = LayOutPreview(static_cast<float>(window.right - window.left),
                                        static_cast<float>(window.bottom - window.top), dpi)
                              .content;
        box.left += static_cast<float>(window.left);
        box.right += static_cast<float>(window.left);
        box.top += static_cast<float>(window.top);
        box.bottom += static_cast<float>(window.top);
        return box;
    }

    void SaveShot(const wchar_t* name) const
    {
        HWND preview = Preview();
        ASSERT_NE(preview, nullptr);
        ScreenImage settled;
        ASSERT_TRUE(CaptureSettled(settled));
        const PixelRect r = RectOf(preview);
        ScreenImage image;
        ASSERT_TRUE(image.Capture(RECT{r.left, r.top, r.right, r.bottom}));
        EXPECT_TRUE(image.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\" + name)) << "the screenshot is kept";
    }

    std::wstring items_;
    HWND cadrel_ = nullptr;
    // The items the cadrel lists, and so the preview steps through.
    int count_ = 7;
};

TEST_F(QuickLookScenario, SpaceOpensSteppingThroughEveryItemAndEachWayOfClosing)
{
    StartOnItems(0);

    // Space over the selection [3, 5] opens on the fourth item, on the
    // cadrel's monitor, sized and centred in its work area.
    ASSERT_TRUE(OpenWithSpace());
    HWND preview = Preview();
    ASSERT_NE(preview, nullptr);
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(cadrel_, MONITOR_DEFAULTTONEAREST), &monitor);
    const PreviewWindowPlacement expected = PlacePreviewWindow(monitor.rcWork.left, monitor.rcWork.top,
                                                               monitor.rcWork.right, monitor.rcWork.bottom,
                                                               GetDpiForWindow(cadrel_));
    const PixelRect placed = RectOf(preview);
    EXPECT_EQ(placed.left, expected.x);
    EXPECT_EQ(placed.top, expected.y);
    EXPECT_EQ(placed.right - placed.left, expected.width);
    EXPECT_EQ(placed.bottom - placed.top, expected.height);

    // The 4000 x 3000 photo is decoded no larger than the window's larger
    // side, in its own proportions, and shown letter-boxed.
    ASSERT_TRUE(app_.WaitForLine(L"Apercu rapide : f3-photo.jpg (4/7) en mode image", 8000));
    const Decoded photo = LastDecoded(L"f3-photo.jpg");
    EXPECT_EQ(photo.sourceWidth, 4000);
    EXPECT_EQ(photo.sourceHeight, 3000);
    const int largerSide = std::max(expected.width, expected.height);
    EXPECT_GT(photo.width, 0);
    EXPECT_LE(photo.width, largerSide);
    EXPECT_LE(photo.height, largerSide);
    EXPECT_NEAR(static_cast<double>(photo.width) / photo.height, 4.0 / 3.0, 0.01);
    {
        const PreviewRect box = ContentBox(preview);
        const PreviewRect fitted = FitPictureInBox(box, 4000, 3000);
        ASSERT_GT(fitted.left - box.left, 20.0f) << "the test screen is wider than 4:3 in the box";
        const int middleY = static_cast<int>((box.top + box.bottom) / 2);
        ScreenImage image;
        ASSERT_TRUE(CaptureSettled(image, [&](const ScreenImage& shot) {
            return Near(shot.Pixel(static_cast<int>((fitted.left + fitted.right) / 2), middleY), PhotoColour, 40);
        }));
        EXPECT_TRUE(Near(image.Pixel(static_cast<int>(fitted.left) + 6, middleY), PhotoColour, 40));
        EXPECT_TRUE(Near(image.Pixel(static_cast<int>(fitted.right) - 6, middleY), PhotoColour, 40));
        EXPECT_TRUE(Near(image.Pixel(static_cast<int>((box.left + fitted.left) / 2), middleY), PreviewBackground, 20))
            << "a band of background left of the picture";
        EXPECT_TRUE(Near(image.Pixel(static_cast<int>((fitted.right + box.right) / 2), middleY), PreviewBackground, 20))
            << "and right of it";
    }
    SaveShot(L"quicklook-picture-fr.png");

    // Right goes through every item, not only the selected ones: the fifth
    // is the text file, the sixth has no view of its own.
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f4-note.txt", 5, L"texte"));
    {
        // The first line of the text is drawn: a font the machine lacks
        // would lay it out with zero width and leave the box empty.
        const PreviewRect box = ContentBox(preview);
        const RECT line{static_cast<LONG>(box.left), static_cast<LONG>(box.top),
                        static_cast<LONG>(box.left) + 240, static_cast<LONG>(box.top) + 24};
        const auto inked = [&](const ScreenImage& shot) {
            int count = 0;
            for (int y = line.top; y < line.bottom; ++y) {
                for (int x = line.left; x < line.right; ++x) {
                    count += Near(shot.Pixel(x, y), PreviewBackground, 40) ? 0 : 1;
                }
            }
            return count;
        };
        ScreenImage image;
        ASSERT_TRUE(CaptureSettled(image, [&](const ScreenImage& shot) { return inked(shot) > 40; }))
            << "the text's first line on screen";
    }
    SaveShot(L"quicklook-text-fr.png");
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f5-inconnu.cadrelstest", 6, L"details"));
    const std::vector<std::wstring> unknown = LastDetails(L"f5-inconnu.cadrelstest");
    ASSERT_EQ(unknown.size(), 4u);
    EXPECT_FALSE(unknown[0].empty()) << "a type";
    EXPECT_FALSE(unknown[1].empty()) << "a size";
    EXPECT_FALSE(unknown[2].empty()) << "a date";
    SaveShot(L"quicklook-details-fr.png");

    // The list is the one taken at opening: a file deleted since still
    // shows its name and the type of its extension, without size or date.
    ASSERT_TRUE(DeleteFileW((items_ + L"\\f6-disparu.cadrelstest").c_str()));
    // It was read ahead while it still existed; shown, it is read again.
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f6-disparu.cadrelstest", 7, L"details"));
    std::vector<std::wstring> gone;
    EXPECT_TRUE(WaitFor([&] {
        gone = LastDetails(L"f6-disparu.cadrelstest");
        return gone.size() == 4 && gone[1].empty();
    })) << "the size it had when it was read ahead is gone";
    ASSERT_EQ(gone.size(), 4u);
    EXPECT_FALSE(gone[0].empty()) << "a type from the extension";
    EXPECT_EQ(gone[1], L"");
    EXPECT_EQ(gone[2], L"");

    // Right after the last does nothing: the next thing shown is the one
    // Left leads to, and the last was not shown again.
    const size_t lastShown = Showings(7);
    Press(VK_RIGHT);
    ASSERT_TRUE(Shows([] { Press(VK_LEFT); }, L"f5-inconnu.cadrelstest", 6, L"details"));
    EXPECT_EQ(Showings(7), lastShown) << "no wrap-around and no reload past the end";

    // Home: the folder shows its icon, its name and its type only.
    ASSERT_TRUE(Shows([] { Press(VK_HOME); }, L"dossier", 1, L"details"));
    const std::vector<std::wstring> folder = LastDetails(L"dossier");
    ASSERT_EQ(folder.size(), 4u);
    EXPECT_FALSE(folder[0].empty()) << "a type";
    EXPECT_EQ(folder[1], L"") << "no size for a folder";
    EXPECT_EQ(folder[2], L"") << "no date for a folder";
    int iconWidth = 0;
    int iconHeight = 0;
    swscanf(folder[3].c_str(), L"%dx%d", &iconWidth, &iconHeight);
    EXPECT_GT(iconWidth, 1) << "an icon, not the 1 by 1 image some shells give";
    EXPECT_GT(iconHeight, 1);

    // Left before the first does nothing either.
    const size_t firstShown = Showings(1);
    Press(VK_LEFT);
    // The 16 x 16 picture is decoded as it is and enlarged to fill the box.
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f1-petit.bmp", 2, L"image"));
    EXPECT_EQ(Showings(1), firstShown) << "no wrap-around before the first";
    const Decoded small = LastDecoded(L"f1-petit.bmp");
    EXPECT_EQ(small.width, 16);
    EXPECT_EQ(small.height, 16);
    {
        const PreviewRect box = ContentBox(preview);
        const PreviewRect fitted = FitPictureInBox(box, 16, 16);
        const int centreX = static_cast<int>((fitted.left + fitted.right) / 2);
        const int centreY = static_cast<int>((fitted.top + fitted.bottom) / 2);
        ScreenImage image;
        ASSERT_TRUE(CaptureSettled(image, [&](const ScreenImage& shot) {
            return Near(shot.Pixel(centreX, centreY), SmallColour, 40);
        }));
        EXPECT_TRUE(Near(image.Pixel(centreX, static_cast<int>(fitted.top) + 8), SmallColour, 40)) << "fills the box";
        EXPECT_TRUE(Near(image.Pixel(static_cast<int>(fitted.left) + 8, centreY), SmallColour, 40));
    }
    // A ".txt" file with a zero byte in it is not text.
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f2-binaire.txt", 3, L"details"));

    // Escape closes.
    ASSERT_TRUE(Closes([] { Press(VK_ESCAPE); }));
    // From now on the cadrel lists the six items that are left.
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel cadrel-apercu : 6 elements listes.", 5000));
    count_ = 6;

    // A click in another window closes. The window stands on the screen
    // before the preview opens, so the click finds it there.
    const PixelRect work = work_;
    HWND other = MakeOtherWindow({work.left + 4, work.bottom - 64, work.left + 124, work.bottom - 4});
    ASSERT_NE(other, nullptr);
    const POINT inOther{work.left + 60, work.bottom - 30};
    ASSERT_TRUE(WaitPumping([&] { return WindowFromPoint(inOther) == other; }));
    ASSERT_TRUE(OpenWithSpace());
    ASSERT_EQ(WindowFromPoint(inOther), other) << "the preview leaves that corner free";
    ASSERT_TRUE(Closes([&] { Click(inOther); }));
    DestroyWindow(other);

    // Enter closes and opens the item shown.
    ASSERT_TRUE(OpenWithSpace());
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f4-note.txt", 5, L"texte"));
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f5-inconnu.cadrelstest", 6, L"details"));
    ASSERT_TRUE(Closes([] { Press(VK_RETURN); }));
    EXPECT_TRUE(app_.WaitForLine(L"Ouverture de " + items_ + L"\\f5-inconnu.cadrelstest.", 3000));

    // A device loss closes it; the program goes on with a new device.
    ASSERT_TRUE(OpenWithSpace());
    ASSERT_TRUE(Closes([&] { PostMessageW(app_.AppWindow(), WM_APP_DEVICE_LOST, 0, 0); }));
    EXPECT_TRUE(app_.WaitForLine(L"Device recree avec succes.", 10000));
    EXPECT_TRUE(app_.Running());
}

TEST_F(QuickLookScenario, EnglishScreenshotsOfTheThreeViews)
{
    StartOnItems(1);
    ASSERT_TRUE(OpenWithSpace());
    ASSERT_TRUE(app_.WaitForLine(L"Apercu rapide : f3-photo.jpg (4/7) en mode image", 8000));
    SaveShot(L"quicklook-picture-en.png");
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f4-note.txt", 5, L"texte"));
    SaveShot(L"quicklook-text-en.png");
    ASSERT_TRUE(Shows([] { Press(VK_RIGHT); }, L"f5-inconnu.cadrelstest", 6, L"details"));
    SaveShot(L"quicklook-details-en.png");
    ASSERT_TRUE(Closes([] { Press(VK_ESCAPE); }));
}

// Private bytes of the program, what a leak of pictures would grow.
size_t CommittedBytes(DWORD processId)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!process || !GetProcessMemoryInfo(process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                          sizeof counters)) {
        std::printf("GetProcessMemoryInfo : erreur %lu\n", GetLastError());
        return 0;
    }
    std::printf("prive %zu, fichier d'echange %zu, ensemble de travail %zu\n", counters.PrivateUsage,
                counters.PagefileUsage, counters.WorkingSetSize);
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

TEST_F(QuickLookScenario, ClosingReleasesThePicturesRead)
{
    StartOnItems(0);
    // As the item menu asks: this cadrel, its fourth item (the photo).
    const auto openAndClose = [&] {
        const size_t shown = app_.CountLines(L"f3-photo.jpg (4/7) en mode image");
        PostMessageW(app_.AppWindow(), WM_APP_QUICK_LOOK, reinterpret_cast<WPARAM>(cadrel_), 3);
        if (!app_.WaitForLine(L"f3-photo.jpg (4/7) en mode image", 8000, shown + 1)) {
            return false;
        }
        return Closes([] { Press(VK_ESCAPE); });
    };
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(openAndClose()) << "warming up, opening " << i;
    }
    const size_t before = CommittedBytes(app_.ProcessId());
    ASSERT_GT(before, 0u);
    constexpr int Openings = 30;
    for (int i = 0; i < Openings; ++i) {
        ASSERT_TRUE(openAndClose()) << "opening " << i;
    }
    const size_t after = CommittedBytes(app_.ProcessId());
    // One decoded photo at this window's size is several megabytes; keeping
    // even a third of them would pass 40 MB.
    const double grownMb = (static_cast<double>(after) - static_cast<double>(before)) / (1024.0 * 1024.0);
    std::printf("Memoire privee : %.1f Mo avant, %.1f Mo apres %d ouvertures (%+.1f Mo).\n",
                static_cast<double>(before) / (1024.0 * 1024.0), static_cast<double>(after) / (1024.0 * 1024.0),
                Openings, grownMb);
    EXPECT_LT(grownMb, 12.0);
}

}  // namespace
}  // namespace cadrels::testing
