// The report as the user gets it: a message box titled "Infos PC" holding the
// report, owned by the window that asked for it.
#include "DesktopDriver.h"
#include "LanguageScope.h"
#include "ScreenImage.h"

#include "app/App.h"
#include "i18n/StringTable.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace cadrels::testing {
namespace {

constexpr wchar_t MessageBoxClass[] = L"#32770";

struct ShownBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    bool hasIcon = false;
    RECT rect{};
};

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The message text is the longest static control; the icon is a static too.
ShownBox Inspect(HWND box)
{
    ShownBox shown;
    shown.caption = WindowText(box);
    shown.owner = GetWindow(box, GW_OWNER);
    GetWindowRect(box, &shown.rect);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (_wcsicmp(className, L"Static") != 0) {
            continue;
        }
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            shown.hasIcon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
        std::wstring text = WindowText(child);
        if (text.size() > shown.text.size()) {
            shown.text = std::move(text);
        }
    }
    return shown;
}

// Beside the test program, so a run from any folder leaves it in the build tree.
std::wstring ShotPath(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

ShownBox ShowAndClose(App& app, HWND owner, const wchar_t* shotName)
{
    ShownBox shown;
    ScriptThread script(MessageBoxClass, [&](HWND box) {
        shown = Inspect(box);
        // The box paints on the test's thread; let it finish before the shot.
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(200);
        ScreenImage shot;
        if (shot.Capture(shown.rect)) {
            shot.SavePng(ShotPath(shotName));
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    app.ShowPcInfo(owner);
    EXPECT_FALSE(script.Finish()) << "the message box did not close";
    return shown;
}

// Message boxes turn "\n" into line breaks of their own; compare the words.
std::wstring WithoutLineBreaks(std::wstring text)
{
    std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
    return text;
}

TEST(ShowPcInfo, ShowsTheReportInABoxOwnedByTheAskingWindow)
{
    LanguageScope french(0);
    App app;
    UniqueWindow owner(CreateWindowExW(0, L"Static", L"Reglages", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);

    const ShownBox owned = ShowAndClose(app, owner.Get(), L"sysinfo-box-fr.png");
    EXPECT_EQ(owned.caption, L"Infos PC");
    EXPECT_EQ(owned.owner, owner.Get());
    EXPECT_TRUE(owned.hasIcon);
    // The whole report is readable without scrolling: the box fits the screen.
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT inside{};
    IntersectRect(&inside, &owned.rect, &screen);
    EXPECT_TRUE(EqualRect(&inside, &owned.rect));
    const std::wstring text = WithoutLineBreaks(owned.text);
    EXPECT_EQ(text.rfind(L"Informations PC", 0), 0u) << owned.text.c_str();
    for (const wchar_t* part : {L"Identité", L"- Nom du PC : ", L"Système", L"- Windows : ", L"Graphique"}) {
        EXPECT_NE(text.find(part), std::wstring::npos) << part;
    }

    // An owner closed meanwhile must not swallow the box.
    const HWND closed = owner.Get();
    owner.Reset();
    LanguageScope english(1);
    const ShownBox unowned = ShowAndClose(app, closed, L"sysinfo-box-en.png");
    EXPECT_EQ(unowned.caption, L"PC info");
    EXPECT_EQ(unowned.owner, nullptr);
    EXPECT_EQ(WithoutLineBreaks(unowned.text).rfind(L"PC information", 0), 0u) << unowned.text.c_str();
}

}  // namespace
}  // namespace cadrels::testing
