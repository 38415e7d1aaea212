#include "base/WindowClass.h"
#include "base/WindowProc.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <shellscalingapi.h>

#include <stdexcept>
#include <vector>

namespace cadrels {
namespace {

constexpr wchar_t ThrowingClass[] = L"Cadrels.Thrower";
constexpr UINT ThrowStd = WM_USER + 1;
constexpr UINT ThrowOther = WM_USER + 2;

struct Thrower {
    int handled = 0;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case ThrowStd:
            ++handled;
            throw std::runtime_error("handler failed");
        case ThrowOther:
            ++handled;
            throw 42;
        case WM_GETTEXTLENGTH:
            throw std::logic_error("default handling must still answer");
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }
};

HWND CreateThrower(Thrower& thrower)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ForwardingWndProc<Thrower>;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ThrowingClass;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, ThrowingClass, L"title", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), &thrower);
}

TEST(ForwardingWndProc, AnExceptionEndsAtTheProcedureWithTheDefaultResult)
{
    testing::LogCapture log;
    Thrower thrower;
    HWND window = CreateThrower(thrower);
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(SendMessageW(window, ThrowStd, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window, ThrowOther, 0, 0), 0);
    // DefWindowProc's own answer comes back: the title's length.
    EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(thrower.handled, 2);

    EXPECT_EQ(log.Count(L"Exception interceptee dans Thrower::WndProc (msg=0x0401)"), 1u);
    EXPECT_EQ(log.Count(L"Exception interceptee dans Thrower::WndProc (msg=0x0402)"), 1u);
    EXPECT_EQ(log.Count(L"Exception interceptee dans Thrower::WndProc (msg=0x000E)"), 1u);

    // The window still works after the exceptions.
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
}

constexpr UINT RecorderAnswers = WM_USER + 5;

// A window built on the base the way the program's windows are.
class Recorder : public WindowBase<Recorder> {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Recorder";
    static WindowClassDesc WindowClass() { return {ClassName, CS_DBLCLKS}; }

    ~Recorder()
    {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }

    HWND Open() { return CreateOwnWindow(GetModuleHandleW(nullptr), 0, L"recorder", 0, 0, 0, 0, 0, HWND_MESSAGE); }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        messages.push_back(message);
        if (message == RecorderAnswers) {
            return 7;
        }
        if (message == WM_NCCREATE) {
            window_ = window;
        } else if (message == WM_NCDESTROY) {
            pointerDuringNcDestroy = GetWindowLongPtrW(window, GWLP_USERDATA);
            window_ = nullptr;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    bool Saw(UINT message) const
    {
        for (UINT seen : messages) {
            if (seen == message) {
                return true;
            }
        }
        return false;
    }

    HWND window_ = nullptr;
    std::vector<UINT> messages;
    LONG_PTR pointerDuringNcDestroy = 0;
};

LRESULT CALLBACK FirstProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_USER ? 1 : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK SecondProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_USER ? 2 : DefWindowProcW(window, message, wParam, lParam);
}

TEST(WindowClass, RegisteringAgainKeepsTheFirstRegistration)
{
    constexpr wchar_t Name[] = L"Cadrels.Test.Twice";
    const HINSTANCE module = GetModuleHandleW(nullptr);
    ASSERT_EQ(RegisterWindowClass({Name, CS_DBLCLKS}, FirstProcedure, module), module);
    // Another procedure and another module change nothing: the first caller's
    // module comes back and the first procedure still answers.
    const HINSTANCE otherModule = GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(RegisterWindowClass({Name, 0}, SecondProcedure, otherModule), module);
    EXPECT_EQ(RegisterWindowClass({Name, 0}, SecondProcedure, module), module);

    HWND window = CreateWindowExW(0, Name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 1);
    DestroyWindow(window);
}

