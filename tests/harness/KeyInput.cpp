#include "KeyInput.h"

#include <iterator>
#include <vector>

namespace cadrels::testing {

bool SendCombination(std::initializer_list<WORD> modifiers, WORD key)
{
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD virtualKey, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (const WORD modifier : modifiers) {
        add(modifier, false);
    }
    add(key, false);
    add(key, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        add(*it, true);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool SendCtrlAlt(WORD key)
{
    return SendCombination({VK_CONTROL, VK_MENU}, key);
}

bool SendKey(WORD key)
{
    return SendCombination({}, key);
}

bool SendText(std::wstring_view text)
{
    std::vector<INPUT> inputs;
    for (const wchar_t unit : text) {
        for (const bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = unit;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace cadrels::testing
