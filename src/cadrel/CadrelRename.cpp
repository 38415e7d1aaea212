// In-place renaming of a tab title or of a file, through a native edit box
// in a small topmost popup over the cadrel, and closing the active tab. A
// cadrel never takes the activation, so the box takes the keyboard itself;
// losing it commits, Esc cancels.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/RenameRules.h"
#include "fileops/MoveEngine.h"
#include "i18n/StringTable.h"
#include "model/ContainerFolders.h"
#include "model/PathText.h"
#include "model/Theme.h"
#include "policy/Policy.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace cadrels {
namespace {

constexpr wchar_t RenameHostClass[] = L"Cadrels.RenameHost";
constexpr int MaxRenameLength = 255;

COLORREF ToColorRef(Color color)
{
    return static_cast<COLORREF>(color);
}

LRESULT CALLBACK RenameHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, WindowBackgroundBrush());
        return 1;
    }
    case WM_CTLCOLOREDIT: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ToColorRef(CurrentPalette().text));
        SetBkColor(dc, ToColorRef(CurrentPalette().windowBackground));
        return reinterpret_cast<LRESULT>(WindowBackgroundBrush());
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterRenameHostClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = RenameHostProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.lpszClassName = RenameHostClass;
    // Once per process; later registrations fail harmlessly.
    RegisterClassExW(&windowClass);
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

LRESULT CALLBACK Cadrel::RenameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* cadrel = reinterpret_cast<Cadrel*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    if (cadrel == nullptr || cadrel->renameEditPrevious_ == nullptr) {
        return DefWindowProcW(edit, message, wParam, lParam);
    }
    HWND owner = cadrel->window_.Get();
    switch (message) {
    case WM_KILLFOCUS:
        PostMessageW(owner, WM_CADREL_RENAME_COMMIT, 0, 0);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            PostMessageW(owner, WM_CADREL_RENAME_COMMIT, 0, 0);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            PostMessageW(owner, WM_CADREL_RENAME_CANCEL, 0, 0);
            return 0;
        }
        break;
    case WM_CHAR:
        // No beep for the keys that end the edit.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(cadrel->renameEditPrevious_, edit, message, wParam, lParam);
}

bool Cadrel::OpenRenameHost(const RECT& rect, const std::wstring& text, int selStart, int selEnd)
{
    if (RenameOpen() || !window_ || rect.right <= rect.left || rect.bottom <= rect.top) {
        return false;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_.Get(), GWLP_HINSTANCE));
    RegisterRenameHostClass(instance);
    renameHost_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, RenameHostClass, L"", WS_POPUP, rect.left,
                                      rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                      instance, nullptr));
    if (!renameHost_) {
        return false;
    }
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    if (renameTarget_ == -1) {
        style |= ES_CENTER;
    }
    renameEdit_ = CreateWindowExW(0, L"EDIT", text.c_str(), style, 0, 0, rect.right - rect.left,
                                  rect.bottom - rect.top, renameHost_.Get(), nullptr, instance, nullptr);
    if (renameEdit_ == nullptr) {
        renameHost_.Reset();
        return false;
    }
    SendMessageW(renameEdit_, EM_LIMITTEXT, MaxRenameLength, 0);
    renameFont_.Reset(CreateFontW(-static_cast<int>(14 * dpi_ / 96), 0, 0, 0, 600, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  DEFAULT_PITCH, L"Segoe UI"));
    if (renameFont_) {
        SendMessageW(renameEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(renameFont_.Get()), TRUE);
    }
    SetWindowLongPtrW(renameEdit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    renameEditPrevious_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(renameEdit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Cadrel::RenameEditProc)));

    ShowWindow(renameHost_.Get(), SW_SHOW);
    // The cadrel never activates; the box takes the keyboard by joining the
    // foreground thread's input for the few calls that move the focus.
    const DWORD self = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    const DWORD other = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached = other != 0 && other != self && AttachThreadInput(self, other, TRUE) != FALSE;
    SetForegroundWindow(renameHost_.Get());
    BringWindowToTop(renameHost_.Get());
    SetFocus(renameEdit_);
    if (attached) {
        AttachThreadInput(self, other, FALSE);
    }
    SendMessageW(renameEdit_, EM_SETSEL, static_cast<WPARAM>(selStart), static_cast<LPARAM>(selEnd));
    return true;
}

