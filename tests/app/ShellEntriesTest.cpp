// The shell verbs and the Run value as text, and when the policy rewrites it.
#include "app/ShellEntries.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(ShellEntries, TheFourVerbsQuoteTheProgramAndTheItemPath)
{
    const std::wstring program = L"C:\\Program Files\\Cadrels\\Cadrels.exe";
    const std::vector<ShellVerb> verbs = ShellVerbTable(program, L"Configurer Cadrels", L"Envoyer vers une cadrel");
    ASSERT_EQ(verbs.size(), 4u);
    const std::wstring icon = L"\"C:\\Program Files\\Cadrels\\Cadrels.exe\",0";

    EXPECT_EQ(verbs[0].key, L"Software\\Classes\\DesktopBackground\\Shell\\Cadrels");
    EXPECT_EQ(verbs[0].label, L"Configurer Cadrels");
    EXPECT_EQ(verbs[0].command, L"\"C:\\Program Files\\Cadrels\\Cadrels.exe\" --menu");

    EXPECT_EQ(verbs[1].key, L"Software\\Classes\\*\\shell\\CadrelsSendTo");
    EXPECT_EQ(verbs[2].key, L"Software\\Classes\\Directory\\shell\\CadrelsSendTo");
    for (const size_t sendTo : {1u, 2u}) {
        EXPECT_EQ(verbs[sendTo].label, L"Envoyer vers une cadrel");
        EXPECT_EQ(verbs[sendTo].command, L"\"C:\\Program Files\\Cadrels\\Cadrels.exe\" --send-to-path \"%1\"");
    }

    EXPECT_EQ(verbs[3].key, L"Software\\Classes\\DesktopBackground\\Shell\\CadrelsSearch");
    EXPECT_EQ(verbs[3].label, L"Rechercher un fichier... (Cadrels)");
    EXPECT_EQ(verbs[3].command, L"\"C:\\Program Files\\Cadrels\\Cadrels.exe\" --search");
    for (const ShellVerb& verb : verbs) {
        EXPECT_EQ(verb.icon, icon) << verb.key;
    }

    // The search entry's label is the same in every language.
    EXPECT_EQ(ShellVerbTable(program, L"Configure Cadrels", L"Send to a cadrel")[3].label,
              L"Rechercher un fichier... (Cadrels)");
}

TEST(ShellEntries, RunValueStartsTheQuotedProgramForStartup)
{
    EXPECT_EQ(RunValueData(L"C:\\A B\\Cadrels.exe"), L"\"C:\\A B\\Cadrels.exe\" --startup");
}

TEST(ShellEntries, TheForcedStartupChangesTheRunValueOnlyWhenItDiffers)
{
    struct Case {
        std::optional<bool> forced;
        bool registered;
        StartupChange expected;
    };
    const Case cases[] = {
        {std::nullopt, false, StartupChange::None}, {std::nullopt, true, StartupChange::None},
        {true, false, StartupChange::Write},        {true, true, StartupChange::None},
        {false, true, StartupChange::Delete},       {false, false, StartupChange::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ForcedStartupChange(c.forced, c.registered), c.expected)
            << c.forced.has_value() << c.forced.value_or(false) << c.registered;
    }
}

}  // namespace
}  // namespace cadrels
