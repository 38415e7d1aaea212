#include "base/AppMessages.h"
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(CommandLine, RecognisesEachOptionAsAWholeCaseSensitiveArgument)
{
    const auto options = ParseArguments({L"--menu", L"--settings", L"--search", L"--startup"});
    EXPECT_TRUE(options.menu && options.settings && options.search && options.startup);

    const auto other = ParseArguments({L"--MENU", L"-settings", L"--search=1", L"--startupx", L"menu"});
    EXPECT_FALSE(other.menu || other.settings || other.search || other.startup);
    EXPECT_FALSE(other.HasSendTo());
}

TEST(CommandLine, ValueOptionsTakeTheNextArgument)
{
    const auto options = ParseArguments({L"--send-to", L"C:\\Temp\\cdr1.txt", L"--send-to-path", L"D:\\a b\\c.txt"});
    EXPECT_EQ(options.sendToList, L"C:\\Temp\\cdr1.txt");
    EXPECT_EQ(options.sendToPath, L"D:\\a b\\c.txt");

    // The value is taken whatever it looks like, even another option's name.
    const auto swallowed = ParseArguments({L"--send-to-path", L"--menu"});
    EXPECT_EQ(swallowed.sendToPath, L"--menu");
    EXPECT_FALSE(swallowed.menu);
}

TEST(CommandLine, AValueOptionAsLastArgumentIsIgnored)
{
    const auto list = ParseArguments({L"--menu", L"--send-to"});
    EXPECT_TRUE(list.menu);
    EXPECT_TRUE(list.sendToList.empty());
    EXPECT_FALSE(list.HasSendTo());
    EXPECT_FALSE(ParseArguments({L"--send-to-path"}).HasSendTo());
}

TEST(CommandLine, ALaterValueReplacesAnEarlierOne)
{
    const auto options = ParseArguments({L"--send-to-path", L"first", L"--send-to-path", L"second",
                                         L"--send-to", L"a", L"--send-to", L"b"});
    EXPECT_EQ(options.sendToPath, L"second");
    EXPECT_EQ(options.sendToList, L"b");
}

TEST(CommandLine, ForwardedMessagePrecedenceIsSearchThenSettingsThenMenu)
{
    struct Case {
        std::vector<std::wstring> arguments;
        UINT expected;
    };
    const Case cases[] = {
        {{}, 0u},
        {{L"--startup"}, 0u},
        {{L"--menu"}, WM_APP_SHOW_MENU},
        {{L"--settings", L"--menu"}, WM_APP_SHOW_SETTINGS},
        {{L"--menu", L"--settings"}, WM_APP_SHOW_SETTINGS},
        {{L"--menu", L"--search"}, WM_APP_FILE_SEARCH},
        {{L"--settings", L"--search", L"--menu"}, WM_APP_FILE_SEARCH},
        {{L"--backup"}, WM_APP_BACKUP_NOW},
        {{L"--backup", L"--menu"}, WM_APP_SHOW_MENU},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ForwardedWindowMessage(ParseArguments(c.arguments)), c.expected);
    }
}

TEST(CommandLine, ParseCommandLineSkipsTheProgramAndHonoursQuotes)
{
    const auto options =
        ParseCommandLine(L"\"C:\\Program Files\\Cadrels\\Cadrels.exe\" --send-to-path \"C:\\My Files\\x.txt\" --menu");
    EXPECT_EQ(options.sendToPath, L"C:\\My Files\\x.txt");
    EXPECT_TRUE(options.menu);
    // The program path itself is never an option, even when named like one.
    EXPECT_FALSE(ParseCommandLine(L"--menu").menu);
}

TEST(CommandLine, MessageValuesAreFixed)
{
    EXPECT_EQ(WM_APP_SHOW_MENU, WM_APP + 20u);
    EXPECT_EQ(WM_APP_SHOW_SETTINGS, WM_APP + 22u);
    EXPECT_EQ(WM_APP_FILE_SEARCH, WM_APP + 50u);
    EXPECT_EQ(WM_APP_SEND_TO_LIST, WM_APP + 35u);
}

}  // namespace
}  // namespace cadrels