void Cadrel::BeginTabRename()
{
    if (RenameOpen() || !window_ || AreCadrelsLocked() || activeTab_ < 0 ||
        activeTab_ >= static_cast<int>(tabs_.size())) {
        return;
    }
    const float s = static_cast<float>(dpi_) / 96.0f;
    const int c = static_cast<int>(10 * s);
    const int d = static_cast<int>(30 * s);
    const PixelRect window = WindowRect();
    RECT box{};
    if (unfoldDirection_ == 2 || unfoldDirection_ == 3) {
        box.left = window.left + c + (unfoldDirection_ == 3 ? d : 0);
        box.top = window.top + c;
        box.right = window.right - c - (unfoldDirection_ == 2 ? d : 0);
        box.bottom = window.top + c + d - static_cast<int>(4 * s);
    } else if (tabs_.size() == 1) {
        box.left = window.left + c;
        box.right = window.right - c;
        box.top = window.top + static_cast<int>(TitleBarTop(View())) + static_cast<int>(2 * s);
        box.bottom = box.top + d - static_cast<int>(4 * s);
    } else {
        const LayoutRect tab = TabRect(activeTab_);
        box.left = window.left + static_cast<int>(tab.left + 6 * s);
        box.top = window.top + static_cast<int>(tab.top + 4 * s);
        box.right = window.left + static_cast<int>(tab.right - 4 * s);
        box.bottom = window.top + static_cast<int>(tab.bottom - 2 * s);
    }
    renameTarget_ = -1;
    renameTab_ = activeTab_;
    if (OpenRenameHost(box, tabs_[static_cast<size_t>(activeTab_)].title, 0, -1)) {
        DebugLog(L"Cadrel %hs : renommage de l'onglet %d ouvert.", id_.c_str(), activeTab_);
    } else {
        renameTab_ = -1;
    }
}

