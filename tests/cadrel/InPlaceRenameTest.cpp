#include "cadrel/InPlaceRename.h"

#include <gtest/gtest.h>

#include <string>

namespace cadrels {
namespace {

constexpr RECT Box{200, 150, 420, 180};

// Whether `message` waits in the owner's queue; takes every one of them out.
bool Posted(HWND owner, UINT message)
{
    MSG msg;
    bool found = false;
    while (PeekMessageW(&msg, owner, message, message, PM_REMOVE)) {
        found = true;
    }
    return found;
}

std::pair<DWORD, DWORD> Selection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// The owner stands for the cadrel: a window of this thread that receives
// what the box posts.
class Rename : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override
    {
        rename.Close();
        DestroyWindow(owner);
    }
    void Drain()
    {
        Posted(owner, WM_CADREL_RENAME_COMMIT);
        Posted(owner, WM_CADREL_RENAME_CANCEL);
    }

    HWND owner = nullptr;
    InPlaceRename rename;
};

TEST_F(Rename, OpensOverTheRectangleWithTheTextAndSelection)
{
    ASSERT_TRUE(rename.Open(owner, Box, L"Rapport annuel.docx", 0, 14, 144, {3, -1, L"C:\\Docs\\Rapport annuel.docx"}));
    ASSERT_TRUE(rename.IsOpen());
    HWND edit = rename.Edit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(rename.Text(), L"Rapport annuel.docx");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{14})) << "the name without its extension";
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), InPlaceRename::MaxLength);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWL_STYLE) & ES_CENTER, 0) << "a file name reads from the left";

    HWND host = GetParent(edit);
    ASSERT_NE(host, nullptr);
    RECT placed{};
    GetWindowRect(host, &placed);
    EXPECT_EQ(placed.left, Box.left);
    EXPECT_EQ(placed.top, Box.top);
    EXPECT_EQ(placed.right, Box.right);
    EXPECT_EQ(placed.bottom, Box.bottom);
    EXPECT_NE(GetWindowLongPtrW(host, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_NE(font, nullptr);
    ASSERT_NE(GetObjectW(font, sizeof logFont, &logFont), 0);
    EXPECT_EQ(logFont.lfHeight, -21) << "14 points at 144 dpi";

    EXPECT_FALSE(rename.Open(owner, Box, L"autre", 0, -1, 96, {})) << "one box at a time";
    EXPECT_EQ(rename.Edit(), edit);
    EXPECT_EQ(rename.Subject().item, 3);
    EXPECT_EQ(rename.Subject().path, L"C:\\Docs\\Rapport annuel.docx");

    const RenameSubject closed = rename.Close();
    EXPECT_EQ(closed.item, 3);
    EXPECT_EQ(closed.path, L"C:\\Docs\\Rapport annuel.docx");
    EXPECT_FALSE(rename.IsOpen());
    EXPECT_EQ(rename.Edit(), nullptr);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_FALSE(IsWindow(host));
    EXPECT_TRUE(rename.Text().empty());
    EXPECT_EQ(rename.Subject().item, -1);
    EXPECT_TRUE(rename.Subject().path.empty());
}

TEST_F(Rename, ATabTitleIsCentredAndAllSelected)
{
    ASSERT_TRUE(rename.Open(owner, Box, L"Bureau", 0, -1, 96, {-1, 2, {}}));
    EXPECT_NE(GetWindowLongPtrW(rename.Edit(), GWL_STYLE) & ES_CENTER, 0);
    EXPECT_EQ(Selection(rename.Edit()), std::make_pair(DWORD{0}, DWORD{6}));
    EXPECT_TRUE(rename.Subject().IsTab());
    EXPECT_EQ(rename.Close().tab, 2);
}

TEST_F(Rename, RefusesNoOwnerOrAnEmptyRectangle)
{
    EXPECT_FALSE(rename.Open(nullptr, Box, L"x", 0, -1, 96, {}));
    EXPECT_FALSE(rename.Open(owner, RECT{10, 10, 10, 40}, L"x", 0, -1, 96, {}));
    EXPECT_FALSE(rename.Open(owner, RECT{10, 40, 90, 40}, L"x", 0, -1, 96, {}));
    EXPECT_FALSE(rename.IsOpen());
    EXPECT_EQ(rename.Close().tab, -1) << "closing no box is harmless";
}

TEST_F(Rename, EnterCommitsEscapeCancelsAndNeitherIsTyped)
{
    ASSERT_TRUE(rename.Open(owner, Box, L"notes.txt", 0, 5, 96, {0, -1, L"C:\\notes.txt"}));
    HWND edit = rename.Edit();
    Drain();

    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(Posted(owner, WM_CADREL_RENAME_COMMIT));
    EXPECT_FALSE(Posted(owner, WM_CADREL_RENAME_CANCEL));
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Posted(owner, WM_CADREL_RENAME_CANCEL));
    EXPECT_FALSE(Posted(owner, WM_CADREL_RENAME_COMMIT));

    SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
    SendMessageW(edit, WM_CHAR, VK_ESCAPE, 0);
    EXPECT_EQ(rename.Text(), L"notes.txt") << "the ending keys type nothing";
    SendMessageW(edit, WM_CHAR, L'X', 0);
    EXPECT_EQ(rename.Text(), L"X.txt") << "other keys replace the selection";

    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(Posted(owner, WM_CADREL_RENAME_COMMIT)) << "losing the keyboard commits";
}

TEST_F(Rename, ClosingPostsNothing)
{
    ASSERT_TRUE(rename.Open(owner, Box, L"notes.txt", 0, 5, 96, {0, -1, L"C:\\notes.txt"}));
    HWND edit = rename.Edit();
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit) << "the box goes with the keyboard, as it does over a cadrel";
    Drain();
    rename.Close();
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_FALSE(Posted(owner, WM_CADREL_RENAME_COMMIT)) << "the box's own end is no commit";
    EXPECT_FALSE(Posted(owner, WM_CADREL_RENAME_CANCEL));
}

}  // namespace
}  // namespace cadrels
