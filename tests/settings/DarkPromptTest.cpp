// The choice and text prompts as a user drives them: real windows on the
// test's main thread, keys, clicks and other windows from a script thread.
#include "DesktopDriver.h"

#include "model/Theme.h"
#include "settings/DarkPrompt.h"
#include "settings/Placement.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace cadrels::testing {
namespace {

constexpr wchar_t PromptClass[] = L"Cadrels.DarkPrompt";
const std::vector<std::wstring> FourButtons = {L"Fermer", L"Masquer", L"Déplacer", L"Annuler"};

HWND Button(HWND prompt, int index)
{
    return GetDlgItem(prompt, 100 + index);
}

HWND EditOf(HWND prompt)
{
    return FindWindowExW(prompt, nullptr, L"Edit", nullptr);
}

// Waits until the focus on the main thread is `window`.
bool WaitForFocus(DWORD mainThread, HWND window)
{
    return WaitUntil([&] { return FocusOf(mainThread) == window; }, 2000);
}

RECT ClientRectIn(HWND child, HWND parent)
{
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class DarkPrompt : public ::testing::Test {
protected:
    void SetUp() override { ApplyTheme(1); }
    void TearDown() override
    {
        EXPECT_TRUE(ProcessWindows(PromptClass).empty()) << "a prompt window outlived its prompt";
    }
    const DWORD mainThread_ = GetCurrentThreadId();
};

int RunChoice(const std::function<void(HWND)>& script, bool* timedOut,
              const std::vector<std::wstring>& buttons = FourButtons, HWND owner = nullptr)
{
    ScriptThread thread(PromptClass, script);
    const int result = ShowChoicePrompt(owner, L"Que faire de cette cadrel ?", buttons, 96);
    *timedOut = thread.Finish();
    return result;
}

TEST_F(DarkPrompt, EnterRightAfterOpeningChoosesTheFirstButton)
{
    bool timedOut = false;
    EXPECT_EQ(RunChoice([](HWND prompt) { PostKey(prompt, VK_RETURN); }, &timedOut), 0);
    EXPECT_FALSE(timedOut);
}

TEST_F(DarkPrompt, KeyboardAndMouseChooseButtons)
{
    const DWORD main = mainThread_;
    struct Case {
        const char* name;
        std::function<void(HWND)> script;
        int expected;
    };
    const Case cases[] = {
        {"Esc dismisses", [](HWND prompt) { PostKey(prompt, VK_ESCAPE); }, -1},
        {"Tab then Enter chooses the second",
         [main](HWND prompt) {
             PostKey(prompt, VK_TAB);
             ASSERT_TRUE(WaitForFocus(main, Button(prompt, 1)));
             PostKey(prompt, VK_RETURN);
         },
         1},
        {"Space presses the focused button",
         [main](HWND prompt) {
             PostKey(prompt, VK_TAB);
             PostKey(prompt, VK_TAB);
             ASSERT_TRUE(WaitForFocus(main, Button(prompt, 2)));
             PostKey(Button(prompt, 2), VK_SPACE);
         },
         2},
        {"Tab wraps around the buttons",
         [main](HWND prompt) {
             for (int i = 0; i < 4; ++i) {
                 PostKey(prompt, VK_TAB);
             }
             ASSERT_TRUE(WaitForFocus(main, Button(prompt, 0)));
             PostKey(prompt, VK_RETURN);
         },
         0},
        {"a click chooses its button",
         [](HWND prompt) {
             const RECT rect = WindowRect(Button(prompt, 3));
             PostClick(Button(prompt, 3), {rect.left + 10, rect.top + 10});
         },
         3},
    };
    for (const Case& c : cases) {
        bool timedOut = false;
        EXPECT_EQ(RunChoice(c.script, &timedOut), c.expected) << c.name;
        EXPECT_FALSE(timedOut) << c.name;
    }
}

// A timer of the program answers the prompt: it only fires when the prompt's
// loop dispatches what it does not consume itself.
struct AnsweringTimer {
    static inline int ticks = 0;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ++ticks;
        KillTimer(nullptr, id);
        const std::vector<HWND> prompts = ProcessWindows(L"Cadrels.DarkPrompt");
        if (!prompts.empty()) {
            PostKey(Button(prompts.front(), 2), VK_SPACE);
        }
    }
};

TEST_F(DarkPrompt, TimersKeepRunningWhileAPromptIsOpen)
{
    AnsweringTimer::ticks = 0;
    ASSERT_NE(SetTimer(nullptr, 0, 200, &AnsweringTimer::OnTimer), 0u);
    ScriptThread watchdog([] {});
    EXPECT_EQ(ShowChoicePrompt(nullptr, L"Que faire ?", FourButtons, 96), 2);
    EXPECT_FALSE(watchdog.Finish());
    EXPECT_EQ(AnsweringTimer::ticks, 1);
}

TEST_F(DarkPrompt, NoButtonsReturnsAtOnceWithoutAWindow)
{
    EXPECT_EQ(ShowChoicePrompt(nullptr, L"Rien", {}, 96), -1);
    EXPECT_TRUE(ProcessWindows(PromptClass).empty());
}

TEST_F(DarkPrompt, ChoiceLayoutFollowsTheHeightFormulaAndCentresOnTheOwner)
{
    struct DpiCase {
        int dpi;
        int margin, top, width, buttonHeight, gap;
    };
    const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 700, 500, nullptr, nullptr,
                                       nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    for (const DpiCase& c : {DpiCase{96, 16, 14, 380, 36, 8}, DpiCase{144, 24, 21, 570, 54, 12}}) {
        const std::wstring text = L"Que faire de cette cadrel ?";
        const int textHeight = MeasureChoicePromptText(text, c.dpi);
        ASSERT_GT(textHeight, 0);
        RECT prompt{};
        std::vector<RECT> buttons;
        RECT label{};
        ScriptThread script(PromptClass, [&](HWND window) {
            prompt = WindowRect(window);
            for (int i = 0; i < 4; ++i) {
                buttons.push_back(ClientRectIn(Button(window, i), window));
            }
            label = ClientRectIn(FindWindowExW(window, nullptr, L"Static", nullptr), window);
            PostKey(window, VK_ESCAPE);
        });
        EXPECT_EQ(ShowChoicePrompt(owner, text, FourButtons, c.dpi), -1);
        EXPECT_FALSE(script.Finish());

        EXPECT_EQ(prompt.bottom - prompt.top,
                  c.top + 2 * c.margin + textHeight + 4 * c.buttonHeight + 3 * c.gap) << "dpi " << c.dpi;
        EXPECT_EQ(prompt.right - prompt.left, c.width);
        EXPECT_NEAR((prompt.left + prompt.right) / 2, 100 + 350, 1) << "centred on the owner";
        EXPECT_NEAR((prompt.top + prompt.bottom) / 2, 120 + 250, 1);
        EXPECT_EQ(label.left, c.margin);
        EXPECT_EQ(label.top, c.margin);
        EXPECT_EQ(label.bottom - label.top, textHeight);
        ASSERT_EQ(buttons.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            const RECT& b = buttons[static_cast<size_t>(i)];
            EXPECT_EQ(b.top, c.top + textHeight + c.margin + i * (c.buttonHeight + c.gap)) << "button " << i;
            EXPECT_EQ(b.bottom - b.top, c.buttonHeight);
            EXPECT_EQ(b.left, c.margin);
            EXPECT_EQ(b.right, c.width - c.margin);
        }
    }
    DestroyWindow(owner);
}

TEST_F(DarkPrompt, LongMessageWrapsAndGrowsThePrompt)
{
    const std::wstring oneLine = L"Fermer ?";
    std::wstring words;
    for (int i = 0; i < 40; ++i) {
        words += L"cadrel ";
    }
    EXPECT_GT(MeasureChoicePromptText(words, 96), 2 * MeasureChoicePromptText(oneLine, 96));
    EXPECT_GT(MeasureChoicePromptText(oneLine, 144), MeasureChoicePromptText(oneLine, 96));
}

TEST_F(DarkPrompt, QuitEndsBothPromptsAndStillReachesTheOuterLoop)
{
    const DWORD main = mainThread_;
    {
        bool timedOut = false;
        EXPECT_EQ(RunChoice([main](HWND) { PostThreadMessageW(main, WM_QUIT, 7, 0); }, &timedOut), -1);
        EXPECT_FALSE(timedOut);
        MSG message{};
        ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(message.wParam, 7u);
    }
    {
        ScriptThread script(PromptClass, [main](HWND) {
            PostThreadMessageW(main, WM_QUIT, 8, 0);
        });
        std::wstring text = L"avant";
        EXPECT_FALSE(ShowTextPrompt(nullptr, L"Nom :", text, 96));
        EXPECT_FALSE(script.Finish());
        EXPECT_EQ(text, L"avant");
        MSG message{};
        ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(message.wParam, 8u);
    }
}

TEST_F(DarkPrompt, TextPromptConfirmsWithEnterAndCancelsWithEsc)
{
    const DWORD main = mainThread_;
    struct Case {
        const char* name;
        std::function<void(HWND prompt, HWND edit)> script;
        bool confirmed;
        std::wstring text;
    };
    const Case cases[] = {
        {"Enter keeps the initial text", [](HWND, HWND edit) { PostKey(edit, VK_RETURN); }, true, L"Projets 2024"},
        {"typing replaces the selected initial text",
         [](HWND, HWND edit) {
             PostMessageW(edit, WM_CHAR, L'x', 1);
             PostMessageW(edit, WM_CHAR, L'é', 1);
             PostKey(edit, VK_RETURN);
         },
         true, L"xé"},
        {"an empty confirmed text is returned as it is",
         [](HWND, HWND edit) {
             SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
             PostKey(edit, VK_RETURN);
         },
         true, std::wstring()},
        {"Esc cancels and keeps the caller's text",
         [](HWND, HWND edit) {
             PostMessageW(edit, WM_CHAR, L'x', 1);
             PostKey(edit, VK_ESCAPE);
         },
         false, L"Projets 2024"},
    };
    for (const Case& c : cases) {
        ScriptThread script(PromptClass, [&](HWND prompt) {
            const HWND edit = EditOf(prompt);
            ASSERT_NE(edit, nullptr);
            ASSERT_TRUE(WaitForFocus(main, edit)) << c.name << ": the edit line has no focus";
            DWORD start = 1;
            DWORD end = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u) << c.name << ": the initial text is not selected";
            EXPECT_EQ(end, 12u) << c.name;
            c.script(prompt, edit);
        });
        std::wstring text = L"Projets 2024";
        EXPECT_EQ(ShowTextPrompt(nullptr, L"Nom de la cadrel :", text, 96), c.confirmed) << c.name;
        EXPECT_FALSE(script.Finish()) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
}

TEST_F(DarkPrompt, TextPromptSizeAtTwoDpis)
{
    // 12 margins, a 20 label, a 6 gap and a 26 edit line, scaled.
    for (const auto& [dpi, width, height, editTop, editHeight] :
         {std::tuple{96, 320, 76, 38, 26}, std::tuple{144, 480, 114, 57, 39}}) {
        RECT prompt{};
        RECT edit{};
        ScriptThread script(PromptClass, [&](HWND window) {
            prompt = WindowRect(window);
            edit = ClientRectIn(EditOf(window), window);
            PostKey(window, VK_ESCAPE);
        });
        std::wstring text;
        EXPECT_FALSE(ShowTextPrompt(nullptr, L"Nom :", text, dpi));
        EXPECT_FALSE(script.Finish());
        EXPECT_EQ(prompt.right - prompt.left, width);
        EXPECT_EQ(prompt.bottom - prompt.top, height);
        EXPECT_EQ(edit.top, editTop);
        EXPECT_EQ(edit.bottom - edit.top, editHeight);
    }
}

std::wstring HelperPath(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

// Starts the helper that takes the foreground from another process.
bool StartForeignWindow(PROCESS_INFORMATION& process)
{
    std::wstring commandLine = L"\"" + HelperPath(L"foreign_window.exe") + L"\" 1500";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
}

TEST_F(DarkPrompt, AnotherApplicationTakingTheForegroundDismisses)
{
    PROCESS_INFORMATION choiceHelper{};
    bool timedOut = false;
    EXPECT_EQ(RunChoice([&](HWND) { ASSERT_TRUE(StartForeignWindow(choiceHelper)); }, &timedOut), -1);
    EXPECT_FALSE(timedOut) << "the prompt stayed open behind the other application";
    // The first helper's window keeps the foreground until it exits; a prompt
    // opened meanwhile would be dismissed before the script could see it.
    if (choiceHelper.hProcess != nullptr) {
        WaitForSingleObject(choiceHelper.hProcess, 10000);
    }

    PROCESS_INFORMATION textHelper{};
    ScriptThread script(PromptClass, [&](HWND) {
        ASSERT_TRUE(StartForeignWindow(textHelper));
    });
    std::wstring text = L"garde";
    EXPECT_FALSE(ShowTextPrompt(nullptr, L"Nom :", text, 96));
    EXPECT_FALSE(script.Finish());
    EXPECT_EQ(text, L"garde");

    for (PROCESS_INFORMATION* helper : {&choiceHelper, &textHelper}) {
        if (helper->hProcess != nullptr) {
            WaitForSingleObject(helper->hProcess, 10000);
            CloseHandle(helper->hProcess);
            CloseHandle(helper->hThread);
        }
    }
}

TEST_F(DarkPrompt, AnotherWindowOfTheProgramDoesNotDismiss)
{
    // Another window of the program, on the user-interface thread like every
    // window of the program, takes the foreground as a click on it would.
    const HWND other = CreateWindowExW(0, L"STATIC", L"Autre fenêtre", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 200,
                                       100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    bool timedOut = false;
    bool tookForeground = false;
    bool stillShown = false;
    const int result = RunChoice(
        [&](HWND prompt) {
            SetForegroundWindow(other);
            tookForeground = WaitUntil([&] { return GetForegroundWindow() == other; }, 2000);
            Sleep(200);
            stillShown = IsWindowVisible(prompt) != FALSE;
            PostKey(prompt, VK_RETURN);
        },
        &timedOut);
    DestroyWindow(other);
    EXPECT_TRUE(tookForeground);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, 0) << "the prompt was dismissed by a window of its own program";
    EXPECT_FALSE(timedOut);
}

}  // namespace
}  // namespace cadrels::testing
