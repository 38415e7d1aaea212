// The desktop's low-level hooks on the real program, driven by real input: a
// double-click on the bare desktop hides and shows the cadrels, Space over a
// cadrel with a selection asks for quick look instead of reaching the
// program that has the keyboard, and neither depends on the main thread
// answering.
#include "CadrelScenario.h"
#include "DesktopInput.h"
#include "KeyInput.h"
#include "ScreenImage.h"
#include "TestFiles.h"

#include "app/CopyData.h"
#include "app/PageRequest.h"
#include "base/AppMessages.h"
#include "base/UniqueHandle.h"
#include "cadrel/CadrelLayout.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace cadrels::testing {
namespace {

constexpr wchar_t CadrelClass[] = L"Cadrels.Cadrel";
constexpr wchar_t RenameClass[] = L"Cadrels.RenameHost";
constexpr wchar_t Hidden[] = L"Cadrels masquees.";
constexpr wchar_t Shown[] = L"Cadrels affichees.";
constexpr wchar_t SpaceAsked[] = L"Apercu rapide demande par la touche Espace.";

// A text editor of the test's own on a thread that pumps its messages: what
// a person types into while the pointer rests over a cadrel.
class TestEditor {
public:
    explicit TestEditor(RECT rect)
    {
        thread_ = std::thread([this, rect] {
            threadId_ = GetCurrentThreadId();
            HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE, rect.left,
                                        rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                        nullptr, nullptr);
            edit_.store(edit);
            MSG message{};
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            DestroyWindow(edit);
        });
        WaitFor([&] { return edit_.load() != nullptr; });
    }
    ~TestEditor()
    {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    TestEditor(const TestEditor&) = delete;
    TestEditor& operator=(const TestEditor&) = delete;

    HWND Window() const { return edit_.load(); }
    std::wstring Text() const
    {
        wchar_t text[256] = {};
        GetWindowTextW(Window(), text, 256);
        return text;
    }
    // In front with the keyboard; a top-level edit takes the focus when it
    // is activated.
    bool TakeKeyboard() const
    {
        return WaitFor([&] {
            SetForegroundWindow(Window());
            return GetForegroundWindow() == Window();
        });
    }

private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> edit_{nullptr};
};

// Types one key as a person does; false when the system refused it.
bool Type(WORD key)
{
    return SendCombination({}, key);
}

// Holds the program's main thread still, as a long modal shell dialog or a
// paint that takes seconds would, until it goes out of scope.
class MainThreadHeld {
public:
    explicit MainThreadHeld(HWND appWindow)
        : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(appWindow, nullptr)))
    {
        held_ = thread_ && SuspendThread(thread_.Get()) != static_cast<DWORD>(-1);
    }
    ~MainThreadHeld()
    {
        if (held_) {
            ResumeThread(thread_.Get());
        }
    }
    MainThreadHeld(const MainThreadHeld&) = delete;
    MainThreadHeld& operator=(const MainThreadHeld&) = delete;
    bool Held() const { return held_; }

private:
    UniqueHandle thread_;
    bool held_ = false;
};

class DesktopHooks : public CadrelScenario {
protected:
    DesktopHooks() : CadrelScenario(L"desktop-hooks") {}

    void StartWith(bool dblClickHide, int pages = 1)
    {
        folder_ = root_ + L"\\Bureau";
        CreateDirectoryW(folder_.c_str(), nullptr);
        for (const wchar_t* name : {L"un.qlk", L"deux.qlk", L"trois.qlk"}) {
            ASSERT_TRUE(WriteBytes(folder_ + L"\\" + name, "x"));
        }
        Settings settings;
        for (int i = 0; i < pages; ++i) {
            Workspace page;
            page.id = "{page" + std::to_string(i) + "}";
            page.name = L"Page " + std::to_wstring(i + 1);
            AddPinned(page, i == 0 ? "dh" : "autre", 0.30, 0.15, 0.30, 0.45, {CadrelTab{L"Bureau", folder_}});
            settings.workspaces.push_back(std::move(page));
        }
        settings.dblClickHide = dblClickHide;
        settings.hotkeys[HotkeyToggleHidden] = HotkeyBinding{MOD_CONTROL | MOD_ALT, 'H'};
        StartWithSettings(settings);
        ASSERT_TRUE(app_.WaitForLine(L"Cadrel dh : 3 elements listes.", 10000));
        cadrel_ = CadrelTitled(L"Bureau");
        ASSERT_NE(cadrel_, nullptr);
        const LONG width = work_.right - work_.left;
        const LONG height = work_.bottom - work_.top;
        // Clear of the cadrel, of the test's editor and of the preview,
        // which is centred over most of the work area.
        bare_ = {work_.left + width * 92 / 100, work_.top + height * 92 / 100};
    }

