// The file search's life and input: creation, showing and hiding, the
// keys, the listings arriving from the workers and the backdrop.
#include "search/FileSearch.h"

#include "base/DebugLog.h"
#include "base/PublishedFlags.h"
#include "fileops/LaunchItem.h"
#include "gfx/IconCache.h"
#include "gfx/ScreenSample.h"
#include "i18n/StringTable.h"

#include <algorithm>
#include <utility>

namespace cadrels {
namespace {

constexpr UINT_PTR CaretTimer = 1;

}  // namespace

FileSearch::FileSearch(FileSearchHost& host, GraphicsDevice& device, HWND appWindow)
    : host_(host), device_(device), appWindow_(appWindow), graphics_(device, *this, appWindow)
{
}

FileSearch::~FileSearch()
{
    listings_.StopWatching();
    // The objects go before the window they were bound to.
    graphics_.Release();
    window_.Reset();
}

bool FileSearch::Create(HINSTANCE instance)
{
    dpi_ = GetDpiForSystem();
    const float s = Scale();
    const int width = static_cast<int>(SearchBarWidth * s);
    const int height = SearchWindowHeight(0, s);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - static_cast<int>(500 * s)) / 3;
    HWND window = CreateOwnWindow(instance, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | device_.WindowExStyle(), L"", WS_POPUP,
                                  x, y, width, height);
    if (window == nullptr) {
        DebugLog(L"Recherche de fichiers : fenetre impossible a creer (erreur %lu).", GetLastError());
        return false;
    }
    window_.Reset(window);
    // Space typed into the query is a space, whatever lies under the pointer.
    PublishFlag(window, TakesTextFlag, true);
    graphics_.Attach(window);
    return true;
}

bool FileSearch::Visible() const
{
    return window_ && IsWindowVisible(window_.Get());
}

void FileSearch::Show(HWND cadrelWindow)
{
    query_.clear();
    results_.clear();
    selected_ = 0;
    scope_.clear();
    caretOn_ = true;
    if (cadrelWindow != nullptr) {
        if (std::optional<std::wstring> name = host_.LiveCadrelName(cadrelWindow)) {
            scope_ = std::move(*name);
        }
    }
    // The folders of every tab are kept listed from the first showing on;
    // those that came since the last one are listed now, before any key.
    plan_ = SearchPlan(host_.SearchPages(), scope_);
    std::vector<std::wstring> folders;
    for (const SearchFolder& folder : SearchPlan(host_.SearchPages(), std::wstring())) {
        folders.push_back(folder.folder);
    }
    listings_.Follow(folders, window_.Get());

    dpi_ = WindowDpi(window_.Get());
    const float s = Scale();
    SetWindowPos(window_.Get(), HWND_TOPMOST, 0, 0, static_cast<int>(SearchBarWidth * s), SearchWindowHeight(0, s),
                 SWP_NOACTIVATE | SWP_NOMOVE);
    SampleBackdrop();
    ShowWindow(window_.Get(), SW_SHOW);
    SetForegroundWindow(window_.Get());
    SetFocus(window_.Get());
    SetTimer(window_.Get(), CaretTimer, GetCaretBlinkTime(), nullptr);
    DebugLog(L"Recherche de fichiers ouverte : %ls, %u dossiers.", ScopeLabel().c_str(),
             static_cast<unsigned>(plan_.size()));
    Render();
}

void FileSearch::Hide()
{
    if (!window_) {
        return;
    }
    KillTimer(window_.Get(), CaretTimer);
    // Hiding deactivates the window, and deactivation hides it.
    if (IsWindowVisible(window_.Get()) && !hiding_) {
        hiding_ = true;
        ShowWindow(window_.Get(), SW_HIDE);
        hiding_ = false;
        DebugLog(L"Recherche de fichiers fermee.");
    }
}

std::wstring FileSearch::ScopeLabel() const
{
    return scope_.empty() ? std::wstring(Tr(TextId::SearchAllCadrels)) : scope_;
}

void FileSearch::Run(bool typed)
{
    const std::wstring selectedPath =
        !typed && selected_ >= 0 && selected_ < static_cast<int>(results_.size()) ? results_[selected_].path : L"";
    results_.clear();
    selected_ = 0;
    if (query_.empty()) {
        ResizeFor(0);
        LogResults(0);
        Render();
        return;
    }
    const std::wstring folded = FoldCase(query_);
    SearchOutcome outcome =
        CollectResults(plan_, folded, [&](const std::wstring& folder) { return listings_.Entries(folder); });
    results_ = std::move(outcome.results);
    selected_ = typed ? 0 : SelectionAfterResults(selectedPath, results_);
    if (IconCache* icons = host_.SearchIcons()) {
        const int size = static_cast<int>(32 * Scale());
        for (const FileSearchResult& result : results_) {
            icons->Get(result.path, size);
        }
    }
    ResizeFor(results_.size());
    LogResults(outcome.unlisted.size());
    Render();
}

