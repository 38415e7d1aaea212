// The global shortcuts, shell verbs and Run value of the real program: keys
// pressed with SendInput reach their actions, a combination another process
// holds is reported and leaves the other nine working, the verbs follow the
// language, and the policy's forced start-up writes and removes the Run value.
#include "CadrelsProcess.h"
#include "KeyInput.h"
#include "TestFiles.h"

#include "app/ShellEntries.h"
#include "base/AppMessages.h"
#include "i18n/StringTable.h"
#include "model/LayoutFile.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace cadrels::testing {
namespace {

constexpr wchar_t CadrelClass[] = L"Cadrels.Cadrel";
constexpr wchar_t SortPass[] = L"Passe de rangement";
constexpr wchar_t TakenLine[] = L"indisponible (combinaison prise par une autre appli ?)";

const wchar_t* const VerbKeys[] = {
    L"Software\\Classes\\DesktopBackground\\Shell\\Cadrels",
    L"Software\\Classes\\*\\shell\\CadrelsSendTo",
    L"Software\\Classes\\Directory\\shell\\CadrelsSendTo",
    L"Software\\Classes\\DesktopBackground\\Shell\\CadrelsSearch",
};

std::wstring ReadString(const std::wstring& key, const wchar_t* name)
{
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return data;
}

std::wstring ActionLine(int action)
{
    return L"Raccourci global : action " + std::to_wstring(action) + L".";
}

class Hotkeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData_ = AppDataFolder();
        policyFolder_ = KnownFolderPath(FOLDERID_ProgramData) + L"\\Cadrels";
        ASSERT_TRUE(RemoveTree(appData_));
        ASSERT_TRUE(RemoveTree(ContainerRootFolder()));
        ASSERT_TRUE(RemoveTree(policyFolder_));
        ASSERT_TRUE(CreateDirectoryW(appData_.c_str(), nullptr));
        RemoveShellEntries();
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        if (heldHotkey_) {
            UnregisterHotKey(nullptr, 1);
        }
        // wineboot would start whatever the Run value names.
        RemoveShellEntries();
        RemoveTree(policyFolder_);
        RemoveTree(appData_);
        RemoveTree(ContainerRootFolder());
    }

    static void RemoveShellEntries()
    {
        for (const wchar_t* key : VerbKeys) {
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
    }

    void WriteLayout(const std::string& json) { ASSERT_TRUE(WriteBytes(appData_ + L"\\layout.json", json)); }

    void Start()
    {
        ASSERT_TRUE(app_.Start());
        ASSERT_TRUE(app_.WaitUntilReady());
        window_ = app_.AppWindow();
        ASSERT_NE(window_, nullptr);
    }

    Settings Layout() const
    {
        Settings settings;
        bool pages = false;
        EXPECT_TRUE(LoadSettingsFile(appData_ + L"\\layout.json", settings, pages));
        return settings;
    }

    size_t VisibleCadrels() const
    {
        size_t visible = 0;
        for (const HWND window : app_.TopLevelWindows(CadrelClass)) {
            visible += IsWindowVisible(window) ? 1 : 0;
        }
        return visible;
    }

    // Waits until the layout file says `active` is the active page.
    bool WaitForActivePage(int active) const
    {
        for (int attempt = 0; attempt < 50; ++attempt) {
            Settings settings;
            bool pages = false;
            if (LoadSettingsFile(appData_ + L"\\layout.json", settings, pages) && settings.activeWorkspace == active) {
                return true;
            }
            Sleep(100);
        }
        return false;
    }

    void ExpectVerbs(const std::wstring& menuLabel, const std::wstring& sendToLabel) const
    {
        const std::wstring quoted = L"\"" + CadrelsExePath() + L"\"";
        const std::wstring labels[] = {menuLabel, sendToLabel, sendToLabel, L"Rechercher un fichier... (Cadrels)"};
        const std::wstring commands[] = {quoted + L" --menu", quoted + L" --send-to-path \"%1\"",
                                         quoted + L" --send-to-path \"%1\"", quoted + L" --search"};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(ReadString(VerbKeys[i], nullptr), labels[i]) << VerbKeys[i];
            EXPECT_EQ(ReadString(VerbKeys[i], L"Icon"), quoted + L",0") << VerbKeys[i];
            EXPECT_EQ(ReadString(std::wstring(VerbKeys[i]) + L"\\command", nullptr), commands[i]) << VerbKeys[i];
        }
    }

    std::wstring appData_;
    std::wstring policyFolder_;
    CadrelsProcess app_;
    HWND window_ = nullptr;
    bool heldHotkey_ = false;
};

