// The registry and keyboard halves of the shell integration, in this test
// process: the key names of shortcuts, the verbs below a scratch key, and the
// Run value (always removed again: wineboot would start whatever it names).
#include "app/HotkeyText.h"
#include "app/ShellEntries.h"
#include "app/ShellVerbs.h"
#include "app/StartWithWindows.h"
#include "i18n/StringTable.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace cadrels {
namespace {

constexpr wchar_t ScratchKey[] = L"Software\\CadrelsTests\\ShellIntegration";

// The REG_SZ value, or "<missing>".
std::wstring ReadString(HKEY root, const std::wstring& key, const wchar_t* name)
{
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return data;
}

std::wstring KeyName(UINT virtualKey, bool extended)
{
    const LONG lParam =
        static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) << 16 | (extended ? 1u << 24 : 0u));
    wchar_t name[64] = {};
    const int length = GetKeyNameTextW(lParam, name, 64);
    return std::wstring(name, length > 0 ? length : 0);
}

TEST(HotkeyText, NamesTheKeyAfterTheModifiers)
{
    EXPECT_EQ(HotkeyText(MOD_CONTROL | MOD_ALT, 'Z'), L"Ctrl+Alt+Z");
    EXPECT_EQ(HotkeyText(MOD_CONTROL | MOD_ALT, 0), L"");

    const std::wstring space = KeyName(VK_SPACE, false);
    ASSERT_FALSE(space.empty());
    EXPECT_EQ(HotkeyText(MOD_SHIFT | MOD_CONTROL, VK_SPACE), L"Ctrl+Maj+" + space);
}

TEST(HotkeyText, NavigationKeysUseTheExtendedKeysNameNotTheNumericPads)
{
    const std::wstring pageDown = KeyName(VK_NEXT, true);
    ASSERT_FALSE(pageDown.empty());
    EXPECT_NE(pageDown, KeyName(VK_NEXT, false)) << "the scan code alone names the numeric-pad 3";
    EXPECT_EQ(HotkeyText(MOD_WIN | MOD_SHIFT, VK_NEXT), L"Maj+Win+" + pageDown);

    const std::wstring del = KeyName(VK_DELETE, true);
    ASSERT_FALSE(del.empty());
    EXPECT_NE(del, KeyName(VK_DELETE, false));
    EXPECT_EQ(HotkeyText(MOD_ALT, VK_DELETE), L"Alt+" + del);
}

TEST(HotkeyText, AKeyWithoutANameShowsItsCode)
{
    // 0xE8 is unassigned: no scan code, no name.
    ASSERT_EQ(MapVirtualKeyW(0xE8, MAPVK_VK_TO_VSC), 0u);
    EXPECT_EQ(HotkeyText(MOD_ALT, 0xE8), std::wstring(L"Alt+") + wchar_t{0xE8});
}

class ShellIntegration : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, ScratchKey);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, ScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_,
                                  nullptr),
                  ERROR_SUCCESS);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
    }
    void TearDown() override
    {
        RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, ScratchKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
        SetUiLanguage(0);
    }

    void ExpectVerbs(const std::wstring& program, const std::wstring& menuLabel, const std::wstring& sendToLabel)
    {
        const std::wstring quoted = L"\"" + program + L"\"";
        const struct {
            const wchar_t* key;
            std::wstring label;
            std::wstring command;
        } expected[] = {
            {L"Software\\Classes\\DesktopBackground\\Shell\\Cadrels", menuLabel, quoted + L" --menu"},
            {L"Software\\Classes\\*\\shell\\CadrelsSendTo", sendToLabel, quoted + L" --send-to-path \"%1\""},
            {L"Software\\Classes\\Directory\\shell\\CadrelsSendTo", sendToLabel,
             quoted + L" --send-to-path \"%1\""},
            {L"Software\\Classes\\DesktopBackground\\Shell\\CadrelsSearch", L"Rechercher un fichier... (Cadrels)",
             quoted + L" --search"},
        };
        for (const auto& verb : expected) {
            EXPECT_EQ(ReadString(root_, verb.key, nullptr), verb.label) << verb.key;
            EXPECT_EQ(ReadString(root_, verb.key, L"Icon"), quoted + L",0") << verb.key;
            EXPECT_EQ(ReadString(root_, std::wstring(verb.key) + L"\\command", nullptr), verb.command) << verb.key;
        }
    }

    HKEY root_ = nullptr;
};

TEST_F(ShellIntegration, VerbsAreWrittenInTheCurrentLanguageAndRewrittenOverOldValues)
{
    const std::wstring program = L"C:\\Program Files\\Cadrels\\Cadrels.exe";
    SetUiLanguage(0);
    WriteShellVerbsUnder(root_, program);
    ExpectVerbs(program, L"Configurer Cadrels", L"Envoyer vers une cadrel");

    SetUiLanguage(LanguageIndexFromCode("en"));
    const std::wstring moved = L"D:\\Cadrels 2\\Cadrels.exe";
    WriteShellVerbsUnder(root_, moved);
    ExpectVerbs(moved, L"Configure Cadrels", L"Send to a cadrel");
}

TEST_F(ShellIntegration, StartWithWindowsWritesTheQuotedProgramAndDeletesItAgain)
{
    const std::wstring program = ProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_FALSE(IsStartWithWindows());

    SetStartWithWindows(true);
    EXPECT_TRUE(IsStartWithWindows());
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, RunKeyPath, RunValueName), L"\"" + program + L"\" --startup");
    SetStartWithWindows(true);
    EXPECT_TRUE(IsStartWithWindows()) << "enabling twice keeps one value";

    SetStartWithWindows(false);
    EXPECT_FALSE(IsStartWithWindows());
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, RunKeyPath, RunValueName), L"<missing>");
    SetStartWithWindows(false);
    EXPECT_FALSE(IsStartWithWindows());
}

TEST_F(ShellIntegration, AValueOfAnotherTypeIsNotTakenForStartWithWindows)
{
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 1;
    RegSetValueExW(run, RunValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(run);
    EXPECT_FALSE(IsStartWithWindows());

    ApplyForcedStartup(true);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, RunKeyPath, RunValueName), L"\"" + ProgramPath() + L"\" --startup");
    ApplyForcedStartup(std::nullopt);
    EXPECT_TRUE(IsStartWithWindows()) << "a silent policy leaves the value";
    ApplyForcedStartup(false);
    EXPECT_FALSE(IsStartWithWindows());
}

}  // namespace
}  // namespace cadrels