TEST(WindowClass, TheClassCarriesTheSpecification)
{
    constexpr wchar_t Arrow[] = L"Cadrels.Test.Arrow";
    constexpr wchar_t Bare[] = L"Cadrels.Test.Bare";
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterWindowClass({Arrow, CS_DBLCLKS | CS_DROPSHADOW, IDC_ARROW, nullptr, brush}, FirstProcedure,
                                  module),
              nullptr);
    ASSERT_NE(RegisterWindowClass({Bare, 0, nullptr}, FirstProcedure, module), nullptr);

    WNDCLASSEXW arrow{};
    arrow.cbSize = sizeof arrow;
    ASSERT_TRUE(GetClassInfoExW(module, Arrow, &arrow));
    EXPECT_EQ(arrow.style, static_cast<UINT>(CS_DBLCLKS | CS_DROPSHADOW));
    EXPECT_EQ(arrow.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(arrow.hbrBackground, brush);
    EXPECT_TRUE(arrow.lpfnWndProc == &FirstProcedure);

    WNDCLASSEXW bare{};
    bare.cbSize = sizeof bare;
    ASSERT_TRUE(GetClassInfoExW(module, Bare, &bare));
    EXPECT_EQ(bare.style, 0u);
    EXPECT_EQ(bare.hCursor, nullptr);
    EXPECT_EQ(bare.hbrBackground, nullptr);
}

TEST(WindowClass, AClassRegisteredElsewhereIsTakenAsItStands)
{
    constexpr wchar_t Name[] = L"Cadrels.Test.Elsewhere";
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SecondProcedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = Name;
    ASSERT_NE(RegisterClassW(&windowClass), 0);

    EXPECT_EQ(RegisterWindowClass({Name}, FirstProcedure, module), module);
    HWND window = CreateWindowExW(0, Name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 2);
    DestroyWindow(window);
}

TEST(WindowBase, TheObjectHearsItsWindowFromNcCreateToNcDestroy)
{
    Recorder recorder;
    HWND window = recorder.Open();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(recorder.messages.empty());
    EXPECT_EQ(recorder.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_TRUE(recorder.Saw(WM_CREATE));
    EXPECT_EQ(recorder.window_, window);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&recorder));

    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), Recorder::ClassName, &registered));
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_DBLCLKS));

    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(recorder.messages.back(), static_cast<UINT>(WM_NCDESTROY));
    // The handler still finds itself during WM_NCDESTROY.
    EXPECT_EQ(recorder.pointerDuringNcDestroy, reinterpret_cast<LONG_PTR>(&recorder));
}

TEST(WindowBase, AfterNcDestroyMessagesNoLongerReachTheObject)
{
    Recorder recorder;
    HWND window = recorder.Open();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(SendMessageW(window, RecorderAnswers, 0, 0), 7);

    // The procedure is handed WM_NCDESTROY while the window still exists, so
    // that what comes after it can be observed.
    ForwardingWndProc<Recorder>(window, WM_NCDESTROY, 0, 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    const size_t heard = recorder.messages.size();
    // The default procedure answers in the object's place.
    EXPECT_EQ(SendMessageW(window, RecorderAnswers, 0, 0), 0);
    EXPECT_EQ(recorder.messages.size(), heard);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(recorder.messages.size(), heard);
}

TEST(WindowDpi, ScaleIsTheDpiOverNinetySix)
{
    struct Case {
        unsigned dpi;
        float scale;
    };
    const Case cases[] = {{96, 1.0f}, {120, 1.25f}, {144, 1.5f}, {192, 2.0f}, {288, 3.0f}, {72, 0.75f}, {0, 1.0f}};
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(DpiScale(c.dpi), c.scale) << c.dpi;
    }
}

TEST(WindowDpi, AWindowGetsItsOwnDpiAndNoWindowItsMonitors)
{
    Recorder recorder;
    HWND window = recorder.Open();
    ASSERT_NE(window, nullptr);
    const UINT own = GetDpiForWindow(window);
    if (own != 0) {
        EXPECT_EQ(WindowDpi(window), own);
    }
    EXPECT_NE(WindowDpi(window), 0u);
    EXPECT_FLOAT_EQ(WindowScale(window), static_cast<float>(WindowDpi(window)) / 96.0f);

    // Without a window GetDpiForWindow has nothing to say: the nearest
    // monitor (the primary one) answers.
    ASSERT_EQ(GetDpiForWindow(nullptr), 0u);
    UINT dpiX = 0;
    UINT dpiY = 0;
    ASSERT_HRESULT_SUCCEEDED(GetDpiForMonitor(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                                              MDT_EFFECTIVE_DPI, &dpiX, &dpiY));
    EXPECT_EQ(WindowDpi(nullptr), dpiX);
}

}  // namespace
}  // namespace cadrels