void FileSearch::LogResults(std::size_t waiting) const
{
    std::wstring names;
    for (const FileSearchResult& result : results_) {
        names += names.empty() ? L"" : L", ";
        names += result.name;
    }
    DebugLog(L"Recherche de fichiers : %u resultats pour \"%ls\" (%ls), selection %d, %u dossiers en attente.",
             static_cast<unsigned>(results_.size()), query_.c_str(), names.c_str(), selected_,
             static_cast<unsigned>(waiting));
}

void FileSearch::ResizeFor(std::size_t count)
{
    const float s = Scale();
    const int width = static_cast<int>(SearchBarWidth * s);
    const int height = SearchWindowHeight(count, s);
    RECT bounds{};
    GetWindowRect(window_.Get(), &bounds);
    // Typing mostly keeps the number of rows: the window, and so what lies
    // under it, stay as they are, and a keystroke costs one frame.
    if (bounds.right - bounds.left == width && bounds.bottom - bounds.top == height) {
        return;
    }
    // The frame follows in Run, with the backdrop of the new size.
    resizing_ = true;
    SetWindowPos(window_.Get(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    resizing_ = false;
    SampleBackdrop();
}

void FileSearch::SampleBackdrop()
{
    backdrop_.reset();
    if (const std::optional<AverageColour> average = AverageScreenUnder(window_.Get())) {
        backdrop_ = D2D1::ColorF(DarkBackdropChannel(average->r), DarkBackdropChannel(average->g),
                                 DarkBackdropChannel(average->b), DarkBackdropAlpha);
    }
}

FrameResult FileSearch::Render()
{
    if (!window_ || !IsWindowVisible(window_.Get()) || graphics_.LostOnCurrentDevice()) {
        return FrameResult::Skipped;
    }
    return graphics_.Draw();
}

LRESULT FileSearch::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        OnChar(static_cast<wchar_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(static_cast<UINT>(wParam))) {
            return 0;
        }
        break;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_SIZE:
        if (!resizing_) {
            Render();
        }
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_FILE_SEARCH_LISTED:
        OnListed();
        return 0;
    case WM_FILE_SEARCH_FOLDERS_CHANGED:
        OnFoldersChanged();
        return 0;
    case WM_NCDESTROY:
        PublishFlag(window, TakesTextFlag, false);
        graphics_.Detach();
        window_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void FileSearch::OnChar(wchar_t unit)
{
    if (unit < 32 || unit == 127) {
        return;
    }
    query_ += unit;
    Run();
}

bool FileSearch::OnKeyDown(UINT key)
{
    const bool valid = selected_ >= 0 && selected_ < static_cast<int>(results_.size());
    switch (key) {
    case VK_BACK:
        if (!query_.empty()) {
            query_.pop_back();
            Run();
        }
        return true;
    case VK_RETURN:
        if (valid) {
            OpenSelected((GetKeyState(VK_CONTROL) & 0x8000) != 0);
        }
        return true;
    case VK_ESCAPE:
        Hide();
        return true;
    case VK_UP:
    case VK_DOWN:
        selected_ = MovedSelection(selected_, key == VK_UP ? -1 : 1, results_.size());
        DebugLog(L"Recherche de fichiers : selection %d.", selected_);
        Render();
        return true;
    case VK_RIGHT:
        if (valid) {
            SwitchToSelectedPage();
        }
        return true;
    default:
        return false;
    }
}

void FileSearch::OpenSelected(bool inFolder)
{
    const std::wstring path = results_[static_cast<std::size_t>(selected_)].path;
    Hide();
    if (inFolder) {
        RevealItem(appWindow_, path);
    } else {
        LaunchItem(appWindow_, path, LaunchCause::UserAction);
    }
}

void FileSearch::SwitchToSelectedPage()
{
    const int page = results_[static_cast<std::size_t>(selected_)].pageIndex;
    Hide();
    host_.SwitchToPage(page);
}

void FileSearch::OnActivate(bool active)
{
    if (active) {
        SampleBackdrop();
        Render();
    } else {
        Hide();
    }
}

void FileSearch::OnTimer(UINT_PTR id)
{
    if (id == CaretTimer) {
        caretOn_ = !caretOn_;
        Render();
    }
}

void FileSearch::OnPaint()
{
    ValidateWithoutPainting(window_.Get());
    Render();
}

void FileSearch::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    dpi_ = dpi;
    // Text formats are made for one scale: build again at the new one.
    graphics_.Release();
    SetWindowPos(window_.Get(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOACTIVATE | SWP_NOZORDER);
    Render();
}

void FileSearch::OnListed()
{
    // Listings keep arriving while the bar is hidden: they are kept for the
    // next showing, and only an open search shows them at once.
    if (listings_.TakeListed() && Visible() && !query_.empty()) {
        Run(false);
    }
}

void FileSearch::OnFoldersChanged()
{
    listings_.OnFoldersChanged();
}

}  // namespace cadrels
