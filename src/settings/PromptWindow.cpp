#include "settings/PromptWindow.h"

#include "base/UniqueHandle.h"
#include "base/WindowProc.h"
#include "model/Theme.h"
#include "settings/DarkStyle.h"
#include "settings/DarkWindowClass.h"
#include "settings/Placement.h"
#include "settings/UiFontSet.h"

namespace cadrels {
namespace {

constexpr int MaxCaption = 255;

bool IsOtherProcess(HWND window)
{
    if (window == nullptr) {
        return true;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId != GetCurrentProcessId();
}

LRESULT DrawPromptButton(const DRAWITEMSTRUCT& item, UiFontSet* fonts)
{
    const bool primary = item.CtlID == FirstPromptButtonId;
    const ButtonColors colours = PromptButtonColors(primary, (item.itemState & ODS_SELECTED) != 0,
                                                    (item.itemState & ODS_FOCUS) != 0, CurrentPalette(),
                                                    AccentColor());
    const HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    FillRect(dc, &rect, WindowBackgroundBrush());
    {
        UniqueBrush fill(CreateSolidBrush(colours.fill));
        UniquePen frame(CreatePen(PS_SOLID, 1, colours.frame));
        const SelectedObject selectedBrush(dc, fill.Get());
        const SelectedObject selectedPen(dc, frame.Get());
        const int corner = (rect.bottom - rect.top) / 3;
        RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
    }

    wchar_t caption[MaxCaption + 1] = {};
    const int length = GetWindowTextW(item.hwndItem, caption, MaxCaption + 1);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    const SelectedObject selectedFont(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    RECT textRect = rect;
    if (fonts != nullptr) {
        fonts->DrawLine(dc, std::wstring_view(caption, static_cast<size_t>(length)), textRect, true);
    } else {
        DrawTextW(dc, caption, length, &textRect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    return TRUE;
}

}  // namespace

void PromptState::Finish(HWND window, int result)
{
    if (Done()) {
        return;
    }
    result_ = result;
    PostMessageW(window, WM_NULL, 0, 0);
}

LRESULT PromptState::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Palette& palette = CurrentPalette();
    switch (message) {
    case WM_ACTIVATE:
        OnActivate(window, wParam, lParam);
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, WindowBackgroundBrush());
        return 1;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_BUTTON) {
            return DrawPromptButton(*item, fonts_);
        }
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) >= FirstPromptButtonId) {
            Finish(window, LOWORD(wParam));
        }
        return 0;
    case WM_CTLCOLOREDIT:
        SetTextColor(reinterpret_cast<HDC>(wParam), palette.inputText);
        SetBkColor(reinterpret_cast<HDC>(wParam), palette.inputBackground);
        return reinterpret_cast<LRESULT>(InputBackgroundBrush());
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), palette.text);
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(WindowBackgroundBrush());
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PromptState::OnActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    // Clicking another application answers nothing: the prompt goes away.
    // Other windows of the program may take the activation and give it back.
    if (LOWORD(wParam) == WA_INACTIVE && IsOtherProcess(reinterpret_cast<HWND>(lParam))) {
        Finish(window, Dismissed);
    }
}

HINSTANCE RegisterPromptClass(HWND owner)
{
    return RegisterDarkWindowClass(DarkPromptClassName, ForwardingWndProc<PromptState>, ModuleOf(owner));
}

POINT PlacePrompt(HWND owner, SIZE size)
{
    RECT around{};
    if (owner == nullptr || !GetWindowRect(owner, &around)) {
        around = PrimaryScreenRect();
    }
    const POINT centred = CenterOn(around, size);
    return FitToWorkArea(centred, size, WorkAreaNear(centred));
}

bool BelongsToPrompt(HWND prompt, HWND window)
{
    return window == prompt || IsChild(prompt, window);
}

}  // namespace cadrels