TEST_F(Hotkeys, ACombinationHeldElsewhereIsReportedAndTheOtherNineReachTheirActions)
{
    // This process holds the file search's default before the program starts.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_SPACE));
    heldHotkey_ = true;
    WriteLayout(R"({"workspaces":[{"id":"{A}","name":"A"},{"id":"{B}","name":"B"}],
        "hotkeys":[{"a":3,"m":3,"v":72},{"a":4,"m":3,"v":78},{"a":5,"m":3,"v":76},{"a":6,"m":3,"v":83},
                   {"a":7,"m":3,"v":79},{"a":8,"m":3,"v":80},{"a":9,"m":3,"v":66}]})");
    Start();

    EXPECT_EQ(app_.CountLines(L"RegisterHotKey action 2 " + std::wstring(TakenLine)), 1u);
    EXPECT_EQ(app_.CountLines(L"RegisterHotKey action"), 1u) << "the nine others were registered";

    ASSERT_TRUE(SendCombination({VK_CONTROL, VK_SHIFT}, VK_SPACE));
    MSG held{};
    bool heldArrived = false;
    for (int attempt = 0; attempt < 50 && !heldArrived; ++attempt) {
        heldArrived = PeekMessageW(&held, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) && held.wParam == 1;
        Sleep(50);
    }
    EXPECT_TRUE(heldArrived) << "the holder gets its combination";

    ASSERT_TRUE(SendCtrlAlt('Z'));
    EXPECT_TRUE(app_.WaitForLine(ActionLine(0), 5000));
    ASSERT_TRUE(SendCtrlAlt('Y'));
    EXPECT_TRUE(app_.WaitForLine(ActionLine(1), 5000));

    const size_t cadrels = app_.TopLevelWindows(CadrelClass).size();
    ASSERT_GE(cadrels, 1u);
    EXPECT_EQ(VisibleCadrels(), cadrels);
    ASSERT_TRUE(SendCtrlAlt('H'));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrels masquees.", 5000));
    EXPECT_EQ(VisibleCadrels(), 0u);
    ASSERT_TRUE(SendCtrlAlt('H'));
    EXPECT_TRUE(app_.WaitForLine(L"Cadrels affichees.", 5000));
    EXPECT_EQ(VisibleCadrels(), cadrels);

    ASSERT_TRUE(SendCtrlAlt('N'));
    EXPECT_TRUE(app_.WaitForLine(ActionLine(4), 5000));
    for (int attempt = 0; attempt < 50 && app_.TopLevelWindows(CadrelClass).size() == cadrels; ++attempt) {
        Sleep(100);
    }
    EXPECT_EQ(app_.TopLevelWindows(CadrelClass).size(), cadrels + 1) << "a new empty cadrel";

    ASSERT_TRUE(SendCtrlAlt('L'));
    EXPECT_TRUE(app_.WaitForLine(L"Raccourci global : le Launchpad n'est pas encore disponible.", 5000));
    ASSERT_TRUE(SendCtrlAlt('O'));
    EXPECT_TRUE(app_.WaitForLine(L"Raccourci global : la fenetre des reglages n'est pas encore disponible.", 5000));

    const size_t passes = app_.CountLines(SortPass);
    ASSERT_TRUE(SendCtrlAlt('S'));
    EXPECT_TRUE(app_.WaitForLine(SortPass, 5000, passes + 1));

    // Rebuilding a page's cadrels writes the verbs again.
    RemoveShellEntries();
    ASSERT_TRUE(SendCtrlAlt('P'));
    EXPECT_TRUE(app_.WaitForLine(ActionLine(8), 5000));
    EXPECT_TRUE(WaitForActivePage(1)) << "next page";
    ExpectVerbs(L"Configurer Cadrels", L"Envoyer vers une cadrel");
    ASSERT_TRUE(SendCtrlAlt('B'));
    EXPECT_TRUE(app_.WaitForLine(ActionLine(9), 5000));
    EXPECT_TRUE(WaitForActivePage(0)) << "previous page";

    EXPECT_EQ(app_.CountLines(ActionLine(2)), 0u) << "the held combination never reached the program";
    EXPECT_EQ(app_.Quit(), std::optional<DWORD>(0));
}