    POINT Item(int index) const { return ItemCentre(cadrel_, ViewIconGrid, index, 3); }
    bool CadrelShown() const { return IsWindowVisible(cadrel_) != FALSE; }

    // A pause beyond the double-click time, so the next press pairs with
    // nothing before it.
    static void Pause() { Sleep(GetDoubleClickTime() + 150); }

    // Clicks an item and waits until the program has taken the click (a
    // click on the item already selected would open its rename box). The
    // click's input reaches the program after every message the hooks
    // posted for earlier input, so once its line is there they were handled.
    void ClickItem(int index)
    {
        const size_t before = app_.CountLines(L"Cadrel dh : selection [");
        Pause();
        Click(Item(index));
        ASSERT_TRUE(app_.WaitForLine(L"Cadrel dh : selection [", 5000, before + 1));
        Pause();
    }

    void Toggles(size_t hidden, size_t shown) const
    {
        EXPECT_EQ(app_.CountLines(Hidden), hidden);
        EXPECT_EQ(app_.CountLines(Shown), shown);
    }

    bool PreviewOpen() const
    {
        for (HWND preview : app_.TopLevelWindows(L"Cadrels.Preview")) {
            if (IsWindowVisible(preview)) {
                return true;
            }
        }
        return false;
    }

    // The preview Space opened takes the keyboard; Escape closes it.
    void ClosePreview() const
    {
        ASSERT_TRUE(WaitFor([&] { return PreviewOpen(); })) << "the preview opens";
        ASSERT_TRUE(WaitFor([&] {
            HWND front = GetForegroundWindow();
            wchar_t name[64] = {};
            return front != nullptr && GetClassNameW(front, name, 64) > 0 && std::wstring(name) == L"Cadrels.Preview";
        }));
        ASSERT_TRUE(Type(VK_ESCAPE));
        ASSERT_TRUE(WaitFor([&] { return !PreviewOpen(); })) << "Escape closes the preview";
    }

    void Screenshot(const wchar_t* name) const
    {
        ScreenImage screen;
        ASSERT_TRUE(CaptureSettled(screen));
        EXPECT_TRUE(screen.SavePng(std::wstring(CADRELS_TEST_OUTPUT_DIR) + L"\\" + name));
    }

    std::wstring folder_;
    HWND cadrel_ = nullptr;
    POINT bare_{};
};

TEST_F(DesktopHooks, DoubleClicksOnTheBareDesktopHideAndShowTheCadrels)
{
    StartWith(true);
    ASSERT_TRUE(app_.WaitForLine(L"Crochets du bureau sur leur propre fil : souris installe, clavier installe.", 5000));

    DoubleClick(bare_);
    ASSERT_TRUE(app_.WaitForLine(Hidden, 5000));
    EXPECT_TRUE(WaitFor([&] { return !CadrelShown(); }));
    Screenshot(L"desktop-hidden.png");
    Pause();
    DoubleClick(bare_);
    ASSERT_TRUE(app_.WaitForLine(Shown, 5000));
    EXPECT_TRUE(WaitFor([&] { return CadrelShown(); }));
    Screenshot(L"desktop-shown.png");

    // Three quick clicks toggle once: the third starts a new pair.
    Pause();
    PointerTo(bare_);
    for (int i = 0; i < 3; ++i) {
        Button(MOUSEEVENTF_LEFTDOWN);
        Button(MOUSEEVENTF_LEFTUP);
    }
    ASSERT_TRUE(app_.WaitForLine(Hidden, 5000, 2));
    Pause();
    DoubleClick(bare_);
    ASSERT_TRUE(app_.WaitForLine(Shown, 5000, 2));
    ClickItem(0);
    Toggles(2, 2);
    EXPECT_TRUE(CadrelShown());

    // Two quick clicks farther apart than the double-click rectangle.
    PointerTo(bare_);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    MovePointer({bare_.x + 4 * GetSystemMetrics(SM_CXDOUBLECLK) + 10, bare_.y});
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    ClickItem(1);
    Toggles(2, 2);

    // A double-click in another program's window is that program's.
    const LONG width = work_.right - work_.left;
    TestEditor editor({work_.left + width * 70 / 100, work_.top + 40, work_.left + width * 95 / 100, work_.top + 260});
    ASSERT_TRUE(editor.TakeKeyboard());
    const PixelRect editorRect = RectOf(editor.Window());
    DoubleClick({(editorRect.left + editorRect.right) / 2, (editorRect.top + editorRect.bottom) / 2});
    ClickItem(2);
    Toggles(2, 2);
    EXPECT_TRUE(CadrelShown());
}

