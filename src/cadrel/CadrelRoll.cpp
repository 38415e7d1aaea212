// Rolling a cadrel up to its title bar and unfolding it again in one of four
// directions, the vertical roll animation, pinning, the automatic roll-up,
// and placing a cadrel without losing its rolled state.
#include "cadrel/Cadrel.h"

#include "cadrel/CadrelProperties.h"

#include "base/AppMessages.h"

#include <algorithm>

namespace cadrels {
namespace {

constexpr UINT AnimationStepMs = 12;

}  // namespace

void Cadrel::ApplyRect(const PixelRect& rect)
{
    SetWindowPos(window_.Get(), nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Cadrel::SetRolled(bool rolled, bool notify, bool animate)
{
    if (rolled == rolled_ || !window_) {
        return;
    }
    // A roll that is still running ends where it was going; the next one
    // starts from there, so its remembered size is a real one.
    if (roll_.Running()) {
        StopAnimation();
    }
    const CadrelMetrics metrics = Metrics();
    const PixelRect current = WindowRect();
    const bool vertical = IsVerticalUnfold(properties_.expandDir);
    PixelRect target;
    if (rolled) {
        if (vertical) {
            fullHeight_ = current.Height();
        } else {
            fullWidth_ = current.Width();
        }
        target = RolledRect(current, properties_.expandDir, metrics.titleBar);
    } else {
        target = vertical ? UnrolledRect(current, properties_.expandDir, 0, fullHeight_)
                          : UnrolledRect(current, properties_.expandDir, fullWidth_, 0);
    }
    rolled_ = rolled;
    const PixelPoint fitted = FitToMonitor({target.left, target.top}, target.Width(), target.Height());
    target = RectFromSize(fitted.x, fitted.y, target.Width(), target.Height());

    if (vertical && animate) {
        StartRollAnimation(current, target);
    } else {
        ApplyRect(target);
        Draw();
    }
    hosting_.Place();
    if (notify) {
        PostMessageW(appWindow_, WM_APP_SAVE_SOON, 0, 0);
    }
}

void Cadrel::StartRollAnimation(const PixelRect& from, const PixelRect& to)
{
    const ULONGLONG now = GetTickCount64();
    ApplyRect(roll_.Start(from, to, properties_.expandDir, now));
    SetRollClip(*roll_.ClipAt(now));
    Draw();
    SetTimer(window_.Get(), CadrelTimerRollAnimation, AnimationStepMs, nullptr);
    AnimationStep();
}

void Cadrel::SetRollClip(const PixelRect& clip)
{
    graphics_.SetClip(D2D1::RectF(static_cast<float>(clip.left), static_cast<float>(clip.top),
                                  static_cast<float>(clip.right), static_cast<float>(clip.bottom)));
}

void Cadrel::AnimationStep()
{
    if (!roll_.Running()) {
        KillTimer(window_.Get(), CadrelTimerRollAnimation);
        return;
    }
    if (const std::optional<PixelRect> clip = roll_.ClipAt(GetTickCount64())) {
        SetRollClip(*clip);
    } else {
        StopAnimation();
    }
}

void Cadrel::StopAnimation()
{
    if (window_) {
        KillTimer(window_.Get(), CadrelTimerRollAnimation);
    }
    if (!roll_.Running()) {
        return;
    }
    roll_.Stop();
    graphics_.SetClip(std::nullopt);
    if (!window_) {
        return;
    }
    ApplyRect(roll_.Target());
    RECT client{};
    GetClientRect(window_.Get(), &client);
    Layout(client.right, client.bottom);
    Draw();
    // A window resized under the pointer may lose its leave tracking (Wine
    // drops it); ask again so that leaving still rolls an unpinned cadrel up.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.Get(), 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
}

void Cadrel::SetPinned(bool pinned, bool notify)
{
    if (pinned != properties_.pinned) {
        properties_.pinned = pinned;
        if (pinned && rolled_) {
            SetRolled(false, false, true);
        } else if (!pinned && !rolled_ && window_) {
            POINT cursor{};
            GetCursorPos(&cursor);
            if (!WindowRect().Contains(cursor.x, cursor.y)) {
                SetRolled(true, false, true);
            }
        }
    }
    Notify(WM_APP_CADREL_PINNED_CHANGED, notify);
}

void Cadrel::SetUnfoldDirection(int direction, bool notify)
{
    const int value = ValidUnfoldDirection(direction);
    if (value != properties_.expandDir && window_) {
        if (roll_.Running()) {
            StopAnimation();
        }
        const UnfoldChange change = ChangeUnfoldDirection(WindowRect(), rolled_, properties_.expandDir, value,
                                                          fullWidth_, fullHeight_, Metrics().titleBar);
        fullWidth_ = change.fullWidth;
        fullHeight_ = change.fullHeight;
        properties_.expandDir = value;
        if (rolled_) {
            const PixelPoint fitted =
                FitToMonitor({change.rect.left, change.rect.top}, change.rect.Width(), change.rect.Height());
            ApplyRect(RectFromSize(fitted.x, fitted.y, change.rect.Width(), change.rect.Height()));
        }
        Draw();
    } else {
        properties_.expandDir = value;
    }
    Notify(WM_APP_CADREL_CHANGED, notify);
}

void Cadrel::SetBoundsRespectingRoll(int x, int y, int width, int height)
{
    if (!window_) {
        return;
    }
    if (roll_.Running()) {
        StopAnimation();
    }
    fullWidth_ = width;
    fullHeight_ = height;
    const PixelRect full = RectFromSize(x, y, width, height);
    ApplyRect(rolled_ ? RolledRect(full, properties_.expandDir, Metrics().titleBar) : full);
}

RECT Cadrel::FullRect() const
{
    if (!window_) {
        return {};
    }
    const PixelRect full = FullRectOf(WindowRect(), rolled_, properties_.expandDir, fullWidth_, fullHeight_);
    return {full.left, full.top, full.right, full.bottom};
}

bool Cadrel::PointerOver() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    return under != nullptr && (under == window_.Get() || GetAncestor(under, GA_ROOT) == window_.Get());
}

void Cadrel::AutoRollUpCheck()
{
    if (properties_.pinned || rolled_ || press_.OnTitleBar() || press_.Resizing() || !window_) {
        return;
    }
    // A menu, the rename box, a rubber band or a press on an item belong to
    // this cadrel although the pointer may be over a popup that is not its
    // child (a menu) or outside it (a band dragged past its edge): rolling
    // up then would leave them over the bare desktop. Their closing runs this
    // check again.
    if (menuOpen_ || RenameOpen() || press_.OnItems()) {
        return;
    }
    if (PointerOver()) {
        return;
    }
    // The hosted window is the cadrel's content: working in it keeps it open.
    if (hosting_.HoldsPointerOrFocus()) {
        return;
    }
    SetRolled(true, false, true);
}

}  // namespace cadrels
