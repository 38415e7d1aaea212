#include "base/WindowProc.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

}  // namespace
}  // namespace cadrels