TEST_F(DesktopHooks, SpaceOverASelectionAsksForQuickLookAndNeverBreaksTyping)
{
    StartWith(true);
    const LONG width = work_.right - work_.left;
    TestEditor editor({work_.left + width * 70 / 100, work_.top + 40, work_.left + width * 95 / 100, work_.top + 260});

    // Selected item under the pointer: Space is quick look's, not the
    // editor's, and the key after it still reaches the editor.
    ClickItem(1);
    ASSERT_TRUE(editor.TakeKeyboard());
    PointerTo(Item(1));
    ASSERT_TRUE(Type(VK_SPACE));
    ASSERT_TRUE(app_.WaitForLine(SpaceAsked, 5000));
    // While the preview is open Space is its own: it closes it.
    ASSERT_TRUE(WaitFor([&] { return PreviewOpen(); })) << "the preview opens";
    ASSERT_TRUE(Type(VK_SPACE));
    ASSERT_TRUE(WaitFor([&] { return !PreviewOpen(); })) << "Space closes the preview";
    EXPECT_EQ(app_.CountLines(SpaceAsked), 1u);
    ASSERT_TRUE(editor.TakeKeyboard());
    ASSERT_TRUE(Type('X'));
    ASSERT_TRUE(WaitFor([&] { return editor.Text() == L"x"; })) << "the editor holds \"" << editor.Text() << "\"";

    // Without a selection the space is typed.
    const PixelRect rect = RectOf(cadrel_);
    const size_t cleared = app_.CountLines(L"Cadrel dh : selection [].");
    Click({(rect.left + rect.right) / 2, rect.bottom - 40});
    ASSERT_TRUE(app_.WaitForLine(L"Cadrel dh : selection [].", 5000, cleared + 1));
    ASSERT_TRUE(editor.TakeKeyboard());
    PointerTo(Item(1));
    ASSERT_TRUE(Type(VK_SPACE));
    ASSERT_TRUE(WaitFor([&] { return editor.Text() == L"x "; })) << "the editor holds \"" << editor.Text() << "\"";
    EXPECT_EQ(app_.CountLines(SpaceAsked), 1u);

    // The rename box has the keyboard: the space goes into the name.
    ClickItem(2);
    Click(Item(2));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> hosts = app_.TopLevelWindows(RenameClass);
        box = hosts.empty() ? nullptr : FindWindowExW(hosts.front(), nullptr, L"EDIT", nullptr);
        return box != nullptr && IsWindowVisible(hosts.front());
    })) << "a second, slow click opens the rename box";
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == GetAncestor(box, GA_ROOT); }));
    const auto boxText = [&] {
        // GetWindowTextW reads only the caption of another process's window.
        wchar_t text[64] = {};
        SendMessageW(box, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    const std::wstring name = boxText();
    ASSERT_EQ(name.size(), 6u) << "un.qlk sorts last";
    PointerTo(Item(2));
    ASSERT_TRUE(Type(VK_END));
    ASSERT_TRUE(Type(VK_SPACE));
    EXPECT_TRUE(WaitFor([&] { return boxText() == name + L" "; })) << "the box holds \"" << boxText() << "\"";
    EXPECT_EQ(app_.CountLines(SpaceAsked), 1u);
    ASSERT_TRUE(Type(VK_ESCAPE));
    ASSERT_TRUE(WaitFor([&] { return app_.TopLevelWindows(RenameClass).empty(); }));
    EXPECT_TRUE(FileExists(folder_ + L"\\" + name));

    // The main thread held for ten seconds: the hooks go on deciding, and
    // what they posted is handled once it runs again.
    ClickItem(0);
    ASSERT_TRUE(editor.TakeKeyboard());
    const ULONGLONG heldAt = GetTickCount64();
    {
        MainThreadHeld held(app_.AppWindow());
        ASSERT_TRUE(held.Held());
        PointerTo(Item(0));
        ASSERT_TRUE(Type(VK_SPACE));
        ASSERT_TRUE(Type('Y'));
        ASSERT_TRUE(WaitFor([&] { return editor.Text() == L"x y"; })) << "the editor holds \"" << editor.Text() << "\"";
        Pause();
        DoubleClick(bare_);
        const ULONGLONG heldFor = GetTickCount64() - heldAt;
        if (heldFor < 10000) {
            Sleep(static_cast<DWORD>(10000 - heldFor));
        }
    }
    ASSERT_TRUE(app_.WaitForLine(SpaceAsked, 10000, 2));
    ASSERT_TRUE(app_.WaitForLine(Hidden, 10000));
    EXPECT_TRUE(WaitFor([&] { return !CadrelShown(); }));
    ClosePreview();

    // And afterwards both hooks still work.
    Pause();
    DoubleClick(bare_);
    ASSERT_TRUE(app_.WaitForLine(Shown, 5000));
    ClickItem(1);
    ASSERT_TRUE(editor.TakeKeyboard());
    PointerTo(Item(1));
    ASSERT_TRUE(Type(VK_SPACE));
    EXPECT_TRUE(app_.WaitForLine(SpaceAsked, 5000, 3));
    ClosePreview();
    ASSERT_TRUE(editor.TakeKeyboard());
    ASSERT_TRUE(Type('Z'));
    EXPECT_TRUE(WaitFor([&] { return editor.Text() == L"x yz"; })) << "the editor holds \"" << editor.Text() << "\"";
}

// With "dblClickHide" off the desktop's double-click does nothing; the
// hidden state the shortcut sets survives a device loss and a display
// change, and a page switch shows the new page's cadrels.
TEST_F(DesktopHooks, TheSettingTheShortcutADeviceLossAndAPageSwitch)
{
    StartWith(false, 2);
    DoubleClick(bare_);
    ClickItem(0);
    Toggles(0, 0);
    EXPECT_TRUE(CadrelShown());

    ASSERT_TRUE(SendCtrlAlt('H'));
    ASSERT_TRUE(app_.WaitForLine(Hidden, 5000));
    EXPECT_TRUE(WaitFor([&] { return !CadrelShown(); }));
    const size_t recovered = app_.CountLines(L"Device recree avec succes.");
    PostMessageW(app_.AppWindow(), WM_APP_DEVICE_LOST, 0, 0);
    ASSERT_TRUE(app_.WaitForLine(L"Device recree avec succes.", 10000, recovered + 1));
    EXPECT_FALSE(CadrelShown()) << "a device loss shows no hidden cadrel";
    const std::vector<HWND> broadcasts = app_.TopLevelWindows(L"Cadrels.Broadcasts");
    ASSERT_FALSE(broadcasts.empty());
    PostMessageW(broadcasts.front(), WM_DISPLAYCHANGE, 32, MAKELPARAM(work_.right, work_.bottom));
    ASSERT_TRUE(app_.WaitForLine(L"Reconfiguration d'ecran appliquee", 10000));
    EXPECT_FALSE(CadrelShown()) << "a display change shows no hidden cadrel";

    const std::wstring request = CopyDataPayload(PageRequestText(PageRequest{PageAction::SwitchPage, 1, {}}));
    COPYDATASTRUCT data{CopyDataPageRequest, static_cast<DWORD>(request.size() * sizeof(wchar_t)),
                        const_cast<wchar_t*>(request.data())};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(app_.AppWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &result);
    ASSERT_TRUE(app_.WaitForLine(L"Cadrels affichees : la page change.", 5000));
    HWND other = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        other = CadrelTitled(L"Bureau");
        return other != nullptr && IsWindowVisible(other);
    }));
}

}  // namespace
}  // namespace cadrels::testing