void Cadrel::BeginItemRename(int index)
{
    if (RenameOpen() || !window_ || rolled_ || index < 0 || index >= static_cast<int>(items_.size())) {
        return;
    }
    const CadrelView view = View();
    const ContentMetrics metrics = ComputeContentMetrics(view);
    const LayoutRect cell = ItemRect(index);
    const LayoutRect area = ContentArea(view);
    const float s = metrics.scale;
    const float top = cell.top + metrics.pad / 2 + metrics.icon + 2 * s;
    const float bottom = top + 25.5f * s < cell.bottom ? top + 25.5f * s : cell.bottom;
    // A cell scrolled out of sight has no place for the box.
    if (cell.bottom < area.top || top > area.bottom) {
        return;
    }
    const PixelRect window = WindowRect();
    RECT box{window.left + static_cast<LONG>(cell.left) + 2, window.top + static_cast<LONG>(top),
             window.left + static_cast<LONG>(cell.right) - 2, window.top + static_cast<LONG>(bottom)};
    MONITORINFO monitor{sizeof monitor};
    if (GetMonitorInfoW(MonitorFromWindow(window_.Get(), MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        if (box.right > work.right) {
            OffsetRect(&box, work.right - box.right, 0);
        }
        if (box.left < work.left) {
            OffsetRect(&box, work.left - box.left, 0);
        }
    }
    const CadrelItem& item = items_[static_cast<size_t>(index)];
    renameTarget_ = index;
    renameSourcePath_ = item.path;
    const DWORD attributes = GetFileAttributesW(item.path.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const auto [selStart, selEnd] = RenameSelection(item.name, folder);
    if (OpenRenameHost(box, item.name, selStart, selEnd)) {
        DebugLog(L"Cadrel %hs : renommage de %ls ouvert.", id_.c_str(), item.path.c_str());
    } else {
        renameTarget_ = -1;
        renameSourcePath_.clear();
    }
}

void Cadrel::CommitRename()
{
    if (!RenameOpen()) {
        return;
    }
    wchar_t buffer[MaxRenameLength + 1] = {};
    const int length = GetWindowTextW(renameEdit_, buffer, MaxRenameLength + 1);
    const std::wstring text = TrimRenameText(std::wstring_view(buffer, static_cast<size_t>(std::max(length, 0))));
    const int target = renameTarget_;
    const int tab = renameTab_;
    const std::wstring source = renameSourcePath_;
    // The box closes before anything else happens: a rename pumps messages.
    CancelRename();
    if (target >= 0) {
        RenameFile(source, text);
        return;
    }
    if (tab < 0 || tab >= static_cast<int>(tabs_.size()) || text.empty() ||
        text == tabs_[static_cast<size_t>(tab)].title) {
        DebugLog(L"Cadrel %hs : titre d'onglet inchange.", id_.c_str());
        return;
    }
    LiveTab& renamed = tabs_[static_cast<size_t>(tab)];
    renamed.title = text;
    renamed.titleAuto = false;
    if (tab == activeTab_) {
        SetWindowTitleFromActiveTab();
        FolderFollowsTitle(text);
    } else if (!renamed.folder.empty()) {
        const std::wstring folder = RenameContainerForTitle(renamed.folder, text, id_);
        if (folder != renamed.folder) {
            renamed.folder = folder;
        }
    }
    DebugLog(L"Cadrel %hs : onglet %d renomme en \"%ls\", dossier %ls.", id_.c_str(), tab, text.c_str(),
             tabs_[static_cast<size_t>(tab)].folder.c_str());
    Notify(WM_APP_CADREL_TABS_CHANGED, true);
    Draw();
}

void Cadrel::CancelRename()
{
    renameTarget_ = -1;
    renameTab_ = -1;
    renameSourcePath_.clear();
    if (renameEdit_ != nullptr && renameEditPrevious_ != nullptr) {
        SetWindowLongPtrW(renameEdit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(renameEditPrevious_));
        SetWindowLongPtrW(renameEdit_, GWLP_USERDATA, 0);
    }
    renameEditPrevious_ = nullptr;
    renameEdit_ = nullptr;
    renameHost_.Reset();
    renameFont_.Reset();
    trackingLeave_ = false;
    if (window_) {
        SetWindowPos(window_.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    }
}

void Cadrel::FolderFollowsTitle(const std::wstring& title)
{
    if (activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size())) {
        return;
    }
    LiveTab& tab = tabs_[static_cast<size_t>(activeTab_)];
    if (tab.folder.empty()) {
        return;
    }
    // No watcher handle may keep the folder open while it is renamed.
    StopWatcher();
    const std::wstring renamed = RenameContainerForTitle(tab.folder, title, id_);
    if (renamed != tab.folder) {
        tab.folder = renamed;
        StartWatcher();
        ListFolder();
        hoverItem_ = -1;
        ClampScroll();
        Draw();
    } else {
        StartWatcher();
    }
}

void Cadrel::RenameActiveTab(const std::wstring& title)
{
    const std::wstring text = TrimRenameText(title);
    if (text.empty() || activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size()) ||
        text == tabs_[static_cast<size_t>(activeTab_)].title) {
        return;
    }
    tabs_[static_cast<size_t>(activeTab_)].title = text;
    SetWindowTitleFromActiveTab();
    FolderFollowsTitle(text);
    Notify(WM_APP_CADREL_TABS_CHANGED, true);
    Draw();
}

bool Cadrel::RenameFile(const std::wstring& path, const std::wstring& newName)
{
    std::wstring folder;
    std::wstring oldName;
    if (path.empty() || !IsAcceptableNewName(newName) || !PathExists(path) ||
        !SplitParentAndName(path, folder, oldName)) {
        DebugLog(L"Renommage refuse : \"%ls\" pour %ls.", newName.c_str(), path.c_str());
        return false;
    }
    const std::wstring name = NameKeepingHiddenExtension(oldName, newName);
    if (name == oldName) {
        return false;
    }
    const std::wstring target = ChildPath(folder, name);
    // An existing file is never replaced; a change of letter case only is.
    if (PathExists(target) && !EqualsIgnoringAsciiCase(target, path)) {
        DebugLog(L"Renommage refuse : %ls existe deja.", target.c_str());
        return false;
    }
    MoveOptions options;
    options.allowUndo = true;
    std::unique_ptr<MoveEngine> engine = CreateMoveEngine(options);
    HRESULT result = E_FAIL;
    {
        std::optional<OperationState::Scope> running;
        if (operationGuard_) {
            running.emplace(operationGuard_());
        }
        result = engine->Queue(path, folder, name) ? engine->Perform() : E_FAIL;
    }
    if (FAILED(result) || engine->Moved().empty()) {
        DebugLog(L"Renommage de %ls en %ls : echec (HRESULT 0x%08X).", path.c_str(), name.c_str(),
                 static_cast<unsigned>(result));
        return false;
    }
    DebugLog(L"Renommage de %ls en %ls.", path.c_str(), name.c_str());
    if (menuServices_.movesDone) {
        UndoEntry entry;
        entry.kind = UndoKindMoves;
        entry.description = Tr(TextId::RenameFile);
        entry.moves = engine->Moved();
        menuServices_.movesDone(std::move(entry));
    }
    if (window_) {
        Refresh();
    }
    return true;
}

void Cadrel::CloseActiveTab()
{
    if (AreCadrelsLocked() || tabs_.size() < 2) {
        return;
    }
    if (activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size()) &&
        (!tabs_[static_cast<size_t>(activeTab_)].hostedExe.empty() ||
         !tabs_[static_cast<size_t>(activeTab_)].hostedAumid.empty()) &&
        menuServices_.releaseHosted) {
        menuServices_.releaseHosted(*this);
    }
    if (window_) {
        KillTimer(window_.Get(), CadrelTimerTabHover);
    }
    // The tab's folder stays on disk untouched.
    CloseTab(activeTab_, true);
}

}  // namespace cadrels
