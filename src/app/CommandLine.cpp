#include "app/CommandLine.h"

#include "base/AppMessages.h"
#include "base/UniqueMemory.h"

#include <shellapi.h>

namespace cadrels {

CommandLineOptions ParseArguments(const std::vector<std::wstring>& arguments)
{
    CommandLineOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == L"--menu") {
            options.menu = true;
        } else if (argument == L"--settings") {
            options.settings = true;
        } else if (argument == L"--search") {
            options.search = true;
        } else if (argument == L"--backup") {
            options.backup = true;
        } else if (argument == L"--startup") {
            options.startup = true;
        } else if (argument == L"--send-to" && hasValue) {
            options.sendToList = arguments[++i];
        } else if (argument == L"--send-to-path" && hasValue) {
            options.sendToPath = arguments[++i];
        }
    }
    return options;
}

CommandLineOptions ParseCommandLine(const wchar_t* commandLine)
{
    int count = 0;
    const UniqueLocalMem<LPWSTR> argv(CommandLineToArgvW(commandLine, &count));
    if (!argv) {
        return {};
    }
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(argv.Get()[i]);
    }
    return ParseArguments(arguments);
}

UINT ForwardedWindowMessage(const CommandLineOptions& options)
{
    if (options.search) {
        return WM_APP_FILE_SEARCH;
    }
    if (options.settings) {
        return WM_APP_SHOW_SETTINGS;
    }
    if (options.menu) {
        return WM_APP_SHOW_MENU;
    }
    if (options.backup) {
        return WM_APP_BACKUP_NOW;
    }
    return 0;
}

}  // namespace cadrels
