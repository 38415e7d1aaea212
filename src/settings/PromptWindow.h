// The window procedure both prompts share: dismissal when another process
// takes the foreground, the owner-drawn buttons and the control colours.
#pragma once

#include <windows.h>

namespace cadrels {

class UiFontSet;

// Button control ids start here; the first one is the primary button.
inline constexpr int FirstPromptButtonId = 100;

// The result cell of one prompt, handed to its window as creation parameter.
class PromptState {
public:
    static constexpr int None = 0;
    static constexpr int Dismissed = -1;
    static constexpr int Confirmed = 1;  // the text prompt's Enter

    // `fonts` draws the button captions; it outlives the prompt.
    explicit PromptState(UiFontSet* fonts = nullptr) : fonts_(fonts) {}

    int Result() const { return result_; }
    bool Done() const { return result_ != None; }
    // Keeps the first result only, and wakes the prompt's loop, which only
    // looks at the cell between posted messages.
    void Finish(HWND window, int result);

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnActivate(HWND window, WPARAM wParam, LPARAM lParam);

    int result_ = None;
    UiFontSet* fonts_;
};

// The class "Cadrels.DarkPrompt", registered on first use; the instance to
// create prompts with, or null.
HINSTANCE RegisterPromptClass(HWND owner);

// Centres `size` on the owner (on the primary screen without one), then fits
// it into the work area of the nearest monitor.
POINT PlacePrompt(HWND owner, SIZE size);

// Whether `window` is the prompt or one of its controls.
bool BelongsToPrompt(HWND prompt, HWND window);

}  // namespace cadrels
