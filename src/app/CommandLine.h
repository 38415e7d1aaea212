// The command line: which options were given, and what a second instance
// forwards to the running one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {

struct CommandLineOptions {
    bool menu = false;
    bool settings = false;
    bool search = false;
    bool startup = false;
    bool backup = false;  // "--backup": "Back up now"
    std::wstring sendToList;  // "--send-to <list file>"
    std::wstring sendToPath;  // "--send-to-path <path>"

    bool HasSendTo() const { return !sendToList.empty() || !sendToPath.empty(); }
    bool HasWindowOption() const { return menu || settings || search || backup; }
};

// Options are whole arguments, compared case-sensitively; the program path is
// not part of `arguments`. A value option without a value is ignored, a later
// value replaces an earlier one, unknown arguments are ignored.
CommandLineOptions ParseArguments(const std::vector<std::wstring>& arguments);

// Splits with CommandLineToArgvW and skips the program path.
CommandLineOptions ParseCommandLine(const wchar_t* commandLine);

// The single message a second instance posts for the window options: search
// wins over settings, which wins over menu, which wins over backup; 0 when
// none was given.
UINT ForwardedWindowMessage(const CommandLineOptions& options);

}  // namespace cadrels
