// The launcher's life: creation, showing and hiding, the toggle rule, the
// placement on the primary work area, the backdrop sample, the click-away
// hook and the catalogue refreshed on a worker.
#include "dock/Launchpad.h"

#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "base/PublishedFlags.h"
#include "dock/AppCatalog.h"
#include "dock/DockPlacement.h"

#include <shellscalingapi.h>

#include <system_error>

namespace cadrels {

Launchpad* Launchpad::hookOwner_ = nullptr;

Launchpad::Launchpad(GraphicsDevice& device, IconCache* icons, HWND appWindow)
    : device_(device), icons_(icons), appWindow_(appWindow), graphics_(device, *this, appWindow)
{
}

Launchpad::~Launchpad()
{
    RemoveHook();
    // The worker posts into our mailbox: it ends before the mailbox goes. A
    // post to the window destroyed below fails and drops its catalogue.
    if (loader_.joinable()) {
        loader_.join();
    }
    catalogs_.TakeAll();
    if (window_) {
        KillTimer(window_.Get(), CaretTimer);
        KillTimer(window_.Get(), OpenTimer);
    }
    graphics_.Release();
    window_.Reset();
}

bool Launchpad::Create(HINSTANCE instance)
{
    HWND window = CreateOwnWindow(instance, WS_EX_NOREDIRECTIONBITMAP | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | device_.WindowExStyle(),
                                  WindowTitle, WS_POPUP, 0, 0, 1, 1);
    if (window == nullptr) {
        DebugLog(L"Launchpad : creation de la fenetre impossible (erreur %lu).", GetLastError());
        return false;
    }
    // WM_CREATE already took the handle.
    if (window_.Get() != window) {
        window_.Reset(window);
    }
    // Space typed into the search is a space, whatever lies under the pointer.
    PublishFlag(window, TakesTextFlag, true);
    // The first opening shows what arrives; later ones show the last
    // catalogue at once.
    RefreshCatalog();
    DebugLog(L"Launchpad cree.");
    return true;
}

bool Launchpad::Visible() const
{
    return window_ && IsWindowVisible(window_.Get()) != FALSE;
}

void Launchpad::Toggle()
{
    if (!window_) {
        return;
    }
    if (Visible()) {
        HideWindow(L"bascule");
        return;
    }
    // The press that hid the launcher was on the control that toggles it:
    // the toggle that follows must not open it again.
    if (clickAwayTick_ != 0 && GetTickCount() - clickAwayTick_ < GetDoubleClickTime()) {
        clickAwayTick_ = 0;
        DebugLog(L"Launchpad : bascule ignoree juste apres un clic a l'exterieur.");
        return;
    }
    Show();
}

void Launchpad::Show()
{
    if (!window_) {
        return;
    }
    clickAwayTick_ = 0;
    query_.clear();
    RefreshCatalog();
    Filter();
    Place();
    SampleBackdrop();
    // Before the window shows: its first paint is the animation's first frame.
    openProgress_ = 0.0f;
    opening_ = true;
    ShowWindow(window_.Get(), SW_SHOW);
    TakeForeground();
    caretOn_ = true;
    UINT blink = GetCaretBlinkTime();
    if (blink == 0 || blink == INFINITE) {
        blink = 530;
    }
    SetTimer(window_.Get(), CaretTimer, blink, nullptr);
    SetTimer(window_.Get(), OpenTimer, OpenIntervalMs, nullptr);
    InstallHook();
    Render();
    DebugLog(L"Launchpad affiche : %zu application(s), %dx%d.", catalog_.size(), width_, height_);
}

void Launchpad::Hide()
{
    HideWindow(L"demande");
}

void Launchpad::HideWindow(const wchar_t* reason)
{
    RemoveHook();
    if (!Visible()) {
        return;
    }
    KillTimer(window_.Get(), CaretTimer);
    KillTimer(window_.Get(), OpenTimer);
    opening_ = false;
    ShowWindow(window_.Get(), SW_HIDE);
    DebugLog(L"Launchpad masque (%ls).", reason);
}

void Launchpad::Launch(int matchIndex)
{
    if (matchIndex < 0 || static_cast<size_t>(matchIndex) >= matches_.size()) {
        return;
    }
    // A copy: hiding may run messages that replace the catalogue.
    const AppEntry entry = catalog_[static_cast<size_t>(matches_[static_cast<size_t>(matchIndex)])];
    HideWindow(L"lancement");
    LaunchApp(appWindow_, entry);
}

FrameResult Launchpad::Render()
{
    if (!window_ || !Visible() || graphics_.LostOnCurrentDevice()) {
        return FrameResult::Skipped;
    }
    return graphics_.Draw();
}

FrameResult Launchpad::RebuildGraphics()
{
    if (!window_) {
        return FrameResult::Skipped;
    }
    if (FAILED(graphics_.Rebuild())) {
        return graphics_.DeviceLostLatched() ? FrameResult::DeviceLost : FrameResult::Dropped;
    }
    return Render();
}

void Launchpad::Filter()
{
    matches_ = MatchApps(catalog_, query_);
    scroll_ = 0.0f;
    hoverCell_ = -1;
    LayoutGrid();
    LogMatches();
}

void Launchpad::LogMatches() const
{
    if (query_.empty()) {
        return;
    }
    std::wstring names;
    for (size_t index = 0; index < matches_.size() && index < 8; ++index) {
        if (!names.empty()) {
            names += L", ";
        }
        names += catalog_[static_cast<size_t>(matches_[index])].name;
    }
    DebugLog(L"Launchpad : recherche \"%ls\", %zu resultat(s) : %ls.", query_.c_str(), matches_.size(), names.c_str());
}

void Launchpad::Place()
{
    HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX != 0 && dpiX != dpi_) {
        dpi_ = dpiX;
        // Text formats are made for one scale.
        graphics_.Release();
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    PixelRect work;
    if (GetMonitorInfoW(monitor, &info)) {
        work = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    } else {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const PixelRect placed = PlaceLaunchpad(work, Scale());
    width_ = placed.Width();
    height_ = placed.Height();
    SetWindowPos(window_.Get(), HWND_TOPMOST, placed.left, placed.top, width_, height_, SWP_NOACTIVATE);
    LayoutGrid();
    ClampScroll();
}

void Launchpad::LayoutGrid()
{
    grid_ = LayoutLaunchpadGrid(catalog_, matches_, static_cast<float>(width_), Scale());
    if (hoverCell_ >= static_cast<int>(grid_.cells.size())) {
        hoverCell_ = -1;
    }
}

void Launchpad::ClampScroll()
{
    scroll_ = ClampLaunchpadScroll(scroll_, grid_.contentHeight, static_cast<float>(height_), Scale());
}

void Launchpad::SampleBackdrop()
{
    backdrop_.reset();
    RECT bounds{};
    if (!GetWindowRect(window_.Get(), &bounds)) {
        return;
    }
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    // Sampled while the window is still hidden: the capture holds only what
    // lies beneath it.
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return;
    }
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (memory && bitmap && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
        const bool copied =
            BitBlt(memory.Get(), 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        double average[3] = {};
        if (copied && AverageBackdropColour(static_cast<const std::uint8_t*>(bits), width, height,
                                            static_cast<size_t>(width) * 4, average)) {
            backdrop_ = LaunchpadTintFrom(average[0], average[1], average[2]);
        }
        SelectObject(memory.Get(), previous);
    }
    ReleaseDC(nullptr, screen);
}

void Launchpad::TakeForeground()
{
    HWND window = window_.Get();
    HWND foreground = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD other = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    // The system gives the foreground only to the thread that has the input:
    // for the moment of the call, ours shares the current foreground's.
    const bool attached = other != 0 && other != self && AttachThreadInput(self, other, TRUE) != FALSE;
    BringWindowToTop(window);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(window);
    if (attached) {
        AttachThreadInput(self, other, FALSE);
    }
}

void Launchpad::InstallHook()
{
    if (mouseHook_) {
        return;
    }
    hookOwner_ = this;
    mouseHook_.Reset(SetWindowsHookExW(WH_MOUSE_LL, MouseHook, GetModuleHandleW(nullptr), 0));
    if (!mouseHook_) {
        hookOwner_ = nullptr;
        DebugLog(L"Launchpad : crochet de la souris impossible (erreur %lu).", GetLastError());
    }
}

void Launchpad::RemoveHook()
{
    if (mouseHook_) {
        mouseHook_.Reset();
    }
    if (hookOwner_ == this) {
        hookOwner_ = nullptr;
    }
}

LRESULT CALLBACK Launchpad::MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && hookOwner_ != nullptr && hookOwner_->window_) {
        switch (wParam) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN: {
            const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            RECT bounds{};
            if (GetWindowRect(hookOwner_->window_.Get(), &bounds) && !PtInRect(&bounds, event->pt)) {
                PostMessageW(hookOwner_->window_.Get(), ClickAwayMessage, 0, 0);
            }
            break;
        }
        default:
            break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Launchpad::RefreshCatalog()
{
    if (loading_.load()) {
        return;
    }
    if (loader_.joinable()) {
        loader_.join();
    }
    loading_.store(true);
    HWND window = window_.Get();
    try {
        loader_ = std::thread([this, window] {
            const ComApartment apartment;
            auto catalog = std::make_unique<AppCatalog>(LoadAppCatalog());
            catalogs_.Post(window, CatalogMessage, std::move(catalog));
            loading_.store(false);
        });
    } catch (const std::system_error&) {
        loading_.store(false);
        DebugLog(L"Launchpad : lecture du catalogue impossible, le fil ne demarre pas.");
    }
}

// The message carries nothing: the newest catalogue waiting wins, and a
// stray message finds the mailbox empty.
void Launchpad::OnCatalogArrived()
{
    std::unique_ptr<AppCatalog> newest;
    while (std::unique_ptr<AppCatalog> catalog = catalogs_.Take()) {
        newest = std::move(catalog);
    }
    if (!newest) {
        return;
    }
    const bool first = !catalogKnown_;
    catalogKnown_ = true;
    if (!first && *newest == catalog_) {
        return;
    }
    catalog_ = std::move(*newest);
    DebugLog(L"Launchpad : catalogue de %zu application(s) %ls.", catalog_.size(), first ? L"recu" : L"remplace");
    if (Visible()) {
        // The query stays; the matches and the grid follow the new list.
        const int highlight = hoverCell_;
        Filter();
        ClampScroll();
        if (highlight >= 0 && highlight < static_cast<int>(grid_.cells.size())) {
            hoverCell_ = highlight;
        }
        Render();
    }
}

}  // namespace cadrels
