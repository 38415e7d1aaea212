// What the shell integration writes under HKEY_CURRENT_USER, as plain text:
// the four verbs and the Run value. The registry writing itself is in
// ShellVerbs.cpp and StartWithWindows.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

inline constexpr wchar_t RunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t RunValueName[] = L"Cadrels";
// The search entry keeps this label in every language.
inline constexpr wchar_t SearchVerbLabel[] = L"Rechercher un fichier... (Cadrels)";

struct ShellVerb {
    std::wstring key;      // below HKEY_CURRENT_USER
    std::wstring label;    // the key's default value
    std::wstring icon;     // the "Icon" value
    std::wstring command;  // the default value of the "command" subkey
};

// The program path between double quotes.
std::wstring QuotedProgramPath(std::wstring_view programPath);

// The four verbs in the order they are written: the desktop menu entry, send
// to a cadrel for files and for folders, and the file search.
std::vector<ShellVerb> ShellVerbTable(std::wstring_view programPath, std::wstring_view desktopMenuLabel,
                                      std::wstring_view sendToLabel);

// The data of the Run value that starts the program at sign-in.
std::wstring RunValueData(std::wstring_view programPath);

enum class StartupChange { None, Write, Delete };

// What the policy's "forceStartup" asks of the Run value, given whether it
// is there now: nothing when the policy is silent or already obeyed.
StartupChange ForcedStartupChange(std::optional<bool> forced, bool registered);

}  // namespace cadrels