TEST_F(Hotkeys, StoredChoicesBeatDefaultsAndOneCombinationServesOneAction)
{
    // Undo cleared, sorting given undo's old combination, the settings given
    // redo's default by hand: redo loses it, and keeps losing it after a save.
    WriteLayout(R"({"workspaces":[{"id":"{A}","name":"A"}],
        "hotkeys":[{"a":0,"m":0,"v":0},{"a":6,"m":3,"v":90},{"a":7,"m":3,"v":89}]})");
    Start();
    EXPECT_EQ(app_.CountLines(L"RegisterHotKey action"), 0u);
    EXPECT_EQ(app_.CountLines(L"Raccourci de l'action 1 retire : combinaison deja utilisee par une autre action."),
              1u);

    const size_t passes = app_.CountLines(SortPass);
    ASSERT_TRUE(SendCtrlAlt('Z'));
    EXPECT_TRUE(app_.WaitForLine(ActionLine(6), 5000));
    EXPECT_TRUE(app_.WaitForLine(SortPass, 5000, passes + 1));
    ASSERT_TRUE(SendCtrlAlt('Y'));
    EXPECT_TRUE(app_.WaitForLine(L"la fenetre des reglages n'est pas encore disponible", 5000));
    EXPECT_EQ(app_.CountLines(ActionLine(0)), 0u);
    EXPECT_EQ(app_.CountLines(ActionLine(1)), 0u);
    ASSERT_EQ(app_.Quit(), std::optional<DWORD>(0));

    const Settings saved = Layout();
    EXPECT_EQ(saved.hotkeys.at(0), HotkeyBinding{}) << "cleared stays cleared";
    EXPECT_EQ(saved.hotkeys.at(1), HotkeyBinding{}) << "the loser is stored as none";
    EXPECT_EQ(saved.hotkeys.at(6), (HotkeyBinding{MOD_CONTROL | MOD_ALT, 'Z'}));
    EXPECT_EQ(saved.hotkeys.at(7), (HotkeyBinding{MOD_CONTROL | MOD_ALT, 'Y'}));
}

TEST_F(Hotkeys, VerbsAreWrittenAtStartAndFollowTheLanguage)
{
    WriteLayout(R"({"language":0,"workspaces":[{"id":"{A}","name":"A"}]})");
    Start();
    ExpectVerbs(L"Configurer Cadrels", L"Envoyer vers une cadrel");
    EXPECT_EQ(ReadString(RunKeyPath, RunValueName), L"<missing>") << "the program never enables itself";

    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(window_, WM_APP_SET_LANGUAGE, 0, LanguageIndexFromCode("en"), SMTO_NORMAL, 5000,
                                  &result),
              0);
    ExpectVerbs(L"Configure Cadrels", L"Send to a cadrel");
    EXPECT_EQ(app_.Quit(), std::optional<DWORD>(0));
}

TEST_F(Hotkeys, ThePolicysForcedStartupWritesAndRemovesTheRunValue)
{
    WriteLayout(R"({"workspaces":[{"id":"{A}","name":"A"}]})");
    ASSERT_TRUE(CreateDirectoryW(policyFolder_.c_str(), nullptr));
    const std::wstring runData = L"\"" + CadrelsExePath() + L"\" --startup";

    ASSERT_TRUE(WriteBytes(policyFolder_ + L"\\policy.json", R"({"forceStartup": true})"));
    Start();
    EXPECT_EQ(ReadString(RunKeyPath, RunValueName), runData);
    EXPECT_EQ(app_.CountLines(L"Politique forceStartup : demarrage avec Windows active."), 1u);
    ASSERT_EQ(app_.Quit(), std::optional<DWORD>(0));

    // Already as forced: nothing is rewritten.
    CadrelsProcess again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.WaitUntilReady());
    EXPECT_EQ(again.CountLines(L"Politique forceStartup"), 0u);
    EXPECT_EQ(ReadString(RunKeyPath, RunValueName), runData);
    ASSERT_EQ(again.Quit(), std::optional<DWORD>(0));

    ASSERT_TRUE(WriteBytes(policyFolder_ + L"\\policy.json", R"({"forceStartup": false})"));
    CadrelsProcess last;
    ASSERT_TRUE(last.Start());
    ASSERT_TRUE(last.WaitUntilReady());
    EXPECT_EQ(ReadString(RunKeyPath, RunValueName), L"<missing>");
    EXPECT_EQ(last.CountLines(L"Politique forceStartup : demarrage avec Windows desactive."), 1u);
    ASSERT_EQ(last.Quit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace cadrels::testing
