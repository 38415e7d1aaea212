// The menu's own message loop over a stack of open levels, the root first.
#include "settings/DarkMenu.h"

#include "base/Activity.h"

#include "base/WindowProc.h"
#include "settings/DarkStyle.h"
#include "settings/DarkWindowClass.h"
#include "settings/MenuLevel.h"

#include <windowsx.h>

#include <memory>
#include <vector>

namespace cadrels {
namespace {

bool IsMenuMouseMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// The pointer position of a mouse message in screen coordinates. While the
// root holds the capture every mouse message arrives there, in its client
// coordinates, whichever level lies under the pointer.
POINT MessagePoint(const MSG& message)
{
    POINT point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    if (message.hwnd == nullptr || !ClientToScreen(message.hwnd, &point)) {
        return message.pt;
    }
    return point;
}

class MenuSession {
public:
    explicit MenuSession(const MenuStyle& style) : style_(style) {}

    bool OpenRoot(const std::vector<DarkMenuItem>& items, POINT at)
    {
        levels_.push_back(std::make_unique<MenuLevel>(items, style_));
        if (!levels_.back()->Open(at)) {
            levels_.clear();
            return false;
        }
        GetCursorPos(&restingPointer_);
        return true;
    }

    int Run();

    ~MenuSession()
    {
        if (!levels_.empty() && GetCapture() == Root()) {
            ReleaseCapture();
        }
        while (!levels_.empty()) {
            levels_.pop_back();
        }
    }

private:
    HWND Root() const { return levels_.front()->Window(); }
    MenuLevel& Deepest() { return *levels_.back(); }

    void End(int result)
    {
        done_ = true;
        result_ = result;
    }

    void OnKeyDown(WPARAM key);
    void OnMouse(const MSG& message);
    void OpenSubmenu(size_t levelIndex, int item);
    void CloseAbove(size_t levelIndex);

    const MenuStyle& style_;
    std::vector<std::unique_ptr<MenuLevel>> levels_;
    bool done_ = false;
    int result_ = 0;
    // Where the pointer stood when the menu opened, until it first moves.
    POINT restingPointer_{};
    bool pointerMoved_ = false;
};

int MenuSession::Run()
{
    const HWND root = Root();
    SetForegroundWindow(root);
    SetFocus(root);
    SetCapture(root);

    MSG message{};
    while (!done_) {
        if (GetCapture() != root) {
            End(0);
            break;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The outer loop must still see the quit request.
            PostQuitMessage(static_cast<int>(message.wParam));
            End(0);
            break;
        }
        if (got == -1) {
            End(0);
            break;
        }
        NoteRetrievedMessage(message.message);
        if (message.message == WM_KEYDOWN) {
            OnKeyDown(message.wParam);
        } else if (IsMenuMouseMessage(message.message)) {
            OnMouse(message);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return result_;
}

void MenuSession::OnKeyDown(WPARAM key)
{
    MenuLevel& level = Deepest();
    const int hot = level.Hot();
    const DarkMenuItem* hotItem = hot >= 0 ? &level.Items()[static_cast<size_t>(hot)] : nullptr;
    switch (key) {
    case VK_ESCAPE:
        if (levels_.size() > 1) {
            CloseAbove(levels_.size() - 2);
        } else {
            End(0);
        }
        break;
    case VK_UP:
    case VK_DOWN:
        level.SetHot(NextMenuCandidate(level.Items(), hot, key == VK_DOWN));
        break;
    case VK_RIGHT:
        if (hotItem != nullptr && OpensSubmenu(*hotItem)) {
            OpenSubmenu(levels_.size() - 1, hot);
        }
        break;
    case VK_LEFT:
        if (levels_.size() > 1) {
            CloseAbove(levels_.size() - 2);
        }
        break;
    case VK_RETURN:
        if (hotItem != nullptr && IsChoosable(*hotItem)) {
            if (hotItem->children.empty()) {
                End(hotItem->id);
            } else {
                OpenSubmenu(levels_.size() - 1, hot);
            }
        }
        break;
    default:
        break;
    }
}

void MenuSession::OnMouse(const MSG& message)
{
    const POINT point = MessagePoint(message);
    // A menu that opens under a resting pointer is told the pointer "moved"
    // onto it; that is no choice of an entry, and the keyboard starts from
    // the top as with the system's menus.
    if (message.message == WM_MOUSEMOVE && !pointerMoved_) {
        if (point.x == restingPointer_.x && point.y == restingPointer_.y) {
            return;
        }
        pointerMoved_ = true;
    }
    size_t levelIndex = levels_.size();
    for (size_t i = levels_.size(); i-- > 0;) {
        const RECT rect = levels_[i]->WindowRect();
        if (PtInRect(&rect, point)) {
            levelIndex = i;
            break;
        }
    }
    if (levelIndex == levels_.size()) {
        // A press outside may start a click that ends inside; only the
        // release decides that the user clicked away.
        if (message.message == WM_LBUTTONUP || message.message == WM_RBUTTONUP) {
            End(0);
        }
        return;
    }

    MenuLevel& level = *levels_[levelIndex];
    const int item = level.ItemAtScreen(point);
    if (levelIndex + 1 < levels_.size() && item != level.OpenChild()) {
        CloseAbove(levelIndex);
    }
    level.SetHot(item);
    if (item < 0) {
        return;
    }
    const DarkMenuItem& entry = level.Items()[static_cast<size_t>(item)];
    // Submenus open as soon as the pointer reaches their entry, without a
    // hover delay.
    if (OpensSubmenu(entry) && item != level.OpenChild()) {
        OpenSubmenu(levelIndex, item);
    }
    if (message.message == WM_LBUTTONUP && IsChoosable(entry) && entry.children.empty()) {
        End(entry.id);
    }
}

void MenuSession::OpenSubmenu(size_t levelIndex, int item)
{
    MenuLevel& parent = *levels_[levelIndex];
    const POINT at = SubmenuOrigin(parent.WindowRect(), parent.Layout(), item, style_.metrics);
    parent.SetOpenChild(item);
    levels_.push_back(std::make_unique<MenuLevel>(parent.Items()[static_cast<size_t>(item)].children, style_));
    if (!levels_.back()->Open(at)) {
        // The menu stays usable without this submenu.
        levels_.pop_back();
        parent.SetOpenChild(-1);
    }
}

void MenuSession::CloseAbove(size_t levelIndex)
{
    while (levels_.size() > levelIndex + 1) {
        levels_.pop_back();
    }
    levels_[levelIndex]->SetOpenChild(-1);
}

}  // namespace

int ShowDarkMenu(HWND owner, const std::vector<DarkMenuItem>& items, int x, int y, int dpi)
{
    UiFontSet fonts(dpi);
    const HINSTANCE instance =
        RegisterDarkWindowClass(DarkMenuClassName, ForwardingWndProc<MenuLevel>, ModuleOf(owner));
    if (instance == nullptr) {
        return 0;
    }
    const MenuStyle style{MenuMetricsAt(dpi), &fonts, instance};
    MenuSession session(style);
    if (!session.OpenRoot(items, {x, y})) {
        return 0;
    }
    return session.Run();
}

int MeasureMenuLabel(const std::wstring& label, int dpi)
{
    UiFontSet fonts(dpi);
    return MeasureLabelExtent(fonts, label);
}

}  // namespace cadrels
