#include "settings/DarkPrompt.h"

#include "base/Activity.h"

#include "base/UniqueHandle.h"
#include "settings/DarkStyle.h"
#include "settings/DarkWindowClass.h"
#include "settings/PromptLayout.h"
#include "settings/PromptWindow.h"
#include "settings/UiFontSet.h"

namespace cadrels {
namespace {

constexpr DWORD PromptExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

int MeasureText(HFONT font, const std::wstring& text, int width)
{
    ScreenDc screen;
    if (screen.Get() == nullptr) {
        return 0;
    }
    const SelectedObject selected(screen.Get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    RECT rect{0, 0, width, 400};
    DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return rect.bottom - rect.top;
}

HWND CreatePromptWindow(HWND owner, HINSTANCE instance, SIZE size, PromptState& state)
{
    const POINT origin = PlacePrompt(owner, size);
    return CreateWindowExW(PromptExStyle, DarkPromptClassName, L"", WS_POPUP, origin.x, origin.y, size.cx, size.cy,
                           owner, nullptr, instance, &state);
}

HWND CreateChild(HWND parent, HINSTANCE instance, const wchar_t* className, const std::wstring& text, DWORD style,
                 const RECT& rect, int id, HFONT font)
{
    const HWND child = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child != nullptr && font != nullptr) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return child;
}

void ShowPrompt(HWND prompt, HWND focus)
{
    ShowWindow(prompt, SW_SHOW);
    SetForegroundWindow(prompt);
    SetFocus(focus);
}

// The button Enter chooses: the focused one, or the first when the focus is
// on anything else.
int FocusedButtonId(HWND prompt, int buttonCount)
{
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(prompt, focus)) {
        const int id = GetDlgCtrlID(focus);
        if (id >= FirstPromptButtonId && id < FirstPromptButtonId + buttonCount) {
            return id;
        }
    }
    return FirstPromptButtonId;
}

bool IsKeyForPrompt(const MSG& message, HWND prompt, WPARAM key)
{
    return message.message == WM_KEYDOWN && message.wParam == key && BelongsToPrompt(prompt, message.hwnd);
}

enum class DialogNavigation { Off, On };

// Runs until the result cell is set: Esc dismisses, Enter answers with
// `enterResult()`, and everything else is dispatched (through the dialog
// navigation when it is on: Tab between buttons, Space presses). WM_QUIT
// dismisses and is posted again so that the outer loop still ends the
// program; a GetMessageW error dismisses too.
template <typename EnterResult>
void RunPromptLoop(HWND window, PromptState& state, EnterResult&& enterResult, DialogNavigation navigation)
{
    MSG message{};
    while (!state.Done()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
        }
        if (got == 0 || got == -1) {
            state.Finish(window, PromptState::Dismissed);
            break;
        }
        NoteRetrievedMessage(message.message);
        if (IsKeyForPrompt(message, window, VK_ESCAPE)) {
            state.Finish(window, PromptState::Dismissed);
        } else if (IsKeyForPrompt(message, window, VK_RETURN)) {
            state.Finish(window, enterResult());
        } else if (navigation == DialogNavigation::Off || !IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

int MeasureChoicePromptText(const std::wstring& text, int dpi)
{
    UiFontSet fonts(dpi);
    return MeasureText(fonts.For(text), text, ChoicePromptTextWidth(dpi));
}

int ShowChoicePrompt(HWND owner, const std::wstring& text, const std::vector<std::wstring>& buttons, int dpi)
{
    if (buttons.empty()) {
        return -1;
    }
    const HINSTANCE instance = RegisterPromptClass(owner);
    if (instance == nullptr) {
        return -1;
    }
    UiFontSet fonts(dpi);
    std::vector<std::wstring_view> shown{text};
    shown.insert(shown.end(), buttons.begin(), buttons.end());
    const HFONT font = fonts.ForAll(shown);
    const int textHeight = MeasureText(font, text, ChoicePromptTextWidth(dpi));
    const int count = static_cast<int>(buttons.size());
    const ChoicePromptLayout layout = LayoutChoicePrompt(textHeight, count, dpi);

    PromptState state(&fonts);
    const UniqueWindow prompt(CreatePromptWindow(owner, instance, {layout.width, layout.height}, state));
    if (!prompt) {
        return -1;
    }
    const HWND window = prompt.Get();
    CreateChild(window, instance, L"STATIC", text, SS_NOPREFIX, layout.text, 0, font);
    HWND first = nullptr;
    for (int i = 0; i < count; ++i) {
        const HWND button =
            CreateChild(window, instance, L"BUTTON", buttons[static_cast<size_t>(i)], WS_TABSTOP | BS_OWNERDRAW,
                        layout.buttons[static_cast<size_t>(i)], FirstPromptButtonId + i, font);
        if (i == 0) {
            first = button;
        }
    }
    ShowPrompt(window, first);

    RunPromptLoop(window, state, [window, count] { return FocusedButtonId(window, count); }, DialogNavigation::On);
    const int result = state.Result();
    return result >= FirstPromptButtonId ? result - FirstPromptButtonId : -1;
}

bool ShowTextPrompt(HWND owner, const std::wstring& label, std::wstring& text, int dpi)
{
    const HINSTANCE instance = RegisterPromptClass(owner);
    if (instance == nullptr) {
        return false;
    }
    const TextPromptLayout layout = LayoutTextPrompt(dpi);
    UiFontSet fonts(dpi);
    const HFONT font = fonts.ForAll({label, text});

    PromptState state(&fonts);
    const UniqueWindow prompt(CreatePromptWindow(owner, instance, {layout.width, layout.height}, state));
    if (!prompt) {
        return false;
    }
    const HWND window = prompt.Get();
    CreateChild(window, instance, L"STATIC", label, SS_NOPREFIX, layout.label, 0, font);
    const HWND edit =
        CreateChild(window, instance, L"EDIT", text, WS_BORDER | ES_AUTOHSCROLL, layout.edit, 0, font);
    ShowPrompt(window, edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);

    RunPromptLoop(window, state, [] { return PromptState::Confirmed; }, DialogNavigation::Off);
    if (state.Result() != PromptState::Confirmed) {
        return false;
    }
    std::wstring entered(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    entered.resize(static_cast<size_t>(GetWindowTextW(edit, entered.data(), static_cast<int>(entered.size()))));
    text = std::move(entered);
    return true;
}

}  // namespace cadrels
