// The language of a first start. This program runs with Wine set to English
// (its CTest entry sets the locale), where every other test runs in French.
#include "CadrelsProcess.h"
#include "TestFiles.h"

#include "i18n/StringTable.h"
#include "i18n/SystemLanguage.h"
#include "model/LayoutFile.h"

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

Settings RunAndLoad(CadrelsProcess& process)
{
    Settings settings;
    EXPECT_TRUE(process.Start());
    EXPECT_TRUE(process.WaitUntilReady());
    EXPECT_EQ(process.Quit(), std::optional<DWORD>(0));
    bool pages = false;
    EXPECT_TRUE(LoadSettingsFile(AppDataFolder() + L"\\layout.json", settings, pages));
    return settings;
}

TEST(FirstRunLanguage, AFirstStartSpeaksTheWindowsLanguageAndAStoredOneWins)
{
    ASSERT_EQ(SystemUiLocaleName(), "en-US") << "this program must run with Wine set to English";
    const int english = LanguageIndexFromCode("en");
    const int german = LanguageIndexFromCode("de");
    ASSERT_TRUE(RemoveTree(AppDataFolder()));
    ASSERT_TRUE(RemoveTree(ContainerRootFolder()));

    CadrelsProcess first;
    const Settings fresh = RunAndLoad(first);
    EXPECT_EQ(fresh.language, english);
    ASSERT_EQ(fresh.workspaces.size(), 1u);
    EXPECT_EQ(fresh.workspaces[0].name, L"Desktop") << "the page is named in the chosen language";
    ASSERT_EQ(fresh.workspaces[0].cadrels.size(), 3u);
    EXPECT_EQ(fresh.workspaces[0].cadrels[0].tabs[0].title, L"Desktop");
    EXPECT_EQ(first.CountLines(L"Premier demarrage : langue de Windows en-US, langue choisie en."), 1u);

    // A stored language is kept, whatever Windows speaks.
    ASSERT_TRUE(WriteBytes(AppDataFolder() + L"\\layout.json",
                           R"({"language":)" + std::to_string(german) + R"(,"workspaces":[{"id":"{A}","name":"A"}]})"));
    CadrelsProcess later;
    EXPECT_EQ(RunAndLoad(later).language, german);
    EXPECT_EQ(later.CountLines(L"Premier demarrage"), 0u);

    RemoveTree(AppDataFolder());
    RemoveTree(ContainerRootFolder());
}

}  // namespace
}  // namespace cadrels::testing
