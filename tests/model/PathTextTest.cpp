#include "model/PathText.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(PathText, AsciiCaseFoldCoversExactlyAToZ)
{
    for (wchar_t c = L'A'; c <= L'Z'; ++c) {
        EXPECT_EQ(AsciiLower(c), static_cast<wchar_t>(c + 32)) << static_cast<char>(c);
    }
    // The neighbours of the range and letters beyond ASCII stay as they are.
    for (wchar_t c : {L'@', L'[', L'a', L'z', L'`', L'{', L'0', L'\u00C9', L'\u0130', L'\uFF21'}) {
        EXPECT_EQ(AsciiLower(c), c) << static_cast<int>(c);
    }
}

TEST(PathText, PathsCompareWithoutAsciiCase)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    };
    const Case cases[] = {
        {L"C:\\Users\\ZOE\\Zip", L"c:\\users\\zoe\\zip", true},
        {L"C:\\AZ", L"C:\\az", true},
        {L"C:\\\u00C9t\u00E9", L"C:\\\u00E9t\u00E9", false},
        {L"C:\\a", L"C:\\a\\", false},
        {L"", L"", true},
        {L"C:\\Y", L"C:\\Z", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << L" ~ " << c.b;
    }
    EXPECT_TRUE(StartsWithIgnoringAsciiCase(L"C:\\ZONE\\file", L"c:\\zone"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(L"C:\\ZON", L"c:\\zone"));
}

TEST(PathText, DevicePathsAreToldFromFilePaths)
{
    struct Case {
        const wchar_t* path;
        bool device;
    };
    const Case cases[] = {
        {L"\\\\.\\pipe\\spool", true},
        {L"//./pipe/spool", true},
        {L"\\\\.\\C:", true},
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolumeShadowCopy1\\x.svg", true},
        {L"\\\\?\\Volume{12345678-1234-1234-1234-123456789abc}\\x", true},
        {L"\\??\\C:\\x", true},
        {L"\\\\?\\C:\\Users\\a.svg", false},
        {L"\\\\?\\UNC\\server\\share\\a.svg", false},
        {L"\\\\server\\share\\a.svg", false},
        {L"C:\\Users\\a.svg", false},
        {L"\\\\.", false},
        {L"\\\\?\\", true},
        {L"", false},
        {L"..\\x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsDevicePath(c.path), c.device) << c.path;
    }
}

TEST(PathText, NetworkPathsAreToldFromLocalOnes)
{
    struct Case {
        const wchar_t* path;
        bool network;
    };
    const Case cases[] = {
        {L"\\\\server\\share\\a.svg", true},
        {L"//server/share", true},
        {L"\\/server", true},
        {L"\\\\?\\UNC\\server\\share\\x", true},
        {L"\\\\?\\unc/server", true},
        {L"\\\\.\\UNC\\server\\share", true},
        {L"\\\\?\\C:\\Users", false},
        {L"\\\\?\\UNCX\\server", false},
        {L"\\\\.\\pipe\\x", false},
        {L"\\??\\UNC\\server", false},
        {L"C:\\Users", false},
        {L"\\Users", false},
        {L"\\\\", false},
        {L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNetworkPath(c.path), c.network) << c.path;
    }
}

}  // namespace
}  // namespace cadrels
